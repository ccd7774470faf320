// GETINI and PUTINI over the Windows profile API, in a temporary folder (and WIN.INI for blank names).
#include <windows.h>

#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

#include "app/ini.h"
#include "runtime/profile_win32.h"

namespace qz {
namespace {

// The strings of a double-NUL-terminated list, as the section APIs return them.
std::vector<std::string> Strings(const std::vector<char>& buffer, DWORD length) {
  std::vector<std::string> out;
  for (DWORD i = 0; i < length && buffer[i]; i += static_cast<DWORD>(out.back().size()) + 1)
    out.emplace_back(&buffer[i]);
  return out;
}

std::vector<std::string> SectionNames(const std::string& file) {
  std::vector<char> buffer(4096);
  return Strings(buffer, GetPrivateProfileSectionNamesA(buffer.data(), 4096, file.c_str()));
}

std::vector<std::string> SectionLines(const std::string& section, const std::string& file) {
  std::vector<char> buffer(4096);
  return Strings(buffer, GetPrivateProfileSectionA(section.c_str(), buffer.data(), 4096, file.c_str()));
}

std::string RawRead(const std::string& section, const std::string& entry, const std::string& file) {
  char value[256] = {};
  GetPrivateProfileStringA(section.c_str(), entry.c_str(), "", value, sizeof value, file.c_str());
  return value;
}

// Text that shows where a cut fell.
std::string Numbered(std::size_t length) {
  std::string text;
  while (text.size() < length) text += std::to_string(text.size()) + ",";
  return text.substr(0, length);
}

class Ini : public testing::Test {
 protected:
  Ini() {
    char temp[MAX_PATH + 1] = {};
    GetTempPathA(sizeof temp, temp);
    dir_ = std::string(temp) + "qzcl-ini-" + std::to_string(GetCurrentProcessId());
    std::filesystem::remove_all(dir_);
    std::filesystem::create_directories(dir_);
  }
  ~Ini() override { std::filesystem::remove_all(dir_); }
  std::string File(const std::string& name) const { return dir_ + "\\" + name; }

  std::string dir_;
  Win32Profile profile_;
};

TEST_F(Ini, trailing_blanks_of_all_four_arguments_are_not_stored) {
  struct Row {
    const char *section, *entry, *value, *fileBlanks, *storedSection, *storedLine;
  } rows[] = {
      {"Paths", "Libsrc", "C:\\ABC\\LIBSRC   ", "", "Paths", "Libsrc=C:\\ABC\\LIBSRC"},
      {"User Menus  ", "Menu 1 ", "a b", "   ", "User Menus", "Menu 1=a b"},
      {"QZCL", "LangFile", "     ", " ", "QZCL", "LangFile="},  // an all-blank value is stored empty
  };
  for (const Row& r : rows) {
    SCOPED_TRACE(r.storedLine);
    std::string file = File(std::string(r.storedSection) + ".ini");
    PUTINI(profile_, r.section, r.entry, r.value, file + r.fileBlanks);
    EXPECT_EQ(SectionNames(file), std::vector<std::string>{r.storedSection});
    EXPECT_EQ(SectionLines(r.storedSection, file), std::vector<std::string>{r.storedLine});
  }
}

TEST_F(Ini, writing_to_a_missing_file_creates_it) {
  std::string file = File("new.ini");
  ASSERT_FALSE(std::filesystem::exists(file));
  PUTINI(profile_, "Status", "On", "1", file);
  EXPECT_TRUE(std::filesystem::exists(file));
  EXPECT_EQ(GETINI(profile_, "Status", "On", "", file), "1");
}

TEST_F(Ini, blank_file_name_means_win_ini) {
  const char* section = "QZCL profile test";
  struct RemoveSection {
    const char* name;
    ~RemoveSection() { WriteProfileStringA(name, nullptr, nullptr); }
  } cleanup{section};
  for (const char* blank : {"", "   "}) {
    std::string value = std::string("written with \"") + blank + "\"";
    PUTINI(profile_, section, "Entry", value, blank);
    char stored[256] = {};
    GetProfileStringA(section, "Entry", "", stored, sizeof stored);
    EXPECT_EQ(std::string(stored), value);
    EXPECT_EQ(GETINI(profile_, section, "Entry", "", blank), value);
  }
}

TEST_F(Ini, trailing_dot_in_the_file_name_means_the_file_without_it) {
  PUTINI(profile_, "Environment", "AutoPick", "written", File("x.ini."));
  EXPECT_TRUE(std::filesystem::exists(File("x.ini")));
  EXPECT_EQ(RawRead("Environment", "AutoPick", File("x.ini")), "written");
  WritePrivateProfileStringA("Environment", "Other", "direct", File("x.ini").c_str());
  EXPECT_EQ(GETINI(profile_, "Environment", "Other", "", File("x.ini.")), "direct");
}

TEST_F(Ini, a_long_value_is_read_whole_by_the_adapter_and_cut_to_1023_by_getini) {
  std::string file = File("long.ini");
  std::string value = Numbered(5000);
  WritePrivateProfileStringA("Long", "Value", value.c_str(), file.c_str());
  EXPECT_EQ(profile_.Read(file, "Long", "Value", ""), value);
  EXPECT_EQ(GETINI(profile_, "Long", "Value", "", file), value.substr(0, 1023));
}

TEST_F(Ini, putini_cuts_a_long_value_and_getini_a_long_default_to_1023) {
  std::string file = File("long.ini");
  std::string value = Numbered(5000);
  PUTINI(profile_, "Long", "Value", value, file);
  EXPECT_EQ(profile_.Read(file, "Long", "Value", ""), value.substr(0, 1023));
  EXPECT_EQ(GETINI(profile_, "Long", "Missing", value, file), value.substr(0, 1023));
}

TEST_F(Ini, a_file_name_is_cut_to_259_characters) {
  std::string cut = File("");
  cut += std::string(259 - cut.size(), 'n');
  PUTINI(profile_, "Cut", "Name", "yes", cut + "-beyond.ini");
  EXPECT_EQ(RawRead("Cut", "Name", cut), "yes");
  EXPECT_EQ(GETINI(profile_, "Cut", "Name", "", cut + "-beyond.ini"), "yes");
}

TEST_F(Ini, what_does_not_exist_reads_as_the_default) {
  std::string file = File("present.ini");
  WritePrivateProfileStringA("Section", "Entry", "value", file.c_str());
  WritePrivateProfileStringA("Section", "Empty", "", file.c_str());
  struct Row {
    const char *file, *section, *entry, *def, *expected;
  } rows[] = {
      {"missing.ini", "Section", "Entry", "default", "default"},
      {"present.ini", "Other", "Entry", "default", "default"},
      {"present.ini", "Section", "Other", "default  ", "default"},
      {"present.ini", "Section", "Other", "", ""},
      {"present.ini", "Section", "Empty", "default", ""},  // an empty value is still a value
      {"present.ini", "Section", "Entry", "default", "value"},
  };
  for (const Row& r : rows) {
    SCOPED_TRACE(std::string(r.file) + " [" + r.section + "] " + r.entry);
    EXPECT_EQ(GETINI(profile_, r.section, r.entry, r.def, File(r.file)), r.expected);
  }
}

TEST_F(Ini, section_and_entry_names_are_matched_without_regard_to_case) {
  std::string file = File("case.ini");
  PUTINI(profile_, "User Applications", "MyApp", "first", file);
  for (auto [section, entry] : {std::pair{"USER APPLICATIONS", "MYAPP"}, std::pair{"user applications", "myapp"}})
    EXPECT_EQ(GETINI(profile_, section, entry, "", file), "first") << section << " " << entry;
  PUTINI(profile_, "user APPLICATIONS", "myAPP", "second", file);
  EXPECT_EQ(SectionLines("User Applications", file), std::vector<std::string>{"MyApp=second"});
}

}  // namespace
}  // namespace qz
