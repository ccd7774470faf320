// Whole-file replacement over the real file API, in a temporary folder: the file is old or new, never
// half-written, keeps its attributes, and a file that may not be written stays as it was.
#include <windows.h>

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>

#include "runtime/files_win32.h"

namespace qz {
namespace {

namespace fs = std::filesystem;

class Replacing : public testing::Test {
 protected:
  Replacing() {
    fs::remove_all(dir_);
    fs::create_directories(dir_);
  }
  ~Replacing() override {
    for (const auto& entry : fs::directory_iterator(dir_))
      SetFileAttributesA(entry.path().string().c_str(), FILE_ATTRIBUTE_NORMAL);
    fs::remove_all(dir_);
  }
  std::string File(const char* name) const { return (dir_ / name).string(); }
  static std::string Get(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), {}};
  }
  std::size_t FilesInFolder() const {
    return static_cast<std::size_t>(std::distance(fs::directory_iterator(dir_), fs::directory_iterator()));
  }

  const fs::path dir_ = fs::temp_directory_path() / ("qzcl-replace-" + std::to_string(GetCurrentProcessId()));
  Win32Files files_;
};

TEST_F(Replacing, puts_the_new_bytes_in_place_keeping_attributes_and_leaves_no_temporary_file) {
  const std::string ini = File("C60EE.ini");
  std::ofstream(ini, std::ios::binary) << "[A]\r\nx=1\r\n";
  SetFileAttributesA(ini.c_str(), FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_ARCHIVE);
  EXPECT_EQ(ReplaceContent(files_, ini, "[A]\r\nx=2\r\n"), FileError::None);
  EXPECT_EQ(Get(ini), "[A]\r\nx=2\r\n");
  EXPECT_TRUE(GetFileAttributesA(ini.c_str()) & FILE_ATTRIBUTE_HIDDEN);

  const std::string fresh = File("new.red");
  EXPECT_EQ(ReplaceContent(files_, fresh, std::string("a\0b", 3)), FileError::None);
  EXPECT_EQ(Get(fresh), std::string("a\0b", 3));
  EXPECT_EQ(FilesInFolder(), 2u);
}

TEST_F(Replacing, a_file_that_may_not_be_written_stays_as_it_was) {
  const std::string readOnly = File("readonly.ini");
  std::ofstream(readOnly, std::ios::binary) << "kept";
  SetFileAttributesA(readOnly.c_str(), FILE_ATTRIBUTE_READONLY);
  EXPECT_EQ(ReplaceContent(files_, readOnly, "lost"), FileError::AccessDenied);
  EXPECT_EQ(Get(readOnly), "kept");

  const std::string locked = File("locked.ini");
  std::ofstream(locked, std::ios::binary) << "kept";
  {
    // Held open by another program that shares nothing.
    HANDLE other = CreateFileA(locked.c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr);
    ASSERT_NE(other, INVALID_HANDLE_VALUE);
    EXPECT_NE(ReplaceContent(files_, locked, "lost"), FileError::None);
    CloseHandle(other);
  }
  EXPECT_EQ(Get(locked), "kept");
  EXPECT_NE(ReplaceContent(files_, File("no folder\\x.ini"), "lost"), FileError::None);
  EXPECT_EQ(FilesInFolder(), 2u) << "no temporary file is left behind";
}

TEST_F(Replacing, device_names_are_not_files) {
  for (const char* name : {"NUL", "con", "C:\\x\\Com1.tpl", "LPT9 .txt"}) EXPECT_FALSE(files_.Exists(name)) << name;
  std::ofstream(File("a.tpl")) << "x";
  EXPECT_TRUE(files_.Exists(File("a.tpl")));
}

}  // namespace
}  // namespace qz
