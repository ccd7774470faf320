#pragma once
#include <windows.h>

#include <string>

namespace qz {

// A window's whole text (GetWindowTextA), whatever its length.
inline std::string WindowText(HWND window) {
  int n = GetWindowTextLengthA(window);
  std::string text(static_cast<std::size_t>(n) + 1, '\0');
  n = GetWindowTextA(window, text.data(), n + 1);
  text.resize(static_cast<std::size_t>(n > 0 ? n : 0));
  return text;
}

}  // namespace qz
