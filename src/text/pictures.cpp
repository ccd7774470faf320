#include "text/pictures.h"

#include <cfloat>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <optional>

#include "text/text.h"

namespace qz {

namespace {

struct NumericPicture {
  char fill = ' ';  // '0', '_' or ' ' (none)
  int width = 0;
  int places = 0;
};

// The picture's name in lower case, without its "@" and trailing blanks.
std::string Name(std::string_view picture) {
  picture = ClipView(picture);
  if (!picture.empty() && picture.front() == '@') picture.remove_prefix(1);
  std::string name(picture);
  for (char& c : name)
    if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
  return name;
}

// Digits from text[i] on, as a number; nullopt when there are none.
std::optional<int> Digits(std::string_view text, std::size_t& i) {
  const std::size_t start = i;
  int n = 0;
  while (i < text.size() && text[i] >= '0' && text[i] <= '9' && n < 1000) n = n * 10 + (text[i++] - '0');
  if (i == start) return std::nullopt;
  return n;
}

std::optional<NumericPicture> ParseNumeric(std::string_view picture) {
  const std::string name = Name(picture);
  if (name.size() < 2 || name[0] != 'n') return std::nullopt;
  NumericPicture p;
  std::size_t i = 1;
  if (name[i] == '0' || name[i] == '_') p.fill = name[i++];
  std::optional<int> width = Digits(name, i);
  if (!width || *width == 0) return std::nullopt;
  p.width = *width;
  if (i < name.size() && name[i] == '.') {
    ++i;
    std::optional<int> places = Digits(name, i);
    if (!places || *places > 9) return std::nullopt;
    p.places = *places;
  }
  if (i != name.size()) return std::nullopt;
  return p;
}

std::string Grouped(std::string digits) {
  for (std::size_t at = digits.size(); at > 3; at -= 3) digits.insert(at - 3, 1, ',');
  return digits;
}

bool IsLeapYear(int y) { return (y % 4 == 0 && y % 100 != 0) || y % 400 == 0; }

bool DateExists(const LocalTime& t) {
  static constexpr int kDays[] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
  if (t.year < 0 || t.month < 1 || t.month > 12 || t.day < 1) return false;
  return t.day <= kDays[t.month - 1] + (t.month == 2 && IsLeapYear(t.year) ? 1 : 0);
}

bool TimeExists(const LocalTime& t) {
  return t.hour >= 0 && t.hour < 24 && t.minute >= 0 && t.minute < 60 && t.second >= 0 && t.second < 60;
}

std::string TwoDigits(int a, int b, int c = -1) {
  char text[40];
  if (c < 0) {
    std::snprintf(text, sizeof text, "%02d%02d", a, b);
  } else {
    std::snprintf(text, sizeof text, "%02d%02d%02d", a, b, c);
  }
  return text;
}

}  // namespace

std::string FormatNumber(double value, std::string_view picture) {
  const std::optional<NumericPicture> p = ParseNumeric(picture);
  if (!p) return {};
  const std::string overflow(static_cast<std::size_t>(p->width), '#');
  const double scale = std::pow(10.0, p->places);
  // A hair above the exact product, so that a decimal half such as 1.005 rounds up as it reads.
  const double scaled = std::round(std::fabs(value) * scale * (1 + 4 * DBL_EPSILON));
  if (!std::isfinite(scaled) || scaled >= 1e15) return overflow;
  const auto units = static_cast<long long>(scaled);
  const long long unit = static_cast<long long>(scale);
  std::string body = std::to_string(units / unit);
  if (p->fill == ' ') body = Grouped(body);
  if (p->places > 0) {
    std::string fraction = std::to_string(units % unit);
    body += '.' + std::string(static_cast<std::size_t>(p->places) - fraction.size(), '0') + fraction;
  }
  const std::string sign = value < 0 && units != 0 ? "-" : "";
  const std::size_t width = static_cast<std::size_t>(p->width);
  if (sign.size() + body.size() > width) return overflow;
  const std::size_t pad = width - sign.size() - body.size();
  if (p->fill == '0') return sign + std::string(pad, '0') + body;
  return std::string(pad, ' ') + sign + body;
}

std::string FormatDate(const LocalTime& t, std::string_view picture) {
  const std::string name = Name(picture);
  if (name == "d1") {
    if (!DateExists(t)) return std::string(8, ' ');
    char text[40];
    std::snprintf(text, sizeof text, "%02d/%02d/%02d", t.month, t.day, t.year % 100);
    return text;
  }
  if (name == "d11") return DateExists(t) ? TwoDigits(t.year % 100, t.month, t.day) : std::string(6, ' ');
  return {};
}

std::string FormatTime(const LocalTime& t, std::string_view picture) {
  const std::string name = Name(picture);
  if (name == "t2") return TimeExists(t) ? TwoDigits(t.hour, t.minute) : std::string(4, ' ');
  if (name == "t5") return TimeExists(t) ? TwoDigits(t.hour, t.minute, t.second) : std::string(6, ' ');
  return {};
}

double NumberOf(std::string_view text) {
  std::string number;
  for (char c : text)
    if (c != ',') number += c;
  const std::string whole = Clip(LeftJustify(number));
  if (whole.empty()) return 0;
  char* end = nullptr;
  const double value = std::strtod(whole.c_str(), &end);
  // Only plain decimal notation counts: strtod also takes hexadecimal, exponents and "inf".
  if (end != whole.c_str() + whole.size() || whole.find_first_not_of("+-.0123456789") != std::string::npos) return 0;
  return value;
}

}  // namespace qz
