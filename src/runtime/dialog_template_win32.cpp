#include "runtime/dialog_template_win32.h"

#include <algorithm>
#include <cstdlib>
#include <iterator>

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
  AppendDword(out, layout.style | DS_SETFONT);
  AppendDword(out, 0);  // extended style
  out.push_back(static_cast<WORD>(layout.controls.size()));
  out.push_back(0);  // x, y: placed by the style (DS_CENTER) or the system
  out.push_back(0);
  out.push_back(static_cast<WORD>(layout.cx));
  out.push_back(static_cast<WORD>(layout.cy));
  out.push_back(0);  // no menu
  out.push_back(0);  // the standard dialog class
  AppendText(out, layout.title);
  out.push_back(layout.pointSize);
  AppendText(out, layout.fontFace);
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

// A black arrow on a transparent 16 by 16 icon, pointing 'U'p, 'D'own, 'L'eft or 'R'ight; the button greys
// it when disabled.
HICON ArrowIcon(char direction) {
  constexpr int kSize = 16;
  BITMAPINFO info{};
  info.bmiHeader = {sizeof(BITMAPINFOHEADER), kSize, -kSize, 1, 32, BI_RGB, 0, 0, 0, 0, 0};
  void* bits = nullptr;
  HBITMAP colour = CreateDIBSection(nullptr, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
  if (!colour) return nullptr;
  auto* pixels = static_cast<DWORD*>(bits);
  const DWORD ink = 0xFF000000 | GetSysColor(COLOR_BTNTEXT);
  // The mask too, for the greyed drawing of a disabled button, which ignores the alpha channel.
  BYTE maskBits[kSize * kSize / 8];
  std::fill(std::begin(maskBits), std::end(maskBits), BYTE{0xFF});
  for (int y = 0; y < kSize; ++y) {
    for (int x = 0; x < kSize; ++x) {
      const bool vertical = direction == 'U' || direction == 'D';
      const int along = vertical ? (direction == 'U' ? y - 5 : 10 - y) : (direction == 'L' ? x - 5 : 10 - x);
      const int across = vertical ? 2 * x - 15 : 2 * y - 15;
      const bool inside = along >= 0 && along <= 5 && std::abs(across) <= 2 * along + 1;
      pixels[y * kSize + x] = inside ? ink : 0;
      if (inside) maskBits[(y * kSize + x) / 8] &= static_cast<BYTE>(~(0x80 >> (x % 8)));
    }
  }
  HBITMAP mask = CreateBitmap(kSize, kSize, 1, 1, maskBits);
  ICONINFO icon{TRUE, 0, 0, mask, colour};
  HICON result = CreateIconIndirect(&icon);
  DeleteObject(mask);
  DeleteObject(colour);
  return result;
}

}  // namespace qz
