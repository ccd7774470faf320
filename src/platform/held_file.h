// One file held open for updating: the program may read and write it, other programs may only read it
// until it is closed.
#pragma once
#include <cstdint>
#include <string>
#include <string_view>

#include "text/file_errors.h"

namespace qz {

class HeldFile {
 public:
  virtual ~HeldFile() = default;
  // Opens an existing file for reading and writing, denying writes to others; closes what was open.
  virtual FileError Open(const std::string& path) = 0;
  // Makes a new, empty file and closes it again. A file that exists is never replaced.
  virtual FileError Create(const std::string& path) = 0;
  // Harmless when nothing is open.
  virtual void Close() = 0;
  virtual bool IsOpen() const = 0;
  virtual FileError Size(std::int64_t& size) = 0;
  // Up to count bytes from offset on: fewer at the end of the file.
  virtual FileError Read(std::int64_t offset, std::size_t count, std::string& bytes) = 0;
  // The bytes at offset, in a single write of the platform, extending the file when they pass its end.
  virtual FileError Write(std::int64_t offset, std::string_view bytes) = 0;
};

}  // namespace qz
