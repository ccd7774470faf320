#include "runtime/platform_win32.h"

#include <windows.h>

#include <vector>

namespace qz {

bool Win32Files::Exists(const std::string& path) {
  DWORD attrs = GetFileAttributesA(path.c_str());
  return attrs != INVALID_FILE_ATTRIBUTES && !(attrs & FILE_ATTRIBUTE_DIRECTORY);
}

std::string Win32Files::CurrentDirectory() {
  DWORD n = GetCurrentDirectoryA(0, nullptr);
  std::string dir(n, '\0');
  n = GetCurrentDirectoryA(n, dir.data());
  dir.resize(n);
  return dir;
}

std::string Win32Files::ShortPath(const std::string& path) {
  DWORD n = GetShortPathNameA(path.c_str(), nullptr, 0);
  if (n == 0) return path;
  std::string out(n, '\0');
  n = GetShortPathNameA(path.c_str(), out.data(), n);
  if (n == 0 || n >= out.size()) return path;
  out.resize(n);
  return out;
}

std::int64_t Win32Clock::Milliseconds() { return static_cast<std::int64_t>(GetTickCount64()); }

void Win32Clock::Wait(int ms) {
  const ULONGLONG end = GetTickCount64() + static_cast<ULONGLONG>(ms);
  for (ULONGLONG now = GetTickCount64(); now < end; now = GetTickCount64()) {
    MsgWaitForMultipleObjects(0, nullptr, FALSE, static_cast<DWORD>(end - now), QS_ALLINPUT);
    MSG msg;
    while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
      TranslateMessage(&msg);
      DispatchMessageA(&msg);
    }
  }
}

static std::string Convert(std::string_view in, UINT from, UINT to) {
  if (in.empty()) return {};
  int wn = MultiByteToWideChar(from, 0, in.data(), static_cast<int>(in.size()), nullptr, 0);
  std::vector<wchar_t> wide(static_cast<std::size_t>(wn));
  MultiByteToWideChar(from, 0, in.data(), static_cast<int>(in.size()), wide.data(), wn);
  int n = WideCharToMultiByte(to, 0, wide.data(), wn, nullptr, 0, nullptr, nullptr);
  std::string out(static_cast<std::size_t>(n), '\0');
  WideCharToMultiByte(to, 0, wide.data(), wn, out.data(), n, nullptr, nullptr);
  return out;
}

std::string Win32Codec::AnsiToUtf8(std::string_view ansi) { return Convert(ansi, CP_ACP, CP_UTF8); }
std::string Win32Codec::Utf8ToAnsi(std::string_view utf8) { return Convert(utf8, CP_UTF8, CP_ACP); }

}  // namespace qz
