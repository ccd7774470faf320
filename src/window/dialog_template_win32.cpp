#include "window/dialog_template_win32.h"

namespace qz {

namespace {

void AppendText(std::vector<WORD>& out, const std::string& text) {
  int n = MultiByteToWideChar(CP_ACP, 0, text.c_str(), -1, nullptr, 0);
  std::vector<wchar_t> wide(static_cast<std::size_t>(n > 0 ? n : 1), L'\0');
  if (n > 0) MultiByteToWideChar(CP_ACP, 0, text.c_str(), -1, wide.data(), n);
  out.insert(out.end(), wide.begin(), wide.end());  // includes the terminating NUL
}

void AppendDword(std::vector<WORD>& out, DWORD value) {
  out.push_back(LOWORD(value));
  out.push_back(HIWORD(value));
}

void AlignToDword(std::vector<WORD>& out) {
  if (out.size() % 2 != 0) out.push_back(0);
}

}  // namespace

std::vector<WORD> BuildDialogTemplate(const DialogLayout& layout) {
  std::vector<WORD> out;
  const bool ownFont = !layout.fontFace.empty();
  AppendDword(out, ownFont ? layout.style | DS_SETFONT : layout.style);
  AppendDword(out, 0);  // extended style
  out.push_back(static_cast<WORD>(layout.controls.size()));
  out.push_back(0);  // x, y: placed by the style (DS_CENTER) or the system
  out.push_back(0);
  out.push_back(static_cast<WORD>(layout.cx));
  out.push_back(static_cast<WORD>(layout.cy));
  out.push_back(0);  // no menu
  out.push_back(0);  // the standard dialog class
  AppendText(out, layout.title);
  if (ownFont) {
    out.push_back(layout.pointSize);
    AppendText(out, layout.fontFace);
  }
  for (const DialogControl& c : layout.controls) {
    AlignToDword(out);
    AppendDword(out, c.style | WS_CHILD | WS_VISIBLE);
    AppendDword(out, c.exStyle);
    out.push_back(static_cast<WORD>(c.x));
    out.push_back(static_cast<WORD>(c.y));
    out.push_back(static_cast<WORD>(c.cx));
    out.push_back(static_cast<WORD>(c.cy));
    out.push_back(c.id);
    AppendText(out, c.windowClass);
    AppendText(out, c.text);
    out.push_back(0);  // no creation data
  }
  return out;
}

}  // namespace qz
