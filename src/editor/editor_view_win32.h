// The editor window on Win32: a dialog built in memory, a report list that reads the items on demand,
// and one entry field and one combo that are laid over a cell when the presenter asks.
#pragma once
#include <windows.h>
#include <commctrl.h>

#include <string>
#include <vector>

#include "editor/editor_view.h"
#include "runtime/dialog_window_win32.h"
#include "runtime/list_format.h"

namespace qz {

// Control ids: the window's control number n has id kEditorFirstId + n (the list is 3, Add 4, Change 5,
// Delete 6, Sort 7, Up 8, Down 9, the item count 10, Default 11, Update File 12, Close 13, the section
// list 14, Next 16, Back 27); the fields laid over cells have their own.
inline constexpr WORD kEditorFirstId = 1000;
inline constexpr WORD kEditorEntryId = 2001;
inline constexpr WORD kEditorComboId = 2002;

class Win32EditorView : public EditorView, public TranslatableWindow, private DialogWindow {
 public:
  Win32EditorView() = default;
  ~Win32EditorView() override;

  TranslatableWindow* Open(EditorEvents& events) override;
  void Run() override;
  void Close() override;
  void SetSections(const std::vector<std::pair<std::string, std::string>>& entries) override;
  void ShowSection(const std::string& value) override;
  void ShowIniFile(const std::string& path) override;
  void ShowVersion(const std::string& text) override;
  void ShowPage(int page) override;
  void ShowCount(long count) override;
  void Enable(EditorControl control, bool enabled) override;
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

  ControlKind Kind() const override { return ControlKind::Window; }
  std::string Title() const override;
  void SetTitle(std::string_view title) override;
  int FirstControl() const override { return 1; }
  int NextControl(int control) const override;
  ControlKind KindOf(int control) const override;
  std::string Get(int control, Property property) const override;
  void Set(int control, Property property, std::string_view value) override;

 private:
  static LRESULT CALLBACK ListProc(HWND, UINT, WPARAM, LPARAM, UINT_PTR, DWORD_PTR);
  static LRESULT CALLBACK FieldProc(HWND, UINT, WPARAM, LPARAM, UINT_PTR, DWORD_PTR);
  INT_PTR OnMessage(UINT message, WPARAM wParam, LPARAM lParam) override;
  void OnHelpKey() override { Events().OnHelp(); }
  EditorEvents& Events();
  LRESULT OnListNotify(NMHDR* header);
  LRESULT OnCustomDraw(NMLVCUSTOMDRAW* draw);
  void OnInit() override;
  HWND Control(int number) const;
  HWND Field() const;  // the field laid over the cell: the entry or the combo's own edit
  void PlaceField();
  void RedrawRow(int row);
  int SelectedRow() const;
  std::string CellText(int row, int column) const;

  HWND list_ = nullptr, entry_ = nullptr, combo_ = nullptr, comboEdit_ = nullptr, tooltip_ = nullptr;
  std::vector<HICON> arrows_;
  EditorEvents* events_ = nullptr;
  int quiet_ = 0;  // above 0 while the view itself changes the selection
  const std::vector<Item>* items_ = nullptr;
  std::string format_;
  std::vector<ListColumn> columns_;
  int column_ = 1;
  std::vector<std::pair<std::string, std::string>> sections_;
  // The field over the cell.
  bool fieldShown_ = false, fieldIsCombo_ = false, fieldChanged_ = false, filePicker_ = false;
  int fieldRow_ = 0, fieldColumn_ = 0;
  int page_ = 1;
  std::string tabTexts_[2] = {"Items", "Notes"};
  std::string pictures_[2] = {"n_3", "s255"};
  std::string tipText_;
};

}  // namespace qz
