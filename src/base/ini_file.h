// The INI files the program edits for the IDE (its INI file, its redirection file): read once, changed line
// by line and written once and whole under the file's lock; and the boxes that say why a file or a text was
// refused.
#pragma once
#include <functional>
#include <initializer_list>
#include <optional>
#include <string>
#include <string_view>

#include "base/services.h"
#include "text/ini_document.h"

namespace qz {

// Line breaks and NUL shown by name, so that a box or a log line shows the text on one line.
std::string Visible(std::string_view text);

// What a command says when the file cannot be read or written.
struct FileTexts {
  std::string caption;  // translated
  const char* cannotRead;
  const char* cannotWrite;
};

// The box of a command that could not change a file and therefore changed nothing: the fixed phrase of the
// step that failed, the file's name, and the reason on a line of its own; or, when another run kept the file
// locked, a box that says so (exit code Busy).
void ShowFileFailure(Services& svc, const FileTexts& texts, const std::string& file, const FileChange& change);

// The file's content, for reading only: a missing file reads as empty; the reason when it cannot be read or
// is UTF-16 text, which the profile service reads differently.
FileError LoadIni(Services& svc, const std::string& path, IniDocument& doc);
// LoadIni, with the command's box when it fails.
std::optional<IniDocument> ReadIniFile(Services& svc, const std::string& path, const FileTexts& texts);

// Changes the INI file the one way (a missing file is made): change edits the document read under the file's
// lock, and may run again when another program changed the file meanwhile.
// after runs once the change is there, the lock still held.
FileChange ChangeIniDocument(Services& svc, const std::string& path, const std::function<void(IniDocument&)>& change,
                             const AfterChange& after = nullptr);
// ChangeIniDocument, with the command's box when it fails; whether the change is there.
bool ChangeIni(Services& svc, const std::string& path, const FileTexts& texts,
               const std::function<void(IniDocument&)>& change, const AfterChange& after = nullptr);

// A text a command would write into an INI file, and what it would be there.
struct IniText {
  enum class Kind { Section, Key, Value } kind;
  std::string_view text;
};
// True, after a box, when one of the texts cannot stand in an INI file and read back the same.
bool RefusesIniTexts(Services& svc, const std::string& caption, std::initializer_list<IniText> texts);
// The box that refuses a text: what (a fixed phrase, translated here), the text shown on one line, and that
// nothing was changed (exit code Usage).
void RefuseText(Services& svc, const std::string& caption, const char* what, std::string_view text);

}  // namespace qz
