#include "ide/please_wait_win32.h"

#include "runtime/dialog_template_win32.h"
#include "runtime/window_text_win32.h"

namespace qz {

namespace {

constexpr WORD kString1 = 100;  // ?STRING1
constexpr WORD kTemplates = 101;  // ?P:TPL
constexpr std::size_t kShown = 255;  // the "s255" picture

INT_PTR CALLBACK PleaseWaitProc(HWND, UINT message, WPARAM, LPARAM) {
  return message == WM_INITDIALOG ? TRUE : FALSE;
}

WORD IdOf(int control) { return control == 1 ? kString1 : control == 2 ? kTemplates : 0; }

}  // namespace

TranslatableWindow* Win32PleaseWait::Open(const std::string& templateList) {
  DialogLayout layout{"Please Wait...",
                      WS_POPUP | WS_CAPTION | DS_CENTER | DS_MODALFRAME | DS_NOIDLEMSG,
                      196,
                      34,
                      "Arial",
                      10,
                      {{"STATIC", "Registering Template", SS_LEFT, 6, 3, 183, 10, kString1},
                       {"STATIC", templateList.substr(0, kShown), SS_LEFT | SS_NOPREFIX, 6, 16, 183, 10, kTemplates}}};
  std::vector<WORD> tmpl = BuildDialogTemplate(layout);
  window_.reset(CreateDialogIndirectParamA(GetModuleHandleA(nullptr), reinterpret_cast<LPCDLGTEMPLATEA>(tmpl.data()),
                                           nullptr, PleaseWaitProc, 0));
  return window_ ? static_cast<TranslatableWindow*>(this) : nullptr;
}

void Win32PleaseWait::Display() {
  if (!window_) return;
  ShowWindow(window_.get(), SW_SHOWNORMAL);
  UpdateWindow(window_.get());
}

void Win32PleaseWait::Close() { window_.reset(); }

std::string Win32PleaseWait::Title() const { return WindowText(window_.get()); }

void Win32PleaseWait::SetTitle(std::string_view title) { SetWindowTextA(window_.get(), std::string(title).c_str()); }

ControlKind Win32PleaseWait::KindOf(int control) const {
  switch (control) {
    case 1: return ControlKind::String;
    case 2: return ControlKind::PictureString;
    default: return ControlKind::None;
  }
}

std::string Win32PleaseWait::Get(int control, Property property) const {
  if (property != Property::Text) return {};
  if (control == 2) return picture_;  // a picture string's text is its picture
  return WindowText(GetDlgItem(window_.get(), IdOf(control)));
}

void Win32PleaseWait::Set(int control, Property property, std::string_view value) {
  if (property != Property::Text) return;
  if (control == 2) {
    picture_ = std::string(value);
  } else if (WORD id = IdOf(control)) {
    SetDlgItemTextA(window_.get(), id, std::string(value).c_str());
  }
}

}  // namespace qz
