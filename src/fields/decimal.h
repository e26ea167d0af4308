// fields/decimal.h - exact unsigned decimal arithmetic on numbers of at most 15 digits, as the
// arithmetic instructions use it. Whole numbers only, held in 64 bits; products and shifted
// dividends are never formed beyond what 64 bits hold exactly. No floating point.
#ifndef KOVRAN_FIELDS_DECIMAL_H_
#define KOVRAN_FIELDS_DECIMAL_H_

#include <cassert>
#include <cstddef>
#include <cstdint>
#include <cstring>
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

// A number of at most 15 digits as 16 decimal places, the value of one digit (0..9) a byte: the
// units in the lowest byte of `low`, the place of 10^8 in the lowest byte of `high`. The sum of
// the usual + is made place by place on these, without a conversion either way. Inline: the
// walk makes that sum at every record.
struct DigitPlaces {
  std::uint64_t low = 0;
  std::uint64_t high = 0;
};

namespace places {
constexpr std::uint64_t kOnes = 0x0101010101010101;

// Eight characters, the first in the lowest byte, as places: the last character the units.
inline std::uint64_t of_characters(std::uint64_t x) { return __builtin_bswap64(x - kOnes * '0'); }

// b + a + carry on eight places; `carry` becomes the carry out of the highest. With 246 added to
// every place, a place whose sum reaches 10 carries into the next one by the word's own
// addition; a place that does not carry is left 246 too high and is brought back.
inline std::uint64_t add_eight(std::uint64_t b, std::uint64_t a, unsigned& carry) {
  const std::uint64_t biased = b + kOnes * 246;  // no place passes 255
  const std::uint64_t addend = a + carry;        // the units place at most 10
  std::uint64_t sum;
  const bool out = __builtin_add_overflow(biased, addend, &sum);
  const std::uint64_t carried_in = sum ^ biased ^ addend;  // bit 8k: the carry into place k
  const std::uint64_t carried_out =
      ((carried_in >> 8) & kOnes) | (static_cast<std::uint64_t>(out) << 56);
  carry = out ? 1 : 0;
  return sum - ((~carried_out & kOnes) * 246);
}
}  // namespace places

// The places of a text of at most 15 characters at `p`, with 16 bytes readable from `p` (the
// start of a larger buffer), read as digits_value reads it; nothing when it is not a number.
inline std::optional<DigitPlaces> digit_places(const char* p, std::size_t n,
                                               bool blanks_are_zeros) {
  std::uint64_t first, last;
  zero_filled_words(p, n, first, last);
  if (!digit_characters(first, blanks_are_zeros) || !digit_characters(last, blanks_are_zeros))
    return std::nullopt;
  return DigitPlaces{places::of_characters(last), places::of_characters(first)};
}

// b + a; nothing when the sum has more than 15 digits, as decimal_add.
inline std::optional<DigitPlaces> add_places(DigitPlaces b, DigitPlaces a) {
  unsigned carry = 0;
  DigitPlaces sum;
  sum.low = places::add_eight(b.low, a.low, carry);
  sum.high = places::add_eight(b.high, a.high, carry);  // below 2 * 10^15: no carry out
  if ((sum.high >> 56) != 0)                            // the place of 10^15
    return std::nullopt;
  return sum;
}

// The rightmost n (at most 15) digits of the places, written at `out`.
inline void put_places(DigitPlaces sum, std::size_t n, char* out) {
  assert(n <= kDigits);
  const std::uint64_t words[2] = {__builtin_bswap64(sum.high) + places::kOnes * '0',
                                  __builtin_bswap64(sum.low) + places::kOnes * '0'};
  char text[16];
  std::memcpy(text, words, sizeof text);
  move_short(out, text + sizeof text - n, n);
}

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
