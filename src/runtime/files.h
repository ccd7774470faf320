// File services the program needs from the platform.
#pragma once
#include <functional>
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
  // A new file in the folder of path holding bytes, flushed to the disk; tempPath receives its name (also
  // when the write failed after the file was made).
  virtual FileError WriteTemporary(const std::string& path, std::string_view bytes, std::string& tempPath) = 0;
  // Puts the file tempPath in the place of path in one step, path keeping its attributes and creation time;
  // a missing path is made. A read-only path is not replaced.
  virtual FileError Replace(const std::string& path, const std::string& tempPath) = 0;
  virtual void Remove(const std::string& path) = 0;
};

// Takes the lines for which drop is true (as Lines splits them, each with its line end) out of the file, every
// other byte staying, and replaces the file whole when any went; None also when none did.
FileError RemoveLines(Files& files, const std::string& path, const std::function<bool(std::string_view)>& drop);

// Gives the file the content bytes so that a kill at any moment leaves its old content or the new one: the
// bytes go to a temporary file beside it, which then takes its place. On failure the file is as it was.
FileError ReplaceContent(Files& files, const std::string& path, std::string_view bytes);

}  // namespace qz
