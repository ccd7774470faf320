#include "window/arrow_icon_win32.h"

#include <algorithm>
#include <cstdlib>
#include <iterator>

namespace qz {

UniqueHicon ArrowIcon(char direction) {
  constexpr int kSize = 16;
  BITMAPINFO info{};
  info.bmiHeader = {sizeof(BITMAPINFOHEADER), kSize, -kSize, 1, 32, BI_RGB, 0, 0, 0, 0, 0};
  void* bits = nullptr;
  HBITMAP colour = CreateDIBSection(nullptr, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
  if (!colour) return UniqueHicon();
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
  UniqueHicon result(CreateIconIndirect(&icon));
  DeleteObject(mask);  // the icon holds copies of both bitmaps
  DeleteObject(colour);
  return result;
}

}  // namespace qz
