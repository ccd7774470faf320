#include "runtime/files_win32.h"

#include <windows.h>

#include "runtime/handle_win32.h"

namespace qz {

namespace {

// CON, NUL, COM1 and their kind name devices in every folder, with any extension: they are not files.
bool IsDeviceName(const std::string& path) {
  const auto slash = path.find_last_of("\\/:");
  std::string name = path.substr(slash == std::string::npos ? 0 : slash + 1);
  name = name.substr(0, name.find('.'));
  while (!name.empty() && name.back() == ' ') name.pop_back();
  for (char& c : name) c = static_cast<char>(c >= 'a' && c <= 'z' ? c - 'a' + 'A' : c);
  if (name == "CON" || name == "PRN" || name == "AUX" || name == "NUL" || name == "CONIN$" || name == "CONOUT$")
    return true;
  return name.size() == 4 && (name.starts_with("COM") || name.starts_with("LPT")) && name[3] >= '1' && name[3] <= '9';
}

}  // namespace

bool Win32Files::Exists(const std::string& path) {
  if (IsDeviceName(path)) return false;
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

FileError Win32Files::WriteTemporary(const std::string& path, std::string_view bytes, std::string& tempPath) {
  const auto slash = path.find_last_of("\\/");
  const std::string folder = slash == std::string::npos ? std::string(".") : path.substr(0, slash + 1);
  char name[MAX_PATH] = "";
  // Made in the file's own folder, so that putting it in place is a rename on the same volume.
  if (!GetTempFileNameA(folder.c_str(), "qz", 0, name)) return FileErrorOfSystem(GetLastError());
  tempPath = name;
  if (bytes.size() > MAXDWORD) return FileError::InsufficientMemory;
  UniqueFile file(CreateFileA(name, GENERIC_WRITE, 0, nullptr, TRUNCATE_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
  if (!file) return FileErrorOfSystem(GetLastError());
  DWORD written = 0;
  if (!bytes.empty() && (!WriteFile(file.get(), bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr) ||
                         written != bytes.size()))
    return FileErrorOfSystem(GetLastError());
  // On the disk before it replaces anything: a power cut must not leave the renamed file empty.
  if (!FlushFileBuffers(file.get())) return FileErrorOfSystem(GetLastError());
  return FileError::None;
}

// One rename that replaces the file: on Windows and under Wine alike the file is the old one until the new one
// is there. (ReplaceFileA is no such step under Wine: it moves the old file away and deletes it before the new
// one takes its name.) The new file takes the old one's attributes and creation time first.
FileError Win32Files::Replace(const std::string& path, const std::string& tempPath) {
  WIN32_FILE_ATTRIBUTE_DATA old{};
  if (GetFileAttributesExA(path.c_str(), GetFileExInfoStandard, &old)) {
    // The user made it read-only: it is left as it is, as a program writing it in place would have to.
    if (old.dwFileAttributes & FILE_ATTRIBUTE_READONLY) return FileError::AccessDenied;
    UniqueFile temp(CreateFileA(tempPath.c_str(), FILE_WRITE_ATTRIBUTES, 0, nullptr, OPEN_EXISTING, 0, nullptr));
    if (temp) SetFileTime(temp.get(), &old.ftCreationTime, nullptr, nullptr);
    temp.reset();
    SetFileAttributesA(tempPath.c_str(), old.dwFileAttributes);
  }
  if (!MoveFileExA(tempPath.c_str(), path.c_str(), MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH))
    return FileErrorOfSystem(GetLastError());
  return FileError::None;
}

void Win32Files::Remove(const std::string& path) { DeleteFileA(path.c_str()); }

}  // namespace qz
