// The handle owners with real kernel objects and windows: each handle is closed once, by its one owner.
#include <windows.h>

#include <gtest/gtest.h>

#include <utility>

#include "platform/handle_win32.h"

namespace qz {
namespace {

template <typename Owner, typename Make, typename Alive, typename Close>
void EachHandleIsClosedOnceByItsOneOwner(Make make, Alive alive, Close close) {
  using T = typename Owner::T;
  const T first = make(), second = make(), third = make(), released = make();
  T reused{};
  {
    Owner a(first);
    Owner b(std::move(a));
    EXPECT_TRUE(!a && b.get() == first && alive(first));
    Owner c(second);
    c = std::move(b);  // c's own handle goes, first moves on to c
    EXPECT_TRUE(!b && !alive(second) && alive(first));
    c.reset(third);
    EXPECT_FALSE(alive(first));
    T* slot = c.put();
    EXPECT_TRUE(!alive(third) && *slot == T{});
    *slot = make();
    Owner d(released);
    EXPECT_TRUE(d.release() == released && !d);
    // A closed value may be handed out again now: an owner that closed twice would close this one.
    reused = make();
  }
  EXPECT_TRUE(alive(reused) && alive(released));
  close(reused);
  close(released);
}

TEST(unique_handle, kernel_handles_and_windows) {
  EachHandleIsClosedOnceByItsOneOwner<UniqueKernelHandle>([] { return CreateEventA(nullptr, TRUE, FALSE, nullptr); },
                                                          [](HANDLE h) {
                                                            DWORD flags = 0;
                                                            return GetHandleInformation(h, &flags) != FALSE;
                                                          },
                                                          [](HANDLE h) { EXPECT_TRUE(CloseHandle(h)); });
  EachHandleIsClosedOnceByItsOneOwner<UniqueHwnd>(
      [] { return CreateWindowExA(0, "STATIC", "", WS_POPUP, 0, 0, 0, 0, nullptr, nullptr, nullptr, nullptr); },
      [](HWND w) { return IsWindow(w) != FALSE; }, [](HWND w) { EXPECT_TRUE(DestroyWindow(w)); });
}

}  // namespace
}  // namespace qz
