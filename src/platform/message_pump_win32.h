// The program's one way of taking and dispatching queued messages, with one rule for WM_QUIT: a quit met
// while pumping is posted again, so that the outermost loop sees it too, and ends the wait or loop at once.
#pragma once
#include <windows.h>

#include <climits>

namespace qz {

// Which messages to take: those of one window (nullptr: any) within a range of message numbers (0, 0: all).
struct MessageFilter {
  HWND window = nullptr;
  UINT first = 0, last = 0;
};

enum class Taken { Message, None, Quit };

// The next message that passes filter, waiting for one when wait is set. None when nothing is queued (or
// the wait failed); Quit at WM_QUIT, which has been posted again.
Taken TakeMessage(MSG& msg, bool wait, const MessageFilter& filter = {});

void Dispatch(const MSG& msg);

// Dispatches up to limit of the messages queued now that pass filter. False when it met WM_QUIT.
bool DispatchQueued(const MessageFilter& filter = {}, int limit = INT_MAX);

// Lets the program's windows receive their messages for about ms milliseconds. False when a WM_QUIT ended
// it early.
bool DispatchFor(DWORD ms);

}  // namespace qz
