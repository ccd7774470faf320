// Starting programs by command line, without waiting for them.
#include <windows.h>

#include <gtest/gtest.h>

#include <filesystem>
#include <memory>
#include <string>
#include <thread>

#include "runtime/handle_win32.h"
#include "runtime/processes_win32.h"

namespace qz {
namespace {

constexpr DWORD kStartTimeoutMs = 15000;  // a cold Wine start can take seconds

template <typename Check>
bool Within(DWORD ms, Check check) {
  for (ULONGLONG end = GetTickCount64() + ms; !check(); Sleep(20))
    if (GetTickCount64() >= end) return false;
  return true;
}

TEST(Processes, a_program_beside_ours_is_found_by_its_bare_name_and_not_waited_for) {
  char temp[MAX_PATH + 1] = {};
  GetTempPathA(sizeof temp, temp);
  const std::string ready = std::string(temp) + "qzcl-start-" + std::to_string(GetCurrentProcessId()) + ".ready";
  std::filesystem::remove(ready);
  // The stand-in IDE runs until it is closed, so Start must return while it runs.
  struct Outcome {
    int result = 1;
    std::string error;
    UniqueKernelHandle done{CreateEventA(nullptr, TRUE, FALSE, nullptr)};
  };
  auto outcome = std::make_shared<Outcome>();
  std::thread start([outcome, ready] {
    outcome->result = Win32Processes().Start("stand_in_ide --ready \"" + ready + "\"", outcome->error);
    SetEvent(outcome->done.get());
  });
  bool returned = WaitForSingleObject(outcome->done.get(), kStartTimeoutMs) == WAIT_OBJECT_0;
  returned ? start.join() : start.detach();
  ASSERT_TRUE(returned);
  EXPECT_EQ(outcome->result, 0);
  EXPECT_EQ(outcome->error, "");
  EXPECT_TRUE(Within(kStartTimeoutMs, [&] { return std::filesystem::exists(ready); }));
  if (HWND ide = FindWindowA("QzStandInIde", nullptr)) PostMessageA(ide, WM_CLOSE, 0, 0);
  EXPECT_TRUE(Within(kStartTimeoutMs, [] { return !FindWindowA("QzStandInIde", nullptr); }));
  std::filesystem::remove(ready);
}

TEST(Processes, a_program_that_cannot_be_found_fails_with_the_systems_message) {
  std::string error;
  EXPECT_EQ(Win32Processes().Start("qzcl-no-such-program-4711 /x", error), kStartFailed);
  EXPECT_NE(error, "");
  EXPECT_EQ(error.find_first_of("\r\n"), std::string::npos);  // one line, ready for a message box
}

}  // namespace
}  // namespace qz
