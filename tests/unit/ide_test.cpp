// The IDE over a fake DDE layer: the channel that finds or starts it, the prompt to close it, and REG.
#include <gtest/gtest.h>

#include "ide/dde_channel.h"
#include "ide/ide_check.h"
#include "unit/harness.h"

namespace qz {
namespace {

using fake::kIdeIni;
using Strings = std::vector<std::string>;

struct Channel : fake::Harness {
  DdeChannel dde{svc, "C60EE"};
  std::string Log(const char* key) { return profile.Read(".\\QZDE.LOG", "Connect", key, "<unwritten>"); }
};

TEST(dde_channel, connect_finds_starts_or_gives_up_on_the_ide) {
  const struct {
    const char* name;
    std::function<bool(int)> serverUp;
    bool startFails;
    std::int64_t clockStart;
    bool connected;
    const char *beforeRun, *runError;
  } cases[] = {
      {"running", [](int) { return true; }, false, 0, true, "<old>", "1"},
      {"started and answers on the 5th attempt", [](int a) { return a >= 5; }, false, 0, true, "ClarionWin", "1"},
      {"not startable, answers later", [](int a) { return a >= 3; }, true, 0, true, "ClarionWin", "1"},
      {"not startable", nullptr, true, 0, false, "ClarionWin", "252"},
      {"not startable, a second before midnight", nullptr, true, 86'399'000, false, "ClarionWin", "252"},
      {"startable but never answers", nullptr, false, 0, false, "ClarionWin", "0"},
  };
  for (const auto& c : cases) {
    Channel t;
    t.profile.Write(".\\QZDE.LOG", "Connect", "Before Run", "<old>");
    t.transport.serverUp = c.serverUp;
    t.processes.fail = c.startFails;
    t.clock.now = c.clockStart;
    EXPECT_EQ(t.dde.Connect(), c.connected) << c.name;
    EXPECT_EQ(t.processes.started, c.beforeRun[0] == '<' ? Strings{} : Strings{"C60EE"}) << c.name;
    EXPECT_EQ(Strings({t.Log("App"), t.Log("Before Open Channel"), t.Log("Before Run"), t.Log("Run Error")}),
              Strings({"ClarionWin", "ClarionWin", c.beforeRun, c.runError}))
        << c.name;
    EXPECT_EQ(t.transport.timeout, 100) << c.name;
    EXPECT_EQ(t.transport.opens[0], "ClarionWin|") << c.name;
    if (c.startFails) {
      EXPECT_EQ(t.dde.ErrorCode(), -4);
      EXPECT_EQ(t.dde.Error(), "The system cannot find the file specified.");
    }
    if (!c.connected) {
      // Gave up 30 seconds after the first attempt, resting between attempts instead of spinning.
      const std::int64_t waited = t.clock.now - c.clockStart;
      EXPECT_GT(waited, DdeChannel::kConnectWindowMs) << c.name;
      EXPECT_LE(waited, DdeChannel::kConnectWindowMs + DdeChannel::kRetryPauseMs) << c.name;
      EXPECT_LT(t.transport.opens.size(), 500u) << c.name;
      EXPECT_FALSE(t.dde.IsOpen()) << c.name;
    }
  }
}

TEST(dde_channel, sends_bracketed_commands_on_an_open_channel_only_and_never_keeps_two_conversations) {
  Channel t;
  EXPECT_EQ(t.dde.Execute("Anything"), kDdeNotOpen);
  EXPECT_TRUE(t.transport.executes.empty());
  t.dde.Close();
  EXPECT_TRUE(t.transport.closed.empty());
  t.transport.serverUp = [](int) { return true; };
  {
    DdeChannel other(t.svc, "C60EE");
    other.Open();
    other.Open();
    EXPECT_EQ(t.transport.closed, std::vector<long>{1});
  }
  EXPECT_EQ(t.transport.closed, (std::vector<long>{1, 2})) << "closed when it goes";
  t.dde.Open();
  t.transport.executeResult = kDdeInvalidCommand;
  EXPECT_EQ(t.dde.RegisterTemplateChain("\"a.tpl\" \"b.tpl\"   ", 0), kDdeInvalidCommand);
  EXPECT_EQ(t.transport.executes, Strings{"[RegisterTemplateChain(\"a.tpl\" \"b.tpl\",0)]"});
  t.dde.Close();
  t.dde.Close();
  EXPECT_EQ(t.transport.closed, (std::vector<long>{1, 2, 3}));
}

TEST(ide_check, clarion_is_open_asks_the_service_once_and_starts_nothing) {
  for (bool running : {false, true}) {
    fake::Harness h;
    h.transport.serverUp = [running](int) { return running; };
    EXPECT_EQ(ClarionIsOpen(h.svc, "C60EE"), running);
    EXPECT_EQ(h.transport.opens.size(), 1u);
    EXPECT_EQ(h.transport.closed.size(), running ? 1u : 0u);
    EXPECT_TRUE(h.processes.started.empty());
    EXPECT_EQ(h.profile.writes, 0);  // nothing logged
    EXPECT_TRUE(h.dialogs.shown.empty());
  }
}

TEST(ide_check, clarion_must_be_closed_prompts_until_closed_cancelled_or_four_times) {
  const struct {
    int closedAt;  // the IDE stops answering from this check on (0: never)
    std::vector<Button> answers;
    bool result;
    std::size_t prompts;
  } cases[] = {
      {1, {Button::Ok}, true, 1},                                 // closed before the first OK
      {3, {Button::Ok, Button::Ok, Button::Ok}, true, 3},         // closed before the third OK
      {0, {Button::Cancel}, false, 1},
      {0, {Button::Ok, Button::Cancel}, false, 2},
      {0, {}, false, 4},                                          // left running through four OKs: given up
  };
  for (const auto& c : cases) {
    fake::Harness h;
    h.transport.serverUp = [&c](int attempt) { return c.closedAt == 0 || attempt < c.closedAt; };
    h.dialogs.answers = c.answers;
    EXPECT_EQ(ClarionMustBeClosed(h.svc, "C60EE", "Add Accessories Item   "), c.result) << c.prompts;
    const bool gaveUp = c.prompts == 4;
    ASSERT_EQ(h.dialogs.shown.size(), c.prompts + gaveUp) << c.prompts;
    for (const Box& box : h.dialogs.shown) {
      const bool prompt = &box - h.dialogs.shown.data() < static_cast<long>(c.prompts);
      EXPECT_EQ(box.caption, "Add Accessories Item");
      EXPECT_EQ(box.text, prompt ? "Clarion must be closed!||Press OK when Clarion is closed, Cancel to cancel this "
                                   "operation."
                                 : "Because clarion is open, this operation could not be completed.");
      EXPECT_EQ(box.icon, prompt ? Icon::WinLogo : Icon::None);
      EXPECT_EQ(box.buttons, prompt ? Buttons::OkCancel : Buttons::Ok);
    }
    EXPECT_EQ(h.svc.ExitCode(), c.result ? kExitSuccess : kExitFailed);
    EXPECT_EQ(h.transport.closed.size(), static_cast<std::size_t>(h.transport.lastChannel));
  }
}

// Versions 6 and 5.5 installed, the IDE running unless a test says otherwise.
struct Reg : fake::Harness {
  explicit Reg(const char* autoPick = nullptr) {
    InstallVersion6();
    profile.Write("", "Clarion 5.5", "Root", "C:\\C55");
    profile.Write("", "Clarion 5.5", "ExeName", "C55");
    if (autoPick) profile.Write(kIdeIni, "Environment", "AutoPick", autoPick);
    transport.serverUp = [](int) { return true; };
  }
  std::string AutoPick(const std::string& ini = kIdeIni) { return profile.Value(ini, "Environment", "AutoPick"); }
};

TEST(reg, sends_one_command_with_every_existing_template) {
  const struct {
    const char* arguments;
    std::vector<const char*> existing;
    const char* sent;  // nullptr: nothing sent
    Strings missing;   // files named in error boxes
  } cases[] = {
      {"a.tpl b.tpl", {"a.tpl", "b.tpl"}, "[RegisterTemplateChain(\"a.tpl\" \"b.tpl\",0)]", {}},
      {"a.tpl gone.tpl", {"a.tpl"}, "[RegisterTemplateChain(\"a.tpl\",0)]", {"gone.tpl"}},
      {"\"C:\\My Templates\\x.tpl\" 6", {"C:\\My Templates\\x.tpl"}, "[RegisterTemplateChain(\"C:\\My Templates\\x.tpl\",0)]",
       {}},
      {"a.tpl 4", {"a.tpl", "4"}, nullptr, {}},  // 4 is the version, even with a file of that name
      {"", {}, nullptr, {}},
      {"x.tpl y.tpl", {}, nullptr, {"x.tpl", "y.tpl"}},
  };
  for (const auto& c : cases) {
    Reg t;
    for (auto f : c.existing) t.files.existing.insert(f);
    t.Run(std::string("REG ") + c.arguments);
    EXPECT_EQ(t.transport.executes, c.sent ? Strings{c.sent} : Strings{}) << c.arguments;
    Strings named;
    for (const Box& box : t.dialogs.shown) {
      if (box.caption != "QZCL Register Error") continue;
      named.push_back(box.text);
      EXPECT_EQ(box.icon, Icon::Information);
      EXPECT_EQ(box.buttons, Buttons::Ok);
    }
    Strings expected;
    for (const auto& f : c.missing) expected.push_back("Template file " + f + " does not exist.");
    EXPECT_EQ(named, expected) << c.arguments;
  }
}

TEST(reg, switches_auto_pick_off_around_the_registration_and_restores_it) {
  for (const char* before : {static_cast<const char*>(nullptr), "on", "off"}) {
    Reg t(before);
    t.files.existing.insert("a.tpl");
    std::string duringRegistration;
    t.transport.serverUp = [&](int) {
      duringRegistration = t.AutoPick();
      return true;
    };
    t.Run("REG a.tpl");
    EXPECT_EQ(duringRegistration, "off");
    EXPECT_EQ(t.AutoPick(), before ? before : "on");
    EXPECT_EQ(t.views.events, (Strings{"open \"a.tpl\"", "display", "close"}));
  }
  Reg v55;  // version 5.5 addresses its own installation
  v55.files.existing.insert("a.tpl");
  v55.Run("REG a.tpl 55");
  EXPECT_EQ(v55.AutoPick("C:\\C55\\BIN\\C55.ini."), "on");
  EXPECT_EQ(v55.transport.executes.size(), 1u);
}

TEST(reg, fails_the_run_when_the_ide_refuses_or_cannot_be_reached_and_touches_nothing_without_templates) {
  for (bool reachable : {true, false}) {
    Reg t("on");
    t.files.existing.insert("a.tpl");
    t.transport.executeResult = kDdeInvalidCommand;
    if (!reachable) t.transport.serverUp = nullptr;
    t.processes.fail = true;
    t.Run("REG a.tpl");
    EXPECT_EQ(t.transport.executes.size(), reachable ? 1u : 0u);
    EXPECT_EQ(t.processes.started, reachable ? Strings{} : Strings{"C60EE"});
    EXPECT_EQ(t.AutoPick(), "on");
    EXPECT_TRUE(t.dialogs.shown.empty());
    EXPECT_EQ(t.svc.ExitCode(), kExitFailed);
  }
  Reg alone;
  alone.Run("REG");
  EXPECT_EQ(alone.AutoPick(), "<absent>");
  EXPECT_TRUE(alone.dialogs.shown.empty() && alone.views.events.empty());
  Reg noInstallation;
  noInstallation.files.existing.insert("a.tpl");
  noInstallation.Run("REG a.tpl 4");
  EXPECT_EQ(noInstallation.Captions(), Strings{"Entry Not Found"});
  EXPECT_EQ(noInstallation.AutoPick("C:\\C4\\BIN\\CW4.ini."), "<absent>");
  EXPECT_EQ(noInstallation.svc.ExitCode(), kExitFailed);
}

TEST(reg, a_template_list_longer_than_the_window_shows_is_sent_whole) {
  Reg t;
  std::string arguments = "REG";
  for (int i = 0; i < 7; ++i) {
    std::string name = "C:\\Templates\\Vendor\\template-" + std::to_string(i) + ".tpl";
    t.files.existing.insert(name);
    arguments += " " + name;
  }
  t.Run(arguments);
  ASSERT_EQ(t.transport.executes.size(), 1u);
  EXPECT_EQ(t.transport.executes[0].size(), std::string("[RegisterTemplateChain(,0)]").size() + 7 * 36 + 6);
  EXPECT_GT(t.views.events[0].size(), std::string("open ").size() + 255);
}

}  // namespace
}  // namespace qz
