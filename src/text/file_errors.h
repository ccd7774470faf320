// The file error codes the program reports, with their texts, as messages and logs show them.
#pragma once
#include <string_view>

namespace qz {

// The codes that the program's file stores report.
enum class FileError : int {
  None = 0,
  NotFound = 2,
  PathNotFound = 3,
  TooManyOpenFiles = 4,
  AccessDenied = 5,
  InsufficientMemory = 8,
  AlreadyLocked = 32,
  RecordNotAvailable = 33,
  InvalidData = 36,
  NotOpen = 37,
  InvalidFilename = 45,
  SharingViolation = 64,
  FileSystem = 90,
  // Codes of the program's own, beyond the classic ones: for what it tells an installer.
  DiskFull = 112,
  NotText = 113,  // a device, a folder, or text in a form the program does not write (UTF-16)
};

// The classic error text of code, as the program has always written it; empty for None.
std::string_view ErrorText(FileError code);

// Why a change of a file failed, as a fixed phrase for a line of its own in a box (to be translated).
const char* FileErrorReason(FileError code);

// A file or the folder it should be in does not exist.
inline bool IsMissing(FileError code) { return code == FileError::NotFound || code == FileError::PathNotFound; }

// Why the platform could not open, read or write a file (GetLastError on Windows, errno elsewhere). The one
// translation of system error numbers: every file store reports through it.
FileError FileErrorOfSystem(unsigned long code);

}  // namespace qz
