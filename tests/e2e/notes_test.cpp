// The notes window of a start without parameters, under Wine, operated as a person would.
#include <windows.h>
#include <gtest/gtest.h>

#include <optional>

#include "e2e/driver_win32.h"
#include "notes/notes_view_win32.h"
#include "runtime/text_list.h"

namespace qz::e2e {
namespace {

constexpr int kNote = 9, kOk = 19, kCancel = 20;
const char* const kLast = "Version             EQUATE('1.00  0041')  ! 12/01/06 0900 -- older";

class Notes : public ::testing::Test {
 protected:
  void Start(const std::string& settings = "") {
    WriteWholeFile(file_, std::string(kLast) + "\r\n");
    if (!settings.empty()) WriteWholeFile(work_.Path() + "\\QZCL60.ini", settings);
    qzcl_.emplace(Launch{"", work_.Path()});
    window_ = qzcl_->WaitForWindowWith(kNotesFirstId + kOk);
    ASSERT_NE(window_, nullptr);
  }
  HWND Control(int number) { return GetDlgItem(window_, kNotesFirstId + number); }
  std::vector<std::string> Lines() {
    const std::string bytes = ReadWholeFile(file_);
    std::vector<std::string> lines;
    for (std::string_view line : qz::Lines(bytes)) lines.emplace_back(line);
    return lines;
  }

  TempDirectory work_;
  const std::string file_ = work_.Path() + "\\Version.qzi";
  std::optional<QzclProcess> qzcl_;
  HWND window_ = nullptr;
};

TEST_F(Notes, ok_appends_the_typed_note_with_the_next_build) {
  Start();
  ASSERT_TRUE(WaitUntil([&] { return FocusOf(window_) == Control(kNote); }));
  TypeText(Control(kNote), "First build");
  ASSERT_TRUE(WaitUntil([&] { return TextOf(Control(kNote)) == "First build"; }));
  ClickButton(Control(kOk));
  EXPECT_EQ(qzcl_->WaitForExit(), 0u);
  std::vector<std::string> lines = Lines();
  ASSERT_EQ(lines.size(), 2u);
  EXPECT_EQ(lines[0], "!Version            EQUATE('1.00  0041')  ! 12/01/06 0900 -- older");
  EXPECT_EQ(lines[1].substr(0, 43), "Version             EQUATE('1.00  0042')  !");
  EXPECT_EQ(lines[1].substr(57), " -- First build");
  EXPECT_NE(ReadWholeFile(work_.Path() + "\\QZCL60.ini").find("Name=Version.qzi"), std::string::npos);
}

TEST_F(Notes, cancel_and_the_countdown_leave_the_last_entry_live) {
  for (bool updatesOff : {false, true}) {
    Start(updatesOff ? "[Status]\r\nOn=0\r\n" : "");
    // Opening comments the entry out while the window is open.
    ASSERT_TRUE(WaitUntil([&] { return ReadWholeFile(file_).front() == '!'; }));
    if (updatesOff) {
      EXPECT_FALSE(IsWindowEnabled(Control(kOk)));
      EXPECT_EQ(TextOf(Control(kNote)), "Update is turned off");
      EXPECT_EQ(qzcl_->WaitForExit(6000), 0u);  // by itself on the third tick of a second
    } else {
      ClickButton(Control(kCancel));
      EXPECT_EQ(qzcl_->WaitForExit(), 0u);
    }
    EXPECT_EQ(Lines(), std::vector<std::string>{kLast}) << updatesOff;
  }
}

}  // namespace
}  // namespace qz::e2e
