// File services the program needs from the platform.
#pragma once
#include <string>
#include <string_view>

#include "runtime/file_errors.h"

namespace qz {

class Files {
 public:
  virtual ~Files() = default;
  virtual bool Exists(const std::string& path) = 0;
  // The current directory, as the platform spells it (no trailing backslash except at a drive root).
  virtual std::string CurrentDirectory() = 0;
  // The folder the program itself was started from (no trailing backslash), where its help page lies.
  virtual std::string ProgramDirectory() = 0;
  // The short (8.3) form of an existing path; the path itself when there is none.
  virtual std::string ShortPath(const std::string& path) = 0;
  // The whole content of an existing file, read sharing it with every other program.
  virtual FileError ReadAll(const std::string& path, std::string& bytes) = 0;
  // Adds bytes at the end of an existing file in one write; never creates the file.
  virtual FileError Append(const std::string& path, std::string_view bytes) = 0;
  // Copies an existing file to a new one; never replaces a file that exists.
  virtual FileError Copy(const std::string& from, const std::string& to) = 0;
  // Whether the file can be opened with every other program shut out: false while anyone holds it open.
  virtual bool CanOpenExclusively(const std::string& path) = 0;
};

}  // namespace qz
