// A stand-in for the IDE in the tests: a hidden window serving the DDE service "ClarionWin" on any topic. It
// logs a line for each initiate it answers ("initiate ignored" with --silent), the exact text of each execute,
// and "terminate" when a client ends a conversation.
// Options: --log FILE (without it "stand_in_ide.log" here, so that a copy the program starts logs too),
// --ready FILE (created once it serves), --reject (executes are refused), --silent (initiates go unanswered),
// --no-ack (executes go unanswered), --exit-after-execute (ends every conversation and exits after the first).
// It also exits on WM_CLOSE.
#include <windows.h>

#include <dde.h>

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

namespace {

constexpr char kService[] = "ClarionWin";
constexpr char kDefaultTopic[] = "System";
constexpr WORD kAckPositive = 0x8000;  // DDEACK.fAck

struct Options {
  std::string log = "stand_in_ide.log", ready;
  bool reject = false, silent = false, noAck = false, exitAfterExecute = false;
} options;

std::vector<HWND> clients;  // one conversation per client window

void Log(const std::string& line) {
  // Opened for each line, so that a test can read the log while we run and after we are killed.
  if (FILE* f = std::fopen(options.log.c_str(), "ab")) {
    std::fprintf(f, "%s\r\n", line.c_str());
    std::fclose(f);
  }
}

std::string AtomName(ATOM atom) {
  char name[256] = {};
  return atom && GlobalGetAtomNameA(atom, name, sizeof name) ? name : "";
}

std::string Text(HGLOBAL memory) {
  const char* bytes = static_cast<const char*>(GlobalLock(memory));
  if (!bytes) return {};
  std::string text(bytes, strnlen(bytes, GlobalSize(memory)));
  GlobalUnlock(memory);
  return text;
}

// Ends every conversation and the program.
void Quit(HWND self) {
  for (HWND client : clients) PostMessageA(client, WM_DDE_TERMINATE, reinterpret_cast<WPARAM>(self), 0);
  clients.clear();
  DestroyWindow(self);
}

// WM_DDE_INITIATE, sent: wParam = client, lParam = service and topic atoms (0 for any). The answer is a sent
// WM_DDE_ACK with new atoms of our own, which the client deletes.
void OnInitiate(HWND self, HWND client, LPARAM lParam) {
  ATOM service = LOWORD(lParam), topic = HIWORD(lParam);
  if (service && lstrcmpiA(AtomName(service).c_str(), kService) != 0) return;
  if (options.silent) {
    Log("initiate ignored");
    return;
  }
  std::string topicName = topic ? AtomName(topic) : kDefaultTopic;
  Log("initiate");
  clients.push_back(client);
  SendMessageA(client, WM_DDE_ACK, reinterpret_cast<WPARAM>(self),
               MAKELPARAM(GlobalAddAtomA(kService), GlobalAddAtomA(topicName.c_str())));
}

// WM_DDE_EXECUTE, posted: wParam = client, lParam = the commands handle. The answer is a posted WM_DDE_ACK
// packing the status and the same handle, which goes back to the client to free.
void OnExecute(HWND self, HWND client, HGLOBAL commands) {
  std::string text = Text(commands);
  Log(text);
  if (options.noAck) return;
  WORD status = options.reject ? 0 : kAckPositive;
  LPARAM ack = PackDDElParam(WM_DDE_ACK, status, reinterpret_cast<UINT_PTR>(commands));
  if (!PostMessageA(client, WM_DDE_ACK, reinterpret_cast<WPARAM>(self), ack)) {
    FreeDDElParam(WM_DDE_ACK, ack);
    GlobalFree(commands);
  }
  if (options.exitAfterExecute) Quit(self);
}

// WM_DDE_TERMINATE, posted: answered in kind, unless it answers our own.
void OnTerminate(HWND self, HWND client) {
  auto it = std::find(clients.begin(), clients.end(), client);
  if (it == clients.end()) return;
  clients.erase(it);
  Log("terminate");
  PostMessageA(client, WM_DDE_TERMINATE, reinterpret_cast<WPARAM>(self), 0);
}

LRESULT CALLBACK WindowProc(HWND self, UINT message, WPARAM wParam, LPARAM lParam) {
  HWND client = reinterpret_cast<HWND>(wParam);
  switch (message) {
    case WM_DDE_INITIATE: OnInitiate(self, client, lParam); return 0;
    case WM_DDE_EXECUTE: OnExecute(self, client, reinterpret_cast<HGLOBAL>(lParam)); return 0;
    case WM_DDE_TERMINATE: OnTerminate(self, client); return 0;
    case WM_CLOSE: Quit(self); return 0;
    case WM_DESTROY: PostQuitMessage(0); return 0;
    default: return DefWindowProcA(self, message, wParam, lParam);
  }
}

bool ParseOptions(int argc, char** argv) {
  for (int i = 1; i < argc; ++i) {
    std::string arg = argv[i];
    if (arg == "--log" && i + 1 < argc) options.log = argv[++i];
    else if (arg == "--ready" && i + 1 < argc) options.ready = argv[++i];
    else if (arg == "--reject") options.reject = true;
    else if (arg == "--silent") options.silent = true;
    else if (arg == "--no-ack") options.noAck = true;
    else if (arg == "--exit-after-execute") options.exitAfterExecute = true;
    else return false;
  }
  return true;
}

}  // namespace

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR, int) {
  if (!ParseOptions(__argc, __argv)) return 2;
  WNDCLASSA wc{};
  wc.lpfnWndProc = WindowProc;
  wc.hInstance = instance;
  wc.lpszClassName = "QzStandInIde";
  if (!RegisterClassA(&wc)) return 1;
  HWND window = CreateWindowExA(0, wc.lpszClassName, "Stand-in IDE", WS_POPUP, 0, 0, 0, 0, nullptr, nullptr,
                                instance, nullptr);
  if (!window) return 1;
  if (!options.ready.empty()) {
    HANDLE ready = CreateFileA(options.ready.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
    if (ready != INVALID_HANDLE_VALUE) CloseHandle(ready);
  }
  MSG msg;
  while (GetMessageA(&msg, nullptr, 0, 0) > 0) DispatchMessageA(&msg);
  return 0;
}
