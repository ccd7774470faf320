#include <gtest/gtest.h>

#include "fakes/held_file.h"
#include "runtime/text_file.h"

namespace qz {
namespace {

struct Store {
  explicit Store(std::string bytes) {
    disk.files["f.txt"] = std::move(bytes);
    file.Open("f.txt");
  }
  std::size_t Written() const {
    std::size_t n = 0;
    for (const std::string& w : disk.writes) n += w.size();
    return n;
  }
  fake::FakeHeldFile disk;
  TextFile file{disk};
};

TEST(text_file, rewritten_lines_keep_their_ends_and_every_other_byte) {
  struct Case {
    const char* before;
    std::vector<TextLine> edits;
    const char* after;
    std::vector<std::int64_t> positions;  // of the edited lines afterwards
  } cases[] = {
      {"a\r\n\r\nc\r\n", {{3, "!Version"}}, "a\r\n!Version\r\nc\r\n", {3}},  // longer
      {"abcdef\r\nz\r\n", {{0, "ab"}}, "ab    \r\nz\r\n", {0}},                   // shorter: padded in place
      {"a\nb\n", {{0, "!Version"}}, "!Version\nb\n", {0}},
      {"a\r\nb", {{3, "!Version"}}, "a\r\n!Version", {3}},
      {"a\r\nb\r\nc\r\n", {{0, "AA"}, {3, "b"}, {6, "CCC"}}, "AA\r\nb\r\nCCC\r\n", {0, 4, 7}},
      {"long one\r\nb\r\nc\r\n", {{0, "x"}, {10, "bb"}, {13, "c"}}, "x       \r\nbb\r\nc\r\n", {0, 10, 14}},
  };
  for (const Case& c : cases) {
    Store s(c.before);
    std::vector<TextLine> edits = c.edits;
    ASSERT_EQ(s.file.Rewrite(edits), FileError::None) << c.before;
    EXPECT_EQ(s.disk.files["f.txt"], c.after);
    std::vector<std::int64_t> positions;
    for (const TextLine& e : edits) positions.push_back(e.position);
    EXPECT_EQ(positions, c.positions) << c.before;
  }
}

TEST(text_file, writes_only_what_changes) {
  std::string bytes;
  for (int i = 0; i < 1000; ++i) bytes += "!Version  line " + std::to_string(i) + "\r\n";
  const std::string before = "!Version  line 999", last = "Version  last";
  const auto lastAt = static_cast<std::int64_t>(bytes.size());
  const auto beforeAt = lastAt - static_cast<std::int64_t>(before.size() + 2);
  bytes += last + "\r\n";
  struct Case {
    std::vector<TextLine> edits;
    std::size_t written;
  } cases[] = {
      {{{lastAt, "!Version last"}}, last.size()},                                 // in place: the line alone
      {{{lastAt, last}}, 0},                                                      // unchanged: nothing
      {{{beforeAt, before}, {lastAt, "!Version last"}}, last.size()},             // the changed one only
      {{{beforeAt, "Version  line 99"}, {lastAt, "!Version last"}}, before.size() + 2 + last.size()},
      {{{lastAt, last + "!!"}}, last.size() + 4},                                 // longer: the line and its end
      {{{beforeAt, before + "!"}}, before.size() + 3 + last.size() + 2},          // and all lines after it
  };
  for (const Case& c : cases) {
    Store s(bytes);
    std::vector<TextLine> edits = c.edits;
    ASSERT_EQ(s.file.Rewrite(edits), FileError::None);
    EXPECT_EQ(s.Written(), c.written) << c.edits.front().text;
    EXPECT_LE(s.disk.writes.size(), 1u);
  }
}

TEST(text_file, refuses_a_position_that_starts_no_line_and_a_text_of_two_lines) {
  Store s("a\r\nbb\r\n");
  std::vector<TextLine> midLine{{4, "z"}}, beyond{{7, "z"}}, twoLines{{0, "x\ny"}};
  EXPECT_EQ(s.file.Rewrite(midLine), FileError::RecordNotAvailable);
  EXPECT_EQ(s.file.Rewrite(beyond), FileError::RecordNotAvailable);
  EXPECT_EQ(s.file.Rewrite(twoLines), FileError::InvalidData);
  EXPECT_EQ(s.file.Append("x\ny"), FileError::InvalidData);
  std::string text;
  EXPECT_EQ(s.file.ReadLine(4, text), FileError::RecordNotAvailable);
  EXPECT_TRUE(s.disk.writes.empty());
}

TEST(text_file, appends_with_cr_lf_in_one_write_never_joining_the_last_line) {
  struct Case {
    const char *before, *after;
    std::int64_t position;
  } cases[] = {{"", "new\r\n", 0}, {"a\r\n", "a\r\nnew\r\n", 3}, {"a\n", "a\nnew\r\n", 2},
               {"a", "a\r\nnew\r\n", 3}, {"a\r", "a\r\nnew\r\n", 3}};
  for (const Case& c : cases) {
    Store s(c.before);
    std::int64_t position = -1;
    ASSERT_EQ(s.file.Append("new", &position), FileError::None);
    EXPECT_EQ(s.disk.files["f.txt"], c.after) << c.before;
    EXPECT_EQ(position, c.position) << c.before;
    EXPECT_EQ(s.disk.writes.size(), 1u);
  }
}

}  // namespace
}  // namespace qz
