// The IDE over a fake DDE layer: the channel that finds or starts it, the prompt to close it, and REG.
#include <gtest/gtest.h>

#include "ide/dde_channel.h"
#include "ide/ide_check.h"
#include "unit/harness.h"

namespace qz {
namespace {

using fake::kIdeIni;
using Strings = std::vector<std::string>;

TEST(dde_channel, connect_finds_starts_or_gives_up_on_the_ide_and_logs_how) {
  const struct {
    const char* name;
    std::function<bool(int)> serverUp;
    bool startFails;
    std::int64_t clockStart;
    bool connected;
    Strings log;      // Before Run and Run Error in QZDE.LOG
    bool unattended;  // an installer's run logs among the temporary files, not in the installer's folder
  } cases[] = {
      {"running", [](int) { return true; }, false, 0, true, {"<old>", "1"}, false},
      {"started, answers on the 5th attempt", [](int a) { return a >= 5; }, false, 0, true, {"ClarionWin", "1"}, true},
      {"not startable, answers later", [](int a) { return a >= 3; }, true, 0, true, {"ClarionWin", "1"}, false},
      {"not startable", nullptr, true, 0, false, {"ClarionWin", "252"}, true},
      {"not startable, a second before midnight", nullptr, true, 86'399'000, false, {"ClarionWin", "252"}, false},
      {"startable but never answers", nullptr, false, 0, false, {"ClarionWin", "0"}, true},
  };
  for (const auto& c : cases) {
    const std::string logFile = c.unattended ? "C:\\TEMP\\QZDE.LOG" : ".\\QZDE.LOG";
    SCOPED_TRACE(c.name);
    fake::Harness t;
    t.dialogs.unattended = c.unattended;
    t.profile.Write(logFile, "Connect", "Before Run", "<old>");
    t.transport.serverUp = c.serverUp;
    t.processes.fail = c.startFails;
    t.clock.now = c.clockStart;
    DdeChannel dde(t.svc, ProgramStart{"C:\\C6\\BIN\\C60EE.exe", "\"C60EE\" /x", "C:\\C6\\BIN"});
    EXPECT_EQ(dde.Connect(), c.connected);
    EXPECT_EQ(t.processes.started,
              c.log[0] == "<old>" ? Strings{} : Strings{"C:\\C6\\BIN\\C60EE.exe|\"C60EE\" /x|C:\\C6\\BIN"});
    EXPECT_EQ(t.transport.opens[0], "ClarionWin|");
    Strings log;
    for (const char* key : {"App", "Before Open Channel", "Before Run", "Run Error"})
      log.push_back(t.profile.Read(logFile, "Connect", key, "<unwritten>"));
    EXPECT_EQ(log, Strings({"ClarionWin", "ClarionWin", c.log[0], c.log[1]}));
    EXPECT_EQ(t.profile.Read(c.unattended ? ".\\QZDE.LOG" : "C:\\TEMP\\QZDE.LOG", "Connect", "App", "-"), "-");
    if (c.startFails) {
      EXPECT_EQ(dde.Error(), "The system cannot find the file specified.");
    }
    if (c.connected) continue;
    // Gave up 30 seconds after the first attempt, resting between attempts instead of spinning.
    const std::int64_t waited = t.clock.now - c.clockStart;
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

struct Reg : fake::Harness {
  explicit Reg(const char* autoPick = nullptr) {
    InstallVersion6();
    if (autoPick) SetIni(kIdeIni, "Environment", "AutoPick", autoPick);
    transport.serverUp = [this](int) {
      noted = files.contents.count(kNote) ? files.contents[kNote] : "";
      return true;
    };
  }
  std::string noted;  // the note while the IDE is asked
  std::string AutoPick(const std::string& ini = kIdeIni) { return Ini(ini, "Environment", "AutoPick"); }
};

TEST(reg, sends_one_command_with_every_existing_template_and_names_the_others) {
  const std::tuple<const char*, std::vector<const char*>, const char*, Strings> cases[] = {
      // sent, missing
      {"a.tpl b.tpl", {"a.tpl", "b.tpl"}, "[RegisterTemplateChain(\"a.tpl\" \"b.tpl\",0)]", {}},
      {"a.tpl gone.tpl", {"a.tpl"}, "[RegisterTemplateChain(\"a.tpl\",0)]", {"gone.tpl"}},
      {"\"C:\\My T\\x.tpl\" 6", {"C:\\My T\\x.tpl"}, "[RegisterTemplateChain(\"C:\\My T\\x.tpl\",0)]", {}},
      {"a.tpl 4", {"a.tpl", "4"}, nullptr, {}},  // 4 is the version, even with a file of that name
      {"", {}, nullptr, {}},
      {"x.tpl y.tpl", {}, nullptr, {"x.tpl", "y.tpl"}},
  };
  for (const auto& [arguments, existing, sent, missing] : cases) {
    Reg t;
    for (auto f : existing) t.files.existing.insert(f);
    t.Run(std::string("REG ") + arguments);
    EXPECT_EQ(t.transport.executes, sent ? Strings{sent} : Strings{}) << arguments;
    Strings named, expected;
    for (const Box& box : t.dialogs.shown) {
      if (box.caption != "QZCL Register Error") continue;
      named.push_back(box.text);
      EXPECT_TRUE(box.icon == Icon::Information && box.buttons == Buttons::Ok);
    }
    for (const auto& f : missing) expected.push_back("Template file " + f + " does not exist.");
    EXPECT_EQ(named, expected) << arguments;
  }
  Reg t;  // a list longer than the "Please Wait..." window shows, and than 1,023 characters, is sent whole
  std::string arguments = "REG", list;
  for (int i = 0; i < 30; ++i) {
    std::string name = "C:\\Templates\\Vendor\\template-" + std::to_string(i) + ".tpl";
    t.files.existing.insert(name);
    arguments += " " + name;
    list += (list.empty() ? "\"" : " \"") + name + "\"";
  }
  t.Run(arguments);
  EXPECT_EQ(t.transport.executes, Strings{"[RegisterTemplateChain(" + list + ",0)]"});
  EXPECT_GT(t.views.events[0].size(), std::string("open ").size() + 255);
}

TEST(reg, switches_auto_pick_off_around_the_registration_and_restores_it) {
  for (const char* before : {static_cast<const char*>(nullptr), "on", "off"}) {
    Reg t(before);
    t.files.existing.insert("a.tpl");
    std::string duringRegistration;
    t.transport.serverUp = [&](int) {
      duringRegistration = t.AutoPick();
      t.noted = t.files.contents.count(kNote) ? t.files.contents[kNote] : "";
      return true;
    };
    t.Run("REG a.tpl");
    EXPECT_EQ(duringRegistration, "off");
    EXPECT_EQ(t.AutoPick(), before ? before : "on");
    EXPECT_EQ(t.views.events, (Strings{"open \"a.tpl\"", "display", "close"}));
    EXPECT_EQ(t.noted, std::string("AutoPick=") + (before ? before : "on") + "\r\n") << "noted before the switch";
    EXPECT_FALSE(t.files.Exists(kNote)) << "and gone after the registration";
    EXPECT_TRUE(t.svc.Report().Everything().ends_with(
        std::string("--- ") + kNote + "\n+++ NUL\n@@ -1 +0,0 @@\n-AutoPick=" + (before ? before : "on") + "\n"))
        << "as the log shows it";
  }
}

// A registration killed during its wait left AutoPick off and the user's value noted: the next run for the
// installation that changes its INI file puts the value back, unless a registration is running now.
TEST(reg, a_value_a_killed_registration_noted_is_put_back_by_the_next_run) {
  const std::tuple<const char*, bool, const char*> cases[] = {
      // arguments, a registration running meanwhile, AutoPick after
      {"REG a.tpl", false, "on"},
      {"USERMENU QZ M qz.exe", false, "on"},
      {"UNMENU A", false, "on"},
      {"ABCPATH C:\\L", false, "on"},
      {"EDIT", false, "on"},
      {"RED Common *.tpl C:\\X", false, "off"},  // RED does not touch the INI file
      {"USERMENU QZ M qz.exe", true, "off"},     // the running registration puts its own value back
  };
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

TEST(reg, fails_the_run_when_the_ide_refuses_or_cannot_be_reached_and_touches_nothing_without_templates) {
  // Started by its path when it is in BIN, else by its name; in BIN either way.
  const std::tuple<bool, bool, Strings> cases[] = {
      {true, false, {}},
      {false, false, {"|C60EE|C:\\C6\\BIN"}},
      {false, true, {"C:\\C6\\BIN\\C60EE.exe|\"C:\\C6\\BIN\\C60EE.exe\"|C:\\C6\\BIN"}},
  };
  for (const auto& [reachable, inBin, started] : cases) {
    Reg t("on");
    t.files.existing.insert("a.tpl");
    if (inBin) t.files.existing.insert("C:\\C6\\BIN\\C60EE.exe");
    t.transport.executeResult = kDdeInvalidCommand;
    if (!reachable) t.transport.serverUp = nullptr;
    t.processes.fail = true;
    t.Run("REG a.tpl");
    EXPECT_EQ(t.transport.executes.size(), reachable ? 1u : 0u);
    EXPECT_EQ(t.processes.started, started);
    EXPECT_TRUE(t.AutoPick() == "on" && t.dialogs.shown.empty() && t.svc.ExitCode() == kExitFailed);
    EXPECT_EQ(t.dialogs.notes, Strings{reachable ? "The IDE did not accept the templates."
                                                 : "The IDE did not answer: the templates were not registered."});
  }
  Reg alone;
  alone.Run("REG");
  EXPECT_TRUE(alone.AutoPick() == "<absent>" && alone.dialogs.shown.empty() && alone.views.events.empty());
  Reg noInstallation;
  noInstallation.files.existing.insert("a.tpl");
  noInstallation.Run("REG a.tpl 4");
  EXPECT_EQ(noInstallation.Captions(), Strings{"Entry Not Found"});
  EXPECT_EQ(noInstallation.AutoPick("C:\\C4\\BIN\\CW4.ini."), "<absent>");
  EXPECT_EQ(noInstallation.svc.ExitCode(), kExitFailed);
}

}  // namespace
}  // namespace qz
