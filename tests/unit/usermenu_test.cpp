#include <gtest/gtest.h>

#include "app/dispatcher.h"
#include "unit/harness.h"

namespace qz {
namespace {

const char* const kIni = "C:\\C6\\BIN\\C60EE.ini.";
using Entries = std::vector<std::string>;

struct Menu : fake::Harness {
  explicit Menu(const Entries& entries, std::initializer_list<int> gaps = {}) {
    profile.Write("", "Clarion 6.0  Enterprise Edition", "Root", "C:\\C6");
    profile.Write("", "Clarion 6.0  Enterprise Edition", "ExeName", "C60EE");
    int key = 1;
    for (const auto& e : entries) {
      while (std::find(gaps.begin(), gaps.end(), key) != gaps.end()) ++key;
      profile.Write(kIni, "User Menus", std::to_string(key++), e);
    }
  }
  Entries List(int upTo) {
    Entries out;
    for (int i = 1; i <= upTo; ++i) {
      const std::string* v = profile.Find(kIni, "User Menus", std::to_string(i));
      out.push_back(v ? *v : "<absent>");
    }
    return out;
  }
  std::string App(const char* appRef) {
    const std::string* v = profile.Find(kIni, "User Applications", appRef);
    return v ? *v : "<absent>";
  }
};

TEST(usermenu, adds_or_replaces_the_entry_and_rewrites_the_list_in_its_groups) {
  struct Case {
    const char* name;
    Entries before;
    const char* arguments;
    Entries after;
  } cases[] = {
      {"no section", {}, "USERMENU QZ &Tools-QZ+Tool qz.exe", {"&Tools/QZ Tool|QZ", "<absent>"}},
      {"sorted without the ampersands",
       {"&Zebra|Z", "&Apple|A"},
       "MENU QZ &Middle qz.exe",
       {"&Apple|A", "&Middle|QZ", "&Zebra|Z", "<absent>"}},
      {"replaced in place, case ignored, AppRef as typed now",
       {"Old|myapp", "&Beta|B"},
       "USERMENU MYAPP Alpha qz.exe",
       {"Alpha|MYAPP", "&Beta|B", "<absent>"}},
      {"Accessories/Help first",
       {"&Zeta|Z", "A&ccessories/Help/&Readme|R"},
       "USERMENU QZ Ac&cessories-Help-My+Tool qz.exe",
       {"Ac&cessories/Help/My Tool|QZ", "A&ccessories/Help/&Readme|R", "&Zeta|Z", "<absent>"}},
      {"another application's longer reference is not ours",
       {"Other|MYAPP2", "Mine|x|MYAPP"},
       "USERMENU MYAPP Mine qz.exe",
       {"Mine|MYAPP", "Other|MYAPP2", "<absent>"}},
  };
  for (const auto& c : cases) {
    Menu t(c.before);
    t.Run(c.arguments);
    EXPECT_EQ(t.List(static_cast<int>(c.after.size())), c.after) << c.name;
    EXPECT_TRUE(t.dialogs.shown.empty()) << c.name;
  }
}

TEST(usermenu, never_writes_over_an_entry_it_did_not_read) {
  Menu gap({"&A|A", "&B|B", "&D|D"}, {3});  // keys 1, 2 and 4
  gap.Run("USERMENU QZ &C qz.exe");
  EXPECT_EQ(gap.List(4), (Entries{"&A|A", "&B|B", "&C|QZ", "&D|D"}));

  Entries many;
  for (int i = 0; i < 150; ++i) many.push_back("Item " + std::to_string(1000 + i) + "|APP" + std::to_string(i));
  Menu big(many);
  big.Run("USERMENU QZ Zzz qz.exe");
  Entries after = big.List(152);
  EXPECT_EQ(after[149], "Item 1149|APP149");
  EXPECT_EQ(after[150], "Zzz|QZ");
  EXPECT_EQ(after[151], "<absent>");

  std::string longEntry = std::string(400, 'L') + "|LONG";
  Menu whole({longEntry});
  whole.Run("USERMENU QZ M qz.exe");
  EXPECT_EQ(whole.List(2), (Entries{longEntry, "M|QZ"}));
}

TEST(usermenu, writes_the_command_line_with_its_parameters) {
  struct Case {
    const char* arguments;
    const char* app;
  } cases[] = {
      {"USERMENU QZ M qz.exe", "qz.exe"},
      {"USERMENU QZ M \"C:\\Program Files\\qz.exe\" a \"b c\" 6", "\"C:\\Program Files\\qz.exe\" a \"b c\""},
      {"USERMENU QZ M qz.exe -x+y 4", "<absent>"},  // version 4 has no installation here
      {"USERMENU QZ M qz.exe -x+y", "qz.exe -x y"},
  };
  for (const auto& c : cases) {
    Menu t({});
    t.Run(c.arguments);
    EXPECT_EQ(t.App("QZ"), c.app) << c.arguments;
  }
}

TEST(usermenu, bad_input_and_a_running_ide_write_nothing) {
  Menu usage({});
  usage.Run("USERMENU QZapp");
  ASSERT_EQ(usage.dialogs.shown.size(), 1u);
  EXPECT_EQ(usage.dialogs.shown[0].caption, "Incorrect Command Line");
  EXPECT_EQ(usage.dialogs.shown[0].text,
            "Command line paramters are: AppRef MenuDisplay CommandLine [Parm].  Found were: |   AppRef: QZapp|   "
            "MenuDisplay: |   CommandLine: |   Parm: |   Version: QZa");
  EXPECT_EQ(usage.svc.ExitCode(), kExitUsage);

  Menu running({"&A|A"});
  running.transport.serverUp = [](int) { return true; };
  running.dialogs.answers = {Button::Cancel};
  running.Run("USERMENU QZ M qz.exe");
  EXPECT_EQ(running.dialogs.shown[0].caption, "Add Accessories Item");
  EXPECT_EQ(running.List(2), (Entries{"&A|A", "<absent>"}));
  EXPECT_EQ(running.App("QZ"), "<absent>");

  Menu closed({"&A|A"});
  closed.transport.serverUp = [](int attempt) { return attempt == 1; };
  closed.Run("USERMENU QZ M qz.exe");
  EXPECT_EQ(closed.List(2), (Entries{"&A|A", "M|QZ"}));

  Menu locked({"&A|A"});
  locked.files.failing[kIni] = FileError::SharingViolation;
  locked.Run("USERMENU QZ M qz.exe");
  EXPECT_EQ(locked.List(2), (Entries{"&A|A", "<absent>"}));
  EXPECT_EQ(locked.svc.ExitCode(), kExitFailed);
}

}  // namespace
}  // namespace qz
