// qzcl.exe started with a command word: the boxes that describe it, as shown and as written by unattended
// runs, EDIT without a desktop, and RUN through the real shell.
#include <gtest/gtest.h>

#include <tuple>

#include "e2e/driver_win32.h"

namespace qz::e2e {
namespace {

// The boxes' texts exactly as on screen.
const char* const kSummary =
    "Command Line Parameters are:\n\n"
    "     No Command - Display version notes window. Called from Accessories menu, this uses the current working "
    "directory.\n"
    "     Version Parameter defaults to 6. Options: are 2,4,5,55 or 6]\n"
    "     EDIT [Version - Defaults to Versiono=6] - Allows you to edit Clarion User Menus, File Types, Open Dialog, "
    "Pick Dialog, and QZCL Translations.\n"
    "     ENV EnvironmentVariable EnvironmnetValue - sets the value of the passed environment variable.\n"
    "     INCLUDE TemplateFile IncludeFile - Adds an include file to a template file, i.e. #IncludeFile#\n"
    "     ABCPATH Path [Version] This will change ABC include file source directory and run clarion.\n"
    "     RED - Section Entry Path [Version] Adds path to [Section] and Entry in Clarion Redirection File\n"
    "     RUN - Commandline [Parm1] [Parm2] etc. - Call ShellExec witht the command line and any parameters.\n"
    "     REG TemplateToRegister [Versions 2/4/5/55/6]\n"
    "     USERMENU AppRef Menu+Display-Menu+Display CommandLine [Parm1+Parm2+Parm3] [Version]\n"
    "        + becomes a space and- becomes a \"/\" Quotes may also be used to separate items\n"
    // one line for each removal command, after the lines above
    "     UNRED Section Entry Path [Version] - Removes path from [Section] and Entry in Clarion Redirection File\n"
    "     UNENV EnvironmentVariable EnvironmentValue - removes the value from the environment variable.\n"
    "     UNMENU AppRef [Version] - Removes the AppRef's items from the Clarion User Menus.\n"
    "     UNINCLUDE TemplateFile IncludeFile - Removes the include line INCLUDE added to a template file.\n"
    "     WHERE [Version] or WHERE * - Prints where Clarion is installed, for installation programs.\n"
    "     OWNERS [Owner] - Lists what installers added with /OWNER=, for installation programs.";

const char* const kDescription =
    "The QZInstall is a \"Command Line\" Clarion Utility.  From the command line you can:\n"
    "    Register a template using DDE\n"
    "    Add Menu Items to the Clarion Environment\n"
    "    Add includes files to a template\n"
    "    Change the source directory for ABC compliant INClude files.\n\n"
    "Great for use with Wise InstallBuilder Execute Program script. This is what we now uses for all our "
    "installation programs! Also run it from the Window's Run dialog or an EQUATE() or create project specific ABC "
    "library directories and use it to start Clarion using a selected directory.";

TEST(Words, each_box_is_shown_with_the_windows_logo_or_written_unattended_with_the_exit_code) {
  // The arguments, whether unattended, the box's caption and text, and the exit code (0 for every interactive run).
  const std::tuple<const char*, bool, const char*, const char*, DWORD> cases[] = {
      {"CMD", false, "QZCL Utility", kSummary, 0},
      {"FOO", false, "QZInstall", kDescription, 0},
      {"CMD", true, "QZCL Utility", kSummary, 0},
      {"FOO", true, "QZInstall", kDescription, 2},
      {"EDIT", true, "QZCL", "The editor is a window and cannot run without a desktop.", 2}};
  TempDirectory work;
  Installed ide(work.Path() + "\\C6");
  for (auto [arguments, unattended, caption, text, exitCode] : cases) {
    SCOPED_TRACE(std::string(arguments) + (unattended ? " unattended" : ""));
    QzclProcess qzcl({arguments, work.Path(), unattended, unattended});
    if (unattended) {
      EXPECT_TRUE(qzcl.NoWindowWithin(kBoxTimeoutMs)) << "a window appeared";
      EXPECT_EQ(qzcl.WaitForExit(), exitCode);
      EXPECT_EQ(qzcl.StandardError(), "=== " + std::string(caption) + " ===\n" + text + "\n[OK] -> OK\n");
      continue;
    }
    std::optional<Box> box = qzcl.WaitForBox();
    ASSERT_TRUE(box) << "no message box appeared";
    EXPECT_EQ(box->caption, caption);
    EXPECT_EQ(box->text, text);
    EXPECT_EQ(box->icon, IconKind::WinLogo) << box->iconProblem;
    EXPECT_EQ(box->buttons, std::vector<int>{IDOK});
    ASSERT_TRUE(qzcl.Press(*box, IDOK));
    EXPECT_TRUE(qzcl.NoWindowWithin(1000, true)) << "a second box appeared";
    EXPECT_EQ(qzcl.WaitForExit(), exitCode);
  }
}

TEST(Run, hands_a_program_with_a_blank_in_its_path_to_the_shell) {
  TempDirectory work;
  const std::string program = work.Path() + "\\stand in.exe";  // any program will do: one that stays up to be seen
  ASSERT_TRUE(CopyFileA((TestProgramDirectory() + "\\stand_in_ide.exe").c_str(), program.c_str(), FALSE));
  ASSERT_FALSE(FindWindowA("QzStandInIde", nullptr)) << "an earlier one still runs";
  QzclProcess qzcl({"RUN \"" + program + "\"", work.Path(), true, true});
  EXPECT_EQ(qzcl.WaitForExit(), 0u);
  HWND started = nullptr;
  EXPECT_TRUE(WaitUntil([&] { return (started = FindWindowA("QzStandInIde", nullptr)) != nullptr; }, 5000));
  PostMessageA(started, WM_CLOSE, 0, 0);
  WaitUntil([] { return !FindWindowA("QzStandInIde", nullptr); }, 5000);
}

}  // namespace
}  // namespace qz::e2e
