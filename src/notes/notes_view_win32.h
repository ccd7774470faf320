// The version notes window on Win32: a dialog built in memory, two spin boxes made of an entry and
// arrows, a status bar of three zones and a timer.
#pragma once
#include <windows.h>
#include <commctrl.h>

#include <string>

#include "notes/notes_view.h"
#include "translator/dialog_view_win32.h"

namespace qz {

// Control ids: the window's control number n has id kNotesFirstId + n (the note 9, the version 11, the
// build 13, Enable Updates 15, Auto Increment Build 16, the file 18, Ok 19, Cancel 20, Next 7, Back 23).
inline constexpr WORD kNotesFirstId = 1000;
inline constexpr WORD kNotesStatusBarId = 2001;

class Win32NotesView : public DialogView<NotesView, NotesEvents> {
 public:
  Win32NotesView();

  void SetText(NotesControl control, const std::string& text) override;
  std::string Text(NotesControl control) override;
  void SetChecked(NotesControl control, bool checked) override;
  bool Checked(NotesControl control) override;
  void Enable(NotesArea area, bool enabled) override;
  void ShowPath(const std::string& path) override;
  void ShowNotice(const std::string& text) override;
  void ShowVersion(const std::string& text) override;
  void ShowStatus(int zone, const std::string& text) override;
  void ShowPage(int page) override;
  void SetTimer(int hundredths) override;

 private:
  DialogLayout Layout() const override;
  HWND FirstFocus() const override;
  void OnClose() override;
  void OnInit() override;
  INT_PTR OnCommand(int id, int code, HWND window) override;
  INT_PTR OnNotify(const NMHDR& header) override;
  void OnTimer(UINT_PTR id) override;
  bool OnCloseRequest() override;
  INT_PTR OnMessage(UINT message, WPARAM wParam, LPARAM lParam) override;
  void OnHelpKey() override { Send(&NotesEvents::OnHelp); }
  void AddSpinArrows();
  void AddStatusBar();

  HWND status_ = nullptr;
  HWND arrows_[2] = {};  // the up-down controls of the version and the build
};

}  // namespace qz
