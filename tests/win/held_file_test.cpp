// The held file over CreateFileA, in a temporary folder: sharing, and text lines as they reach the disk.
#include <windows.h>

#include <gtest/gtest.h>

#include "e2e/driver_win32.h"
#include "platform/held_file_win32.h"
#include "platform/text_file.h"

namespace qz {
namespace {

using e2e::ReadWholeFile;
using e2e::WriteWholeFile;

class HeldFileTest : public testing::Test {
 protected:
  std::string File(const std::string& name) const { return dir_.Path() + "\\" + name; }
  // Another program's attempt to open the file; true when the platform let it.
  static bool OthersMayOpen(const std::string& path, DWORD access) {
    return static_cast<bool>(UniqueFile(CreateFileA(path.c_str(), access, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                                                    OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr)));
  }

  e2e::TempDirectory dir_;
  Win32HeldFile held_;
  TextFile text_{held_};
};

TEST_F(HeldFileTest, others_may_read_but_not_write_while_it_is_open_and_a_file_others_write_is_never_held) {
  const std::string path = File("Version.qzi"), busy = File("busy.qzi");
  WriteWholeFile(path, "Version\r\n");
  ASSERT_EQ(text_.Open(path), FileError::None);
  EXPECT_TRUE(OthersMayOpen(path, GENERIC_READ));
  EXPECT_FALSE(OthersMayOpen(path, GENERIC_WRITE));
  EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_SHARING_VIOLATION));
  Win32HeldFile second;
  EXPECT_EQ(second.Open(path), FileError::SharingViolation);
  EXPECT_EQ(text_.Open(path), FileError::None);  // again by its holder, as after a change of file name
  text_.Close();
  EXPECT_TRUE(OthersMayOpen(path, GENERIC_WRITE));

  WriteWholeFile(busy, "x\r\n");
  UniqueFile writer(CreateFileA(busy.c_str(), GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_EXISTING,
                                FILE_ATTRIBUTE_NORMAL, nullptr));
  ASSERT_TRUE(writer);
  EXPECT_EQ(text_.Open(busy), FileError::SharingViolation);
  EXPECT_NE(text_.Create(busy), FileError::None);  // it exists: never replaced
  EXPECT_EQ(ReadWholeFile(busy), "x\r\n");
  // Missing files and folders are told apart; a new file is created empty.
  EXPECT_EQ(text_.Open(File("none.qzi")), FileError::NotFound);
  EXPECT_EQ(text_.Open(File("no-folder\\none.qzi")), FileError::PathNotFound);
  ASSERT_EQ(text_.Create(File("new.qzi")), FileError::None);
  EXPECT_FALSE(text_.IsOpen());
  EXPECT_EQ(ReadWholeFile(File("new.qzi")), "");
}

TEST_F(HeldFileTest, a_longer_line_leaves_its_neighbours_intact_and_lines_end_with_cr_lf) {
  const std::string path = File("Version.qzi");
  WriteWholeFile(path, "first\r\n\r\nthird\nlast");
  ASSERT_EQ(text_.Open(path), FileError::None);
  std::vector<TextLine> lines;
  ASSERT_EQ(text_.ReadLines(lines), FileError::None);
  ASSERT_EQ(lines.size(), 4u);
  std::vector<TextLine> edits{{lines[1].position, "!Version"}, {lines[3].position, "!Version"}};
  ASSERT_EQ(text_.Rewrite(edits), FileError::None);
  ASSERT_EQ(text_.Append("Version      EQUATE('1.00  0001')"), FileError::None);
  std::string text;
  ASSERT_EQ(text_.ReadLine(edits[1].position, text), FileError::None);
  EXPECT_EQ(text, "!Version");
  text_.Close();
  EXPECT_EQ(ReadWholeFile(path), "first\r\n!Version\r\nthird\n!Version\r\nVersion      EQUATE('1.00  0001')\r\n");
}

}  // namespace
}  // namespace qz
