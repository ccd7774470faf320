// The version notes window on Win32: a dialog built in memory, two spin boxes made of an entry and
// arrows, a status bar of three zones and a timer.
#pragma once
#include <windows.h>
#include <commctrl.h>

#include <string>
#include <vector>

#include "notes/notes_view.h"
#include "runtime/dialog_window_win32.h"

namespace qz {

// Control ids: the window's control number n has id kNotesFirstId + n (the note 9, the version 11, the
// build 13, Enable Updates 15, Auto Increment Build 16, the file 18, Ok 19, Cancel 20, Next 7, Back 23).
inline constexpr WORD kNotesFirstId = 1000;
inline constexpr WORD kNotesStatusBarId = 2001;

class Win32NotesView : public NotesView, public TranslatableWindow, private DialogWindow {
 public:
  Win32NotesView() = default;
  ~Win32NotesView() override;

  TranslatableWindow* Open(NotesEvents& events) override;
  void Run() override;
  void Close() override;
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

  ControlKind Kind() const override { return ControlKind::Window; }
  std::string Title() const override;
  void SetTitle(std::string_view title) override;
  int FirstControl() const override { return 1; }
  int NextControl(int control) const override;
  ControlKind KindOf(int control) const override;
  std::string Get(int control, Property property) const override;
  void Set(int control, Property property, std::string_view value) override;

 private:
  INT_PTR OnMessage(UINT message, WPARAM wParam, LPARAM lParam) override;
  void OnHelpKey() override { Events().OnHelp(); }
  void OnInit() override;
  NotesEvents& Events();
  HWND Control(int number) const;

  HWND status_ = nullptr;
  HWND arrows_[2] = {};  // the up-down controls of the version and the build
  std::vector<HICON> icons_;
  HFONT headerFont_ = nullptr, noticeFont_ = nullptr;
  NotesEvents* events_ = nullptr;
  std::string pictures_[3] = {"s180", "n5.2", "n04"};  // the note, the version, the build
  std::string filePicture_ = "s120";
  std::string tabTexts_[2];
};

}  // namespace qz
