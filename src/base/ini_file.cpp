#include "base/ini_file.h"

namespace qz {

namespace {

// Line breaks and NUL shown by name, so that the box shows the text on one line.
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

}  // namespace

void ShowFileError(Services& svc, const std::string& caption, const char* what, const std::string& file) {
  Box box;
  box.caption = caption;
  box.text = svc.tr(what) + "|  " + file + "||" + svc.tr("Nothing was changed.");
  box.icon = Icon::Exclamation;
  box.outcome = Outcome::Error;
  svc.Show(box);
}

std::optional<IniDocument> LoadIni(Files& files, const std::string& path) {
  std::string bytes;
  const FileError read = files.ReadAll(path, bytes);
  if ((read != FileError::None && !IsMissing(read)) || IniDocument::IsUtf16(bytes)) return std::nullopt;
  return IniDocument(bytes);
}

FileError SaveIni(Files& files, const std::string& path, const IniDocument& doc) {
  return doc.Changed() ? ReplaceContent(files, path, doc.Bytes()) : FileError::None;
}

std::optional<IniDocument> ReadIniFile(Services& svc, const std::string& path, const FileTexts& texts) {
  std::optional<IniDocument> doc = LoadIni(svc.files, path);
  if (!doc) ShowFileError(svc, texts.caption, texts.cannotRead, path);
  return doc;
}

bool WriteIniFile(Services& svc, const std::string& path, const IniDocument& doc, const FileTexts& texts) {
  if (SaveIni(svc.files, path, doc) == FileError::None) return true;
  ShowFileError(svc, texts.caption, texts.cannotWrite, path);
  return false;
}

bool RefusesIniTexts(Services& svc, const std::string& caption, std::initializer_list<IniText> texts) {
  for (const IniText& t : texts) {
    const bool fits = t.kind == IniText::Kind::Section ? IsIniSectionName(t.text)
                      : t.kind == IniText::Kind::Key   ? IsIniKey(t.text)
                                                       : IsIniValue(t.text);
    if (fits) continue;
    Box box;
    box.caption = caption;
    box.text = svc.tr("This text cannot be written to an INI file:") + "|  " + Visible(t.text) + "||" +
               svc.tr("Nothing was changed.");
    box.icon = Icon::Exclamation;
    box.outcome = Outcome::Usage;
    svc.Show(box);
    return true;
  }
  return false;
}

}  // namespace qz
