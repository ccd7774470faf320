#include "e2e/driver_win32.h"

#include <windows.h>
#include <commctrl.h>

#include <algorithm>
#include <atomic>
#include <filesystem>
#include <fstream>
#include <iterator>

#include "e2e/box_probe_win32.h"

namespace qz::e2e {
namespace {

constexpr DWORD kPollMs = 50;
constexpr UINT kSendTimeoutMs = 3000;
constexpr int kTextControl = 0xFFFF;  // the message box's text static

inline void Unhook(HHOOK hook) { ::UnhookWindowsHookEx(hook); }
using UniqueHook = UniqueHandle<HandleTraits<HHOOK, Unhook, Null<HHOOK>>>;

std::string LastError(const std::string& what) { return what + " failed, error " + std::to_string(GetLastError()); }

std::string ClassOf(HWND window) {
  char name[64] = {};
  GetClassNameA(window, name, sizeof name);
  return name;
}

bool IsMessageBox(HWND window) {
  HWND text = GetDlgItem(window, kTextControl);
  return ClassOf(window) == "#32770" && text && lstrcmpiA(ClassOf(text).c_str(), "Static") == 0;
}

// The first visible top-level window of the process that is wanted.
HWND WindowOf(DWORD processId, const std::function<bool(HWND)>& wanted) {
  struct Search {
    DWORD processId;
    const std::function<bool(HWND)>& wanted;
    HWND found = nullptr;
  } search{processId, wanted};
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
  return search.found;
}

// The box's icon, identified by the probe DLL's hook inside the box's process.
IconKind IconOf(HWND box, std::string& problem) {
  static const HMODULE dll = LoadLibraryA((TestProgramDirectory() + "\\" + probe::kDllName).c_str());
  static const UINT message = RegisterWindowMessageA(probe::kMessage);
  auto hook = dll ? reinterpret_cast<HOOKPROC>(reinterpret_cast<void*>(GetProcAddress(dll, probe::kHookProc))) : nullptr;
  UniqueHook hooked(hook ? SetWindowsHookExA(WH_CALLWNDPROC, hook, dll, GetWindowThreadProcessId(box, nullptr)) : nullptr);
  DWORD_PTR ignored = 0;
  if (!hooked || !SendMessageTimeoutA(box, message, 0, 0, SMTO_ABORTIFHUNG, kSendTimeoutMs, &ignored)) {
    problem = LastError(hook ? "hooking the box" : "loading the probe");
    return IconKind::Other;
  }
  const auto answer = static_cast<int>(reinterpret_cast<INT_PTR>(GetPropA(box, probe::kProperty)));
  if (answer == probe::kNoIcon) return IconKind::None;
  if (answer >= 32512 && answer <= 32517) return static_cast<IconKind>(answer - 32511);
  problem = answer == probe::kNoAnswer ? "the probe hook did not answer" : "not a standard system icon";
  return IconKind::Other;
}

Box ReadBox(HWND window) {
  Box box{window, TextOf(window), TextOf(GetDlgItem(window, kTextControl))};
  EnumChildWindows(
      window,
      [](HWND child, LPARAM param) -> BOOL {
        if (lstrcmpiA(ClassOf(child).c_str(), "Button") == 0 && IsWindowVisible(child))
          reinterpret_cast<std::vector<int>*>(param)->push_back(GetDlgCtrlID(child));
        return TRUE;
      },
      reinterpret_cast<LPARAM>(&box.buttons));
  box.icon = IconOf(window, box.iconProblem);
  return box;
}

// Starts a program of the test folder; the process handle, or none with the error in error.
UniqueKernelHandle Start(const std::string& program, const std::string& arguments, const std::string& directory,
                         STARTUPINFOA& startup, DWORD* processId, std::string* error) {
  std::string commandLine = "\"" + TestProgramDirectory() + "\\" + program + "\"" + arguments;
  PROCESS_INFORMATION info{};
  if (!CreateProcessA(nullptr, commandLine.data(), nullptr, nullptr, startup.dwFlags != 0, 0, nullptr,
                      directory.empty() ? nullptr : directory.c_str(), &startup, &info)) {
    if (error) *error = LastError("CreateProcess " + commandLine);
    return {};
  }
  CloseHandle(info.hThread);
  if (processId) *processId = info.dwProcessId;
  return UniqueKernelHandle(info.hProcess);
}

}  // namespace

TempDirectory::TempDirectory() {
  static std::atomic<int> counter{0};
  path_ = (std::filesystem::temp_directory_path() / ("qzcl-e2e-" + std::to_string(GetCurrentProcessId()) + "-" +
                                                     std::to_string(++counter)))
              .string();
  std::filesystem::remove_all(path_);
  std::filesystem::create_directories(path_);
}

TempDirectory::~TempDirectory() {
  std::error_code ignored;
  std::filesystem::remove_all(path_, ignored);
}

std::string TestProgramDirectory() {
  char path[MAX_PATH] = {};
  GetModuleFileNameA(nullptr, path, sizeof path);
  return std::filesystem::path(path).parent_path().string();
}

std::string ReadWholeFile(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  return {std::istreambuf_iterator<char>(in), {}};
}

void WriteWholeFile(const std::string& path, const std::string& bytes) {
  std::ofstream(path, std::ios::binary) << bytes;
}

constexpr char kVersion6[] = "Clarion 6.0  Enterprise Edition";

Installed::Installed(const std::string& root, const char* exeName) {
  std::filesystem::create_directories(root + "\\BIN");
  WriteProfileStringA(kVersion6, "Root", root.c_str());
  WriteProfileStringA(kVersion6, "ExeName", exeName);
}

Installed::~Installed() { WriteProfileStringA(kVersion6, nullptr, nullptr); }

StandInIde::StandInIde(const std::string& directory, const std::string& options) : log_(directory + "\\ide.log") {
  const std::string ready = directory + "\\ide.ready";
  STARTUPINFOA startup{sizeof startup};
  process_ = Start("stand_in_ide.exe", " --log \"" + log_ + "\" --ready \"" + ready + "\" " + options, directory, startup,
                   nullptr, nullptr);
  up_ = process_ && WaitUntil([&] { return std::filesystem::exists(ready) || Exited(0); }) && !Exited(0);
}

void StandInIde::Exit() {
  if (process_ && !Exited(0)) TerminateProcess(process_.get(), 0);
  Exited(kExitTimeoutMs);
}

std::vector<std::string> StandInIde::Log() const {
  std::vector<std::string> lines;
  std::ifstream in(log_, std::ios::binary);
  for (std::string line; std::getline(in, line);) lines.push_back(line.substr(0, line.find('\r')));
  return lines;
}

QzclProcess::QzclProcess(const Launch& launch) {
  STARTUPINFOA startup{sizeof startup};
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
  // The tests run one at a time: the child inherits the setting it is to have.
  SetEnvironmentVariableA("QZCL_UNATTENDED", launch.unattended ? "1" : nullptr);
  process_ = Start("qzcl.exe", launch.arguments.empty() ? "" : " " + launch.arguments, launch.directory, startup,
                   &processId_, &startError_);
}

QzclProcess::~QzclProcess() {
  if (Running()) {
    TerminateProcess(process_.get(), 1);
    WaitForExit();
  }
  if (!errorFile_.empty()) DeleteFileA(errorFile_.c_str());
}

std::optional<Box> QzclProcess::WaitForBox(DWORD timeoutMs) {
  HWND box = WaitForWindowWhere(IsMessageBox, timeoutMs);
  return box ? std::optional<Box>(ReadBox(box)) : std::nullopt;
}

bool QzclProcess::NoWindowWithin(DWORD timeoutMs, bool boxesOnly) {
  return !WaitForWindowWhere([boxesOnly](HWND window) { return !boxesOnly || IsMessageBox(window); }, timeoutMs);
}

bool QzclProcess::Press(const Box& box, int buttonId) {
  HWND button = GetDlgItem(box.window, buttonId);
  return button &&
         PostMessageA(box.window, WM_COMMAND, MAKEWPARAM(buttonId, BN_CLICKED), reinterpret_cast<LPARAM>(button)) &&
         WaitUntil([&] { return !IsWindow(box.window) || !IsWindowVisible(box.window); });
}

HWND QzclProcess::WaitForWindow(std::string_view title, DWORD timeoutMs) {
  return WaitForWindowWhere([title](HWND window) { return TextOf(window) == title; }, timeoutMs);
}

HWND QzclProcess::WaitForWindowWith(int controlId, DWORD timeoutMs) {
  return WaitForWindowWhere([controlId](HWND window) { return GetDlgItem(window, controlId) != nullptr; }, timeoutMs);
}

// Looks until the window is found, the process has ended or the time has run out.
HWND QzclProcess::WaitForWindowWhere(const std::function<bool(HWND)>& wanted, DWORD timeoutMs) {
  HWND found = nullptr;
  WaitUntil(
      [&] {
        const bool running = Running();
        found = WindowOf(processId_, wanted);
        return found || !running;
      },
      timeoutMs);
  return found;
}

std::optional<DWORD> QzclProcess::WaitForExit(DWORD timeoutMs) {
  DWORD code = 0;
  if (!process_ || WaitForSingleObject(process_.get(), timeoutMs) != WAIT_OBJECT_0 ||
      !GetExitCodeProcess(process_.get(), &code))
    return std::nullopt;
  return code;
}

std::string QzclProcess::StandardError() {
  WaitForExit();
  return errorFile_.empty() ? std::string() : ReadWholeFile(errorFile_);
}

std::string TextOf(HWND window) {
  DWORD_PTR length = 0;
  if (!SendMessageTimeoutA(window, WM_GETTEXTLENGTH, 0, 0, SMTO_ABORTIFHUNG, kSendTimeoutMs, &length)) return {};
  std::string text(length + 1, '\0');
  DWORD_PTR copied = 0;
  if (!SendMessageTimeoutA(window, WM_GETTEXT, text.size(), reinterpret_cast<LPARAM>(text.data()), SMTO_ABORTIFHUNG,
                           kSendTimeoutMs, &copied))
    return {};
  text.resize(std::min<std::size_t>(copied, length));
  return text;
}

void ClickButton(HWND button) { PostMessageA(button, BM_CLICK, 0, 0); }

// Clicks the middle of a list view's cell, whose rectangle is asked for through memory of the list's process.
void ClickCell(HWND list, int row, int column, bool doubleClick) {
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

void PressKey(HWND target, UINT virtualKey) {
  const LPARAM scan = static_cast<LPARAM>(MapVirtualKeyA(virtualKey, MAPVK_VK_TO_VSC)) << 16;
  PostMessageA(target, WM_KEYDOWN, virtualKey, scan | 1);
  PostMessageA(target, WM_KEYUP, virtualKey, scan | 1 | (LPARAM{3} << 30));
}

void TypeText(HWND target, std::string_view text) {
  for (unsigned char c : text) PostMessageA(target, WM_CHAR, c, 1);
}

HWND FocusOf(HWND window) {
  GUITHREADINFO info{sizeof info};
  return GetGUIThreadInfo(GetWindowThreadProcessId(window, nullptr), &info) ? info.hwndFocus : nullptr;
}

int SelectedRow(HWND list) {
  DWORD_PTR index = static_cast<DWORD_PTR>(-1);
  SendMessageTimeoutA(list, LVM_GETNEXTITEM, static_cast<WPARAM>(-1), LVNI_SELECTED, SMTO_ABORTIFHUNG, kSendTimeoutMs,
                      &index);
  return static_cast<int>(static_cast<LRESULT>(index)) + 1;
}

bool WaitUntil(const std::function<bool()>& condition, DWORD timeoutMs) {
  for (const ULONGLONG deadline = GetTickCount64() + timeoutMs; !condition(); Sleep(kPollMs))
    if (GetTickCount64() >= deadline) return false;
  return true;
}

}  // namespace qz::e2e
