#include <gtest/gtest.h>

#include <numeric>

#include "fakes/held_file.h"
#include "runtime/text_file.h"

namespace qz {
namespace {

struct Store {
  explicit Store(std::string bytes) {
    disk.files["f.txt"] = std::move(bytes);
    EXPECT_EQ(file.Open("f.txt"), FileError::None);
  }
  const std::string& Bytes() { return disk.files["f.txt"]; }
  std::size_t Written() const {
    return std::accumulate(disk.writes.begin(), disk.writes.end(), std::size_t{0},
                           [](std::size_t n, const std::string& w) { return n + w.size(); });
  }
  fake::FakeHeldFile disk;
  TextFile file{disk};
};

TEST(text_file, reads_lines_with_their_positions_whatever_ends_them) {
  struct Case {
    const char* bytes;
    std::vector<std::pair<std::int64_t, std::string>> lines;
  } cases[] = {
      {"a\r\nbb\ncc", {{0, "a"}, {3, "bb"}, {6, "cc"}}},
      {"\r\n\r\n", {{0, ""}, {2, ""}}},
      {"x\r", {{0, "x"}}},
      {"a\rb\r\n", {{0, "a\rb"}}},
      {"", {}},
  };
  for (const Case& c : cases) {
    Store s(c.bytes);
    std::vector<TextLine> lines;
    ASSERT_EQ(s.file.ReadLines(lines), FileError::None);
    std::vector<std::pair<std::int64_t, std::string>> read;
    for (const TextLine& l : lines) read.emplace_back(l.position, l.text);
    EXPECT_EQ(read, c.lines) << c.bytes;
    EXPECT_TRUE(s.disk.writes.empty());
  }
}

TEST(text_file, rewriting_lines_leaves_every_other_byte_as_it_was) {
  struct Case {
    const char* before;
    std::vector<TextLine> edits;
    const char* after;
    std::vector<std::int64_t> positions;  // of the edited lines afterwards
  } cases[] = {
      {"Version x\r\nB\r\n", {{0, "!ersion x"}}, "!ersion x\r\nB\r\n", {0}},
      {"a\r\n\r\nc\r\n", {{3, "!Version"}}, "a\r\n!Version\r\nc\r\n", {3}},  // longer
      {"abcdef\r\nz\r\n", {{0, "ab"}}, "ab    \r\nz\r\n", {0}},                   // shorter: padded in place
      {"a\nb\n", {{0, "!Version"}}, "!Version\nb\n", {0}},                         // keeps its LF
      {"a\r\nb", {{3, "!Version"}}, "a\r\n!Version", {3}},                         // and its missing end
      {"a\r\nb\r\nc\r\n", {{0, "AA"}, {3, "b"}, {6, "CCC"}}, "AA\r\nb\r\nCCC\r\n", {0, 4, 7}},
      {"long one\r\nb\r\nc\r\n", {{0, "x"}, {10, "bb"}, {13, "c"}}, "x       \r\nbb\r\nc\r\n", {0, 10, 14}},
  };
  for (const Case& c : cases) {
    Store s(c.before);
    std::vector<TextLine> edits = c.edits;
    ASSERT_EQ(s.file.Rewrite(edits), FileError::None) << c.before;
    EXPECT_EQ(s.Bytes(), c.after);
    std::vector<std::int64_t> positions;
    for (const TextLine& e : edits) positions.push_back(e.position);
    EXPECT_EQ(positions, c.positions) << c.before;
    for (const TextLine& e : edits) {
      std::string text;
      EXPECT_EQ(s.file.ReadLine(e.position, text), FileError::None);
      EXPECT_EQ(text.substr(0, e.text.size()), e.text);
    }
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
    std::int64_t position;
    std::string text;
    std::size_t written;
  } cases[] = {
      {lastAt, "!Version last", last.size()},            // in place: the line alone
      {lastAt, last, 0},                                 // unchanged: nothing
      {lastAt, last + "!!", last.size() + 4},            // longer: the line and its end
      {beforeAt, before + "!", before.size() + 3 + last.size() + 2},  // longer: the line and all after it
  };
  for (const Case& c : cases) {
    Store s(bytes);
    std::vector<TextLine> edit{{c.position, c.text}};
    ASSERT_EQ(s.file.Rewrite(edit), FileError::None);
    EXPECT_EQ(s.Written(), c.written) << c.text;
    EXPECT_LE(s.disk.writes.size(), 1u);
  }
}

TEST(text_file, refuses_what_would_break_lines_and_writes_nothing) {
  Store s("a\r\nbb\r\n");
  std::vector<TextLine> splits{{0, "x\ny"}}, midLine{{4, "z"}}, beyond{{7, "z"}}, unordered{{3, "x"}, {0, "y"}};
  EXPECT_EQ(s.file.Rewrite(splits), FileError::InvalidData);
  EXPECT_EQ(s.file.Rewrite(unordered), FileError::InvalidData);
  EXPECT_EQ(s.file.Rewrite(midLine), FileError::RecordNotAvailable);
  EXPECT_EQ(s.file.Rewrite(beyond), FileError::RecordNotAvailable);
  EXPECT_EQ(s.file.Append("x\ny"), FileError::InvalidData);
  EXPECT_TRUE(s.disk.writes.empty());
  std::string text;
  EXPECT_EQ(s.file.ReadLine(4, text), FileError::RecordNotAvailable);
  s.file.Close();
  EXPECT_EQ(s.file.ReadLine(0, text), FileError::NotOpen);
  EXPECT_EQ(s.file.Append("x"), FileError::NotOpen);
}

TEST(text_file, reads_a_line_longer_than_one_read_whole) {
  const std::string line(5000, 'x');
  Store s("a\r\n" + line + "\nb");
  std::string text;
  ASSERT_EQ(s.file.ReadLine(3, text), FileError::None);
  EXPECT_EQ(text, line);
}

TEST(text_file, appends_a_line_with_cr_lf_in_one_write_never_joining_the_last_line) {
  struct Case {
    const char* before;
    const char* after;
    std::int64_t position;
  } cases[] = {
      {"", "new\r\n", 0},
      {"a\r\n", "a\r\nnew\r\n", 3},
      {"a\n", "a\nnew\r\n", 2},
      {"a", "a\r\nnew\r\n", 3},
      {"a\r", "a\r\nnew\r\n", 3},
  };
  for (const Case& c : cases) {
    Store s(c.before);
    std::int64_t position = -1;
    ASSERT_EQ(s.file.Append("new", &position), FileError::None);
    EXPECT_EQ(s.Bytes(), c.after) << c.before;
    EXPECT_EQ(position, c.position) << c.before;
    EXPECT_EQ(s.disk.writes.size(), 1u);
  }
}

}  // namespace
}  // namespace qz
