#pragma once
#include "ide/please_wait.h"
#include "runtime/handle_win32.h"

namespace qz {

// DDEWINDOW as a modeless dialog: "Please Wait...", 196 x 34 dialog units, Arial 10, two texts.
class Win32PleaseWait : public PleaseWaitView, private TranslatableWindow {
 public:
  TranslatableWindow* Open(const std::string& templateList) override;
  void Display() override;
  void Close() override;

 private:
  // The window as the translator walks it: ?STRING1 (a string), ?P:TPL (a string with picture "@s255").
  ControlKind Kind() const override { return ControlKind::Window; }
  std::string Title() const override;
  void SetTitle(std::string_view title) override;
  int FirstControl() const override { return 1; }
  int NextControl(int control) const override { return control < 2 ? control + 1 : 0; }
  ControlKind KindOf(int control) const override;
  std::string Get(int control, Property property) const override;
  void Set(int control, Property property, std::string_view value) override;

  UniqueHwnd window_;
  std::string picture_ = "@s255";
};

}  // namespace qz
