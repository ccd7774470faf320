#include "platform/message_pump_win32.h"

namespace qz {

Taken TakeMessage(MSG& msg, bool wait, const MessageFilter& filter) {
  bool quit = false;
  if (wait) {
    const int got = GetMessageA(&msg, filter.window, filter.first, filter.last);
    if (got < 0) return Taken::None;
    quit = got == 0;
  } else {
    if (!PeekMessageA(&msg, filter.window, filter.first, filter.last, PM_REMOVE)) return Taken::None;
    quit = msg.message == WM_QUIT;
  }
  if (!quit) return Taken::Message;
  PostQuitMessage(static_cast<int>(msg.wParam));  // for the loops outside this one
  return Taken::Quit;
}

void Dispatch(const MSG& msg) {
  TranslateMessage(&msg);
  DispatchMessageA(&msg);
}

bool DispatchQueued(const MessageFilter& filter, int limit) {
  MSG msg;
  for (int n = 0; n < limit; ++n) {
    switch (TakeMessage(msg, false, filter)) {
      case Taken::Message: Dispatch(msg); break;
      case Taken::None: return true;
      case Taken::Quit: return false;
    }
  }
  return true;
}

bool DispatchFor(DWORD ms) {
  const ULONGLONG end = GetTickCount64() + ms;
  for (ULONGLONG now = GetTickCount64(); now < end; now = GetTickCount64()) {
    MsgWaitForMultipleObjects(0, nullptr, FALSE, static_cast<DWORD>(end - now), QS_ALLINPUT);
    if (!DispatchQueued()) return false;
  }
  return true;
}

}  // namespace qz
