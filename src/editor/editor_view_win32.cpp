#include "editor/editor_view_win32.h"

#include <windowsx.h>

#include <algorithm>
#include <cstdio>
#include <optional>
#include <utility>

#include "editor/section_table.h"
#include "window/dialog_template_win32.h"
#include "text/text.h"
#include "window/window_text_win32.h"

namespace qz {

namespace {

constexpr WORD kEntryId = kEditorEntryId;
constexpr WORD kComboId = kEditorComboId;
constexpr int kSheet = 1, kItemsTab = 2, kList = 3, kAdd = 4, kChange = 5, kDelete = 6, kSort = 7, kUp = 8, kDown = 9,
              kEntries = 10, kDefault = 11, kUpdate = 12, kClose = 13, kSection = 14, kIniFile = 15, kNext = 16,
              kNotesTab = 17, kVersion = 19, kBack = 27;
constexpr int kItemsPage = 1;
constexpr UINT_PTR kListHook = 1, kFieldHook = 2;
constexpr int kComboRows = 7;
constexpr int kComboDropWidth = 100;  // dialog units

constexpr const char* kNotesText = Phrase(
    "The utility allows the Clarion INI file to be updated.  The following sections can be edited:\r\n"
    "     User Menus\r\n     File Types\r\n     Open Dialog\r\n     Pick Dialog\r\n     Setup Menu");
constexpr const char* kAppRefText = Phrase(
    "Each of these sections have menus and an Application Reference (AppRef). AppRefs can be of two types:\r\n"
    "     Built In Applets with an AppRef and no command line, shown in a drop down list\r\n"
    "     User Applicatoins.\r\n\r\n"
    "User Applications require an AppRef and a command line with an executable application. Command lines should "
    "use DOS short paths.");

using K = ControlKind;
constexpr DWORD kPush = BS_PUSHBUTTON | WS_TABSTOP;
constexpr DWORD kArrow = BS_PUSHBUTTON | BS_ICON | BS_CENTER | BS_VCENTER | WS_TABSTOP;
constexpr DWORD kShown = SS_LEFT | SS_NOPREFIX;

// In the window's own order, which is also the order its texts are translated in.
const ControlDef kControls[] = {
    // The sheet shows no tabs: its pages are the two sets of controls, shown one at a time.
    {kSheet, K::Sheet, nullptr, "", 0, 0, 0, 420, 270, 0},
    {kItemsTab, K::Tab, nullptr, Phrase("Items"), 0, 0, 0, 0, 0, 1},
    {kList, K::List, WC_LISTVIEWA, "",
     LVS_REPORT | LVS_SINGLESEL | LVS_SHOWSELALWAYS | LVS_OWNERDATA | WS_BORDER | WS_TABSTOP | WS_CLIPSIBLINGS, 4, 20,
     408, 212, 1},
    {kAdd, K::Button, "BUTTON", Phrase("&Add"), kPush, 4, 236, 50, 14, 1},
    {kChange, K::Button, "BUTTON", Phrase("&Change"), kPush, 56, 236, 50, 14, 1},
    {kDelete, K::Button, "BUTTON", Phrase("&Delete"), kPush, 108, 236, 50, 14, 1},
    {kSort, K::Button, "BUTTON", Phrase("&Sort"), kPush, 320, 236, 50, 14, 1},
    {kUp, K::Button, "BUTTON", "", kArrow, 372, 236, 19, 14, 1},
    {kDown, K::Button, "BUTTON", "", kArrow, 393, 236, 19, 14, 1},
    {kEntries, K::PictureString, "STATIC", Phrase("@N_3"), kShown, 166, 240, 85, 14, 1},
    {kDefault, K::Button, "BUTTON", Phrase("D&efault"), kPush, 268, 236, 50, 14, 1},
    {kUpdate, K::Button, "BUTTON", Phrase("&Update File"), kPush, 4, 252, 153, 14, 1},
    {kClose, K::Button, "BUTTON", Phrase("Cl&ose"), kPush, 268, 252, 144, 14, 1},
    {kSection, K::DropList, "COMBOBOX", "", CBS_DROPDOWNLIST | WS_VSCROLL | WS_TABSTOP, 28, 4, 111, 120, 1},
    {kIniFile, K::PictureString, "STATIC", "s255", kShown | SS_PATHELLIPSIS, 144, 4, 255, 10, 1},
    {kNext, K::Button, "BUTTON", "", kArrow, 400, 4, 19, 13, 1},
    {kNotesTab, K::Tab, nullptr, Phrase("Notes"), 0, 0, 0, 0, 0, 2},
    {18, K::String, "STATIC", Phrase("QZCL - Quendale Notes/Command Utility"), kShown, 8, 4, 203, 12, 2},
    {kVersion, K::String, "STATIC", "", kShown, 8, 16, 198, 11, 2},
    {20, K::Group, "BUTTON", Phrase("Command Line Options"), BS_GROUPBOX, 1, 28, 413, 38, 2},
    {21, K::Prompt, "STATIC",
     Phrase("Run QZCL with CMD as a command line parameter to see a list of command line options."), SS_LEFT, 21, 40,
     385, 18, 2},
    {22, K::Group, "BUTTON", Phrase("Clarion EDIT Command"), BS_GROUPBOX, 1, 76, 413, 181, 2},
    {23, K::String, "STATIC", kNotesText, kShown, 20, 88, 385, 51, 2},
    {24, K::Prompt, "STATIC", kAppRefText, SS_LEFT, 20, 140, 385, 47, 2},
    {25, K::Prompt, "STATIC",
     Phrase("In addtion, the strings in the QZCL application can be translated. This uses QZ Vexicon String Component "
            "to do the translations."),
     SS_LEFT, 20, 192, 385, 35, 2},
    {26, K::Prompt, "STATIC", Phrase("See the Clarion documentation for more information."), SS_LEFT, 18, 234, 385, 10,
     2},
    {kBack, K::Button, "BUTTON", "", kArrow, 400, 4, 19, 13, 2},
};

constexpr NamedControl<EditorControl> kButtons[] = {
    {EditorControl::Add, kAdd},         {EditorControl::Change, kChange}, {EditorControl::Delete, kDelete},
    {EditorControl::Sort, kSort},       {EditorControl::Up, kUp},         {EditorControl::Down, kDown},
    {EditorControl::Default, kDefault}, {EditorControl::Update, kUpdate}, {EditorControl::Close, kClose},
    {EditorControl::Next, kNext},       {EditorControl::Back, kBack},
};

}  // namespace

Win32EditorView::Win32EditorView() : DialogView(kControls, kEditorFirstId) {}

DialogLayout Win32EditorView::Layout() const {
  DialogLayout layout{Phrase("Quendale Notes/Command Utility - Edit Window"),
                      WS_POPUP | WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX | DS_MODALFRAME | DS_CENTER | DS_3DLOOK,
                      424,
                      272,
                      "Arial",
                      8,
                      {}};
  // The two fields laid over cells come first, above the list in the z-order.
  layout.controls.push_back({"EDIT", "", ES_AUTOHSCROLL | WS_BORDER, 0, 0, 10, 10, kEntryId});
  layout.controls.push_back({"COMBOBOX", "", CBS_DROPDOWN | CBS_AUTOHSCROLL | WS_VSCROLL, 0, 0, 10, 100, kComboId});
  return layout;
}

void Win32EditorView::OnInit() {
  HWND dialog = Dialog();
  list_ = Control(kList);
  entry_ = GetDlgItem(dialog, kEntryId);
  combo_ = GetDlgItem(dialog, kComboId);
  COMBOBOXINFO info{};
  info.cbSize = sizeof info;
  if (GetComboBoxInfo(combo_, &info)) comboEdit_ = info.hwndItem;
  ShowWindow(entry_, SW_HIDE);
  ShowWindow(combo_, SW_HIDE);
  Subclass(list_, kListHook);
  Subclass(entry_, kFieldHook);
  Subclass(comboEdit_, kFieldHook);
  ListView_SetExtendedListViewStyle(list_, LVS_EX_FULLROWSELECT | LVS_EX_GRIDLINES | LVS_EX_DOUBLEBUFFER);
  for (auto [number, direction] : {std::pair{kUp, 'U'}, {kDown, 'D'}, {kNext, 'R'}, {kBack, 'L'}})
    ShowArrow(number, direction);
  tooltip_ =
      CreateWindowExA(WS_EX_TOPMOST, TOOLTIPS_CLASSA, nullptr, WS_POPUP | TTS_ALWAYSTIP, CW_USEDEFAULT, CW_USEDEFAULT,
                      CW_USEDEFAULT, CW_USEDEFAULT, dialog, nullptr, GetModuleHandleA(nullptr), nullptr);
  if (HICON icon = ProgramIcon()) SendMessageA(dialog, WM_SETICON, ICON_BIG, reinterpret_cast<LPARAM>(icon));
  if (HICON small = Keep(SmallProgramIcon()))
    SendMessageA(dialog, WM_SETICON, ICON_SMALL, reinterpret_cast<LPARAM>(small));
  ShowPage(kItemsPage);
}

HWND Win32EditorView::Field() const { return fieldIsCombo_ ? comboEdit_ : entry_; }

void Win32EditorView::SetSections(const std::vector<std::pair<std::string, std::string>>& entries) {
  sections_ = entries;
  HWND box = Control(kSection);
  SendMessageA(box, CB_RESETCONTENT, 0, 0);
  for (const auto& entry : entries) SendMessageA(box, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(entry.first.c_str()));
}

void Win32EditorView::ShowSection(const std::string& value) {
  for (std::size_t i = 0; i < sections_.size(); ++i)
    if (sections_[i].second == value) SendMessageA(Control(kSection), CB_SETCURSEL, i, 0);
}

void Win32EditorView::ShowIniFile(const std::string& path) { SetWindowTextA(Control(kIniFile), path.c_str()); }

void Win32EditorView::ShowVersion(const std::string& text) { SetWindowTextA(Control(kVersion), text.c_str()); }

void Win32EditorView::ShowPage(int page) {
  page_ = page;
  ShowPageControls(page);
  ShowWindow(FieldWindow(), fieldShown_ && page == kItemsPage ? SW_SHOWNA : SW_HIDE);
  SetFocus(page == kItemsPage ? list_ : Control(kBack));
  Repaint();
}

void Win32EditorView::ShowCount(long count) {
  char text[16];
  std::snprintf(text, sizeof text, "%3ld", count);
  SetWindowTextA(Control(kEntries), text);
}

void Win32EditorView::Enable(EditorControl control, bool enabled) {
  HWND button = Control(NumberOf(kButtons, control));
  if (!enabled && GetFocus() == button) SetFocus(list_);  // a disabled button keeps no focus
  EnableWindow(button, enabled);
}

void Win32EditorView::SetFormat(const std::string& format) {
  format_ = format;
  columns_ = ParseListFormat(format);
  ++quiet_;
  while (ListView_DeleteColumn(list_, 0)) {
  }
  for (std::size_t i = 0; i < columns_.size(); ++i) {
    const ListColumn& c = columns_[i];
    RECT units{0, 0, c.width, 0};
    MapDialogRect(Dialog(), &units);
    LVCOLUMNA column{};
    column.mask = LVCF_TEXT | LVCF_WIDTH | LVCF_FMT;
    column.fmt = c.align == 'R' ? LVCFMT_RIGHT : c.align == 'C' ? LVCFMT_CENTER : LVCFMT_LEFT;
    column.cx = units.right;
    std::string header = c.header;
    column.pszText = header.data();
    SendMessageA(list_, LVM_INSERTCOLUMNA, i, reinterpret_cast<LPARAM>(&column));
  }
  if (column_ > static_cast<int>(columns_.size())) column_ = 1;
  FillLastColumn();
  --quiet_;
}

void Win32EditorView::FillLastColumn() {
  const int last = static_cast<int>(columns_.size()) - 1;
  if (last < 0) return;
  RECT client{};
  GetClientRect(list_, &client);
  int rest = client.right - client.left;
  for (int i = 0; i < last; ++i) rest -= ListView_GetColumnWidth(list_, i);
  RECT units{0, 0, columns_.back().width, 0};
  MapDialogRect(Dialog(), &units);
  const int width = std::max(static_cast<int>(units.right), rest);
  if (ListView_GetColumnWidth(list_, last) != width) ListView_SetColumnWidth(list_, last, width);
}

void Win32EditorView::Hold(bool held) {
  EnableWindow(Dialog(), held ? FALSE : TRUE);
  if (!held && !IsChild(Dialog(), GetFocus())) FocusList();
}

void Win32EditorView::ShowItems(const std::vector<Item>& items) {
  items_ = &items;
  Redisplay();
}

void Win32EditorView::Redisplay() {
  ++quiet_;
  const int count = items_ ? static_cast<int>(items_->size()) : 0;
  ListView_SetItemCountEx(list_, count, LVSICF_NOSCROLL);
  FillLastColumn();  // the vertical scroll bar may have come or gone
  InvalidateRect(list_, nullptr, FALSE);
  --quiet_;
}

int Win32EditorView::SelectedRow() const { return ListView_GetNextItem(list_, -1, LVNI_SELECTED) + 1; }

void Win32EditorView::Select(int row, int column) {
  ++quiet_;
  const int before = SelectedRow();
  ListView_SetItemState(list_, -1, 0, LVIS_SELECTED | LVIS_FOCUSED);
  if (row > 0) {
    ListView_SetItemState(list_, row - 1, LVIS_SELECTED | LVIS_FOCUSED, LVIS_SELECTED | LVIS_FOCUSED);
    ListView_EnsureVisible(list_, row - 1, FALSE);
  }
  if (column >= 1) column_ = column;
  RedrawRow(before);
  RedrawRow(row);
  --quiet_;
}

void Win32EditorView::RedrawRow(int row) {
  if (row > 0) ListView_RedrawItems(list_, row - 1, row - 1);
}

void Win32EditorView::FocusList() {
  if (page_ == kItemsPage) SetFocus(list_);
}

void Win32EditorView::OpenEditor(int row, int column, const CellEditor& editor) {
  fieldIsCombo_ = editor.kind == CellEditor::Kind::Combo;
  fieldRow_ = row;
  fieldColumn_ = column;
  filePicker_ = !editor.tip.empty();
  HWND field = FieldWindow();
  if (fieldIsCombo_) {
    SendMessageA(combo_, CB_RESETCONTENT, 0, 0);
    std::string choices = editor.choices;
    std::size_t from = 0;
    for (;;) {
      std::size_t bar = choices.find('|', from);
      std::string choice = choices.substr(from, bar == std::string::npos ? std::string::npos : bar - from);
      SendMessageA(combo_, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(choice.c_str()));
      if (bar == std::string::npos) break;
      from = bar + 1;
    }
    SendMessageA(combo_, CB_LIMITTEXT, editor.maxChars, 0);
    RECT units{0, 0, kComboDropWidth, 0};
    MapDialogRect(Dialog(), &units);
    SendMessageA(combo_, CB_SETDROPPEDWIDTH, units.right, 0);
  } else {
    SendMessageA(entry_, EM_LIMITTEXT, editor.maxChars, 0);
  }
  SetWindowTextA(field, editor.text.c_str());
  // The tool tip names the Alt+Down key on command-line cells only.
  TOOLINFOA tool{};
  tool.cbSize = TTTOOLINFOA_V1_SIZE;
  tool.uFlags = TTF_IDISHWND | TTF_SUBCLASS;
  tool.hwnd = Dialog();
  tool.uId = reinterpret_cast<UINT_PTR>(entry_);
  SendMessageA(tooltip_, TTM_DELTOOLA, 0, reinterpret_cast<LPARAM>(&tool));
  if (filePicker_ && !fieldIsCombo_) {
    tipText_ = editor.tip;
    tool.lpszText = tipText_.data();
    SendMessageA(tooltip_, TTM_ADDTOOLA, 0, reinterpret_cast<LPARAM>(&tool));
  }
  fieldShown_ = true;
  fieldChanged_ = false;
  PlaceField();
  ShowWindow(field, SW_SHOW);
  SetFocus(Field());
  SendMessageA(Field(), EM_SETSEL, 0, -1);
}

void Win32EditorView::PlaceField() {
  if (!fieldShown_) return;
  ListView_EnsureVisible(list_, fieldRow_ - 1, FALSE);
  RECT cell{};
  ListView_GetSubItemRect(list_, fieldRow_ - 1, fieldColumn_ - 1, fieldColumn_ == 1 ? LVIR_LABEL : LVIR_BOUNDS, &cell);
  MapWindowPoints(list_, Dialog(), reinterpret_cast<POINT*>(&cell), 2);
  int height = cell.bottom - cell.top;
  if (fieldIsCombo_) {
    int item = static_cast<int>(SendMessageA(combo_, CB_GETITEMHEIGHT, 0, 0));
    height = std::max(height, item + 6) + kComboRows * item + 2;
  }
  SetWindowPos(FieldWindow(), HWND_TOP, cell.left, cell.top, cell.right - cell.left, height, SWP_NOACTIVATE);
}

std::string Win32EditorView::EditorText() {
  fieldChanged_ = false;
  return WindowText(FieldWindow());
}

void Win32EditorView::SetEditorText(const std::string& text) {
  SetWindowTextA(FieldWindow(), text.c_str());
  fieldChanged_ = false;
}

void Win32EditorView::DetachEditor() {
  if (!fieldShown_) return;
  fieldShown_ = false;
  const bool focused = GetFocus() == Field();
  ShowWindow(FieldWindow(), SW_HIDE);
  if (focused) SetFocus(list_);
}

void Win32EditorView::CloseEditor() {
  DetachEditor();
  fieldChanged_ = false;
  fieldRow_ = fieldColumn_ = 0;
}

std::string Win32EditorView::CellText(int row, int column) const {
  if (!items_ || row < 1 || row > static_cast<int>(items_->size()) || column < 1 ||
      column > static_cast<int>(columns_.size()))
    return {};
  const ListColumn& c = columns_[static_cast<std::size_t>(column - 1)];
  const std::string& text = FieldOf((*items_)[static_cast<std::size_t>(row - 1)], c.field);
  const std::size_t shown = StringPictureWidth(c.picture);
  return shown ? Cut(text, shown) : text;
}

LRESULT Win32EditorView::OnCustomDraw(NMLVCUSTOMDRAW* draw) {
  // The selected row is drawn pale with its current cell in the selection colour, so that the user sees
  // which cell Change and Enter open.
  switch (draw->nmcd.dwDrawStage) {
    case CDDS_PREPAINT: return CDRF_NOTIFYITEMDRAW;
    case CDDS_ITEMPREPAINT: {
      const int row = static_cast<int>(draw->nmcd.dwItemSpec) + 1;
      if (row != SelectedRow()) return CDRF_DODEFAULT;
      draw->nmcd.uItemState &= ~(CDIS_SELECTED | CDIS_FOCUS);
      return CDRF_NOTIFYSUBITEMDRAW;
    }
    case CDDS_ITEMPREPAINT | CDDS_SUBITEM: {
      const bool current = draw->iSubItem + 1 == column_;
      const bool focused = GetFocus() == list_ || fieldShown_;
      draw->clrTextBk = current ? GetSysColor(focused ? COLOR_HIGHLIGHT : COLOR_BTNSHADOW) : GetSysColor(COLOR_BTNFACE);
      draw->clrText = current ? GetSysColor(COLOR_HIGHLIGHTTEXT) : GetSysColor(COLOR_WINDOWTEXT);
      return CDRF_NEWFONT;
    }
    default: return CDRF_DODEFAULT;
  }
}

LRESULT Win32EditorView::OnListNotify(NMHDR* header) {
  switch (header->code) {
    case LVN_GETDISPINFOA: {
      auto* info = reinterpret_cast<NMLVDISPINFOA*>(header);
      if (info->item.mask & LVIF_TEXT) {
        std::string text = CellText(info->item.iItem + 1, info->item.iSubItem + 1);
        lstrcpynA(info->item.pszText, text.c_str(), info->item.cchTextMax);
      }
      return 0;
    }
    case LVN_ITEMCHANGED: {
      auto* change = reinterpret_cast<NMLISTVIEW*>(header);
      if (quiet_ == 0 && change->iItem >= 0 && (change->uNewState & LVIS_SELECTED) &&
          !(change->uOldState & LVIS_SELECTED))
        Send(&EditorEvents::OnNewSelection, change->iItem + 1, column_);
      return 0;
    }
    case NM_DBLCLK: Send(&EditorEvents::OnActivate); return 0;
    case NM_CUSTOMDRAW: return OnCustomDraw(reinterpret_cast<NMLVCUSTOMDRAW*>(header));
    case LVN_ENDSCROLL: PlaceField(); return 0;
    default: return 0;
  }
}

LRESULT Win32EditorView::OnControlMessage(UINT_PTR hook, HWND control, UINT message, WPARAM wParam, LPARAM lParam) {
  return hook == kListHook ? OnListMessage(control, message, wParam, lParam)
                           : OnFieldMessage(control, message, wParam, lParam);
}

LRESULT Win32EditorView::OnListMessage(HWND list, UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_LBUTTONDOWN:
    case WM_RBUTTONDOWN: {
      // The cell under the mouse becomes the current one before the list reports the new row.
      LVHITTESTINFO hit{};
      hit.pt = {GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)};
      const int before = SelectedRow();
      if (ListView_SubItemHitTest(list, &hit) >= 0) column_ = hit.iSubItem + 1;
      // Leaving the field comes first, as the user sees it: what was typed is accepted before the list
      // reports its new row.
      if (GetFocus() != list) SetFocus(list);
      LRESULT result = DefSubclassProc(list, message, wParam, lParam);
      // A click on the row already selected is a new selection all the same.
      if (hit.iItem >= 0 && hit.iItem + 1 == before && SelectedRow() == before) {
        RedrawRow(before);
        Send(&EditorEvents::OnNewSelection, before, column_);
      }
      return result;
    }
    case WM_KEYDOWN:
      if (wParam == VK_LEFT || wParam == VK_RIGHT) {
        const int last = static_cast<int>(columns_.size());
        const int column = std::clamp(column_ + (wParam == VK_LEFT ? -1 : 1), 1, std::max(last, 1));
        if (column != column_ && SelectedRow() > 0) {
          column_ = column;
          RedrawRow(SelectedRow());
          Send(&EditorEvents::OnNewSelection, SelectedRow(), column);
        }
        return 0;
      }
      break;
    case WM_VSCROLL:
    case WM_HSCROLL:
    case WM_MOUSEWHEEL: {
      LRESULT result = DefSubclassProc(list, message, wParam, lParam);
      PlaceField();
      return result;
    }
    case WM_SETFOCUS:
    case WM_KILLFOCUS: RedrawRow(SelectedRow()); break;
    default: break;
  }
  return DefSubclassProc(list, message, wParam, lParam);
}

LRESULT Win32EditorView::OnFieldMessage(HWND field, UINT message, WPARAM wParam, LPARAM lParam) {
  const bool combo = field == comboEdit_;
  auto key = [this](EditKey k) {
    Send(&EditorEvents::OnEditKey, k);
    return LRESULT{0};
  };
  switch (message) {
    case WM_GETDLGCODE: return DLGC_WANTALLKEYS | DefSubclassProc(field, message, wParam, lParam);
    case WM_KEYDOWN:
      switch (wParam) {
        case VK_ESCAPE: return key(EditKey::Esc);
        case VK_RETURN: return key(EditKey::Enter);
        case VK_TAB: return key(GetKeyState(VK_SHIFT) < 0 ? EditKey::ShiftTab : EditKey::Tab);
        case VK_UP:
          if (!combo) return key(EditKey::Up);
          break;
        case VK_DOWN:
          if (!combo) return key(EditKey::Down);
          break;
        default: break;
      }
      break;
    case WM_SYSKEYDOWN:
      if (wParam == VK_DOWN && !combo && filePicker_) return key(EditKey::AltDown);
      break;
    case WM_CHAR:
      if (wParam == '\t' || wParam == '\r' || wParam == 27) return 0;  // handled as keys; no beep
      break;
    case WM_KILLFOCUS: {
      LRESULT result = DefSubclassProc(field, message, wParam, lParam);
      // Leaving a changed field for another control of the window accepts it; a drop list of the
      // combo itself, or another program, does not.
      HWND to = reinterpret_cast<HWND>(wParam);
      if (fieldShown_ && fieldChanged_ && to && to != combo_ && IsChild(Dialog(), to))
        Send(&EditorEvents::OnEditAccepted);
      return result;
    }
    default: break;
  }
  return DefSubclassProc(field, message, wParam, lParam);
}

INT_PTR Win32EditorView::OnCommand(int id, int code, HWND control) {
  if (id == kEntryId && code == EN_CHANGE) fieldChanged_ = true;
  if (id == kComboId && (code == CBN_EDITCHANGE || code == CBN_SELCHANGE)) fieldChanged_ = true;
  if (id == IDOK) {
    if (GetFocus() == list_) Send(&EditorEvents::OnActivate);
    return TRUE;
  }
  if (id == IDCANCEL) return TRUE;  // Esc does not close the window
  const int number = NumberOfId(id);
  if (number == kSection && code == CBN_SELCHANGE) {
    auto at = SendMessageA(control, CB_GETCURSEL, 0, 0);
    if (at >= 0 && static_cast<std::size_t>(at) < sections_.size())
      Send(&EditorEvents::OnSectionChosen, sections_[static_cast<std::size_t>(at)].second);
    return TRUE;
  }
  const std::optional<EditorControl> button = NameOf(kButtons, number);
  if (code == BN_CLICKED && button) {
    Send(&EditorEvents::OnAccepted, *button);
    return TRUE;
  }
  return FALSE;
}

INT_PTR Win32EditorView::OnNotify(const NMHDR& header) {
  return header.hwndFrom == list_ ? Answer(OnListNotify(const_cast<NMHDR*>(&header))) : FALSE;
}

bool Win32EditorView::OnCloseRequest() {
  Send(&EditorEvents::OnCloseRequest);
  return true;
}

}  // namespace qz
