// One move-only owner per Win32 handle kind.
#pragma once
#include <windows.h>

#include <utility>

namespace qz {

// Traits name the handle type, its invalid value and how it is closed.
template <typename Traits>
class UniqueHandle {
 public:
  using T = typename Traits::Type;
  UniqueHandle() = default;
  explicit UniqueHandle(T h) : h_(h) {}
  ~UniqueHandle() { reset(); }
  UniqueHandle(const UniqueHandle&) = delete;
  UniqueHandle& operator=(const UniqueHandle&) = delete;
  UniqueHandle(UniqueHandle&& o) noexcept : h_(o.release()) {}
  UniqueHandle& operator=(UniqueHandle&& o) noexcept {
    if (this != &o) reset(o.release());
    return *this;
  }
  explicit operator bool() const { return h_ != Traits::Invalid(); }
  T get() const { return h_; }
  T release() { return std::exchange(h_, Traits::Invalid()); }
  void reset(T h = Traits::Invalid()) {
    if (h_ != Traits::Invalid()) {
      DWORD err = GetLastError();  // keep the caller's error across the clean-up
      Traits::Close(h_);
      SetLastError(err);
    }
    h_ = h;
  }
  // For out-parameters: closes what is held and hands out the slot.
  T* put() {
    reset();
    return &h_;
  }

 private:
  T h_ = Traits::Invalid();
};

template <typename H, auto CloseFn, auto InvalidFn>
struct HandleTraits {
  using Type = H;
  static H Invalid() { return InvalidFn(); }
  static void Close(H h) { CloseFn(h); }
};

inline HANDLE NoFile() { return INVALID_HANDLE_VALUE; }
template <typename H>
H Null() {
  return H{};
}

inline void CloseKernelHandle(HANDLE h) { ::CloseHandle(h); }
inline void CloseRegKey(HKEY k) { ::RegCloseKey(k); }
inline void DestroyWindowHandle(HWND w) { ::DestroyWindow(w); }
inline void DeleteAtomHandle(ATOM a) { ::GlobalDeleteAtom(a); }
inline void FreeGlobal(HGLOBAL g) { ::GlobalFree(g); }
inline void DeleteFontHandle(HFONT f) { ::DeleteObject(f); }
inline void DestroyIconHandle(HICON i) { ::DestroyIcon(i); }

using UniqueFile = UniqueHandle<HandleTraits<HANDLE, CloseKernelHandle, NoFile>>;
using UniqueKernelHandle = UniqueHandle<HandleTraits<HANDLE, CloseKernelHandle, Null<HANDLE>>>;
using UniqueHkey = UniqueHandle<HandleTraits<HKEY, CloseRegKey, Null<HKEY>>>;
using UniqueHwnd = UniqueHandle<HandleTraits<HWND, DestroyWindowHandle, Null<HWND>>>;
using UniqueGlobalAtom = UniqueHandle<HandleTraits<ATOM, DeleteAtomHandle, Null<ATOM>>>;
using UniqueHglobal = UniqueHandle<HandleTraits<HGLOBAL, FreeGlobal, Null<HGLOBAL>>>;
// Only for fonts and icons the program made itself (CreateFont, CreateIconIndirect, LoadImage without
// LR_SHARED); a shared icon from LoadIcon is never destroyed.
using UniqueHfont = UniqueHandle<HandleTraits<HFONT, DeleteFontHandle, Null<HFONT>>>;
using UniqueHicon = UniqueHandle<HandleTraits<HICON, DestroyIconHandle, Null<HICON>>>;

}  // namespace qz
