#include "editor/editor_window.h"

#include "base/help.h"
#include "editor/ini_update.h"
#include "editor/list_format.h"
#include "text/text.h"

namespace qz {

namespace {

constexpr const char* kHelpKeyword = "QZCL Editor";
constexpr const char* kSetupApplets = "|CWedt|CWadm|CWadm.2|CWgen.1|CWscr|CWgen.103|CWasl.54|CWasl.38|CWasl.36";
constexpr const char* kApplets = "|CWedt|CWcif|CWprj|CWadm|CWgen|CWbrw|CWtty";

// One column of a list format: its width, header (translated with the format), string size and field.
std::string Column(int width, const char* header, int size, ItemField field) {
  return std::to_string(width) + "L(2)|_M~" + header + "~@s" + std::to_string(size) + "@#" + std::to_string(field) +
         "#";
}

}  // namespace

std::string SectionFormat(std::string_view section) {
  section = ClipView(section);
  const std::string menu = Column(129, Phrase("Menu"), 255, kTextField);
  if (section == kFileTypesSection)
    return menu + Column(80, Phrase("Mask"), 255, kMaskField) + Column(60, Phrase("AppRef"), 80, kAppRefField) +
           Column(120, Phrase("User Application"), 255, kCommandLineField);
  if (section == kOpenDialogSection || section == kPickDialogSection)
    return menu + Column(40, Phrase("Extension"), 255, kMaskField) + Column(60, Phrase("AppRef"), 255, kAppRefField) +
           Column(120, Phrase("User Applications"), 255, kCommandLineField);
  if (section == kSetupMenuSection)
    return menu + Column(60, Phrase("AppRef"), 255, kAppRefField) +
           Column(160, Phrase("User Application"), 255, kCommandLineField);
  if (section == kTranslationsSection)
    return Column(178, Phrase("Source String"), 255, kTextField) +
           Column(60, Phrase("Replacement String"), 255, kReplacementField);
  return menu + Column(60, Phrase("AppRef"), 255, kAppRefField) +
         Column(20, Phrase("Command Line"), 255, kCommandLineField);
}

bool EditorPresenter::Run() {
  TranslatableWindow* window = view_.Open(*this);
  if (!window) return false;
  svc_.translator.TranslateWindow(*window);
  std::vector<std::pair<std::string, std::string>> sections;
  for (const char* name :
       {kUserMenusSection, kFileTypesSection, kOpenDialogSection, kPickDialogSection, kSetupMenuSection})
    sections.emplace_back(svc_.tr(name), name);
  if (!IsBlank(svc_.langFile)) sections.emplace_back(svc_.tr(kTranslationsSection), kTranslationsSection);
  view_.SetSections(sections);
  section_ = previousSection_ = kUserMenusSection;
  ApplyFormat();
  Load();
  view_.ShowSection(section_);
  view_.ShowIniFile(ide_.iniFile);
  view_.ShowPage(1);
  view_.ShowVersion(svc_.tr("Version") + " " + kProgramVersion);
  RefreshButtons();
  view_.FocusList();
  view_.Run();
  return true;
}

void EditorPresenter::ApplyFormat() {
  const std::string format = svc_.translator.TranslateFormat(SectionFormat(section_));
  layout_ = ParseListFormat(format);
  // A list keeps its current column only while the new layout has it.
  if (column_ > Columns()) column_ = 1;
  view_.SetFormat(format);
}

int EditorPresenter::FieldAt(int column) const {
  return column >= 1 && column <= static_cast<int>(layout_.size()) ? layout_[static_cast<std::size_t>(column - 1)].field
                                                                   : 0;
}

void EditorPresenter::Load() {
  items_ = loaded_ = LoadSection(svc_, ide_.iniFile, section_);
  storedCount_ = Count();
  view_.ShowItems(items_);
  SelectRow(Count() > 0 ? 1 : 0);
  if (selected_ > 0) editedItem_ = items_[0];
}

void EditorPresenter::SelectRow(int row) {
  selected_ = row;
  view_.Select(row, column_);
}

void EditorPresenter::TakeSelectedItem() {
  if (selected_ >= 1 && selected_ <= Count()) editedItem_ = items_[static_cast<std::size_t>(selected_ - 1)];
}

void EditorPresenter::StoreItem() {
  int row = pendingRow_ ? pendingRow_ : selected_;
  if (row >= 1 && row <= Count()) items_[static_cast<std::size_t>(row - 1)] = editedItem_;
  view_.Redisplay();
}

bool EditorPresenter::ListsAppRefInColumn3() const {
  return Is(kFileTypesSection) || Is(kOpenDialogSection) || Is(kPickDialogSection);
}

int EditorPresenter::LastColumn() const {
  if (Is(kTranslationsSection)) return 2;
  return ListsAppRefInColumn3() ? 4 : 3;
}

// The all-files mask of "File Types" filters every record: its mask is not edited.
bool EditorPresenter::RefusesAllMask(const char* caption) {
  if (FieldAt(column_) != kMaskField || !editedItem_.allFilesMask || !Is(kFileTypesSection)) return false;
  svc_.Inform(caption, svc_.tr("This mask is used for filtering all records and cannot be changed."), Icon::WinLogo);
  return true;
}

void EditorPresenter::OnAccepted(EditorControl control) {
  switch (control) {
    case EditorControl::Add:
      editAction_ = EditAction::Add;
      editedItem_ = Item{};
      editedItem_.number = Count() + 1;
      items_.push_back(editedItem_);
      view_.Redisplay();
      SelectRow(Count());
      PrimeEdit();
      RefreshButtons();
      break;
    case EditorControl::Change:
      if (selected_ < 1 || selected_ > Count()) break;
      TakeSelectedItem();
      if (RefusesAllMask(svc_.tr("All Mask").c_str())) break;
      editAction_ = EditAction::Change;
      SelectRow(selected_);
      PrimeEdit();
      RefreshButtons();
      break;
    case EditorControl::Delete: Delete(); break;
    case EditorControl::Sort:
      SortBySortKey(items_);
      view_.Redisplay();
      TakeSelectedItem();
      break;
    case EditorControl::Default:
      SortByNumber(items_);
      view_.Redisplay();
      TakeSelectedItem();
      break;
    case EditorControl::Up: Move(true); break;
    case EditorControl::Down: Move(false); break;
    case EditorControl::Update: Update(); break;
    case EditorControl::Close: OnCloseRequest(); break;
    case EditorControl::Next: view_.ShowPage(2); break;
    case EditorControl::Back: view_.ShowPage(1); break;
  }
}

void EditorPresenter::Delete() {
  const int r = selected_;
  if (r < 1 || r > Count()) return;
  TakeSelectedItem();
  if (editedItem_.allFilesMask) {
    svc_.Inform(svc_.tr("All Entry"), svc_.tr("This record is used for filtering all records. It cannot be deleted."),
                Icon::Asterisk);
    return;
  }
  if (svc_.Ask(svc_.tr("Delete Record"),
               svc_.tr("Are you sure you want to delete the item") + ": " + Clip(editedItem_.text) + "?",
               Buttons::YesNo, Button::Yes) != Button::Yes)
    return;
  items_.erase(items_.begin() + (r - 1));
  view_.Redisplay();
  SelectRow(r > Count() ? r - 1 : r);
  TakeSelectedItem();
  editAction_ = EditAction::None;
  pendingRow_ = 0;
  changed_ = true;
  EndEdit();
  RefreshButtons();
}

void EditorPresenter::Move(bool up) {
  const int from = selected_;
  const int to = static_cast<int>(up ? MoveItemUp(items_, static_cast<std::size_t>(from))
                                     : MoveItemDown(items_, static_cast<std::size_t>(from)));
  if (to == from) return;
  EndEdit();
  view_.Redisplay();
  SelectRow(to);
  TakeSelectedItem();
  changed_ = true;
  RefreshButtons();
}

void EditorPresenter::Update() {
  view_.Hold(true);
  const UpdateResult result = ConfirmUpdate(svc_, section_)
                                  ? UpdateSection(svc_, ide_, section_, items_, loaded_, storedCount_)
                                  : UpdateResult::NotWritten;
  view_.Hold(false);
  if (result == UpdateResult::Reload) {
    EndEdit();
    Load();
  }
  if (result != UpdateResult::NotWritten) {
    changed_ = false;
    storedCount_ = Count();
    RefreshButtons();
  }
  if (closing_) Close();
}

void EditorPresenter::Close() {
  if (closed_) return;
  closed_ = true;
  EndEdit();
  view_.Close();
}

void EditorPresenter::OnCloseRequest() {
  if (changed_ && !closing_) {
    // "To you want" is the program's own text, kept because translation files look it up.
    switch (svc_.Ask(svc_.tr("Close"), svc_.tr("The list has been changed. To you want to save your changes?"),
                     Buttons::YesNoCancel, Button::Yes)) {
      case Button::Yes:
        closing_ = true;
        Update();
        return;
      case Button::No: break;
      default: return;
    }
  }
  Close();
}

void EditorPresenter::OnSectionChosen(const std::string& value) {
  if (changed_) {
    if (svc_.Ask(svc_.tr("List Changed"),
                 svc_.tr("The list has been changed and will be overwritten.") + " " +
                     svc_.tr("Do yo want to load the new selection?"),
                 Buttons::YesNo, Button::Yes) != Button::Yes) {
      section_ = previousSection_;
      view_.ShowSection(section_);
      view_.FocusList();
      return;
    }
  }
  section_ = previousSection_ = Clip(value);
  ApplyFormat();
  EndEdit();
  changed_ = false;
  // The new list holds no item under edit: an edit left open would lock the selection to a row of the
  // old section.
  editAction_ = EditAction::None;
  pendingRow_ = 0;
  if (!IsBlank(section_)) Load();
  RefreshButtons();
}

void EditorPresenter::OnNewSelection(int row, int column) {
  selected_ = row;
  if (column >= 1 && column <= Columns()) column_ = column;
  TakeEditorContents();
  if (editAction_ != EditAction::None && !ValidateItem(section_, editedItem_)) {
    // An incomplete item cannot be left: the selection goes back to it.
    if (row == pendingRow_) return;
    selected_ = pendingRow_;
    if (editColumn_) column_ = editColumn_;
    view_.Select(selected_, column_);
    return;
  }
  editAction_ = EditAction::None;
  pendingRow_ = 0;
  EndEdit();
  TakeSelectedItem();
  RefreshButtons();
}

void EditorPresenter::OnActivate() {
  if (selected_ < 1 || selected_ > Count()) return;
  TakeSelectedItem();
  if (RefusesAllMask("ALL Mask")) return;
  editAction_ = EditAction::Change;
  PrimeEdit();
  RefreshButtons();
}

void EditorPresenter::PrimeEdit() {
  EndEdit();
  const int c = column_;
  CellEditor editor;
  int field = FieldAt(c);
  // A file list has a command line only for a user application.
  if (field == kCommandLineField && ListsAppRefInColumn3() &&
      (IsApplet(editedItem_.appRef) || editedItem_.appRef.empty()))
    field = 0;
  const bool combo = field == kAppRefField;
  const bool filePicker = field == kCommandLineField;
  pendingRow_ = selected_;
  editColumn_ = c;
  if (field == 0) return;  // nothing to edit in this cell, but the item counts as being edited
  if (combo) {
    editor.kind = CellEditor::Kind::Combo;
    appRefComboText_ = FieldOf(editedItem_, field);
    editor.text = appRefComboText_;
    editor.choices = Is(kSetupMenuSection) ? kSetupApplets : kApplets;
  } else {
    editor.text = FieldOf(editedItem_, field);
  }
  if (filePicker) editor.tip = svc_.tr("Press AltDown to select a file");
  if (c <= static_cast<int>(layout_.size())) {
    if (std::size_t width = StringPictureWidth(layout_[static_cast<std::size_t>(c - 1)].picture))
      editor.maxChars = width;
  }
  field_ = field;
  fieldIsCombo_ = combo;
  fieldOpen_ = true;
  view_.OpenEditor(selected_, c, editor);
}

void EditorPresenter::TakeEditorContents() {
  if (!fieldOpen_) return;
  std::string text = view_.EditorText();
  if (fieldIsCombo_) {
    appRefComboText_ = std::move(text);
  } else {
    FieldOf(editedItem_, field_) = std::move(text);
  }
}

void EditorPresenter::CompleteEdit() {
  TakeEditorContents();
  if (fieldOpen_ && fieldIsCombo_) {
    editedItem_.appRef = appRefComboText_;
    view_.Redisplay();
  }
  SetEditTimeSortKey(editedItem_);
  if (editAction_ != EditAction::None && !ValidateItem(section_, editedItem_)) {
    // Kept as far as it goes; the edit stays open until the item is complete or deleted.
    if (fieldOpen_) view_.DetachEditor();
    appRefComboText_.clear();
    StoreItem();
    return;
  }
  StoreItem();
  changed_ = true;
  editAction_ = EditAction::None;
  pendingRow_ = 0;
  EndEdit();
  RefreshButtons();
}

void EditorPresenter::EndEdit() {
  editColumn_ = 0;
  if (!fieldOpen_) return;
  fieldOpen_ = false;
  appRefComboText_.clear();
  view_.CloseEditor();
}

void EditorPresenter::RefreshButtons() {
  using C = EditorControl;
  for (C c : {C::Add, C::Change, C::Delete, C::Sort, C::Up, C::Down, C::Default, C::Update}) view_.Enable(c, true);
  if (selected_ <= 1) {
    view_.Enable(C::Up, false);
  } else if (selected_ >= Count()) {
    view_.Enable(C::Down, false);
  }
  view_.Enable(C::Update, changed_);
  if (Count() == 0) {
    for (C c : {C::Change, C::Delete, C::Sort, C::Up, C::Down}) view_.Enable(c, false);
  }
  if (editAction_ != EditAction::None) {
    for (C c : {C::Add, C::Change, C::Delete, C::Sort, C::Up, C::Down, C::Default, C::Update}) view_.Enable(c, false);
    if (Count() > 0) view_.Enable(C::Delete, true);
  }
  view_.ShowCount(Count());
}

void EditorPresenter::MoveTo(int row) {
  CompleteEdit();
  if (editAction_ != EditAction::None) return;
  SelectRow(row);
  TakeSelectedItem();
  PrimeEdit();
  editAction_ = EditAction::Change;
  RefreshButtons();
}

void EditorPresenter::MoveToColumn(int column) {
  column_ = column;
  view_.Select(selected_, column_);
  PrimeEdit();
  editAction_ = EditAction::Change;
  RefreshButtons();
}

void EditorPresenter::ChooseFile() {
  if (auto path = svc_.ChooseFile(svc_.tr("File to Run"), "Executable (*.exe)|*.exe|All (*.*)|*.*")) {
    editedItem_.commandLine = *path;
    view_.SetEditorText(*path);
  }
  StoreItem();
}

void EditorPresenter::OnEditKey(EditKey key) {
  if (!fieldOpen_) return;  // the keys come from the field
  const int c = editColumn_ ? editColumn_ : column_;
  switch (key) {
    case EditKey::AltDown:
      if (field_ == kCommandLineField) ChooseFile();
      break;
    case EditKey::Esc: OnNewSelection(selected_, column_); break;
    case EditKey::Enter:
      CompleteEdit();
      view_.FocusList();
      EndEdit();
      RefreshButtons();
      break;
    case EditKey::Up:
      if (selected_ > 1) MoveTo(selected_ - 1);
      break;
    case EditKey::Down:
      if (selected_ < Count()) MoveTo(selected_ + 1);
      break;
    case EditKey::Tab:
      CompleteEdit();
      if (c >= LastColumn()) {
        view_.FocusList();
      } else {
        MoveToColumn(c + 1);
      }
      break;
    case EditKey::ShiftTab:
      CompleteEdit();
      if (c > 1) {
        MoveToColumn(c - 1);
      } else {
        view_.FocusList();
      }
      break;
  }
}

void EditorPresenter::OnEditAccepted() {
  CompleteEdit();
  view_.FocusList();
  view_.Redisplay();
}

void EditorPresenter::OnHelp() { OpenHelp(svc_, kHelpKeyword); }

void EditIni(Services& svc, const CommandLine& line, EditorView* view) {
  const std::optional<Installation> ide = LocateInstallation(svc, VersionCode(Cut(line.Token(2), 3)), line.Text());
  if (!ide) return;
  if (!view || !EditorPresenter(svc, *ide, *view).Run())
    svc.Refused("QZCL", svc.tr("The editor is a window and cannot run without a desktop."));
}

}  // namespace qz
