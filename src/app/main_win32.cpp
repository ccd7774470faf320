// qzcl.exe: wires the Win32 adapters to the portable core and runs one start of the program.
#include <windows.h>
#include <commctrl.h>

#include <cstdlib>
#include <memory>
#include <ostream>
#include <streambuf>

#include "app/ports_win32.h"
#include "app/program.h"

namespace {

// Standard error or output as the process received it (a GUI program has no console of its own).
class StdHandleBuf : public std::streambuf {
 public:
  explicit StdHandleBuf(DWORD which) : which_(which) {}

 protected:
  int overflow(int c) override {
    if (c == traits_type::eof()) return 0;
    char ch = static_cast<char>(c);
    return xsputn(&ch, 1) == 1 ? c : traits_type::eof();
  }
  std::streamsize xsputn(const char* s, std::streamsize n) override {
    HANDLE h = GetStdHandle(which_);
    DWORD written = 0, mode = 0;
    if (!h || h == INVALID_HANDLE_VALUE) return n;
    // A console takes its text through the console functions; a file or pipe through WriteFile.
    if (GetFileType(h) == FILE_TYPE_CHAR && GetConsoleMode(h, &mode))
      WriteConsoleA(h, s, static_cast<DWORD>(n), &written, nullptr);
    else if (GetFileType(h) != FILE_TYPE_UNKNOWN)
      WriteFile(h, s, static_cast<DWORD>(n), &written, nullptr);
    return n;  // nowhere to report a lost line; the run goes on
  }

 private:
  DWORD which_;
};

// QZCL_UNATTENDED=1, or /UNATTENDED for callers that cannot set a variable (an MSI custom action); a dry run
// (/WHATIF) asks nobody anything either.
bool UnattendedRequested() {
  const char* value = std::getenv("QZCL_UNATTENDED");
  const qz::Switches options = qz::CommandLine(GetCommandLineA()).Options();
  return (value && value[0] == '1') || options.unattended || options.whatIf;
}

}  // namespace

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int) {
  const bool unattended = UnattendedRequested() || !qz::DesktopIsVisible();

  StdHandleBuf errBuf(STD_ERROR_HANDLE), outBuf(STD_OUTPUT_HANDLE);
  std::ostream errStream(&errBuf), outStream(&outBuf);
  qz::Win32Ports ports(unattended, errStream, outStream);
  qz::Program program(ports.Get(), ports.GetViews());
  if (const char* log = std::getenv("QZCL_LOG")) program.LogTo(log);
  if (const char* owner = std::getenv("QZCL_OWNER")) program.OwnerFromEnvironment(owner);
  try {
    program.Run(std::u16string_view(reinterpret_cast<const char16_t*>(GetCommandLineW())));
  } catch (...) {
    // A window passes on what went wrong inside it once it has closed; the run ends as a failed one.
  }
  return program.services().ProcessExitCode();
}
