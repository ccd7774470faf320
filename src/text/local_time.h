// A date and time of day, as the clock gives it and the pictures show it.
#pragma once

namespace qz {

struct LocalTime {
  int year = 0, month = 0, day = 0, hour = 0, minute = 0, second = 0;
};

}  // namespace qz
