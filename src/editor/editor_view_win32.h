// The editor window on Win32: a dialog built in memory, a report list that reads the items on demand,
// and one entry field and one combo that are laid over a cell when the presenter asks.
#pragma once
#include <windows.h>
#include <commctrl.h>

#include <string>
#include <vector>

#include "editor/editor_view.h"
#include "editor/list_format.h"
#include "translator/dialog_view_win32.h"

namespace qz {

// Control ids: the window's control number n has id kEditorFirstId + n (the list is 3, Add 4, Change 5,
// Delete 6, Sort 7, Up 8, Down 9, the item count 10, Default 11, Update File 12, Close 13, the section
// list 14, Next 16, Back 27); the fields laid over cells have their own.
inline constexpr WORD kEditorFirstId = 1000;
inline constexpr WORD kEditorEntryId = 2001;
inline constexpr WORD kEditorComboId = 2002;

class Win32EditorView : public DialogView<EditorView, EditorEvents> {
 public:
  Win32EditorView();

  void SetSections(const std::vector<std::pair<std::string, std::string>>& entries) override;
  void ShowSection(const std::string& value) override;
  void ShowIniFile(const std::string& path) override;
  void ShowVersion(const std::string& text) override;
  void ShowPage(int page) override;
  void ShowCount(long count) override;
  void Enable(EditorControl control, bool enabled) override;
  void Hold(bool held) override;
  void SetFormat(const std::string& format) override;
  void ShowItems(const std::vector<Item>& items) override;
  void Redisplay() override;
  void Select(int row, int column) override;
  void FocusList() override;
  void OpenEditor(int row, int column, const CellEditor& editor) override;
  std::string EditorText() override;
  void SetEditorText(const std::string& text) override;
  void DetachEditor() override;
  void CloseEditor() override;

 private:
  DialogLayout Layout() const override;
  HWND FirstFocus() const override { return fieldShown_ ? Field() : list_; }
  void OnInit() override;
  INT_PTR OnCommand(int id, int code, HWND control) override;
  INT_PTR OnNotify(const NMHDR& header) override;
  bool OnCloseRequest() override;
  LRESULT OnControlMessage(UINT_PTR hook, HWND control, UINT message, WPARAM wParam, LPARAM lParam) override;
  void OnHelpKey() override { Send(&EditorEvents::OnHelp); }
  std::string ListFormat(int) const override { return format_; }
  void SetListFormat(int, std::string_view format) override { SetFormat(std::string(format)); }
  LRESULT OnListMessage(HWND list, UINT message, WPARAM wParam, LPARAM lParam);
  LRESULT OnFieldMessage(HWND field, UINT message, WPARAM wParam, LPARAM lParam);
  LRESULT OnListNotify(NMHDR* header);
  LRESULT OnCustomDraw(NMLVCUSTOMDRAW* draw);
  HWND Field() const;  // the field laid over the cell: the entry or the combo's own edit
  HWND FieldWindow() const { return fieldIsCombo_ ? combo_ : entry_; }
  void PlaceField();
  // The last column takes what the list has left of its width.
  void FillLastColumn();
  void RedrawRow(int row);
  int SelectedRow() const;
  std::string CellText(int row, int column) const;

  HWND list_ = nullptr, entry_ = nullptr, combo_ = nullptr, comboEdit_ = nullptr, tooltip_ = nullptr;
  int quiet_ = 0;  // above 0 while the view itself changes the selection
  const std::vector<Item>* items_ = nullptr;
  std::string format_;
  std::vector<ListColumn> columns_;
  int column_ = 1;
  std::vector<std::pair<std::string, std::string>> sections_;
  // The field over the cell.
  bool fieldShown_ = false, fieldIsCombo_ = false, fieldChanged_ = false, filePicker_ = false;
  int fieldRow_ = 0, fieldColumn_ = 0;
  int page_ = 1;  // the presenter's number: 1 is the items page
  std::string tipText_;
};

}  // namespace qz
