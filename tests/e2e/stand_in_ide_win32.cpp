// A stand-in for the IDE: a hidden window serving the DDE service "ClarionWin", logging each initiate ("initiate
// ignored" with --silent), the exact text of each execute, and "terminate". Options: --log FILE (else
// "stand_in_ide.log" in its working folder, for a copy the program starts, which first logs "folder" and that
// folder, then "environment" and each variable whose name starts with QZ), --ready FILE (made once it serves),
// --reject, --silent, --no-ack (executes refused, initiates or executes unanswered), --exit-after-execute.
// WM_CLOSE ends it.
#include <windows.h>

#include <dde.h>

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <string>
#include <utility>
#include <vector>

namespace {

constexpr char kService[] = "ClarionWin";
const char kCopyLog[] = "stand_in_ide.log";
std::string logFile = kCopyLog, readyFile;
bool reject = false, silent = false, noAck = false, exitAfterExecute = false;
std::vector<HWND> clients;  // one conversation per client window

void Log(const std::string& line) {
  // Opened for each line, so that a test can read the log while we run and after we are killed.
  if (FILE* f = std::fopen(logFile.c_str(), "ab")) {
    std::fprintf(f, "%s\r\n", line.c_str());
    std::fclose(f);
  }
}

std::string AtomName(ATOM atom) {
  char name[256] = {};
  return atom && GlobalGetAtomNameA(atom, name, sizeof name) ? name : "";
}

void Quit(HWND self) {
  for (HWND client : std::exchange(clients, {})) PostMessageA(client, WM_DDE_TERMINATE, WPARAM(self), 0);
  DestroyWindow(self);
}

LRESULT CALLBACK WindowProc(HWND self, UINT message, WPARAM wParam, LPARAM lParam) {
  HWND client = reinterpret_cast<HWND>(wParam);
  switch (message) {
    case WM_DDE_INITIATE: {  // sent: lParam holds the service and topic atoms (0 for any)
      ATOM service = LOWORD(lParam), topic = HIWORD(lParam);
      if (service && lstrcmpiA(AtomName(service).c_str(), kService) != 0) return 0;
      Log(silent ? "initiate ignored" : "initiate");
      if (silent) return 0;
      clients.push_back(client);
      // The answer carries new atoms of our own, which the client deletes.
      SendMessageA(client, WM_DDE_ACK, reinterpret_cast<WPARAM>(self),
                   MAKELPARAM(GlobalAddAtomA(kService), GlobalAddAtomA(topic ? AtomName(topic).c_str() : "System")));
      return 0;
    }
    case WM_DDE_EXECUTE: {  // posted: lParam is the commands' memory, which goes back to the client to free
      auto commands = reinterpret_cast<HGLOBAL>(lParam);
      const char* bytes = static_cast<const char*>(GlobalLock(commands));
      Log(bytes ? std::string(bytes, strnlen(bytes, GlobalSize(commands))) : "");
      GlobalUnlock(commands);
      if (noAck) return 0;
      LPARAM ack = PackDDElParam(WM_DDE_ACK, reject ? 0 : 0x8000 /* fAck */, reinterpret_cast<UINT_PTR>(commands));
      if (!PostMessageA(client, WM_DDE_ACK, reinterpret_cast<WPARAM>(self), ack)) {
        FreeDDElParam(WM_DDE_ACK, ack);
        GlobalFree(commands);
      }
      if (exitAfterExecute) Quit(self);
      return 0;
    }
    case WM_DDE_TERMINATE: {  // answered in kind, unless it answers our own
      auto it = std::find(clients.begin(), clients.end(), client);
      if (it == clients.end()) return 0;
      clients.erase(it);
      Log("terminate");
      PostMessageA(client, WM_DDE_TERMINATE, reinterpret_cast<WPARAM>(self), 0);
      return 0;
    }
    case WM_CLOSE: Quit(self); return 0;
    case WM_DESTROY: PostQuitMessage(0); return 0;
    default: return DefWindowProcA(self, message, wParam, lParam);
  }
}

}  // namespace

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR, int) {
  for (int i = 1; i < __argc; ++i) {
    const std::string arg = __argv[i];
    if (arg == "--log" && i + 1 < __argc)
      logFile = __argv[++i];
    else if (arg == "--ready" && i + 1 < __argc)
      readyFile = __argv[++i];
    else if (arg == "--reject")
      reject = true;
    else if (arg == "--silent")
      silent = true;
    else if (arg == "--no-ack")
      noAck = true;
    else if (arg == "--exit-after-execute")
      exitAfterExecute = true;
    else
      return 2;
  }
  if (logFile == kCopyLog) {
    char folder[MAX_PATH] = {};
    GetCurrentDirectoryA(sizeof folder, folder);
    Log(std::string("folder ") + folder);
    char* environment = GetEnvironmentStringsA();
    for (const char* entry = environment; entry && *entry; entry += std::strlen(entry) + 1)
      if (_strnicmp(entry, "QZ", 2) == 0) Log(std::string("environment ") + entry);
    FreeEnvironmentStringsA(environment);
  }
  WNDCLASSA wc{};
  wc.lpfnWndProc = WindowProc;
  wc.hInstance = instance;
  wc.lpszClassName = "QzStandInIde";
  if (!RegisterClassA(&wc) ||
      !CreateWindowExA(0, wc.lpszClassName, "Stand-in IDE", WS_POPUP, 0, 0, 0, 0, nullptr, nullptr, instance, nullptr))
    return 1;
  if (!readyFile.empty())
    CloseHandle(CreateFileA(readyFile.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr));
  MSG msg;
  while (GetMessageA(&msg, nullptr, 0, 0) > 0) DispatchMessageA(&msg);
  return 0;
}
