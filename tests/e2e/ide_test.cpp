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

// A working folder with two templates, and an installation of version 6 whose IDE runs as exeName.
struct Work {
  explicit Work(const char* exeName = "C60EE") : installed(folder.Path() + "\\C6", exeName) {
    WriteWholeFile(folder.Path() + "\\a.tpl", "#TEMPLATE(A,'a')\r\n");
    WriteWholeFile(folder.Path() + "\\b.tpl", "#TEMPLATE(B,'b')\r\n");
    DeleteFileA(kInstallerDdeLog.c_str());
  }
  std::string IdeIni(const char* section, const char* key) const { return Ini(ini, section, key); }
  // The DDE log of a run: in its working folder, or among the temporary files when an installer ran it.
  std::string DdeLog(const char* key, bool unattended = false) const {
    return Ini(unattended ? kInstallerDdeLog : folder.Path() + "\\QZDE.LOG", "Connect", key);
  }
  bool Logged(const char* log) const { return ReadWholeFile(folder.Path() + log).find(kBoth) != std::string::npos; }
  Launch Qzcl(const std::string& arguments) const { return {arguments, folder.Path()}; }

  TempDirectory folder;
  Installed installed;
  const std::string ini = folder.Path() + "\\C6\\BIN\\C60EE.ini";
  const std::string bin = folder.Path() + "\\C6\\BIN";
  inline static const std::string kInstallerDdeLog = (std::filesystem::temp_directory_path() / "QZDE.LOG").string();
};

// REG registers both templates in one command with the running IDE; USERMENU waits until the IDE is closed;
// then REG, run by an installer, starts the IDE itself.
TEST(Ide, reg_registers_with_the_running_ide_usermenu_waits_for_it_to_close_and_reg_starts_it) {
  Work work;
  StandInIde ide(work.folder.Path());
  QzclProcess reg(work.Qzcl("REG a.tpl b.tpl"));
  EXPECT_TRUE(reg.NoWindowWithin(3000, true));
  EXPECT_EQ(reg.WaitForExit(), 0u);
  EXPECT_TRUE(work.Logged("\\ide.log"));
  EXPECT_EQ(work.IdeIni("Environment", "AutoPick"), "on");  // absent before: comes back as on
  EXPECT_EQ(work.DdeLog("Before Run"), "<absent>");
  EXPECT_NE(work.DdeLog("Run Error"), "<absent>");
  EXPECT_NE(work.DdeLog("Run Error"), "252");
  for (int button : {IDCANCEL, IDOK}) {
    QzclProcess qzcl(work.Qzcl("USERMENU QZ &QZ qz.exe"));
    auto prompt = qzcl.WaitForBox();
    ASSERT_TRUE(prompt);
    EXPECT_EQ(prompt->caption, "Add Accessories Item");
    EXPECT_EQ(prompt->icon, IconKind::WinLogo) << prompt->iconProblem;
    if (button == IDOK) ide.Exit();
    ASSERT_TRUE(qzcl.Press(*prompt, button));
    EXPECT_EQ(qzcl.WaitForExit(), 0u);
    EXPECT_EQ(work.IdeIni("User Menus", "1"), button == IDOK ? "&QZ|QZ" : "<absent>");
  }
  EXPECT_EQ(work.IdeIni("User Applications", "QZ"), "qz.exe");
  // From BIN, in BIN: not in the installer's folder, without our variables (the others stay), and without the
  // pipe from which the installer reads our output to its end.
  ASSERT_TRUE(
      CopyFileA((TestProgramDirectory() + "\\stand_in_ide.exe").c_str(), (work.bin + "\\C60EE.exe").c_str(), FALSE));
  DeleteFileA((work.folder.Path() + "\\QZDE.LOG").c_str());
  SetEnvironmentVariableA("QZ_KEPT", "1");
  SetEnvironmentVariableA("qzcl_any_case", "1");
  QzclProcess started({"REG a.tpl b.tpl", work.folder.Path(), true, false, true});
  SetEnvironmentVariableA("QZ_KEPT", nullptr);
  SetEnvironmentVariableA("qzcl_any_case", nullptr);
  EXPECT_EQ(started.OutputToEnd(40000), std::string());  // nothing written, and ended
  EXPECT_EQ(started.WaitForExit(), 0u);
  EXPECT_TRUE(FindWindowA("QzStandInIde", nullptr));
  EXPECT_TRUE(work.Logged("\\C6\\BIN\\stand_in_ide.log"));
  const auto ideLog = ReadWholeFile(work.bin + "\\stand_in_ide.log");
  EXPECT_EQ(ideLog.substr(0, ideLog.find(kBoth)), "folder " + work.bin + "\r\nenvironment QZ_KEPT=1\r\ninitiate\r\n");
  EXPECT_EQ(work.DdeLog("Before Run", true), "ClarionWin");
  EXPECT_NE(work.DdeLog("Run Error", true), "252");
  EXPECT_EQ(work.DdeLog("App"), "<absent>");
  // The IDE keeps running after the command; this test ends it.
  if (HWND running = FindWindowA("QzStandInIde", nullptr)) PostMessageA(running, WM_CLOSE, 0, 0);
  WaitUntil([] { return !FindWindowA("QzStandInIde", nullptr); }, 5000);
}

// The real clock: the attempts to reach an IDE that never answers end after 30 seconds, not sooner or never; an
// installer is told why it failed.
TEST(Ide, reg_gives_up_on_an_ide_that_cannot_be_started) {
  Work work("NoSuchIde");
  const std::string ini = work.bin + "\\NoSuchIde.ini";  // the INI file is named after the IDE's program
  WritePrivateProfileStringA("Environment", "AutoPick", "on", ini.c_str());
  const DWORD start = GetTickCount();
  QzclProcess qzcl({"REG a.tpl", work.folder.Path(), true, true});
  EXPECT_EQ(qzcl.WaitForExit(60000), 1u);
  EXPECT_EQ(qzcl.StandardError(), "The IDE did not answer: the templates were not registered.\n");
  const DWORD took = GetTickCount() - start;
  EXPECT_GE(took, 29000u);
  EXPECT_LT(took, 45000u);
  EXPECT_EQ(work.DdeLog("Run Error", true), "252");
  EXPECT_EQ(Ini(ini, "Environment", "AutoPick"), "on");
}

// AutoPick is never lost: a REG killed while it waits for the IDE leaves the user's value noted, and the next
// command for the installation puts it back; two REG runs at once take turns.
TEST(Ide, the_user_s_auto_pick_survives_a_killed_registration_and_two_at_once) {
  Work work;  // no C60EE.exe anywhere: REG waits for an IDE that never comes
  WritePrivateProfileStringA("Environment", "AutoPick", "on", work.ini.c_str());
  const std::string note = work.bin + "\\QZCL AutoPick.txt";
  {
    QzclProcess waiting({"REG a.tpl", work.folder.Path(), true});
    ASSERT_TRUE(WaitUntil([&] { return work.IdeIni("Environment", "AutoPick") == "off"; }));
    EXPECT_EQ(ReadWholeFile(note), "AutoPick=on\r\n");
  }  // killed during its wait
  EXPECT_EQ(work.IdeIni("Environment", "AutoPick"), "off");
  QzclProcess menu({"USERMENU QZ &QZ qz.exe", work.folder.Path(), true});
  EXPECT_EQ(menu.WaitForExit(), 0u);
  EXPECT_TRUE(work.IdeIni("Environment", "AutoPick") == "on" && !std::filesystem::exists(note));
  {
    StandInIde ide(work.folder.Path());
    QzclProcess first({"REG a.tpl", work.folder.Path(), true}), second({"REG b.tpl", work.folder.Path(), true});
    EXPECT_TRUE(first.WaitForExit() == 0u && second.WaitForExit() == 0u);
  }
  EXPECT_TRUE(work.IdeIni("Environment", "AutoPick") == "on" && !std::filesystem::exists(note));
}

}  // namespace
}  // namespace qz::e2e
