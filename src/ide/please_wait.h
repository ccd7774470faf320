// The small "Please Wait..." window shown while templates are registered.
#pragma once
#include <string>

#include "translator/translatable_window.h"

namespace qz {

class PleaseWaitView {
 public:
  virtual ~PleaseWaitView() = default;
  // Opens the window as designed, showing templateList (through its "s255" picture).
  // Returns the window for translation, or nullptr when no window opens (an unattended run).
  virtual TranslatableWindow* Open(const std::string& templateList) = 0;
  // Makes the window visible and paints it.
  virtual void Display() = 0;
  virtual void Close() = 0;
};

// An unattended run: the window only informs, so it opens nowhere.
class NoPleaseWait : public PleaseWaitView {
 public:
  TranslatableWindow* Open(const std::string&) override { return nullptr; }
  void Display() override {}
  void Close() override {}
};

}  // namespace qz
