// Lines of a text file and ";"-separated lists, as the commands that add to them read them.
#pragma once
#include <string_view>
#include <vector>

namespace qz {

// The lines of a file's bytes, ended by CR LF or LF alone; a last line without its end counts too.
std::vector<std::string_view> Lines(std::string_view bytes);

// Whether item is a whole item of the ";"-separated list. Blanks around an item and one trailing
// backslash do not count, so C:\Tools is in "C:\A; C:\Tools\" but not in "C:\Tools2".
bool ListHolds(std::string_view list, std::string_view item, bool ignoreCase);

}  // namespace qz
