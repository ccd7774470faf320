#include <gtest/gtest.h>

#include "editor/editor_window.h"
#include "runtime/list_format.h"

namespace qz {
namespace {

TEST(list_format, reads_columns_headers_pictures_and_fields) {
  auto types = ParseListFormat(SectionFormat("File Types"));
  ASSERT_EQ(types.size(), 4u);
  EXPECT_EQ(types[2].width, 60);
  EXPECT_EQ(types[2].header, "AppRef");
  EXPECT_EQ(StringPictureWidth(types[2].picture), 80u);  // the AppRef column shows at most 80 characters
  EXPECT_EQ(types[3].field, 4);
  EXPECT_EQ(types[3].indent, 2);
  EXPECT_TRUE(types[3].rightBorder && types[3].underline && types[3].resizable);
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
