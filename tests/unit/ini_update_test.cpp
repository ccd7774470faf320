#include <gtest/gtest.h>

#include <filesystem>

#include "editor/ini_update.h"
#include "editor/section_table.h"
#include "translator/translation_file.h"
#include "unit/harness.h"

namespace qz {
namespace {

const char* const kIni = "C:\\C6\\BIN\\C60EE.ini.";
const char* const kBackup = "C:\\C6\\BIN\\C60EE 061102 143005.ini";

struct Update : fake::Harness {
  Installation ide{.version = "60", .exe = "C60EE", .iniFile = kIni};
  std::vector<Item> items;
  Update() { files.existing.insert(kIni); }
  bool Write(const char* section, int storedCount) { return UpdateSection(svc, ide, section, items, storedCount); }
  std::string Ini(const char* section, const char* key) {
    const std::string* v = profile.Find(kIni, section, key);
    return v ? *v : "<absent>";
  }
};

TEST(ini_update, writes_the_list_and_clears_what_it_no_longer_has) {
  Update t;
  for (int i = 1; i <= 5; ++i)
    t.profile.Write(kIni, "User Menus", std::to_string(i), "Item " + std::to_string(i) + "|APP" + std::to_string(i));
  t.profile.Write(kIni, "User Menus", "Extra", "not the list's");
  t.profile.Write(kIni, "User Applications", "APP1", "one.exe");
  t.items = LoadSection(t.svc, kIni, "User Menus");
  auto& items = t.items;
  items.erase(items.begin() + 1, items.begin() + 3);  // delete items 2 and 3
  items[0].commandLine = "C:\\New\\one.exe";
  // an applet: no command line written
  items.push_back({.text = "&Editor", .appRef = "CWEDT", .commandLine = "ignored.exe", .number = 6});
  ASSERT_TRUE(t.Write("User Menus", 5));
  EXPECT_EQ(t.Ini("User Menus", "1"), "Item 1|APP1");
  EXPECT_EQ(t.Ini("User Menus", "3"), "Item 5|APP5");
  EXPECT_EQ(t.Ini("User Menus", "4"), "&Editor|CWEDT");
  EXPECT_EQ(t.Ini("User Menus", "5"), "");
  EXPECT_EQ(t.Ini("User Menus", "Extra"), "not the list's");
  EXPECT_EQ(t.Ini("User Applications", "APP1"), "C:\\New\\one.exe");
  EXPECT_EQ(t.Ini("User Applications", "CWEDT"), "<absent>");
  ASSERT_EQ(t.dialogs.shown.size(), 1u);
  EXPECT_EQ(t.dialogs.shown[0].caption, "Update Completed");
  EXPECT_EQ(t.dialogs.shown[0].text,
            "C:\\C6\\BIN\\C60EE.INI.||The original INI file has been saved to the date time stamped file:|"
            "C:\\C6\\BIN\\C60EE 061102 143005.INI");
  EXPECT_EQ(t.dialogs.shown[0].icon, Icon::WinLogo);
  EXPECT_EQ(t.files.copies, std::vector<std::string>{kBackup});

  // The second update clears one more key and nothing beyond the count it was given.
  t.files.existing.erase(kBackup);
  t.files.contents.erase(kBackup);
  t.clock.localTime.second = 6;
  items.pop_back();
  int before = t.profile.writes;
  ASSERT_TRUE(t.Write("User Menus", 4));
  EXPECT_EQ(t.Ini("User Menus", "4"), "");
  EXPECT_EQ(t.profile.writes - before, 1);  // the section in one rewrite; the command lines are unchanged
}

TEST(ini_update, file_types_keep_the_all_files_mask_and_long_values) {
  Update t;
  std::string longMask(300, 'm');
  t.items = {{.text = "A", .mask = "*.a", .appRef = "CWEDT", .number = 1},
             {.text = "B", .mask = longMask, .appRef = "CWEDT", .number = 2},
             {.text = "All", .mask = "*.*", .appRef = "CWEDT", .number = 3, .allFilesMask = true}};
  ASSERT_TRUE(t.Write("File Types", 3));
  EXPECT_EQ(t.Ini("File Types", "All"), "3");
  EXPECT_EQ(t.Ini("File Types", "2"), "B=" + longMask + "|CWEDT");
  t.items = {{.text = "Tpl  ", .mask = "*.tpl ", .appRef = "ME", .commandLine = "me.exe", .number = 1}};
  t.files.existing.clear();
  t.files.existing.insert(kIni);
  t.files.contents.clear();
  ASSERT_TRUE(t.Write("Open Dialog", 1));
  EXPECT_EQ(t.Ini("Open Dialog", "1"), "Tpl=*.tpl|ME");
}

TEST(ini_update, writes_nothing_without_a_backup) {
  Update t;
  t.files.existing.insert(kBackup);  // every name it builds within this second is taken
  t.items = {{.text = "A", .appRef = "APP", .commandLine = "a.exe", .number = 1}};
  EXPECT_FALSE(t.Write("User Menus", 1));
  EXPECT_EQ(t.Ini("User Menus", "1"), "<absent>");
  ASSERT_EQ(t.dialogs.shown.size(), 1u);
  EXPECT_EQ(t.dialogs.shown[0].caption, "Update File");
  EXPECT_EQ(t.clock.waits, 100);
}

TEST(ini_update, a_backup_name_already_taken_waits_for_the_next_second) {
  for (const char* section : {"User Menus", "Translations"}) {
    Update t;
    t.clock.secondsRun = true;
    t.svc.langFile = "QZCLLang.str";
    t.files.existing.insert("QZCLLang.str");
    t.files.existing.insert(kBackup);
    t.files.existing.insert("QZCLLang 061102 143005.tps");
    t.items = {{.text = "A", .appRef = "APP", .commandLine = "a.exe", .number = 1}};
    t.Write(section, 1);
    ASSERT_EQ(t.files.copies.size(), 1u) << section;
    EXPECT_EQ(t.files.copies[0], std::string(section) == "User Menus" ? "C:\\C6\\BIN\\C60EE 061102 143006.ini"
                                                                       : "QZCLLang 061102 143006.tps");
  }
}

TEST(ini_update, confirmation_and_the_running_ide) {
  struct Case {
    const char* section;
    Button answer;
    bool ideRunning;
    bool proceeds;
  } cases[] = {{"User Menus", Button::No, false, false},
               {"User Menus", Button::Yes, false, true},
               {"Setup Menu", Button::Yes, true, false},  // the close prompt then cancelled
               {"Translations", Button::Yes, true, true}};
  for (const auto& c : cases) {
    Update t;
    t.dialogs.answers = {c.answer, Button::Cancel};
    t.transport.serverUp = [&c](int) { return c.ideRunning; };
    EXPECT_EQ(ConfirmUpdate(t.svc, t.ide, c.section), c.proceeds) << c.section;
    EXPECT_EQ(t.dialogs.shown[0].caption, "Update File");
    EXPECT_EQ(t.dialogs.shown[0].buttons, Buttons::YesNo);
  }
}

TEST(ini_update, translations_are_replaced_whole_or_not_at_all) {
  auto dir = std::filesystem::temp_directory_path() / "qz-ini-update";
  std::filesystem::remove_all(dir);
  std::filesystem::create_directories(dir);
  const std::string path = (dir / "QZCLLang.str").string();
  for (bool heldElsewhere : {true, false}) {
    Update t;
    std::filesystem::remove(path);
    {
      TranslationFile file(t.codec);
      file.SetName(path);
      ASSERT_EQ(file.Create(), FileError::None);
      ASSERT_EQ(file.Open(), FileError::None);
      file.Add("Old", "Alt");
    }
    t.svc.langFile = path;
    t.files.existing.insert(path);
    if (heldElsewhere) t.files.heldOpen.insert(path);
    t.items = {{.text = "New  ", .replacement = "Neu  "}, {.text = "Two", .replacement = "Zwei"}};
    EXPECT_EQ(t.Write("Translations", 0), !heldElsewhere);
    EXPECT_EQ(t.files.copies, std::vector<std::string>{"QZCLLang 061102 143005.tps"});
    TranslationFile file(t.codec);
    file.SetName(path);
    ASSERT_EQ(file.Open(), FileError::None);
    EXPECT_EQ(file.Find("Old").has_value(), heldElsewhere);
    EXPECT_EQ(file.Find("New"), heldElsewhere ? std::nullopt : std::optional<std::string>("Neu"));
    if (heldElsewhere) {
      EXPECT_EQ(t.dialogs.shown.at(0).text, "The filel cold not be opened for exclusive access. Update canceled.");
    } else {
      EXPECT_TRUE(t.dialogs.shown.empty());
    }
  }
  std::filesystem::remove_all(dir);
}

}  // namespace
}  // namespace qz
