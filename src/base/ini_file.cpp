#include "base/ini_file.h"

#include "text/text.h"

namespace qz {

std::string Visible(std::string_view text) {
  std::string shown;
  for (char c : text) {
    if (c == '\r') {
      shown += "<CR>";
    } else if (c == '\n') {
      shown += "<LF>";
    } else if (c == '\0') {
      shown += "<NUL>";
    } else {
      shown += c;
    }
  }
  return shown;
}

void ShowFileFailure(Services& svc, const FileTexts& texts, const std::string& file, const FileChange& change) {
  if (change.result == ChangeResult::Busy) {
    svc.Busy(texts.caption, svc.tr("Another run of QZCL is changing this file:") + "|  " + file + "||" +
                                svc.tr("Nothing was changed. Try again when it has finished."));
    return;
  }
  const char* what = change.step == ChangeStep::Write ? texts.cannotWrite : texts.cannotRead;
  svc.Error(texts.caption, svc.tr(what) + "|  " + file + "|" + svc.tr(FileErrorReason(change.error)) + "||" +
                               svc.tr("Nothing was changed."));
}

FileError LoadIni(Services& svc, const std::string& path, IniDocument& doc) {
  std::string bytes;
  const FileError read = svc.files.ReadAll(path, bytes);
  if (read != FileError::None && !IsMissing(read)) return read;
  if (IniDocument::IsUtf16(bytes)) return FileError::NotText;
  doc = IniDocument(bytes, &svc.codec);
  return FileError::None;
}

std::optional<IniDocument> ReadIniFile(Services& svc, const std::string& path, const FileTexts& texts) {
  IniDocument doc;
  const FileError error = LoadIni(svc, path, doc);
  if (error == FileError::None) return doc;
  ShowFileFailure(svc, texts, path, {ChangeResult::Failed, error, ChangeStep::Read});
  return std::nullopt;
}

FileChange ChangeIniDocument(Services& svc, const std::string& path, const std::function<void(IniDocument&)>& change,
                             const AfterChange& after) {
  return ChangeFile(
      svc.Access(), path, WhenMissing::Create,
      [&](std::string_view bytes, std::string& next) {
        IniDocument doc(bytes, &svc.codec);
        change(doc);
        if (doc.Changed()) next = doc.Bytes();
        return FileError::None;
      },
      after);
}

bool ChangeIni(Services& svc, const std::string& path, const FileTexts& texts,
               const std::function<void(IniDocument&)>& change, const AfterChange& after) {
  const FileChange done = ChangeIniDocument(svc, path, change, after);
  if (!done.Done()) ShowFileFailure(svc, texts, path, done);
  return done.Done();
}

void RefuseText(Services& svc, const std::string& caption, const char* what, std::string_view text) {
  svc.Refused(caption, svc.tr(what) + "|  " + Visible(text) + "||" + svc.tr("Nothing was changed."));
}

bool RefusesIniTexts(Services& svc, const std::string& caption, std::initializer_list<IniText> texts) {
  for (const IniText& t : texts) {
    const bool fits = t.kind == IniText::Kind::Section ? IsIniSectionName(t.text)
                      : t.kind == IniText::Kind::Key   ? IsIniKey(t.text)
                                                       : IsIniValue(t.text);
    if (fits) continue;
    RefuseText(svc, caption, Phrase("This text cannot be written to an INI file:"), t.text);
    return true;
  }
  return false;
}

}  // namespace qz
