// A presenter's view as a dialog built from its control table: Open creates it and connects the presenter,
// Run shows it and dispatches its messages until Close.
#pragma once
#include <commctrl.h>
#include <windows.h>

#include <span>
#include <utility>

#include "translator/translatable_dialog_win32.h"

namespace qz {

template <typename View, typename Events>
class DialogView : public View, protected TranslatableDialog {
 public:
  TranslatableWindow* Open(Events& events) override {
    events_ = &events;
    return CreateFromTable(Layout()) ? static_cast<TranslatableWindow*>(this) : nullptr;
  }
  void Run() override { RunLoop(FirstFocus()); }
  void Close() override {
    OnClose();
    EndLoop();
  }

 protected:
  DialogView(std::span<const ControlDef> controls, WORD firstId) : TranslatableDialog(controls, firstId) {}

  // The dialog without the table's controls: title, style, size, font and the view's own controls.
  virtual DialogLayout Layout() const = 0;
  virtual HWND FirstFocus() const = 0;
  virtual void OnClose() {}

  // Hands an event to the presenter. None go through once the window has closed: while it is torn down
  // its controls still report.
  template <typename... Params, typename... Args>
  void Send(void (Events::*handler)(Params...), Args&&... args) const {
    if (events_ && !Closed()) (events_->*handler)(std::forward<Args>(args)...);
  }

 private:
  Events* events_ = nullptr;
};

}  // namespace qz
