// The loading window on Win32: an untitled bordered dialog with one progress bar, centred on the work area.
#pragma once
#include <windows.h>

#include "window/dialog_window_win32.h"
#include "translator/loading_view.h"

namespace qz {

class Win32LoadingView : public LoadingView, private DialogWindow {
 public:
  void Open() override;
  void SetProgress(int percent) override;
  void Close() override;

  // For tests: the window while it is open.
  HWND Window() const { return Dialog(); }
  HWND ProgressBar() const;

 private:
  void OnInit() override;
  INT_PTR OnMessage(UINT message, WPARAM wParam, LPARAM lParam) override;
};

}  // namespace qz
