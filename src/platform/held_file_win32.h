#pragma once
#include "platform/handle_win32.h"
#include "platform/held_file.h"

namespace qz {

// A file opened with CreateFileA for reading and writing and shared for reading only.
class Win32HeldFile : public HeldFile {
 public:
  FileError Open(const std::string& path) override;
  FileError Create(const std::string& path) override;
  void Close() override { file_.reset(); }
  bool IsOpen() const override { return static_cast<bool>(file_); }
  FileError Size(std::int64_t& size) override;
  FileError Read(std::int64_t offset, std::size_t count, std::string& bytes) override;
  FileError Write(std::int64_t offset, std::string_view bytes) override;

 private:
  UniqueFile file_;
};

}  // namespace qz
