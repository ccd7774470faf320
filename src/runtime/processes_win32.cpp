#include "runtime/processes_win32.h"

#include <windows.h>

#include <vector>

#include "runtime/handle_win32.h"

namespace qz {
namespace {

std::string SystemMessage(DWORD error) {
  char* text = nullptr;
  DWORD n = FormatMessageA(FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS,
                           nullptr, error, 0, reinterpret_cast<LPSTR>(&text), 0, nullptr);
  std::string message = n && text ? std::string(text, n) : "Error " + std::to_string(error);
  if (text) LocalFree(text);
  while (!message.empty() && (message.back() == '\n' || message.back() == '\r' || message.back() == ' '))
    message.pop_back();
  return message;
}

}  // namespace

int Win32Processes::Start(const std::string& commandLine, std::string& errorText) {
  // No application name: the program is the first word of the line, looked for in the application's folder,
  // the current folder, the system folders and PATH, with ".exe" added. CreateProcessA may write to the line.
  std::vector<char> line(commandLine.begin(), commandLine.end());
  line.push_back('\0');
  STARTUPINFOA startup{};
  startup.cb = sizeof startup;
  PROCESS_INFORMATION info{};
  if (!CreateProcessA(nullptr, line.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup, &info)) {
    errorText = SystemMessage(GetLastError());
    return kStartFailed;
  }
  // Not waited for: the program lives on after we end.
  UniqueKernelHandle process(info.hProcess), thread(info.hThread);
  return 0;
}

}  // namespace qz
