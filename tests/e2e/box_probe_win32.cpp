// The box probe DLL (see box_probe_win32.h). Runs inside the process under test, on the box's thread, where
// the standard icons are shared handles.
#include "e2e/box_probe_win32.h"

#include <windows.h>

extern "C" __declspec(dllexport) LRESULT CALLBACK QzBoxProbeHook(int code, WPARAM wp, LPARAM lp) {
  using namespace qz::e2e::probe;
  static const UINT probeMessage = RegisterWindowMessageA(kMessage);
  const auto* msg = reinterpret_cast<const CWPSTRUCT*>(lp);
  if (code == HC_ACTION && probeMessage != 0 && msg->message == probeMessage) {
    HWND control = GetDlgItem(msg->hwnd, 1088);  // the message box's icon static
    auto shown = control && IsWindowVisible(control) ? reinterpret_cast<HICON>(SendMessageA(control, STM_GETICON, 0, 0))
                                                     : nullptr;
    int answer = shown ? kUnknownIcon : kNoIcon;
    for (int id = 32512; id <= 32517; ++id)
      if (shown && LoadIconA(nullptr, MAKEINTRESOURCEA(id)) == shown) answer = id;
    SetPropA(msg->hwnd, kProperty, reinterpret_cast<HANDLE>(static_cast<INT_PTR>(answer)));
  }
  return CallNextHookEx(nullptr, code, wp, lp);
}
