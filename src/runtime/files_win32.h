// Files on Win32: attributes, the current and program folders, short names, whole-file reads, appends, copies
// and whole-file replacement.
#pragma once
#include "runtime/files.h"

namespace qz {

class Win32Files : public Files {
 public:
  bool Exists(const std::string& path) override;
  std::string CurrentDirectory() override;
  std::string ProgramDirectory() override;
  std::string ShortPath(const std::string& path) override;
  FileError ReadAll(const std::string& path, std::string& bytes) override;
  FileError Append(const std::string& path, std::string_view bytes) override;
  FileError Copy(const std::string& from, const std::string& to) override;
  bool CanOpenExclusively(const std::string& path) override;
  FileError WriteTemporary(const std::string& path, std::string_view bytes, std::string& tempPath) override;
  FileError Replace(const std::string& path, const std::string& tempPath) override;
  void Remove(const std::string& path) override;
};

}  // namespace qz
