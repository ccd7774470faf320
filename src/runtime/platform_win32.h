// Small Win32 adapters: files, clock, code page.
#pragma once
#include "runtime/clock.h"
#include "runtime/codec.h"
#include "runtime/files.h"
#include "runtime/shell.h"

namespace qz {

class Win32Files : public Files {
 public:
  bool Exists(const std::string& path) override;
  std::string CurrentDirectory() override;
  std::string ProgramDirectory() override;
  std::string ShortPath(const std::string& path) override;
  FileStatus ReadAll(const std::string& path, std::string& bytes) override;
  FileStatus Append(const std::string& path, std::string_view bytes) override;
  FileStatus Copy(const std::string& from, const std::string& to) override;
  bool CanOpenExclusively(const std::string& path) override;
};

class Win32Shell : public Shell {
 public:
  void Open(const std::string& file) override;
};

class Win32Clock : public Clock {
 public:
  std::int64_t Milliseconds() override;
  void Wait(int ms) override;
  LocalTime Now() override;
};

class Win32Codec : public TextCodec {
 public:
  std::string AnsiToUtf8(std::string_view ansi) override;
  std::string Utf8ToAnsi(std::string_view utf8) override;
};

}  // namespace qz
