// fields/decimal.h - exact unsigned decimal arithmetic on numbers of at most 15 digits, as the
// arithmetic instructions use it. Whole numbers only, held in 64 bits; products and shifted
// dividends are never formed beyond what 64 bits hold exactly. No floating point.
#ifndef KOVRAN_FIELDS_DECIMAL_H_
#define KOVRAN_FIELDS_DECIMAL_H_

#include <cstdint>
#include <optional>
#include <string_view>

#include "driver/text.h"

namespace kovran {

// Every operand has at most kDigits (15) digits (driver/text.h, with digits_value).
constexpr std::uint64_t kDecimalLimit = 1'000'000'000'000'000;  // 10^15: every value is below
constexpr int kQuotientIntegerDigits = 9;                       // integer digits of a quotient
constexpr int kMaxDecimals = 6;                                 // decimal places at most

// The places a decimals character 0 to 6 gives; nothing for any other character.
inline std::optional<int> decimal_places(char d) {
  if (d < '0' || d - '0' > kMaxDecimals)
    return std::nullopt;
  return d - '0';
}

enum class DecimalFault {
  kNone,
  kOverflow,  // the result needs more digits than it may have
  kNegative,  // a difference below zero
};

struct DecimalResult {
  std::uint64_t value = 0;  // valid when fault is kNone
  DecimalFault fault = DecimalFault::kNone;
};

// b + a, at most 15 digits.
DecimalResult decimal_add(std::uint64_t b, std::uint64_t a);

// b - a, never below zero.
DecimalResult decimal_subtract(std::uint64_t b, std::uint64_t a);

// a * b as a whole number that must fit 15 - decimals digits (decimals 0 to 6): the product is
// carried as a 15-digit fixed-point value with that many decimal places.
DecimalResult decimal_multiply(std::uint64_t a, std::uint64_t b, int decimals);

// A quotient cut after a number of decimal places: the whole part and those decimal digits.
struct Quotient {
  std::uint64_t whole = 0;     // below 10^15
  std::uint32_t fraction = 0;  // the decimal digits read as a number, below 10^decimals
  int decimals = 0;            // 0 to 6
};

// floor(a * 10^decimals / b) as whole part and fraction (decimals 0 to 6), computed exactly by
// long division; nothing when b is zero.
std::optional<Quotient> decimal_divide(std::uint64_t a, std::uint64_t b, int decimals);

// Fifteen digit characters, edited in place without an allocation (and one byte more, so that
// the whole is returned in two registers).
struct Digits15 {
  char digit[kDigits + 1];
  std::string_view view() const { return std::string_view(digit, kDigits); }
};

// A whole number below 10^15 as 15 digits with leading zeros.
Digits15 edit_whole(std::uint64_t value);

// A quotient as 15 digits: 9 integer digits then 6 decimal digits, no sign and no point.
// Integer digits above the ninth are dropped.
Digits15 edit_quotient(const Quotient& q);

}  // namespace kovran

#endif  // KOVRAN_FIELDS_DECIMAL_H_
