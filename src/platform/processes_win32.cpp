#include "platform/processes_win32.h"

#include <windows.h>

#include <cwchar>
#include <string_view>
#include <vector>

#include "platform/handle_win32.h"

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

// Whether entry ("NAME=value") is one of the QZCL_ variables, in any letter case: they set up this run (an
// installer's QZCL_UNATTENDED, say) and are not meant for a program we start.
bool IsOurSetting(std::wstring_view entry) {
  constexpr std::wstring_view kPrefix = L"QZCL_";
  if (entry.size() < kPrefix.size()) return false;
  for (std::size_t i = 0; i < kPrefix.size(); ++i) {
    const wchar_t c = entry[i] >= L'a' && entry[i] <= L'z' ? entry[i] - L'a' + L'A' : entry[i];
    if (c != kPrefix[i]) return false;
  }
  return true;
}

// Our environment without our own settings, as a block for CreateProcess: each "NAME=value" ends with a null,
// and an empty string ends the block.
std::vector<wchar_t> EnvironmentForChild() {
  std::vector<wchar_t> block;
  if (wchar_t* strings = GetEnvironmentStringsW()) {
    for (const wchar_t* entry = strings; *entry; entry += std::wcslen(entry) + 1)
      if (!IsOurSetting(entry)) block.insert(block.end(), entry, entry + std::wcslen(entry) + 1);
    FreeEnvironmentStringsW(strings);
  }
  if (block.empty()) block.push_back(L'\0');
  block.push_back(L'\0');
  return block;
}

}  // namespace

int Win32Processes::Start(const ProgramStart& program, std::string& errorText) {
  // Without an application the program is the first word of the line, looked for in the application's folder,
  // the current folder, the system folders and PATH, with ".exe" added. CreateProcessA may write to the line.
  std::vector<char> line(program.commandLine.begin(), program.commandLine.end());
  line.push_back('\0');
  // Null standard handles and nothing inherited: a caller reading our output would otherwise wait until the
  // program ends, and Wine hands a child the parent's standard handles unless others are given.
  STARTUPINFOA startup{};
  startup.cb = sizeof startup;
  startup.dwFlags = STARTF_USESTDHANDLES;
  std::vector<wchar_t> environment = EnvironmentForChild();
  PROCESS_INFORMATION info{};
  if (!CreateProcessA(program.application.empty() ? nullptr : program.application.c_str(), line.data(), nullptr,
                      nullptr, FALSE, CREATE_UNICODE_ENVIRONMENT, environment.data(),
                      program.folder.empty() ? nullptr : program.folder.c_str(), &startup, &info)) {
    errorText = SystemMessage(GetLastError());
    return kStartFailed;
  }
  // Not waited for: the program lives on after we end.
  UniqueKernelHandle process(info.hProcess), thread(info.hThread);
  return 0;
}

}  // namespace qz
