// The registry adapter against Wine's real machine environment key.
#include <windows.h>

#include <gtest/gtest.h>

#include <string>

#include "runtime/registry_win32.h"

namespace qz {
namespace {

const std::string kKey = "SYSTEM\\CurrentControlSet\\Control\\Session Manager\\Environment";
const char* const kName = "QZCL_TEST_VAR";

class EnvRegistry : public testing::Test {
 protected:
  EnvRegistry() { Delete(); }  // what a crashed earlier run left
  ~EnvRegistry() override { Delete(); }
  static void Delete() {
    HKEY key;
    if (RegOpenKeyExA(HKEY_LOCAL_MACHINE, kKey.c_str(), 0, KEY_SET_VALUE, &key) != ERROR_SUCCESS) return;
    RegDeleteValueA(key, kName);
    RegCloseKey(key);
  }
  // The type and byte count as Windows itself reports them.
  static DWORD StoredType(DWORD* bytes) {
    DWORD type = REG_NONE;
    *bytes = 0;
    RegGetValueA(HKEY_LOCAL_MACHINE, kKey.c_str(), kName, RRF_RT_ANY | RRF_NOEXPAND, &type, nullptr, bytes);
    return type;
  }
  Win32Registry registry_;
};

TEST_F(EnvRegistry, text_values_are_written_with_their_type_and_read_back_whole) {
  struct Row {
    RegType type;
    DWORD stored;
    std::string text;
  } rows[] = {
      {RegType::String, REG_SZ, "C:\\QZ;C:\\Tools"},
      {RegType::ExpandString, REG_EXPAND_SZ, "%SystemRoot%\\system32;C:\\QZ"},  // read unexpanded
      {RegType::String, REG_SZ, ""},
      {RegType::String, REG_SZ, std::string(20000, 'q') + ";C:\\END"},
  };
  for (const Row& r : rows) {
    ASSERT_TRUE(registry_.Write(kKey, kName, r.type, r.text).ok());
    DWORD bytes = 0;
    EXPECT_EQ(StoredType(&bytes), r.stored);
    EXPECT_EQ(bytes, r.text.size() + 1);  // the terminating NUL is part of the data
    RegValue v = registry_.Read(kKey, kName);
    EXPECT_EQ(v.result.status, RegStatus::Ok);
    EXPECT_EQ(v.type, r.type);
    EXPECT_EQ(v.text.size(), r.text.size());
    EXPECT_TRUE(v.text == r.text);
  }
}

TEST_F(EnvRegistry, a_missing_value_or_key_is_not_found_and_a_number_is_other) {
  RegValue missing = registry_.Read(kKey, kName);
  EXPECT_EQ(missing.result.status, RegStatus::NotFound);
  EXPECT_TRUE(missing.text.empty());
  RegValue noKey = registry_.Read(kKey + "\\QZCL no such key", kName);
  EXPECT_EQ(noKey.result.status, RegStatus::NotFound);

  DWORD number = 42;
  ASSERT_EQ(RegSetKeyValueA(HKEY_LOCAL_MACHINE, kKey.c_str(), kName, REG_DWORD, &number, sizeof number),
            ERROR_SUCCESS);
  RegValue v = registry_.Read(kKey, kName);
  EXPECT_EQ(v.result.status, RegStatus::Ok);
  EXPECT_EQ(v.type, RegType::Other);
  EXPECT_TRUE(v.text.empty());
}

TEST_F(EnvRegistry, the_write_creates_a_missing_key) {
  const std::string key = "SOFTWARE\\QZCL env test";
  RegDeleteKeyA(HKEY_LOCAL_MACHINE, key.c_str());
  ASSERT_TRUE(registry_.Write(key, kName, RegType::String, "x").ok());
  RegValue v = registry_.Read(key, kName);
  EXPECT_EQ(v.text, "x");
  EXPECT_EQ(RegDeleteKeyA(HKEY_LOCAL_MACHINE, key.c_str()), ERROR_SUCCESS);
}

std::string g_heard;  // what the listening window was told

LRESULT CALLBACK Listen(HWND window, UINT message, WPARAM w, LPARAM l) {
  if (message == WM_SETTINGCHANGE && l) g_heard = reinterpret_cast<const char*>(l);
  return DefWindowProcA(window, message, w, l);
}

TEST_F(EnvRegistry, top_level_windows_hear_of_the_environment_change_on_the_nt_family) {
  EXPECT_FALSE(registry_.IsWindows95Family());
  WNDCLASSA wc{};
  wc.lpfnWndProc = Listen;
  wc.hInstance = GetModuleHandleA(nullptr);
  wc.lpszClassName = "QZCL env listener";
  RegisterClassA(&wc);
  HWND window = CreateWindowA(wc.lpszClassName, "", WS_OVERLAPPED, 0, 0, 10, 10, nullptr, nullptr, wc.hInstance,
                              nullptr);
  ASSERT_TRUE(window);
  g_heard.clear();
  registry_.BroadcastEnvironmentChange();
  EXPECT_EQ(g_heard, "Environment");
  DestroyWindow(window);
}

}  // namespace
}  // namespace qz
