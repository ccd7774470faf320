// Time as the program needs it.
#pragma once
#include <cstdint>

#include "text/local_time.h"

namespace qz {

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
