#include "runtime/file_errors.h"

namespace qz {

std::string_view ErrorText(FileError code) {
  switch (code) {
    case FileError::None: return "";
    case FileError::NotFound: return "File Not Found";
    case FileError::PathNotFound: return "Path Not Found";
    case FileError::TooManyOpenFiles: return "Too Many Open Files";
    case FileError::AccessDenied: return "Access Denied";
    case FileError::InsufficientMemory: return "Insufficient Memory";
    case FileError::AlreadyLocked: return "File Is Already Locked";
    case FileError::RecordNotAvailable: return "Record Not Available";
    case FileError::InvalidData: return "Invalid Data File";
    case FileError::NotOpen: return "File Not Open";
    case FileError::InvalidFilename: return "Invalid Filename";
    case FileError::SharingViolation: return "Sharing Violation";
    case FileError::FileSystem: return "File System Error";
  }
  return "File System Error";
}

}  // namespace qz
