// Fixed-size text fields: the sizes are behaviour, not storage.
#pragma once
#include <string>
#include <string_view>

namespace qz {

// A CSTRING(n) holds at most n-1 characters; STRING(n) values are cut to n.
inline std::string Cut(std::string_view text, std::size_t max) { return std::string(text.substr(0, max)); }

// Text without trailing blanks.
inline std::string_view ClipView(std::string_view text) {
  auto end = text.find_last_not_of(' ');
  return end == std::string_view::npos ? std::string_view{} : text.substr(0, end + 1);
}
inline std::string Clip(std::string_view text) { return std::string(ClipView(text)); }

// Text without leading blanks.
inline std::string LeftJustify(std::string_view text) {
  auto start = text.find_first_not_of(' ');
  return start == std::string_view::npos ? std::string{} : std::string(text.substr(start));
}

// A STRING(n) field: blank-padded (or cut) to exactly n characters.
inline std::string PadTo(std::string_view text, std::size_t n) {
  std::string out(text.substr(0, n));
  out.resize(n, ' ');
  return out;
}

inline bool IsBlank(std::string_view text) { return ClipView(text).empty(); }

// Text without the blanks and tabs at either end.
inline std::string_view Trim(std::string_view text) {
  constexpr std::string_view kBlanks = " \t";
  const auto first = text.find_first_not_of(kBlanks);
  if (first == std::string_view::npos) return {};
  return text.substr(first, text.find_last_not_of(kBlanks) - first + 1);
}

// A fixed phrase kept (in a table, a format, a parameter) and translated later: marked here so that the
// extraction of the translation template finds it. The text itself is unchanged.
constexpr const char* Phrase(const char* text) { return text; }

// Byte-wise upper case of ASCII letters, as the command words have always been compared.
std::string Upper(std::string_view text);

}  // namespace qz
