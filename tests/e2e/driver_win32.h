// Drives qzcl.exe from outside, as a person or an installer would: starts it, reads and answers its
// message boxes, operates its windows, collects its exit code and standard error. Every wait is bounded,
// and a process still running when its driver goes away is terminated.
#pragma once
#include <windows.h>

#include <functional>
#include <optional>
#include <ostream>
#include <string>
#include <string_view>
#include <vector>

#include "runtime/handle_win32.h"

namespace qz::e2e {

inline constexpr DWORD kBoxTimeoutMs = 15000;  // a cold Wine start can take several seconds
inline constexpr DWORD kExitTimeoutMs = 10000;

// The standard icons in the order of their resource ids, 32512 to 32517.
enum class IconKind { None, Application, Hand, Question, Exclamation, Information, WinLogo, Other };
inline void PrintTo(IconKind kind, std::ostream* os) {
  static const char* const names[] = {"none", "application", "hand", "question", "exclamation", "information",
                                      "winlogo", "other"};
  *os << names[static_cast<int>(kind)];
}

// A message box as it is on screen. "\n" separates the lines of its text.
struct Box {
  HWND window = nullptr;
  std::string caption, text;
  std::vector<int> buttons;  // their ids
  IconKind icon = IconKind::None;
  std::string iconProblem;  // why the icon could not be identified, if it could not
};

struct Launch {
  std::string arguments;  // the command line after the program's name
  std::string directory;  // working directory; empty for the driver's own
  bool unattended = false;  // QZCL_UNATTENDED=1 in its environment, which otherwise lacks it
  bool captureStandardError = false;
};

// A fresh empty folder under the temporary directory, removed with everything in it at the end.
class TempDirectory {
 public:
  TempDirectory();
  ~TempDirectory();
  TempDirectory(const TempDirectory&) = delete;
  TempDirectory& operator=(const TempDirectory&) = delete;
  const std::string& Path() const { return path_; }

 private:
  std::string path_;
};

std::string ReadWholeFile(const std::string& path);
void WriteWholeFile(const std::string& path, const std::string& bytes);
// The folder of the running test program, where qzcl.exe and the helper programs are built.
std::string TestProgramDirectory();

// Version 6 of the IDE named in WIN.INI with its root folder (made, with BIN) while the object lives.
struct Installed {
  explicit Installed(const std::string& root, const char* exeName = "C60EE");
  ~Installed();
};

// A stand-in IDE serving the DDE service, started in directory and logging to ide.log there; ended when
// the object goes away.
class StandInIde {
 public:
  explicit StandInIde(const std::string& directory, const std::string& options = "");
  ~StandInIde() { Exit(); }
  bool Up() const { return up_; }  // its service is ready
  bool Exited(DWORD timeoutMs) const { return WaitForSingleObject(process_.get(), timeoutMs) == WAIT_OBJECT_0; }
  // Ends it and waits until it has gone, so that nothing answers for it any more.
  void Exit();
  std::vector<std::string> Log() const;  // a line each

 private:
  std::string log_;
  UniqueKernelHandle process_;
  bool up_ = false;
};

class QzclProcess {
 public:
  explicit QzclProcess(const Launch& launch);
  ~QzclProcess();
  QzclProcess(const QzclProcess&) = delete;
  QzclProcess& operator=(const QzclProcess&) = delete;

  bool Started() const { return static_cast<bool>(process_); }
  const std::string& StartError() const { return startError_; }
  // The first visible message box of the process; none when the time runs out or the process ends.
  std::optional<Box> WaitForBox(DWORD timeoutMs = kBoxTimeoutMs);
  // True when no visible window (with boxesOnly, no message box) of the process appears in time or before it ends.
  bool NoWindowWithin(DWORD timeoutMs, bool boxesOnly = false);
  // Presses a button of the box and waits until the box has gone; false when it stays.
  bool Press(const Box& box, int buttonId);
  // The visible top-level window of the process with this title, or with a control of this id; nullptr when
  // none appears in time.
  HWND WaitForWindow(std::string_view title, DWORD timeoutMs = kBoxTimeoutMs);
  HWND WaitForWindowWith(int controlId, DWORD timeoutMs = kBoxTimeoutMs);
  // The exit code; none when the process is still running after the time.
  std::optional<DWORD> WaitForExit(DWORD timeoutMs = kExitTimeoutMs);
  // All that the process wrote to standard error, once it has ended.
  std::string StandardError();

 private:
  bool Running() const { return process_ && WaitForSingleObject(process_.get(), 0) == WAIT_TIMEOUT; }
  HWND WaitForWindowWhere(const std::function<bool(HWND)>& wanted, DWORD timeoutMs);

  UniqueKernelHandle process_;
  DWORD processId_ = 0;
  std::string startError_, errorFile_;
};

// Operating a window of another process as a person would: posted clicks, keys and characters. Each
// returns at once; WaitUntil waits for what the window should do in answer.
void ClickButton(HWND button);
void ClickCell(HWND list, int row, int column, bool doubleClick = false);
void PressKey(HWND target, UINT virtualKey);
void TypeText(HWND target, std::string_view text);
HWND FocusOf(HWND window);  // the control with the keyboard focus in window's thread
std::string TextOf(HWND window);
int SelectedRow(HWND list);  // 1-based; 0 when none
bool WaitUntil(const std::function<bool()>& condition, DWORD timeoutMs = kBoxTimeoutMs);

}  // namespace qz::e2e
