// Files on Win32: attributes, the current, program and temporary folders, short names, whole-file reads, copies,
// the temporary files of a change and whole-file replacement.
#pragma once
#include <windows.h>

#include <cstdint>

#include "platform/files.h"

namespace qz {

class Win32Files : public Files {
 public:
  bool Exists(const std::string& path) override;
  std::string CurrentDirectory() override;
  std::string ProgramDirectory() override;
  std::string TemporaryFolder() override;
  std::string ShortPath(const std::string& path) override;
  FileError ReadAll(const std::string& path, std::string& bytes) override;
  FileError Copy(const std::string& from, const std::string& to) override;
  bool CanOpenExclusively(const std::string& path) override;
  FileError WriteTemporary(const std::string& path, std::string_view bytes, std::string& tempPath) override;
  void RemoveStaleTemporaries(const std::string& path) override;
  FileError Replace(const std::string& path, const std::string& tempPath) override;
  void Remove(const std::string& path) override;
  FileError CheckWritable(const std::string& path) override;
  std::string DataFolder(bool user) override;
  FileError MakeFolder(const std::string& path) override;
  FileError Append(const std::string& path, std::string_view bytes) override;
};

// Writes every byte at offset. A write cut short is a failure: the system's reason when it gave one, else
// DiskFull (a file size limit or a full volume can stop WriteFile short without an error).
FileError WriteAt(HANDLE file, std::int64_t offset, std::string_view bytes);

}  // namespace qz
