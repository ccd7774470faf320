// The DDE client against the stand-in IDE, a separate process that serves "ClarionWin" and logs what it gets.
#include <windows.h>

#include <psapi.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <memory>
#include <string>
#include <thread>
#include <vector>

#include "runtime/dde_transport_win32.h"
#include "runtime/handle_win32.h"

namespace qz {
namespace {

using Lines = std::vector<std::string>;

constexpr char kService[] = "ClarionWin";
constexpr char kCommand[] = "[RegisterTemplateChain(\"a.tpl\" \"b.tpl\",0)]";
constexpr DWORD kStartTimeoutMs = 15000;  // a cold Wine start can take seconds
constexpr DWORD kExitTimeoutMs = 5000;

std::string ProgramDirectory() {
  char path[MAX_PATH] = {};
  GetModuleFileNameA(nullptr, path, sizeof path);
  std::string p = path;
  return p.substr(0, p.find_last_of("\\/"));
}

template <typename Check>
bool Within(DWORD ms, Check check) {
  for (ULONGLONG end = GetTickCount64() + ms; !check(); Sleep(20))
    if (GetTickCount64() >= end) return false;
  return true;
}

// The process's committed private memory (Wine leaves PrivateUsage at 0 but fills this).
long long PrivateBytes() {
  PROCESS_MEMORY_COUNTERS counters{};
  GetProcessMemoryInfo(GetCurrentProcess(), &counters, sizeof counters);
  return static_cast<long long>(counters.PagefileUsage);
}

// A running stand-in IDE logging to dir\name.log, killed when the object goes away.
class StandIn {
 public:
  StandIn(const std::string& dir, const std::string& name, const std::string& options)
      : log_(dir + "\\" + name + ".log") {
    std::string ready = dir + "\\" + name + ".ready";
    std::filesystem::remove(ready);  // files of an earlier stand-in of the same name
    std::filesystem::remove(log_);
    std::string line = "\"" + ProgramDirectory() + "\\stand_in_ide.exe\" --ready \"" + ready + "\" --log \"" +
                       log_ + "\" " + options;
    STARTUPINFOA startup{};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION info{};
    if (!CreateProcessA(nullptr, line.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup, &info)) return;
    process_.reset(info.hProcess);
    CloseHandle(info.hThread);
    up_ = Within(kStartTimeoutMs, [&] { return std::filesystem::exists(ready) || Exited(0); }) && !Exited(0);
  }
  ~StandIn() { Kill(); }
  bool Up() const { return up_; }
  bool Exited(DWORD ms) const { return WaitForSingleObject(process_.get(), ms) == WAIT_OBJECT_0; }
  void Kill() {
    if (process_ && !Exited(0)) TerminateProcess(process_.get(), 1);
    if (process_) Exited(kExitTimeoutMs);
  }
  Lines Log() const {
    Lines lines;
    std::ifstream in(log_, std::ios::binary);
    for (std::string line; std::getline(in, line);) lines.push_back(line.substr(0, line.find('\r')));
    return lines;
  }

 private:
  std::string log_;
  UniqueKernelHandle process_;
  bool up_ = false;
};

class Dde : public testing::Test {
 protected:
  Dde() {
    char temp[MAX_PATH + 1] = {};
    GetTempPathA(sizeof temp, temp);
    dir_ = std::string(temp) + "qzcl-dde-" + std::to_string(GetCurrentProcessId());
    std::filesystem::remove_all(dir_);
    std::filesystem::create_directories(dir_);
  }
  ~Dde() override {
    std::error_code ignored;
    std::filesystem::remove_all(dir_, ignored);
  }

  std::string dir_;
  Win32DdeTransport dde_;
};

TEST_F(Dde, without_a_server_that_answers_open_gives_no_channel_at_once) {
  EXPECT_EQ(dde_.Open(kService, ""), 0);  // nobody serves it
  StandIn ide(dir_, "ide", "--silent");
  ASSERT_TRUE(ide.Up());
  ULONGLONG start = GetTickCount64();
  EXPECT_EQ(dde_.Open(kService, ""), 0);
  EXPECT_LT(GetTickCount64() - start, 1000u);
  EXPECT_EQ(ide.Log(), Lines{"initiate ignored"});
}

TEST_F(Dde, execute_returns_the_servers_answer_and_the_server_gets_the_exact_text) {
  struct Row {
    const char* options;
    long timeout;
    int result;
  } rows[] = {{"", 100, kDdeOk}, {"--reject", 100, kDdeInvalidCommand}, {"--no-ack", 50, kDdeTimedOut}};
  for (const Row& r : rows) {
    SCOPED_TRACE(r.options);
    StandIn ide(dir_, "ide", r.options);
    ASSERT_TRUE(ide.Up());
    dde_.SetTimeout(r.timeout);
    long channel = dde_.Open(kService, "");
    ASSERT_NE(channel, 0);
    ULONGLONG start = GetTickCount64();
    EXPECT_EQ(dde_.Execute(channel, kCommand), r.result);
    ULONGLONG took = GetTickCount64() - start;
    if (r.result == kDdeTimedOut) EXPECT_GE(took, 490u);
    EXPECT_LT(took, 3000u);
    start = GetTickCount64();
    dde_.Close(channel);
    EXPECT_LT(GetTickCount64() - start, 500u);  // the server's answering terminate ends the wait
    EXPECT_EQ(ide.Log(), (Lines{"initiate", kCommand, "terminate"}));
  }
}

LRESULT CALLBACK CountPaints(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message != WM_PAINT) return DefWindowProcA(window, message, wParam, lParam);
  PAINTSTRUCT paint;
  BeginPaint(window, &paint);
  EndPaint(window, &paint);
  SetWindowLongPtrA(window, GWLP_USERDATA, GetWindowLongPtrA(window, GWLP_USERDATA) + 1);
  return 0;
}

ULONGLONG ThreadCpuMs() {
  FILETIME created, exited, kernel, user;
  GetThreadTimes(GetCurrentThread(), &created, &exited, &kernel, &user);
  auto ms = [](FILETIME t) { return ((ULONGLONG{t.dwHighDateTime} << 32) | t.dwLowDateTime) / 10000; };
  return ms(kernel) + ms(user);
}

TEST_F(Dde, while_waiting_for_the_answer_windows_are_repainted_and_other_input_stays_queued) {
  StandIn ide(dir_, "ide", "--no-ack");
  ASSERT_TRUE(ide.Up());
  WNDCLASSA wc{};
  wc.lpfnWndProc = CountPaints;
  wc.hInstance = GetModuleHandleA(nullptr);
  wc.lpszClassName = "QzPaintCounter";
  RegisterClassA(&wc);
  UniqueHwnd window(CreateWindowExA(0, wc.lpszClassName, "", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 0, 0, 200, 100,
                                    nullptr, nullptr, wc.hInstance, nullptr));
  ASSERT_TRUE(window);
  UpdateWindow(window.get());
  SetWindowLongPtrA(window.get(), GWLP_USERDATA, 0);
  long channel = dde_.Open(kService, "");
  ASSERT_NE(channel, 0);
  InvalidateRect(window.get(), nullptr, TRUE);
  PostMessageA(window.get(), WM_APP, 7, 0);
  dde_.SetTimeout(50);
  ULONGLONG cpu = ThreadCpuMs();
  EXPECT_EQ(dde_.Execute(channel, kCommand), kDdeTimedOut);
  EXPECT_LT(ThreadCpuMs() - cpu, 250u);  // waited, not spun
  EXPECT_EQ(GetWindowLongPtrA(window.get(), GWLP_USERDATA), 1);
  MSG msg;
  EXPECT_TRUE(PeekMessageA(&msg, window.get(), WM_APP, WM_APP, PM_REMOVE) && msg.wParam == 7);
  dde_.Close(channel);
}

TEST_F(Dde, execute_after_the_server_has_gone_reports_the_channel_closed) {
  for (bool killed : {false, true}) {
    SCOPED_TRACE(killed ? "killed" : "exited after its terminate");
    StandIn ide(dir_, "ide", killed ? "" : "--exit-after-execute");
    ASSERT_TRUE(ide.Up());
    long channel = dde_.Open(kService, "");
    ASSERT_NE(channel, 0);
    EXPECT_EQ(dde_.Execute(channel, kCommand), kDdeOk);
    if (killed) ide.Kill();
    ASSERT_TRUE(ide.Exited(kExitTimeoutMs));
    EXPECT_EQ(dde_.Execute(channel, "[Again]"), kDdeNotOpen);
    dde_.Close(channel);
    EXPECT_EQ(dde_.Execute(channel, "[Again]"), kDdeNotOpen);  // a closed channel is forgotten
  }
}

TEST_F(Dde, of_two_servers_the_first_to_answer_is_the_partner_and_the_other_is_refused) {
  StandIn first(dir_, "first", ""), second(dir_, "second", "");
  ASSERT_TRUE(first.Up() && second.Up());
  long channel = dde_.Open(kService, "");
  ASSERT_NE(channel, 0);
  EXPECT_EQ(dde_.Execute(channel, kCommand), kDdeOk);
  // The refused server gets its terminate posted, so it may log it a little later.
  Within(kExitTimeoutMs, [&] { return first.Log().size() == 2 && second.Log().size() == 2; });
  std::vector<Lines> logs = {first.Log(), second.Log()};
  std::sort(logs.begin(), logs.end());
  EXPECT_EQ(logs, (std::vector<Lines>{{"initiate", kCommand}, {"initiate", "terminate"}}));
  dde_.Close(channel);
}

TEST_F(Dde, a_window_that_does_not_read_its_messages_does_not_stop_the_search) {
  StandIn ide(dir_, "ide", "");
  ASSERT_TRUE(ide.Up());
  UniqueKernelHandle created(CreateEventA(nullptr, TRUE, FALSE, nullptr));
  UniqueKernelHandle release(CreateEventA(nullptr, TRUE, FALSE, nullptr));
  std::thread hung([&] {
    HWND window = CreateWindowExA(0, "STATIC", "hung", WS_POPUP, 0, 0, 0, 0, nullptr, nullptr, nullptr, nullptr);
    SetEvent(created.get());
    WaitForSingleObject(release.get(), 60000);
    DestroyWindow(window);
  });
  WaitForSingleObject(created.get(), kExitTimeoutMs);
  // The search runs on a thread of its own, so that this test can give up on it.
  struct Result {
    long channel = 0;
    UniqueKernelHandle done{CreateEventA(nullptr, TRUE, FALSE, nullptr)};
  };
  auto result = std::make_shared<Result>();
  std::thread search([result] {
    Win32DdeTransport dde;
    result->channel = dde.Open(kService, "");
    dde.Close(result->channel);
    SetEvent(result->done.get());
  });
  bool finished = WaitForSingleObject(result->done.get(), 5000) == WAIT_OBJECT_0;
  SetEvent(release.get());
  hung.join();
  finished ? search.join() : search.detach();
  ASSERT_TRUE(finished);
  EXPECT_NE(result->channel, 0);
}

TEST_F(Dde, many_conversations_leave_no_atoms_and_no_memory_behind) {
  ASSERT_EQ(GlobalFindAtomA(kService), 0) << "an earlier program left the service name behind";
  const std::string text = "[" + std::string(64 * 1024, 'x') + "]";
  struct Row {
    const char* options;
    long timeout;
    int result;
    int cycles;
  } rows[] = {{"--log NUL", 100, kDdeOk, 300}, {"--log NUL --no-ack", 1, kDdeTimedOut, 100}};  // big texts unlogged
  for (const Row& r : rows) {
    SCOPED_TRACE(r.options);
    StandIn ide(dir_, "ide", r.options);
    ASSERT_TRUE(ide.Up());
    dde_.SetTimeout(r.timeout);
    long long before = 0;
    for (int i = 0; i < r.cycles; ++i) {
      if (i == 5) before = PrivateBytes();  // after the first conversations have set everything up
      long channel = dde_.Open(kService, "");
      ASSERT_NE(channel, 0);
      ASSERT_EQ(dde_.Execute(channel, text), r.result);
      dde_.Close(channel);
    }
    EXPECT_EQ(GlobalFindAtomA(kService), 0);
    long long leakedIfNotFreed = (r.cycles - 5) * static_cast<long long>(text.size());
    EXPECT_LT(PrivateBytes() - before, leakedIfNotFreed / 4);
  }
}

}  // namespace
}  // namespace qz
