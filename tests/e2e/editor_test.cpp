// The EDIT window under Wine, operated as a person would: rows clicked, cells typed into, buttons pressed
// and every box read and answered.
#include <windows.h>
#include <commctrl.h>
#include <gtest/gtest.h>

#include <filesystem>
#include <optional>

#include "e2e/driver_win32.h"
#include "editor/editor_view_win32.h"

namespace qz::e2e {
namespace {

constexpr int kList = 3, kAdd = 4, kDelete = 6, kEntries = 10, kUpdate = 12;

const char* const kIniText =
    "[User Menus]\r\n1=&Alpha|ALPHA\r\n2=&Beta|CWEDT\r\n3=&Gamma|GAMMA\r\n"
    "[User Applications]\r\nALPHA=C:\\A\\ALPHA.EXE\r\nGAMMA=C:\\G\\GAMMA.EXE\r\n"
    "[File Types]\r\nAll=2\r\n1=Templates=*.tpl|CWEDT\r\n2=All Files=*.*|CWEDT\r\n";

class Editor : public ::testing::Test {
 protected:
  void SetUp() override {
    WriteWholeFile(ini_, kIniText);
    qzcl_.emplace(Launch{"EDIT", work_.Path()});
    window_ = qzcl_->WaitForWindow("Quendale Notes/Command Utility - Edit Window");
    ASSERT_NE(window_, nullptr);
    list_ = Control(kList);
    ASSERT_TRUE(WaitUntil([&] { return SelectedRow(list_) == 1; }));
  }
  HWND Control(int number) { return GetDlgItem(window_, kEditorFirstId + number); }
  std::string Menu(int key) {
    char buf[512];
    GetPrivateProfileStringA("User Menus", std::to_string(key).c_str(), "<absent>", buf, sizeof buf, ini_.c_str());
    return buf;
  }
  // Waits for the box, checks its caption and answers it.
  Box Answer(const char* caption, int button) {
    std::optional<Box> box = qzcl_->WaitForBox();
    EXPECT_TRUE(box) << "no box " << caption;
    if (!box) return {};
    EXPECT_EQ(box->caption, caption);
    EXPECT_TRUE(qzcl_->Press(*box, button)) << caption;
    return *box;
  }
  // The field laid over a cell, once it has the focus.
  HWND Field() {
    HWND field = nullptr;
    EXPECT_TRUE(WaitUntil([&] {
      field = FocusOf(window_);
      return field && GetDlgCtrlID(field) == kEditorEntryId;
    }));
    return field;
  }
  std::string Entries() { return TextOf(Control(kEntries)); }

  TempDirectory work_;
  const std::string bin_ = work_.Path() + "\\C6\\BIN", ini_ = bin_ + "\\C60EE.ini";
  Installed installed_{work_.Path() + "\\C6"};
  std::optional<QzclProcess> qzcl_;
  HWND window_ = nullptr, list_ = nullptr;
};

TEST_F(Editor, a_session_is_written_back_after_a_backup) {
  // A new item without its AppRef holds the selection until it is deleted.
  ClickButton(Control(kAdd));
  HWND field = Field();
  TypeText(field, "&New");
  ASSERT_TRUE(WaitUntil([&] { return TextOf(field) == "&New"; }));
  ClickCell(list_, 1, 1);
  Sleep(300);
  EXPECT_TRUE(WaitUntil([&] { return SelectedRow(list_) == 4; }));
  EXPECT_FALSE(IsWindowEnabled(Control(kAdd)));
  ClickButton(Control(kDelete));
  EXPECT_EQ(Answer("Delete Record", IDYES).text, "Are you sure you want to delete the item: &New?");
  EXPECT_TRUE(WaitUntil([&] { return Entries() == "  3" && IsWindowEnabled(Control(kAdd)); }));

  // An item deleted, and a cell edited in place.
  ClickCell(list_, 2, 1);
  EXPECT_TRUE(WaitUntil([&] { return SelectedRow(list_) == 2; }));
  ClickButton(Control(kDelete));
  Answer("Delete Record", IDYES);
  EXPECT_TRUE(WaitUntil([&] { return Entries() == "  2"; }));
  ClickCell(list_, 1, 1, true);
  field = Field();
  EXPECT_EQ(TextOf(field), "&Alpha");
  TypeText(field, "&Renamed");  // the whole text is selected: typing replaces it
  PressKey(field, VK_TAB);      // on to the AppRef combo
  ASSERT_TRUE(WaitUntil([&] { return FocusOf(window_) != field; }));
  PressKey(FocusOf(window_), VK_RETURN);

  ASSERT_TRUE(WaitUntil([&] { return IsWindowEnabled(Control(kUpdate)) != FALSE; }));
  ClickButton(Control(kUpdate));
  Answer("Update File", IDYES);
  EXPECT_NE(Answer("Update Completed", IDOK).text.find("The original INI file has been saved"), std::string::npos);
  EXPECT_EQ(Menu(1), "&Renamed|ALPHA");
  EXPECT_EQ(Menu(2), "&Gamma|GAMMA");
  EXPECT_EQ(Menu(3), "");
  std::vector<std::string> backups;
  for (const auto& entry : std::filesystem::directory_iterator(bin_))
    if (entry.path().filename() != "C60EE.ini") backups.push_back(entry.path().filename().string());
  ASSERT_EQ(backups.size(), 1u);
  EXPECT_EQ(backups[0].rfind("C60EE ", 0), 0u) << backups[0];
  EXPECT_EQ(ReadWholeFile(bin_ + "\\" + backups[0]), kIniText);

  PostMessageA(window_, WM_CLOSE, 0, 0);
  EXPECT_EQ(qzcl_->WaitForExit(), 0u);
}

}  // namespace
}  // namespace qz::e2e
