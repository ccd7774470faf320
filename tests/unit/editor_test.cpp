// The EDIT window over fakes: the sections it lists, Update File with its backup, and its presenter played
// step by step as a person would use the window.
#include <gtest/gtest.h>

#include "editor/editor_window.h"
#include "editor/ini_update.h"
#include "editor/section_table.h"
#include "unit/harness.h"

namespace qz {
namespace {

using fake::FakeEditorView;
using fake::kIdeIni;
using C = EditorControl;
using Strings = std::vector<std::string>;

TEST(section_table, loads_each_section_into_its_fields_up_to_its_first_missing_key) {
  fake::Harness t;
  const std::array<const char*, 3> ini[] = {
      {"User Menus", "1", "&Save && Exit|SAVER"},
      {"User Menus", "2", "-|-"},
      {"User Menus", "3", "&Tools|MYTOOL"},
      {"User Menus", "5", "Beyond|GAP"},                       // key 4 missing: the list ends there
      {"User Applications", "mytool", " 'C:\\T\\TOOL.EXE' "},  // read as an entry read gives it
      {"User Applications", "SAVER", "  C:\\Program Files\\S\\SAVE.EXE\" /x"},
      {"File Types", "All", "2"},
      {"File Types", "1", "Templates=*.tpl|CWEDT"},
      {"File Types", "2", "All Files=*.*|NOTE"},
      {"File Types", "3", "No separators at all"},
      {"File Types", "4", "-"},
      {"User Applications", "NOTE", "note.exe"},
      {"User Applications", "CWEDT", "never read for an applet"}};
  for (auto [section, key, value] : ini) t.SetIni(kIdeIni, section, key, value);
  auto fields = [&](const char* section) {
    Strings out;
    for (const Item& i : LoadSection(t.svc, kIdeIni, section))
      out.push_back(i.text + "|" + i.mask + "|" + i.appRef + "|" + i.commandLine + "|" + i.sortKey.substr(0, 12) + "|" +
                    std::to_string(i.number) + (i.allFilesMask ? " all" : ""));
    return out;
  };
  EXPECT_EQ(fields("User Menus"), (Strings{"&Save && Exit||SAVER|\"C:\\Program Files\\S\\SAVE.EXE\" /x|SAVE  EXIT|1",
                                           "-||-||TOOLS|2",  // a separator carries the key of the item after it
                                           "&Tools||MYTOOL|C:\\T\\TOOL.EXE|TOOLS|3"}));
  EXPECT_EQ(fields("File Types"),
            (Strings{"Templates|*.tpl|CWEDT||TEMPLATES|1", "All Files|*.*|NOTE|note.exe|ALL FILES|2 all",
                     "No separators at all|No separators at all|No separators at all||NO SEPARATOR|3",  // malformed
                     "-|-|-||" + std::string(12, '\xFF') + "|4"}));  // a separator at the end sorts last
  EXPECT_TRUE(fields("Setup Menu").empty());
  fake::TempFolder folder;
  t.svc.langFile = folder / "QZCLLang.str";
  fake::WriteTranslationFile(t.codec, t.svc.langFile, {{"Zebra", "Zebre"}, {"apple", "pomme"}});
  t.files.existing.insert(t.svc.langFile);
  const auto translations = LoadSection(t.svc, kIdeIni, "Translations");
  ASSERT_EQ(translations.size(), 2u);
  EXPECT_EQ(translations[0].text, "Zebra" + std::string(249, ' '));
  EXPECT_EQ(Clip(translations[1].replacement) + "|" + Clip(translations[1].sortKey), "pomme|APPLE");
}

TEST(section_table, moves_a_separator_with_the_item_after_it_and_default_restores_the_order) {
  std::vector<Item> list{{.text = "Beta", .sortKey = "BETA", .number = 1},
                         {.text = "-", .sortKey = "GAMMA", .number = 2},
                         {.text = "Gamma", .sortKey = "GAMMA", .number = 3},
                         {.text = "Alpha", .sortKey = "ALPHA", .number = 4}};
  auto order = [&] {
    std::string texts;
    for (const auto& i : list) texts += i.text + ":" + i.sortKey + " ";
    return texts;
  };
  EXPECT_EQ(MoveItemUp(list, 1) + MoveItemDown(list, 4), 5u);  // neither moves
  EXPECT_EQ(MoveItemUp(list, 2), 1u);
  EXPECT_EQ(order(), "-:BETA Beta:BETA Gamma:GAMMA Alpha:ALPHA ");
  EXPECT_EQ(MoveItemDown(list, 1), 2u);
  EXPECT_EQ(order(), "Beta:BETA -:GAMMA Gamma:GAMMA Alpha:ALPHA ");
  SortBySortKey(list);
  EXPECT_EQ(order(), "Alpha:ALPHA Beta:BETA -:GAMMA Gamma:GAMMA ");
  SortByNumber(list);
  EXPECT_EQ(order(), "Beta:BETA -:GAMMA Gamma:GAMMA Alpha:ALPHA ");
  // Texts count without their trailing blanks: blanks are no menu text, "- " is a separator.
  EXPECT_FALSE(ValidateItem("User Menus", {.text = "   ", .appRef = "CWEDT"}));
  EXPECT_FALSE(ValidateItem("User Menus", {.text = "&Tools", .appRef = "MINE", .commandLine = "  "}));
  EXPECT_TRUE(ValidateItem("User Menus", {.text = "- ", .appRef = "-"}));
}

const char* const kBackup = "C:\\C6\\BIN\\C60EE 061102 143005.ini";

struct Update : fake::Harness {
  Installation ide{.version = "60", .exe = "C60EE", .iniFile = kIdeIni};
  std::vector<Item> items;
  Update() { files.contents[kIdeIni]; }
  // Writes items over the list the file holds now (nobody changed it since it was loaded).
  bool Write(const char* section, int storedCount) {
    std::vector<Item> loaded = std::string(section) == kTranslationsSection
                                   ? LoadSection(svc, "", section)
                                   : SectionItems(IniDocument(files.contents[kIdeIni]), section);
    return UpdateSection(svc, ide, section, items, loaded, storedCount) == UpdateResult::Written;
  }
  std::string Ini(const char* section, const char* key) { return fake::Harness::Ini(kIdeIni, section, key); }
};

TEST(ini_update, writes_the_list_after_a_backup_and_clears_what_it_no_longer_has) {
  Update t;
  for (int i = 1; i <= 5; ++i)
    t.SetIni(kIdeIni, "User Menus", std::to_string(i), "Item " + std::to_string(i) + "|APP" + std::to_string(i));
  t.SetIni(kIdeIni, "User Menus", "Extra", "not the list's");
  t.SetIni(kIdeIni, "User Applications", "APP1", "one.exe");
  const std::string longCommand = "C:\\Long\\app.exe " + std::string(1500, 'p');  // comes back whole
  t.SetIni(kIdeIni, "User Applications", "APP4", longCommand);
  t.items = LoadSection(t.svc, kIdeIni, "User Menus");
  t.items.erase(t.items.begin() + 1, t.items.begin() + 3);  // delete items 2 and 3
  t.items[0].commandLine = "C:\\New\\1.exe";
  // an applet: no command line written
  t.items.push_back({.text = "&Editor", .appRef = "CWEDT", .commandLine = "ignored.exe", .number = 6});
  ASSERT_TRUE(t.Write("User Menus", 5));
  EXPECT_EQ(Strings({t.Ini("User Menus", "1"), t.Ini("User Menus", "3"), t.Ini("User Menus", "4"),
                     t.Ini("User Menus", "5"), t.Ini("User Menus", "Extra")}),
            Strings({"Item 1|APP1", "Item 5|APP5", "&Editor|CWEDT", "", "not the list's"}));
  EXPECT_EQ(t.Ini("User Applications", "APP1") + " " + t.Ini("User Applications", "CWEDT"), "C:\\New\\1.exe <absent>");
  EXPECT_TRUE(t.Ini("User Applications", "APP4") == longCommand);
  ASSERT_EQ(t.Captions(), Strings{"Update Completed"});
  EXPECT_EQ(t.dialogs.shown[0].text,
            "C:\\C6\\BIN\\C60EE.INI.||The original INI file has been saved to the date time stamped file:|"
            "C:\\C6\\BIN\\C60EE 061102 143005.INI");
  EXPECT_TRUE(t.dialogs.shown[0].icon == Icon::WinLogo && t.files.copies == Strings{kBackup});
  // The second update clears one more key and nothing beyond the count it was given.
  t.clock.localTime.second = 6;
  t.items.pop_back();
  const int reads = t.files.reads, writes = t.files.replaces;
  ASSERT_TRUE(t.Write("User Menus", 4));
  EXPECT_EQ(t.Ini("User Menus", "4"), "");
  EXPECT_EQ(t.files.reads - reads, 2);  // the file is read once, checked once and written once, whole
  EXPECT_EQ(t.files.replaces - writes, 1);
  // File lists keep the all-files mask and long values.
  const std::string longMask(300, 'm');
  t.items = {{.text = "A", .mask = "*.a", .appRef = "CWEDT", .number = 1},
             {.text = "B", .mask = longMask, .appRef = "CWEDT", .number = 2},
             {.text = "All", .mask = "*.*", .appRef = "CWEDT", .number = 3, .allFilesMask = true}};
  t.clock.localTime.second = 7;
  ASSERT_TRUE(t.Write("File Types", 3));
  EXPECT_EQ(t.Ini("File Types", "All") + " " + t.Ini("File Types", "2"), "3 B=" + longMask + "|CWEDT");
  // An AppRef that would read back as another key is refused before anything is copied or written.
  t.items = {{.text = "A", .appRef = "A=B", .commandLine = "a.exe", .number = 1}};
  const std::string before = t.files.contents[kIdeIni];
  t.clock.localTime.second = 8;
  EXPECT_FALSE(t.Write("User Menus", 1));
  EXPECT_TRUE(t.files.contents[kIdeIni] == before && t.files.copies.size() == 3u);
  EXPECT_EQ(t.Captions().back(), "Update File");
}

TEST(ini_update, a_taken_backup_name_waits_for_the_next_second_and_without_a_backup_nothing_is_written) {
  for (const char* section : {"User Menus", "Translations"}) {
    Update t;
    t.clock.secondsRun = true;
    t.svc.langFile = "QZCLLang.str";
    t.files.existing.insert({"QZCLLang.str", kBackup, "QZCLLang 061102 143005.tps"});
    t.items = {{.text = "A", .appRef = "APP", .commandLine = "a.exe", .number = 1}};
    t.Write(section, 1);
    EXPECT_EQ(t.files.copies, Strings{std::string(section) == "User Menus" ? "C:\\C6\\BIN\\C60EE 061102 143006.ini"
                                                                           : "QZCLLang 061102 143006.tps"});
  }
  Update t;
  t.files.existing.insert(kBackup);  // every name it builds within this second is taken
  t.items = {{.text = "A", .appRef = "APP", .commandLine = "a.exe", .number = 1}};
  EXPECT_FALSE(t.Write("User Menus", 1));
  EXPECT_TRUE(t.Ini("User Menus", "1") == "<absent>" && t.Captions() == Strings{"Update File"} && t.clock.waits == 100);
  // A disk too full for the backup, or for the new file after it: the file stays, and the box says which and why.
  const std::pair<std::size_t, const char*> full[] = {
      {10, "The INI file could not be copied to a backup. Nothing was written.|C:\\C6\\BIN\\C60EE.INI.|"},
      {30, "The INI file could not be written. The original is in the backup:|C:\\C6\\BIN\\C60EE 061102 143005.INI|"}};
  for (auto [space, text] : full) {
    Update d;
    d.files.contents[kIdeIni] = "[User Menus]\r\n1=Old|OLD\r\n";
    d.files.diskSpace = space;
    d.items = t.items;
    EXPECT_TRUE(!d.Write("User Menus", 1) && d.files.contents[kIdeIni] == "[User Menus]\r\n1=Old|OLD\r\n");
    EXPECT_TRUE(d.dialogs.shown.at(0).text == std::string(text) + "The disk is full." && d.svc.ExitCode() == 1);
  }
}

// An installer changed the list while the user edited it: Update asks (without holding the file's lock) before
// writing over that change; No, the default, writes nothing and loads the list again. A file that starts with a
// UTF-8 mark has its first section listed and written in place.
TEST(ini_update, a_list_another_program_changed_meanwhile_is_written_over_only_when_the_user_says_so) {
  for (Button answer : {Button::No, Button::Yes}) {
    Update t;
    t.files.contents[kIdeIni] = "\xEF\xBB\xBF[User Menus]\r\n1=&A|A\r\n";
    std::vector<Item> loaded = LoadSection(t.svc, kIdeIni, "User Menus");
    ASSERT_EQ(loaded.size(), 1u);
    t.items = loaded;
    t.items[0].text = "&Renamed";
    t.files.contents[kIdeIni] += "2=&Installer|INST\r\n";  // an installer's USERMENU meanwhile
    const std::string changed = t.files.contents[kIdeIni];
    t.dialogs.answers = {answer};
    t.dialogs.onShow = [&t](const Box&) { EXPECT_TRUE(t.journal.empty() || t.journal.back().starts_with("unlock")); };
    EXPECT_EQ(UpdateSection(t.svc, t.ide, "User Menus", t.items, loaded, 1),
              answer == Button::Yes ? UpdateResult::Written : UpdateResult::Reload);
    EXPECT_TRUE(t.dialogs.shown.at(0).defaultButton == Button::No &&
                t.dialogs.shown[0].text.starts_with("Another program changed this list"));
    EXPECT_EQ(t.files.contents[kIdeIni],
              answer == Button::No ? changed : "\xEF\xBB\xBF[User Menus]\r\n1=&Renamed|A\r\n2=\r\n");
    EXPECT_EQ(t.files.copies.size(), answer == Button::No ? 0u : 1u);
  }
}

TEST(ini_update, asks_first_and_closes_the_running_ide_for_ini_sections_only) {
  const std::tuple<const char*, Button, bool, bool> cases[] = {
      // section, answer, IDE running, proceeds
      {"User Menus", Button::No, false, false},
      {"User Menus", Button::Yes, false, true},
      {"Setup Menu", Button::Yes, true, false},  // the close prompt then cancelled
      {"Translations", Button::Yes, true, true}};
  for (auto [section, answer, ideRunning, proceeds] : cases) {
    Update t;
    t.dialogs.answers = {answer, Button::Cancel};
    t.transport.serverUp = [running = ideRunning](int) { return running; };
    EXPECT_EQ(ConfirmUpdate(t.svc, section), proceeds) << section;
    EXPECT_TRUE(t.dialogs.shown[0].caption == "Update File" && t.dialogs.shown[0].buttons == Buttons::YesNo);
  }
}

TEST(ini_update, translations_are_replaced_whole_or_not_at_all) {
  fake::TempFolder folder;
  const std::string path = folder / "QZCLLang.str";
  for (bool heldElsewhere : {true, false}) {
    Update t;
    std::filesystem::remove(path);
    fake::WriteTranslationFile(t.codec, path, {{"Old", "Alt"}});
    t.svc.langFile = path;
    t.files.existing.insert(path);
    if (heldElsewhere) t.files.heldOpen.insert(path);
    t.items = {{.text = "New  ", .replacement = "Neu  "}, {.text = "Two", .replacement = "Zwei"}};
    EXPECT_EQ(t.Write("Translations", 0), !heldElsewhere);
    EXPECT_EQ(t.files.copies, Strings{"QZCLLang 061102 143005.tps"});
    TranslationFile file(t.codec);
    file.SetName(path);
    ASSERT_EQ(file.Open(), FileError::None);
    EXPECT_EQ(file.Find("Old").has_value(), heldElsewhere);
    EXPECT_EQ(file.Find("New"), heldElsewhere ? std::nullopt : std::optional<std::string>("Neu"));
    EXPECT_EQ(t.dialogs.shown.empty() ? "" : t.dialogs.shown[0].text,
              heldElsewhere ? "The filel cold not be opened for exclusive access. Update canceled." : "");
    if (heldElsewhere) continue;
    // Changed by another program since the list was loaded: asked, and No writes nothing.
    std::vector<Item> stale = t.items;
    fake::WriteTranslationFile(t.codec, path, {{"Other", "Andere"}});
    t.dialogs.answers = {Button::No};
    EXPECT_EQ(UpdateSection(t.svc, t.ide, "Translations", t.items, stale, 0), UpdateResult::Reload);
    EXPECT_TRUE(file.Find("Other").has_value() && !file.Find("New"));
  }
}

// What one step of a session at the window does.
using Act = std::function<void(FakeEditorView&, EditorPresenter&)>;
Act Press(C c) {
  return [c](FakeEditorView&, EditorPresenter& p) { p.OnAccepted(c); };
}
Act Key(EditKey k) {
  return [k](FakeEditorView&, EditorPresenter& p) { p.OnEditKey(k); };
}
Act Click(int row, int column) {
  return [=](FakeEditorView&, EditorPresenter& p) { p.OnNewSelection(row, column); };
}
Act Type(std::string text) {
  return [text](FakeEditorView& v, EditorPresenter&) { v.editor.text = text; };
}
Act Choose(std::string name) {
  return [name](FakeEditorView&, EditorPresenter& p) { p.OnSectionChosen(name); };
}
const Act kActivate = [](FakeEditorView&, EditorPresenter& p) { p.OnActivate(); };
const Act kHelp = [](FakeEditorView&, EditorPresenter& p) { p.OnHelp(); };

struct Step {
  Act act;
  // Add, Change, Delete, Sort, Up, Down, Default, Update: the letter when enabled, "-" when not.
  const char* buttons;
  const char* box = "";  // caption of the box the step shows, if any
};

struct Editor : fake::Harness {
  Installation ide{.version = "60", .exe = "C60EE", .iniFile = kIdeIni};
  FakeEditorView view;
  std::vector<Item> shown;  // the list as the last step left it
  Editor() {
    files.existing.insert(kIdeIni);
    const std::array<const char*, 3> ini[] = {{"User Menus", "1", "&Alpha|ALPHA"},
                                              {"User Menus", "2", "&Beta|CWEDT"},
                                              {"User Menus", "3", "&Gamma|GAMMA"},
                                              {"User Applications", "ALPHA", "C:\\A\\ALPHA.EXE"},
                                              {"User Applications", "GAMMA", "C:\\G\\GAMMA.EXE"},
                                              {"File Types", "All", "2"},
                                              {"File Types", "1", "Templates=*.tpl|CWEDT"},
                                              {"File Types", "2", "All Files=*.*|CWEDT"},
                                              {"Open Dialog", "1", "Sources=*.clw|CWEDT"}};
    for (auto [section, key, value] : ini) SetIni(kIdeIni, section, key, value);
  }
  std::string Buttons() {
    std::string s;
    const std::pair<C, char> order[] = {{C::Add, 'A'}, {C::Change, 'C'}, {C::Delete, 'D'},  {C::Sort, 'S'},
                                        {C::Up, 'U'},  {C::Down, 'W'},   {C::Default, 'E'}, {C::Update, 'F'}};
    for (auto [c, letter] : order) s += view.On(c) ? letter : '-';
    return s;
  }
  // Plays the steps inside the window's run and checks each.
  void Play(const std::vector<Step>& steps) {
    view.script = [&](FakeEditorView& v, EditorEvents& events) {
      for (std::size_t i = 0; i < steps.size(); ++i) {
        const std::size_t boxes = dialogs.shown.size();
        steps[i].act(v, static_cast<EditorPresenter&>(events));
        EXPECT_EQ(Buttons(), steps[i].buttons) << "step " << i + 1;
        EXPECT_EQ(dialogs.shown.size() > boxes ? dialogs.shown.back().caption : "", steps[i].box) << "step " << i + 1;
      }
      shown = *v.items;
    };
    EditorPresenter presenter(svc, ide, view);
    ASSERT_TRUE(presenter.Run());
  }
  Strings Menus() {
    Strings out;
    for (const Item& item : shown) out.push_back(item.text + "|" + item.appRef + "|" + item.commandLine);
    return out;
  }
};

TEST(editor_window, an_added_item_is_filled_column_by_column_and_cannot_be_left_incomplete) {
  Editor t;
  t.Play({
      {Press(C::Add), "--D-----"},
      {Key(EditKey::Esc), "--D-----"},  // the blank row is incomplete: Esc stays on it
      {Click(1, 1), "--D-----"},        // so does a click on another row
      {Type("&Tools"), "--D-----"},
      {Key(EditKey::Tab), "--D-----"},  // the AppRef combo of column 2
      {Type("MYTOOL"), "--D-----"},
      {Key(EditKey::Tab), "--D-----"},  // the command line, with the file picker
      {Type("C:\\T\\TOOL.EXE"), "--D-----"},
      {Key(EditKey::Enter), "ACDSU-EF"},  // complete: stored, and the list has changes
  });
  EXPECT_EQ(t.view.row, 4);
  EXPECT_TRUE(t.Menus().back() == "&Tools|MYTOOL|C:\\T\\TOOL.EXE" && t.dialogs.shown.empty());
  EXPECT_EQ(t.view.sections.size(), 5u);  // without a translation file, its table is not offered
}

TEST(editor_window, the_all_files_mask_is_neither_changed_nor_deleted_but_its_text_may_be_and_f1_opens_help) {
  Editor t;
  t.Play({
      {Choose("File Types"), "ACDS-WE-"},
      {Click(2, 2), "ACDSU-E-"},
      {Press(C::Change), "ACDSU-E-", "All Mask"},
      {kActivate, "ACDSU-E-", "ALL Mask"},
      {Press(C::Delete), "ACDSU-E-", "All Entry"},
      {Click(2, 1), "ACDSU-E-"},
      {kActivate, "--D-----"},
      {Type("Everything"), "--D-----"},
      {Key(EditKey::Enter), "ACDSU-EF"},
      {kHelp, "ACDSU-EF"},
  });
  EXPECT_TRUE(t.Menus()[1] == "Everything|CWEDT|" && t.shown[1].mask == "*.*" && t.shown[1].allFilesMask);
  EXPECT_EQ(t.shell.helpPages, Strings{"file:///C:/QZCL/qzcl.html#QZCL%20Editor"});
}

TEST(editor_window, sorting_keeps_the_file_unchanged_and_moving_or_deleting_changes_it) {
  Editor t;
  t.dialogs.answers = {Button::No, Button::Yes};
  t.Play({
      {Click(3, 1), "ACDSU-E-"},
      {Press(C::Sort), "ACDSU-E-"},
      {Press(C::Default), "ACDSU-E-"},
      {Press(C::Up), "ACDSUWEF"},
      {Press(C::Up), "ACDS-WEF"},
      {Press(C::Up), "ACDS-WEF"},
      {Click(3, 1), "ACDSU-EF"},
      {Press(C::Delete), "ACDSU-EF", "Delete Record"},  // answered No
      {Press(C::Delete), "ACDSU-EF", "Delete Record"},
  });
  EXPECT_EQ(t.dialogs.shown[0].text, "Are you sure you want to delete the item: &Beta?");
  EXPECT_EQ(t.Menus(), (Strings{"&Gamma|GAMMA|C:\\G\\GAMMA.EXE", "&Alpha|ALPHA|C:\\A\\ALPHA.EXE"}));
  EXPECT_TRUE(t.view.row == 2 && t.view.count == 2);  // the row that moved up is selected
}

TEST(editor_window, changes_are_kept_from_a_section_switch_or_a_close_unless_the_user_lets_them_go) {
  Editor t;
  t.dialogs.answers = {Button::Yes, Button::No, Button::Yes};
  t.Play({
      {Press(C::Delete), "ACDS-WEF", "Delete Record"},
      {Choose("File Types"), "ACDS-WEF", "List Changed"},
      {[](FakeEditorView& v, EditorPresenter&) { EXPECT_EQ(v.section, "User Menus"); }, "ACDS-WEF"},
      {Choose("File Types"), "ACDS-WE-", "List Changed"},
  });
  EXPECT_EQ(t.view.count, 2);  // the two File Types

  const std::tuple<Button, bool, const char*> cases[] = {
      // the answer to "Close", closed, the last box
      {Button::Yes, true, "Update File"},  // the update's own question answered No: the window closes anyway
      {Button::Cancel, false, "Close"},
      {Button::No, true, "Close"}};
  for (auto [answer, closed, last] : cases) {
    Editor e;
    e.dialogs.answers = {Button::Yes, answer, Button::No};
    // The update's boxes are shown while the window takes no input.
    std::vector<bool> held;
    e.dialogs.onShow = [&](const Box&) { held.push_back(e.view.held); };
    e.Play({{Press(C::Delete), "ACDS-WEF", "Delete Record"}, {Press(C::Close), "ACDS-WEF", last}});
    EXPECT_EQ(e.view.running, !closed) << last;
    EXPECT_EQ(e.dialogs.shown[1].buttons, Buttons::YesNoCancel);
    EXPECT_TRUE(e.Ini(kIdeIni, "User Menus", "3") == "&Gamma|GAMMA" && e.files.copies.empty()) << "written";
    const std::vector<bool> expected =
        answer == Button::Yes ? std::vector<bool>{false, false, true} : std::vector<bool>{false, false};
    EXPECT_EQ(held, expected);
    EXPECT_FALSE(e.view.held);
  }
}

}  // namespace
}  // namespace qz
