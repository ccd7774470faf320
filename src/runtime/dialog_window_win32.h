// A modeless dialog built from a layout in dialog units, with its own message loop: the base of the
// program's windows.
#pragma once
#include <windows.h>

#include <string>
#include <string_view>

#include "runtime/dialog_template_win32.h"
#include "runtime/handle_win32.h"

namespace qz {

class DialogWindow {
 public:
  virtual ~DialogWindow();
  DialogWindow() = default;
  DialogWindow(const DialogWindow&) = delete;
  DialogWindow& operator=(const DialogWindow&) = delete;

 protected:
  // Creates the dialog, not yet shown; OnInit runs while it is created. False when it could not be made.
  bool Create(const DialogLayout& layout);
  // Shows the dialog with focus on a control and dispatches its messages until EndLoop.
  void RunLoop(HWND focus);
  void EndLoop();
  bool LoopEnded() const { return ended_; }
  HWND Dialog() const { return dialog_.get(); }
  // For the destructor of a derived window, so that what the window still says while it goes reaches a
  // whole object.
  void DestroyDialog();
  std::string DialogTitle() const;
  void SetDialogTitle(std::string_view title);

  virtual void OnInit() = 0;
  // A dialog procedure's answer: TRUE when the message was handled.
  virtual INT_PTR OnMessage(UINT message, WPARAM wParam, LPARAM lParam) = 0;
  // F1 anywhere in the window.
  virtual void OnHelpKey() = 0;

 private:
  static INT_PTR CALLBACK Procedure(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam);

  UniqueHwnd dialog_;
  bool ended_ = false;
};

}  // namespace qz
