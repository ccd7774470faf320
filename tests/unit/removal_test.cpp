// The removal commands for uninstallers: each undoes its adding command byte for byte on what the installer
// found, takes out an item that was there before, and a second run changes nothing.
#include <gtest/gtest.h>

#include "unit/harness.h"

namespace qz {
namespace {

using fake::kIdeIni;
using Strings = std::vector<std::string>;

const char* const kRed = "C:\\C6\\BIN\\C60EE.RED";
const std::string kEnvKey = "SYSTEM\\CurrentControlSet\\Control\\Session Manager\\Environment\\";

struct Uninstall : fake::Harness {
  Uninstall() { InstallVersion6(); }
  // Runs the adding command, then the removal command twice; the file's bytes after each step.
  Strings RoundTrip(const std::string& file, const std::string& add, const std::string& remove) {
    Strings steps;
    Run(add);
    steps.push_back(files.contents[file]);
    Run(remove);
    steps.push_back(files.contents[file]);
    const int writes = files.replaces;
    Run(remove);
    EXPECT_EQ(files.replaces, writes) << "a second removal writes nothing";
    return steps;
  }
};

TEST(unred, takes_out_what_red_added_and_leaves_every_other_byte) {
  const std::string head = "; vendor paths\r\n[Common]\r\n*.tpl =  C:\\A ; C:\\B\\  \r\n\r\n";
  const struct {
    std::string before, path;
    std::optional<std::string> after;  // after the removal, where it is not the file before
  } cases[] = {
      {head, "C:\\X"},                     // a new entry in a new section
      {head + "[Other]\r\nx=1", "C:\\X"},  // after a last line without its end
      {"", "\"C:\\X;C:\\Y\""},             // a new file, two items
      // C:\A was there before: nothing is left, so the entry and its section go
      {"[Common]\r\n*.tpl=C:\\A\r\n", "\"C:\\X;C:\\A\"", ""},
      // listed before, and listed twice: every one goes, in any letter case
      {"[Common]\r\n*.tpl=C:\\X;C:\\A;c:\\x;C:\\X\r\n", "C:\\X", "[Common]\r\n*.tpl=C:\\A\r\n"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.before + " with " + c.path);
    Uninstall t;
    if (!c.before.empty()) t.files.contents[kRed] = c.before;
    const std::string section = c.before.starts_with(head) ? "Paths" : "Common";
    const Strings steps =
        t.RoundTrip(kRed, "RED " + section + " *.tpl " + c.path, "UNRED " + section + " *.tpl " + c.path);
    EXPECT_EQ(steps[1], c.after.value_or(c.before));
    EXPECT_TRUE(t.dialogs.shown.empty() && t.svc.ExitCode() == kExitSuccess);
  }
  Uninstall usage;
  usage.Run("UNREDIRECT Common *.tpl");
  EXPECT_EQ(usage.Captions(), Strings{"Remove Redirection Error"});
  EXPECT_EQ(usage.svc.ExitCode(), kExitUsage);
}

TEST(unenv, takes_out_each_item_keeping_the_type_and_deletes_a_variable_left_empty) {
  const std::tuple<std::optional<RegType>, std::string, std::string> cases[] = {
      // type before (none: absent), text before, the value added and removed
      {std::nullopt, "", "C:\\QZ"},
      {RegType::ExpandString, "%SystemRoot%\\system32;C:\\A", "\"C:\\QZ;C:\\QZ\\Bin\""},
      {RegType::String, "C:\\A; C:\\B\\", "C:\\C"},
  };
  for (const auto& [type, text, value] : cases) {
    SCOPED_TRACE(text + " with " + value);
    Uninstall t;
    if (type) t.registry.values[kEnvKey + "QZ_PATH"] = {*type, text};
    t.Run("ENV QZ_PATH " + value);
    t.Run("UNENV QZ_PATH " + value);
    ASSERT_EQ(t.registry.values.count(kEnvKey + "QZ_PATH"), type ? 1u : 0u);
    if (type)
      EXPECT_TRUE(t.registry.values[kEnvKey + "QZ_PATH"].text == text &&
                  t.registry.values[kEnvKey + "QZ_PATH"].type == *type);
    EXPECT_EQ(t.registry.events.back(), "broadcast");
    const std::size_t events = t.registry.events.size();
    t.Run("UNENVIRONMENT QZ_PATH " + value);
    EXPECT_EQ(t.registry.events.size(), events) << "nothing to remove, nothing told";
  }
  Uninstall before;  // an item that was there before the install is taken out too
  before.registry.values[kEnvKey + "QZ_PATH"] = {RegType::String, "c:\\qz\\;C:\\A"};
  before.Run("UNENV QZ_PATH C:\\QZ");
  EXPECT_EQ(before.registry.values[kEnvKey + "QZ_PATH"].text, "C:\\A");
  // The Windows 95 family: the line ENV appended to the start-up file goes again.
  Uninstall old;
  old.registry.windows95 = true;
  old.files.contents["C:\\AutoExec.Bat"] = "@ECHO OFF\r\nPATH C:\\DOS";
  old.Run("ENV Path C:\\QZ");
  old.Run("UNENV Path C:\\QZ");
  EXPECT_EQ(old.files.contents["C:\\AutoExec.Bat"], "@ECHO OFF\r\nPATH C:\\DOS\r\n");  // up to the end it had to get
  Uninstall missing;
  missing.Run("UNENV QZ_PATH");
  EXPECT_EQ(missing.dialogs.notes, Strings{"UNENV needs a variable name and a value."});
  EXPECT_EQ(missing.svc.ExitCode(), kExitUsage);
}

TEST(unmenu, takes_out_the_apprefs_items_renumbering_the_rest_and_its_command_line_unless_named_elsewhere) {
  const std::string menus = "[User Menus]\r\n1=&Alpha|A\r\n2 = &Zeta|Z\r\n; mine\r\n[User Applications]\r\nA=a.exe\r\n";
  Uninstall t;
  t.files.contents[kIdeIni] = menus;
  const Strings steps = t.RoundTrip(kIdeIni, "USERMENU QZ &Middle qz.exe", "UNMENU QZ &Middle qz.exe");
  EXPECT_NE(steps[0].find("2 = &Middle|QZ"), std::string::npos);
  EXPECT_EQ(steps[1], menus);
  // Two items of the AppRef; its command line stays while File Types names it.
  Uninstall named;
  named.files.contents[kIdeIni] =
      "[User Menus]\r\n1=&A|QZ\r\n2=&B|B\r\n3=&C|qz  \r\n[File Types]\r\n1=Q=*.q|QZ\r\n[User "
      "Applications]\r\nQZ=q.exe\r\n";
  named.Run("UNUSERMENU QZ 6");
  EXPECT_EQ(named.files.contents[kIdeIni],
            "[User Menus]\r\n1=&B|B\r\n[File Types]\r\n1=Q=*.q|QZ\r\n[User Applications]\r\nQZ=q.exe\r\n");
  Uninstall running;  // the IDE is asked to close first, and Cancel writes nothing
  running.files.contents[kIdeIni] = menus;
  running.transport.serverUp = [](int) { return true; };
  running.dialogs.answers = {Button::Cancel};
  running.Run("UNMENU A");
  EXPECT_TRUE(running.files.contents[kIdeIni] == menus && running.Captions() == Strings{"Remove Accessories Item"});
  Uninstall usage;
  usage.Run("UNMENU");
  EXPECT_TRUE(usage.Captions() == Strings{"Incorrect Command Line"} && usage.svc.ExitCode() == kExitUsage);
}

TEST(uninclude, takes_out_the_include_line_and_leaves_blank_lines) {
  const std::tuple<std::string, std::string> cases[] = {
      {"#TEMPLATE(A)\r\n\r\n", "#TEMPLATE(A)\r\n\r\n"},  // exactly the bytes before
      {"#TEMPLATE(A)\r\n", "#TEMPLATE(A)\r\n\r\n"},      // up to INCLUDE's blank line
      {"#INCLUDE('X.TPW')  \r\nz\r\n", "z\r\n\r\n"},     // there before, in another letter case
  };
  for (const auto& [before, after] : cases) {
    Uninstall t;
    t.files.contents["my.tpl"] = before;
    t.Run("INCLUDE my.tpl x.tpw");
    t.Run("UNINCLUDE my.tpl x.tpw");
    EXPECT_EQ(t.files.contents["my.tpl"], after) << before;
    EXPECT_TRUE(t.dialogs.shown.empty() && t.svc.ExitCode() == kExitSuccess);
  }
  Uninstall missing;
  missing.Run("UNINCLUDE my.tpl");
  EXPECT_EQ(missing.svc.ExitCode(), kExitUsage);
}

// An uninstaller may run after the IDE's own uninstaller, or twice: what is not there is not removed, which is
// no failure. An unattended run says so in its log and shows nothing.
TEST(removal, of_what_is_not_there_succeeds_and_says_so) {
  const std::pair<const char*, std::string> cases[] = {
      {"UNRED Common *.tpl C:\\X 4", "WIN.INI names no installation of this version, so there is nothing to remove: 4"},
      {"UNMENU QZ 4", "WIN.INI names no installation of this version, so there is nothing to remove: 4"},
      {"UNRED Common *.tpl C:\\X",
       "The redirection file does not exist, so there is nothing to remove: C:\\C6\\BIN\\C60PE.RED"},
      {"UNMENU QZ", "The IDE's user menu does not name this AppRef, so there is nothing to remove: QZ"},
      {"UNENV QZ_NONE C:\\X", "The environment variable does not exist, so there is nothing to remove: QZ_NONE"},
  };
  for (const auto& [arguments, note] : cases) {
    Uninstall t;
    t.transport.serverUp = [](int) { return true; };  // the IDE runs, but need not close for nothing
    t.Run(arguments);
    EXPECT_TRUE(t.svc.ExitCode() == kExitSuccess && t.dialogs.shown.empty() && t.files.contents.empty()) << arguments;
    EXPECT_EQ(t.dialogs.notes, Strings{note});
  }
  // With something to remove, an unattended run does not answer the close prompts itself: exit code 3 at once.
  for (const char* arguments : {"UNMENU A", "USERMENU QZ &QZ qz.exe"}) {
    Uninstall t;
    t.files.contents[kIdeIni] = "[User Menus]\r\n1=&A|A\r\n";
    t.transport.serverUp = [](int) { return true; };
    t.dialogs.unattended = true;
    t.Run(arguments);
    EXPECT_TRUE(t.svc.ExitCode() == kExitIdeRunning && t.dialogs.shown.size() == 1u) << arguments;
    EXPECT_EQ(t.files.contents[kIdeIni], "[User Menus]\r\n1=&A|A\r\n");
  }
}

}  // namespace
}  // namespace qz
