#include "text/file_errors.h"

#include "text/text.h"

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
    case FileError::DiskFull: return "Disk Full";
    case FileError::NotText: return "Not A Text File";
  }
  return "File System Error";
}

const char* FileErrorReason(FileError code) {
  switch (code) {
    case FileError::DiskFull: return Phrase("The disk is full.");
    case FileError::AccessDenied: return Phrase("Access is denied.");
    case FileError::AlreadyLocked:
    case FileError::SharingViolation: return Phrase("Another program is using the file.");
    case FileError::NotFound:
    case FileError::PathNotFound: return Phrase("The file does not exist.");
    case FileError::NotText: return Phrase("It is not a text file that QZCL can change.");
    case FileError::InvalidFilename: return Phrase("The name is not valid, or too long.");
    case FileError::InsufficientMemory: return Phrase("There is not enough memory.");
    case FileError::InvalidData: return Phrase("The file is damaged: QZCL cannot read what it holds.");
    default: return Phrase("The file system reported an error.");
  }
}

}  // namespace qz
