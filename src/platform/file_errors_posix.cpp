#include <cerrno>

#include "text/file_errors.h"

namespace qz {

FileError FileErrorOfSystem(unsigned long code) {
  switch (static_cast<int>(code)) {
    case 0: return FileError::None;
    case ENOENT: return FileError::NotFound;
    case ENOTDIR: return FileError::PathNotFound;
    case EMFILE:
    case ENFILE: return FileError::TooManyOpenFiles;
    case EACCES:
    case EPERM:
    case EROFS:
    case EISDIR: return FileError::AccessDenied;
    case ENOMEM: return FileError::InsufficientMemory;
    case ENAMETOOLONG: return FileError::InvalidFilename;
    case ENOSPC:
    case EFBIG: return FileError::DiskFull;
    default: return FileError::FileSystem;
  }
}

}  // namespace qz
