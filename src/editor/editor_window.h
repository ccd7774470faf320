// The EDIT command and its window: a list of one section's items, edited in place and written back.
#pragma once
#include <algorithm>
#include <string>
#include <vector>

#include "base/command_line.h"
#include "base/installation.h"
#include "base/services.h"
#include "editor/editor_view.h"
#include "editor/section_table.h"
#include "editor/list_format.h"

namespace qz {

// The list layout of a section (columns, headers, pictures, fields), before translation.
std::string SectionFormat(std::string_view section);

class EditorPresenter : public EditorEvents {
 public:
  EditorPresenter(Services& svc, const Installation& ide, EditorView& view) : svc_(svc), ide_(ide), view_(view) {}

  // Opens the window on "User Menus" and returns when it has closed; false when no window could be opened.
  bool Run();

  void OnAccepted(EditorControl control) override;
  void OnSectionChosen(const std::string& value) override;
  void OnNewSelection(int row, int column) override;
  void OnActivate() override;
  void OnEditKey(EditKey key) override;
  void OnEditAccepted() override;
  void OnCloseRequest() override;
  void OnHelp() override;

 private:
  // What the open edit is for: nothing, a new item, or the selected one.
  enum class EditAction { None, Add, Change };

  int Count() const { return static_cast<int>(items_.size()); }
  bool Is(const char* name) const { return section_ == name; }
  bool ListsAppRefInColumn3() const;
  int LastColumn() const;
  int Columns() const { return std::max(1, static_cast<int>(layout_.size())); }
  // The item field the list shows in column (1-based); 0 when there is no such column.
  int FieldAt(int column) const;
  void Load();
  void ApplyFormat();
  void SelectRow(int row);
  void TakeSelectedItem();
  void StoreItem();
  bool RefusesAllMask(const char* caption);
  void TakeEditorContents();
  void PrimeEdit();
  void CompleteEdit();
  void EndEdit();
  void RefreshButtons();
  void MoveTo(int row);
  void MoveToColumn(int column);
  void ChooseFile();
  void Delete();
  void Move(bool up);
  void Update();
  void Close();

  Services& svc_;
  const Installation& ide_;
  EditorView& view_;
  std::vector<Item> items_;   // the list shows them; the view keeps a reference
  std::vector<Item> loaded_;  // the list as the file held it when it was loaded or last written
  std::string section_, previousSection_;
  bool changed_ = false, closing_ = false, closed_ = false;
  EditAction editAction_ = EditAction::None;
  int editColumn_ = 0;
  int pendingRow_ = 0;  // the row of the item being edited, while the edit counts as open
  std::string appRefComboText_;
  int storedCount_ = 0;
  int selected_ = 0, column_ = 1;
  std::vector<ListColumn> layout_;  // the section's list layout, as translated
  Item editedItem_;
  // The open field: which item field it edits, whether it is the AppRef combo.
  bool fieldOpen_ = false, fieldIsCombo_ = false;
  int field_ = 0;
};

// EDIT [version]; view is nullptr where no window can open (an unattended run).
void EditIni(Services& svc, const CommandLine& line, EditorView* view);

}  // namespace qz
