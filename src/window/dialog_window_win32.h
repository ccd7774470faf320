// A modeless dialog built from a layout in dialog units: the base of the program's windows. It runs the
// window's message loop, keeps what the window owns (subclassed controls, fonts, icons) until the window
// goes, and stops every C++ exception at its procedures.
#pragma once
#include <windows.h>

#include <exception>
#include <string>
#include <string_view>
#include <vector>

#include "window/dialog_template_win32.h"
#include "platform/handle_win32.h"
#include "window/window_subclass_win32.h"

namespace qz {

class DialogWindow {
 public:
  virtual ~DialogWindow();
  DialogWindow() = default;
  DialogWindow(const DialogWindow&) = delete;
  DialogWindow& operator=(const DialogWindow&) = delete;

  // From EndLoop, a failed handler or the window's destruction on, until it is created again.
  bool Closed() const { return closed_; }

 protected:
  // Creates the dialog, not yet shown; OnInit runs while it is created. False when it could not be made.
  bool Create(const DialogLayout& layout);
  // Shows the dialog with focus on a control and dispatches its messages until EndLoop. A handler's
  // exception ends the loop and is thrown again from here.
  void RunLoop(HWND focus);
  void EndLoop();
  HWND Dialog() const { return dialog_.get(); }
  void DestroyDialog();
  std::string DialogTitle() const;
  void SetDialogTitle(std::string_view title);
  void Repaint();
  // Answers a message whose result travels in DWLP_MSGRESULT (WM_NOTIFY and the like).
  INT_PTR Answer(LRESULT result);
  // Throws what a handler of the window threw, for a window without a loop of its own to call once its
  // messages have been dispatched.
  void ThrowIfFailed();

  // The control's messages go to OnControlMessage with hook until the window is destroyed.
  void Subclass(HWND control, UINT_PTR hook);
  // Keeps a font or an icon that the window or its controls show until the window is destroyed.
  HFONT Keep(UniqueHfont font);
  HICON Keep(UniqueHicon icon);
  // The program's icon: shared, never destroyed; the small one is the window's to keep.
  static HICON ProgramIcon();
  static UniqueHicon SmallProgramIcon();

  virtual void OnInit() {}
  // The window's events by kind; each answers as a dialog procedure does: TRUE when it handled the event, or
  // a notification's result through Answer.
  virtual INT_PTR OnCommand(int /*id*/, int /*code*/, HWND /*control*/) { return FALSE; }
  virtual INT_PTR OnNotify(const NMHDR&) { return FALSE; }
  virtual void OnTimer(UINT_PTR /*id*/) {}
  // The close box or Alt+F4: true when the window decides itself whether it closes.
  virtual bool OnCloseRequest() { return false; }
  // Any other message.
  virtual INT_PTR OnMessage(UINT, WPARAM, LPARAM) { return FALSE; }
  virtual LRESULT OnControlMessage(UINT_PTR hook, HWND control, UINT message, WPARAM wParam, LPARAM lParam);
  // F1 anywhere in the window, and WM_HELP.
  virtual void OnHelpKey() {}

 private:
  static INT_PTR CALLBACK Procedure(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam);
  static LRESULT CALLBACK ControlProcedure(HWND control, UINT message, WPARAM wParam, LPARAM lParam, UINT_PTR hook,
                                           DWORD_PTR data);
  template <typename Handler, typename Result>
  Result Guarded(Handler handler, Result failed) noexcept;

  // Freed after the window, which shows them to the end.
  std::vector<UniqueHfont> fonts_;
  std::vector<UniqueHicon> icons_;
  UniqueHwnd dialog_;
  // Removed before the window goes.
  std::vector<WindowSubclass> subclasses_;
  bool closed_ = false;
  std::exception_ptr failure_;
};

}  // namespace qz
