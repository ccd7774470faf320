// The removal commands for uninstallers: each undoes its adding command byte for byte on what the installer
// found, takes out an item that was there before, and a second run changes nothing.
#include <gtest/gtest.h>

#include "unit/harness.h"

namespace qz {
namespace {

using fake::kIdeIni;
using fake::kRed;
using fake::Strings;
using Uninstall = fake::Installed;

const std::string kMenus = "[User Menus]\r\n1=&Alpha|A\r\n2 = &Zeta|Z\r\n; mine\r\n[User Applications]\r\nA=a.exe\r\n";

// Each row runs an adding command, finds a text it left in the file, and runs the removal (UNRED for RED, UNMENU for
// USERMENU, UNINCLUDE for INCLUDE) twice: the second writes nothing.
TEST(removal, takes_out_what_its_adding_command_added_and_leaves_every_other_byte) {
  const std::string head = "; vendor paths\r\n[Common]\r\n*.tpl =  C:\\A ; C:\\B\\  \r\n\r\n";
  const std::string include = "\r\n#INCLUDE('x.tpw')\r\n";
  const struct {
    std::string file, before, add, added;
    std::optional<std::string> after;  // after the removal, where it is not the file before
  } cases[] = {
      {kRed, head, "RED Paths *.tpl C:\\X", "[Paths]\r\n*.tpl=C:\\X\r\n"},  // a new entry in a new section
      {kRed, head + "[Other]\r\nx=1", "RED Paths *.tpl C:\\X", "x=1\r\n"},  // after a last line without its end
      // without a redirection file of its edition, the other edition's is made new: two items, then nothing
      {"C:\\C6\\BIN\\C60PE.RED", "", "RED Common *.tpl \"C:\\X;C:\\Y\"", "[Common]\r\n*.tpl=C:\\X;C:\\Y\r\n"},
      // C:\A was there before: nothing is left, so the entry and its section go
      {kRed, "[Common]\r\n*.tpl=C:\\A\r\n", "RED Common *.tpl \"C:\\X;C:\\A\"", "*.tpl=C:\\A;C:\\X", ""},
      // listed before, and listed twice: every one goes, in any letter case
      {kRed, "[Common]\r\n*.tpl=C:\\X;C:\\A;c:\\x;C:\\X\r\n", "RED Common *.tpl C:\\X", "*.tpl=C:\\X;C:\\A;c:\\x;C:\\X",
       "[Common]\r\n*.tpl=C:\\A\r\n"},
      {kIdeIni, kMenus, "USERMENU QZ &Middle qz.exe", "2 = &Middle|QZ"},    // the key written as the file writes them
      {"my.tpl", "#TEMPLATE(A)\r\n\r\n", "INCLUDE my.tpl x.tpw", include},  // exactly the bytes before
      {"my.tpl", "#TEMPLATE(A)\r\n", "INCLUDE my.tpl x.tpw", include, "#TEMPLATE(A)\r\n\r\n"},  // up to the blank line
      // there before, in another letter case
      {"my.tpl", "#INCLUDE('X.TPW')  \r\nz\r\n", "INCLUDE my.tpl x.tpw", include, "z\r\n\r\n"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.before + " with " + c.add);
    Uninstall t;
    if (!c.before.empty()) t.files.contents[c.file] = c.before;
    const std::string remove = c.add.starts_with("USERMENU") ? "UNMENU" + c.add.substr(8) : "UN" + c.add;
    t.Run(c.add);
    EXPECT_NE(t.files.contents[c.file].find(c.added), std::string::npos);
    t.Run(remove);
    EXPECT_EQ(t.files.contents[c.file], c.after.value_or(c.before));
    const int writes = t.files.replaces;
    t.Run(remove);
    EXPECT_EQ(t.files.replaces, writes) << "a second removal writes nothing";
    EXPECT_TRUE(t.dialogs.shown.empty() && t.svc.ExitCode() == kExitSuccess);
  }
}

TEST(unenv, takes_out_each_item_keeping_the_type_and_deletes_a_variable_left_empty) {
  const std::tuple<std::string, std::string, std::optional<std::string>> cases[] = {
      // before (as SetVariable takes it; none: absent), the value added and removed, the value after where not before
      {"", "C:\\QZ", std::nullopt},
      {"X:%SystemRoot%\\system32;C:\\A", "\"C:\\QZ;C:\\QZ\\Bin\"", std::nullopt},
      {"S:C:\\A; C:\\B\\", "C:\\C", std::nullopt},
      {"S:c:\\qz\\;C:\\A", "C:\\QZ", "S:C:\\A"},  // an item there before the install goes too
  };
  for (const auto& [before, value, after] : cases) {
    SCOPED_TRACE(before + " with " + value);
    Uninstall t;
    if (!before.empty()) t.SetVariable("QZ_PATH", before);
    t.Run("ENV QZ_PATH " + value);
    t.Run("UNENV QZ_PATH " + value);
    EXPECT_EQ(t.Variable("QZ_PATH"), after.value_or(before.empty() ? "<absent>" : before));
    EXPECT_EQ(t.registry.events.back(), "broadcast");
    const std::size_t events = t.registry.events.size();
    t.Run("UNENVIRONMENT QZ_PATH " + value);
    EXPECT_EQ(t.registry.events.size(), events) << "nothing to remove, nothing told";
  }
  // The Windows 95 family: the line ENV appended to the start-up file goes again.
  Uninstall old;
  old.registry.windows95 = true;
  old.files.contents["C:\\AutoExec.Bat"] = "@ECHO OFF\r\nPATH C:\\DOS";
  old.Run("ENV Path C:\\QZ");
  old.Run("UNENV Path C:\\QZ");
  EXPECT_EQ(old.files.contents["C:\\AutoExec.Bat"], "@ECHO OFF\r\nPATH C:\\DOS\r\n");  // up to the end it had to get
}

TEST(unmenu, takes_out_the_apprefs_items_renumbering_the_rest_and_its_command_line_unless_named_elsewhere) {
  // Two items of the AppRef; its command line stays while File Types names it.
  Uninstall named;
  named.files.contents[kIdeIni] =
      "[User Menus]\r\n1=&A|QZ\r\n2=&B|B\r\n3=&C|qz  \r\n[File Types]\r\n1=Q=*.q|QZ\r\n[User "
      "Applications]\r\nQZ=q.exe\r\n";
  named.Run("UNUSERMENU QZ 6");
  EXPECT_EQ(named.files.contents[kIdeIni],
            "[User Menus]\r\n1=&B|B\r\n[File Types]\r\n1=Q=*.q|QZ\r\n[User Applications]\r\nQZ=q.exe\r\n");
}

// An uninstaller may run after the IDE's own uninstaller, or twice: what is not there is not removed, which is
// no failure, and the run says so only in its log. The IDE runs in every row, but need not close for nothing. With
// something to change (the rows that do not succeed, over a user menu), it is asked to close first: Cancel writes
// nothing, and an unattended run does not answer the prompt itself but ends at once with exit code 3.
TEST(removal, of_what_is_not_there_succeeds_and_of_what_is_there_waits_for_the_running_ide_to_close) {
  const std::string none = "WIN.INI names no installation of this version, so there is nothing to remove: 4";
  const std::tuple<const char*, bool, int, std::string> cases[] = {
      // arguments, unattended, the exit code, the line for the log or the caption of the box
      {"UNRED Common *.tpl C:\\X 4", false, kExitSuccess, none},
      {"UNMENU QZ 4", false, kExitSuccess, none},
      {"UNRED Common *.tpl C:\\X", false, kExitSuccess,
       "The redirection file does not exist, so there is nothing to remove: C:\\C6\\BIN\\C60PE.RED"},
      {"UNMENU QZ", false, kExitSuccess,
       "The IDE's user menu does not name this AppRef, so there is nothing to remove: QZ"},
      {"UNENV QZ_NONE C:\\X", false, kExitSuccess,
       "The environment variable does not exist, so there is nothing to remove: QZ_NONE"},
      {"UNMENU A", false, kExitFailed, "Remove Accessories Item"},
      {"UNMENU A", true, kExitIdeRunning, "Remove Accessories Item"},
      {"USERMENU QZ &QZ qz.exe", true, kExitIdeRunning, "Add Accessories Item"},
  };
  for (const auto& [arguments, unattended, exitCode, said] : cases) {
    Uninstall t;
    if (exitCode != kExitSuccess) t.files.contents[kIdeIni] = kMenus;
    const auto files = t.files.contents;
    t.transport.serverUp = [](int) { return true; };
    t.dialogs.unattended = unattended;
    t.dialogs.answers = {Button::Cancel};
    t.Run(arguments);
    Strings seen = t.Captions();
    seen.insert(seen.end(), t.dialogs.notes.begin(), t.dialogs.notes.end());
    EXPECT_TRUE(t.svc.ExitCode() == exitCode && seen == Strings{said}) << arguments;
    EXPECT_EQ(t.files.contents, files) << arguments;
  }
}

}  // namespace
}  // namespace qz
