// The profile adapter over the Windows profile API, in a temporary folder.
#include <windows.h>

#include <gtest/gtest.h>

#include "e2e/driver_win32.h"
#include "platform/profile.h"
#include "platform/profile_win32.h"

namespace qz {
namespace {

// The adapter reads a value whole however long; ReadIni cuts it to its fixed 1023.
TEST(ini, long_values_are_read_whole_by_the_adapter_and_cut_to_1023_by_getini) {
  e2e::TempDirectory dir;
  Win32Profile profile;
  const std::string file = dir.Path() + "\\a.ini";
  std::string value;  // numbered, to show where a cut fell
  while (value.size() < 5000) value += std::to_string(value.size()) + ",";
  WritePrivateProfileStringA("Long", "Value", value.c_str(), file.c_str());
  EXPECT_EQ(profile.Read(file, "Long", "Value", ""), value);
  EXPECT_EQ(ReadIni(profile, file, "Long", "Value", ""), value.substr(0, 1023));
}

}  // namespace
}  // namespace qz
