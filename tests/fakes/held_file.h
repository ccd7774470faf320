// Files held open for updating, as byte strings in memory.
#pragma once
#include <map>
#include <optional>
#include <string>
#include <vector>

#include "runtime/held_file.h"

namespace qz::fake {

// A test can make opens, reads or writes fail, and stage a kill: after writesUntilKill writes nothing
// more reaches the file, as when the program dies there.
class FakeHeldFile : public HeldFile {
 public:
  FileError Open(const std::string& path) override {
    Close();
    if (auto it = openFailures.find(path); it != openFailures.end()) return it->second;
    if (!files.count(path)) return FileError::NotFound;
    held = path;
    return FileError::None;
  }
  FileError Create(const std::string& path) override {
    if (auto it = createFailures.find(path); it != createFailures.end()) return it->second;
    if (files.count(path)) return FileError::AccessDenied;
    files[path];
    return FileError::None;
  }
  void Close() override { held.reset(); }
  bool IsOpen() const override { return held.has_value(); }
  FileError Size(std::int64_t& size) override {
    if (!held) return FileError::NotOpen;
    size = static_cast<std::int64_t>(files[*held].size());
    return FileError::None;
  }
  FileError Read(std::int64_t offset, std::size_t count, std::string& bytes) override {
    bytes.clear();
    if (!held) return FileError::NotOpen;
    if (readError != FileError::None) return readError;
    const std::string& file = files[*held];
    if (static_cast<std::size_t>(offset) < file.size()) bytes = file.substr(static_cast<std::size_t>(offset), count);
    return FileError::None;
  }
  FileError Write(std::int64_t offset, std::string_view bytes) override {
    if (!held) return FileError::NotOpen;
    if (writeError != FileError::None) return writeError;
    if (writesUntilKill == 0) return FileError::FileSystem;
    if (writesUntilKill > 0) --writesUntilKill;
    std::string& file = files[*held];
    const auto at = static_cast<std::size_t>(offset);
    if (at > file.size()) file.resize(at, '\0');
    file.replace(at, std::min(bytes.size(), file.size() - at), bytes);
    writes.emplace_back(bytes);
    return FileError::None;
  }

  std::map<std::string, std::string> files;
  std::map<std::string, FileError> openFailures, createFailures;
  FileError readError = FileError::None, writeError = FileError::None;
  int writesUntilKill = -1;  // none staged
  std::vector<std::string> writes;  // every write that reached a file, in order
  std::optional<std::string> held;  // the file open now
};

}  // namespace qz::fake
