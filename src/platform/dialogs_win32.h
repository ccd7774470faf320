#pragma once
#include "platform/dialogs.h"

namespace qz {

// Real message boxes (MessageBoxIndirectA); "|" becomes a line break.
class Win32Dialogs : public Dialogs {
 public:
  Button Show(const Box& box) override;
  std::optional<std::string> ChooseFile(const std::string& title, const std::string& filter) override;
  // Written only where standard error goes to a file or a pipe (an installer that keeps it).
  void Note(const std::string& line) override;
  void Print(const std::string& caption, const std::string& text) override;
  bool Unattended() const override { return false; }
};

// Whether boxes can be answered by a person: false for a window station that is not visible
// (a service, a SYSTEM deployment), where a box would wait forever.
bool DesktopIsVisible();

}  // namespace qz
