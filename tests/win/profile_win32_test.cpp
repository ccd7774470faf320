// ReadIni and WriteIni over the Windows profile API, in a temporary folder (and WIN.INI for blank names).
#include <windows.h>

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <string>

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

class Ini : public testing::Test {
 protected:
  Ini() {
    std::filesystem::remove_all(dir_);  // what a crashed earlier run left
    std::filesystem::create_directories(dir_);
  }
  ~Ini() override { std::filesystem::remove_all(dir_); }
  std::string File(const std::string& name) const { return dir_ + "\\" + name; }

  const std::string dir_ =
      (std::filesystem::temp_directory_path() / ("qzcl-ini-" + std::to_string(GetCurrentProcessId()))).string();
  Win32Profile profile_;
};

TEST_F(Ini, write_creates_a_missing_file_without_the_trailing_blanks_of_its_arguments) {
  struct Row {
    const char *section, *entry, *value, *file, *stored;
  } rows[] = {
      {"Paths", "Libsrc", "C:\\ABC\\LIBSRC   ", "a.ini", "[Paths]|Libsrc=C:\\ABC\\LIBSRC|"},
      {"User Menus  ", "Menu 1 ", "a b", "b.ini", "[User Menus]|Menu 1=a b|"},
      {"QZCL", "LangFile", "     ", "c.ini", "[QZCL]|LangFile=|"},  // an all-blank value is stored empty
  };
  for (const Row& r : rows) {
    WriteIni(profile_, File(r.file) + "   ", r.section, r.entry, r.value);
    EXPECT_EQ(Stored(File(r.file)), r.stored);
  }
}

TEST_F(Ini, blank_file_name_means_win_ini) {
  const char* section = "QZCL profile test";
  for (const char* blank : {"", "   "}) {
    std::string value = std::string("written with \"") + blank + "\"";
    WriteIni(profile_, blank, section, "Entry", value);
    char stored[256] = {};
    GetProfileStringA(section, "Entry", "", stored, sizeof stored);
    EXPECT_EQ(std::string(stored), value);
    EXPECT_EQ(ReadIni(profile_, blank, section, "Entry", ""), value);
  }
  WriteProfileStringA(section, nullptr, nullptr);
}

TEST_F(Ini, a_file_name_loses_a_trailing_dot_and_is_cut_to_259_characters) {
  WriteIni(profile_, File("x.ini."), "Environment", "AutoPick", "written");
  EXPECT_EQ(Stored(File("x.ini")), "[Environment]|AutoPick=written|");
  EXPECT_EQ(ReadIni(profile_, File("x.ini."), "Environment", "AutoPick", ""), "written");
  std::string cut = File("");
  cut += std::string(259 - cut.size(), 'n');
  WriteIni(profile_, cut + "-beyond.ini", "Cut", "Name", "yes");
  EXPECT_EQ(Stored(cut), "[Cut]|Name=yes|");
}

TEST_F(Ini, long_values_are_read_whole_by_the_adapter_and_cut_to_1023_by_getini_and_putini) {
  const std::string file = File("long.ini");
  std::string value;  // numbered, to show where a cut fell
  while (value.size() < 5000) value += std::to_string(value.size()) + ",";
  WritePrivateProfileStringA("Long", "Value", value.c_str(), file.c_str());
  EXPECT_EQ(profile_.Read(file, "Long", "Value", ""), value);
  EXPECT_EQ(ReadIni(profile_, file, "Long", "Value", ""), value.substr(0, 1023));
  EXPECT_EQ(ReadIni(profile_, file, "Long", "Missing", value), value.substr(0, 1023)) << "the default";
  WriteIni(profile_, file, "Long", "Value", value);
  EXPECT_EQ(profile_.Read(file, "Long", "Value", ""), value.substr(0, 1023));
}

TEST_F(Ini, what_does_not_exist_reads_as_the_default_and_names_are_matched_without_regard_to_case) {
  const std::string file = File("present.ini");
  WriteIni(profile_, file, "User Applications", "MyApp", "first");
  WriteIni(profile_, file, "User Applications", "Empty", "");
  EXPECT_EQ(ReadIni(profile_, file, "USER APPLICATIONS", "myapp", ""), "first");
  EXPECT_EQ(ReadIni(profile_, file, "User Applications", "Empty", "default"), "") << "an empty value is a value";
  EXPECT_EQ(ReadIni(profile_, file, "User Applications", "Other", "default  "), "default");
  EXPECT_EQ(ReadIni(profile_, file, "Other", "MyApp", "default"), "default");
  EXPECT_EQ(ReadIni(profile_, File("missing.ini"), "User Applications", "MyApp", "default"), "default");
  WriteIni(profile_, file, "user APPLICATIONS", "myAPP", "second");
  EXPECT_EQ(Stored(file), "[User Applications]|MyApp=second|Empty=|");
}

}  // namespace
}  // namespace qz
