// fields/decimal_test.cc
#include "fields/decimal.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <string>
#include <vector>

namespace kovran {
namespace {

constexpr std::uint64_t kNines = 999'999'999'999'999;  // the largest 15-digit number

std::uint64_t power_of_ten(std::size_t n) {
  std::uint64_t p = 1;
  while (n-- > 0) p *= 10;
  return p;
}

TEST(Decimal, OperandTextsAreZeroFilledOnTheLeft) {
  EXPECT_EQ(zero_filled(""), "000000000000000");
  EXPECT_EQ(zero_filled("5"), "000000000000005");
  EXPECT_EQ(zero_filled("123456789012345"), "123456789012345");
  EXPECT_EQ(zero_filled("A1"), "0000000000000A1");  // no checking here
  EXPECT_EQ(digits_value("000000000000000"), 0u);
  EXPECT_EQ(digits_value("999999999999999"), kNines);
  EXPECT_EQ(digits_value("000000000000010"), 10u);
  for (const char* bad :
       {"0000000000000 1", "00000000000001A", "-00000000000001", "0000000000001.5", "/", ":"}) {
    SCOPED_TRACE(bad);
    EXPECT_FALSE(digits_value(bad).has_value());
  }
}

// The eight-at-a-time reading agrees with the plain one on every length, for every character
// that is a digit, a blank, or a near miss at any position (bytes beyond the text are ignored).
TEST(Decimal, DigitsReadEightAtATimeAsOneAtATime) {
  for (std::size_t n = 0; n <= kDigits; ++n) {
    for (std::size_t at = 0; at < std::max<std::size_t>(n, 1); ++at) {
      for (const char c : {'7', ' ', '/', ':', 'A', '\xB0', '\x10', '\xFF'}) {
        char buffer[32];
        std::memset(buffer, 'x', sizeof buffer);  // what follows the text must not count
        std::memcpy(buffer, "918273645546372", n);
        if (n > 0)
          buffer[at] = c;
        const std::string_view text(buffer, n);
        for (const bool blanks : {false, true}) {
          SCOPED_TRACE(std::string(text) + (blanks ? " blanks as zeros" : ""));
          EXPECT_EQ(digits_value_in_buffer(buffer, n, blanks), digits_value(text, blanks));
          EXPECT_EQ(digit_places(buffer, n, blanks).has_value(),
                    digits_value(text, blanks).has_value());
        }
      }
    }
  }
}

// The sum made place by place is the sum of the numbers, cut to the accumulator's width, and
// overflows exactly when 15 digits do not hold it: every carry chain, every width, blanks in B.
TEST(Decimal, PlaceSumsAreTheSumsOfTheNumbers) {
  std::vector<std::uint64_t> values = {0, 1, 9, kNines, kNines - 1, 500'000'000'000'000};
  for (std::uint64_t p = 10; p < kDecimalLimit; p *= 10) values.insert(values.end(), {p - 1, p});
  std::uint64_t x = 12345;
  for (int k = 0; k < 60; ++k) {
    x = x * 6364136223846793005 + 1442695040888963407;
    values.push_back((x >> 11) % kDecimalLimit >> (k % 50));
  }
  const auto text_of = [](std::uint64_t v, std::size_t width, bool blank_zeros) {
    std::string t(edit_whole(v).view().substr(kDigits - width));
    for (std::size_t k = 0; blank_zeros && k + 1 < t.size() && t[k] == '0'; ++k) t[k] = ' ';
    t.resize(32, 'x');  // what follows the text must not count
    return t;
  };
  for (const std::uint64_t a : values) {
    for (const std::uint64_t b : values) {
      for (std::size_t width = 0; width <= kDigits; ++width) {
        SCOPED_TRACE(std::to_string(b) + " + " + std::to_string(a) + " width " +
                     std::to_string(width));
        const std::uint64_t cut = b % power_of_ten(width);
        const std::string bt = text_of(cut, width, (a ^ b) & 1);
        const std::size_t a_width = (width * 7 + a) % (kDigits + 1);  // every width of A too
        const std::uint64_t a_cut = a % power_of_ten(a_width);
        const std::string at = text_of(a_cut, a_width, false);
        const std::optional<DigitPlaces> sum = add_places(*digit_places(bt.data(), width, true),
                                                          *digit_places(at.data(), a_width, false));
        const DecimalResult want = decimal_add(cut, a_cut);
        ASSERT_EQ(sum.has_value(), want.fault == DecimalFault::kNone);
        if (!sum)
          continue;
        char got[kDigits] = {};
        put_places(*sum, width, got);
        EXPECT_EQ(std::string_view(got, width),
                  edit_whole(want.value).view().substr(kDigits - width));
      }
    }
  }
}

TEST(Decimal, AddAndSubtractStayWithinFifteenDigits) {
  EXPECT_EQ(decimal_add(999, 1).value, 1000u);  // the caller drops the carry, not the adder
  EXPECT_EQ(decimal_add(kNines - 1, 1).value, kNines);
  EXPECT_EQ(decimal_add(kNines, 1).fault, DecimalFault::kOverflow);
  EXPECT_EQ(decimal_add(kNines, kNines).fault, DecimalFault::kOverflow);
  EXPECT_EQ(decimal_subtract(10, 2).value, 8u);
  EXPECT_EQ(decimal_subtract(2, 2).value, 0u);
  EXPECT_EQ(decimal_subtract(kNines, kNines - 1).value, 1u);
  EXPECT_EQ(decimal_subtract(2, 3).fault, DecimalFault::kNegative);
}

TEST(Decimal, ProductMustFitFifteenMinusDecimalsDigits) {
  EXPECT_EQ(decimal_multiply(150, 3, 0).value, 450u);
  EXPECT_EQ(decimal_multiply(150, 3, 2).value, 450u);  // a whole product is unchanged by d
  EXPECT_EQ(decimal_multiply(0, kNines, 6).value, 0u);
  EXPECT_EQ(decimal_multiply(kNines, 1, 0).value, kNines);
  // For each d the largest product allowed is 15 - d nines; one more overflows.
  std::uint64_t limit = 1'000'000'000'000'000;
  for (int d = 0; d <= 6; ++d, limit /= 10) {
    SCOPED_TRACE(d);
    EXPECT_EQ(decimal_multiply(limit - 1, 1, d).fault, DecimalFault::kNone);
    EXPECT_EQ(decimal_multiply(limit / 10, 10, d).fault, DecimalFault::kOverflow);
  }
  EXPECT_EQ(decimal_multiply(999'999, 999'999'999, 0).value, 999'998'999'000'001u);
  // 2^32 * 2^32 wraps to 0 in 64 bits; it must be seen as an overflow, not as 0.
  EXPECT_EQ(decimal_multiply(4'294'967'296, 4'294'967'296, 0).fault, DecimalFault::kOverflow);
  EXPECT_EQ(decimal_multiply(kNines, kNines, 0).fault, DecimalFault::kOverflow);
}

TEST(Decimal, QuotientIsTruncatedAfterDecimals) {
  struct Case {
    std::uint64_t a, b;
    int d;
    std::uint64_t whole;
    std::uint32_t fraction;
  };
  const Case cases[] = {
      {10, 4, 0, 2, 0},                    // 2
      {10, 4, 1, 2, 5},                    // 2.5
      {10, 4, 2, 2, 50},                   // 2.50
      {2, 3, 2, 0, 66},                    // 0.66, not rounded
      {1, 7, 6, 0, 142857},                // 0.142857
      {kNines, 1, 6, kNines, 0},           // a dividend of 15 digits
      {kNines - 1, kNines, 6, 0, 999999},  // remainders near 10^15
      {1, kNines, 6, 0, 0},                // a divisor of 15 digits
      {0, 5, 3, 0, 0},                     // an empty dividend
      {123'456'789'012'345, 1000, 3, 123'456'789'012, 345},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(std::to_string(c.a) + "/" + std::to_string(c.b) + " d=" + std::to_string(c.d));
    const std::optional<Quotient> q = decimal_divide(c.a, c.b, c.d);
    ASSERT_TRUE(q.has_value());
    EXPECT_EQ(q->whole, c.whole);
    EXPECT_EQ(q->fraction, c.fraction);
  }
  EXPECT_FALSE(decimal_divide(5, 0, 2).has_value());
}

TEST(Decimal, Edits) {
  EXPECT_EQ(edit_whole(0).view(), "000000000000000");
  EXPECT_EQ(edit_whole(450).view(), "000000000000450");
  EXPECT_EQ(edit_whole(kNines).view(), "999999999999999");
  EXPECT_EQ(edit_whole(123'456'789'012'345).view(), "123456789012345");
  EXPECT_EQ(edit_whole(100'000'000).view(), "000000100000000");
  // Nine integer digits, then the fraction scaled to six places.
  EXPECT_EQ(edit_quotient({2, 5, 1}).view(), "000000002500000");
  EXPECT_EQ(edit_quotient({0, 66, 2}).view(), "000000000660000");
  EXPECT_EQ(edit_quotient({0, 142857, 6}).view(), "000000000142857");
  EXPECT_EQ(edit_quotient({7, 0, 0}).view(), "000000007000000");
  // Integer digits above the ninth are dropped.
  EXPECT_EQ(edit_quotient({1'234'567'890, 5, 1}).view(), "234567890500000");
}

}  // namespace
}  // namespace kovran
