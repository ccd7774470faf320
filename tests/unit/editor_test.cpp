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
using fake::Strings;

TEST(section_table, loads_each_section_into_its_fields_up_to_its_first_missing_key) {
  fake::Harness t;
  // Key 4 is missing: the list ends at 3. mytool's value is read as an entry read gives it.
  t.files.contents[kIdeIni] =
      "[User Menus]\r\n1=&Save && Exit|SAVER\r\n2=-|-\r\n3=&Tools|MYTOOL\r\n5=Beyond|GAP\r\n"
      "[User Applications]\r\nmytool= 'C:\\T\\TOOL.EXE' \r\nSAVER=  C:\\Program Files\\S\\SAVE.EXE\" /x\r\n"
      "NOTE=note.exe\r\nCWEDT=never read for an applet\r\n[File Types]\r\nAll=2\r\n1=Templates=*.tpl|CWEDT\r\n"
      "2=All Files=*.*|NOTE\r\n3=No separators at all\r\n4=-\r\n";
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
  std::vector<Item> items{{.text = "A", .appRef = "APP", .commandLine = "a.exe", .number = 1}};
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
  const std::string longCommand = "C:\\Long\\app.exe " + std::string(1500, 'p');  // comes back whole
  const std::string menus = "[User Menus]\r\n1=Item 1|APP1\r\n",
                    tail = "Extra=not the list's\r\n[User Applications]\r\n";
  t.files.contents[kIdeIni] = menus + "2=Item 2|APP2\r\n3=Item 3|APP3\r\n4=Item 4|APP4\r\n5=Item 5|APP5\r\n" + tail +
                              "APP1=one.exe\r\nAPP4=" + longCommand + "\r\n";
  t.items = LoadSection(t.svc, kIdeIni, "User Menus");
  t.items.erase(t.items.begin() + 1, t.items.begin() + 3);  // delete items 2 and 3
  t.items[0].commandLine = "C:\\New\\1.exe";
  // an applet: no command line written
  t.items.push_back({.text = "&Editor", .appRef = "CWEDT", .commandLine = "ignored.exe", .number = 6});
  const int writes = t.files.replaces;
  ASSERT_TRUE(t.Write("User Menus", 5));
  EXPECT_EQ(t.files.contents[kIdeIni], menus + "2=Item 4|APP4\r\n3=Item 5|APP5\r\n4=&Editor|CWEDT\r\n5=\r\n" + tail +
                                           "APP1=C:\\New\\1.exe\r\nAPP4=" + longCommand + "\r\n");
  EXPECT_EQ(t.files.replaces - writes, 1) << "written once, whole";
  ASSERT_EQ(t.Captions(), Strings{"Update Completed"});
  EXPECT_EQ(t.dialogs.shown[0].text,
            "C:\\C6\\BIN\\C60EE.INI.||The original INI file has been saved to the date time stamped file:|"
            "C:\\C6\\BIN\\C60EE 061102 143005.INI");
  EXPECT_TRUE(t.dialogs.shown[0].icon == Icon::WinLogo && t.files.copies == Strings{kBackup});
  // File lists keep the all-files mask and long values.
  const std::string longMask(300, 'm');
  t.items = {{.text = "A", .mask = "*.a", .appRef = "CWEDT", .number = 1},
             {.text = "B", .mask = longMask, .appRef = "CWEDT", .number = 2},
             {.text = "All", .mask = "*.*", .appRef = "CWEDT", .number = 3, .allFilesMask = true}};
  t.clock.localTime.second = 6;
  ASSERT_TRUE(t.Write("File Types", 3));
  EXPECT_EQ(t.Ini("File Types", "All") + " " + t.Ini("File Types", "2"), "3 B=" + longMask + "|CWEDT");
  // An AppRef that would read back as another key is refused before anything is copied or written.
  t.items = {{.text = "A", .appRef = "A=B", .commandLine = "a.exe", .number = 1}};
  const std::string before = t.files.contents[kIdeIni];
  t.clock.localTime.second = 7;
  EXPECT_FALSE(t.Write("User Menus", 1));
  EXPECT_TRUE(t.files.contents[kIdeIni] == before && t.files.copies.size() == 2u);
  EXPECT_EQ(t.Captions().back(), "Update File");
}

TEST(ini_update, a_taken_backup_name_waits_for_the_next_second_and_without_a_backup_nothing_is_written) {
  const std::pair<const char*, const char*> next[] = {{"User Menus", "C:\\C6\\BIN\\C60EE 061102 143006.ini"},
                                                      {"Translations", "QZCLLang 061102 143006.tps"}};
  for (auto [section, backup] : next) {
    Update t;
    t.clock.secondsRun = true;
    t.svc.langFile = "QZCLLang.str";
    t.files.existing.insert({"QZCLLang.str", kBackup, "QZCLLang 061102 143005.tps"});
    t.Write(section, 1);
    EXPECT_EQ(t.files.copies, Strings{backup});
  }
  Update t;
  t.files.existing.insert(kBackup);  // every name it builds within this second is taken
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
    EXPECT_TRUE(!d.Write("User Menus", 1) && d.files.contents[kIdeIni] == "[User Menus]\r\n1=Old|OLD\r\n");
    EXPECT_TRUE(d.dialogs.shown.at(0).text == std::string(text) + "The disk is full." && d.svc.ExitCode() == 1);
  }
}

// An installer changed the list meanwhile: Update asks, not holding the file's lock; No, the default, writes nothing
// and loads the list again. A file that starts with a UTF-8 mark has its first section listed and written in place.
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
  // Each answered Yes (No is a window's case); section, IDE running, proceeds.
  const std::tuple<const char*, bool, bool> cases[] = {{"User Menus", false, true},
                                                       {"Setup Menu", true, false},  // the close prompt then cancelled
                                                       {"Translations", true, true}};
  for (auto [section, ideRunning, proceeds] : cases) {
    Update t;
    t.dialogs.answers = {Button::Yes, Button::Cancel};
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
using V = FakeEditorView;
using P = EditorPresenter;
using Act = std::function<void(V&, P&)>;
const auto Press = [](C c) -> Act { return [c](V&, P& p) { p.OnAccepted(c); }; };
const auto Key = [](EditKey k) -> Act { return [k](V&, P& p) { p.OnEditKey(k); }; };
const auto Click = [](int row, int column) -> Act { return [=](V&, P& p) { p.OnNewSelection(row, column); }; };
const auto Type = [](std::string text) -> Act { return [text](V& v, P&) { v.editor.text = text; }; };
const auto Choose = [](std::string name) -> Act { return [name](V&, P& p) { p.OnSectionChosen(name); }; };
const auto Shows = [](std::string section) -> Act { return [section](V& v, P&) { EXPECT_EQ(v.section, section); }; };
const Act kActivate = [](V&, P& p) { p.OnActivate(); };
const Act kHelp = [](V&, P& p) { p.OnHelp(); };

// A step and what the window shows after it: its buttons Add, Change, Delete, Sort, Up, Down, Default and Update, by
// their letter when enabled and "-" when not, then the caption of the box the step showed, if any.
using Step = std::pair<Act, std::string>;

struct Editor : Update {
  FakeEditorView view;
  std::vector<Item> shown;  // the list as the last step left it
  Editor() {
    files.existing.insert(kIdeIni);
    files.contents[kIdeIni] =
        "[User Menus]\r\n1=&Alpha|ALPHA\r\n2=&Beta|CWEDT\r\n3=&Gamma|GAMMA\r\n[User Applications]\r\n"
        "ALPHA=C:\\A\\ALPHA.EXE\r\nGAMMA=C:\\G\\GAMMA.EXE\r\n[File Types]\r\nAll=2\r\n1=Templates=*.tpl|CWEDT\r\n"
        "2=All Files=*.*|CWEDT\r\n[Open Dialog]\r\n1=Sources=*.clw|CWEDT\r\n";
  }
  std::string Buttons() {
    std::string s = "ACDSUWEF";
    const C order[] = {C::Add, C::Change, C::Delete, C::Sort, C::Up, C::Down, C::Default, C::Update};
    for (std::size_t i = 0; i < s.size(); ++i) s[i] = view.On(order[i]) ? s[i] : '-';
    return s;
  }
  // Plays the steps inside the window's run and checks each.
  void Play(const std::vector<Step>& steps) {
    view.script = [&](V& v, EditorEvents& events) {
      for (std::size_t i = 0; i < steps.size(); ++i) {
        const std::size_t boxes = dialogs.shown.size();
        steps[i].first(v, static_cast<P&>(events));
        const std::string box = dialogs.shown.size() > boxes ? " " + dialogs.shown.back().caption : "";
        EXPECT_EQ(Buttons() + box, steps[i].second) << "step " << i + 1;
      }
      shown = *v.items;
    };
    P presenter(svc, ide, view);
    ASSERT_TRUE(presenter.Run());
  }
  Strings Menus() {
    Strings out;
    for (const Item& item : shown) out.push_back(item.text + "|" + item.appRef + "|" + item.commandLine);
    return out;
  }
};

// The blank row is incomplete until each column is filled (the AppRef combo, then the command line with its file
// picker): Esc and a click on another row stay on it. Enter then stores it, and the list has changes.
TEST(editor_window, an_added_item_is_filled_column_by_column_and_cannot_be_left_incomplete) {
  const std::vector<Step> steps = {
      {Press(C::Add), "--D-----"},     {Key(EditKey::Esc), "--D-----"},       {Click(1, 1), "--D-----"},
      {Type("&Tools"), "--D-----"},    {Key(EditKey::Tab), "--D-----"},       {Type("MYTOOL"), "--D-----"},
      {Key(EditKey::Tab), "--D-----"}, {Type("C:\\T\\TOOL.EXE"), "--D-----"}, {Key(EditKey::Enter), "ACDSU-EF"}};
  Editor t;
  t.Play(steps);
  EXPECT_EQ(t.view.row, 4);
  EXPECT_TRUE(t.Menus().back() == "&Tools|MYTOOL|C:\\T\\TOOL.EXE" && t.dialogs.shown.empty());
  EXPECT_EQ(t.view.sections.size(), 5u);  // without a translation file, its table is not offered
}

TEST(editor_window, the_all_files_mask_is_neither_changed_nor_deleted_but_its_text_may_be_and_f1_opens_help) {
  // clang-format off
  const std::vector<Step> steps = {
      {Choose("File Types"), "ACDS-WE-"}, {Click(2, 2), "ACDSU-E-"}, {Press(C::Change), "ACDSU-E- All Mask"},
      {kActivate, "ACDSU-E- ALL Mask"}, {Press(C::Delete), "ACDSU-E- All Entry"}, {Click(2, 1), "ACDSU-E-"},
      {kActivate, "--D-----"}, {Type("Everything"), "--D-----"}, {Key(EditKey::Enter), "ACDSU-EF"},
      {kHelp, "ACDSU-EF"}};
  // clang-format on
  Editor t;
  t.Play(steps);
  EXPECT_TRUE(t.Menus()[1] == "Everything|CWEDT|" && t.shown[1].mask == "*.*" && t.shown[1].allFilesMask);
  EXPECT_EQ(t.shell.helpPages, Strings{"file:///C:/QZCL/qzcl.html#QZCL%20Editor"});
}

// The first Delete is answered No.
TEST(editor_window, sorting_keeps_the_file_unchanged_and_moving_or_deleting_changes_it) {
  // clang-format off
  const std::vector<Step> steps = {
      {Click(3, 1), "ACDSU-E-"}, {Press(C::Sort), "ACDSU-E-"}, {Press(C::Default), "ACDSU-E-"},
      {Press(C::Up), "ACDSUWEF"}, {Press(C::Up), "ACDS-WEF"}, {Press(C::Up), "ACDS-WEF"}, {Click(3, 1), "ACDSU-EF"},
      {Press(C::Delete), "ACDSU-EF Delete Record"}, {Press(C::Delete), "ACDSU-EF Delete Record"}};
  // clang-format on
  Editor t;
  t.dialogs.answers = {Button::No, Button::Yes};
  t.Play(steps);
  EXPECT_EQ(t.dialogs.shown[0].text, "Are you sure you want to delete the item: &Beta?");
  EXPECT_EQ(t.Menus(), (Strings{"&Gamma|GAMMA|C:\\G\\GAMMA.EXE", "&Alpha|ALPHA|C:\\A\\ALPHA.EXE"}));
  EXPECT_TRUE(t.view.row == 2 && t.view.count == 2);  // the row that moved up is selected
}

// A section switch is asked about, and No stays; Close is asked about too, and the update's own question answered No
// closes the window anyway. The update's boxes are shown while the window takes no input.
TEST(editor_window, changes_are_kept_from_a_section_switch_or_a_close_unless_the_user_lets_them_go) {
  const std::vector<Step> steps = {{Press(C::Delete), "ACDS-WEF Delete Record"},
                                   {Choose("File Types"), "ACDS-WEF List Changed"},
                                   {Shows("User Menus"), "ACDS-WEF"},
                                   {Choose("File Types"), "ACDS-WE- List Changed"}};
  Editor t;
  t.dialogs.answers = {Button::Yes, Button::No, Button::Yes};
  t.Play(steps);
  EXPECT_EQ(t.view.count, 2);  // the two File Types
  const std::tuple<Button, bool, const char*, std::vector<bool>> cases[] = {
      // the answer to "Close", closed, the last box, whether the window took no input at each box
      {Button::Yes, true, "Update File", {false, false, true}},
      {Button::Cancel, false, "Close", {false, false}},
      {Button::No, true, "Close", {false, false}}};
  for (const auto& [answer, closed, last, held] : cases) {
    Editor e;
    e.dialogs.answers = {Button::Yes, answer, Button::No};
    std::vector<bool> heldAtBox;
    e.dialogs.onShow = [&](const Box&) { heldAtBox.push_back(e.view.held); };
    e.Play({{Press(C::Delete), "ACDS-WEF Delete Record"}, {Press(C::Close), std::string("ACDS-WEF ") + last}});
    EXPECT_EQ(e.view.running, !closed) << last;
    EXPECT_EQ(e.dialogs.shown[1].buttons, Buttons::YesNoCancel);
    EXPECT_TRUE(e.Ini("User Menus", "3") == "&Gamma|GAMMA" && e.files.copies.empty()) << "written";
    EXPECT_EQ(heldAtBox, held);
    EXPECT_FALSE(e.view.held);
  }
}

}  // namespace
}  // namespace qz
