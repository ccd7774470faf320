#include "platform/held_file_win32.h"

#include <limits>

#include "platform/files_win32.h"

namespace qz {

namespace {

OVERLAPPED At(std::int64_t offset) {
  OVERLAPPED at{};
  at.Offset = static_cast<DWORD>(static_cast<std::uint64_t>(offset) & 0xFFFFFFFFu);
  at.OffsetHigh = static_cast<DWORD>(static_cast<std::uint64_t>(offset) >> 32);
  return at;
}

}  // namespace

FileError Win32HeldFile::Open(const std::string& path) {
  file_.reset();  // first: the same file may be opened again
  file_.reset(CreateFileA(path.c_str(), GENERIC_READ | GENERIC_WRITE, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                          FILE_ATTRIBUTE_NORMAL, nullptr));
  return file_ ? FileError::None : FileErrorOfSystem(GetLastError());
}

FileError Win32HeldFile::Create(const std::string& path) {
  UniqueFile created(CreateFileA(path.c_str(), GENERIC_READ | GENERIC_WRITE, FILE_SHARE_READ, nullptr, CREATE_NEW,
                                 FILE_ATTRIBUTE_NORMAL, nullptr));
  return created ? FileError::None : FileErrorOfSystem(GetLastError());
}

FileError Win32HeldFile::Size(std::int64_t& size) {
  if (!file_) return FileError::NotOpen;
  LARGE_INTEGER n{};
  if (!GetFileSizeEx(file_.get(), &n)) return FileErrorOfSystem(GetLastError());
  size = n.QuadPart;
  return FileError::None;
}

FileError Win32HeldFile::Read(std::int64_t offset, std::size_t count, std::string& bytes) {
  bytes.clear();
  if (!file_) return FileError::NotOpen;
  if (count > std::numeric_limits<DWORD>::max()) return FileError::InsufficientMemory;
  bytes.resize(count);
  OVERLAPPED at = At(offset);
  DWORD read = 0;
  if (count > 0 && !ReadFile(file_.get(), bytes.data(), static_cast<DWORD>(count), &read, &at)) {
    const DWORD error = GetLastError();
    bytes.clear();
    if (error != ERROR_HANDLE_EOF) return FileErrorOfSystem(error);
  }
  bytes.resize(read);
  return FileError::None;
}

FileError Win32HeldFile::Write(std::int64_t offset, std::string_view bytes) {
  if (!file_) return FileError::NotOpen;
  return WriteAt(file_.get(), offset, bytes);
}

}  // namespace qz
