// The loading window on Win32: an untitled popup with one progress bar, centred on the screen.
#pragma once
#include <windows.h>

#include "runtime/handle_win32.h"
#include "translator/loading_view.h"

namespace qz {

class Win32LoadingView : public LoadingView {
 public:
  Win32LoadingView() = default;
  ~Win32LoadingView() override = default;
  Win32LoadingView(const Win32LoadingView&) = delete;
  Win32LoadingView& operator=(const Win32LoadingView&) = delete;

  void Open() override;
  void SetProgress(int percent) override;
  void Close() override;

  // For tests: the window while it is open.
  HWND Window() const { return window_.get(); }
  HWND ProgressBar() const { return bar_; }

 private:
  UniqueHwnd window_;
  HWND bar_ = nullptr;  // a child: destroyed with window_
};

}  // namespace qz
