// The IDE over a fake DDE layer: the channel that finds or starts it, the prompt to close it, and REG.
#include <gtest/gtest.h>

#include "ide/dde_channel.h"
#include "ide/ide_check.h"
#include "unit/harness.h"

namespace qz {
namespace {

using fake::kIdeIni;
using fake::Strings;

TEST(dde_channel, connect_finds_starts_or_gives_up_on_the_ide_and_logs_how) {
  // The case, when the IDE answers, whether it cannot be started, is connected and the run is unattended (an
  // installer's run logs among the temporary files, not in its folder), the clock, Before Run and Run Error logged.
  using Row = std::tuple<const char*, std::function<bool(int)>, bool, bool, bool, std::int64_t, Strings>;
  const Row cases[] = {
      {"running", [](int) { return true; }, false, true, false, 0, {"<old>", "1"}},
      {"started, answers on the 5th attempt", [](int a) { return a >= 5; }, false, true, true, 0, {"ClarionWin", "1"}},
      {"not startable, answers later", [](int a) { return a >= 3; }, true, true, false, 0, {"ClarionWin", "1"}},
      {"not startable", nullptr, true, false, true, 0, {"ClarionWin", "252"}},
      {"not startable, a second before midnight", nullptr, true, false, false, 86'399'000, {"ClarionWin", "252"}},
      {"startable but never answers", nullptr, false, false, true, 0, {"ClarionWin", "0"}},
  };
  for (const auto& [name, serverUp, startFails, connected, unattended, clockStart, logged] : cases) {
    const std::string logFile = unattended ? "C:\\TEMP\\QZDE.LOG" : ".\\QZDE.LOG";
    SCOPED_TRACE(name);
    fake::Harness t;
    t.dialogs.unattended = unattended;
    t.profile.Write(logFile, "Connect", "Before Run", "<old>");
    t.transport.serverUp = serverUp;
    t.processes.fail = startFails;
    t.clock.now = clockStart;
    DdeChannel dde(t.svc, ProgramStart{"C:\\C6\\BIN\\C60EE.exe", "\"C60EE\" /x", "C:\\C6\\BIN"});
    EXPECT_EQ(dde.Connect(), connected);
    EXPECT_EQ(t.processes.started,
              logged[0] == "<old>" ? Strings{} : Strings{"C:\\C6\\BIN\\C60EE.exe|\"C60EE\" /x|C:\\C6\\BIN"});
    EXPECT_EQ(t.transport.opens[0], "ClarionWin|");
    Strings log;
    for (const char* key : {"App", "Before Open Channel", "Before Run", "Run Error"})
      log.push_back(t.profile.Read(logFile, "Connect", key, "<unwritten>"));
    EXPECT_EQ(log, Strings({"ClarionWin", "ClarionWin", logged[0], logged[1]}));
    EXPECT_EQ(t.profile.Read(unattended ? ".\\QZDE.LOG" : "C:\\TEMP\\QZDE.LOG", "Connect", "App", "-"), "-");
    if (startFails) { EXPECT_EQ(dde.Error(), "The system cannot find the file specified."); }
    if (connected) continue;
    // Gave up 30 seconds after the first attempt, resting between attempts instead of spinning.
    const std::int64_t waited = t.clock.now - clockStart;
    EXPECT_GT(waited, DdeChannel::kConnectWindowMs);
    EXPECT_LE(waited, DdeChannel::kConnectWindowMs + DdeChannel::kRetryPauseMs);
    EXPECT_TRUE(t.transport.opens.size() < 500u && !dde.IsOpen());
  }
}

TEST(ide_check, asks_the_service_once_and_prompts_until_the_ide_is_closed_cancelled_or_four_times) {
  for (bool running : {false, true}) {
    fake::Harness h;
    h.transport.serverUp = [running](int) { return running; };
    EXPECT_EQ(ClarionIsOpen(h.svc), running);
    EXPECT_EQ(h.transport.opens.size() + h.transport.closed.size(), running ? 2u : 1u);
    EXPECT_TRUE(h.processes.started.empty() && h.dialogs.shown.empty() && h.profile.writes == 0);  // nothing logged
  }
  // The check from which the IDE is closed (0: never), the answers, the result and the prompts shown.
  const std::tuple<int, std::vector<Button>, bool, std::size_t> cases[] = {
      {1, {Button::Ok}, true, 1},
      {3, {Button::Ok, Button::Ok, Button::Ok}, true, 3},
      {0, {Button::Cancel}, false, 1},  // 0: never closed
      {0, {Button::Ok, Button::Cancel}, false, 2},
      {0, {}, false, 4},  // left running through four OKs: given up
  };
  for (const auto& [closedAt, answers, result, prompts] : cases) {
    fake::Harness h;
    h.transport.serverUp = [closedAt = closedAt](int attempt) { return closedAt == 0 || attempt < closedAt; };
    h.dialogs.answers = answers;
    EXPECT_EQ(ClarionMustBeClosed(h.svc, "Add Accessories Item   "), result);
    ASSERT_EQ(h.dialogs.shown.size(), prompts + (prompts == 4));
    for (std::size_t i = 0; i < h.dialogs.shown.size(); ++i) {
      const Box& box = h.dialogs.shown[i];
      const bool prompt = i < prompts;
      EXPECT_EQ(box.caption, "Add Accessories Item");
      EXPECT_EQ(box.text, prompt ? "Clarion must be closed!||Press OK when Clarion is closed, Cancel to cancel this "
                                   "operation."
                                 : "Because clarion is open, this operation could not be completed.");
      EXPECT_EQ(box.icon, prompt ? Icon::WinLogo : Icon::None);
      EXPECT_EQ(box.buttons, prompt ? Buttons::OkCancel : Buttons::Ok);
    }
    EXPECT_EQ(h.svc.ExitCode(), result ? kExitSuccess : kExitFailed);
    EXPECT_EQ(h.transport.closed.size(), static_cast<std::size_t>(h.transport.lastChannel));
  }
}

// Version 6 installed, the IDE running unless a test says otherwise.
const char* const kNote = "C:\\C6\\BIN\\QZCL AutoPick.txt";

struct Reg : fake::Installed {
  explicit Reg(const char* autoPick = nullptr) {
    if (autoPick) SetIni(kIdeIni, "Environment", "AutoPick", autoPick);
    transport.serverUp = [this](int) {
      during = AutoPick();
      noted = files.contents.count(kNote) ? files.contents[kNote] : "";
      return true;
    };
  }
  std::string during, noted;  // AutoPick and the note while the IDE is asked
  std::string AutoPick(const std::string& ini = kIdeIni) { return Ini(ini, "Environment", "AutoPick"); }
};

// AutoPick is switched off while the IDE is asked and put back after, the user's value noted meanwhile beside the
// INI file; a run that registers nothing touches neither, nor opens the "Please Wait..." window. A list longer than
// that window shows, and than 1,023 characters, is sent whole.
TEST(reg, sends_one_command_with_every_existing_template_and_names_the_others_with_auto_pick_off_meanwhile) {
  auto missing = [](const char* file) { return "Template file " + std::string(file) + " does not exist."; };
  std::string many, manyList;
  Strings manyFiles;
  for (int i = 0; i < 30; ++i) {
    manyFiles.push_back("C:\\Templates\\Vendor\\template-" + std::to_string(i) + ".tpl");
    many += " " + manyFiles.back();
    manyList += (manyList.empty() ? "\"" : " \"") + manyFiles.back() + "\"";
  }
  const std::tuple<std::string, Strings, const char*, std::string, Strings, int> cases[] = {
      // arguments, existing files, AutoPick before, the list sent, the boxes (missing templates by text), exit code
      {"a.tpl b.tpl", {"a.tpl", "b.tpl"}, nullptr, "\"a.tpl\" \"b.tpl\"", {}, kExitSuccess},
      {"a.tpl gone.tpl", {"a.tpl"}, "on", "\"a.tpl\"", {missing("gone.tpl")}, kExitFailed},
      {"\"C:\\My T\\x.tpl\" 6", {"C:\\My T\\x.tpl"}, "off", "\"C:\\My T\\x.tpl\"", {}, kExitSuccess},
      {many, manyFiles, "on", manyList, {}, kExitSuccess},
      // 4 is the version, even with a file of that name
      {"a.tpl 4", {"a.tpl", "4"}, "on", "", {"Entry Not Found"}, kExitFailed},
      {"", {}, nullptr, "", {}, kExitUsage},
      {"x.tpl y.tpl", {}, "off", "", {missing("x.tpl"), missing("y.tpl")}, kExitFailed},
  };
  for (const auto& [arguments, existing, before, list, boxes, exitCode] : cases) {
    Reg t(before);
    for (const auto& f : existing) t.files.existing.insert(f);
    t.Run("REG " + arguments);
    const bool sent = !list.empty();
    EXPECT_EQ(t.transport.executes, sent ? Strings{"[RegisterTemplateChain(" + list + ",0)]"} : Strings{}) << arguments;
    Strings shown;
    for (const Box& box : t.dialogs.shown) {
      shown.push_back(box.caption == "QZCL Register Error" ? box.text : box.caption);
      EXPECT_TRUE(box.icon == Icon::Information && box.buttons == Buttons::Ok);
    }
    EXPECT_EQ(shown, boxes) << arguments;
    EXPECT_EQ(t.svc.ExitCode(), exitCode) << arguments;
    const std::string kept = before ? before : sent ? "on" : "<absent>";
    EXPECT_EQ(t.AutoPick() + "|" + t.AutoPick("C:\\C4\\BIN\\CW4.ini."), kept + "|<absent>") << arguments;
    EXPECT_EQ(t.views.events, sent ? (Strings{"open " + list, "display", "close"}) : Strings{});
    if (!sent) continue;
    EXPECT_EQ(t.during + "|" + t.noted, "off|AutoPick=" + kept + "\r\n") << "noted before the switch";
    EXPECT_FALSE(t.files.Exists(kNote)) << "and gone after the registration";
    EXPECT_TRUE(t.svc.Report().Everything().ends_with(std::string("--- ") + kNote +
                                                      "\n+++ NUL\n@@ -1 +0,0 @@\n-AutoPick=" + kept + "\n"))
        << "as the log shows it";
  }
}

// A registration killed during its wait left AutoPick off and the user's value noted: the next run that changes the
// INI file puts the value back, unless a registration running now will. RED does not touch the INI file.
TEST(reg, a_value_a_killed_registration_noted_is_put_back_by_the_next_run) {
  // The arguments, whether a registration is running meanwhile, AutoPick after.
  const std::tuple<const char*, bool, const char*> cases[] = {{"REG a.tpl", false, "on"},
                                                              {"USERMENU QZ M qz.exe", false, "on"},
                                                              {"UNMENU A", false, "on"},
                                                              {"ABCPATH C:\\L", false, "on"},
                                                              {"EDIT", false, "on"},
                                                              {"RED Common *.tpl C:\\X", false, "off"},
                                                              {"USERMENU QZ M qz.exe", true, "off"}};
  for (const auto& [arguments, registering, after] : cases) {
    Reg t("off");
    t.SetIni(kIdeIni, "User Menus", "1", "&A|A");
    t.files.existing.insert("a.tpl");
    t.files.contents[kNote] = "AutoPick=on\r\n";
    if (registering) t.locks.busy.insert("C:\\C6");
    t.transport.serverUp = nullptr;  // the IDE is not running
    t.views.editorScript = [](fake::FakeEditorView&, EditorEvents& e) { e.OnAccepted(EditorControl::Update); };
    t.dialogs.answers = {Button::Yes};
    t.Run(arguments);
    EXPECT_EQ(t.AutoPick(), after) << arguments;
    EXPECT_EQ(t.files.Exists(kNote), std::string(after) == "off") << arguments;
  }
}

TEST(reg, fails_the_run_when_the_ide_refuses_or_cannot_be_reached) {
  // Started as ABCPATH starts it (there by its path when it is in BIN), here by its name.
  for (bool reachable : {true, false}) {
    Reg t("on");
    t.files.existing.insert("a.tpl");
    t.transport.executeResult = kDdeInvalidCommand;
    if (!reachable) t.transport.serverUp = nullptr;
    t.processes.fail = true;
    t.Run("REG a.tpl");
    EXPECT_EQ(t.transport.executes.size(), reachable ? 1u : 0u);
    EXPECT_EQ(t.processes.started, reachable ? Strings{} : Strings{"|C60EE|C:\\C6\\BIN"});
    EXPECT_TRUE(t.AutoPick() == "on" && t.dialogs.shown.empty() && t.svc.ExitCode() == kExitFailed);
    EXPECT_EQ(t.dialogs.notes, Strings{reachable ? "The IDE did not accept the templates."
                                                 : "The IDE did not answer: the templates were not registered."});
  }
}

}  // namespace
}  // namespace qz
