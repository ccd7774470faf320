// Display pictures: how the program shows numbers, dates and times in fields and texts.
//
// Numeric pictures "n[fill]width[.places]" (an "@" in front and upper case are accepted):
//   fill "0"  leading zeros, no grouping                    n04:   2 -> "0002"
//   fill "_"  leading blanks, no grouping                   n_3:   7 -> "  7"
//   no fill   leading blanks, thousands grouped with ","    n9.2:  1234.5 -> " 1,234.50"
// The width counts every character: sign, digits, group separators and the decimal point. Values are
// rounded half away from zero to the places; zero shows as a number ("0000", "0.00"); a value below one
// keeps its "0" before the point; a negative value gets a "-" in front of its digits (and zeros). A value
// that does not fit in the width shows as "#" across the whole width.
//
// Date pictures: "d1" mm/dd/yy, "d11" yymmdd. Time pictures: "t2" hhmm, "t5" hhmmss (24-hour clock). Every
// part has two digits with a leading zero; the year shows its last two digits. A date or time that does
// not exist shows as blanks across the picture's width.
#pragma once
#include <string>
#include <string_view>

#include "text/local_time.h"

namespace qz {

// The value through a numeric picture; empty for a picture that is not numeric.
std::string FormatNumber(double value, std::string_view picture);

// The date, or the time, of t through a date or time picture; empty for another picture.
std::string FormatDate(const LocalTime& t, std::string_view picture);
std::string FormatTime(const LocalTime& t, std::string_view picture);

// The number a text holds, as the program has always taken a string as a number: blanks around it and group
// separators do not count; a text that is not a number counts as 0.
double NumberOf(std::string_view text);

}  // namespace qz
