#include <gtest/gtest.h>

#include "text/ini_document.h"

namespace qz {
namespace {

// Each file is changed by one call and must come out byte for byte as expected.
TEST(ini_document, changes_only_the_lines_of_the_keys_it_sets) {
  // What the case shows, the bytes before, the key set to the value, the bytes after.
  const std::tuple<const char*, std::string, const char*, const char*, const char*, std::string> cases[] = {
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
  for (const auto& [name, before, section, key, value, after] : cases) {
    IniDocument doc(before);
    EXPECT_EQ(doc.Bytes(), before) << name << ": read and written unchanged";
    doc.Set(section, key, value);
    EXPECT_EQ(doc.Bytes(), after) << name;
    EXPECT_EQ(doc.Changed(), before != after) << name;
    EXPECT_EQ(doc.Get(section, key), value) << name;
  }
}

TEST(ini_document, reads_as_the_profile_service_reads) {
  const IniDocument doc(
      "k=before any section\r\n[ Paths ]\r\n Libsrc = 'C:\\ABC' \r\n;Commented=1\r\nEmpty=\r\nOne=\"\r\n[PATHS]\r\n"
      "Later=1\r\n");
  // A lone quote character is no pair; {}: not read, as a key in a repeated section or before any section.
  const std::tuple<const char*, const char*, std::optional<std::string>> reads[] = {
      {"paths", "LIBSRC", "C:\\ABC"}, {"Paths", "Empty", ""}, {"Paths", "One", "\""}, {"Paths", ";Commented", {}},
      {"Paths", "Later", {}},         {"", "k", {}},          {"Other", "k", {}}};
  for (const auto& [section, key, value] : reads) EXPECT_EQ(doc.Get(section, key), value) << section << "|" << key;
}

TEST(ini_document, removing_gives_back_the_bytes_before_the_key_was_added) {
  for (std::string before : {"[A]\r\nx=1\r\n", "[A]\r\nx=1", "; only a comment", "", "[A]\nx=1\n[B]\n"}) {
    IniDocument doc(before);
    doc.Set("A", "added", "v");
    doc.Set("Fresh", "k", "v");
    EXPECT_TRUE(doc.Remove("A", "added") && doc.Remove("Fresh", "k") && doc.RemoveSectionIfEmpty("Fresh"));
    EXPECT_EQ(doc.RemoveSectionIfEmpty("A"), before.find("[A]") == std::string::npos);  // a section with x=1 stays
    EXPECT_EQ(doc.Bytes(), before);
    EXPECT_FALSE(doc.Remove("A", "added")) << "a second removal finds nothing";
  }
  IniDocument kept("[A]\r\n\r\n[B]\r\n");
  EXPECT_FALSE(kept.RemoveSectionIfEmpty("A")) << "a blank line is still a line of the section";
}

}  // namespace
}  // namespace qz
