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

struct Section : fake::Harness {
  void Ini(const char* section, const char* key, const char* value) { profile.Write(kIdeIni, section, key, value); }
  std::vector<Item> Load(const char* section) { return LoadSection(svc, kIdeIni, section); }
};

TEST(section_table, loads_each_section_into_its_fields) {
  Section t;
  t.Ini("User Menus", "1", "&Save && Exit|SAVER");
  t.Ini("User Menus", "2", "-|-");
  t.Ini("User Menus", "3", "&Tools|MYTOOL");
  t.Ini("User Menus", "5", "Beyond|GAP");
  t.Ini("User Applications", "mytool", " 'C:\\T\\TOOL.EXE' ");  // read as an entry read gives it
  t.Ini("User Applications", "SAVER", "  C:\\Program Files\\S\\SAVE.EXE\" /x");
  const auto menus = t.Load("User Menus");
  ASSERT_EQ(menus.size(), 3u);  // key 4 missing: the list ends there
  EXPECT_EQ(menus[0].sortKey, "SAVE  EXIT");
  EXPECT_EQ(menus[0].commandLine, "\"C:\\Program Files\\S\\SAVE.EXE\" /x");  // lost opening quote put back
  EXPECT_EQ(menus[1].sortKey, "TOOLS");  // a separator carries the key of the item after it
  EXPECT_EQ(Strings({menus[2].text, menus[2].appRef, menus[2].commandLine}), Strings({"&Tools", "MYTOOL", "C:\\T\\TOOL.EXE"}));
  EXPECT_EQ(menus[2].number, 3);

  t.Ini("File Types", "All", "2");
  t.Ini("File Types", "1", "Templates=*.tpl|CWEDT");
  t.Ini("File Types", "2", "All Files=*.*|NOTE");
  t.Ini("File Types", "3", "No separators at all");
  t.Ini("File Types", "4", "-");
  t.Ini("User Applications", "NOTE", "notepad.exe");
  t.Ini("User Applications", "CWEDT", "never read for an applet");
  const auto types = t.Load("File Types");
  ASSERT_EQ(types.size(), 4u);
  EXPECT_EQ(Strings({types[0].mask, types[0].appRef, types[0].commandLine}), Strings({"*.tpl", "CWEDT", ""}));
  EXPECT_EQ((std::vector<bool>{types[0].allFilesMask, types[1].allFilesMask, types[2].allFilesMask}),
            (std::vector<bool>{false, true, false}));
  EXPECT_EQ(types[1].commandLine, "notepad.exe");
  EXPECT_EQ(types[2].text + "|" + types[2].appRef, "No separators at all|No separators at all");  // malformed
  EXPECT_EQ(types[3].sortKey, std::string(99, '\xFF'));  // a separator at the end sorts last
  EXPECT_TRUE(t.Load("Setup Menu").empty());

  fake::TempFolder folder;
  t.svc.langFile = folder / "QZCLLang.str";
  fake::WriteTranslationFile(t.codec, t.svc.langFile, {{"Zebra", "Zebre"}, {"apple", "pomme"}});
  t.files.existing.insert(t.svc.langFile);
  const auto translations = t.Load("Translations");
  ASSERT_EQ(translations.size(), 2u);
  EXPECT_EQ(translations[0].text, "Zebra" + std::string(249, ' '));
  EXPECT_EQ(Clip(translations[1].replacement) + "|" + Clip(translations[1].sortKey), "pomme|APPLE");
  EXPECT_EQ(translations[1].number, 0);
}

TEST(section_table, applets_validation_sort_keys_and_moves) {
  const std::pair<const char*, bool> applets[] = {{"cwedt ", true},   {"CWGEN.1", true}, {"CWA", true}, {"CWGEN.10", true},
                                                 {"NOTEPAD", false}, {"ADM", false},    {"", false}};
  for (auto [name, applet] : applets) EXPECT_EQ(IsApplet(name), applet) << name;
  const struct {
    const char* section;
    Item item;
    bool valid;
  } items[] = {
      {"User Menus", {.text = "-"}, false},                         // new separator: rule 2 first
      {"User Menus", {.text = "-", .appRef = "-"}, true},           // loaded separator
      {"User Menus", {.text = "&Tools", .appRef = "CWEDT"}, true},  // an applet needs no command line
      {"User Menus", {.text = "&Tools", .appRef = "MINE"}, false},
      {"Setup Menu", {.text = "A/-", .appRef = "x"}, true},
      {"File Types", {.text = "T", .mask = "*.t"}, false},
      {"Pick Dialog", {.text = "T", .mask = "*.t", .appRef = "ME", .commandLine = "me.exe"}, true},
      {"Translations", {.text = "Source"}, true},
      {"Translations", {.replacement = "x"}, false},
  };
  for (const auto& c : items) EXPECT_EQ(ValidateItem(c.section, c.item), c.valid) << c.section << " " << c.item.text;
  Item edited{.text = "&Save && Exit", .sortKey = "old"};
  SetEditTimeSortKey(edited);
  EXPECT_EQ(edited.sortKey, "SAVE && EXIT");
  EXPECT_EQ(LoadTimeSortKey("&Save && Exit"), "SAVE  EXIT");

  std::vector<Item> list{{.text = "Beta", .sortKey = "BETA", .number = 1},
                         {.text = "-", .sortKey = "GAMMA", .number = 2},
                         {.text = "Gamma", .sortKey = "GAMMA", .number = 3},
                         {.text = "Alpha", .sortKey = "ALPHA", .number = 4}};
  auto order = [&] {
    std::string texts;
    for (const auto& i : list) texts += i.text + " ";
    return texts;
  };
  EXPECT_EQ(MoveItemUp(list, 1), 1u);
  EXPECT_EQ(MoveItemDown(list, 4), 4u);
  EXPECT_EQ(MoveItemUp(list, 2), 1u);  // the separator now goes before Beta
  EXPECT_EQ(list[0].sortKey, "BETA");
  EXPECT_EQ(MoveItemDown(list, 1), 2u);  // and back before Gamma
  EXPECT_EQ(list[1].sortKey, "GAMMA");
  SortBySortKey(list);
  EXPECT_EQ(order(), "Alpha Beta - Gamma ");
  SortByNumber(list);
  EXPECT_EQ(order(), "Beta - Gamma Alpha ");
}

const char* const kBackup = "C:\\C6\\BIN\\C60EE 061102 143005.ini";

struct Update : fake::Harness {
  Installation ide{.version = "60", .exe = "C60EE", .iniFile = kIdeIni};
  std::vector<Item> items;
  Update() { files.existing.insert(kIdeIni); }
  bool Write(const char* section, int storedCount) { return UpdateSection(svc, ide, section, items, storedCount); }
  std::string Ini(const char* section, const char* key) { return profile.Value(kIdeIni, section, key); }
};

TEST(ini_update, writes_the_list_after_a_backup_and_clears_what_it_no_longer_has) {
  Update t;
  for (int i = 1; i <= 5; ++i)
    t.profile.Write(kIdeIni, "User Menus", std::to_string(i), "Item " + std::to_string(i) + "|APP" + std::to_string(i));
  t.profile.Write(kIdeIni, "User Menus", "Extra", "not the list's");
  t.profile.Write(kIdeIni, "User Applications", "APP1", "one.exe");
  t.items = LoadSection(t.svc, kIdeIni, "User Menus");
  t.items.erase(t.items.begin() + 1, t.items.begin() + 3);  // delete items 2 and 3
  t.items[0].commandLine = "C:\\New\\one.exe";
  // an applet: no command line written
  t.items.push_back({.text = "&Editor", .appRef = "CWEDT", .commandLine = "ignored.exe", .number = 6});
  ASSERT_TRUE(t.Write("User Menus", 5));
  EXPECT_EQ(Strings({t.Ini("User Menus", "1"), t.Ini("User Menus", "3"), t.Ini("User Menus", "4"),
                     t.Ini("User Menus", "5"), t.Ini("User Menus", "Extra")}),
            Strings({"Item 1|APP1", "Item 5|APP5", "&Editor|CWEDT", "", "not the list's"}));
  EXPECT_EQ(t.Ini("User Applications", "APP1"), "C:\\New\\one.exe");
  EXPECT_EQ(t.Ini("User Applications", "CWEDT"), "<absent>");
  ASSERT_EQ(t.Captions(), Strings{"Update Completed"});
  EXPECT_EQ(t.dialogs.shown[0].text,
            "C:\\C6\\BIN\\C60EE.INI.||The original INI file has been saved to the date time stamped file:|"
            "C:\\C6\\BIN\\C60EE 061102 143005.INI");
  EXPECT_EQ(t.dialogs.shown[0].icon, Icon::WinLogo);
  EXPECT_EQ(t.files.copies, Strings{kBackup});

  // The second update clears one more key and nothing beyond the count it was given.
  t.clock.localTime.second = 6;
  t.items.pop_back();
  const int before = t.profile.writes;
  ASSERT_TRUE(t.Write("User Menus", 4));
  EXPECT_EQ(t.Ini("User Menus", "4"), "");
  EXPECT_EQ(t.profile.writes - before, 1);  // the section in one rewrite; the command lines are unchanged

  // File lists keep the all-files mask and long values, and lose trailing blanks.
  const std::string longMask(300, 'm');
  t.items = {{.text = "A", .mask = "*.a", .appRef = "CWEDT", .number = 1},
             {.text = "B", .mask = longMask, .appRef = "CWEDT", .number = 2},
             {.text = "All", .mask = "*.*", .appRef = "CWEDT", .number = 3, .allFilesMask = true}};
  t.clock.localTime.second = 7;
  ASSERT_TRUE(t.Write("File Types", 3));
  EXPECT_EQ(t.Ini("File Types", "All") + " " + t.Ini("File Types", "2"), "3 B=" + longMask + "|CWEDT");
  t.items = {{.text = "Tpl  ", .mask = "*.tpl ", .appRef = "ME", .commandLine = "me.exe", .number = 1}};
  t.clock.localTime.second = 8;
  ASSERT_TRUE(t.Write("Open Dialog", 1));
  EXPECT_EQ(t.Ini("Open Dialog", "1"), "Tpl=*.tpl|ME");
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
  EXPECT_EQ(t.Ini("User Menus", "1"), "<absent>");
  EXPECT_EQ(t.Captions(), Strings{"Update File"});
  EXPECT_EQ(t.clock.waits, 100);
}

TEST(ini_update, asks_first_and_closes_the_running_ide_for_ini_sections_only) {
  const struct {
    const char* section;
    Button answer;
    bool ideRunning, proceeds;
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
  }
}

// What one step of a session at the window does.
using Act = std::function<void(FakeEditorView&, EditorPresenter&)>;
Act Press(C c) { return [c](FakeEditorView&, EditorPresenter& p) { p.OnAccepted(c); }; }
Act Key(EditKey k) { return [k](FakeEditorView&, EditorPresenter& p) { p.OnEditKey(k); }; }
Act Click(int row, int column) { return [=](FakeEditorView&, EditorPresenter& p) { p.OnNewSelection(row, column); }; }
Act Type(std::string text) { return [text](FakeEditorView& v, EditorPresenter&) { v.editor.text = text; }; }
Act Choose(std::string section) { return [section](FakeEditorView&, EditorPresenter& p) { p.OnSectionChosen(section); }; }
const Act kActivate = [](FakeEditorView&, EditorPresenter& p) { p.OnActivate(); };

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
    const std::array<const char*, 3> ini[] = {
        {"User Menus", "1", "&Alpha|ALPHA"},       {"User Menus", "2", "&Beta|CWEDT"},
        {"User Menus", "3", "&Gamma|GAMMA"},       {"User Applications", "ALPHA", "C:\\A\\ALPHA.EXE"},
        {"User Applications", "GAMMA", "C:\\G\\GAMMA.EXE"}, {"File Types", "All", "2"},
        {"File Types", "1", "Templates=*.tpl|CWEDT"}, {"File Types", "2", "All Files=*.*|CWEDT"},
        {"Open Dialog", "1", "Sources=*.clw|CWEDT"}};
    for (auto [section, key, value] : ini) profile.Write(kIdeIni, section, key, value);
  }
  std::string Buttons() {
    std::string s;
    const std::pair<C, char> order[] = {{C::Add, 'A'}, {C::Change, 'C'}, {C::Delete, 'D'}, {C::Sort, 'S'},
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

TEST(editor_window, opens_on_user_menus_with_its_sections) {
  for (bool translations : {false, true}) {
    Editor t;
    if (translations) t.svc.langFile = "C:\\WORK\\QZCLLang.str";
    t.Play({});
    EXPECT_EQ(t.view.sections.size(), translations ? 6u : 5u);
    EXPECT_EQ(t.view.sections[1], (std::pair<std::string, std::string>{"File Types", "File Types"}));
    EXPECT_EQ(t.view.section, "User Menus");
    EXPECT_EQ(t.view.count, 3);
    EXPECT_EQ(t.view.row, 1);
    EXPECT_EQ(t.Buttons(), "ACDS-WE-");
  }
}

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
  EXPECT_EQ(t.Menus().back(), "&Tools|MYTOOL|C:\\T\\TOOL.EXE");
  EXPECT_TRUE(t.dialogs.shown.empty());
}

TEST(editor_window, cells_open_the_field_their_column_asks_for) {
  Editor t;
  t.Play({
      {Click(2, 2), "ACDSUWE-"},
      {kActivate, "--D-----"},
      {[](FakeEditorView& v, EditorPresenter&) {
         EXPECT_EQ(v.editor.kind, CellEditor::Kind::Combo);
         EXPECT_EQ(v.editor.text, "CWEDT");
         EXPECT_EQ(v.editor.choices, "|CWedt|CWcif|CWprj|CWadm|CWgen|CWbrw|CWtty");
       },
       "--D-----"},
      {Key(EditKey::Tab), "--D-----"},
      {[](FakeEditorView& v, EditorPresenter&) {
         EXPECT_EQ(v.editor.kind, CellEditor::Kind::Entry);
         EXPECT_FALSE(v.editor.tip.empty());  // Alt+Down chooses a file
         EXPECT_EQ(v.column, 3);
       },
       "--D-----"},
      {Key(EditKey::Tab), "ACDSUWEF"},  // the last column: back to the list
      {Click(3, 3), "ACDSU-EF"},
      {kActivate, "--D-----"},
      {Key(EditKey::Down), "--D-----"},  // the last row
      {Key(EditKey::Up), "--D-----"},
      {Choose("Open Dialog"), "ACDS-WE-", "List Changed"},
      {Click(1, 4), "ACDS-WE-"},
      {kActivate, "--D-----"},  // an applet has no command line: no field, but the item is being edited
      {Click(1, 3), "ACDS-WE-"},
      {kActivate, "--D-----"},
      {Key(EditKey::Tab), "--D-----"},
  });
  EXPECT_EQ(t.view.row, 1);
  EXPECT_FALSE(t.view.editorOpen);
}

TEST(editor_window, the_all_files_mask_is_neither_changed_nor_deleted) {
  Editor t;
  t.Play({
      {Choose("File Types"), "ACDS-WE-"},
      {Click(2, 2), "ACDSU-E-"},
      {Press(C::Change), "ACDSU-E-", "All Mask"},
      {kActivate, "ACDSU-E-", "ALL Mask"},
      {Press(C::Delete), "ACDSU-E-", "All Entry"},
      {Click(2, 1), "ACDSU-E-"},
      {kActivate, "--D-----"},  // its menu text may be changed
      {Type("Everything"), "--D-----"},
      {Key(EditKey::Tab), "--D-----"},  // on to the mask column
      {Key(EditKey::Tab), "--D-----"},  // the AppRef combo of column 3
      {Key(EditKey::Tab), "--D-----"},  // an applet's command-line column has no field
      {Click(2, 1), "ACDSU-EF"},
  });
  ASSERT_EQ(t.dialogs.shown.size(), 3u);
  EXPECT_EQ(t.dialogs.shown[0].text, "This mask is used for filtering all records and cannot be changed.");
  EXPECT_EQ(t.dialogs.shown[0].icon, Icon::WinLogo);
  EXPECT_EQ(t.dialogs.shown[2].text, "This record is used for filtering all records. It cannot be deleted.");
  EXPECT_EQ(t.dialogs.shown[2].icon, Icon::Asterisk);
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
  EXPECT_EQ(t.dialogs.shown[0].icon, Icon::Exclamation);
  EXPECT_EQ(t.Menus(), (Strings{"&Gamma|GAMMA|C:\\G\\GAMMA.EXE", "&Alpha|ALPHA|C:\\A\\ALPHA.EXE"}));
  EXPECT_EQ(t.view.row, 2);  // the row that moved up
  EXPECT_EQ(t.view.count, 2);
}

TEST(editor_window, changes_are_kept_from_a_section_switch_or_a_close_unless_the_user_lets_them_go) {
  Editor t;
  t.dialogs.answers = {Button::Yes, Button::No, Button::Yes};
  t.Play({
      {Press(C::Delete), "ACDS-WEF", "Delete Record"},
      {Choose("File Types"), "ACDS-WEF", "List Changed"},
      {[](FakeEditorView& v, EditorPresenter& p) { EXPECT_EQ(v.section + "|" + p.Section(), "User Menus|User Menus"); },
       "ACDS-WEF"},
      {Choose("File Types"), "ACDS-WE-", "List Changed"},
  });
  EXPECT_EQ(t.dialogs.shown[1].text,
            "The list has been changed and will be overwritten. Do yo want to load the new selection?");
  EXPECT_EQ(t.view.count, 2);  // the two File Types

  const struct {
    Button answer;  // to "Close"
    bool closed;
    const char* last;  // the last box
  } cases[] = {
      {Button::Yes, true, "Update File"},  // the update's own question answered No: the window closes anyway
      {Button::Cancel, false, "Close"},
      {Button::No, true, "Close"},
  };
  for (const auto& c : cases) {
    Editor e;
    e.dialogs.answers = {Button::Yes, c.answer, Button::No};
    e.Play({{Press(C::Delete), "ACDS-WEF", "Delete Record"}, {Press(C::Close), "ACDS-WEF", c.last}});
    EXPECT_EQ(e.view.running, !c.closed) << c.last;
    EXPECT_EQ(e.dialogs.shown[1].text, "The list has been changed. To you want to save your changes?");
    EXPECT_EQ(e.dialogs.shown[1].buttons, Buttons::YesNoCancel);
    EXPECT_EQ(e.profile.Value(kIdeIni, "User Menus", "3"), "&Gamma|GAMMA") << "nothing written";
    EXPECT_TRUE(e.files.copies.empty()) << "no backup";
  }
}

TEST(editor_window, update_writes_the_list_alt_down_chooses_a_program_and_f1_opens_help) {
  Editor t;
  t.dialogs.chosenFile = "C:\\New Tools\\NEW.EXE";
  t.Play({
      {Click(1, 3), "ACDS-WE-"},
      {kActivate, "--D-----"},
      {Key(EditKey::AltDown), "--D-----", "File to Run"},
      {Key(EditKey::Enter), "ACDS-WEF"},
      {Press(C::Update), "ACDS-WE-", "Update Completed"},
      {[](FakeEditorView&, EditorPresenter& p) { p.OnHelp(); }, "ACDS-WE-"},
  });
  EXPECT_EQ(t.dialogs.shown[0].text, "Executable (*.exe)|*.exe|All (*.*)|*.*");
  EXPECT_EQ(t.profile.Value(kIdeIni, "User Applications", "ALPHA"), "C:\\New Tools\\NEW.EXE");
  EXPECT_EQ(t.shell.opened, Strings{"file:///C:/QZCL/qzcl.html#QZCL%20Editor"});
}

}  // namespace
}  // namespace qz
