// Drives qzcl.exe from outside, as a person or an installer would: starts it, reads and answers its
// message boxes, operates its windows (posted clicks, keys and characters, each returning at once), collects
// its exit code and standard error. Every wait is bounded, and a process still running when its driver goes
// away is terminated.
#pragma once
#include <windows.h>
#include <commctrl.h>

#include <atomic>
#include <filesystem>
#include <fstream>
#include <functional>
#include <iterator>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "e2e/box_probe_win32.h"
#include "platform/handle_win32.h"

namespace qz::e2e {

inline constexpr DWORD kBoxTimeoutMs = 15000;  // a cold Wine start can take several seconds
inline constexpr DWORD kExitTimeoutMs = 10000;
inline constexpr UINT kSendTimeoutMs = 3000;

inline bool WaitUntil(const std::function<bool()>& condition, DWORD timeoutMs = kBoxTimeoutMs) {
  for (const ULONGLONG deadline = GetTickCount64() + timeoutMs; !condition(); Sleep(50))
    if (GetTickCount64() >= deadline) return false;
  return true;
}

inline std::string LastError(const std::string& what) { return what + " failed: " + std::to_string(GetLastError()); }

// The folder of the running test program, where qzcl.exe and the helper programs are built.
inline std::string TestProgramDirectory() {
  char path[MAX_PATH] = {};
  GetModuleFileNameA(nullptr, path, sizeof path);
  return std::filesystem::path(path).parent_path().string();
}

inline std::string ReadWholeFile(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  return {std::istreambuf_iterator<char>(in), {}};
}

inline void WriteWholeFile(const std::string& path, const std::string& bytes) {
  std::ofstream(path, std::ios::binary) << bytes;
}

// A fresh empty folder under the temporary directory, removed with everything in it at the end.
class TempDirectory {
 public:
  TempDirectory() { std::filesystem::create_directories(path_); }
  ~TempDirectory() { std::filesystem::remove_all(path_, ignored_); }
  const std::string& Path() const { return path_; }

 private:
  inline static std::atomic<int> counter_{0};
  std::error_code ignored_;
  const std::string path_ = (std::filesystem::temp_directory_path() /
                             ("qzcl-e2e-" + std::to_string(GetCurrentProcessId()) + "-" + std::to_string(++counter_)))
                                .string();
};

// A version of the IDE (6 unless its WIN.INI section says otherwise) named in WIN.INI with its root folder
// (made, with BIN) while the object lives.
struct Installed {
  static constexpr char kSection[] = "Clarion 6.0  Enterprise Edition";
  explicit Installed(const std::string& root, const char* exeName = "C60EE", const char* section = kSection)
      : section_(section) {
    std::filesystem::create_directories(root + "\\BIN");
    WriteProfileStringA(section, "Root", root.c_str());
    WriteProfileStringA(section, "ExeName", exeName);
  }
  ~Installed() { WriteProfileStringA(section_, nullptr, nullptr); }

 private:
  const char* section_;
};

inline std::wstring FromUtf8(const std::string& text) {
  return std::filesystem::path(std::u8string(text.begin(), text.end())).wstring();
}

// Starts a program of the test folder through the Unicode API, as installers do (arguments in UTF-8); the
// process handle, or none.
inline UniqueKernelHandle Start(const std::string& program, const std::string& arguments, const std::string& directory,
                                STARTUPINFOW startup, DWORD* processId = nullptr) {
  std::wstring commandLine = FromUtf8("\"" + TestProgramDirectory() + "\\" + program + "\"" + arguments);
  PROCESS_INFORMATION info{};
  startup.cb = sizeof startup;
  if (!CreateProcessW(nullptr, commandLine.data(), nullptr, nullptr, startup.dwFlags != 0, 0, nullptr,
                      directory.empty() ? nullptr : FromUtf8(directory).c_str(), &startup, &info))
    return {};
  CloseHandle(info.hThread);
  if (processId) *processId = info.dwProcessId;
  return UniqueKernelHandle(info.hProcess);
}

// A stand-in IDE serving the DDE service, started in directory and logging to ide.log there; ended when
// the object goes away.
class StandInIde {
 public:
  explicit StandInIde(const std::string& directory, const std::string& options = "") : log_(directory + "\\ide.log") {
    const std::string ready = directory + "\\ide.ready";
    process_ = Start("stand_in_ide.exe", " --log \"" + log_ + "\" --ready \"" + ready + "\" " + options, directory, {});
    up_ = process_ && WaitUntil([&] { return std::filesystem::exists(ready) || Exited(0); }) && !Exited(0);
  }
  ~StandInIde() { Exit(); }
  bool Up() const { return up_; }  // its service is ready
  bool Exited(DWORD timeoutMs) const { return WaitForSingleObject(process_.get(), timeoutMs) == WAIT_OBJECT_0; }
  // Ends it and waits until it has gone, so that nothing answers for it any more.
  void Exit() {
    if (process_ && !Exited(0)) TerminateProcess(process_.get(), 0);
    Exited(kExitTimeoutMs);
  }
  std::vector<std::string> Log() const {  // a line each
    std::vector<std::string> lines;
    std::ifstream in(log_, std::ios::binary);
    for (std::string line; std::getline(in, line);) lines.push_back(line.substr(0, line.find('\r')));
    return lines;
  }

 private:
  std::string log_;
  UniqueKernelHandle process_;
  bool up_ = false;
};

inline std::string TextOf(HWND window) {
  DWORD_PTR length = 0, copied = 0;
  if (!SendMessageTimeoutA(window, WM_GETTEXTLENGTH, 0, 0, SMTO_ABORTIFHUNG, kSendTimeoutMs, &length)) return {};
  std::string text(length + 1, '\0');
  if (!SendMessageTimeoutA(window, WM_GETTEXT, text.size(), reinterpret_cast<LPARAM>(text.data()), SMTO_ABORTIFHUNG,
                           kSendTimeoutMs, &copied))
    return {};
  text.resize(std::min<std::size_t>(copied, length));
  return text;
}

inline std::string ClassOf(HWND window) {
  char name[64] = {};
  GetClassNameA(window, name, sizeof name);
  return name;
}

// The standard icons in the order of their resource ids, 32512 to 32517.
enum class IconKind { None, Application, Hand, Question, Exclamation, Information, WinLogo, Other };

// A message box as it is on screen. "\n" separates the lines of its text.
struct Box {
  HWND window = nullptr;
  std::string caption, text;
  std::vector<int> buttons;  // their ids
  IconKind icon = IconKind::None;
  std::string iconProblem;  // why the icon could not be identified, if it could not

  Box() = default;
  static bool Is(HWND window) {
    HWND text = GetDlgItem(window, 0xFFFF);
    return ClassOf(window) == "#32770" && text && lstrcmpiA(ClassOf(text).c_str(), "Static") == 0;
  }
  explicit Box(HWND box) : window(box), caption(TextOf(box)), text(TextOf(GetDlgItem(box, 0xFFFF))) {
    EnumChildWindows(
        box,
        [](HWND child, LPARAM param) -> BOOL {
          if (lstrcmpiA(ClassOf(child).c_str(), "Button") == 0 && IsWindowVisible(child))
            reinterpret_cast<std::vector<int>*>(param)->push_back(GetDlgCtrlID(child));
          return TRUE;
        },
        reinterpret_cast<LPARAM>(&buttons));
    // The icon is identified by the probe DLL's hook inside the box's process.
    static const HMODULE dll = LoadLibraryA((TestProgramDirectory() + "\\" + probe::kDllName).c_str());
    static const UINT message = RegisterWindowMessageA(probe::kMessage);
    auto hook =
        dll ? reinterpret_cast<HOOKPROC>(reinterpret_cast<void*>(GetProcAddress(dll, probe::kHookProc))) : nullptr;
    HHOOK hooked = hook ? SetWindowsHookExA(WH_CALLWNDPROC, hook, dll, GetWindowThreadProcessId(box, {})) : nullptr;
    DWORD_PTR ignored = 0;
    const bool sent = hooked && SendMessageTimeoutA(box, message, 0, 0, SMTO_ABORTIFHUNG, kSendTimeoutMs, &ignored);
    const auto answer = static_cast<int>(reinterpret_cast<INT_PTR>(GetPropA(box, probe::kProperty)));
    icon = !sent                                ? IconKind::Other
           : answer == probe::kNoIcon           ? IconKind::None
           : answer >= 32512 && answer <= 32517 ? static_cast<IconKind>(answer - 32511)
                                                : IconKind::Other;
    if (!sent) iconProblem = LastError(hook ? "hooking the box" : "loading the probe");
    if (sent && icon == IconKind::Other) iconProblem = answer ? "not a standard system icon" : "no answer";
    if (hooked) UnhookWindowsHookEx(hooked);
  }
};

struct Launch {
  std::string arguments;    // the command line after the program's name, in UTF-8
  std::string directory;    // working directory; empty for the driver's own
  bool unattended = false;  // QZCL_UNATTENDED=1 in its environment, which otherwise lacks it
  bool captureStandardError = false;
  bool outputToPipe = false;  // standard output and error to one pipe, as an installer reading them sets up
};

class QzclProcess {
 public:
  explicit QzclProcess(const Launch& launch) {
    STARTUPINFOW startup{};
    UniqueFile errors;
    if (launch.captureStandardError) {
      // A file rather than a pipe: a grandchild that inherits it can never keep the driver waiting.
      char path[MAX_PATH] = {};
      GetTempFileNameA(std::filesystem::temp_directory_path().string().c_str(), "qze", 0, path);
      errorFile_ = path;
      SECURITY_ATTRIBUTES inheritable{sizeof inheritable, nullptr, TRUE};
      errors.reset(CreateFileA(path, GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                               &inheritable, CREATE_ALWAYS, 0, nullptr));
      startup.dwFlags = STARTF_USESTDHANDLES;
      startup.hStdError = errors.get();
    }
    UniqueKernelHandle pipeEnd;  // ours goes once the process has its own, so that only the run holds it
    HANDLE reading = nullptr, writing = nullptr;
    SECURITY_ATTRIBUTES inheritable{sizeof inheritable, nullptr, TRUE};
    if (launch.outputToPipe && CreatePipe(&reading, &writing, &inheritable, 0)) {
      output_.reset(reading);
      pipeEnd.reset(writing);
      SetHandleInformation(reading, HANDLE_FLAG_INHERIT, 0);
      startup.dwFlags = STARTF_USESTDHANDLES;
      startup.hStdOutput = startup.hStdError = writing;
    }
    // The tests run one at a time: the child inherits the setting it is to have.
    SetEnvironmentVariableA("QZCL_UNATTENDED", launch.unattended ? "1" : nullptr);
    process_ = Start("qzcl.exe", launch.arguments.empty() ? "" : " " + launch.arguments, launch.directory, startup,
                     &processId_);
  }
  ~QzclProcess() {
    if (Running()) TerminateProcess(process_.get(), 1);
    WaitForExit();
    if (!errorFile_.empty()) DeleteFileA(errorFile_.c_str());
  }

  // The first visible message box of the process; none when the time runs out or the process ends.
  std::optional<Box> WaitForBox(DWORD timeoutMs = kBoxTimeoutMs) {
    HWND box = WaitForWindowWhere(Box::Is, timeoutMs);
    return box ? std::optional<Box>(Box(box)) : std::nullopt;
  }
  // True when no visible window (with boxesOnly, no message box) of the process appears in time or before it ends.
  bool NoWindowWithin(DWORD timeoutMs, bool boxesOnly = false) {
    return !WaitForWindowWhere([boxesOnly](HWND window) { return !boxesOnly || Box::Is(window); }, timeoutMs);
  }
  // Presses a button of the box and waits until the box has gone; false when it stays.
  bool Press(const Box& box, int buttonId) {
    HWND button = GetDlgItem(box.window, buttonId);
    return button &&
           PostMessageA(box.window, WM_COMMAND, MAKEWPARAM(buttonId, BN_CLICKED), reinterpret_cast<LPARAM>(button)) &&
           WaitUntil([&] { return !IsWindow(box.window) || !IsWindowVisible(box.window); });
  }
  // The visible top-level window of the process with this title, or with a control of this id.
  HWND WaitForWindow(std::string_view title, DWORD timeoutMs = kBoxTimeoutMs) {
    return WaitForWindowWhere([title](HWND window) { return TextOf(window) == title; }, timeoutMs);
  }
  HWND WaitForWindowWith(int controlId, DWORD timeoutMs = kBoxTimeoutMs) {
    return WaitForWindowWhere([controlId](HWND window) { return GetDlgItem(window, controlId) != nullptr; }, timeoutMs);
  }
  // The exit code; none when the process is still running after the time.
  std::optional<DWORD> WaitForExit(DWORD timeoutMs = kExitTimeoutMs) {
    DWORD code = 0;
    if (!process_ || WaitForSingleObject(process_.get(), timeoutMs) != WAIT_OBJECT_0 ||
        !GetExitCodeProcess(process_.get(), &code))
      return std::nullopt;
    return code;
  }
  // All that came through the output pipe once no process holds its other end any more; none when one still
  // does after the time.
  std::optional<std::string> OutputToEnd(DWORD timeoutMs = kExitTimeoutMs) {
    std::string bytes;
    bool ended = false;
    WaitUntil(
        [&] {
          DWORD available = 0, read = 0;
          // Fails once the pipe is empty and broken: every writer has gone.
          if (!PeekNamedPipe(output_.get(), nullptr, 0, nullptr, &available, nullptr)) return ended = true;
          std::string chunk(available, '\0');
          if (available && ReadFile(output_.get(), chunk.data(), available, &read, nullptr))
            bytes.append(chunk, 0, read);
          return false;
        },
        timeoutMs);
    if (!ended) return std::nullopt;
    return bytes;
  }
  // All that the process wrote to standard error, once it has ended.
  std::string StandardError() {
    WaitForExit();
    return errorFile_.empty() ? std::string() : ReadWholeFile(errorFile_);
  }

 private:
  bool Running() const { return process_ && WaitForSingleObject(process_.get(), 0) == WAIT_TIMEOUT; }
  // The first visible top-level window of the process that is wanted; nullptr when none appears before the
  // time runs out or the process ends.
  HWND WaitForWindowWhere(const std::function<bool(HWND)>& wanted, DWORD timeoutMs) {
    struct Search {
      DWORD processId;
      const std::function<bool(HWND)>& wanted;
      HWND found = nullptr;
    } search{processId_, wanted};
    WaitUntil(
        [&] {
          const bool running = Running();
          EnumWindows(
              [](HWND window, LPARAM param) -> BOOL {
                auto* s = reinterpret_cast<Search*>(param);
                DWORD owner = 0;
                GetWindowThreadProcessId(window, &owner);
                if (owner != s->processId || !IsWindowVisible(window) || !s->wanted(window)) return TRUE;
                s->found = window;
                return FALSE;
              },
              reinterpret_cast<LPARAM>(&search));
          return search.found || !running;
        },
        timeoutMs);
    return search.found;
  }

  UniqueKernelHandle process_, output_;
  DWORD processId_ = 0;
  std::string errorFile_;
};

inline void ClickButton(HWND button) { PostMessageA(button, BM_CLICK, 0, 0); }

// Clicks the middle of a list view's cell, whose rectangle is asked for through memory of the list's process.
inline void ClickCell(HWND list, int row, int column, bool doubleClick = false) {
  RECT cell{column == 1 ? LVIR_LABEL : LVIR_BOUNDS, column - 1, 0, 0};
  DWORD processId = 0;
  GetWindowThreadProcessId(list, &processId);
  UniqueKernelHandle process(OpenProcess(PROCESS_VM_OPERATION | PROCESS_VM_READ | PROCESS_VM_WRITE, FALSE, processId));
  void* remote = process ? VirtualAllocEx(process.get(), nullptr, sizeof cell, MEM_COMMIT, PAGE_READWRITE) : nullptr;
  if (!remote) return;
  SIZE_T moved = 0;
  DWORD_PTR ok = 0;
  WriteProcessMemory(process.get(), remote, &cell, sizeof cell, &moved);
  SendMessageTimeoutA(list, LVM_GETSUBITEMRECT, static_cast<WPARAM>(row - 1), reinterpret_cast<LPARAM>(remote),
                      SMTO_ABORTIFHUNG, kSendTimeoutMs, &ok);
  ReadProcessMemory(process.get(), remote, &cell, sizeof cell, &moved);
  VirtualFreeEx(process.get(), remote, 0, MEM_RELEASE);
  if (!ok) return;
  const LPARAM at = MAKELPARAM((cell.left + cell.right) / 2, (cell.top + cell.bottom) / 2);
  PostMessageA(list, WM_LBUTTONDOWN, MK_LBUTTON, at);
  PostMessageA(list, WM_LBUTTONUP, 0, at);
  if (doubleClick) {
    PostMessageA(list, WM_LBUTTONDBLCLK, MK_LBUTTON, at);
    PostMessageA(list, WM_LBUTTONUP, 0, at);
  }
}

inline void PressKey(HWND target, UINT virtualKey) {
  const LPARAM scan = static_cast<LPARAM>(MapVirtualKeyA(virtualKey, MAPVK_VK_TO_VSC)) << 16;
  PostMessageA(target, WM_KEYDOWN, virtualKey, scan | 1);
  PostMessageA(target, WM_KEYUP, virtualKey, scan | 1 | (LPARAM{3} << 30));
}

inline void TypeText(HWND target, std::string_view text) {
  for (unsigned char c : text) PostMessageA(target, WM_CHAR, c, 1);
}

// The control with the keyboard focus in window's thread.
inline HWND FocusOf(HWND window) {
  GUITHREADINFO info{sizeof info};
  return GetGUIThreadInfo(GetWindowThreadProcessId(window, nullptr), &info) ? info.hwndFocus : nullptr;
}

// The 1-based row selected in a list view; 0 when none.
inline int SelectedRow(HWND list) {
  DWORD_PTR index = static_cast<DWORD_PTR>(-1);
  SendMessageTimeoutA(list, LVM_GETNEXTITEM, static_cast<WPARAM>(-1), LVNI_SELECTED, SMTO_ABORTIFHUNG, kSendTimeoutMs,
                      &index);
  return static_cast<int>(static_cast<LRESULT>(index)) + 1;
}

}  // namespace qz::e2e
