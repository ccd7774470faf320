// qzcl.exe changing the IDE's files under Wine, as an installer runs it: every byte it does not own stays, a
// refused argument changes nothing, a long path comes back whole, runs side by side lose nothing, a dry run writes
// nothing, and a killed run leaves nothing behind. Owners shared by two add-ons run through the installer recipes.
#include <windows.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <functional>
#include <list>

#include "e2e/driver_win32.h"
#include "platform/locks_win32.h"

namespace qz::e2e {
namespace {

const char* const kEnvKey = "SYSTEM\\CurrentControlSet\\Control\\Session Manager\\Environment";

struct IdeFiles {
  TempDirectory work;
  Installed installed{work.Path() + "\\C6"};
  const std::string ini = work.Path() + "\\C6\\BIN\\C60EE.ini", red = work.Path() + "\\C6\\BIN\\C60EE.RED";
  // An unattended run of qzcl.exe; its exit code.
  DWORD Run(const std::string& arguments) {
    QzclProcess qzcl({arguments, work.Path(), true});
    return qzcl.WaitForExit().value_or(999);
  }
};

// Whether a temporary file of a run is in folder (given with its final backslash).
bool AnyTemporaryIn(const std::string& folder) {
  return !std::filesystem::is_empty(folder) &&
         std::any_of(std::filesystem::directory_iterator(folder), {},
                     [](const auto& f) { return f.path().filename().string().starts_with("~qzcl-"); });
}

// RED changes only its own line, once; refuses what a file or the code page cannot hold; sends a path longer than
// MAX_PATH with a version code after it to that version's file, whole, and back; finds the first section of a file
// that starts with a UTF-8 mark. The other round trips run through the installer recipes.
TEST(Files, red_changes_only_its_own_line_once_and_a_long_path_goes_to_its_version_whole_and_back) {
  IdeFiles s;
  WriteWholeFile(s.red, "; paths\r\n[Common]\r\n*.tpl = C:\\A ;C:\\B\r\n");
  for (int run = 0; run < 2; ++run) EXPECT_EQ(s.Run("RED Common *.tpl \"C:\\X;C:\\B;C:\\Y\""), 0u);
  EXPECT_EQ(ReadWholeFile(s.red), "; paths\r\n[Common]\r\n*.tpl = C:\\A ;C:\\B;C:\\X;C:\\Y\r\n");
  const std::string before = ReadWholeFile(s.red);
  // A text an INI file cannot hold, and a folder that the ANSI code page cannot spell, are refused; a folder it
  // can spell is written in it.
  for (const char* refused : {"\"C:\\p\r\n[Release]\r\n*.obj=HACKED\"", "C:\\中文\\模板"})
    EXPECT_EQ(s.Run(std::string("RED Common *.tpl ") + refused), 2u);
  EXPECT_EQ(ReadWholeFile(s.red), before);
  EXPECT_EQ(s.Run("RED Common *.tpl C:\\Müller"), 0u);
  EXPECT_EQ(ReadWholeFile(s.red), "; paths\r\n[Common]\r\n*.tpl = C:\\A ;C:\\B;C:\\X;C:\\Y;C:\\M\xfcller\r\n");

  Installed v55(s.work.Path() + "\\C55", "C55EE", "Clarion 5.5  Enterprise Edition");
  const std::string path = "\"C:\\Program Files (x86)\\Vendor\\" + std::string(290, 'p') + "\" 55";
  const std::string red = "; paths\r\n[Common]\r\n*.tpl =  C:\\A ; C:\\B\\\r\n",
                    red55 = s.work.Path() + "\\C55\\BIN\\C55EE.RED";
  WriteWholeFile(red55, red);
  WriteWholeFile(s.red, red);
  EXPECT_EQ(s.Run("RED Common *.tpl " + path), 0u);
  EXPECT_TRUE(ReadWholeFile(red55).ends_with(std::string(290, 'p') + "\r\n") && ReadWholeFile(s.red) == red);
  for (int run = 0; run < 2; ++run) EXPECT_EQ(s.Run("UNRED Common *.tpl " + path), 0u);  // the second finds nothing
  EXPECT_EQ(ReadWholeFile(red55), red);
  WriteWholeFile(s.red, "\xEF\xBB\xBF" + red);
  EXPECT_EQ(s.Run("RED Common *.tpl C:\\X"), 0u);
  EXPECT_EQ(ReadWholeFile(s.red), "\xEF\xBB\xBF; paths\r\n[Common]\r\n*.tpl =  C:\\A ; C:\\B\\;C:\\X\r\n");
}

// Installers started together: each run waits for the one changing the same file or variable, and no change is
// lost. In the first round the runs find the lock held and go once it is let go, so they surely meet. They share
// one log, where each run's block stays whole.
TEST(Files, runs_started_together_on_one_target_keep_every_change_and_their_log_blocks_whole) {
  IdeFiles s;
  const std::string log = s.work.Path() + "\\runs.log";
  std::size_t started = 0;
  const auto variable = [] {
    char data[256] = {};
    DWORD size = sizeof data - 1;
    RegGetValueA(HKEY_LOCAL_MACHINE, kEnvKey, "QZCL_E2E", RRF_RT_ANY | RRF_NOEXPAND, nullptr, data, &size);
    return std::string(data);
  };
  const auto red = [&s] { return ReadWholeFile(s.red); };
  const auto four = [](const std::string& command) {
    return std::vector<std::string>{command + "1", command + "2", command + "3", command + "4"};
  };
  const struct {
    std::vector<std::string> commands;  // each adds its last word, or takes it out
    LockKind lock;
    std::string target;
    std::function<std::string()> result;
  } cases[] = {{four("RED Common *.tpl C:\\R"), LockKind::File, s.red, red},
               {four("ENV QZCL_E2E C:\\E"), LockKind::MachineVariable, "QZCL_E2E", variable},
               {{"ENV QZCL_E2E C:\\New", "UNENV QZCL_E2E C:\\Old"}, LockKind::MachineVariable, "QZCL_E2E", variable},
               {{"RED Common *.tpl C:\\New", "UNRED Common *.tpl C:\\Old"}, LockKind::File, s.red, red}};
  for (const auto& c : cases) {
    for (int round = 0; round < 5; ++round) {
      WriteWholeFile(s.red, "[Common]\r\n*.tpl = C:\\A;C:\\Old\r\n");
      const char path[] = "%SystemRoot%;C:\\Old";  // an expandable value, as PATH is
      RegSetKeyValueA(HKEY_LOCAL_MACHINE, kEnvKey, "QZCL_E2E", REG_EXPAND_SZ, path, sizeof path);
      const std::string before = c.result();
      std::unique_ptr<Locks::Held> held;
      if (round == 0) ASSERT_EQ(Win32Locks().Acquire(c.lock, c.target, 0, held), LockWait::Held);
      std::list<QzclProcess> runs;
      // Each adding run has an owner of its own: every claim survives in the one ledger they share.
      for (const std::string& command : c.commands)
        runs.emplace_back(Launch{
            "\"/LOG=" + log + "\" " +
                (command.starts_with("UN") ? "" : "/OWNER=O" + command.substr(command.rfind('\\') + 1) + " ") + command,
            s.work.Path(), true}),
            ++started;
      if (held) {
        Sleep(1000);  // time for every run to reach the lock, and to wait there
        EXPECT_EQ(c.result(), before);
        held.reset();
      }
      for (QzclProcess& run : runs) EXPECT_EQ(run.WaitForExit(), 0u);
      const std::string result = c.result();
      for (const std::string& command : c.commands)
        EXPECT_EQ(result.find(command.substr(command.rfind(' ') + 1)) == std::string::npos, command.starts_with("UN"))
            << command << " in round " << round << ": " << result;
    }
  }
  RegDeleteKeyValueA(HKEY_LOCAL_MACHINE, kEnvKey, "QZCL_E2E");
  const std::string machineLedger = std::string(getenv("ProgramData")) + "\\QZCL\\machine.owners";
  for (const auto& [ledger, kind] : {std::pair{s.work.Path() + "\\C6\\BIN\\QZCL.owners", "R"}, {machineLedger, "E"}}) {
    const std::string claims = ReadWholeFile(ledger);
    for (const std::string item : {kind + std::string("1"), kind + std::string("2"), kind + std::string("3"),
                                   kind + std::string("4"), std::string("New")})
      EXPECT_NE(claims.find("Item=C:\\" + item + "\r\nFound=No\r\nOwners=O" + item + "\r\n"), std::string::npos)
          << item << " in " << claims;
  }
  DeleteFileA(machineLedger.c_str());
  std::string blocks = ReadWholeFile(log);
  const std::string_view ended = "Exit code: 0\r\n\r\n";
  for (std::size_t n = 0; n < started; ++n) {
    const std::size_t end = blocks.find(ended);
    ASSERT_NE(end, std::string::npos) << n << " of " << started << " blocks";
    const std::string block = blocks.substr(0, end);
    EXPECT_TRUE(block.starts_with("=== ") && block.find("Command line:") == block.rfind("Command line:") &&
                block.rfind("=== ") == 0 && block.find("Exit code:") == std::string::npos)
        << block;
    blocks.erase(0, end + ended.size());
  }
  EXPECT_EQ(blocks, "");
}

// A dry run prints the change the command would make, with why it could not be made after it, and writes
// nothing; it asks nobody, and its exit code is the real run's.
TEST(Files, whatif_shows_what_red_and_usermenu_would_change_and_writes_nothing) {
  IdeFiles s;
  WriteWholeFile(s.red, "[Common]\r\n*.tpl = C:\\A\r\n");
  WriteWholeFile(s.ini, "[User Menus]\r\n1=&Tools|T\r\n");
  const std::string redDiff = "@@ -1,2 +1,2 @@\n [Common]\n-*.tpl = C:\\A\n+*.tpl = C:\\A;C:\\X\n";
  const std::tuple<const char*, std::string, std::string, DWORD> cases[] = {
      {"RED Common *.tpl C:\\X", s.red, "--- " + s.red + "\n+++ " + s.red + "\n" + redDiff, 0},
      {"USERMENU QZ M qz.exe", s.ini, "@@ -1,2 +1,5 @@\n [User Menus]\n-1=&Tools|T\n+1=M|QZ\n+2=&Tools|T\n", 0},
      {"RED Common *.tpl C:\\X", s.red, redDiff, 1},  // read-only
  };
  for (const auto& [arguments, file, shown, exitCode] : cases) {
    const std::string before = ReadWholeFile(file);
    if (exitCode) SetFileAttributesA(file.c_str(), FILE_ATTRIBUTE_READONLY);
    QzclProcess dry({std::string("/WHATIF ") + arguments, s.work.Path(), false, false, true});
    const std::string output = dry.OutputToEnd().value_or("<still running>");
    EXPECT_EQ(dry.WaitForExit(), exitCode) << output;
    EXPECT_EQ(ReadWholeFile(file), before);
    EXPECT_NE(output.find(shown), std::string::npos) << output;
    if (exitCode) EXPECT_GT(output.find("Access is denied."), output.find(shown)) << output;
    SetFileAttributesA(file.c_str(), FILE_ATTRIBUTE_NORMAL);
  }
}

// A run killed while its temporary file exists leaves it behind; the next change in that folder removes it.
TEST(Files, a_change_removes_the_temporary_files_of_killed_runs) {
  IdeFiles s;
  const std::string bin = s.work.Path() + "\\C6\\BIN\\";
  WriteWholeFile(s.red, "[Common]\r\n*.tpl = C:\\A\r\n");
  {
    // Held open without sharing its deletion: the run retries its rename, its temporary file written.
    UniqueFile holder(CreateFileA(s.red.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr));
    QzclProcess killed({"RED Common *.tpl C:\\K", s.work.Path(), true});
    ASSERT_TRUE(WaitUntil([&] { return AnyTemporaryIn(bin); }));
  }  // the run is killed here
  ASSERT_TRUE(AnyTemporaryIn(bin));
  EXPECT_EQ(s.Run("RED Common *.tpl C:\\X"), 0u);
  EXPECT_EQ(ReadWholeFile(s.red), "[Common]\r\n*.tpl = C:\\A;C:\\X\r\n");
  EXPECT_FALSE(AnyTemporaryIn(bin));
}

}  // namespace
}  // namespace qz::e2e
