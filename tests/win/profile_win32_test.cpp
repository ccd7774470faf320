// GETINI and PUTINI (ReadIni, WriteIni) over the Windows profile API, in a temporary folder and WIN.INI.
#include <windows.h>

#include <gtest/gtest.h>

#include <fstream>

#include "e2e/driver_win32.h"
#include "runtime/profile.h"
#include "runtime/profile_win32.h"

namespace qz {
namespace {

// The file as stored, "|" ending each line.
std::string Stored(const std::string& file) {
  std::ifstream in(file, std::ios::binary);
  std::string text;
  for (std::string line; std::getline(in, line);) text += line.substr(0, line.find('\r')) + "|";
  return text;
}

TEST(ini, names_and_values_lose_trailing_blanks_a_file_name_its_trailing_dot_and_a_blank_one_means_win_ini) {
  e2e::TempDirectory dir;
  Win32Profile profile;
  const std::string file = dir.Path() + "\\a.ini";
  WriteIni(profile, file + ".   ", "User Menus  ", "Menu 1 ", "C:\\ABC\\LIBSRC   ");
  WriteIni(profile, file, "user MENUS", "Blank", "     ");  // stored empty; names matched in any case
  EXPECT_EQ(Stored(file), "[User Menus]|Menu 1=C:\\ABC\\LIBSRC|Blank=|");
  EXPECT_EQ(ReadIni(profile, file + ".", "USER MENUS", "menu 1", ""), "C:\\ABC\\LIBSRC");
  EXPECT_EQ(ReadIni(profile, file, "User Menus", "Blank", "default"), "") << "an empty value is a value";
  EXPECT_EQ(ReadIni(profile, file, "User Menus", "Other", "default  "), "default");
  EXPECT_EQ(ReadIni(profile, dir.Path() + "\\missing.ini", "User Menus", "Menu 1", "default"), "default");
  std::string cut = dir.Path() + "\\";
  cut += std::string(259 - cut.size(), 'n');
  WriteIni(profile, cut + "-beyond.ini", "Cut", "Name", "yes");  // a name is cut to 259 characters
  EXPECT_EQ(Stored(cut), "[Cut]|Name=yes|");

  const char* section = "QZCL profile test";
  for (const char* blank : {"", "   "}) {
    const std::string value = std::string("written with \"") + blank + "\"";
    WriteIni(profile, blank, section, "Entry", value);
    char stored[256] = {};
    GetProfileStringA(section, "Entry", "", stored, sizeof stored);
    EXPECT_EQ(std::string(stored), value);
    EXPECT_EQ(ReadIni(profile, blank, section, "Entry", ""), value);
  }
  WriteProfileStringA(section, nullptr, nullptr);
}

TEST(ini, long_values_are_read_whole_by_the_adapter_and_cut_to_1023_by_getini_and_putini) {
  e2e::TempDirectory dir;
  Win32Profile profile;
  const std::string file = dir.Path() + "\\long.ini";
  std::string value;  // numbered, to show where a cut fell
  while (value.size() < 5000) value += std::to_string(value.size()) + ",";
  WritePrivateProfileStringA("Long", "Value", value.c_str(), file.c_str());
  EXPECT_EQ(profile.Read(file, "Long", "Value", ""), value);
  EXPECT_EQ(ReadIni(profile, file, "Long", "Value", ""), value.substr(0, 1023));
  EXPECT_EQ(ReadIni(profile, file, "Long", "Missing", value), value.substr(0, 1023)) << "the default";
  WriteIni(profile, file, "Long", "Value", value);
  EXPECT_EQ(profile.Read(file, "Long", "Value", ""), value.substr(0, 1023));
}

}  // namespace
}  // namespace qz
