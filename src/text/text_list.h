// Lines of a text file and ";"-separated lists, as the commands that add to them read them.
#pragma once
#include <string>
#include <string_view>
#include <vector>

namespace qz {

// The lines of a file's bytes, ended by CR LF or LF alone; a last line without its end counts too.
std::vector<std::string_view> Lines(std::string_view bytes);

// bytes without the lines (as Lines splits them) for which drop is true, each with its line end; every other
// byte stays.
template <typename Drop>
std::string WithoutLines(std::string_view bytes, Drop drop) {
  std::string kept;
  while (!bytes.empty()) {
    const auto end = bytes.find('\n');
    const std::string_view whole = bytes.substr(0, end == std::string_view::npos ? end : end + 1);
    std::string_view line = bytes.substr(0, end);
    if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
    if (!drop(line)) kept += whole;
    bytes.remove_prefix(whole.size());
  }
  return kept;
}

// The items of a ";"-separated list, as they stand (blanks included).
std::vector<std::string_view> SplitList(std::string_view list);

// Whether item is a whole item of the ";"-separated list. Blanks around an item and one trailing
// backslash do not count, so C:\Tools is in "C:\A; C:\Tools\" but not in "C:\Tools2".
bool ListHolds(std::string_view list, std::string_view item, bool ignoreCase);

// The list without any item that is an item of the ";"-separated items (compared as ListHolds compares): each
// item taken out goes with one of its ";", and the other items keep their exact text, blanks and order.
std::string ListWithout(std::string_view list, std::string_view items, bool ignoreCase);

}  // namespace qz
