#include <windows.h>

#include "text/file_errors.h"

namespace qz {

FileError FileErrorOfSystem(unsigned long code) {
  switch (code) {
    case ERROR_SUCCESS: return FileError::None;
    case ERROR_FILE_NOT_FOUND: return FileError::NotFound;
    case ERROR_PATH_NOT_FOUND:
    case ERROR_INVALID_DRIVE:
    case ERROR_BAD_NETPATH: return FileError::PathNotFound;
    case ERROR_TOO_MANY_OPEN_FILES: return FileError::TooManyOpenFiles;
    case ERROR_ACCESS_DENIED:
    case ERROR_WRITE_PROTECT: return FileError::AccessDenied;
    case ERROR_NOT_ENOUGH_MEMORY:
    case ERROR_OUTOFMEMORY: return FileError::InsufficientMemory;
    case ERROR_LOCK_VIOLATION: return FileError::AlreadyLocked;
    case ERROR_SHARING_VIOLATION: return FileError::SharingViolation;
    case ERROR_INVALID_NAME:
    case ERROR_BAD_PATHNAME:
    case ERROR_FILENAME_EXCED_RANGE: return FileError::InvalidFilename;
    case ERROR_DISK_FULL:
    case ERROR_HANDLE_DISK_FULL: return FileError::DiskFull;
    default: return FileError::FileSystem;
  }
}

}  // namespace qz
