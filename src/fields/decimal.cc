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

// `value` (below 10^8) as eight digits with leading zeros.
void put_eight(std::uint32_t value, char* out) {
  const std::uint32_t high = value / 10000;
  const std::uint32_t low = value % 10000;
  std::memcpy(out, kPairs + 2 * (high / 100), 2);
  std::memcpy(out + 2, kPairs + 2 * (high % 100), 2);
  std::memcpy(out + 4, kPairs + 2 * (low / 100), 2);
  std::memcpy(out + 6, kPairs + 2 * (low % 100), 2);
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
  char both[16];
  put_eight(static_cast<std::uint32_t>(value / 100000000), both);
  put_eight(static_cast<std::uint32_t>(value % 100000000), both + 8);
  Digits15 out;
  std::memcpy(out.digit, both + 1, kDigits);
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
