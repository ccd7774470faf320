#include "runtime/files_win32.h"

#include <windows.h>

#include "runtime/handle_win32.h"

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

FileError Win32Files::ReadAll(const std::string& path, std::string& bytes) {
  UniqueFile file(CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                              nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
  if (!file) return FileErrorOfSystem(GetLastError());
  LARGE_INTEGER size{};
  if (!GetFileSizeEx(file.get(), &size) || size.QuadPart > (1LL << 30)) return FileError::FileSystem;
  bytes.assign(static_cast<std::size_t>(size.QuadPart), '\0');
  DWORD read = 0;
  if (!bytes.empty() && !ReadFile(file.get(), bytes.data(), static_cast<DWORD>(bytes.size()), &read, nullptr))
    return FileErrorOfSystem(GetLastError());
  bytes.resize(read);
  return FileError::None;
}

FileError Win32Files::Append(const std::string& path, std::string_view bytes) {
  UniqueFile file(CreateFileA(path.c_str(), FILE_APPEND_DATA, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                              OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
  if (!file) return FileErrorOfSystem(GetLastError());
  DWORD written = 0;
  if (!WriteFile(file.get(), bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr) ||
      written != bytes.size())
    return FileErrorOfSystem(GetLastError());
  return FileError::None;
}

FileError Win32Files::Copy(const std::string& from, const std::string& to) {
  return CopyFileA(from.c_str(), to.c_str(), TRUE) ? FileError::None : FileErrorOfSystem(GetLastError());
}

bool Win32Files::CanOpenExclusively(const std::string& path) {
  UniqueFile file(CreateFileA(path.c_str(), GENERIC_READ | GENERIC_WRITE, 0, nullptr, OPEN_EXISTING,
                              FILE_ATTRIBUTE_NORMAL, nullptr));
  return static_cast<bool>(file);
}

}  // namespace qz
