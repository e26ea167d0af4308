// driver/text_test.cc
#include "driver/text.h"

#include <gtest/gtest.h>

namespace kovran {
namespace {

TEST(ComparePadded, ShorterIsBlankExtended) {
  EXPECT_EQ(compare_padded("ABC", "ABC  "), 0);
  EXPECT_LT(compare_padded("AB", "AB!"), 0);  // '!' (0x21) is above the blank
  EXPECT_GT(compare_padded("AB\x01", "AB"), -1000);
  EXPECT_LT(compare_padded("AB\x01", "AB"), 0);  // 0x01 is below the blank
  EXPECT_GT(compare_padded("a", "A"), 0);
  EXPECT_GT(compare_padded("\xFF", "Z"), 0);  // bytes compare unsigned
}

TEST(LowFourBits, ColumnTexts) {
  EXPECT_EQ(low_four_bits_number("", 4), 0);
  EXPECT_EQ(low_four_bits_number("7", 4), 7);
  EXPECT_EQ(low_four_bits_number("0012", 4), 12);
  EXPECT_EQ(low_four_bits_number("12345", 4), 2345);  // only the last four count
  EXPECT_EQ(low_four_bits_number(" 7", 4), 7);        // a blank counts as 0
  EXPECT_EQ(low_four_bits_number("A", 4), 1);         // 'A' is 0x41
}

}  // namespace
}  // namespace kovran
