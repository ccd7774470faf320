// List-box format strings: one column after another, each with its width, alignment, header,
// display picture and the field it shows, as "129L(2)|_M~Menu~@s255@#1#".
#pragma once
#include <string>
#include <string_view>
#include <vector>

namespace qz {

struct ListColumn {
  int width = 0;     // dialog units
  char align = 'L';  // L, R, C or D
  int indent = 0;
  bool rightBorder = false, underline = false, resizable = false;
  std::string header;
  std::string picture;  // "s255", "n_3", ...
  int field = 0;        // 1-based field of the queue record; 0 when not given
};

// The columns of format, in order; modifiers the list does not use are skipped.
std::vector<ListColumn> ParseListFormat(std::string_view format);

// How many characters a string picture shows ("s80" shows 80); 0 when picture is not a string picture.
std::size_t StringPictureWidth(std::string_view picture);

}  // namespace qz
