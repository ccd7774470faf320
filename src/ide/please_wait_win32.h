#pragma once
#include "ide/please_wait.h"
#include "translator/translatable_dialog_win32.h"

namespace qz {

// DDEWINDOW as a modeless dialog: "Please Wait...", 196 x 34 dialog units, Arial 10, two texts.
class Win32PleaseWait : public PleaseWaitView, private TranslatableDialog {
 public:
  Win32PleaseWait();

  TranslatableWindow* Open(const std::string& templateList) override;
  void Display() override;
  void Close() override;
};

}  // namespace qz
