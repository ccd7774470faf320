// The held file over CreateFileA, in a temporary folder: sharing, and text lines as they reach the disk.
#include <windows.h>

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>

#include "runtime/held_file_win32.h"
#include "runtime/text_file.h"

namespace qz {
namespace {

class HeldFileTest : public testing::Test {
 protected:
  HeldFileTest() {
    std::filesystem::remove_all(dir_);  // what a crashed earlier run left
    std::filesystem::create_directories(dir_);
  }
  ~HeldFileTest() override {
    held_.Close();
    std::filesystem::remove_all(dir_);
  }
  std::string File(const std::string& name) const { return dir_ + "\\" + name; }
  void Put(const std::string& path, const std::string& bytes) {
    std::ofstream(path, std::ios::binary) << bytes;
  }
  static std::string Get(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), {}};
  }
  // Another program's attempt to open the file; true when the platform let it.
  static bool OthersMayOpen(const std::string& path, DWORD access) {
    UniqueFile other(CreateFileA(path.c_str(), access, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_EXISTING,
                                 FILE_ATTRIBUTE_NORMAL, nullptr));
    return static_cast<bool>(other);
  }

  const std::string dir_ =
      (std::filesystem::temp_directory_path() / ("qzcl-held-" + std::to_string(GetCurrentProcessId()))).string();
  Win32HeldFile held_;
  TextFile text_{held_};
};

TEST_F(HeldFileTest, others_may_read_but_not_write_while_it_is_open) {
  const std::string path = File("Version.qzi");
  Put(path, "Version\r\n");
  ASSERT_EQ(text_.Open(path), FileError::None);
  EXPECT_TRUE(OthersMayOpen(path, GENERIC_READ));
  EXPECT_FALSE(OthersMayOpen(path, GENERIC_WRITE));
  EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_SHARING_VIOLATION));
  Win32HeldFile second;
  EXPECT_EQ(second.Open(path), FileError::SharingViolation);
  EXPECT_EQ(text_.Open(path), FileError::None);  // again by its holder, as after a change of file name
  text_.Close();
  EXPECT_TRUE(OthersMayOpen(path, GENERIC_WRITE));
}

TEST_F(HeldFileTest, a_file_another_program_writes_cannot_be_held) {
  const std::string path = File("busy.qzi");
  Put(path, "x\r\n");
  UniqueFile writer(CreateFileA(path.c_str(), GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                                OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
  ASSERT_TRUE(writer);
  EXPECT_EQ(text_.Open(path), FileError::SharingViolation);
  EXPECT_NE(text_.Create(path), FileError::None);  // it exists: never replaced
  EXPECT_EQ(Get(path), "x\r\n");
}

TEST_F(HeldFileTest, missing_files_and_folders_are_told_apart_and_created_empty) {
  EXPECT_EQ(text_.Open(File("none.qzi")), FileError::NotFound);
  EXPECT_EQ(text_.Open(File("no-folder\\none.qzi")), FileError::PathNotFound);
  ASSERT_EQ(text_.Create(File("new.qzi")), FileError::None);
  EXPECT_FALSE(text_.IsOpen());
  ASSERT_EQ(text_.Open(File("new.qzi")), FileError::None);
  std::vector<TextLine> lines;
  EXPECT_EQ(text_.ReadLines(lines), FileError::None);
  EXPECT_TRUE(lines.empty());
}

TEST_F(HeldFileTest, a_longer_line_leaves_its_neighbours_intact_and_lines_end_with_cr_lf) {
  const std::string path = File("Version.qzi");
  Put(path, "first\r\n\r\nthird\nlast");
  ASSERT_EQ(text_.Open(path), FileError::None);
  std::vector<TextLine> lines;
  ASSERT_EQ(text_.ReadLines(lines), FileError::None);
  ASSERT_EQ(lines.size(), 4u);
  std::vector<TextLine> edits{{lines[1].position, "!Version"}, {lines[3].position, "!Version"}};
  ASSERT_EQ(text_.Rewrite(edits), FileError::None);
  ASSERT_EQ(text_.Append("Version             EQUATE('1.00  0001')"), FileError::None);
  std::string text;
  ASSERT_EQ(text_.ReadLine(edits[1].position, text), FileError::None);
  EXPECT_EQ(text, "!Version");
  text_.Close();
  EXPECT_EQ(Get(path), "first\r\n!Version\r\nthird\n!Version\r\nVersion             EQUATE('1.00  0001')\r\n");
}

}  // namespace
}  // namespace qz
