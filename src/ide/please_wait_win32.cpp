#include "ide/please_wait_win32.h"

#include "text/text.h"

namespace qz {

namespace {

constexpr WORD kFirstId = 99;        // ?STRING1 is 100
constexpr int kTemplates = 2;        // ?P:TPL
constexpr std::size_t kShown = 255;  // the "s255" picture

// The window as the translator walks it: ?STRING1 (a string), ?P:TPL (a string with picture "@s255").
const ControlDef kControls[] = {
    {1, ControlKind::String, "STATIC", Phrase("Registering Template"), SS_LEFT, 6, 3, 183, 10, 0},
    {kTemplates, ControlKind::PictureString, "STATIC", "@s255", SS_LEFT | SS_NOPREFIX, 6, 16, 183, 10, 0},
};

}  // namespace

Win32PleaseWait::Win32PleaseWait() : TranslatableDialog(kControls, kFirstId) {}

TranslatableWindow* Win32PleaseWait::Open(const std::string& templateList) {
  if (!CreateFromTable({Phrase("Please Wait..."),
                        WS_POPUP | WS_CAPTION | DS_CENTER | DS_MODALFRAME | DS_NOIDLEMSG,
                        196,
                        34,
                        "Arial",
                        10,
                        {}}))
    return nullptr;
  SetWindowTextA(Control(kTemplates), templateList.substr(0, kShown).c_str());
  return this;
}

void Win32PleaseWait::Display() {
  if (!Dialog()) return;
  ShowWindow(Dialog(), SW_SHOWNORMAL);
  UpdateWindow(Dialog());
  ThrowIfFailed();
}

void Win32PleaseWait::Close() { DestroyDialog(); }

}  // namespace qz
