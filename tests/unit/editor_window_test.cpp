#include <gtest/gtest.h>

#include "editor/editor_window.h"
#include "editor/section_table.h"
#include "unit/harness.h"

namespace qz {
namespace {

using fake::FakeEditorView;
using C = EditorControl;

const char* const kIni = "C:\\C6\\BIN\\C60EE.ini";

// What one step of a session at the window does.
using Act = std::function<void(FakeEditorView&, EditorPresenter&)>;
Act Press(C c) { return [c](FakeEditorView&, EditorPresenter& p) { p.OnAccepted(c); }; }
Act Key(EditKey k) { return [k](FakeEditorView&, EditorPresenter& p) { p.OnEditKey(k); }; }
Act Click(int row, int column) { return [=](FakeEditorView&, EditorPresenter& p) { p.OnNewSelection(row, column); }; }
Act Type(std::string text) { return [text](FakeEditorView& v, EditorPresenter&) { v.Type(text); }; }
Act Activate() { return [](FakeEditorView&, EditorPresenter& p) { p.OnActivate(); }; }
Act Choose(std::string section) { return [section](FakeEditorView&, EditorPresenter& p) { p.OnSectionChosen(section); }; }

struct Step {
  Act act;
  // Add, Change, Delete, Sort, Up, Down, Default, Update: the letter when enabled, "-" when not.
  const char* buttons;
  const char* box = "";  // caption of the box the step shows, if any
};

struct Editor : fake::Harness {
  Installation ide{.version = "60", .exe = "C60EE", .iniFile = kIni};
  FakeEditorView view;
  std::vector<Item> shown;  // the list as the last step left it
  Editor() {
    files.existing.insert(kIni);
    Ini("User Menus", "1", "&Alpha|ALPHA");
    Ini("User Menus", "2", "&Beta|CWEDT");
    Ini("User Menus", "3", "&Gamma|GAMMA");
    Ini("User Applications", "ALPHA", "C:\\A\\ALPHA.EXE");
    Ini("User Applications", "GAMMA", "C:\\G\\GAMMA.EXE");
    Ini("File Types", "All", "2");
    Ini("File Types", "1", "Templates=*.tpl|CWEDT");
    Ini("File Types", "2", "All Files=*.*|CWEDT");
    Ini("Open Dialog", "1", "Sources=*.clw|CWEDT");
  }
  void Ini(const char* section, const char* key, const char* value) { profile.Write(kIni, section, key, value); }
  std::string Buttons() {
    std::string s;
    const std::pair<C, char> order[] = {{C::Add, 'A'}, {C::Change, 'C'}, {C::Delete, 'D'}, {C::Sort, 'S'},
                                        {C::Up, 'U'},  {C::Down, 'W'},   {C::Default, 'E'}, {C::Update, 'F'}};
    for (auto [c, letter] : order) s += view.On(c) ? letter : '-';
    return s;
  }
  // Plays the steps inside the window's run and checks each; then the window is closed as a person would.
  void Play(const std::vector<Step>& steps) {
    view.script = [&](FakeEditorView& v, EditorEvents& events) {
      auto& p = static_cast<EditorPresenter&>(events);
      for (std::size_t i = 0; i < steps.size(); ++i) {
        std::size_t boxes = dialogs.shown.size();
        steps[i].act(v, p);
        EXPECT_EQ(Buttons(), steps[i].buttons) << "step " << i + 1;
        std::string caption = dialogs.shown.size() > boxes ? dialogs.shown.back().caption : "";
        EXPECT_EQ(caption, steps[i].box) << "step " << i + 1;
      }
      shown = *v.items;
    };
    EditorPresenter presenter(svc, ide, view);
    ASSERT_TRUE(presenter.Run());
  }
  std::vector<std::string> Menus() {
    std::vector<std::string> out;
    for (const Item& item : shown) out.push_back(item.text + "|" + item.appRef + "|" + item.commandLine);
    return out;
  }
};

TEST(editor_window, opens_on_user_menus_with_its_sections_and_texts) {
  for (bool translations : {false, true}) {
    Editor t;
    if (translations) t.svc.langFile = "C:\\WORK\\QZCLLang.str";
    t.Play({});
    EXPECT_EQ(t.view.sections.size(), translations ? 6u : 5u);
    EXPECT_EQ(t.view.sections[1], (std::pair<std::string, std::string>{"File Types", "File Types"}));
    EXPECT_EQ(t.view.section, "User Menus");
    EXPECT_EQ(t.view.version, "Version 6.40  0001");
    EXPECT_EQ(t.view.iniFile, kIni);
    EXPECT_EQ(t.view.format, "129L(2)|_M~Menu~@s255@#1#60L(2)|_M~AppRef~@s255@#3#20L(2)|_M~Command Line~@s255@#4#");
    EXPECT_EQ(t.view.count, 3);
    EXPECT_EQ(t.view.row, 1);
    EXPECT_EQ(t.Buttons(), "ACDS-WE-");
  }
}

TEST(editor_window, an_added_item_is_filled_column_by_column_and_cannot_be_left_incomplete) {
  Editor t;
  t.Play({
      {Press(C::Add), "--D-----"},
      {Key(EditKey::Esc), "--D-----"},           // the blank row is incomplete: Esc stays on it
      {Click(1, 1), "--D-----"},                 // so does a click on another row
      {Type("&Tools"), "--D-----"},
      {Key(EditKey::Tab), "--D-----"},           // the AppRef combo of column 2
      {Type("MYTOOL"), "--D-----"},
      {Key(EditKey::Tab), "--D-----"},           // the command line, with the file picker
      {Type("C:\\T\\TOOL.EXE"), "--D-----"},
      {Key(EditKey::Enter), "ACDSU-EF"},         // complete: stored, and the list has changes
  });
  EXPECT_EQ(t.view.row, 4);
  EXPECT_EQ(t.view.listFocused, 2);
  EXPECT_EQ(t.Menus().back(), "&Tools|MYTOOL|C:\\T\\TOOL.EXE");
  EXPECT_TRUE(t.dialogs.shown.empty());
}

TEST(editor_window, cells_open_the_field_their_column_asks_for) {
  Editor t;
  t.Play({
      {Click(2, 2), "ACDSUWE-"},
      {Activate(), "--D-----"},
      {[](FakeEditorView& v, EditorPresenter&) {
         EXPECT_EQ(v.editor.kind, CellEditor::Kind::Combo);
         EXPECT_EQ(v.editor.text, "CWEDT");
         EXPECT_EQ(v.editor.choices, "|CWedt|CWcif|CWprj|CWadm|CWgen|CWbrw|CWtty");
       },
       "--D-----"},
      {Key(EditKey::Tab), "--D-----"},
      {[](FakeEditorView& v, EditorPresenter&) {
         EXPECT_EQ(v.editor.kind, CellEditor::Kind::Entry);
         EXPECT_EQ(v.editor.tip, "Press AltDown to select a file");
         EXPECT_EQ(v.editorColumn, 3);
       },
       "--D-----"},
      {Key(EditKey::Tab), "ACDSUWEF"},  // the last column: back to the list
      {Click(3, 3), "ACDSU-EF"},
      {Activate(), "--D-----"},
      {Key(EditKey::Down), "--D-----"},  // the last row
      {Key(EditKey::Up), "--D-----"},
      {Choose("Open Dialog"), "ACDS-WE-", "List Changed"},
      {Click(1, 4), "ACDS-WE-"},
      {Activate(), "--D-----"},  // an applet has no command line: no field, but the item is being edited
      {Click(1, 3), "ACDS-WE-"},
      {Activate(), "--D-----"},
      {Key(EditKey::Tab), "--D-----"},
  });
  EXPECT_EQ(t.view.row, 1);
  EXPECT_FALSE(t.view.editorOpen);
  EXPECT_EQ(t.view.format,
            "129L(2)|_M~Menu~@s255@#1#40L(2)|_M~Extension~@s255@#2#60L(2)|_M~AppRef~@s255@#3#120L(2)|_M~User "
            "Applications~@s255@#4#");
}

TEST(editor_window, the_all_files_mask_is_neither_changed_nor_deleted) {
  Editor t;
  t.Play({
      {Choose("File Types"), "ACDS-WE-"},
      {Click(2, 2), "ACDSU-E-"},
      {Press(C::Change), "ACDSU-E-", "All Mask"},
      {Activate(), "ACDSU-E-", "ALL Mask"},
      {Press(C::Delete), "ACDSU-E-", "All Entry"},
      {Click(2, 1), "ACDSU-E-"},
      {Activate(), "--D-----"},  // its menu text may be changed
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

TEST(editor_window, sorting_keeps_the_file_unchanged_and_moving_changes_it) {
  Editor t;
  t.Play({
      {Click(3, 1), "ACDSU-E-"},
      {Press(C::Sort), "ACDSU-E-"},
      {Press(C::Default), "ACDSU-E-"},
      {Press(C::Up), "ACDSUWEF"},
      {Press(C::Up), "ACDS-WEF"},
      {Press(C::Up), "ACDS-WEF"},
  });
  EXPECT_EQ(t.Menus().front(), "&Gamma|GAMMA|C:\\G\\GAMMA.EXE");
}

TEST(editor_window, delete_asks_first_and_selects_the_row_that_moves_up) {
  Editor t;
  t.dialogs.answers = {Button::No, Button::Yes};
  t.Play({
      {Click(3, 1), "ACDSU-E-"},
      {Press(C::Delete), "ACDSU-E-", "Delete Record"},
      {Press(C::Delete), "ACDSU-EF", "Delete Record"},
  });
  EXPECT_EQ(t.dialogs.shown[0].text, "Are you sure you want to delete the item: &Gamma?");
  EXPECT_EQ(t.dialogs.shown[0].icon, Icon::Exclamation);
  EXPECT_EQ(t.view.row, 2);
  EXPECT_EQ(t.view.count, 2);
}

TEST(editor_window, a_section_switch_with_changes_asks_and_no_keeps_the_list) {
  Editor t;
  t.dialogs.answers = {Button::Yes, Button::No, Button::Yes};
  t.Play({
      {Press(C::Delete), "ACDS-WEF", "Delete Record"},
      {Choose("File Types"), "ACDS-WEF", "List Changed"},
      {[](FakeEditorView& v, EditorPresenter& p) {
         EXPECT_EQ(v.section, "User Menus");
         EXPECT_EQ(p.Section(), "User Menus");
         EXPECT_EQ(v.count, 2);
       },
       "ACDS-WEF"},
      {Choose("File Types"), "ACDS-WE-", "List Changed"},
  });
  EXPECT_EQ(t.dialogs.shown[1].text,
            "The list has been changed and will be overwritten. Do yo want to load the new selection?");
  EXPECT_EQ(t.view.count, 2);  // the two File Types
}

TEST(editor_window, closing_with_changes_offers_to_save) {
  struct Case {
    Button answer;     // to "Close"
    bool closed;
    const char* last;  // the last box
  };
  const Case cases[] = {
      {Button::Yes, true, "Update File"},  // the update's own question answered No: the window closes anyway
      {Button::Cancel, false, "Close"},
      {Button::No, true, "Close"},
  };
  for (const Case& c : cases) {
    Editor t;
    t.dialogs.answers = {Button::Yes, c.answer, Button::No};
    t.Play({{Press(C::Delete), "ACDS-WEF", "Delete Record"}, {Press(C::Close), "ACDS-WEF", c.last}});
    EXPECT_EQ(t.view.running, !c.closed) << c.last;
    EXPECT_EQ(t.dialogs.shown[1].text, "The list has been changed. To you want to save your changes?");
    EXPECT_EQ(t.dialogs.shown[1].buttons, Buttons::YesNoCancel);
    EXPECT_EQ(*t.profile.Find(kIni, "User Menus", "3"), "&Gamma|GAMMA") << "nothing written";
  }
}

TEST(editor_window, update_writes_the_list_and_disables_itself) {
  Editor t;
  t.Play({
      {Press(C::Delete), "ACDS-WEF", "Delete Record"},
      {Press(C::Update), "ACDS-WE-", "Update Completed"},
  });
  EXPECT_EQ(*t.profile.Find(kIni, "User Menus", "1"), "&Beta|CWEDT");
  EXPECT_EQ(*t.profile.Find(kIni, "User Menus", "3"), "");
}

TEST(editor_window, alt_down_puts_the_chosen_program_in_the_command_line_and_f1_opens_help) {
  Editor t;
  t.dialogs.chosenFile = "C:\\New Tools\\NEW.EXE";
  t.Play({
      {Click(1, 3), "ACDS-WE-"},
      {Activate(), "--D-----"},
      {Key(EditKey::AltDown), "--D-----", "File to Run"},
      {Key(EditKey::Enter), "ACDS-WEF"},
      {[](FakeEditorView&, EditorPresenter& p) { p.OnHelp(); }, "ACDS-WEF"},
  });
  EXPECT_EQ(t.Menus()[0], "&Alpha|ALPHA|C:\\New Tools\\NEW.EXE");
  EXPECT_EQ(t.dialogs.shown[0].caption, "File to Run");
  EXPECT_EQ(t.dialogs.shown[0].text, "Executable (*.exe)|*.exe|All (*.*)|*.*");
  EXPECT_EQ(t.shell.opened, std::vector<std::string>{"file:///C:/QZCL/qzcl.html#QZCL%20Editor"});
}

}  // namespace
}  // namespace qz
