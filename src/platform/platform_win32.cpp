#include "platform/platform_win32.h"

#include <windows.h>
#include <shellapi.h>
#include <shlwapi.h>

#include "platform/message_pump_win32.h"

#include <vector>

namespace qz {

LocalTime Win32Clock::Now() {
  SYSTEMTIME t;
  GetLocalTime(&t);
  return {t.wYear, t.wMonth, t.wDay, t.wHour, t.wMinute, t.wSecond};
}

void Win32Shell::Open(const std::string& file) {
  ShellExecuteA(nullptr, nullptr, file.c_str(), nullptr, "", SW_SHOWNORMAL);
}

void Win32Shell::OpenHelpPage(const std::string& address) {
  // The shell turns a file address into a plain path and loses the part after "#": the page goes to the
  // program that opens HTML pages, with its whole address.
  for (const char* type : {".html", "htmlfile"}) {
    char browser[MAX_PATH] = "";
    DWORD size = sizeof browser;
    if (SUCCEEDED(AssocQueryStringA(ASSOCF_NOTRUNCATE, ASSOCSTR_EXECUTABLE, type, "open", browser, &size)) &&
        reinterpret_cast<INT_PTR>(
            ShellExecuteA(nullptr, nullptr, browser, ("\"" + address + "\"").c_str(), "", SW_SHOWNORMAL)) > 32)
      return;
  }
  Open(address);
}

std::int64_t Win32Clock::Milliseconds() { return static_cast<std::int64_t>(GetTickCount64()); }

void Win32Clock::Wait(int ms) { DispatchFor(ms > 0 ? static_cast<DWORD>(ms) : 0); }

static std::string Convert(std::string_view in, UINT from, UINT to) {
  if (in.empty()) return {};
  int wn = MultiByteToWideChar(from, 0, in.data(), static_cast<int>(in.size()), nullptr, 0);
  std::vector<wchar_t> wide(static_cast<std::size_t>(wn));
  MultiByteToWideChar(from, 0, in.data(), static_cast<int>(in.size()), wide.data(), wn);
  int n = WideCharToMultiByte(to, 0, wide.data(), wn, nullptr, 0, nullptr, nullptr);
  std::string out(static_cast<std::size_t>(n), '\0');
  WideCharToMultiByte(to, 0, wide.data(), wn, out.data(), n, nullptr, nullptr);
  return out;
}

std::string Win32Codec::AnsiToUtf8(std::string_view ansi) { return Convert(ansi, CP_ACP, CP_UTF8); }
std::string Win32Codec::Utf8ToAnsi(std::string_view utf8) { return Convert(utf8, CP_UTF8, CP_ACP); }

// wchar_t is UTF-16 on Windows. No flags: the default look-alikes and '?' are what a caller detects by
// converting back.
static_assert(sizeof(wchar_t) == sizeof(char16_t));

std::string Win32Codec::WideToAnsi(std::u16string_view wide) {
  if (wide.empty()) return {};
  const auto* in = reinterpret_cast<const wchar_t*>(wide.data());
  const int size = static_cast<int>(wide.size());
  const int n = WideCharToMultiByte(CP_ACP, 0, in, size, nullptr, 0, nullptr, nullptr);
  std::string out(static_cast<std::size_t>(n), '\0');
  out.resize(static_cast<std::size_t>(WideCharToMultiByte(CP_ACP, 0, in, size, out.data(), n, nullptr, nullptr)));
  return out;
}

std::u16string Win32Codec::AnsiToWide(std::string_view ansi) {
  if (ansi.empty()) return {};
  const int size = static_cast<int>(ansi.size());
  const int n = MultiByteToWideChar(CP_ACP, 0, ansi.data(), size, nullptr, 0);
  std::u16string out(static_cast<std::size_t>(n), u'\0');
  out.resize(static_cast<std::size_t>(
      MultiByteToWideChar(CP_ACP, 0, ansi.data(), size, reinterpret_cast<wchar_t*>(out.data()), n)));
  return out;
}

}  // namespace qz
