#include <gtest/gtest.h>

#include "base/installation.h"
#include "unit/harness.h"

namespace qz {
namespace {

const char* const kEE6 = "Clarion 6.0  Enterprise Edition";

TEST(version_code, accepts_codes_of_the_list_and_defaults_to_6) {
  struct Case {
    const char* text;
    bool accepted;
    const char* code;
  } cases[] = {
      {"", false, "6"},    {"6", true, "6"},     {"6.1", false, "6"}, {"20", false, "6"}, {"2.0", false, "6"},
      {"2", true, "2"},    {"5.5", true, "5.5"}, {"55", true, "55"},  {"4", true, "4"},   {"600", false, "6"},
      {"6.2x", true, "6.2"}, {" 5", true, "5"},  {"0", true, "0"},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(IsVersionCode(c.text), c.accepted) << c.text;
    EXPECT_EQ(VersionCode(c.text), c.code) << c.text;
  }
}

TEST(locate_installation, fills_the_record_from_win_ini) {
  struct Case {
    const char* version;
    std::vector<std::array<const char*, 3>> winIni;  // section, entry, value
    std::vector<const char*> existing;
    const char* code;
    const char* root;
    const char* iniFile;
    const char* red;
  } cases[] = {
      {"", {{kEE6, "Root", "C:\\C6\\"}, {kEE6, "ExeName", "C60EE"}}, {}, "60", "C:\\C6", "C:\\C6\\BIN\\C60EE.ini.",
       "C:\\C6\\BIN\\C60PE.RED"},
      {"6", {{kEE6, "Root", "C:\\C6"}, {kEE6, "ExeName", "C60EE"}}, {"C:\\C6\\BIN\\C60EE.RED"}, "60", "C:\\C6",
       "C:\\C6\\BIN\\C60EE.ini.", "C:\\C6\\BIN\\C60EE.RED"},
      // only the other edition's section filled: ExeName comes from it too
      {"6.1", {{"Clarion 6.0", "Root", "D:\\PE"}, {"Clarion 6.0", "ExeName", "C60PE"}, {kEE6, "ExeName", "WRONG"}},
       {}, "60", "D:\\PE", "D:\\PE\\BIN\\C60PE.ini.", "D:\\PE\\BIN\\C60PE.RED"},
      {"5.5", {{"Clarion 5.5  Enterprise Edition", "Root", "C:\\C55"}, {"Clarion 5.5  Enterprise Edition", "ExeName", "C55EE"}},
       {"C:\\C55\\BIN\\C55PE.RED"}, "55", "C:\\C55", "C:\\C55\\BIN\\C55EE.ini.", "C:\\C55\\BIN\\C55PE.RED"},
      {"55", {{"Clarion 5.5", "Root", "C:\\C55"}, {"Clarion 5.5", "ExeName", "C55"}}, {}, "55", "C:\\C55",
       "C:\\C55\\BIN\\C55.ini.", "C:\\C55\\BIN\\CLARION5.RED"},
      {"2", {{"Clarion for Windows V2.0", "WorkDir", "C:\\CW20\\bin\\work"}, {"Clarion for Windows V2.0", "ExeName", "CW"}},
       {}, "20", "C:\\CW20", "C:\\CW20\\BIN\\CW.ini.", "C:\\CW20\\BIN\\Cw20.RED"},
      {"4", {{"Clarion 4", "Root", "E:\\C4\\\\"}, {"Clarion 4", "ExeName", "CW4"}}, {}, "4", "E:\\C4\\",
       "E:\\C4\\\\BIN\\CW4.ini.", "E:\\C4\\\\BIN\\Clarion4.RED"},
  };
  for (const auto& c : cases) {
    fake::Harness h;
    for (const auto& [section, entry, value] : c.winIni) h.profile.Write("", section, entry, value);
    for (auto path : c.existing) h.files.existing.insert(path);
    const std::optional<Installation> ide = LocateInstallation(h.svc, VersionCode(c.version), "");
    ASSERT_TRUE(ide) << c.version;
    EXPECT_EQ(ide->version, c.code) << c.version;
    EXPECT_EQ(ide->root, c.root) << c.version;
    EXPECT_EQ(ide->iniFile, c.iniFile) << c.version;
    EXPECT_EQ(ide->redFile, c.red) << c.version;
    EXPECT_TRUE(h.dialogs.shown.empty()) << c.version;
  }
}

TEST(locate_installation, names_what_is_missing_in_the_entry_not_found_box) {
  struct Case {
    const char* version;
    bool withRoot;
    const char* text;
  } cases[] = {
      {"6", false,
       "The QZ Command program looks for Clarion information in the WIN.INI file.|Required information was not "
       "found.||Command was: RED a b c 6|CW Version: 60|EE File: Clarion 6.0  Enterprise Edition|PE File: Clarion "
       "6.0|Root: |ExeName: "},
      {"6", true,  // root found, no ExeName
       "The QZ Command program looks for Clarion information in the WIN.INI file.|Required information was not "
       "found.||Command was: RED a b c 6|CW Version: 60|EE File: Clarion 6.0  Enterprise Edition|PE File: Clarion "
       "6.0|Root: C:\\C6|ExeName: "},
      {"0", false,  // accepted by the list, in no row of the table
       "The QZ Command program looks for Clarion information in the WIN.INI file.|Required information was not "
       "found.||Command was: RED a b c 6|CW Version: 0|EE File: |PE File: |Root: |ExeName: "},
  };
  for (const auto& c : cases) {
    fake::Harness h;
    if (c.withRoot) h.profile.Write("", kEE6, "Root", "C:\\C6");
    EXPECT_FALSE(LocateInstallation(h.svc, VersionCode(c.version), "RED a b c 6"));
    ASSERT_EQ(h.dialogs.shown.size(), 1u);
    const Box& box = h.dialogs.shown[0];
    EXPECT_EQ(box.caption, "Entry Not Found");
    EXPECT_EQ(box.text, c.text);
    EXPECT_EQ(box.icon, Icon::Information);
    EXPECT_EQ(box.buttons, Buttons::Ok);
    EXPECT_EQ(h.svc.ExitCode(), kExitFailed);
  }
}

}  // namespace
}  // namespace qz
