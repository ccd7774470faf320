// qzcl.exe REG and USERMENU with the IDE running (a stand-in that serves the DDE service and logs what it
// receives), started by the command, or not startable.
#include <gtest/gtest.h>

#include "e2e/driver_win32.h"

namespace qz::e2e {
namespace {

const char* const kBoth = "[RegisterTemplateChain(\"a.tpl\" \"b.tpl\",0)]";

std::string Ini(const std::string& file, const char* section, const char* key) {
  char buf[256];
  GetPrivateProfileStringA(section, key, "<absent>", buf, sizeof buf, file.c_str());
  return buf;
}

bool Holds(const std::string& log, const std::string& text) { return log.find(text) != std::string::npos; }

// A working folder with two templates, and the folder of an installation of version 6.
class Ide : public ::testing::Test {
 protected:
  void SetUp() override {
    WriteWholeFile(work_.Path() + "\\a.tpl", "#TEMPLATE(A,'a')\r\n");
    WriteWholeFile(work_.Path() + "\\b.tpl", "#TEMPLATE(B,'b')\r\n");
  }
  std::string IdeIni(const char* section, const char* key) const { return Ini(ini_, section, key); }
  std::string DdeLog(const char* key) const { return Ini(work_.Path() + "\\QZDE.LOG", "Connect", key); }
  Launch Qzcl(const std::string& arguments) const { return {arguments, work_.Path()}; }

  TempDirectory work_;
  const std::string root_ = work_.Path() + "\\C6", ini_ = root_ + "\\BIN\\C60EE.ini";
};

// With the IDE running: REG registers both templates in one command; USERMENU waits until the IDE is closed.
TEST_F(Ide, reg_registers_with_the_running_ide_and_usermenu_waits_for_it_to_close) {
  Installed installed(root_);
  StandInIde ide(work_.Path());
  QzclProcess reg(Qzcl("REG a.tpl b.tpl"));
  EXPECT_TRUE(reg.NoWindowWithin(3000, true));
  EXPECT_EQ(reg.WaitForExit(), 0u);
  EXPECT_TRUE(Holds(ReadWholeFile(work_.Path() + "\\ide.log"), kBoth));
  EXPECT_EQ(IdeIni("Environment", "AutoPick"), "on");  // absent before: comes back as on
  EXPECT_EQ(DdeLog("Before Run"), "<absent>");
  EXPECT_NE(DdeLog("Run Error"), "<absent>");
  EXPECT_NE(DdeLog("Run Error"), "252");
  for (int button : {IDCANCEL, IDOK}) {
    QzclProcess qzcl(Qzcl("USERMENU QZ &QZ qz.exe"));
    auto prompt = qzcl.WaitForBox();
    ASSERT_TRUE(prompt);
    EXPECT_EQ(prompt->caption, "Add Accessories Item");
    EXPECT_EQ(prompt->icon, IconKind::WinLogo) << prompt->iconProblem;
    if (button == IDOK) ide.Exit();
    ASSERT_TRUE(qzcl.Press(*prompt, button));
    EXPECT_EQ(qzcl.WaitForExit(), 0u);
    EXPECT_EQ(IdeIni("User Menus", "1"), button == IDOK ? "&QZ|QZ" : "<absent>");
  }
  EXPECT_EQ(IdeIni("User Applications", "QZ"), "qz.exe");
}

TEST_F(Ide, reg_starts_the_ide_when_it_is_not_running) {
  Installed installed(root_);
  // The IDE is found by the system's search, here in the working folder.
  ASSERT_TRUE(CopyFileA((TestProgramDirectory() + "\\stand_in_ide.exe").c_str(),
                        (work_.Path() + "\\C60EE.exe").c_str(), FALSE));
  QzclProcess qzcl(Qzcl("REG a.tpl b.tpl"));
  EXPECT_EQ(qzcl.WaitForExit(40000), 0u);
  EXPECT_TRUE(Holds(ReadWholeFile(work_.Path() + "\\stand_in_ide.log"), kBoth));
  EXPECT_EQ(DdeLog("Before Run"), "ClarionWin");
  EXPECT_NE(DdeLog("Run Error"), "0");
  EXPECT_NE(DdeLog("Run Error"), "252");
  // The IDE keeps running after the command; this test ends it.
  if (HWND ide = FindWindowA("QzStandInIde", nullptr)) PostMessageA(ide, WM_CLOSE, 0, 0);
  WaitUntil([] { return !FindWindowA("QzStandInIde", nullptr); }, 5000);
}

// The real clock: the attempts to reach an IDE that never answers end after 30 seconds, not sooner or never.
TEST_F(Ide, reg_gives_up_on_an_ide_that_cannot_be_started) {
  Installed installed(root_, "NoSuchIde");
  WritePrivateProfileStringA("Environment", "AutoPick", "on", ini_.c_str());
  const DWORD start = GetTickCount();
  QzclProcess qzcl(Qzcl("REG a.tpl"));
  EXPECT_TRUE(qzcl.NoWindowWithin(2000, true));
  EXPECT_EQ(qzcl.WaitForExit(60000), 0u);
  const DWORD took = GetTickCount() - start;
  EXPECT_GE(took, 29000u);
  EXPECT_LT(took, 45000u);
  EXPECT_EQ(DdeLog("Run Error"), "252");
  EXPECT_EQ(IdeIni("Environment", "AutoPick"), "on");
}

}  // namespace
}  // namespace qz::e2e
