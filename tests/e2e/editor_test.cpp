// The EDIT window under Wine, operated as a person would: rows clicked, cells typed into, buttons pressed
// and every box read and answered.
#include <windows.h>
#include <commctrl.h>
#include <gtest/gtest.h>

#include "e2e/driver_win32.h"
#include "editor/editor_view_win32.h"

namespace qz::e2e {
namespace {

constexpr int kList = 3, kDelete = 6, kEntries = 10, kUpdate = 12;

TEST(Editor, a_session_is_written_back_after_a_backup) {
  const std::string gamma = "C:\\G\\GAMMA.EXE " + std::string(1500, 'g');  // written back whole
  const std::string ini =
      "; my menus\r\n[User Menus]\r\n1=&Alpha|ALPHA\r\n2=&Beta|CWEDT\r\n3 = &Gamma|GAMMA\r\n\r\n"
      "[User Applications]\r\nALPHA=C:\\A\\ALPHA.EXE\r\nGAMMA=" +
      gamma +
      "\r\n"
      "[File Types]\r\nAll=2\r\n1=Templates=*.tpl|CWEDT\r\n2=All Files=*.*|CWEDT\r\n";
  TempDirectory work;
  Installed installed(work.Path() + "\\C6");
  const std::string bin = work.Path() + "\\C6\\BIN", file = bin + "\\C60EE.ini";
  WriteWholeFile(file, ini);
  QzclProcess qzcl({"EDIT", work.Path()});
  HWND window = qzcl.WaitForWindow("Quendale Notes/Command Utility - Edit Window");
  ASSERT_NE(window, nullptr);
  auto control = [&](int number) { return GetDlgItem(window, kEditorFirstId + number); };
  HWND list = control(kList);
  ASSERT_TRUE(WaitUntil([&] { return SelectedRow(list) == 1; }));
  auto answer = [&](const char* caption, int button) {  // waits for the box, checks its caption and answers it
    std::optional<Box> box = qzcl.WaitForBox();
    EXPECT_TRUE(box && box->caption == caption && qzcl.Press(*box, button)) << caption;
    return box ? box->text : std::string();
  };
  auto field = [&] {  // the field laid over a cell, once it has the focus
    HWND focus = nullptr;
    EXPECT_TRUE(WaitUntil([&] { return (focus = FocusOf(window)) && GetDlgCtrlID(focus) == kEditorEntryId; }));
    return focus;
  };
  auto entries = [&] { return TextOf(control(kEntries)); };

  // An item deleted, and a cell edited in place.
  ClickCell(list, 2, 1);
  EXPECT_TRUE(WaitUntil([&] { return SelectedRow(list) == 2; }));
  ClickButton(control(kDelete));
  EXPECT_EQ(answer("Delete Record", IDYES), "Are you sure you want to delete the item: &Beta?");
  EXPECT_TRUE(WaitUntil([&] { return entries() == "  2"; }));
  ClickCell(list, 1, 1, true);
  HWND typed = field();
  EXPECT_EQ(TextOf(typed), "&Alpha");
  TypeText(typed, "&Renamed");  // the whole text is selected: typing replaces it
  PressKey(typed, VK_TAB);      // on to the AppRef combo
  ASSERT_TRUE(WaitUntil([&] { return FocusOf(window) != typed; }));
  PressKey(FocusOf(window), VK_RETURN);
  ASSERT_TRUE(WaitUntil([&] { return IsWindowEnabled(control(kUpdate)) != FALSE; }));
  ClickButton(control(kUpdate));
  answer("Update File", IDYES);
  EXPECT_NE(answer("Update Completed", IDOK).find("The original INI file has been saved"), std::string::npos);
  // Only the lines of the list changed; every other byte stayed.
  std::string written = ini;
  written.replace(written.find("1=&Alpha|ALPHA"), 14, "1=&Renamed|ALPHA");
  written.replace(written.find("2=&Beta|CWEDT"), 13, "2=&Gamma|GAMMA");
  written.replace(written.find("3 = &Gamma|GAMMA"), 16, "3 = ");
  EXPECT_TRUE(ReadWholeFile(file) == written) << ReadWholeFile(file).substr(0, 200);
  std::vector<std::string> backups;
  for (const auto& entry : std::filesystem::directory_iterator(bin))
    if (entry.path().filename() != "C60EE.ini") backups.push_back(entry.path().filename().string());
  ASSERT_EQ(backups.size(), 1u);
  EXPECT_EQ(backups[0].rfind("C60EE ", 0), 0u) << backups[0];
  EXPECT_EQ(ReadWholeFile(bin + "\\" + backups[0]), ini);
  PostMessageA(window, WM_CLOSE, 0, 0);
  EXPECT_EQ(qzcl.WaitForExit(), 0u);
}

}  // namespace
}  // namespace qz::e2e
