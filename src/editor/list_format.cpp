#include "editor/list_format.h"

#include <cctype>

namespace qz {

namespace {

int Number(std::string_view text, std::size_t& at) {
  int n = 0;
  while (at < text.size() && std::isdigit(static_cast<unsigned char>(text[at]))) n = n * 10 + (text[at++] - '0');
  return n;
}

// The text up to the next close, which is consumed; the rest when there is none.
std::string Delimited(std::string_view text, std::size_t& at, char close) {
  auto end = text.find(close, at);
  if (end == std::string_view::npos) end = text.size();
  std::string out(text.substr(at, end - at));
  at = end < text.size() ? end + 1 : end;
  return out;
}

}  // namespace

std::vector<ListColumn> ParseListFormat(std::string_view format) {
  std::vector<ListColumn> columns;
  std::size_t at = 0;
  while (at < format.size()) {
    if (!std::isdigit(static_cast<unsigned char>(format[at]))) {
      ++at;  // stray text between columns
      continue;
    }
    ListColumn c;
    c.width = Number(format, at);
    // A column ends where the next one's width starts, which is after its "#field#" or picture.
    bool done = false;
    while (at < format.size() && !done) {
      char ch = format[at++];
      switch (ch) {
        case 'L':
        case 'R':
        case 'C':
        case 'D':
          c.align = ch;
          if (at < format.size() && format[at] == '(') {
            ++at;
            c.indent = Number(format, at);
            if (at < format.size() && format[at] == ')') ++at;
          }
          break;
        case '|': c.rightBorder = true; break;
        case '_': c.underline = true; break;
        case 'M': c.resizable = true; break;
        case '~': c.header = Delimited(format, at, '~'); break;
        case '@': c.picture = Delimited(format, at, '@'); break;
        case '#': {
          c.field = Number(format, at);
          if (at < format.size() && format[at] == '#') ++at;
          done = true;
          break;
        }
        default:
          if (std::isdigit(static_cast<unsigned char>(ch))) {
            --at;  // the next column's width: this one named no field
            done = true;
          }
          break;
      }
    }
    columns.push_back(std::move(c));
  }
  return columns;
}

std::size_t StringPictureWidth(std::string_view picture) {
  if (picture.empty() || (picture[0] != 's' && picture[0] != 'S')) return 0;
  std::size_t at = 1;
  return static_cast<std::size_t>(Number(picture, at));
}

}  // namespace qz
