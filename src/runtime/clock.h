// Time as the program needs it.
#pragma once
#include <cstdint>

namespace qz {

struct LocalTime {
  int year = 0, month = 0, day = 0, hour = 0, minute = 0, second = 0;
};

class Clock {
 public:
  virtual ~Clock() = default;
  // A monotonic count of milliseconds.
  virtual std::int64_t Milliseconds() = 0;
  // Waits about ms milliseconds while the program's windows keep receiving their messages.
  virtual void Wait(int ms) = 0;
  // The local date and time.
  virtual LocalTime Now() = 0;
};

}  // namespace qz
