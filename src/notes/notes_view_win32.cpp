#include "notes/notes_view_win32.h"

#include <optional>
#include <vector>

#include "notes/version_file.h"
#include "window/window_text_win32.h"

namespace qz {

namespace {

using K = ControlKind;

constexpr int kImage = 1, kHeader = 2, kSheet = 3, kEntryTab = 4, kPath = 5, kEntryGroup = 6, kNext = 7,
              kNotePrompt = 8, kNote = 9, kVersionPrompt = 10, kVersion = 11, kBuildPrompt = 12, kBuild = 13,
              kOnOff = 15, kAutoIncrement = 16, kFilePrompt = 17, kFileName = 18, kOk = 19, kCancel = 20,
              kAboutTab = 21, kVersionText = 22, kBack = 23, kNotice = 24;
constexpr int kEntryPage = 1;
constexpr UINT_PTR kTimerId = 1;
constexpr COLORREF kTeal = RGB(0, 128, 128), kNavy = RGB(0, 0, 128);
constexpr int kHeaderPoints = 16, kNoticePoints = 10;
// The arrows only step: the presenter keeps the value and its range; this range sets which way is up.
constexpr int kArrowsTop = 100;

constexpr DWORD kPush = BS_PUSHBUTTON | WS_TABSTOP;
constexpr DWORD kArrow = BS_PUSHBUTTON | BS_ICON | BS_CENTER | BS_VCENTER | WS_TABSTOP;
constexpr DWORD kEntry = ES_AUTOHSCROLL | WS_BORDER | WS_TABSTOP;
constexpr DWORD kShown = SS_LEFT | SS_NOPREFIX;

// In the window's own order: each prompt stands right before the control its mnemonic selects. The two
// notes of the last group are placed one under the other, so that neither hides the other's last lines.
const ControlDef kControls[] = {
    {kImage, K::Image, "STATIC", "", SS_ICON | SS_CENTERIMAGE, 0, 0, 21, 18, 0},
    {kHeader, K::String, "STATIC", "Quendale Notes-Command Utility", kShown, 21, 0, 223, 18, 0},
    {kSheet, K::Sheet, nullptr, "", 0, 0, 0, 0, 0, 0},
    {kEntryTab, K::Tab, nullptr, "", 0, 0, 0, 0, 0, 1},
    {kPath, K::String, "STATIC", "***", kShown | SS_PATHELLIPSIS, 5, 20, 210, 10, 1},
    {kEntryGroup, K::Group, "BUTTON", "V&ersion Information", BS_GROUPBOX, 4, 30, 235, 54, 1},
    {kNext, K::Button, "BUTTON", "", kArrow, 221, 19, 19, 13, 1},
    {kNotePrompt, K::Prompt, "STATIC", "&Note:", SS_LEFT, 16, 42, 38, 10, 1},
    {kNote, K::Entry, "EDIT", "s180", kEntry, 56, 42, 175, 10, 1},
    {kVersionPrompt, K::Prompt, "STATIC", "&Version:", SS_LEFT, 16, 67, 38, 10, 1},
    {kVersion, K::Spin, "EDIT", "n5.2", kEntry | ES_RIGHT, 56, 67, 50, 10, 1},
    {kBuildPrompt, K::Prompt, "STATIC", "&Build Number:", SS_LEFT, 116, 67, 62, 10, 1},
    {kBuild, K::Spin, "EDIT", "n04", kEntry | ES_RIGHT, 181, 67, 50, 10, 1},
    {14, K::Group, "BUTTON", "&Setup", BS_GROUPBOX, 4, 85, 235, 46, 1},
    {kOnOff, K::Check, "BUTTON", "&Enable Updates", BS_AUTOCHECKBOX | WS_TABSTOP, 56, 96, 90, 10, 1},
    {kAutoIncrement, K::Check, "BUTTON", "&Auto Increment Build", BS_AUTOCHECKBOX | WS_TABSTOP, 153, 96, 84, 10, 1},
    {kFilePrompt, K::Prompt, "STATIC", "&File:", SS_LEFT, 16, 115, 38, 10, 1},
    {kFileName, K::Entry, "EDIT", "s120", kEntry, 56, 115, 175, 10, 1},
    {kOk, K::Button, "BUTTON", "&Ok", kPush, 4, 134, 115, 14, 1},
    {kCancel, K::Button, "BUTTON", "&Cancel", kPush, 123, 134, 117, 14, 1},
    {kAboutTab, K::Tab, nullptr, "", 0, 0, 0, 0, 0, 2},
    {kVersionText, K::String, "STATIC", "***", kShown, 4, 20, 198, 11, 2},
    {kBack, K::Button, "BUTTON", "", kArrow, 221, 19, 19, 13, 2},
    {kNotice, K::String, "STATIC", "", kShown, 4, 29, 203, 12, 2},
    {25, K::Group, "BUTTON", "Command Line Options", BS_GROUPBOX, 1, 42, 239, 38, 2},
    {26, K::Prompt, "STATIC", "Run DIRadad with CMD as a command line parameter to see a list of command line options.",
     SS_LEFT, 21, 54, 203, 18, 2},
    {27, K::Group, "BUTTON", "Notes Utility", BS_GROUPBOX, 1, 82, 238, 71, 2},
    {28, K::Prompt, "STATIC",
     "This procedure creates an equate called \"VERSION\" and increments the build number.  Each entry also has a "
     "date, time, and comment.  Previous equates and comments are commented out but remain.",
     SS_LEFT, 21, 94, 212, 32, 2},
    {29, K::Prompt, "STATIC",
     "If added to the end of a project and called by RE Zezizuv, it will send a DDE message indicating that the "
     "compile is complete.  In this case, the window will not display.",
     SS_LEFT, 21, 126, 212, 25, 2},
};

constexpr NamedControl<NotesControl> kFields[] = {
    {NotesControl::Note, kNote},
    {NotesControl::Version, kVersion},
    {NotesControl::Build, kBuild},
    {NotesControl::OnOff, kOnOff},
    {NotesControl::AutoIncrement, kAutoIncrement},
    {NotesControl::FileName, kFileName},
    {NotesControl::Ok, kOk},
    {NotesControl::Cancel, kCancel},
    {NotesControl::Next, kNext},
    {NotesControl::Back, kBack},
};

UniqueHfont ItalicArial(HWND dialog, int points) {
  HDC dc = GetDC(dialog);
  const int height = -MulDiv(points, GetDeviceCaps(dc, LOGPIXELSY), 72);
  ReleaseDC(dialog, dc);
  return UniqueHfont(CreateFontA(height, 0, 0, 0, FW_NORMAL, TRUE, FALSE, FALSE, ANSI_CHARSET, OUT_DEFAULT_PRECIS,
                                 CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY, DEFAULT_PITCH | FF_SWISS, "Arial"));
}

}  // namespace

Win32NotesView::Win32NotesView() : DialogView(kControls, kNotesFirstId) {}

DialogLayout Win32NotesView::Layout() const {
  return {"",      WS_POPUP | WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX | DS_MODALFRAME | DS_CENTER | DS_3DLOOK,
          244,     154,
          "Arial", 8,
          {}};
}

void Win32NotesView::OnInit() {
  HWND dialog = Dialog();
  if (HICON icon = ProgramIcon()) {
    SendMessageA(Control(kImage), STM_SETICON, reinterpret_cast<WPARAM>(icon), 0);
    SendMessageA(dialog, WM_SETICON, ICON_BIG, reinterpret_cast<LPARAM>(icon));
  }
  ShowArrow(kNext, 'R');
  ShowArrow(kBack, 'L');
  SendMessageA(Control(kHeader), WM_SETFONT, reinterpret_cast<WPARAM>(Keep(ItalicArial(dialog, kHeaderPoints))), FALSE);
  SendMessageA(Control(kNotice), WM_SETFONT, reinterpret_cast<WPARAM>(Keep(ItalicArial(dialog, kNoticePoints))), FALSE);
  SendMessageA(Control(kNote), EM_LIMITTEXT, VersionRecord::kNoteWidth, 0);
  SendMessageA(Control(kFileName), EM_LIMITTEXT, kFileNameMax, 0);
  AddSpinArrows();
  AddStatusBar();
  ShowPage(kEntryPage);
}

// The spin boxes: arrows beside each entry, stepping the value the presenter keeps.
void Win32NotesView::AddSpinArrows() {
  for (int i = 0; i < 2; ++i) {
    HWND buddy = Control(i == 0 ? kVersion : kBuild);
    arrows_[i] = CreateWindowExA(0, UPDOWN_CLASSA, nullptr,
                                 WS_CHILD | WS_VISIBLE | UDS_ALIGNRIGHT | UDS_ARROWKEYS | UDS_NOTHOUSANDS, 0, 0, 0, 0,
                                 Dialog(), nullptr, GetModuleHandleA(nullptr), nullptr);
    SendMessageA(arrows_[i], UDM_SETBUDDY, reinterpret_cast<WPARAM>(buddy), 0);
    SendMessageA(arrows_[i], UDM_SETRANGE32, 0, kArrowsTop);
  }
}

// The status bar lies below the controls: the window grows by its height.
void Win32NotesView::AddStatusBar() {
  HWND dialog = Dialog();
  status_ = CreateWindowExA(0, STATUSCLASSNAMEA, nullptr, WS_CHILD | WS_VISIBLE, 0, 0, 0, 0, dialog,
                            reinterpret_cast<HMENU>(static_cast<INT_PTR>(kNotesStatusBarId)), GetModuleHandleA(nullptr),
                            nullptr);
  RECT bar{}, window{};
  GetWindowRect(status_, &bar);
  GetWindowRect(dialog, &window);
  SetWindowPos(dialog, nullptr, 0, 0, window.right - window.left, window.bottom - window.top + (bar.bottom - bar.top),
               SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
  RECT client{};
  GetClientRect(dialog, &client);
  SendMessageA(status_, WM_SIZE, 0, 0);
  // The zones end at three tenths and eight tenths of the width; the last takes the rest.
  const int parts[] = {client.right * 3 / 10, client.right * 8 / 10, -1};
  SendMessageA(status_, SB_SETPARTS, 3, reinterpret_cast<LPARAM>(parts));
}

HWND Win32NotesView::FirstFocus() const { return IsWindowEnabled(Control(kNote)) ? Control(kNote) : Control(kOnOff); }

void Win32NotesView::OnClose() { KillTimer(Dialog(), kTimerId); }

void Win32NotesView::SetText(NotesControl control, const std::string& text) {
  HWND field = Control(NumberOf(kFields, control));
  SetWindowTextA(field, text.c_str());
  SendMessageA(field, EM_SETMODIFY, FALSE, 0);
}

std::string Win32NotesView::Text(NotesControl control) { return WindowText(Control(NumberOf(kFields, control))); }

void Win32NotesView::SetChecked(NotesControl control, bool checked) {
  SendMessageA(Control(NumberOf(kFields, control)), BM_SETCHECK, checked ? BST_CHECKED : BST_UNCHECKED, 0);
}

bool Win32NotesView::Checked(NotesControl control) {
  return SendMessageA(Control(NumberOf(kFields, control)), BM_GETCHECK, 0, 0) == BST_CHECKED;
}

void Win32NotesView::Enable(NotesArea area, bool enabled) {
  std::vector<int> numbers;
  switch (area) {
    case NotesArea::VersionGroup:
      numbers = {kEntryGroup, kNext, kNotePrompt, kNote, kVersionPrompt, kVersion, kBuildPrompt, kBuild};
      break;
    case NotesArea::Setup: numbers = {kAutoIncrement, kFilePrompt, kFileName}; break;
    case NotesArea::Buttons: numbers = {kOk, kCancel}; break;
  }
  HWND focus = GetFocus();
  for (int n : numbers) {
    if (!enabled && Control(n) == focus) SetFocus(Control(kOnOff));  // Enable Updates is never disabled
    EnableWindow(Control(n), enabled);
  }
  if (area == NotesArea::VersionGroup)
    for (HWND arrows : arrows_) EnableWindow(arrows, enabled);
}

void Win32NotesView::ShowPath(const std::string& path) { SetWindowTextA(Control(kPath), path.c_str()); }

void Win32NotesView::ShowNotice(const std::string& text) { SetWindowTextA(Control(kNotice), text.c_str()); }

void Win32NotesView::ShowVersion(const std::string& text) { SetWindowTextA(Control(kVersionText), text.c_str()); }

void Win32NotesView::ShowStatus(int zone, const std::string& text) {
  SendMessageA(status_, SB_SETTEXTA, static_cast<WPARAM>(zone - 1), reinterpret_cast<LPARAM>(text.c_str()));
}

void Win32NotesView::ShowPage(int page) {
  ShowPageControls(page);
  for (HWND arrows : arrows_) ShowWindow(arrows, page == kEntryPage ? SW_SHOWNA : SW_HIDE);
  SetFocus(Control(page == kEntryPage ? kNext : kBack));
  Repaint();
}

void Win32NotesView::SetTimer(int hundredths) {
  if (hundredths > 0) {
    ::SetTimer(Dialog(), kTimerId, static_cast<UINT>(hundredths) * 10, nullptr);
  } else {
    KillTimer(Dialog(), kTimerId);
  }
}

INT_PTR Win32NotesView::OnCommand(int id, int code, HWND window) {
  const int number = NumberOfId(id);
  const std::optional<NotesControl> control = NameOf(kFields, number);
  if (!control) return FALSE;  // Enter and Esc do nothing here
  const ControlKind kind = DefOf(number)->kind;
  if (code == BN_CLICKED && (kind == K::Button || kind == K::Check)) {
    Send(&NotesEvents::OnAccepted, *control);
    return TRUE;
  }
  // A field left after its text changed is accepted.
  if (code == EN_KILLFOCUS && SendMessageA(window, EM_GETMODIFY, 0, 0)) {
    SendMessageA(window, EM_SETMODIFY, FALSE, 0);
    Send(&NotesEvents::OnAccepted, *control);
    return TRUE;
  }
  return FALSE;
}

INT_PTR Win32NotesView::OnNotify(const NMHDR& header) {
  for (int i = 0; i < 2; ++i) {
    if (header.hwndFrom == arrows_[i] && header.code == UDN_DELTAPOS) {
      Send(&NotesEvents::OnSpin, i == 0 ? NotesControl::Version : NotesControl::Build,
           reinterpret_cast<const NMUPDOWN&>(header).iDelta);
      return Answer(1);  // the value is ours, not the arrows'
    }
  }
  return FALSE;
}

void Win32NotesView::OnTimer(UINT_PTR id) {
  if (id == kTimerId) Send(&NotesEvents::OnTimer);
}

bool Win32NotesView::OnCloseRequest() {
  Send(&NotesEvents::OnCloseRequest);
  return true;
}

INT_PTR Win32NotesView::OnMessage(UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_CTLCOLORSTATIC: {
      HWND control = reinterpret_cast<HWND>(lParam);
      if (control != Control(kHeader) && control != Control(kNotice)) return FALSE;
      HDC dc = reinterpret_cast<HDC>(wParam);
      SetTextColor(dc, control == Control(kHeader) ? kTeal : kNavy);
      SetBkColor(dc, GetSysColor(COLOR_BTNFACE));
      return reinterpret_cast<INT_PTR>(GetSysColorBrush(COLOR_BTNFACE));
    }
    default: return FALSE;
  }
}

}  // namespace qz
