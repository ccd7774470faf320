#include "platform/registry_win32.h"

#include <windows.h>

#include <vector>

#include "platform/handle_win32.h"

namespace qz {

namespace {

// Far beyond any environment value; only a corrupt or hostile value grows past it.
constexpr DWORD kReadLimit = 16u * 1024u * 1024u;

RegResult FromError(LONG error) {
  switch (error) {
    case ERROR_SUCCESS: return {RegStatus::Ok, 0};
    case ERROR_FILE_NOT_FOUND:
    case ERROR_PATH_NOT_FOUND: return {RegStatus::NotFound, static_cast<unsigned long>(error)};
    case ERROR_ACCESS_DENIED: return {RegStatus::AccessDenied, static_cast<unsigned long>(error)};
    default: return {RegStatus::OtherError, static_cast<unsigned long>(error)};
  }
}

HKEY Root(RegRoot root) { return root == RegRoot::CurrentUser ? HKEY_CURRENT_USER : HKEY_LOCAL_MACHINE; }

}  // namespace

RegValue Win32Registry::Read(RegRoot root, const std::string& key, const std::string& name) {
  RegValue value;
  UniqueHkey hkey;
  LONG error = RegOpenKeyExA(Root(root), key.c_str(), 0, KEY_QUERY_VALUE, hkey.put());
  if (error != ERROR_SUCCESS) {
    value.result = FromError(error);
    return value;
  }
  DWORD type = REG_NONE;
  DWORD size = 0;
  error = RegQueryValueExA(hkey.get(), name.c_str(), nullptr, &type, nullptr, &size);
  std::vector<char> data;
  // The value may grow between the size query and the read: grow the buffer until it fits.
  while (error == ERROR_SUCCESS || error == ERROR_MORE_DATA) {
    if (size > kReadLimit) {
      value.result = {RegStatus::TooLarge, static_cast<unsigned long>(ERROR_MORE_DATA)};
      return value;
    }
    data.resize(size + 1);  // room for a NUL the stored data may lack
    DWORD got = size;
    error = RegQueryValueExA(hkey.get(), name.c_str(), nullptr, &type, reinterpret_cast<BYTE*>(data.data()), &got);
    if (error != ERROR_MORE_DATA) {
      size = got;
      break;
    }
    size = got > size ? got : size * 2 + 256;
  }
  value.result = FromError(error);
  if (error != ERROR_SUCCESS) return value;
  if (type == REG_SZ || type == REG_EXPAND_SZ) {
    value.type = type == REG_SZ ? RegType::String : RegType::ExpandString;
    std::string text(data.data(), size);
    value.text = text.substr(0, text.find('\0'));
  } else {
    value.type = RegType::Other;
  }
  return value;
}

RegResult Win32Registry::Write(RegRoot root, const std::string& key, const std::string& name, RegType type,
                               const std::string& text) {
  if (type == RegType::Other) return {RegStatus::OtherError, static_cast<unsigned long>(ERROR_INVALID_PARAMETER)};
  UniqueHkey hkey;
  LONG error = RegOpenKeyExA(Root(root), key.c_str(), 0, KEY_SET_VALUE, hkey.put());
  if (error == ERROR_FILE_NOT_FOUND) error = RegCreateKeyA(Root(root), key.c_str(), hkey.put());
  if (error != ERROR_SUCCESS) return FromError(error);
  // The stored length counts the terminating NUL, as Windows expects of text values.
  error = RegSetValueExA(hkey.get(), name.c_str(), 0, type == RegType::String ? REG_SZ : REG_EXPAND_SZ,
                         reinterpret_cast<const BYTE*>(text.c_str()), static_cast<DWORD>(text.size() + 1));
  return FromError(error);
}

RegResult Win32Registry::Delete(RegRoot root, const std::string& key, const std::string& name) {
  UniqueHkey hkey;
  LONG error = RegOpenKeyExA(Root(root), key.c_str(), 0, KEY_SET_VALUE, hkey.put());
  if (error == ERROR_SUCCESS) error = RegDeleteValueA(hkey.get(), name.c_str());
  return FromError(error == ERROR_FILE_NOT_FOUND ? ERROR_SUCCESS : error);
}

RegResult Win32Registry::CheckWrite(RegRoot root, const std::string& key) {
  UniqueHkey hkey;
  const LONG error = RegOpenKeyExA(Root(root), key.c_str(), 0, KEY_SET_VALUE, hkey.put());
  // A missing key is made by the write, as the user's Environment key of a new profile is.
  return FromError(error == ERROR_FILE_NOT_FOUND ? ERROR_SUCCESS : error);
}

void Win32Registry::BroadcastEnvironmentChange() {
  DWORD_PTR answer = 0;
  // A hung window must not hold the command up. The wide form reaches every window intact in its own
  // character set; Wine delivers the ANSI form's text garbled.
  SendMessageTimeoutW(HWND_BROADCAST, WM_SETTINGCHANGE, 0, reinterpret_cast<LPARAM>(L"Environment"), SMTO_ABORTIFHUNG,
                      2000, &answer);
}

bool Win32Registry::RunsAsLocalSystem() {
  UniqueKernelHandle token;
  if (!OpenProcessToken(GetCurrentProcess(), TOKEN_QUERY, token.put())) return false;
  alignas(TOKEN_USER) BYTE buffer[sizeof(TOKEN_USER) + SECURITY_MAX_SID_SIZE];
  DWORD size = 0;
  return GetTokenInformation(token.get(), TokenUser, buffer, sizeof buffer, &size) &&
         IsWellKnownSid(reinterpret_cast<TOKEN_USER*>(buffer)->User.Sid, WinLocalSystemSid);
}

bool Win32Registry::IsWindows95Family() { return (GetVersion() & 0x80000000u) != 0; }

}  // namespace qz
