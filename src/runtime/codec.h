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
};

}  // namespace qz
