// An INI file kept as its bytes. It reads as the platform's profile service reads (names without regard to
// case, blanks around names and values ignored, one pair of enclosing quotes removed, the first of two equal
// sections or keys wins) and changes only the lines of the keys it sets, adds or removes: comments, blank
// lines, spacing, key spelling, order, line ends, lines it does not understand and bytes that are not text
// all stay as they were.
#pragma once
#include <cstddef>
#include <optional>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

#include "text/codec.h"

namespace qz {

// Whether text can stand in an INI file as a section name, a key or a value and read back the same. Line
// breaks and NUL end a line; "]" ends a section name; "=" ends a key, and a key that starts with ";" or "["
// reads as a comment or a section.
bool IsIniSectionName(std::string_view text);
bool IsIniKey(std::string_view text);
bool IsIniValue(std::string_view text);

class IniDocument {
 public:
  // A file that starts with the UTF-8 byte-order mark keeps it, in front of its first line; its text is UTF-8,
  // which codec converts to and from the ANSI code page the program works in (without a codec it is used as
  // it stands).
  explicit IniDocument(std::string_view bytes = {}, TextCodec* codec = nullptr);

  // UTF-16 text (with its byte-order mark) reads differently through the profile service: it is not edited.
  static bool IsUtf16(std::string_view bytes);

  // The value as the profile service returns it; nothing when the section or the key is absent.
  std::optional<std::string> Get(std::string_view section, std::string_view key) const;

  // Gives key the value. An existing line keeps its key's spelling, the blanks around "=" and enclosing
  // quotes: only the value's text changes. A new key goes after the last key line of its section, a new
  // section at the end of the file. The caller checks names and value with the IsIni... functions.
  void Set(std::string_view section, std::string_view key, std::string_view value);
  // Removes the key's line; false when there was none.
  bool Remove(std::string_view section, std::string_view key);
  // Removes the section's header when it is directly followed by another header or by the end of the file: any
  // line under it, a blank one or a comment too, keeps it. A last header without a line end takes the line end
  // of the line before it along. False when the header stays.
  bool RemoveSectionIfEmpty(std::string_view section);

  // Whether any line differs from the bytes read.
  bool Changed() const { return changed_; }
  std::string Bytes() const;

 private:
  enum class Kind { Other, Section, Key };
  struct Line {
    std::string text;  // without its line end
    std::string end;   // "\r\n", "\n", "\r", or empty for a last line without one
    Kind kind = Kind::Other;
    std::string name;  // a section's or key's name, upper case, without the blanks around it
  };
  struct Section {
    std::size_t header = 0;                             // line of the first header with the name
    std::size_t lastKey = 0;                            // its last key line; the header when it has none
    std::unordered_map<std::string, std::size_t> keys;  // the first line of each key
  };

  void Index();
  const Section* Find(std::string_view section) const;
  void Insert(std::size_t at, std::string text);
  // Text as the file holds it, from the program's ANSI text, and back.
  std::string ToFile(std::string_view text) const;
  std::string FromFile(std::string_view text) const;

  TextCodec* codec_ = nullptr;  // set only for a UTF-8 file
  std::vector<Line> lines_;
  std::unordered_map<std::string, Section> sections_;  // by upper-case name; the first of equal ones
  std::string lineEnd_ = "\r\n";                       // what new lines end with: the file's own first line end
  bool utf8_ = false;                                  // the file starts with the UTF-8 byte-order mark
  bool changed_ = false;
};

}  // namespace qz
