#include "window/dialog_window_win32.h"

#include <commctrl.h>

#include <utility>

#include "platform/message_pump_win32.h"
#include "window/window_text_win32.h"

namespace qz {

namespace {

constexpr WORD kProgramIconId = 1;  // in the resource script

}  // namespace

DialogWindow::~DialogWindow() {
  // The derived window is gone by now: nothing may reach it any more.
  if (dialog_) SetWindowLongPtrA(dialog_.get(), DWLP_USER, 0);
  DestroyDialog();
}

void DialogWindow::DestroyDialog() {
  closed_ = true;
  subclasses_.clear();
  dialog_.reset();
  fonts_.clear();
  icons_.clear();
}

bool DialogWindow::Create(const DialogLayout& layout) {
  // The common controls every window of the program uses, registered once, before the first window.
  static const bool controlsReady = [] {
    INITCOMMONCONTROLSEX icc{sizeof icc, ICC_WIN95_CLASSES | ICC_STANDARD_CLASSES};
    return InitCommonControlsEx(&icc) != FALSE;
  }();
  (void)controlsReady;
  closed_ = false;
  std::vector<WORD> tmpl = BuildDialogTemplate(layout);
  // The procedure takes the handle at WM_INITDIALOG, so that the controls are known from then on.
  HWND dialog = CreateDialogIndirectParamA(GetModuleHandleA(nullptr), reinterpret_cast<LPCDLGTEMPLATEA>(tmpl.data()),
                                           nullptr, Procedure, reinterpret_cast<LPARAM>(this));
  if (!dialog) dialog_.release();
  if (failure_) DestroyDialog();
  ThrowIfFailed();
  return static_cast<bool>(dialog_);
}

// No C++ exception may unwind through user32, whose frames lie between the message loop and every
// procedure: the system's code is not built for it, and the unwinder need not even find its way through.
// A handler's exception is held instead, the window closes (its events stop, its loop ends), and RunLoop
// or Create throws it again once back in the program's own code.
template <typename Handler, typename Result>
Result DialogWindow::Guarded(Handler handler, Result failed) noexcept {
  try {
    return handler();
  } catch (...) {
    if (!failure_) failure_ = std::current_exception();
    EndLoop();
    return failed;
  }
}

void DialogWindow::ThrowIfFailed() {
  if (failure_) std::rethrow_exception(std::exchange(failure_, nullptr));
}

INT_PTR CALLBACK DialogWindow::Procedure(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam) {
  auto* self =
      reinterpret_cast<DialogWindow*>(message == WM_INITDIALOG ? lParam : GetWindowLongPtrA(dialog, DWLP_USER));
  if (!self) return FALSE;
  return self->Guarded(
      [&]() -> INT_PTR {
        switch (message) {
          case WM_INITDIALOG:
            SetWindowLongPtrA(dialog, DWLP_USER, lParam);
            self->dialog_.reset(dialog);
            self->OnInit();
            return FALSE;  // the focus is placed when the window is shown
          case WM_HELP: self->OnHelpKey(); return TRUE;
          case WM_COMMAND: return self->OnCommand(LOWORD(wParam), HIWORD(wParam), reinterpret_cast<HWND>(lParam));
          case WM_NOTIFY: return self->OnNotify(*reinterpret_cast<const NMHDR*>(lParam));
          case WM_TIMER: self->OnTimer(wParam); return TRUE;
          case WM_CLOSE: return self->OnCloseRequest() ? TRUE : FALSE;
          default: return self->OnMessage(message, wParam, lParam);
        }
      },
      INT_PTR{FALSE});
}

LRESULT CALLBACK DialogWindow::ControlProcedure(HWND control, UINT message, WPARAM wParam, LPARAM lParam, UINT_PTR hook,
                                                DWORD_PTR data) {
  auto* self = reinterpret_cast<DialogWindow*>(data);
  return self->Guarded([&] { return self->OnControlMessage(hook, control, message, wParam, lParam); }, LRESULT{0});
}

LRESULT DialogWindow::OnControlMessage(UINT_PTR, HWND control, UINT message, WPARAM wParam, LPARAM lParam) {
  return DefSubclassProc(control, message, wParam, lParam);
}

void DialogWindow::RunLoop(HWND focus) {
  HWND dialog = dialog_.get();
  ShowWindow(dialog, SW_SHOWNORMAL);
  SetForegroundWindow(dialog);
  SetFocus(focus);
  MSG msg;
  while (!closed_ && TakeMessage(msg, true) == Taken::Message) {
    if (msg.message == WM_KEYDOWN && msg.wParam == VK_F1 && (msg.hwnd == dialog || IsChild(dialog, msg.hwnd))) {
      Guarded(
          [this] {
            OnHelpKey();
            return true;
          },
          false);
      continue;
    }
    if (!IsDialogMessageA(dialog, &msg)) Dispatch(msg);
  }
  ShowWindow(dialog, SW_HIDE);
  ThrowIfFailed();
}

void DialogWindow::EndLoop() {
  closed_ = true;
  PostMessageA(dialog_.get(), WM_NULL, 0, 0);  // wakes the loop
}

std::string DialogWindow::DialogTitle() const { return WindowText(dialog_.get()); }

void DialogWindow::SetDialogTitle(std::string_view title) { SetWindowTextA(dialog_.get(), std::string(title).c_str()); }

void DialogWindow::Repaint() {
  RedrawWindow(dialog_.get(), nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN);
}

INT_PTR DialogWindow::Answer(LRESULT result) {
  SetWindowLongPtrA(dialog_.get(), DWLP_MSGRESULT, result);
  return TRUE;
}

void DialogWindow::Subclass(HWND control, UINT_PTR hook) {
  if (control) subclasses_.emplace_back(control, ControlProcedure, hook, reinterpret_cast<DWORD_PTR>(this));
}

HFONT DialogWindow::Keep(UniqueHfont font) {
  fonts_.push_back(std::move(font));
  return fonts_.back().get();
}

HICON DialogWindow::Keep(UniqueHicon icon) {
  icons_.push_back(std::move(icon));
  return icons_.back().get();
}

HICON DialogWindow::ProgramIcon() { return LoadIconA(GetModuleHandleA(nullptr), MAKEINTRESOURCEA(kProgramIconId)); }

UniqueHicon DialogWindow::SmallProgramIcon() {
  return UniqueHicon(
      static_cast<HICON>(LoadImageA(GetModuleHandleA(nullptr), MAKEINTRESOURCEA(kProgramIconId), IMAGE_ICON,
                                    GetSystemMetrics(SM_CXSMICON), GetSystemMetrics(SM_CYSMICON), 0)));
}

}  // namespace qz
