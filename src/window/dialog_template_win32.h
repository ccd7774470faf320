// Dialog templates built in memory, so that windows are laid out in dialog units with their font,
// as designed, and need no resource script.
#pragma once
#include <windows.h>

#include <string>
#include <vector>

namespace qz {

struct DialogControl {
  const char* windowClass;  // "STATIC", "BUTTON", "EDIT", WC_LISTVIEWA, ...
  std::string text;
  DWORD style;         // WS_CHILD | WS_VISIBLE are added
  short x, y, cx, cy;  // dialog units
  WORD id;
  DWORD exStyle = 0;
};

struct DialogLayout {
  std::string title;
  DWORD style;  // DS_SETFONT is added when there is a font face
  short cx, cy;
  std::string fontFace;  // empty: the system font, whose dialog units are GetDialogBaseUnits()
  WORD pointSize;
  std::vector<DialogControl> controls;
};

// A DLGTEMPLATE with its items, ready for CreateDialogIndirectParamA (texts converted from the ANSI code page).
std::vector<WORD> BuildDialogTemplate(const DialogLayout& layout);

}  // namespace qz
