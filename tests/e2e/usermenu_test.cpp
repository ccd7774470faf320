// USERMENU on a real IDE INI file under Wine, with and without the IDE running.
#include <gtest/gtest.h>

#include "e2e/driver_win32.h"

namespace qz::e2e {
namespace {

const char* const kSection = "Clarion 6.0  Enterprise Edition";

class UserMenu : public ::testing::Test {
 protected:
  void SetUp() override {
    std::string root = work_.Path() + "\\C6";
    CreateDirectoryA(root.c_str(), nullptr);
    CreateDirectoryA((root + "\\BIN").c_str(), nullptr);
    ini_ = root + "\\BIN\\C60EE.ini";
    WriteProfileStringA(kSection, "Root", root.c_str());
    WriteProfileStringA(kSection, "ExeName", "C60EE");
  }
  void TearDown() override { WriteProfileStringA(kSection, nullptr, nullptr); }
  std::string Entry(int key) {
    char buf[512];
    GetPrivateProfileStringA("User Menus", std::to_string(key).c_str(), "<absent>", buf, sizeof buf, ini_.c_str());
    return buf;
  }
  std::string App(const char* appRef) {
    char buf[512];
    GetPrivateProfileStringA("User Applications", appRef, "<absent>", buf, sizeof buf, ini_.c_str());
    return buf;
  }
  // Standard error is not redirected, as when an installer runs it from a console: the boxes go there.
  Launch Qzcl(const std::string& arguments, bool unattended = true) {
    Launch launch{arguments, work_.Path(), {}, false};
    if (unattended) launch.environment = {{"QZCL_UNATTENDED", "1"}};
    return launch;
  }

  TempDirectory work_;
  std::string ini_;
};

TEST_F(UserMenu, builds_the_menu_across_runs) {
  auto run = [&](const std::string& arguments) { return QzclProcess(Qzcl(arguments)).WaitForExit(); };
  EXPECT_EQ(run("USERMENU QZ &Tools-QZ+Tool \"C:\\Program Files\\QZ\\qz.exe\" -v"), 0u);
  EXPECT_EQ(Entry(1), "&Tools/QZ Tool|QZ");
  EXPECT_EQ(App("QZ"), "\"C:\\Program Files\\QZ\\qz.exe\" -v");
  EXPECT_EQ(run("MENU qz &Tools-QZ+Again qz.exe"), 0u);  // same application: replaced in place
  EXPECT_EQ(run("USERMENU HLP Ac&cessories-Help-Read+Me notepad.exe readme.txt"), 0u);
  EXPECT_EQ(Entry(1), "Ac&cessories/Help/Read Me|HLP");
  EXPECT_EQ(Entry(2), "&Tools/QZ Again|qz");
  EXPECT_EQ(Entry(3), "<absent>");
  // Gaps: what lies beyond the first empty key is never written over.
  WritePrivateProfileStringA("User Menus", "5", "Kept|KEPT", ini_.c_str());
  EXPECT_EQ(run("USERMENU NEW &New new.exe"), 0u);
  EXPECT_EQ(Entry(2), "&New|NEW");
  EXPECT_EQ(Entry(3), "&Tools/QZ Again|qz");
  EXPECT_EQ(Entry(5), "Kept|KEPT");
  EXPECT_EQ(run("USERMENU NEW"), 2u);
}

TEST_F(UserMenu, waits_for_the_running_ide_to_close) {
  StandInIde ide(work_.Path(), "");
  {
    QzclProcess qzcl(Qzcl("USERMENU QZ &QZ qz.exe", false));
    auto prompt = qzcl.WaitForBox();
    ASSERT_TRUE(prompt);
    EXPECT_EQ(prompt->caption, "Add Accessories Item");
    EXPECT_EQ(prompt->icon, IconKind::WinLogo);
    ASSERT_TRUE(qzcl.Press(*prompt, IDCANCEL));
    EXPECT_EQ(qzcl.WaitForExit(), 0u);
    EXPECT_EQ(Entry(1), "<absent>");
  }
  QzclProcess qzcl(Qzcl("USERMENU QZ &QZ qz.exe", false));
  auto prompt = qzcl.WaitForBox();
  ASSERT_TRUE(prompt);
  ide.Exit();
  ASSERT_TRUE(qzcl.Press(*prompt, IDOK));
  EXPECT_EQ(qzcl.WaitForExit(), 0u);
  EXPECT_EQ(Entry(1), "&QZ|QZ");
  EXPECT_EQ(App("QZ"), "qz.exe");
}

}  // namespace
}  // namespace qz::e2e
