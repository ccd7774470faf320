// qzcl.exe: wires the Win32 adapters to the portable core and runs one start of the program.
#include <windows.h>
#include <commctrl.h>

#include <cstdlib>
#include <memory>
#include <ostream>
#include <streambuf>

#include "app/services.h"
#include "app/startup.h"
#include "app/views_win32.h"
#include "ide/dde_channel.h"
#include "runtime/dde_transport_win32.h"
#include "runtime/dialogs_win32.h"
#include "runtime/held_file_win32.h"
#include "runtime/platform_win32.h"
#include "runtime/processes_win32.h"
#include "runtime/profile_win32.h"
#include "runtime/registry_win32.h"
#include "translator/loading_view_win32.h"

namespace {

// Standard error as the process received it (a GUI program has no console of its own).
class StdErrBuf : public std::streambuf {
 protected:
  int overflow(int c) override {
    if (c == traits_type::eof()) return 0;
    char ch = static_cast<char>(c);
    return xsputn(&ch, 1) == 1 ? c : traits_type::eof();
  }
  std::streamsize xsputn(const char* s, std::streamsize n) override {
    HANDLE h = GetStdHandle(STD_ERROR_HANDLE);
    DWORD written = 0, mode = 0;
    if (!h || h == INVALID_HANDLE_VALUE) return n;
    // A console takes its text through the console functions; a file or pipe through WriteFile.
    if (GetFileType(h) == FILE_TYPE_CHAR && GetConsoleMode(h, &mode))
      WriteConsoleA(h, s, static_cast<DWORD>(n), &written, nullptr);
    else if (GetFileType(h) != FILE_TYPE_UNKNOWN)
      WriteFile(h, s, static_cast<DWORD>(n), &written, nullptr);
    return n;  // nowhere to report a lost line; the run goes on
  }
};

// In an unattended run no window opens, not even the loading window.
class NoLoadingView : public qz::LoadingView {
 public:
  void Open() override {}
  void SetProgress(int) override {}
  void Close() override {}
};

bool UnattendedRequested() {
  const char* value = std::getenv("QZCL_UNATTENDED");
  return value && value[0] == '1';
}

}  // namespace

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int) {
  const bool unattended = UnattendedRequested() || !qz::DesktopIsVisible();
  if (!unattended) {
    INITCOMMONCONTROLSEX icc{sizeof icc, ICC_WIN95_CLASSES | ICC_STANDARD_CLASSES};
    InitCommonControlsEx(&icc);
  }

  StdErrBuf errBuf;
  std::ostream errStream(&errBuf);
  qz::Win32Profile profile;
  qz::Win32Files files;
  qz::Win32Clock clock;
  qz::Win32Codec codec;
  qz::Win32Dialogs shownDialogs;
  qz::UnattendedDialogs writtenDialogs(errStream);
  qz::Win32LoadingView shownLoading;
  NoLoadingView noLoading;

  qz::StringTranslator translator(profile, files, clock, codec, unattended ? static_cast<qz::LoadingView&>(noLoading)
                                                                    : shownLoading);
  qz::Win32Processes processes;
  qz::Win32Shell shell;
  qz::Win32Registry registry;
  qz::Win32HeldFile heldFile;
  qz::Win32DdeTransport transport;
  qz::DdeLog ddeLog(profile);
  qz::DdeChannel dde(transport, processes, clock, ddeLog);
  qz::Win32Views shownViews;
  qz::UnattendedViews noViews;
  qz::Services svc({profile, files, clock, codec, unattended ? static_cast<qz::Dialogs&>(writtenDialogs) : shownDialogs,
                    processes, shell, registry, heldFile, translator, dde, unattended ? static_cast<qz::Views&>(noViews) : shownViews},
                   GetCommandLineA());
  qz::RunMain(svc);
  // Interactive runs keep exit code 0; installers running unattended learn whether the command worked.
  return unattended ? svc.ExitCode() : 0;
}
