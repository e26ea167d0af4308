// fields/decimal.cc - exact decimal arithmetic for the arithmetic instructions.
#include "fields/decimal.h"

#include <cassert>
#include <cstring>

namespace kovran {
namespace {

constexpr std::uint64_t power_of_ten(int n) {
  std::uint64_t p = 1;
  for (int k = 0; k < n; ++k) p *= 10;
  return p;
}

// `value` (below 10^width) as `width` digits with leading zeros, written at `out`: two digits
// a step.
constexpr char kPairs[] =
    "00010203040506070809101112131415161718192021222324252627282930313233343536373839"
    "40414243444546474849505152535455565758596061626364656667686970717273747576777879"
    "8081828384858687888990919293949596979899";

void put_digits(std::uint64_t value, int width, char* out) {
  int k = width;
  while (k >= 2) {
    const std::size_t pair = static_cast<std::size_t>(value % 100) * 2;
    value /= 100;
    out[--k] = kPairs[pair + 1];
    out[--k] = kPairs[pair];
  }
  if (k == 1)
    out[0] = static_cast<char>('0' + value % 10);
}

// `value` (below 10^8) as eight digits with leading zeros, all eight at once: the halves of four
// digits, the pairs of each half and the digits of each pair are split in parallel lanes of one
// 64-bit word (each lane's quotient by a multiplication and a shift that are exact for it). The
// first digit is the lowest byte of the result.
std::uint64_t eight_characters(std::uint32_t value) {
  const std::uint64_t x = value;
  const std::uint64_t halves = x / 10000 | (x % 10000) << 32;
  const std::uint64_t hundreds = (halves * 10486 >> 20) & 0x0000007F0000007F;
  const std::uint64_t pairs = hundreds | (halves - hundreds * 100) << 16;
  const std::uint64_t tens = (pairs * 103 >> 10) & 0x000F000F000F000F;
  return (tens | (pairs - tens * 10) << 8) + 0x3030303030303030;
}

}  // namespace

DecimalResult decimal_add(std::uint64_t b, std::uint64_t a) {
  assert(a < kDecimalLimit && b < kDecimalLimit);
  const std::uint64_t sum = b + a;  // below 2 * 10^15: no wrap
  if (sum >= kDecimalLimit)
    return {0, DecimalFault::kOverflow};
  return {sum, DecimalFault::kNone};
}

DecimalResult decimal_subtract(std::uint64_t b, std::uint64_t a) {
  if (a > b)
    return {0, DecimalFault::kNegative};
  return {b - a, DecimalFault::kNone};
}

DecimalResult decimal_multiply(std::uint64_t a, std::uint64_t b, int decimals) {
  assert(decimals >= 0 && decimals <= kMaxDecimals);
  assert(a < kDecimalLimit && b < kDecimalLimit);
  const std::uint64_t limit = power_of_ten(static_cast<int>(kDigits) - decimals);
  // a * b < limit exactly when a == 0 or b <= (limit - 1) / a: the product is never formed
  // when it could pass 64 bits.
  if (a != 0 && b > (limit - 1) / a)
    return {0, DecimalFault::kOverflow};
  return {a * b, DecimalFault::kNone};
}

std::optional<Quotient> decimal_divide(std::uint64_t a, std::uint64_t b, int decimals) {
  assert(decimals >= 0 && decimals <= kMaxDecimals);
  if (b == 0)
    return std::nullopt;
  Quotient q;
  q.decimals = decimals;
  q.whole = a / b;
  std::uint64_t rest = a % b;  // below b < 10^15, so rest * 10 stays below 10^16
  for (int k = 0; k < decimals; ++k) {
    rest *= 10;
    q.fraction = q.fraction * 10 + static_cast<std::uint32_t>(rest / b);
    rest %= b;
  }
  return q;
}

Digits15 edit_whole(std::uint64_t value) {
  assert(value < kDecimalLimit);
  // Two groups of eight digits, the first cut to seven.
  const std::uint64_t high = eight_characters(static_cast<std::uint32_t>(value / 100000000)) >> 8;
  const std::uint64_t low = eight_characters(static_cast<std::uint32_t>(value % 100000000));
  const std::uint64_t words[2] = {high | low << 56, low >> 8};
  Digits15 out;
  std::memcpy(out.digit, words, sizeof words);
  return out;
}

Digits15 edit_quotient(const Quotient& q) {
  Digits15 out;
  // High-order integer digits that do not fit the nine positions are dropped.
  put_digits(q.whole % power_of_ten(kQuotientIntegerDigits), kQuotientIntegerDigits, out.digit);
  put_digits(q.fraction * power_of_ten(kMaxDecimals - q.decimals), kMaxDecimals,
             out.digit + kQuotientIntegerDigits);
  return out;
}

}  // namespace kovran
