// What a run changes, as a dry run shows it and the log keeps it: the diff, /WHATIF, /LOG.
#include <gtest/gtest.h>

#include <algorithm>

#include "text/change_report.h"
#include "unit/harness.h"

namespace qz {
namespace {

using fake::kIdeIni;

TEST(report, shows_a_file_as_a_unified_diff_of_its_lines) {
  std::string ten;
  for (char c = 'a'; c <= 'j'; ++c) ten += std::string(1, c) + "\r\n";
  const std::tuple<std::string, std::string, const char*> cases[] = {
      {"", "[A]\r\nk=v\r\n", "@@ -0,0 +1,2 @@\n+[A]\n+k=v\n"},
      {"x", "x\r\ny\r\n", "@@ -1 +1,2 @@\n-x\n\\ No newline at end of file\n+x\n+y\n"},
      // far apart: two hunks of three lines of context; near: one
      {ten, "A\r\n" + ten.substr(3, 24) + "J\r\n",
       "@@ -1,4 +1,4 @@\n-a\n+A\n b\n c\n d\n@@ -7,4 +7,4 @@\n g\n h\n i\n-j\n+J\n"},
      {ten, ten.substr(0, 9) + "D\r\n" + ten.substr(12, 12) + "H\r\n" + ten.substr(24),
       "@@ -1,10 +1,11 @@\n a\n b\n c\n-d\n+D\n e\n f\n g\n h\n+H\n i\n j\n"},
  };
  for (const auto& [before, after, hunks] : cases)
    EXPECT_EQ(UnifiedDiff(before, after, "--- f\n+++ f\n"), std::string("--- f\n+++ f\n") + hunks) << after;
}

using fake::kRed;
using fake::Machine;
const char* const kLog = "C:\\q.log";
const std::string kEnv = "HKLM\\" + fake::kEnvKey;

// The dry run prints the change the real run makes and logs, and ends with its exit code; it writes, locks, asks,
// starts and sends nothing.
TEST(whatif, shows_each_command_s_change_writes_nothing_and_ends_as_the_real_run_would) {
  const std::string redDiff =
      std::string("--- ") + kRed + "\n+++ " + kRed + "\n@@ -1,2 +1,2 @@\n [Common]\n-*.tpl=C:\\U\n+*.tpl=C:\\U;C:\\X";
  const struct {
    const char* arguments;
    std::function<void(Machine&)> setUp;
    std::string printed;
    int exitCode = kExitSuccess;
  } cases[] = {
      {"RED Common *.tpl C:\\X", nullptr, redDiff},
      {"RED Common *.tpl C:\\X", [](Machine& r) { r.files.readOnly.insert(kRed); }, redDiff, kExitFailed},
      {"UNRED Common *.tpl C:\\Y", nullptr, "Nothing would change."},
      {"INCLUDE t.tpl x.tpw", nullptr,
       "--- t.tpl\n+++ t.tpl\n@@ -1,2 +1,4 @@\n #T\n #INCLUDE('u.tpw')\n+\n+#INCLUDE('x.tpw')"},
      {"USERMENU QZ M qz.exe", [](Machine& r) { r.files.contents.erase(kIdeIni); },  // a file made new
       std::string("--- NUL\n+++ ") + kIdeIni +
           "\n@@ -0,0 +1,4 @@\n+[User Menus]\n+1=M|QZ\n+[User Applications]\n+QZ=qz.exe"},
      {"USERMENU QZ M qz.exe", [](Machine& r) { r.transport.serverUp = [](int) { return true; }; }, "",
       kExitIdeRunning},
      {"ABCPATH C:\\L", nullptr,
       std::string("--- ") + kIdeIni + "\n+++ " + kIdeIni +
           "\n@@ -1,2 +1,4 @@\n [User Applications]\n QZ=old.exe\n+[Paths]\n+Libsrc=C:\\L"},
      {"ENV QZ_HOME C:\\Q", nullptr, "--- NUL\n+++ " + kEnv + "QZ_HOME (REG_SZ)\n+C:\\Q"},
      {"UNENV PATH C:\\U", nullptr,
       "--- " + kEnv + "PATH (REG_EXPAND_SZ)\n+++ " + kEnv + "PATH (REG_EXPAND_SZ)\n-C:\\W;C:\\U\n+C:\\W"},
      {"ENV QZ_HOME C:\\Q", [](Machine& r) { r.registry.failWrites = true; },
       "--- NUL\n+++ " + kEnv + "QZ_HOME (REG_SZ)\n+C:\\Q", kExitFailed},
  };
  for (const auto& c : cases) {
    Machine dry, real;  // real, not run yet, keeps what dry held before its run
    for (Machine* r : {&dry, &real})
      if (c.setUp) c.setUp(*r);
    dry.dialogs.unattended = false;  // a person at the dry run is never asked either
    EXPECT_EQ(dry.Start(std::string("/WHATIF ") + c.arguments), c.exitCode) << c.arguments;
    EXPECT_EQ(dry.dialogs.printed, c.printed.empty() ? std::vector<std::string>{} : std::vector{c.printed})
        << c.arguments;
    const bool onlyReads = std::all_of(dry.journal.begin(), dry.journal.end(), [](const std::string& e) {
      return e.starts_with("read") || e.starts_with("get");
    });
    EXPECT_TRUE(dry.files.contents == real.files.contents && dry.registry.values == real.registry.values && onlyReads &&
                dry.processes.started.empty() && dry.transport.executes.empty())
        << c.arguments;
    for (const Box& box : dry.dialogs.shown) EXPECT_EQ(box.buttons, Buttons::Ok) << c.arguments;

    EXPECT_EQ(real.Start(std::string("/LOG=") + kLog + " " + c.arguments), c.exitCode) << c.arguments;
    std::string logged = c.printed + "\n";
    for (std::size_t at = 0; (at = logged.find('\n', at)) != std::string::npos; at += 2) logged.insert(at, "\r");
    if (c.exitCode == kExitSuccess && c.printed.starts_with("---")) {
      EXPECT_NE(real.files.contents[kLog].find(logged), std::string::npos) << c.arguments;
    }
  }
}

// One block per run, appended; the failure with its reason; a log that cannot be written changes nothing else.
TEST(log, appends_a_block_for_each_run_and_says_when_it_cannot) {
  Machine t;
  t.program.LogTo("C:\\env.log");  // QZCL_LOG; the switch wins
  t.Start("/LOG=C:\\q.log UNRED Common *.tpl C:\\U");
  t.locks.busy.insert(Upper(kRed));
  EXPECT_EQ(t.Start("/LOG=C:\\q.log RED Common *.tpl C:\\X"), kExitBusy);
  const std::string version = std::string(" QZCL ") + QZCL_VERSION + " ===\r\n";
  EXPECT_EQ(t.files.contents[kLog],
            "=== 2006-11-02 14:30:05" + version + "Command line: qzcl /LOG=C:\\q.log UNRED Common *.tpl C:\\U\r\n" +
                "--- " + kRed + "\r\n+++ " + kRed + "\r\n@@ -1,2 +0,0 @@\r\n-[Common]\r\n-*.tpl=C:\\U\r\n" +
                "Exit code: 0\r\n\r\n" + "=== 2006-11-02 14:30:05" + version +
                "Command line: qzcl /LOG=C:\\q.log RED Common *.tpl C:\\X\r\n=== QZCL File Error ===\r\n" +
                "Another run of QZCL is changing this file:\r\n  " + kRed +
                "\r\n\r\nNothing was changed. Try again when it has finished.\r\n[OK] -> OK\r\nExit code: 4\r\n\r\n");
  EXPECT_FALSE(t.files.contents.count("C:\\env.log"));

  Machine unwritable;
  unwritable.files.readOnly.insert("C:\\env.log");
  unwritable.program.LogTo("C:\\env.log");
  EXPECT_EQ(unwritable.Start("/WHATIF RED Common *.tpl C:\\X"), kExitSuccess);
  EXPECT_EQ(unwritable.dialogs.notes,
            std::vector<std::string>{"QZCL could not write its log file: C:\\env.log: Access is denied."});
}

}  // namespace
}  // namespace qz
