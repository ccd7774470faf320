// Conversion between the ANSI code page the program works in and UTF-8.
#pragma once
#include <string>
#include <string_view>

namespace qz {

class TextCodec {
 public:
  virtual ~TextCodec() = default;
  virtual std::string AnsiToUtf8(std::string_view ansi) = 0;
  // Characters the code page cannot show become '?'.
  virtual std::string Utf8ToAnsi(std::string_view utf8) = 0;
  // Between UTF-16, as Windows holds a command line, and the ANSI code page. Characters the code page cannot
  // hold become what it makes of them (a look-alike, or '?'): converting back tells whether the text came
  // through unchanged.
  virtual std::string WideToAnsi(std::u16string_view wide) = 0;
  virtual std::u16string AnsiToWide(std::string_view ansi) = 0;
};

}  // namespace qz
