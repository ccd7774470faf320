#include "platform/files_win32.h"

#include <windows.h>

#include <cstdint>
#include <limits>

#include "platform/handle_win32.h"

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

// The folder part of path with its separator ("" for a bare name), for the files made beside it.
std::string FolderOf(const std::string& path) {
  const auto slash = path.find_last_of("\\/:");
  return slash == std::string::npos ? std::string() : path.substr(0, slash + 1);
}

std::uint64_t Number(const FILETIME& time) {
  return static_cast<std::uint64_t>(time.dwHighDateTime) << 32 | time.dwLowDateTime;
}

std::uint64_t CreationTime(HANDLE process) {
  FILETIME created{}, exited{}, kernel{}, user{};
  return GetProcessTimes(process, &created, &exited, &kernel, &user) ? Number(created) : 0;
}

// A temporary file's name says which run made it: the process id and its creation time (a process id alone
// is reused once the process is gone).
constexpr char kTempPrefix[] = "~qzcl-";
constexpr char kTempSuffix[] = ".tmp";

std::string TemporaryName(DWORD processId, std::uint64_t created) {
  std::string time(16, '0');
  for (auto it = time.rbegin(); it != time.rend(); ++it, created >>= 4) *it = "0123456789abcdef"[created & 0xF];
  return kTempPrefix + std::to_string(processId) + "-" + time + kTempSuffix;
}

// The run a temporary file's name names; false when the name is not exactly one this program makes.
bool ParseTemporaryName(std::string_view name, DWORD& processId, std::uint64_t& created) {
  if (!name.starts_with(kTempPrefix) || !name.ends_with(kTempSuffix)) return false;
  name = name.substr(sizeof kTempPrefix - 1, name.size() - (sizeof kTempPrefix - 1) - (sizeof kTempSuffix - 1));
  const auto dash = name.find('-');
  if (dash == 0 || dash > 10 || name.size() - dash - 1 != 16) return false;
  std::uint64_t id = 0;
  for (const char c : name.substr(0, dash)) {
    if (c < '0' || c > '9') return false;
    id = id * 10 + static_cast<unsigned>(c - '0');
  }
  if (id > MAXDWORD) return false;
  created = 0;
  for (const char c : name.substr(dash + 1)) {
    const int digit = c >= '0' && c <= '9' ? c - '0' : c >= 'a' && c <= 'f' ? c - 'a' + 10 : -1;
    if (digit < 0) return false;
    created = created << 4 | static_cast<unsigned>(digit);
  }
  processId = static_cast<DWORD>(id);
  return true;
}

// Whether the run that made a temporary file is gone. A process we may not look at counts as running.
bool RunIsGone(DWORD processId, std::uint64_t created) {
  UniqueKernelHandle process(OpenProcess(PROCESS_QUERY_LIMITED_INFORMATION, FALSE, processId));
  if (!process) return GetLastError() == ERROR_INVALID_PARAMETER;  // no such process
  const std::uint64_t actual = CreationTime(process.get());
  if (actual == 0) return false;
  if (actual != created) return true;  // the id now belongs to another process
  DWORD code = 0;
  return GetExitCodeProcess(process.get(), &code) && code != STILL_ACTIVE;
}

void CloseFind(HANDLE find) { FindClose(find); }
using UniqueFind = UniqueHandle<HandleTraits<HANDLE, CloseFind, NoFile>>;

}  // namespace

FileError WriteAt(HANDLE file, std::int64_t offset, std::string_view bytes) {
  if (bytes.size() > std::numeric_limits<DWORD>::max()) return FileError::InsufficientMemory;
  if (bytes.empty()) return FileError::None;
  OVERLAPPED at{};
  at.Offset = static_cast<DWORD>(static_cast<std::uint64_t>(offset) & 0xFFFFFFFFu);
  at.OffsetHigh = static_cast<DWORD>(static_cast<std::uint64_t>(offset) >> 32);
  DWORD written = 0;
  SetLastError(ERROR_SUCCESS);
  if (WriteFile(file, bytes.data(), static_cast<DWORD>(bytes.size()), &written, &at) && written == bytes.size())
    return FileError::None;
  const DWORD error = GetLastError();
  return error == ERROR_SUCCESS ? FileError::DiskFull : FileErrorOfSystem(error);
}

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

std::string Win32Files::TemporaryFolder() {
  // The longest answer GetTempPathA gives is MAX_PATH + 1 characters.
  std::string dir(MAX_PATH + 2, '\0');
  dir.resize(GetTempPathA(static_cast<DWORD>(dir.size()), dir.data()));
  if (!dir.empty() && dir.back() == '\\') dir.pop_back();
  return dir.empty() ? std::string(".") : dir;
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
  bytes.clear();
  // Reading a device could wait for a modem or a printer; a folder has no bytes.
  if (IsDeviceName(path)) return FileError::NotText;
  const DWORD attrs = GetFileAttributesA(path.c_str());
  if (attrs != INVALID_FILE_ATTRIBUTES && (attrs & FILE_ATTRIBUTE_DIRECTORY)) return FileError::NotText;
  UniqueFile file(CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                              nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
  if (!file) return FileErrorOfSystem(GetLastError());
  if (GetFileType(file.get()) != FILE_TYPE_DISK) return FileError::NotText;
  LARGE_INTEGER size{};
  if (!GetFileSizeEx(file.get(), &size) || size.QuadPart > (1LL << 30)) return FileError::FileSystem;
  bytes.assign(static_cast<std::size_t>(size.QuadPart), '\0');
  DWORD read = 0;
  if (!bytes.empty() && !ReadFile(file.get(), bytes.data(), static_cast<DWORD>(bytes.size()), &read, nullptr)) {
    bytes.clear();
    return FileErrorOfSystem(GetLastError());
  }
  bytes.resize(read);
  return FileError::None;
}

FileError Win32Files::Copy(const std::string& from, const std::string& to) {
  // A file already there is never touched, not even to clean up after a failure.
  const bool taken = GetFileAttributesA(to.c_str()) != INVALID_FILE_ATTRIBUTES;
  FileError error = FileError::None;
  if (!CopyFileA(from.c_str(), to.c_str(), TRUE)) {
    const DWORD code = GetLastError();
    if (taken || code == ERROR_FILE_EXISTS || code == ERROR_ALREADY_EXISTS) return FileErrorOfSystem(code);
    error = code == ERROR_SUCCESS ? FileError::FileSystem : FileErrorOfSystem(code);
  } else {
    // A full disk can end a copy early without an error: only the whole file is a copy.
    WIN32_FILE_ATTRIBUTE_DATA source{}, copy{};
    if (!GetFileAttributesExA(from.c_str(), GetFileExInfoStandard, &source) ||
        !GetFileAttributesExA(to.c_str(), GetFileExInfoStandard, &copy))
      error = FileErrorOfSystem(GetLastError());
    else if (source.nFileSizeLow != copy.nFileSizeLow || source.nFileSizeHigh != copy.nFileSizeHigh)
      error = FileError::DiskFull;
    if (error == FileError::None) return FileError::None;
  }
  DeleteFileA(to.c_str());
  return error;
}

bool Win32Files::CanOpenExclusively(const std::string& path) {
  UniqueFile file(CreateFileA(path.c_str(), GENERIC_READ | GENERIC_WRITE, 0, nullptr, OPEN_EXISTING,
                              FILE_ATTRIBUTE_NORMAL, nullptr));
  return static_cast<bool>(file);
}

FileError Win32Files::WriteTemporary(const std::string& path, std::string_view bytes, std::string& tempPath) {
  tempPath.clear();
  if (bytes.size() > MAXDWORD) return FileError::InsufficientMemory;
  // Made in the file's own folder, so that putting it in place is a rename on the same volume. A file of this
  // name can only be left from this very run, so it is overwritten.
  const std::string name = FolderOf(path) + TemporaryName(GetCurrentProcessId(), CreationTime(GetCurrentProcess()));
  UniqueFile file(CreateFileA(name.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr));
  if (!file) return FileErrorOfSystem(GetLastError());
  tempPath = name;
  if (const FileError error = WriteAt(file.get(), 0, bytes); error != FileError::None) return error;
  // On the disk before it replaces anything: a power cut must not leave the renamed file empty.
  if (!FlushFileBuffers(file.get())) return FileErrorOfSystem(GetLastError());
  return FileError::None;
}

void Win32Files::RemoveStaleTemporaries(const std::string& path) {
  const std::string folder = FolderOf(path);
  const DWORD self = GetCurrentProcessId();
  const std::uint64_t selfCreated = CreationTime(GetCurrentProcess());
  WIN32_FIND_DATAA found{};
  UniqueFind find(FindFirstFileA((folder + kTempPrefix + "*-*" + kTempSuffix).c_str(), &found));
  if (!find) return;
  do {
    DWORD processId = 0;
    std::uint64_t created = 0;
    if ((found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) ||
        !ParseTemporaryName(found.cFileName, processId, created) || (processId == self && created == selfCreated))
      continue;
    if (RunIsGone(processId, created)) DeleteFileA((folder + found.cFileName).c_str());
  } while (FindNextFileA(find.get(), &found));
}

// One rename that replaces the file: on Windows and under Wine alike the file is the old one until the new one
// is there. (ReplaceFileA is no such step under Wine: it moves the old file away and deletes it before the new
// one takes its name.) The new file takes the old one's attributes and creation time first.
FileError Win32Files::Replace(const std::string& path, const std::string& tempPath) {
  WIN32_FILE_ATTRIBUTE_DATA old{};
  const bool exists = GetFileAttributesExA(path.c_str(), GetFileExInfoStandard, &old) &&
                      !(old.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY);
  if (exists) {
    // The user made it read-only: it is left as it is, as a program writing it in place would have to.
    if (old.dwFileAttributes & FILE_ATTRIBUTE_READONLY) return FileError::AccessDenied;
    UniqueFile temp(CreateFileA(tempPath.c_str(), FILE_WRITE_ATTRIBUTES, 0, nullptr, OPEN_EXISTING, 0, nullptr));
    if (temp) SetFileTime(temp.get(), &old.ftCreationTime, nullptr, nullptr);
    temp.reset();
    SetFileAttributesA(tempPath.c_str(), old.dwFileAttributes);
  }
  if (MoveFileExA(tempPath.c_str(), path.c_str(), MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH))
    return FileError::None;
  const DWORD error = GetLastError();
  // Not read-only, and the temporary file could be made in its folder: a denied rename means that another
  // program holds the file open, which passes: the caller tries again.
  if (error == ERROR_SHARING_VIOLATION || (error == ERROR_ACCESS_DENIED && exists)) return FileError::SharingViolation;
  return FileErrorOfSystem(error);
}

void Win32Files::Remove(const std::string& path) { DeleteFileA(path.c_str()); }

FileError Win32Files::CheckWritable(const std::string& path) {
  const DWORD attrs = GetFileAttributesA(path.c_str());
  if (attrs == INVALID_FILE_ATTRIBUTES) {
    const DWORD error = GetLastError();
    if (error != ERROR_FILE_NOT_FOUND && error != ERROR_PATH_NOT_FOUND) return FileErrorOfSystem(error);
    // A missing file is made in its folder, which is there or is made in the nearest folder that is.
    for (std::string folder = FolderOf(path); !folder.empty(); folder = FolderOf(folder.substr(0, folder.size() - 1))) {
      const DWORD folderAttrs = GetFileAttributesA(folder.c_str());
      if (folderAttrs != INVALID_FILE_ATTRIBUTES)
        return folderAttrs & FILE_ATTRIBUTE_DIRECTORY ? FileError::None : FileError::PathNotFound;
    }
    return FileError::None;  // a bare name: the current folder
  }
  if (attrs & FILE_ATTRIBUTE_DIRECTORY) return FileError::NotText;
  if (attrs & FILE_ATTRIBUTE_READONLY) return FileError::AccessDenied;
  // Opened for writing and closed again: nothing is written, and the file keeps its times.
  UniqueFile file(CreateFileA(path.c_str(), GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                              nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
  return file ? FileError::None : FileErrorOfSystem(GetLastError());
}

std::string Win32Files::DataFolder(bool user) {
  char folder[MAX_PATH] = {};
  const DWORD n = GetEnvironmentVariableA(user ? "LOCALAPPDATA" : "ProgramData", folder, sizeof folder);
  return n > 0 && n < sizeof folder ? std::string(folder, n) : std::string();
}

FileError Win32Files::MakeFolder(const std::string& path) {
  // Each folder on the way is tried: the ones that exist (a drive, a share) refuse, which is no matter.
  DWORD error = ERROR_SUCCESS;
  for (std::size_t at = path.find_first_of("\\/", 1);; at = path.find_first_of("\\/", at + 1)) {
    if (!CreateDirectoryA(path.substr(0, at).c_str(), nullptr)) error = GetLastError();
    if (at == std::string::npos) break;
  }
  const DWORD attrs = GetFileAttributesA(path.c_str());
  return attrs != INVALID_FILE_ATTRIBUTES && (attrs & FILE_ATTRIBUTE_DIRECTORY) ? FileError::None
                                                                                : FileErrorOfSystem(error);
}

FileError Win32Files::Append(const std::string& path, std::string_view bytes) {
  // Append access alone: every write goes to the end of the file as it is at that moment, whoever else appends.
  UniqueFile file(CreateFileA(path.c_str(), FILE_APPEND_DATA | SYNCHRONIZE,
                              FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr, OPEN_ALWAYS,
                              FILE_ATTRIBUTE_NORMAL, nullptr));
  if (!file) return FileErrorOfSystem(GetLastError());
  return WriteAt(file.get(), -1, bytes);  // offset 0xFFFFFFFF'FFFFFFFF: the end of the file
}

}  // namespace qz
