// The EDIT window under Wine, operated as a person would: rows clicked, cells typed into, buttons pressed
// and every box read and answered.
#include <windows.h>
#include <commctrl.h>
#include <gtest/gtest.h>

#include <filesystem>

#include "e2e/driver_win32.h"
#include "editor/editor_view_win32.h"

namespace qz::e2e {
namespace {

const char* const kSection = "Clarion 6.0  Enterprise Edition";
const char* const kTitle = "Quendale Notes/Command Utility - Edit Window";
constexpr int kList = 3, kDelete = 6, kEntries = 10, kUpdate = 12, kSections = 14;

const char* const kIniText =
    "[User Menus]\r\n1=&Alpha|ALPHA\r\n2=&Beta|CWEDT\r\n3=&Gamma|GAMMA\r\n"
    "[User Applications]\r\nALPHA=C:\\A\\ALPHA.EXE\r\nGAMMA=C:\\G\\GAMMA.EXE\r\n"
    "[File Types]\r\nAll=2\r\n1=Templates=*.tpl|CWEDT\r\n2=All Files=*.*|CWEDT\r\n";

class Editor : public ::testing::Test {
 protected:
  void SetUp() override {
    bin_ = work_.Path() + "\\C6\\BIN";
    std::filesystem::create_directories(bin_);
    ini_ = bin_ + "\\C60EE.ini";
    WriteWholeFile(ini_, kIniText);
    WriteProfileStringA(kSection, "Root", (work_.Path() + "\\C6").c_str());
    WriteProfileStringA(kSection, "ExeName", "C60EE");
    qzcl_ = std::make_unique<QzclProcess>(Launch{"EDIT", work_.Path(), {}, false});
    window_ = qzcl_->WaitForWindow(kTitle);
    ASSERT_NE(window_, nullptr);
    list_ = Control(kList);
    ASSERT_TRUE(WaitUntil([&] { return SelectedRow(list_) == 1; }));
  }
  void TearDown() override {
    WriteProfileStringA(kSection, nullptr, nullptr);
    qzcl_.reset();
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
  void Select(int row, int column) {
    ClickCell(list_, row, column);
    EXPECT_TRUE(WaitUntil([&] { return SelectedRow(list_) == row; })) << row;
  }
  void Delete(int row) {
    Select(row, 1);
    ClickButton(Control(kDelete));
    Answer("Delete Record", IDYES);
  }
  void UpdateFile() {
    ASSERT_TRUE(WaitUntil([&] { return IsWindowEnabled(Control(kUpdate)) != FALSE; }));
    ClickButton(Control(kUpdate));
    Answer("Update File", IDYES);
    Box done = Answer("Update Completed", IDOK);
    EXPECT_NE(done.text.find("The original INI file has been saved"), std::string::npos) << done.text;
  }
  void CloseWindow() {
    PostMessageA(window_, WM_CLOSE, 0, 0);
    EXPECT_EQ(qzcl_->WaitForExit(), 0u);
  }
  std::vector<std::string> Backups() {
    std::vector<std::string> found;
    for (const auto& entry : std::filesystem::directory_iterator(bin_)) {
      std::string name = entry.path().filename().string();
      if (name != "C60EE.ini") found.push_back(name);
    }
    return found;
  }

  TempDirectory work_;
  std::string bin_, ini_;
  std::unique_ptr<QzclProcess> qzcl_;
  HWND window_ = nullptr, list_ = nullptr;
};

TEST_F(Editor, a_deleted_item_is_written_back_after_a_backup) {
  EXPECT_EQ(TextOf(Control(kEntries)), "  3");
  Delete(2);
  EXPECT_TRUE(WaitUntil([&] { return TextOf(Control(kEntries)) == "  2"; }));
  UpdateFile();
  EXPECT_EQ(Menu(1), "&Alpha|ALPHA");
  EXPECT_EQ(Menu(2), "&Gamma|GAMMA");
  EXPECT_EQ(Menu(3), "");
  std::vector<std::string> backups = Backups();
  ASSERT_EQ(backups.size(), 1u);
  EXPECT_EQ(backups[0].rfind("C60EE ", 0), 0u) << backups[0];
  EXPECT_EQ(ReadWholeFile(bin_ + "\\" + backups[0]), kIniText);
  CloseWindow();
}

TEST_F(Editor, a_cell_is_edited_in_place) {
  ClickCell(list_, 1, 1, true);
  HWND field = nullptr;
  ASSERT_TRUE(WaitUntil([&] {
    field = FocusOf(window_);
    return field && GetDlgCtrlID(field) == kEditorEntryId;
  }));
  EXPECT_EQ(TextOf(field), "&Alpha");
  TypeText(field, "&Renamed");  // the whole text is selected: typing replaces it
  PressKey(field, VK_TAB);      // on to the AppRef combo
  ASSERT_TRUE(WaitUntil([&] { return FocusOf(window_) != field; }));
  PressKey(FocusOf(window_), VK_RETURN);
  UpdateFile();
  EXPECT_EQ(Menu(1), "&Renamed|ALPHA");
  EXPECT_EQ(Menu(2), "&Beta|CWEDT");
  CloseWindow();
}

TEST_F(Editor, switching_sections_with_changes_can_be_declined) {
  const std::string before = ReadWholeFile(ini_);
  Delete(3);
  HWND sections = Control(kSections);
  PressKey(sections, VK_DOWN);  // "File Types"
  Box asked = Answer("List Changed", IDNO);
  EXPECT_EQ(asked.text, "The list has been changed and will be overwritten. Do yo want to load the new selection?");
  EXPECT_TRUE(WaitUntil([&] { return SendMessageA(sections, CB_GETCURSEL, 0, 0) == 0; }));
  EXPECT_EQ(TextOf(Control(kEntries)), "  2");
  PostMessageA(window_, WM_CLOSE, 0, 0);
  Answer("Close", IDNO);
  EXPECT_EQ(qzcl_->WaitForExit(), 0u);
  EXPECT_EQ(ReadWholeFile(ini_), before);
  EXPECT_TRUE(Backups().empty());
}

TEST_F(Editor, an_incomplete_new_item_holds_the_selection_until_deleted) {
  ClickButton(Control(4));  // Add
  HWND field = nullptr;
  ASSERT_TRUE(WaitUntil([&] {
    field = FocusOf(window_);
    return field && GetDlgCtrlID(field) == kEditorEntryId;
  }));
  TypeText(field, "&New");
  ASSERT_TRUE(WaitUntil([&] { return TextOf(field) == "&New"; }));
  ClickCell(list_, 1, 1);  // no AppRef yet: the list goes back to the new row
  Sleep(300);
  EXPECT_TRUE(WaitUntil([&] { return SelectedRow(list_) == 4; }));
  EXPECT_FALSE(IsWindowEnabled(Control(4)));
  ClickButton(Control(kDelete));
  Box asked = Answer("Delete Record", IDYES);
  EXPECT_EQ(asked.text, "Are you sure you want to delete the item: &New?");
  EXPECT_TRUE(WaitUntil([&] { return TextOf(Control(kEntries)) == "  3" && IsWindowEnabled(Control(4)); }));
  PostMessageA(window_, WM_CLOSE, 0, 0);
  Answer("Close", IDNO);
  EXPECT_EQ(qzcl_->WaitForExit(), 0u);
}

TEST_F(Editor, f1_opens_the_help_page_at_the_editor) {
  // The program that opens HTML pages is, for this test, one that writes down its command line.
  char before[MAX_PATH] = "";
  LONG size = sizeof before;
  const bool hadType = RegQueryValueA(HKEY_CLASSES_ROOT, ".html", before, &size) == ERROR_SUCCESS;
  const std::string browser = work_.Path() + "\\run_marker.exe";
  ASSERT_TRUE(CopyFileA((TestProgramDirectory() + "\\run_marker.exe").c_str(), browser.c_str(), FALSE));
  const std::string command = "\"" + browser + "\" \"%1\"";
  RegSetValueA(HKEY_CLASSES_ROOT, ".html", REG_SZ, "QzclTestPage", 0);
  RegSetValueA(HKEY_CLASSES_ROOT, "QzclTestPage\\shell\\open\\command", REG_SZ, command.c_str(), 0);
  PressKey(list_, VK_F1);
  const std::string marker = work_.Path() + "\\run-marker.txt";
  EXPECT_TRUE(WaitUntil([&] { return !ReadWholeFile(marker).empty(); }));
  RegDeleteTreeA(HKEY_CLASSES_ROOT, "QzclTestPage");
  if (hadType) {
    RegSetValueA(HKEY_CLASSES_ROOT, ".html", REG_SZ, before, 0);
  } else {
    RegDeleteTreeA(HKEY_CLASSES_ROOT, ".html");
  }
  const std::string line = ReadWholeFile(marker);
  EXPECT_NE(line.find(" \"file:///"), std::string::npos) << line;
  EXPECT_NE(line.find("/qzcl.html#QZCL%20Editor\""), std::string::npos) << line;
  CloseWindow();
}

TEST(EditorUnattended, says_it_needs_a_desktop_instead_of_waiting) {
  TempDirectory work;
  WriteProfileStringA(kSection, "Root", (work.Path() + "\\C6").c_str());
  WriteProfileStringA(kSection, "ExeName", "C60EE");
  QzclProcess qzcl(Launch{"EDIT", work.Path(), {{"QZCL_UNATTENDED", "1"}}, true});
  EXPECT_EQ(qzcl.WaitForExit(), 2u);
  EXPECT_NE(qzcl.StandardError().find("The editor is a window and cannot run without a desktop."), std::string::npos);
  WriteProfileStringA(kSection, nullptr, nullptr);
}

}  // namespace
}  // namespace qz::e2e
