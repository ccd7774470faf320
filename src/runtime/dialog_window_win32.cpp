#include "runtime/dialog_window_win32.h"

#include <vector>

#include "runtime/message_pump_win32.h"
#include "runtime/window_text_win32.h"

namespace qz {

DialogWindow::~DialogWindow() {
  // The derived window is gone by now: nothing may reach it any more.
  if (dialog_) SetWindowLongPtrA(dialog_.get(), DWLP_USER, 0);
  dialog_.reset();
}

void DialogWindow::DestroyDialog() {
  if (!dialog_) return;
  ended_ = true;
  dialog_.reset();
}

bool DialogWindow::Create(const DialogLayout& layout) {
  std::vector<WORD> tmpl = BuildDialogTemplate(layout);
  // The procedure takes the handle at WM_INITDIALOG, so that the controls are known from then on.
  HWND dialog = CreateDialogIndirectParamA(GetModuleHandleA(nullptr), reinterpret_cast<LPCDLGTEMPLATEA>(tmpl.data()),
                                           nullptr, Procedure, reinterpret_cast<LPARAM>(this));
  if (!dialog) dialog_.release();
  return static_cast<bool>(dialog_);
}

INT_PTR CALLBACK DialogWindow::Procedure(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_INITDIALOG) {
    auto* self = reinterpret_cast<DialogWindow*>(lParam);
    SetWindowLongPtrA(dialog, DWLP_USER, lParam);
    self->dialog_.reset(dialog);
    self->OnInit();
    return FALSE;  // the focus is placed when the window is shown
  }
  auto* self = reinterpret_cast<DialogWindow*>(GetWindowLongPtrA(dialog, DWLP_USER));
  return self ? self->OnMessage(message, wParam, lParam) : FALSE;
}

void DialogWindow::RunLoop(HWND focus) {
  HWND dialog = dialog_.get();
  ShowWindow(dialog, SW_SHOWNORMAL);
  SetForegroundWindow(dialog);
  SetFocus(focus);
  MSG msg;
  while (!ended_ && TakeMessage(msg, true) == Taken::Message) {
    if (msg.message == WM_KEYDOWN && msg.wParam == VK_F1 && (msg.hwnd == dialog || IsChild(dialog, msg.hwnd))) {
      OnHelpKey();
      continue;
    }
    if (!IsDialogMessageA(dialog, &msg)) Dispatch(msg);
  }
  ShowWindow(dialog, SW_HIDE);
}

void DialogWindow::EndLoop() {
  ended_ = true;
  PostMessageA(dialog_.get(), WM_NULL, 0, 0);  // wakes the loop
}

std::string DialogWindow::DialogTitle() const { return WindowText(dialog_.get()); }

void DialogWindow::SetDialogTitle(std::string_view title) {
  SetWindowTextA(dialog_.get(), std::string(title).c_str());
}

}  // namespace qz
