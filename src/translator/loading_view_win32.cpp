#include "translator/loading_view_win32.h"

#include <commctrl.h>

#include <algorithm>

#include "runtime/message_pump_win32.h"

namespace qz {

namespace {

constexpr const char* kClassName = "QZCLLoadingWindow";
// Size in dialog units, so the window follows the system font like the program's other windows.
constexpr int kWidthDlu = 98, kHeightDlu = 19, kMarginDlu = 4;

bool RegisterWindowClass(HINSTANCE instance) {
  WNDCLASSEXA wc{};
  if (GetClassInfoExA(instance, kClassName, &wc)) return true;
  wc.cbSize = sizeof wc;
  wc.lpfnWndProc = DefWindowProcA;  // nothing to react to: the loader drives it
  wc.hInstance = instance;
  wc.hCursor = LoadCursorA(nullptr, MAKEINTRESOURCEA(32514));  // IDC_WAIT: the program is busy
  wc.hbrBackground = reinterpret_cast<HBRUSH>(static_cast<INT_PTR>(COLOR_BTNFACE + 1));
  wc.lpszClassName = kClassName;
  return RegisterClassExA(&wc) != 0;
}

}  // namespace

void Win32LoadingView::Open() {
  if (window_) return;
  HINSTANCE instance = GetModuleHandleA(nullptr);
  INITCOMMONCONTROLSEX icc{sizeof icc, ICC_PROGRESS_CLASS};
  InitCommonControlsEx(&icc);
  if (!RegisterWindowClass(instance)) return;

  const LONG units = GetDialogBaseUnits();
  auto x = [units](int dlu) { return MulDiv(dlu, LOWORD(units), 4); };
  auto y = [units](int dlu) { return MulDiv(dlu, HIWORD(units), 8); };

  const DWORD style = WS_POPUP | WS_BORDER;
  RECT frame{0, 0, x(kWidthDlu), y(kHeightDlu)};
  AdjustWindowRectEx(&frame, style, FALSE, 0);
  const LONG width = frame.right - frame.left, height = frame.bottom - frame.top;
  RECT work{0, 0, GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN)};
  SystemParametersInfoA(SPI_GETWORKAREA, 0, &work, 0);
  const LONG left = work.left + std::max(LONG{0}, (work.right - work.left - width) / 2);
  const LONG top = work.top + std::max(LONG{0}, (work.bottom - work.top - height) / 2);

  window_.reset(
      CreateWindowExA(0, kClassName, "", style, left, top, width, height, nullptr, nullptr, instance, nullptr));
  if (!window_) return;
  bar_ = CreateWindowExA(0, PROGRESS_CLASSA, nullptr, WS_CHILD | WS_VISIBLE, x(kMarginDlu), y(kMarginDlu),
                         x(kWidthDlu - 2 * kMarginDlu), y(kHeightDlu - 2 * kMarginDlu), window_.get(), nullptr,
                         instance, nullptr);
  SendMessageA(bar_, PBM_SETRANGE, 0, MAKELPARAM(0, 100));
  ShowWindow(window_.get(), SW_SHOWNORMAL);
  UpdateWindow(window_.get());
  DispatchQueued();  // lets the program's windows repaint and react while the load holds the thread
}

void Win32LoadingView::SetProgress(int percent) {
  if (!window_) return;
  SendMessageA(bar_, PBM_SETPOS, static_cast<WPARAM>(std::clamp(percent, 0, 100)), 0);
  UpdateWindow(window_.get());
  DispatchQueued();
}

void Win32LoadingView::Close() {
  window_.reset();
  bar_ = nullptr;
}

}  // namespace qz
