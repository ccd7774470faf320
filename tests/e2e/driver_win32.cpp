#include "e2e/driver_win32.h"

#include <windows.h>
#include <commctrl.h>

#include <algorithm>
#include <atomic>
#include <cctype>
#include <condition_variable>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <mutex>
#include <sstream>
#include <thread>

#include "e2e/box_probe_win32.h"

namespace qz::e2e {
namespace {

constexpr DWORD kPollMs = 50;
constexpr UINT kSendTimeoutMs = 3000;
constexpr int kIconControl = 1088;     // the message box's icon static
constexpr int kTextControl = 0xFFFF;   // the message box's text static

inline void Unhook(HHOOK hook) { ::UnhookWindowsHookEx(hook); }
using UniqueHook = UniqueHandle<HandleTraits<HHOOK, Unhook, Null<HHOOK>>>;

std::string LastError(const char* what) {
  return std::string(what) + " failed, error " + std::to_string(GetLastError());
}

bool SameName(std::string_view a, std::string_view b) {
  return a.size() == b.size() && std::equal(a.begin(), a.end(), b.begin(), [](char x, char y) {
           return std::tolower(static_cast<unsigned char>(x)) == std::tolower(static_cast<unsigned char>(y));
         });
}

// The driver's environment without its QZCL_ variables and with the launch's own, as a Windows block.
std::string EnvironmentBlock(const std::vector<std::pair<std::string, std::string>>& extra) {
  std::vector<std::string> vars;
  LPCH env = GetEnvironmentStringsA();
  for (const char* p = env; p && *p; p += std::strlen(p) + 1) {
    std::string_view var = p;
    std::string_view name = var.substr(0, var.find('=', 1));  // names such as "=C:" start with "="
    bool replaced = std::any_of(extra.begin(), extra.end(), [&](const auto& e) { return SameName(e.first, name); });
    if (!replaced && !SameName(name.substr(0, 5), "QZCL_")) vars.emplace_back(var);
  }
  if (env) FreeEnvironmentStringsA(env);
  for (const auto& [name, value] : extra) vars.push_back(name + "=" + value);
  std::string block;
  for (const auto& v : vars) block.append(v).push_back('\0');
  block.push_back('\0');
  return block;
}

std::string ClassOf(HWND window) {
  char name[64] = {};
  GetClassNameA(window, name, sizeof name);
  return name;
}


bool IsMessageBox(HWND window) {
  HWND text = GetDlgItem(window, kTextControl);
  return ClassOf(window) == "#32770" && text && SameName(ClassOf(text), "Static");
}

struct WindowSearch {
  DWORD processId;
  bool boxesOnly;
  HWND found = nullptr;
};

BOOL CALLBACK FindWindowOfProcess(HWND window, LPARAM param) {
  auto* search = reinterpret_cast<WindowSearch*>(param);
  DWORD owner = 0;
  GetWindowThreadProcessId(window, &owner);
  if (owner != search->processId || !IsWindowVisible(window)) return TRUE;
  if (search->boxesOnly && !IsMessageBox(window)) return TRUE;
  search->found = window;
  return FALSE;
}

HWND VisibleWindowOf(DWORD processId, bool boxesOnly) {
  WindowSearch search{processId, boxesOnly};
  EnumWindows(FindWindowOfProcess, reinterpret_cast<LPARAM>(&search));
  return search.found;
}

struct ButtonOnScreen {
  BoxButton button;
  RECT rect;
};

BOOL CALLBACK CollectButton(HWND child, LPARAM param) {
  if (SameName(ClassOf(child), "Button") && IsWindowVisible(child)) {
    ButtonOnScreen b{{GetDlgCtrlID(child), TextOf(child)}, {}};
    GetWindowRect(child, &b.rect);
    reinterpret_cast<std::vector<ButtonOnScreen>*>(param)->push_back(std::move(b));
  }
  return TRUE;
}

std::vector<BoxButton> ButtonsOf(HWND box) {
  std::vector<ButtonOnScreen> found;
  EnumChildWindows(box, CollectButton, reinterpret_cast<LPARAM>(&found));
  std::sort(found.begin(), found.end(), [](const auto& a, const auto& b) {
    return std::pair(a.rect.top, a.rect.left) < std::pair(b.rect.top, b.rect.left);
  });
  std::vector<BoxButton> buttons;
  for (auto& f : found) buttons.push_back(std::move(f.button));
  return buttons;
}

// The probe DLL, loaded once for the test run: its hook procedure runs inside the boxes' processes.
struct Probe {
  HMODULE dll = nullptr;
  HOOKPROC hook = nullptr;
  std::string problem;
};

const Probe& LoadProbe() {
  static const Probe probe = [] {
    Probe p;
    std::string path = TestProgramDirectory() + "\\" + probe::kDllName;
    p.dll = LoadLibraryA(path.c_str());
    if (!p.dll) {
      p.problem = LastError(("LoadLibrary " + path).c_str());
      return p;
    }
    p.hook = reinterpret_cast<HOOKPROC>(reinterpret_cast<void*>(GetProcAddress(p.dll, probe::kHookProc)));
    if (!p.hook) p.problem = LastError("GetProcAddress of the probe hook");
    return p;
  }();
  return probe;
}

IconKind IconOf(HWND box, std::string& problem) {
  HWND control = GetDlgItem(box, kIconControl);
  DWORD_PTR icon = 0;
  if (!control || !IsWindowVisible(control) ||
      !SendMessageTimeoutA(control, STM_GETICON, 0, 0, SMTO_ABORTIFHUNG, kSendTimeoutMs, &icon) || icon == 0)
    return IconKind::None;

  const Probe& probe = LoadProbe();
  if (!probe.hook) {
    problem = probe.problem;
    return IconKind::Other;
  }
  UniqueHook hook(SetWindowsHookExA(WH_CALLWNDPROC, probe.hook, probe.dll, GetWindowThreadProcessId(box, nullptr)));
  if (!hook) {
    problem = LastError("SetWindowsHookExA");
    return IconKind::Other;
  }
  static const UINT message = RegisterWindowMessageA(probe::kMessage);
  DWORD_PTR ignored = 0;
  if (!SendMessageTimeoutA(box, message, 0, 0, SMTO_ABORTIFHUNG, kSendTimeoutMs, &ignored)) {
    problem = LastError("sending the probe message");
    return IconKind::Other;
  }
  auto answer = static_cast<int>(reinterpret_cast<INT_PTR>(GetPropA(box, probe::kProperty)));
  switch (answer) {
    case probe::kNoAnswer: problem = "the probe hook did not answer"; return IconKind::Other;
    case probe::kNoIcon: return IconKind::None;
    case probe::kUnknownIcon: problem = "not a standard system icon"; return IconKind::Other;
    default: return answer >= 32512 && answer <= 32517 ? static_cast<IconKind>(answer - 32511) : IconKind::Other;
  }
}

const char* IconName(IconKind kind) {
  static const char* const names[] = {"none",        "application", "hand",    "question",
                                      "exclamation", "information", "winlogo", "other"};  // in IconKind's order
  return names[static_cast<int>(kind)];
}

Box ReadBox(HWND window) {
  Box box;
  box.window = window;
  box.caption = TextOf(window);
  box.text = TextOf(GetDlgItem(window, kTextControl));
  box.buttons = ButtonsOf(window);
  box.icon = IconOf(window, box.iconProblem);
  return box;
}

}  // namespace

void PrintTo(IconKind kind, std::ostream* os) { *os << IconName(kind); }

std::vector<int> Box::ButtonIds() const {
  std::vector<int> ids;
  for (const auto& b : buttons) ids.push_back(b.id);
  return ids;
}

void PrintTo(const Box& box, std::ostream* os) {
  *os << "box \"" << box.caption << "\", icon " << IconName(box.icon);
  if (!box.iconProblem.empty()) *os << " (" << box.iconProblem << ")";
  *os << ", buttons";
  for (const auto& b : box.buttons) *os << " [" << b.id << " " << b.text << "]";
  *os << ", text:\n" << box.text << "\n";
}

TempDirectory::TempDirectory() {
  static std::atomic<int> counter{0};
  char base[MAX_PATH + 1] = {};
  GetTempPathA(sizeof base, base);
  path_ = std::string(base) + "qzcl-e2e-" + std::to_string(GetCurrentProcessId()) + "-" +
          std::to_string(++counter);
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

// Reads the child's standard error until the pipe closes. Shared with its thread, so that a pipe
// kept open by some grandchild can never make the driver wait.
struct QzclProcess::ErrorReader {
  UniqueKernelHandle pipe;
  std::mutex mutex;
  std::condition_variable finished;
  std::string text;
  bool done = false;
};

QzclProcess::QzclProcess(const Launch& launch) {
  std::string commandLine = "\"" + TestProgramDirectory() + "\\qzcl.exe\"";
  if (!launch.arguments.empty()) commandLine += " " + launch.arguments;
  std::string environment = EnvironmentBlock(launch.environment);

  STARTUPINFOA startup{};
  startup.cb = sizeof startup;
  UniqueKernelHandle errorWrite;
  UniqueKernelHandle nul;
  if (launch.captureStandardError) {
    SECURITY_ATTRIBUTES inheritable{sizeof inheritable, nullptr, TRUE};
    errors_ = std::make_shared<ErrorReader>();
    if (!CreatePipe(errors_->pipe.put(), errorWrite.put(), &inheritable, 0)) {
      startError_ = LastError("CreatePipe");
      return;
    }
    SetHandleInformation(errors_->pipe.get(), HANDLE_FLAG_INHERIT, 0);
    HANDLE device = CreateFileA("NUL", GENERIC_READ | GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE,
                                &inheritable, OPEN_EXISTING, 0, nullptr);
    if (device != INVALID_HANDLE_VALUE) nul.reset(device);
    startup.dwFlags = STARTF_USESTDHANDLES;
    startup.hStdInput = nul.get();
    startup.hStdOutput = nul.get();
    startup.hStdError = errorWrite.get();
  }

  PROCESS_INFORMATION info{};
  if (!CreateProcessA(nullptr, commandLine.data(), nullptr, nullptr, launch.captureStandardError, 0,
                      environment.data(), launch.directory.empty() ? nullptr : launch.directory.c_str(), &startup,
                      &info)) {
    startError_ = LastError(("CreateProcess " + commandLine).c_str());
    return;
  }
  process_.reset(info.hProcess);
  CloseHandle(info.hThread);
  processId_ = info.dwProcessId;

  if (errors_) {
    errorWrite.reset();  // only the child holds the write end now, so its exit ends the reading
    std::thread([reader = errors_] {
      char chunk[4096];
      DWORD n = 0;
      while (ReadFile(reader->pipe.get(), chunk, sizeof chunk, &n, nullptr) && n > 0) {
        std::lock_guard lock(reader->mutex);
        reader->text.append(chunk, n);
      }
      std::lock_guard lock(reader->mutex);
      reader->done = true;
      reader->finished.notify_all();
    }).detach();
  }
}

QzclProcess::~QzclProcess() {
  if (Running()) {
    TerminateProcess(process_.get(), 1);
    WaitForSingleObject(process_.get(), kExitTimeoutMs);
  }
}

bool QzclProcess::Running() const {
  return process_ && WaitForSingleObject(process_.get(), 0) == WAIT_TIMEOUT;
}

std::optional<Box> QzclProcess::WaitForBox(DWORD timeoutMs) {
  const ULONGLONG deadline = GetTickCount64() + timeoutMs;
  while (Running()) {
    if (HWND window = VisibleWindowOf(processId_, true)) return ReadBox(window);
    if (GetTickCount64() >= deadline) break;
    Sleep(kPollMs);
  }
  return std::nullopt;
}

bool QzclProcess::NoWindowWithin(DWORD timeoutMs, bool boxesOnly) {
  const ULONGLONG deadline = GetTickCount64() + timeoutMs;
  for (;;) {
    bool running = Running();
    if (VisibleWindowOf(processId_, boxesOnly)) return false;
    if (!running || GetTickCount64() >= deadline) return true;
    Sleep(kPollMs);
  }
}

bool QzclProcess::Press(const Box& box, int buttonId) {
  HWND button = GetDlgItem(box.window, buttonId);
  if (!button || !PostMessageA(box.window, WM_COMMAND, MAKEWPARAM(buttonId, BN_CLICKED),
                               reinterpret_cast<LPARAM>(button)))
    return false;
  const ULONGLONG deadline = GetTickCount64() + kBoxTimeoutMs;
  while (IsWindow(box.window) && IsWindowVisible(box.window)) {
    if (GetTickCount64() >= deadline) return false;
    Sleep(kPollMs);
  }
  return true;
}

std::optional<DWORD> QzclProcess::WaitForExit(DWORD timeoutMs) {
  if (!process_ || WaitForSingleObject(process_.get(), timeoutMs) != WAIT_OBJECT_0) return std::nullopt;
  DWORD code = 0;
  if (!GetExitCodeProcess(process_.get(), &code)) return std::nullopt;
  return code;
}

std::string QzclProcess::StandardError() {
  if (!errors_) return {};
  std::unique_lock lock(errors_->mutex);
  errors_->finished.wait_for(lock, std::chrono::milliseconds(kExitTimeoutMs), [&] { return errors_->done; });
  return errors_->text;
}

StandInIde::StandInIde(const std::string& directory, const std::string& options) {
  std::string ready = directory + "\\ide.ready";
  std::string line = "\"" + TestProgramDirectory() + "\\stand_in_ide.exe\" --log \"" + directory + "\\ide.log\" --ready \"" +
                     ready + "\" " + options;
  STARTUPINFOA si{sizeof si};
  PROCESS_INFORMATION pi{};
  if (!CreateProcessA(nullptr, line.data(), nullptr, nullptr, FALSE, 0, nullptr, directory.c_str(), &si, &pi)) return;
  process_.reset(pi.hProcess);
  CloseHandle(pi.hThread);
  for (int i = 0; i < 200 && GetFileAttributesA(ready.c_str()) == INVALID_FILE_ATTRIBUTES; ++i) Sleep(50);
}

void StandInIde::Exit() {
  if (!process_) return;
  TerminateProcess(process_.get(), 0);
  WaitForSingleObject(process_.get(), 5000);
  process_.reset();
}

std::string ReadWholeFile(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  std::stringstream s;
  s << in.rdbuf();
  return s.str();
}

void WriteWholeFile(const std::string& path, const std::string& bytes) {
  std::ofstream(path, std::ios::binary) << bytes;
}

std::string TextOf(HWND window) {
  DWORD_PTR length = 0;
  if (!SendMessageTimeoutA(window, WM_GETTEXTLENGTH, 0, 0, SMTO_ABORTIFHUNG, kSendTimeoutMs, &length)) return {};
  std::string text(length + 1, '\0');
  DWORD_PTR copied = 0;
  if (!SendMessageTimeoutA(window, WM_GETTEXT, text.size(), reinterpret_cast<LPARAM>(text.data()),
                           SMTO_ABORTIFHUNG, kSendTimeoutMs, &copied))
    return {};
  text.resize(std::min<std::size_t>(copied, length));
  return text;
}

HWND QzclProcess::WaitForWindow(std::string_view title, DWORD timeoutMs) {
  return WaitForWindowWhere([title](HWND window) { return TextOf(window) == title; }, timeoutMs);
}

HWND QzclProcess::WaitForWindowWith(int controlId, DWORD timeoutMs) {
  return WaitForWindowWhere([controlId](HWND window) { return GetDlgItem(window, controlId) != nullptr; }, timeoutMs);
}

HWND QzclProcess::WaitForWindowWhere(const std::function<bool(HWND)>& wanted, DWORD timeoutMs) {
  struct Search {
    DWORD processId;
    const std::function<bool(HWND)>& wanted;
    HWND found = nullptr;
  } search{processId_, wanted};
  auto find = [](HWND window, LPARAM param) -> BOOL {
    auto* s = reinterpret_cast<Search*>(param);
    DWORD owner = 0;
    GetWindowThreadProcessId(window, &owner);
    if (owner != s->processId || !IsWindowVisible(window) || !s->wanted(window)) return TRUE;
    s->found = window;
    return FALSE;
  };
  WaitUntil(
      [&] {
        EnumWindows(find, reinterpret_cast<LPARAM>(&search));
        return search.found != nullptr || !Running();
      },
      timeoutMs);
  return search.found;
}

void ClickButton(HWND button) { PostMessageA(button, BM_CLICK, 0, 0); }

namespace {

// A list view's cell rectangle, asked for through memory of the list's own process.
RECT CellRect(HWND list, int row, int column) {
  RECT rect{LVIR_BOUNDS, column - 1, 0, 0};
  DWORD processId = 0;
  GetWindowThreadProcessId(list, &processId);
  UniqueKernelHandle process(OpenProcess(PROCESS_VM_OPERATION | PROCESS_VM_READ | PROCESS_VM_WRITE, FALSE, processId));
  if (!process) return {};
  void* remote = VirtualAllocEx(process.get(), nullptr, sizeof rect, MEM_COMMIT, PAGE_READWRITE);
  if (!remote) return {};
  SIZE_T moved = 0;
  rect.left = column == 1 ? LVIR_LABEL : LVIR_BOUNDS;
  rect.top = column - 1;
  WriteProcessMemory(process.get(), remote, &rect, sizeof rect, &moved);
  DWORD_PTR ok = 0;
  SendMessageTimeoutA(list, LVM_GETSUBITEMRECT, static_cast<WPARAM>(row - 1), reinterpret_cast<LPARAM>(remote),
                      SMTO_ABORTIFHUNG, kSendTimeoutMs, &ok);
  ReadProcessMemory(process.get(), remote, &rect, sizeof rect, &moved);
  VirtualFreeEx(process.get(), remote, 0, MEM_RELEASE);
  return ok ? rect : RECT{};
}

}  // namespace

void ClickCell(HWND list, int row, int column, bool doubleClick) {
  RECT cell = CellRect(list, row, column);
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
  GUITHREADINFO info{};
  info.cbSize = sizeof info;
  return GetGUIThreadInfo(GetWindowThreadProcessId(window, nullptr), &info) ? info.hwndFocus : nullptr;
}

int SelectedRow(HWND list) {
  DWORD_PTR index = static_cast<DWORD_PTR>(-1);
  SendMessageTimeoutA(list, LVM_GETNEXTITEM, static_cast<WPARAM>(-1), LVNI_SELECTED, SMTO_ABORTIFHUNG, kSendTimeoutMs,
                      &index);
  return static_cast<int>(static_cast<LRESULT>(index)) + 1;
}

bool WaitUntil(const std::function<bool()>& condition, DWORD timeoutMs) {
  const ULONGLONG deadline = GetTickCount64() + timeoutMs;
  for (;;) {
    if (condition()) return true;
    if (GetTickCount64() >= deadline) return false;
    Sleep(kPollMs);
  }
}

}  // namespace qz::e2e
