// File services the program needs from the platform.
#pragma once
#include <string>
#include <string_view>

#include "text/file_errors.h"

namespace qz {

class Files {
 public:
  virtual ~Files() = default;
  virtual bool Exists(const std::string& path) = 0;
  // The current directory, as the platform spells it (no trailing backslash except at a drive root).
  virtual std::string CurrentDirectory() = 0;
  // The folder the program itself was started from (no trailing backslash), where its help page lies.
  virtual std::string ProgramDirectory() = 0;
  // The folder for temporary files, without its final backslash: "\\" and a name make a file in it.
  virtual std::string TemporaryFolder() = 0;
  // The short (8.3) form of an existing path; the path itself when there is none.
  virtual std::string ShortPath(const std::string& path) = 0;
  // The whole content of an existing file, read sharing it with every other program. A device (NUL, COM1) or
  // a folder is NotText.
  virtual FileError ReadAll(const std::string& path, std::string& bytes) = 0;
  // Copies an existing file to a new one, every byte or none: a copy cut short (a full disk) is removed
  // again. Never replaces a file that exists.
  virtual FileError Copy(const std::string& from, const std::string& to) = 0;
  // Whether the file can be opened with every other program shut out: false while anyone holds it open.
  virtual bool CanOpenExclusively(const std::string& path) = 0;
  // A new file in the folder of path holding bytes, every one of them written and flushed to the disk;
  // tempPath receives its name (also when the write failed after the file was made). Its name says which
  // run made it, so that a later run can remove it when that run was killed.
  virtual FileError WriteTemporary(const std::string& path, std::string_view bytes, std::string& tempPath) = 0;
  // Removes the temporary files that runs which are gone left in the folder of path.
  virtual void RemoveStaleTemporaries(const std::string& path) = 0;
  // Puts the file tempPath in the place of path in one step, path keeping its attributes and creation time;
  // a missing path is made. A read-only path is not replaced (AccessDenied); a path another program holds
  // open is SharingViolation.
  virtual FileError Replace(const std::string& path, const std::string& tempPath) = 0;
  virtual void Remove(const std::string& path) = 0;
  // The folder of the program's data for every user of the machine (user false) or for the current user only,
  // without its final backslash; empty when Windows names none.
  virtual std::string DataFolder(bool user) = 0;
  // Makes the folder, and those above it that are missing.
  virtual FileError MakeFolder(const std::string& path) = 0;
  // Why path could not be replaced now, found without changing anything: a read-only file or one another
  // program holds open, no folder above it; None when it could (missing folders are made on the way).
  virtual FileError CheckWritable(const std::string& path) = 0;
  // Adds bytes at the end of the file (made when missing) in one write, so that runs side by side that append
  // to the same file never mix their lines.
  virtual FileError Append(const std::string& path, std::string_view bytes) = 0;
};

}  // namespace qz
