#include "platform/dialogs_win32.h"

#include <windows.h>
#include <commdlg.h>

namespace qz {

static LPCSTR IconResource(Icon icon) {
  // Standard system icons, loaded by id so that every box shows the icon it names.
  switch (icon) {
    case Icon::Information: return IDI_INFORMATION;
    case Icon::Exclamation: return IDI_EXCLAMATION;
    case Icon::Asterisk: return IDI_ASTERISK;
    case Icon::Question: return IDI_QUESTION;
    case Icon::Hand: return IDI_HAND;
    case Icon::WinLogo: return IDI_WINLOGO;
    case Icon::None: return nullptr;
  }
  return IDI_INFORMATION;
}

static UINT ButtonsStyle(Buttons b) {
  switch (b) {
    case Buttons::Ok: return MB_OK;
    case Buttons::OkCancel: return MB_OKCANCEL;
    case Buttons::YesNo: return MB_YESNO;
    case Buttons::YesNoCancel: return MB_YESNOCANCEL;
  }
  return MB_OK;
}

static UINT DefaultStyle(Buttons set, Button def) {
  int index = 0;
  switch (set) {
    case Buttons::Ok: index = 0; break;
    case Buttons::OkCancel: index = def == Button::Cancel ? 1 : 0; break;
    case Buttons::YesNo: index = def == Button::No ? 1 : 0; break;
    case Buttons::YesNoCancel: index = def == Button::No ? 1 : def == Button::Cancel ? 2 : 0; break;
  }
  static const UINT styles[] = {MB_DEFBUTTON1, MB_DEFBUTTON2, MB_DEFBUTTON3};
  return styles[index];
}

// Writes text and a line end where the standard handle goes to a file or a pipe; false when it goes nowhere a
// program reads (a console a window program does not own, or nothing).
static bool WriteRedirected(DWORD which, const std::string& text) {
  const HANDLE out = GetStdHandle(which);
  const DWORD type = out && out != INVALID_HANDLE_VALUE ? GetFileType(out) : FILE_TYPE_UNKNOWN;
  if (type != FILE_TYPE_DISK && type != FILE_TYPE_PIPE) return false;
  const std::string line = text + "\n";
  DWORD written = 0;
  WriteFile(out, line.data(), static_cast<DWORD>(line.size()), &written, nullptr);
  return true;
}

void Win32Dialogs::Note(const std::string& line) { WriteRedirected(STD_ERROR_HANDLE, line); }

// Typed at a console, a window program's output would appear nowhere: it is shown in a box unless standard
// output goes to a file or a pipe.
void Win32Dialogs::Print(const std::string& caption, const std::string& text) {
  if (WriteRedirected(STD_OUTPUT_HANDLE, text)) return;
  std::string shown = text;
  for (char& c : shown)
    if (c == '\n') c = '|';
  Show({caption, shown, Icon::Information, Buttons::Ok, Button::Ok, Outcome::Info});
}

Button Win32Dialogs::Show(const Box& box) {
  std::string text = box.text;
  for (char& c : text)
    if (c == '|') c = '\n';
  MSGBOXPARAMSA p{};
  p.cbSize = sizeof p;
  p.hInstance = nullptr;  // system icons
  p.lpszText = text.c_str();
  p.lpszCaption = box.caption.c_str();
  p.dwStyle =
      ButtonsStyle(box.buttons) | DefaultStyle(box.buttons, box.defaultButton) | MB_SETFOREGROUND | MB_TASKMODAL;
  if (box.icon != Icon::None) {
    p.dwStyle |= MB_USERICON;
    p.lpszIcon = IconResource(box.icon);
  }
  switch (MessageBoxIndirectA(&p)) {
    case IDOK: return Button::Ok;
    case IDYES: return Button::Yes;
    case IDNO: return Button::No;
    case IDCANCEL: return Button::Cancel;
    default: return box.buttons == Buttons::Ok ? Button::Ok : Button::Cancel;
  }
}

std::optional<std::string> Win32Dialogs::ChooseFile(const std::string& title, const std::string& filter) {
  std::string filters = filter + "||";  // the dialog wants NUL between the parts and two at the end
  for (char& c : filters)
    if (c == '|') c = '\0';
  char path[MAX_PATH] = "";
  OPENFILENAMEA ofn{};
  ofn.lStructSize = sizeof ofn;
  ofn.hwndOwner = GetActiveWindow();
  ofn.lpstrFilter = filters.c_str();
  ofn.nFilterIndex = 1;
  ofn.lpstrFile = path;
  ofn.nMaxFile = sizeof path;
  ofn.lpstrTitle = title.c_str();
  ofn.Flags = OFN_EXPLORER | OFN_FILEMUSTEXIST | OFN_PATHMUSTEXIST | OFN_HIDEREADONLY | OFN_NOCHANGEDIR;
  if (!GetOpenFileNameA(&ofn)) return std::nullopt;
  return std::string(path);
}

bool DesktopIsVisible() {
  USEROBJECTFLAGS flags{};
  DWORD needed = 0;
  HWINSTA station = GetProcessWindowStation();
  if (!station || !GetUserObjectInformationA(station, UOI_FLAGS, &flags, sizeof flags, &needed)) return true;
  return (flags.dwFlags & WSF_VISIBLE) != 0;
}

}  // namespace qz
