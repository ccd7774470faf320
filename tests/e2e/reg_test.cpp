// qzcl.exe REG against a stand-in IDE that serves the DDE service and logs what it receives.
#include <gtest/gtest.h>

#include "e2e/driver_win32.h"

namespace qz::e2e {
namespace {

const char* const kSection = "Clarion 6.0  Enterprise Edition";

std::string Ini(const std::string& file, const char* section, const char* key) {
  char buf[256];
  GetPrivateProfileStringA(section, key, "<absent>", buf, sizeof buf, file.c_str());
  return buf;
}

// A working folder with an installation of version 6 named in WIN.INI, and two templates.
class Reg : public ::testing::Test {
 protected:
  void SetUp() override {
    root_ = work_.Path() + "\\C6";
    CreateDirectoryA(root_.c_str(), nullptr);
    CreateDirectoryA((root_ + "\\BIN").c_str(), nullptr);
    WriteWholeFile(work_.Path() + "\\a.tpl", "#TEMPLATE(A,'a')\r\n");
    WriteWholeFile(work_.Path() + "\\b.tpl", "#TEMPLATE(B,'b')\r\n");
  }
  void TearDown() override { WriteProfileStringA(kSection, nullptr, nullptr); }
  void Install(const char* exeName) {
    WriteProfileStringA(kSection, "Root", root_.c_str());
    WriteProfileStringA(kSection, "ExeName", exeName);
  }
  std::string IdeIni() const { return root_ + "\\BIN\\C60EE.ini"; }
  std::string DdeLog(const char* key) const { return Ini(work_.Path() + "\\QZDE.LOG", "Connect", key); }
  std::string Received() const { return ReadWholeFile(work_.Path() + "\\ide.log"); }
  Launch Qzcl(const std::string& arguments) const { return {arguments, work_.Path(), {}, false}; }

  TempDirectory work_;
  std::string root_;
};

const char* const kBoth = "[RegisterTemplateChain(\"a.tpl\" \"b.tpl\",0)]";

TEST_F(Reg, registers_both_templates_with_the_running_ide_in_one_command) {
  Install("C60EE");
  StandInIde ide(work_.Path(), "");
  QzclProcess qzcl(Qzcl("REG a.tpl b.tpl"));
  EXPECT_TRUE(qzcl.NoBoxWithin(3000));
  EXPECT_EQ(qzcl.WaitForExit(), 0u);
  EXPECT_NE(Received().find(kBoth), std::string::npos) << Received();
  EXPECT_EQ(Ini(IdeIni(), "Environment", "AutoPick"), "on");  // absent before: comes back as on
  EXPECT_EQ(DdeLog("Before Run"), "<absent>");
  EXPECT_NE(DdeLog("Run Error"), "<absent>");
  EXPECT_NE(DdeLog("Run Error"), "252");
}

TEST_F(Reg, names_a_missing_template_and_registers_the_others) {
  Install("C60EE");
  WritePrivateProfileStringA("Environment", "AutoPick", "off", IdeIni().c_str());
  StandInIde ide(work_.Path(), "");
  QzclProcess qzcl(Qzcl("REG gone.tpl b.tpl"));
  auto box = qzcl.WaitForBox();
  ASSERT_TRUE(box);
  EXPECT_EQ(box->caption, "QZCL Register Error");
  EXPECT_EQ(box->text, "Template file gone.tpl does not exist.");
  EXPECT_EQ(box->icon, IconKind::Information);
  EXPECT_EQ(box->ButtonIds(), std::vector<int>{IDOK});
  ASSERT_TRUE(qzcl.Press(*box, IDOK));
  EXPECT_EQ(qzcl.WaitForExit(), 0u);
  EXPECT_NE(Received().find("[RegisterTemplateChain(\"b.tpl\",0)]"), std::string::npos) << Received();
  EXPECT_EQ(Ini(IdeIni(), "Environment", "AutoPick"), "off");
}

TEST_F(Reg, starts_the_ide_when_it_is_not_running) {
  Install("C60EE");
  // The IDE is found by the system's search, here in the working folder.
  ASSERT_TRUE(CopyFileA((TestProgramDirectory() + "\\stand_in_ide.exe").c_str(),
                        (work_.Path() + "\\C60EE.exe").c_str(), FALSE));
  QzclProcess qzcl(Qzcl("REG a.tpl b.tpl"));
  EXPECT_EQ(qzcl.WaitForExit(40000), 0u);
  std::string received = ReadWholeFile(work_.Path() + "\\stand_in_ide.log");
  EXPECT_NE(received.find(kBoth), std::string::npos) << received;
  EXPECT_EQ(DdeLog("Before Run"), "ClarionWin");
  EXPECT_NE(DdeLog("Run Error"), "0");
  EXPECT_NE(DdeLog("Run Error"), "252");
  // The IDE keeps running after the command; this test ends it.
  if (HWND ide = FindWindowA("QzStandInIde", nullptr)) PostMessageA(ide, WM_CLOSE, 0, 0);
  for (int i = 0; i < 100 && FindWindowA("QzStandInIde", nullptr); ++i) Sleep(50);
}

TEST_F(Reg, gives_up_on_an_ide_that_cannot_be_started) {
  Install("NoSuchIde");
  WritePrivateProfileStringA("Environment", "AutoPick", "on", IdeIni().c_str());
  const DWORD start = GetTickCount();
  QzclProcess qzcl(Qzcl("REG a.tpl"));
  EXPECT_TRUE(qzcl.NoBoxWithin(2000));
  EXPECT_EQ(qzcl.WaitForExit(60000), 0u);
  const DWORD took = GetTickCount() - start;
  EXPECT_GE(took, 29000u);
  EXPECT_LT(took, 45000u);
  EXPECT_EQ(DdeLog("Run Error"), "252");
  EXPECT_EQ(Ini(IdeIni(), "Environment", "AutoPick"), "on");
}

TEST_F(Reg, a_missing_installation_shows_what_was_looked_for) {
  QzclProcess qzcl(Qzcl("REG a.tpl 5.5"));
  auto box = qzcl.WaitForBox();
  ASSERT_TRUE(box);
  EXPECT_EQ(box->caption, "Entry Not Found");
  EXPECT_EQ(box->text,
            "The QZ Command program looks for Clarion information in the WIN.INI file.\nRequired information was "
            "not found.\n\nCommand was: REG a.tpl 5.5\nCW Version: 55\nEE File: Clarion 5.5  Enterprise "
            "Edition\nPE File: Clarion 5.5\nRoot: \nExeName: ");
  EXPECT_EQ(box->icon, IconKind::Information);
  EXPECT_EQ(box->ButtonIds(), std::vector<int>{IDOK});
  ASSERT_TRUE(qzcl.Press(*box, IDOK));
  EXPECT_EQ(qzcl.WaitForExit(), 0u);
}

TEST_F(Reg, unattended_a_rejected_command_fails_the_run) {
  Install("C60EE");
  StandInIde ide(work_.Path(), "--reject");
  Launch launch = Qzcl("REG a.tpl");
  launch.environment = {{"QZCL_UNATTENDED", "1"}};
  QzclProcess qzcl(launch);
  EXPECT_TRUE(qzcl.NoWindowWithin(2000));
  EXPECT_EQ(qzcl.WaitForExit(), 1u);
  EXPECT_NE(Received().find("[RegisterTemplateChain(\"a.tpl\",0)]"), std::string::npos) << Received();
}

}  // namespace
}  // namespace qz::e2e
