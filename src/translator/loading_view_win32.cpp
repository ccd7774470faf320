#include "translator/loading_view_win32.h"

#include <commctrl.h>

#include <algorithm>

#include "platform/message_pump_win32.h"

namespace qz {

namespace {

// In dialog units of the system font, as the program's other windows follow theirs.
constexpr short kWidthDlu = 98, kHeightDlu = 19, kMarginDlu = 4;
constexpr WORD kBarId = 1;
constexpr int kFull = 100;  // percent

}  // namespace

void Win32LoadingView::Open() {
  if (Dialog()) return;
  const DialogLayout layout{"",
                            WS_POPUP | WS_BORDER,
                            kWidthDlu,
                            kHeightDlu,
                            "",  // the system font
                            0,
                            {{PROGRESS_CLASSA, "", 0, kMarginDlu, kMarginDlu, kWidthDlu - 2 * kMarginDlu,
                              kHeightDlu - 2 * kMarginDlu, kBarId}}};
  if (!Create(layout)) return;
  ShowWindow(Dialog(), SW_SHOWNORMAL);
  UpdateWindow(Dialog());
  DispatchQueued();  // lets the program's windows repaint and react while the load holds the thread
  ThrowIfFailed();
}

void Win32LoadingView::OnInit() {
  SendMessageA(ProgressBar(), PBM_SETRANGE, 0, MAKELPARAM(0, kFull));
  // Centred on the work area, and never off its top left corner.
  RECT work{0, 0, GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN)};
  SystemParametersInfoA(SPI_GETWORKAREA, 0, &work, 0);
  RECT frame{};
  GetWindowRect(Dialog(), &frame);
  const LONG width = frame.right - frame.left, height = frame.bottom - frame.top;
  const LONG left = work.left + std::max(LONG{0}, (work.right - work.left - width) / 2);
  const LONG top = work.top + std::max(LONG{0}, (work.bottom - work.top - height) / 2);
  SetWindowPos(Dialog(), nullptr, left, top, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}

INT_PTR Win32LoadingView::OnMessage(UINT message, WPARAM wParam, LPARAM lParam) {
  // The program is busy: the wait cursor inside the window itself; its bar and border show their own.
  if (message != WM_SETCURSOR || reinterpret_cast<HWND>(wParam) != Dialog() || LOWORD(lParam) != HTCLIENT) return FALSE;
  SetCursor(LoadCursorA(nullptr, MAKEINTRESOURCEA(32514)));  // IDC_WAIT
  return Answer(TRUE);
}

HWND Win32LoadingView::ProgressBar() const { return GetDlgItem(Dialog(), kBarId); }

void Win32LoadingView::SetProgress(int percent) {
  if (!Dialog()) return;
  SendMessageA(ProgressBar(), PBM_SETPOS, static_cast<WPARAM>(std::clamp(percent, 0, kFull)), 0);
  UpdateWindow(Dialog());
  DispatchQueued();
  ThrowIfFailed();
}

void Win32LoadingView::Close() { DestroyDialog(); }

}  // namespace qz
