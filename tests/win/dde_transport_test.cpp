// The DDE client against the stand-in IDE, a separate process that serves "ClarionWin" and logs what it gets.
#include <windows.h>

#include <gtest/gtest.h>

#include <atomic>
#include <memory>
#include <string>
#include <thread>
#include <tuple>
#include <vector>

#include "e2e/driver_win32.h"
#include "platform/dde_transport_win32.h"

namespace qz {
namespace {

using e2e::WaitUntil;
using Lines = std::vector<std::string>;

constexpr char kService[] = "ClarionWin";
constexpr char kCommand[] = "[RegisterTemplateChain(\"a.tpl\" \"b.tpl\",0)]";

ULONGLONG Elapsed(ULONGLONG since) { return GetTickCount64() - since; }

// A running stand-in IDE in a folder of its own.
struct Server {
  explicit Server(const std::string& options = "") : ide(folder.Path(), options) {}
  e2e::TempDirectory folder;
  e2e::StandInIde ide;
};

class Dde : public testing::Test {
 protected:
  Win32DdeTransport dde_;
};

TEST_F(Dde, without_a_server_that_answers_open_gives_no_channel_at_once) {
  EXPECT_EQ(dde_.Open(kService, ""), 0);  // nobody serves it
  Server silent("--silent");
  ASSERT_TRUE(silent.ide.Up());
  ULONGLONG start = GetTickCount64();
  EXPECT_EQ(dde_.Open(kService, ""), 0);
  EXPECT_LT(Elapsed(start), 1000u);
  EXPECT_EQ(silent.ide.Log(), Lines{"initiate ignored"});
}

TEST_F(Dde, execute_returns_the_servers_answer_and_the_server_gets_the_exact_text) {
  for (auto [options, timeout, result] :
       {std::tuple{"", 100L, kDdeOk}, std::tuple{"--reject", 100L, kDdeInvalidCommand},
        std::tuple{"--no-ack", 50L, kDdeTimedOut}}) {
    SCOPED_TRACE(options);
    Server server(options);
    ASSERT_TRUE(server.ide.Up());
    dde_.SetTimeout(timeout);
    long channel = dde_.Open(kService, "");
    ASSERT_NE(channel, 0);
    ULONGLONG start = GetTickCount64();
    EXPECT_EQ(dde_.Execute(channel, kCommand), result);
    EXPECT_GE(Elapsed(start), result == kDdeTimedOut ? 490u : 0u);
    start = GetTickCount64();
    dde_.Close(channel);
    EXPECT_LT(Elapsed(start), 500u);  // the server's answering terminate ends the wait
    EXPECT_EQ(server.ide.Log(), (Lines{"initiate", kCommand, "terminate"}));
    EXPECT_EQ(GlobalFindAtomA(kService), 0) << "a global atom left behind outlives the program";
  }
}

TEST_F(Dde, execute_after_the_server_has_gone_reports_the_channel_closed) {
  for (bool killed : {false, true}) {
    SCOPED_TRACE(killed ? "killed" : "exited after its terminate");
    Server server(killed ? "" : "--exit-after-execute");
    ASSERT_TRUE(server.ide.Up());
    long channel = dde_.Open(kService, "");
    ASSERT_NE(channel, 0);
    EXPECT_EQ(dde_.Execute(channel, kCommand), kDdeOk);
    if (killed) server.ide.Exit();
    ASSERT_TRUE(server.ide.Exited(e2e::kExitTimeoutMs));
    EXPECT_EQ(dde_.Execute(channel, "[Again]"), kDdeNotOpen);
    dde_.Close(channel);
    EXPECT_EQ(dde_.Execute(channel, "[Again]"), kDdeNotOpen);  // a closed channel is forgotten
  }
}

TEST_F(Dde, a_window_that_does_not_read_its_messages_does_not_stop_the_search) {
  Server server;
  ASSERT_TRUE(server.ide.Up());
  // A window of this thread, which reads no messages while it waits for the search.
  UniqueHwnd hung(CreateWindowExA(0, "STATIC", "hung", WS_POPUP, 0, 0, 0, 0, nullptr, nullptr, nullptr, nullptr));
  // The search runs on a thread of its own, so that the test can give up on it.
  auto channel = std::make_shared<std::atomic<long>>(-1);
  std::thread([channel] {
    Win32DdeTransport dde;
    long opened = dde.Open(kService, "");
    dde.Close(opened);
    *channel = opened;
  }).detach();
  EXPECT_TRUE(WaitUntil([&] { return *channel >= 0; }, 5000));
  EXPECT_GT(*channel, 0);
}

}  // namespace
}  // namespace qz
