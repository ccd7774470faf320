// Time as the program needs it.
#pragma once
#include <cstdint>

namespace qz {

class Clock {
 public:
  virtual ~Clock() = default;
  // A monotonic count of milliseconds.
  virtual std::int64_t Milliseconds() = 0;
  // Waits about ms milliseconds while the program's windows keep receiving their messages.
  virtual void Wait(int ms) = 0;
};

}  // namespace qz
