#include "app/views_win32.h"

#include "ide/please_wait_win32.h"

namespace qz {

namespace {

class NoPleaseWait : public PleaseWaitView {
 public:
  TranslatableWindow* Open(const std::string&) override { return nullptr; }
  void Display() override {}
  void Close() override {}
};

}  // namespace

std::unique_ptr<PleaseWaitView> Win32Views::PleaseWait() { return std::make_unique<Win32PleaseWait>(); }

std::unique_ptr<PleaseWaitView> UnattendedViews::PleaseWait() { return std::make_unique<NoPleaseWait>(); }

}  // namespace qz
