#include <gtest/gtest.h>

#include "app/dispatcher.h"
#include "unit/harness.h"

namespace qz {
namespace {

const char* const kRed = "C:\\C6\\BIN\\C60EE.RED";
const char* const kIni = "C:\\C6\\BIN\\C60EE.ini.";

struct Command : fake::Harness {
  Command() {
    profile.Write("", "Clarion 6.0  Enterprise Edition", "Root", "C:\\C6");
    profile.Write("", "Clarion 6.0  Enterprise Edition", "ExeName", "C60EE");
    files.existing.insert(kRed);
  }
  std::string Value(const char* file, const char* section, const char* entry) {
    const std::string* v = profile.Find(file, section, entry);
    return v ? *v : "<absent>";
  }
};

TEST(red, adds_a_directory_unless_the_entry_lists_it) {
  struct Case {
    const char* before;  // nullptr: no entry
    const char* path;
    const char* after;
  } cases[] = {
      {nullptr, "C:\\Tools", "C:\\Tools"},
      {"C:\\A;C:\\Tools", "C:\\Tools", "C:\\A;C:\\Tools"},
      {"C:\\A;C:\\Tools\\", "C:\\Tools", "C:\\A;C:\\Tools\\"},  // one trailing backslash is no difference
      {"C:\\Tools2", "C:\\Tools", "C:\\Tools2;C:\\Tools"},        // not a substring test
      {"C:\\TOOLS", "C:\\Tools", "C:\\TOOLS;C:\\Tools"},           // letter case counts
      {"C:\\A;  ", "C:\\B", "C:\\A;;C:\\B"},
  };
  for (const auto& c : cases) {
    Command t;
    if (c.before) t.profile.Write(kRed, "Common", "*.tpl", c.before);
    t.Run(std::string("RED Common *.tpl ") + c.path);
    EXPECT_EQ(t.Value(kRed, "Common", "*.tpl"), c.after) << c.path;
    EXPECT_TRUE(t.dialogs.shown.empty());
  }
}

TEST(red, long_values_are_kept_whole) {
  Command t;
  std::string listed(3000, 'x');
  t.profile.Write(kRed, "Common", "*.inc", listed);
  t.Run("RED Common *.inc C:\\New");
  EXPECT_EQ(t.Value(kRed, "Common", "*.inc"), listed + ";C:\\New");
}

TEST(red, refuses_what_it_cannot_do_safely) {
  struct Case {
    const char* arguments;
    FileError redFile;
    bool writeFails;
    const char* caption;
    int exitCode;
  } cases[] = {
      {"RED Common *.tpl", FileError::None, false, "Redirecton Command Error", kExitUsage},
      {"redirect Common \"\" C:\\x", FileError::None, false, "Redirecton Command Error", kExitUsage},
      {"RED Common *.tpl C:\\x", FileError::SharingViolation, false, "QZCL File Error", kExitFailed},
      {"REDIRECTION Common *.tpl C:\\x", FileError::None, true, "QZCL File Error", kExitFailed},
  };
  for (const auto& c : cases) {
    Command t;
    t.profile.Write(kRed, "Common", "*.tpl", "C:\\A");
    if (c.redFile != FileError::None) t.files.failing[kRed] = c.redFile;
    t.profile.failWrites = c.writeFails;
    t.Run(c.arguments);
    EXPECT_EQ(t.Value(kRed, "Common", "*.tpl"), "C:\\A") << c.arguments;
    ASSERT_EQ(t.dialogs.shown.size(), 1u) << c.arguments;
    EXPECT_EQ(t.dialogs.shown[0].caption, c.caption) << c.arguments;
    EXPECT_EQ(t.svc.ExitCode(), c.exitCode) << c.arguments;
  }
  Command usage;
  usage.Run("RED Common *.tpl");
  EXPECT_EQ(usage.dialogs.shown[0].text,
            "Redirection Command should be RED Section Entry Path Version.|  Actual Command: RED Common *.tpl|  "
            "Redirection File: C:\\C6\\BIN\\C60EE.RED|  Version: 60");
}

TEST(abcpath, sets_the_library_path_in_upper_case_and_starts_the_ide) {
  for (const char* word : {"ABCPATH", "LIBSRC", "class"}) {
    Command q;
    q.Run(std::string(word) + " \"c:\\My Libs\\abc\" 6");
    EXPECT_EQ(q.Value(kIni, "Paths", "Libsrc"), "C:\\MY LIBS\\ABC") << word;
    EXPECT_EQ(q.processes.started, std::vector<std::string>{"C60EE"}) << word;
  }
  Command missing;
  missing.Run("ABCPATH");
  ASSERT_EQ(missing.dialogs.shown.size(), 1u);
  EXPECT_EQ(missing.dialogs.shown[0].caption, "Set ABC Library Directory");
  EXPECT_EQ(missing.dialogs.shown[0].text, "File parameter missing from command line");
  EXPECT_TRUE(missing.processes.started.empty());
}

TEST(include, appends_its_line_on_a_line_of_its_own_once) {
  struct Case {
    const char* before;
    const char* after;
  } cases[] = {
      {"#TEMPLATE(A)\r\n", "#TEMPLATE(A)\r\n\r\n#INCLUDE('x.tpw')\r\n"},
      {"#TEMPLATE(A)\r\n\r\n", "#TEMPLATE(A)\r\n\r\n#INCLUDE('x.tpw')\r\n"},
      {"", "#INCLUDE('x.tpw')\r\n"},
      {"#TEMPLATE(A)", "#TEMPLATE(A)\r\n\r\n#INCLUDE('x.tpw')\r\n"},  // no final line end: never joined
      {"a\r\n#! #INCLUDE('x.tpw') here\r\n", "a\r\n#! #INCLUDE('x.tpw') here\r\n"},
      {"#include('x.tpw')\r\n", "#include('x.tpw')\r\n\r\n#INCLUDE('x.tpw')\r\n"},
      {"#INCLUDE('X.TPW')\r\n", "#INCLUDE('X.TPW')\r\n\r\n#INCLUDE('x.tpw')\r\n"},
  };
  for (const auto& c : cases) {
    Command t;
    t.heldFile.files["my.tpl"] = c.before;
    t.Run("INCLUDE my.tpl x.tpw");
    t.Run("INCLUDE my.tpl x.tpw");  // twice: added once
    EXPECT_EQ(t.heldFile.files["my.tpl"], c.after) << c.before;
    EXPECT_FALSE(t.heldFile.IsOpen());
    EXPECT_TRUE(t.dialogs.shown.empty());
  }
}

TEST(include, is_silent_when_it_can_do_nothing) {
  struct Case {
    const char* arguments;
    int exitCode;
  } cases[] = {{"INCLUDE my.tpl", kExitSuccess}, {"INCLUDE gone.tpl x.tpw", kExitFailed},
               {"INCLUDE locked.tpl x.tpw", kExitFailed}};
  for (const auto& c : cases) {
    Command t;
    t.heldFile.files["my.tpl"] = "a\r\n";
    t.heldFile.files["locked.tpl"] = "a\r\n";
    t.heldFile.openFailures["locked.tpl"] = FileError::SharingViolation;
    t.Run(c.arguments);
    EXPECT_EQ(t.heldFile.files["my.tpl"], "a\r\n");
    EXPECT_EQ(t.heldFile.files.count("gone.tpl"), 0u);
    EXPECT_TRUE(t.dialogs.shown.empty());
    EXPECT_EQ(t.svc.ExitCode(), c.exitCode) << c.arguments;
  }
}

TEST(run, joins_the_tokens_for_the_shell) {
  struct Case {
    const char* arguments;
    const char* opened;
  } cases[] = {
      {"RUN \"C:\\Program Files\\x.exe\" a", "\"C:\\Program Files\\x.exe\" a"},
      {"RUN   notepad.exe    readme.txt", "notepad.exe readme.txt"},
      {"RUN \"\" a", "a"},
      {"RUN a \"\" b", "a  b"},
      {"RUN \" x\"", "\"x \""},
  };
  for (const auto& c : cases) {
    Command t;
    t.Run(c.arguments);
    EXPECT_EQ(t.shell.opened, std::vector<std::string>{c.opened}) << c.arguments;
  }
  Command nothing;
  nothing.Run("RUN");
  EXPECT_TRUE(nothing.shell.opened.empty());
  ASSERT_EQ(nothing.dialogs.shown.size(), 1u);
  EXPECT_EQ(nothing.dialogs.shown[0].caption, "Run Command Error");
  EXPECT_EQ(nothing.dialogs.shown[0].text, "The Run command Should be RUN CommandLine.|  The Actuall Command is: RUN");
  EXPECT_EQ(nothing.dialogs.shown[0].icon, Icon::WinLogo);
}

}  // namespace
}  // namespace qz
