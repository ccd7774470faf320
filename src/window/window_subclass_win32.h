// A control's messages routed through a procedure of ours for as long as the owner lives.
#pragma once
#include <commctrl.h>
#include <windows.h>

#include <utility>

namespace qz {

class WindowSubclass {
 public:
  WindowSubclass(HWND window, SUBCLASSPROC procedure, UINT_PTR id, DWORD_PTR data)
      : window_(SetWindowSubclass(window, procedure, id, data) ? window : nullptr), procedure_(procedure), id_(id) {}
  ~WindowSubclass() {
    if (window_) RemoveWindowSubclass(window_, procedure_, id_);
  }
  WindowSubclass(const WindowSubclass&) = delete;
  WindowSubclass& operator=(const WindowSubclass&) = delete;
  WindowSubclass(WindowSubclass&& o) noexcept
      : window_(std::exchange(o.window_, nullptr)), procedure_(o.procedure_), id_(o.id_) {}
  WindowSubclass& operator=(WindowSubclass&&) = delete;

 private:
  HWND window_;
  SUBCLASSPROC procedure_;
  UINT_PTR id_;
};

}  // namespace qz
