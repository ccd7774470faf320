// The profile adapter over the Windows profile API, in a temporary folder and WIN.INI.
#include <windows.h>

#include <gtest/gtest.h>

#include "e2e/driver_win32.h"
#include "runtime/profile.h"
#include "runtime/profile_win32.h"

namespace qz {
namespace {

TEST(ini, values_are_read_whole_names_in_any_case_a_trailing_dot_names_the_same_file_and_blank_means_win_ini) {
  e2e::TempDirectory dir;
  Win32Profile profile;
  const std::string file = dir.Path() + "\\a.ini";
  std::string value;  // numbered, to show where a cut fell
  while (value.size() < 5000) value += std::to_string(value.size()) + ",";
  WritePrivateProfileStringA("Long", "Value", value.c_str(), file.c_str());
  EXPECT_EQ(profile.Read(file, "Long", "Value", ""), value);
  EXPECT_EQ(ReadIni(profile, file, "Long", "Value", ""), value.substr(0, 1023));
  WriteIni(profile, file + ".", "User Menus", "Menu 1", "C:\\ABC");
  WriteIni(profile, file, "user MENUS", "Empty", "");
  EXPECT_EQ(profile.Read(file, "USER MENUS", "menu 1", ""), "C:\\ABC");
  EXPECT_EQ(profile.Read(file, "User Menus", "Empty", "default"), "") << "an empty value is a value";
  EXPECT_EQ(profile.Read(dir.Path() + "\\missing.ini", "User Menus", "Menu 1", "default"), "default");
  EXPECT_EQ(e2e::ReadWholeFile(file).substr(e2e::ReadWholeFile(file).find("[User")),
            "[User Menus]\r\nMenu 1=C:\\ABC\r\nEmpty=\r\n");

  const char* section = "QZCL profile test";
  for (const char* blank : {"", "   "}) {
    const std::string written = std::string("written with \"") + blank + "\"";
    WriteIni(profile, blank, section, "Entry", written);
    char stored[256] = {};
    GetProfileStringA(section, "Entry", "", stored, sizeof stored);
    EXPECT_EQ(std::string(stored), written);
    EXPECT_EQ(ReadIni(profile, blank, section, "Entry", ""), written);
  }
  WriteProfileStringA(section, nullptr, nullptr);
}

}  // namespace
}  // namespace qz
