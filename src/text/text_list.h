// Lines of a text file and ";"-separated lists, as the commands that add to them read them.
#pragma once
#include <string>
#include <string_view>
#include <vector>

namespace qz {

// How a line ends. Text: a LF or a CR LF; a CR anywhere else is text (a hand-written file may hold one), but
// one that ends the bytes ends the last line. Profile: a lone CR ends a line too, as the profile functions
// read INI files.
enum class LineEnds { Text, Profile };

// A line as it stands in the bytes: its text and its line end, empty for a last line without one.
struct LineView {
  std::string_view text, end;
  std::string_view Whole() const { return {text.data(), text.size() + end.size()}; }
};

// The one line splitter: the line at the start of bytes, and every line of bytes (the last one too when it has
// no line end).
LineView FirstLine(std::string_view bytes, LineEnds ends = LineEnds::Text);
std::vector<LineView> SplitLines(std::string_view bytes, LineEnds ends = LineEnds::Text);
// The texts of the lines of a text file.
std::vector<std::string_view> Lines(std::string_view bytes);

// bytes without the lines for which drop (given a line's text) is true; every other byte stays.
template <typename Drop>
std::string WithoutLines(std::string_view bytes, Drop drop) {
  std::string kept;
  for (const LineView& line : SplitLines(bytes))
    if (!drop(line.text)) kept += line.Whole();
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
