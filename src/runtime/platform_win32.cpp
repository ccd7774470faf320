#include "runtime/platform_win32.h"

#include <windows.h>
#include <shellapi.h>
#include <shlwapi.h>

#include "runtime/handle_win32.h"

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

std::string Win32Files::ProgramDirectory() {
  std::string path(MAX_PATH, '\0');
  for (;;) {
    DWORD n = GetModuleFileNameA(nullptr, path.data(), static_cast<DWORD>(path.size()));
    if (n < path.size()) {
      path.resize(n);
      break;
    }
    path.resize(path.size() * 2);
  }
  auto slash = path.find_last_of("\\/");
  return slash == std::string::npos ? std::string(".") : path.substr(0, slash);
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

static FileStatus StatusOf(DWORD error) {
  switch (error) {
    case ERROR_FILE_NOT_FOUND:
    case ERROR_PATH_NOT_FOUND: return FileStatus::NotFound;
    case ERROR_ACCESS_DENIED: return FileStatus::AccessDenied;
    case ERROR_SHARING_VIOLATION:
    case ERROR_LOCK_VIOLATION: return FileStatus::Locked;
    default: return FileStatus::Failed;
  }
}

FileStatus Win32Files::ReadAll(const std::string& path, std::string& bytes) {
  UniqueFile file(CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                              nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
  if (!file) return StatusOf(GetLastError());
  LARGE_INTEGER size{};
  if (!GetFileSizeEx(file.get(), &size) || size.QuadPart > (1LL << 30)) return FileStatus::Failed;
  bytes.assign(static_cast<std::size_t>(size.QuadPart), '\0');
  DWORD read = 0;
  if (!bytes.empty() && !ReadFile(file.get(), bytes.data(), static_cast<DWORD>(bytes.size()), &read, nullptr))
    return StatusOf(GetLastError());
  bytes.resize(read);
  return FileStatus::Ok;
}

FileStatus Win32Files::Append(const std::string& path, std::string_view bytes) {
  UniqueFile file(CreateFileA(path.c_str(), FILE_APPEND_DATA, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                              OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
  if (!file) return StatusOf(GetLastError());
  DWORD written = 0;
  if (!WriteFile(file.get(), bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr) ||
      written != bytes.size())
    return StatusOf(GetLastError());
  return FileStatus::Ok;
}

FileStatus Win32Files::Copy(const std::string& from, const std::string& to) {
  return CopyFileA(from.c_str(), to.c_str(), TRUE) ? FileStatus::Ok : StatusOf(GetLastError());
}

bool Win32Files::CanOpenExclusively(const std::string& path) {
  UniqueFile file(CreateFileA(path.c_str(), GENERIC_READ | GENERIC_WRITE, 0, nullptr, OPEN_EXISTING,
                              FILE_ATTRIBUTE_NORMAL, nullptr));
  return static_cast<bool>(file);
}

LocalTime Win32Clock::Now() {
  SYSTEMTIME t;
  GetLocalTime(&t);
  return {t.wYear, t.wMonth, t.wDay, t.wHour, t.wMinute, t.wSecond};
}

void Win32Shell::Open(const std::string& file) {
  // The shell turns a file address into a plain path and loses the part after "#": a help page is handed
  // to the program that opens HTML pages, with its whole address.
  if (file.rfind("file:", 0) == 0 && file.find('#') != std::string::npos) {
    for (const char* type : {".html", "htmlfile"}) {
      char browser[MAX_PATH] = "";
      DWORD size = sizeof browser;
      if (SUCCEEDED(AssocQueryStringA(ASSOCF_NOTRUNCATE, ASSOCSTR_EXECUTABLE, type, "open", browser, &size)) &&
          reinterpret_cast<INT_PTR>(ShellExecuteA(nullptr, nullptr, browser, ("\"" + file + "\"").c_str(), "",
                                                  SW_SHOWNORMAL)) > 32)
        return;
    }
  }
  ShellExecuteA(nullptr, nullptr, file.c_str(), nullptr, "", SW_SHOWNORMAL);
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
