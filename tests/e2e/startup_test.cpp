// qzcl.exe started with a command word: the command summary, the general description, unattended runs.
#include <gtest/gtest.h>

#include <initializer_list>
#include <string>

#include "e2e/driver_win32.h"

namespace qz::e2e {
namespace {

// The pieces of a message text joined, with "|" shown as a line break as on screen.
std::string OnScreen(std::initializer_list<const char*> pieces) {
  std::string text;
  for (const char* piece : pieces) text += piece;
  for (char& c : text)
    if (c == '|') c = '\n';
  return text;
}

const std::string kSummary = OnScreen({
    "Command Line Parameters are:",
    "|",
    "|     ",
    "No Command - Display version notes window. Called from Accessories menu, this uses the current working "
    "directory.",
    "|     ",
    "Version Parameter defaults to 6. Options: are 2,4,5,55 or 6]",
    "|     ",
    "EDIT [Version - Defaults to Versiono=6] - Allows you to edit Clarion User Menus, File Types, Open Dialog, "
    "Pick Dialog, and QZCL Translations.",
    "|     ",
    "ENV EnvironmentVariable EnvironmnetValue - sets the value of the passed environment variable.",
    "|     ",
    "INCLUDE TemplateFile IncludeFile - Adds an include file to a template file, i.e. #IncludeFile#",
    "|     ",
    "ABCPATH Path [Version] This will change ABC include file source directory and run clarion.",
    "|     ",
    "RED - Section Entry Path [Version] Adds path to [Section] and Entry in Clarion Redirection File",
    "|     ",
    "RUN - Commandline [Parm1] [Parm2] etc. - Call ShellExec witht the command line and any parameters.",
    "|     ",
    "REG TemplateToRegister [Versions 2/4/5/55/6]",
    "|     ",
    "USERMENU AppRef Menu+Display-Menu+Display CommandLine [Parm1+Parm2+Parm3] [Version]",
    "|        ",
    "+ becomes a space and- becomes a \"/\" Quotes may also be used to separate items",
});

const std::string kDescription = OnScreen({
    "The QZInstall is a \"Command Line\" Clarion Utility.  ",
    "From the command line you can:",
    "|    ",
    "Register a template using DDE",
    "|    ",
    "Add Menu Items to the Clarion Environment",
    "|    ",
    "Add includes files to a template",
    "|    ",
    "Change the source directory for ABC compliant INClude files.",
    "||",
    "Great for use with Wise InstallBuilder Execute Program script.",
    " ",
    "This is what we now uses for all our installation programs!",
    " ",
    "Also run it from the Window's Run dialog or an EQUATE() or create project specific ABC library "
    "directories and use it to start Clarion using a selected directory.",
});

const std::string kSummaryCaption = "QZCL Utility";
const std::string kDescriptionCaption = "QZInstall";

struct WordCase {
  const char* arguments;
  const std::string* caption;
  const std::string* text;
};

void PrintTo(const WordCase& c, std::ostream* os) { *os << "qzcl.exe " << c.arguments; }

class InteractiveWord : public testing::TestWithParam<WordCase> {
 protected:
  TempDirectory folder_;
};

TEST_P(InteractiveWord, shows_one_box_with_the_windows_logo_and_ends_with_0_on_ok) {
  const WordCase& c = GetParam();
  Launch launch;
  launch.arguments = c.arguments;
  launch.directory = folder_.Path();
  QzclProcess qzcl(launch);
  ASSERT_TRUE(qzcl.Started()) << qzcl.StartError();

  std::optional<Box> box = qzcl.WaitForBox();
  ASSERT_TRUE(box) << "no message box appeared";
  EXPECT_EQ(box->caption, *c.caption);
  EXPECT_EQ(box->text, *c.text);
  EXPECT_EQ(box->icon, IconKind::WinLogo) << box->iconProblem;
  EXPECT_EQ(box->ButtonIds(), std::vector<int>{IDOK});

  ASSERT_TRUE(qzcl.Press(*box, IDOK));
  EXPECT_TRUE(qzcl.NoBoxWithin(1000)) << "a second box appeared";
  EXPECT_EQ(qzcl.WaitForExit(), std::optional<DWORD>(0));
}

INSTANTIATE_TEST_SUITE_P(
    Words, InteractiveWord,
    testing::Values(WordCase{"CMD", &kSummaryCaption, &kSummary},
                    WordCase{"cmd", &kSummaryCaption, &kSummary},          // the word is upper-cased
                    WordCase{"\"Cmd\"", &kSummaryCaption, &kSummary},      // the quotes are dropped
                    WordCase{"CMD/X", &kSummaryCaption, &kSummary},        // "/" starts the next parameter
                    WordCase{"CMD,X", &kSummaryCaption, &kSummary},        // so does a comma
                    WordCase{"CMD extra words", &kSummaryCaption, &kSummary},
                    WordCase{"FOO", &kDescriptionCaption, &kDescription},
                    WordCase{"REGX", &kDescriptionCaption, &kDescription},  // no prefix matching
                    WordCase{"CMDX", &kDescriptionCaption, &kDescription}));

struct UnattendedCase {
  const char* arguments;
  const std::string* caption;
  const std::string* text;
  DWORD exitCode;
};

void PrintTo(const UnattendedCase& c, std::ostream* os) { *os << "unattended qzcl.exe " << c.arguments; }

class UnattendedWord : public testing::TestWithParam<UnattendedCase> {
 protected:
  TempDirectory folder_;
};

TEST_P(UnattendedWord, writes_the_box_to_standard_error_without_a_window) {
  const UnattendedCase& c = GetParam();
  QzclProcess qzcl({.arguments = c.arguments,
                    .directory = folder_.Path(),
                    .environment = {{"QZCL_UNATTENDED", "1"}},
                    .captureStandardError = true});
  ASSERT_TRUE(qzcl.Started()) << qzcl.StartError();

  EXPECT_TRUE(qzcl.NoWindowWithin(kBoxTimeoutMs)) << "a window appeared";
  EXPECT_EQ(qzcl.WaitForExit(), std::optional<DWORD>(c.exitCode));
  EXPECT_EQ(qzcl.StandardError(), "=== " + *c.caption + " ===\n" + *c.text + "\n[OK] -> OK\n");
}

INSTANTIATE_TEST_SUITE_P(Words, UnattendedWord,
                         testing::Values(UnattendedCase{"CMD", &kSummaryCaption, &kSummary, 0},
                                         UnattendedCase{"FOO", &kDescriptionCaption, &kDescription, 2}));

}  // namespace
}  // namespace qz::e2e
