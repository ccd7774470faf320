#include <gtest/gtest.h>

#include "editor/editor_window.h"
#include "runtime/list_format.h"

namespace qz {
namespace {

TEST(list_format, reads_every_column_of_the_section_layouts) {
  struct Case {
    const char* section;
    std::vector<int> widths;
    std::vector<std::string> headers;
    std::vector<std::size_t> shown;  // characters each column shows
  };
  const Case cases[] = {
      {"User Menus", {129, 60, 20}, {"Menu", "AppRef", "Command Line"}, {255, 255, 255}},
      {"File Types", {129, 80, 60, 120}, {"Menu", "Mask", "AppRef", "User Application"}, {255, 255, 80, 255}},
      {"Translations", {178, 60}, {"Source String", "Replacement String"}, {255, 255}},
  };
  for (const Case& c : cases) {
    auto columns = ParseListFormat(SectionFormat(c.section));
    ASSERT_EQ(columns.size(), c.widths.size()) << c.section;
    for (std::size_t i = 0; i < columns.size(); ++i) {
      EXPECT_EQ(columns[i].width, c.widths[i]);
      EXPECT_EQ(columns[i].header, c.headers[i]);
      EXPECT_EQ(StringPictureWidth(columns[i].picture), c.shown[i]);
      EXPECT_EQ(columns[i].field, static_cast<int>(i + 1));
      EXPECT_EQ(columns[i].indent, 2);
      EXPECT_TRUE(columns[i].rightBorder && columns[i].underline && columns[i].resizable);
    }
  }
  // A translated header may hold what the format uses elsewhere; a column without a field still counts.
  auto odd = ParseListFormat("40R~Größe #1~@n_3@30C(4)~B~");
  ASSERT_EQ(odd.size(), 2u);
  EXPECT_EQ(odd[0].header, "Größe #1");
  EXPECT_EQ(odd[0].align, 'R');
  EXPECT_EQ(StringPictureWidth(odd[0].picture), 0u);
  EXPECT_EQ(odd[1].indent, 4);
  EXPECT_EQ(odd[1].field, 0);
}

}  // namespace
}  // namespace qz
