#include <gtest/gtest.h>

#include "text/ini_document.h"

namespace qz {
namespace {

// Each file is changed by one call and must come out byte for byte as expected.
TEST(ini_document, changes_only_the_lines_of_the_keys_it_sets) {
  struct Case {
    const char* name;
    std::string before;
    const char* section;
    const char* key;
    const char* value;
    std::string after;
  } cases[] = {
      {"comments, blank lines and spacing stay", "; top\r\n[A]\r\n; c\r\n  Key  =  old  \r\n\r\n[B]\r\nx=1\r\n", "a",
       "KEY", "new", "; top\r\n[A]\r\n; c\r\n  Key  =  new  \r\n\r\n[B]\r\nx=1\r\n"},
      {"a new key goes after the section's last key, before its trailing comment", "[A]\r\nx=1\r\n; end\r\n\r\n[B]\r\n",
       "A", "y", "2", "[A]\r\nx=1\r\ny=2\r\n; end\r\n\r\n[B]\r\n"},
      {"a new key in a section without keys follows its header", "[A]\r\n[B]\r\n", "A", "k", "v",
       "[A]\r\nk=v\r\n[B]\r\n"},
      {"a new section at the end, without a final line end kept", "[A]\nx=1", "New", "k", "v", "[A]\nx=1\n[New]\nk=v"},
      {"an empty file", "", "S", "k", "v", "[S]\r\nk=v\r\n"},
      {"the first of two equal sections and keys is the one read", "[A]\r\nk=1\r\nk=2\r\n[a]\r\nk=3\r\n", "A", "k", "9",
       "[A]\r\nk=9\r\nk=2\r\n[a]\r\nk=3\r\n"},
      {"enclosing quotes stay", "[A]\r\nk = \"C:\\a b\" \r\n", "A", "k", "C:\\x", "[A]\r\nk = \"C:\\x\" \r\n"},
      {"blanking a value", "[A]\r\nk=abc\r\n", "A", "k", "", "[A]\r\nk=\r\n"},
      {"CR-only line ends and bytes that are not text", std::string("[A]\rk=1\r\xFF\x01z\x00\r", 13), "A", "k", "2",
       std::string("[A]\rk=2\r\xFF\x01z\x00\r", 13)},
      {"a line without \"=\" is a key without a value", "[A]\r\nlonely\r\n", "A", "LONELY", "v", "[A]\r\nlonely=v\r\n"},
      {"the same value changes nothing", "[A]\r\nk = v\r\n", "A", "k", "v", "[A]\r\nk = v\r\n"},
  };
  for (const auto& c : cases) {
    IniDocument doc(c.before);
    EXPECT_EQ(doc.Bytes(), c.before) << c.name << ": read and written unchanged";
    doc.Set(c.section, c.key, c.value);
    EXPECT_EQ(doc.Bytes(), c.after) << c.name;
    EXPECT_EQ(doc.Changed(), c.before != c.after) << c.name;
    EXPECT_EQ(doc.Get(c.section, c.key), c.value) << c.name;
  }
}

TEST(ini_document, reads_as_the_profile_service_reads) {
  const IniDocument doc(
      "k=before any section\r\n[ Paths ]\r\n Libsrc = 'C:\\ABC' \r\n;Commented=1\r\nEmpty=\r\nOne=\"\r\n[PATHS]\r\n"
      "Later=1\r\n");
  EXPECT_EQ(doc.Get("paths", "LIBSRC"), "C:\\ABC");
  EXPECT_EQ(doc.Get("Paths", "Empty"), "");
  EXPECT_EQ(doc.Get("Paths", "One"), "\"");  // a single quote character is no pair
  EXPECT_EQ(doc.Get("Paths", ";Commented"), std::nullopt);
  EXPECT_EQ(doc.Get("Paths", "Later"), std::nullopt);  // in a repeated section
  EXPECT_EQ(doc.Get("", "k"), std::nullopt);
  EXPECT_EQ(doc.Get("Other", "k"), std::nullopt);
}

TEST(ini_document, removing_gives_back_the_bytes_before_the_key_was_added) {
  for (std::string before : {"[A]\r\nx=1\r\n", "[A]\r\nx=1", "; only a comment", "", "[A]\nx=1\n[B]\n"}) {
    IniDocument doc(before);
    doc.Set("A", "added", "v");
    doc.Set("Fresh", "k", "v");
    EXPECT_TRUE(doc.Remove("A", "added"));
    EXPECT_TRUE(doc.Remove("Fresh", "k"));
    EXPECT_TRUE(doc.RemoveSectionIfEmpty("Fresh"));
    if (before.find("[A]") == std::string::npos) {
      EXPECT_TRUE(doc.RemoveSectionIfEmpty("A"));
    }
    EXPECT_EQ(doc.Bytes(), before);
    EXPECT_FALSE(doc.Remove("A", "added")) << "a second removal finds nothing";
  }
  IniDocument kept("[A]\r\n\r\n[B]\r\n");
  EXPECT_FALSE(kept.RemoveSectionIfEmpty("A")) << "a blank line is still a line of the section";
}

}  // namespace
}  // namespace qz
