// The box probe DLL (see box_probe_win32.h). Runs inside the process under test, on the box's thread.
#include "e2e/box_probe_win32.h"

#include <windows.h>

#include <algorithm>
#include <cstdint>
#include <vector>

namespace {

constexpr int kIconControl = 1088;  // the message box's icon static
constexpr int kStandardIcons[] = {32512, 32513, 32514, 32515, 32516, 32517};

// The icon drawn at its own size over black and over white: equal pictures give equal pixels,
// whatever handle or copy they come from.
std::vector<std::uint32_t> Picture(HICON icon, int cx, int cy) {
  std::vector<std::uint32_t> out;
  BITMAPINFO bi{};
  bi.bmiHeader.biSize = sizeof bi.bmiHeader;
  bi.bmiHeader.biWidth = cx;
  bi.bmiHeader.biHeight = -cy;
  bi.bmiHeader.biPlanes = 1;
  bi.bmiHeader.biBitCount = 32;
  HDC dc = CreateCompatibleDC(nullptr);
  void* bits = nullptr;
  HBITMAP bitmap = CreateDIBSection(dc, &bi, DIB_RGB_COLORS, &bits, nullptr, 0);
  if (dc && bitmap) {
    HGDIOBJ old = SelectObject(dc, bitmap);
    auto* px = static_cast<std::uint32_t*>(bits);
    for (std::uint32_t background : {0x00000000u, 0x00FFFFFFu}) {
      std::fill(px, px + cx * cy, background);
      DrawIconEx(dc, 0, 0, icon, cx, cy, 0, nullptr, DI_NORMAL);
      GdiFlush();
      out.insert(out.end(), px, px + cx * cy);
    }
    SelectObject(dc, old);
  }
  if (bitmap) DeleteObject(bitmap);
  if (dc) DeleteDC(dc);
  return out;
}

SIZE IconSize(HICON icon) {
  ICONINFO info{};
  SIZE size{GetSystemMetrics(SM_CXICON), GetSystemMetrics(SM_CYICON)};
  if (!GetIconInfo(icon, &info)) return size;
  BITMAP bm{};
  if (info.hbmColor && GetObjectA(info.hbmColor, sizeof bm, &bm)) {
    size = {bm.bmWidth, bm.bmHeight};
  } else if (info.hbmMask && GetObjectA(info.hbmMask, sizeof bm, &bm)) {
    size = {bm.bmWidth, bm.bmHeight / 2};  // a monochrome icon stacks its AND and XOR masks
  }
  if (info.hbmColor) DeleteObject(info.hbmColor);
  if (info.hbmMask) DeleteObject(info.hbmMask);
  return size;
}

int Identify(HICON shown) {
  using namespace qz::e2e::probe;
  if (!shown) return kNoIcon;
  // System icons are shared within a process, so the box's icon is usually the very handle.
  for (int id : kStandardIcons)
    if (LoadIconA(nullptr, MAKEINTRESOURCEA(id)) == shown) return id;
  // Otherwise compare pictures; a picture that several standard icons share identifies none.
  SIZE size = IconSize(shown);
  std::vector<std::uint32_t> picture = Picture(shown, size.cx, size.cy);
  int match = kUnknownIcon;
  for (int id : kStandardIcons) {
    auto candidate = static_cast<HICON>(
        LoadImageA(nullptr, MAKEINTRESOURCEA(id), IMAGE_ICON, size.cx, size.cy, LR_SHARED));
    if (!candidate || Picture(candidate, size.cx, size.cy) != picture) continue;
    if (match != kUnknownIcon) return kUnknownIcon;
    match = id;
  }
  return match;
}

}  // namespace

extern "C" __declspec(dllexport) LRESULT CALLBACK QzBoxProbeHook(int code, WPARAM wp, LPARAM lp) {
  using namespace qz::e2e::probe;
  if (code == HC_ACTION) {
    static const UINT probeMessage = RegisterWindowMessageA(kMessage);
    const auto* msg = reinterpret_cast<const CWPSTRUCT*>(lp);
    if (probeMessage != 0 && msg->message == probeMessage) {
      HWND iconControl = GetDlgItem(msg->hwnd, kIconControl);
      HICON shown = iconControl && IsWindowVisible(iconControl)
                        ? reinterpret_cast<HICON>(SendMessageA(iconControl, STM_GETICON, 0, 0))
                        : nullptr;
      SetPropA(msg->hwnd, kProperty, reinterpret_cast<HANDLE>(static_cast<INT_PTR>(Identify(shown))));
    }
  }
  return CallNextHookEx(nullptr, code, wp, lp);
}
