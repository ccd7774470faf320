#include "base/help.h"

#include <string>

namespace qz {

namespace {

// A file address the browser takes, with the keyword as the fragment that names the page's section.
std::string FileUrl(std::string_view path, std::string_view fragment) {
  auto escape = [](std::string_view text, bool inPath) {
    static const char* const kHex = "0123456789ABCDEF";
    std::string out;
    for (unsigned char c : text) {
      if (inPath && c == '\\') {
        out += '/';
      } else if (c <= ' ' || c >= 0x7F || c == '%' || c == '#' || c == '"' || c == '?') {
        out += '%';
        out += kHex[c >> 4];
        out += kHex[c & 15];
      } else {
        out += static_cast<char>(c);
      }
    }
    return out;
  };
  return "file:///" + escape(path, true) + "#" + escape(fragment, false);
}

}  // namespace

void OpenHelp(Services& svc, std::string_view keyword) {
  svc.shell.OpenHelpPage(FileUrl(svc.files.ProgramDirectory() + "\\qzcl.html", keyword));
}

}  // namespace qz
