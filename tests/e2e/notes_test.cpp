// The notes window of a start without parameters, under Wine, operated as a person would: Ok appends the
// typed note, Cancel and the updates-off countdown leave the last entry live, and a translation file does not
// change the window's texts.
#include <windows.h>
#include <gtest/gtest.h>

#include <optional>

#include "e2e/driver_win32.h"
#include "notes/notes_view_win32.h"
#include "platform/platform_win32.h"
#include "text/text_list.h"
#include "translator/translation_file.h"

namespace qz::e2e {
namespace {

constexpr int kNote = 9, kOk = 19, kCancel = 20;

TEST(Notes, ok_appends_the_typed_note_with_the_next_build_and_cancel_and_the_countdown_leave_the_last_entry_live) {
  const std::string last = "Version             EQUATE('1.00  0041')  ! 12/01/06 0900 -- older";
  for (const std::string way : {"ok", "cancel", "countdown"}) {
    SCOPED_TRACE(way);
    TempDirectory work;
    const std::string file = work.Path() + "\\Version.qzi", settings = work.Path() + "\\QZCL60.ini";
    WriteWholeFile(file, last + "\r\n");
    if (way == "countdown") WriteWholeFile(settings, "[Status]\r\nOn=0\r\n");
    if (way == "cancel") {  // the window keeps its own texts even when the translation file names them
      Win32Codec codec;
      TranslationFile translations(codec);
      translations.SetName(work.Path() + "\\QZCLLang.str");
      ASSERT_EQ(translations.Create(), FileError::None);
      ASSERT_EQ(translations.Open(), FileError::None);
      translations.ReplaceAll({{"&Ok", "&D'accord"}, {"&Cancel", "&Annuler"}, {"&Note:", "&Remarque :"}});
    }
    QzclProcess qzcl({"", work.Path()});
    HWND window = qzcl.WaitForWindowWith(kNotesFirstId + kOk);
    ASSERT_NE(window, nullptr);
    auto control = [&](int number) { return GetDlgItem(window, kNotesFirstId + number); };
    // Opening comments the entry out while the window is open.
    ASSERT_TRUE(WaitUntil([&] { return ReadWholeFile(file).front() == '!'; }));
    if (way == "ok") {
      ASSERT_TRUE(WaitUntil([&] { return FocusOf(window) == control(kNote); }));
      TypeText(control(kNote), "First build");
      ASSERT_TRUE(WaitUntil([&] { return TextOf(control(kNote)) == "First build"; }));
      ClickButton(control(kOk));
    } else if (way == "cancel") {
      EXPECT_EQ(TextOf(control(kOk)) + "|" + TextOf(control(kCancel)), "&Ok|&Cancel");
      ClickButton(control(kCancel));
    } else {
      EXPECT_FALSE(IsWindowEnabled(control(kOk)));
      EXPECT_EQ(TextOf(control(kNote)), "Update is turned off");
    }
    EXPECT_EQ(qzcl.WaitForExit(6000), 0u);  // the countdown ends it by itself on the third tick of a second
    WriteProfileStringA("QZCL", "LangFile", nullptr);  // a run that found a translation file named it in WIN.INI
    const std::string bytes = ReadWholeFile(file);
    std::vector<std::string> lines;
    for (std::string_view line : qz::Lines(bytes)) lines.emplace_back(line);
    if (way != "ok") {
      EXPECT_EQ(lines, std::vector<std::string>{last});
      continue;
    }
    ASSERT_EQ(lines.size(), 2u);
    EXPECT_EQ(lines[0], "!Version            EQUATE('1.00  0041')  ! 12/01/06 0900 -- older");
    EXPECT_EQ(lines[1].substr(0, 43), "Version             EQUATE('1.00  0042')  !");
    EXPECT_EQ(lines[1].substr(57), " -- First build");
    EXPECT_NE(ReadWholeFile(settings).find("Name=Version.qzi"), std::string::npos);
  }
}

}  // namespace
}  // namespace qz::e2e
