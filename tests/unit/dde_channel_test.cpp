#include <gtest/gtest.h>

#include "ide/dde_channel.h"
#include "unit/harness.h"

namespace qz {
namespace {

struct Channel : fake::Harness {
  DdeChannel dde{svc, "C60EE"};
  std::string Log(const char* key) { return profile.Read(".\\QZDE.LOG", "Connect", key, "<unwritten>"); }
};

TEST(dde_channel, connect_finds_starts_or_gives_up_on_the_ide) {
  struct Case {
    const char* name;
    std::function<bool(int)> serverUp;
    bool startFails;
    std::int64_t clockStart;
    bool connected;
    std::size_t starts;
    const char* beforeRun;
    const char* runError;
  } cases[] = {
      {"running", [](int) { return true; }, false, 0, true, 0, "<old>", "1"},
      {"started and answers on the 5th attempt", [](int a) { return a >= 5; }, false, 0, true, 1, "ClarionWin", "1"},
      {"not startable", nullptr, true, 0, false, 1, "ClarionWin", "252"},
      {"not startable, a second before midnight", nullptr, true, 86'399'000, false, 1, "ClarionWin", "252"},
      {"startable but never answers", nullptr, false, 0, false, 1, "ClarionWin", "0"},
  };
  for (const auto& c : cases) {
    Channel t;
    t.profile.Write(".\\QZDE.LOG", "Connect", "Before Run", "<old>");
    t.transport.serverUp = c.serverUp;
    t.processes.fail = c.startFails;
    t.clock.now = c.clockStart;
    EXPECT_EQ(t.dde.Connect(), c.connected) << c.name;
    EXPECT_EQ(t.processes.started.size(), c.starts) << c.name;
    if (c.starts) {
      EXPECT_EQ(t.processes.started[0], "C60EE") << c.name;
    }
    EXPECT_EQ(t.Log("App"), "ClarionWin") << c.name;
    EXPECT_EQ(t.Log("Before Open Channel"), "ClarionWin") << c.name;
    EXPECT_EQ(t.Log("Before Run"), c.beforeRun) << c.name;
    EXPECT_EQ(t.Log("Run Error"), c.runError) << c.name;
    EXPECT_EQ(t.transport.timeout, 100) << c.name;
    EXPECT_EQ(t.transport.opens[0], "ClarionWin|") << c.name;
    if (!c.connected) {
      // Gave up 30 seconds after the first attempt, resting between attempts instead of spinning.
      std::int64_t waited = t.clock.now - c.clockStart;
      EXPECT_GT(waited, DdeChannel::kConnectWindowMs) << c.name;
      EXPECT_LE(waited, DdeChannel::kConnectWindowMs + DdeChannel::kRetryPauseMs) << c.name;
      EXPECT_LT(t.transport.opens.size(), 500u) << c.name;
      EXPECT_FALSE(t.dde.IsOpen()) << c.name;
    }
  }
}

TEST(dde_channel, a_failed_start_is_recorded) {
  Channel t;
  t.processes.fail = true;
  t.transport.serverUp = [](int a) { return a >= 3; };
  EXPECT_TRUE(t.dde.Connect());
  EXPECT_EQ(t.dde.ErrorCode(), -4);
  EXPECT_EQ(t.dde.Error(), "The system cannot find the file specified.");
}

TEST(dde_channel, execute_sends_bracketed_commands_on_an_open_channel_only) {
  Channel t;
  EXPECT_EQ(t.dde.Execute("Anything"), kDdeNotOpen);
  EXPECT_TRUE(t.transport.executes.empty());

  t.transport.serverUp = [](int) { return true; };
  t.dde.Open();
  t.transport.executeResult = kDdeInvalidCommand;
  EXPECT_EQ(t.dde.RegisterTemplateChain("\"a.tpl\" \"b.tpl\"   ", 0), kDdeInvalidCommand);
  EXPECT_EQ(t.transport.executes, std::vector<std::string>{"[RegisterTemplateChain(\"a.tpl\" \"b.tpl\",0)]"});
}

TEST(dde_channel, never_leaves_two_conversations_open) {
  Channel t;
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
  t.dde.Close();
  t.dde.Close();
  EXPECT_EQ(t.transport.closed, (std::vector<long>{1, 2, 3}));
}

}  // namespace
}  // namespace qz
