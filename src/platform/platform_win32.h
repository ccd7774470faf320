// Small Win32 adapters: the shell, the clock, the code page.
#pragma once
#include "platform/clock.h"
#include "text/codec.h"
#include "platform/shell.h"

namespace qz {

class Win32Shell : public Shell {
 public:
  void Open(const std::string& file) override;
  void OpenHelpPage(const std::string& address) override;
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
  std::string WideToAnsi(std::u16string_view wide) override;
  std::u16string AnsiToWide(std::string_view ansi) override;
};

}  // namespace qz
