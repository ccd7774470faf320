// The close prompt with the real message boxes and the real DDE layer, against the stand-in IDE.
// The prompts run on a second thread of this process; the test reads and answers them as a person would.
#include <gtest/gtest.h>

#include <future>
#include <optional>

#include <sstream>

#include "app/ports_win32.h"
#include "app/program.h"
#include "ide/ide_check.h"
#include "runtime/handle_win32.h"
#include "runtime/window_text_win32.h"

namespace qz {
namespace {

std::string HereDirectory() {
  char path[MAX_PATH];
  DWORD n = GetModuleFileNameA(nullptr, path, MAX_PATH);
  std::string dir(path, n);
  return dir.substr(0, dir.find_last_of('\\'));
}

class StandInIde {
 public:
  StandInIde() {
    std::string ready = HereDirectory() + "\\close-prompt.ready";
    DeleteFileA(ready.c_str());
    std::string line = "\"" + HereDirectory() + "\\stand_in_ide.exe\" --ready \"" + ready + "\"";
    STARTUPINFOA si{sizeof si};
    PROCESS_INFORMATION pi{};
    char temp[MAX_PATH];
    GetTempPathA(MAX_PATH, temp);  // where its log goes
    if (!CreateProcessA(nullptr, line.data(), nullptr, nullptr, FALSE, 0, nullptr, temp, &si, &pi)) return;
    process_.reset(pi.hProcess);
    CloseHandle(pi.hThread);
    for (int i = 0; i < 200 && GetFileAttributesA(ready.c_str()) == INVALID_FILE_ATTRIBUTES; ++i) Sleep(50);
  }
  ~StandInIde() { Exit(); }
  void Exit() {
    if (!process_) return;
    TerminateProcess(process_.get(), 0);
    WaitForSingleObject(process_.get(), 5000);
    process_.reset();
  }

 private:
  UniqueKernelHandle process_;
};

struct FoundBox {
  HWND window;
  std::string caption, text;
};

BOOL CALLBACK FindOwnBox(HWND window, LPARAM param) {
  DWORD pid = 0;
  GetWindowThreadProcessId(window, &pid);
  char cls[16] = {};
  GetClassNameA(window, cls, sizeof cls);
  if (pid == GetCurrentProcessId() && std::string(cls) == "#32770" && IsWindowVisible(window)) {
    *reinterpret_cast<HWND*>(param) = window;
    return FALSE;
  }
  return TRUE;
}

std::optional<FoundBox> WaitForBox() {
  for (int i = 0; i < 200; ++i) {
    HWND box = nullptr;
    EnumWindows(FindOwnBox, reinterpret_cast<LPARAM>(&box));
    if (box) return FoundBox{box, WindowText(box), WindowText(GetDlgItem(box, 0xFFFF))};
    Sleep(50);
  }
  return std::nullopt;
}

void Press(const FoundBox& box, int id) {
  PostMessageA(box.window, WM_COMMAND, MAKEWPARAM(id, BN_CLICKED), 0);
  for (int i = 0; i < 100 && IsWindow(box.window); ++i) Sleep(20);
}

const char* const kPrompt =
    "Clarion must be closed!\n\nPress OK when Clarion is closed, Cancel to cancel this operation.";

// The program's own wiring, with the real message boxes.
struct Wired {
  std::ostringstream unused;
  Win32Ports ports{false, unused};
  Program program{ports.Get(), ports.GetViews()};
};

// Runs the prompting on its own thread, as the program would on its main one.
std::future<bool> Prompting(Wired& wired) {
  return std::async(std::launch::async, [&wired] {
    return ClarionMustBeClosed(wired.program.services(), "C60EE", "Update Items in Clarion INI File ");
  });
}

TEST(close_prompt, cancel_ends_it_at_once) {
  StandInIde ide;
  Wired wired;
  auto result = Prompting(wired);
  auto box = WaitForBox();
  ASSERT_TRUE(box);
  EXPECT_EQ(box->caption, "Update Items in Clarion INI File");
  EXPECT_EQ(box->text, kPrompt);
  EXPECT_NE(GetDlgItem(box->window, IDCANCEL), nullptr);
  Press(*box, IDCANCEL);
  EXPECT_FALSE(result.get());
}

TEST(close_prompt, ok_after_the_ide_has_exited_goes_on) {
  StandInIde ide;
  Wired wired;
  auto result = Prompting(wired);
  auto box = WaitForBox();
  ASSERT_TRUE(box);
  ide.Exit();
  Press(*box, IDOK);
  EXPECT_TRUE(result.get());
}

}  // namespace
}  // namespace qz
