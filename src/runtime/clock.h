// Time as the program needs it.
#pragma once
#include <cstdint>

namespace qz {

class Clock {
 public:
  virtual ~Clock() = default;
  // A monotonic count of milliseconds.
  virtual std::int64_t Milliseconds() = 0;
};

}  // namespace qz
