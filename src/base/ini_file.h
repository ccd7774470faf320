// The INI files the program edits for the IDE (its INI file, its redirection file): read once, changed line
// by line, written once and whole; and the boxes that say why a file or a text was refused.
#pragma once
#include <initializer_list>
#include <optional>
#include <string>
#include <string_view>

#include "base/services.h"
#include "runtime/ini_document.h"

namespace qz {

// The box of a command that could not read or write a file and therefore changed nothing. what is a fixed
// phrase (translated here), file the file's name; the caption is already translated.
void ShowFileError(Services& svc, const std::string& caption, const char* what, const std::string& file);

// The file's content without a box: a missing file reads as empty; nothing when it cannot be read or is UTF-16
// text, which the profile service reads differently.
std::optional<IniDocument> LoadIni(Files& files, const std::string& path);
// Replaces the file whole when the document changed; None when it did not.
FileError SaveIni(Files& files, const std::string& path, const IniDocument& doc);

// What a command says when the file cannot be read or written.
struct FileTexts {
  std::string caption;  // translated
  const char* cannotRead;
  const char* cannotWrite;
};

// LoadIni and SaveIni, with the command's box when they fail.
std::optional<IniDocument> ReadIniFile(Services& svc, const std::string& path, const FileTexts& texts);
// Writes the document when it changed, replacing the file whole; false, after the box, when it could not.
bool WriteIniFile(Services& svc, const std::string& path, const IniDocument& doc, const FileTexts& texts);

// A text a command would write into an INI file, and what it would be there.
struct IniText {
  enum class Kind { Section, Key, Value } kind;
  std::string_view text;
};
// True, after a usage box, when one of the texts cannot stand in an INI file and read back the same.
bool RefusesIniTexts(Services& svc, const std::string& caption, std::initializer_list<IniText> texts);

}  // namespace qz
