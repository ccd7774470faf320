// The registry adapter against Wine's real machine environment key.
#include <windows.h>

#include <gtest/gtest.h>

#include <string>
#include <tuple>

#include "platform/handle_win32.h"
#include "platform/registry_win32.h"

namespace qz {
namespace {

const std::string kKey = "SYSTEM\\CurrentControlSet\\Control\\Session Manager\\Environment";
const char* const kName = "QZCL_TEST_VAR";

std::string g_heard;  // what the listening window was told

TEST(env_registry, text_values_keep_their_type_and_every_character_and_other_values_are_not_text) {
  Win32Registry registry;
  RegDeleteKeyValueA(HKEY_LOCAL_MACHINE, kKey.c_str(), kName);  // what a crashed earlier run left
  EXPECT_EQ(registry.Read(RegRoot::LocalMachine, kKey, kName).result.status, RegStatus::NotFound);
  EXPECT_EQ(registry.Read(RegRoot::LocalMachine, kKey + "\\QZCL no such key", kName).result.status,
            RegStatus::NotFound);
  const std::tuple<RegType, DWORD, std::string> rows[] = {
      {RegType::String, REG_SZ, "C:\\QZ;C:\\Tools"},
      {RegType::ExpandString, REG_EXPAND_SZ, "%SystemRoot%\\system32;C:\\QZ"},  // read unexpanded
      {RegType::String, REG_SZ, ""},
      {RegType::String, REG_SZ, std::string(32760, 'q') + ";C:\\END"},
  };
  for (const auto& [type, stored, text] : rows) {
    ASSERT_TRUE(registry.Write(RegRoot::LocalMachine, kKey, kName, type, text).ok());
    DWORD storedType = REG_NONE, bytes = 0;
    RegGetValueA(HKEY_LOCAL_MACHINE, kKey.c_str(), kName, RRF_RT_ANY | RRF_NOEXPAND, &storedType, nullptr, &bytes);
    EXPECT_EQ(storedType, stored);
    EXPECT_EQ(bytes, text.size() + 1);  // the terminating NUL is part of the data
    RegValue v = registry.Read(RegRoot::LocalMachine, kKey, kName);
    EXPECT_EQ(v.result.status, RegStatus::Ok);
    EXPECT_EQ(v.type, type);
    EXPECT_TRUE(v.text == text) << v.text.size();
  }
  DWORD number = 42;
  RegSetKeyValueA(HKEY_LOCAL_MACHINE, kKey.c_str(), kName, REG_DWORD, &number, sizeof number);
  RegValue v = registry.Read(RegRoot::LocalMachine, kKey, kName);
  EXPECT_EQ(v.result.status, RegStatus::Ok);
  EXPECT_EQ(v.type, RegType::Other);
  EXPECT_TRUE(v.text.empty());
  RegDeleteKeyValueA(HKEY_LOCAL_MACHINE, kKey.c_str(), kName);
}

TEST(env_registry, top_level_windows_hear_of_the_environment_change_on_the_nt_family) {
  Win32Registry registry;
  EXPECT_FALSE(registry.IsWindows95Family());
  WNDCLASSA wc{};
  wc.lpfnWndProc = [](HWND window, UINT message, WPARAM w, LPARAM l) {
    if (message == WM_SETTINGCHANGE && l) g_heard = reinterpret_cast<const char*>(l);
    return DefWindowProcA(window, message, w, l);
  };
  wc.lpszClassName = "QZCL env listener";
  RegisterClassA(&wc);
  UniqueHwnd window(CreateWindowA(wc.lpszClassName, "", WS_OVERLAPPED, 0, 0, 10, 10, {}, {}, {}, nullptr));
  ASSERT_TRUE(window);
  registry.BroadcastEnvironmentChange();
  EXPECT_EQ(g_heard, "Environment");
}

}  // namespace
}  // namespace qz
