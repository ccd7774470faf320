#include <gtest/gtest.h>

#include "runtime/pictures.h"

namespace qz {
namespace {

TEST(pictures, numbers_fill_their_width_and_overflow_as_hashes) {
  struct Case {
    const char* picture;
    double value;
    const char* shown;
  } cases[] = {
      {"n04", 2, "0002"},          {"n04", 0, "0000"},         {"n04", 9999, "9999"},
      {"n04", 10000, "####"},      {"n04", -5, "-005"},        {"n04", 41.5, "0042"},
      {"@N04", 7, "0007"},         {"n4.2", 1, "1.00"},        {"n4.2", 0.5, "0.50"},
      {"n4.2", 9.999, "####"},     {"n4.2", 10, "####"},       {"n4.2", 1.005, "1.01"},
      {"n4.2", -0.001, "0.00"},    {"n4.2", -1, "####"},       {"n04.2", 1, "1.00"},
      {"n04.2", 0.07, "0.07"},     {"n06.2", 3.5, "003.50"},   {"n06.2", -3.5, "-03.50"},
      {"n5.2", 1, " 1.00"},        {"n5.2", 9.99, " 9.99"},    {"n5.2", 10, "10.00"},
      {"n5.2", 100, "#####"},      {"n_3", 7, "  7"},          {"n_3", 0, "  0"},
      {"n_3", 999, "999"},         {"n_3", 1000, "###"},       {"n_6", 12345, " 12345"},
      {"n9.2", 1234.5, " 1,234.50"}, {"n7", -1234567, "#######"}, {"n10", -1234567, "-1,234,567"},
  };
  for (const Case& c : cases) EXPECT_EQ(FormatNumber(c.value, c.picture), c.shown) << c.picture << " " << c.value;
  for (const char* other : {"", "n", "n_", "n0", "n4.", "n4.2x", "s20", "d1"}) EXPECT_EQ(FormatNumber(1, other), "");
}

TEST(pictures, dates_and_times_have_two_digits_a_part) {
  struct Case {
    LocalTime t;
    const char *d1, *d11, *t2, *t5;
  } cases[] = {
      {{2006, 12, 5, 10, 30, 0}, "12/05/06", "061205", "1030", "103000"},
      {{2006, 11, 2, 14, 30, 5}, "11/02/06", "061102", "1430", "143005"},
      {{2009, 1, 9, 0, 0, 0}, "01/09/09", "090109", "0000", "000000"},
      {{2000, 2, 29, 23, 59, 59}, "02/29/00", "000229", "2359", "235959"},
      {{2100, 2, 29, 24, 0, 0}, "        ", "      ", "    ", "      "},  // neither exists
      {{2024, 13, 1, 9, 60, 0}, "        ", "      ", "    ", "      "},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(FormatDate(c.t, "d1"), c.d1);
    EXPECT_EQ(FormatDate(c.t, "@D11"), c.d11);
    EXPECT_EQ(FormatTime(c.t, "t2"), c.t2);
    EXPECT_EQ(FormatTime(c.t, "@T5"), c.t5);
  }
  EXPECT_EQ(FormatDate({2006, 1, 1}, "d2"), "");
  EXPECT_EQ(FormatTime({2006, 1, 1}, "d1"), "");
}

TEST(pictures, texts_count_as_numbers_only_when_they_are_numbers) {
  struct Case {
    const char* text;
    double value;
  } cases[] = {
      {"0041", 41}, {" 41 ", 41}, {"1.00 ", 1}, {"9.99", 9.99}, {"-3", -3}, {"1,234.5", 1234.5},
      {"", 0},      {"    ", 0},  {"12ab", 0},  {"ext o", 0},   {"1e3", 0}, {"0x10", 0},
  };
  for (const Case& c : cases) EXPECT_DOUBLE_EQ(NumberOf(c.text), c.value) << c.text;
}

}  // namespace
}  // namespace qz
