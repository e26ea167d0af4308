// fields/arithmetic.cc - the arithmetic instructions + - X /.
#include <algorithm>
#include <cstring>
#include <string>

#include "driver/diagnostics.h"
#include "fields/decimal.h"
#include "fields/field_ref.h"
#include "fields/fields.h"
#include "fields/sum.h"

namespace kovran {
namespace {

// The value of SOURCE, an operand text of at most 15 characters, right-aligned into zeros; its
// blanks count as zeros when `blanks_are_zeros`. A non-digit is a conversion error, which ends the
// run; the report quotes the 15-digit text built from the operand.
std::uint64_t operand_value(RunState& rs, bool blanks_are_zeros) {
  const std::string_view text = rs.SOURCE.view();  // at most 15 characters of a large buffer
  if (const std::optional<std::uint64_t> value =
          digits_value_in_buffer(text.data(), text.size(), blanks_are_zeros))
    return *value;
  std::string digits15 = zero_filled(text);
  if (blanks_are_zeros)
    std::replace(digits15.begin(), digits15.end(), ' ', '0');
  conversion_error(rs, "ADD_RTN", kOncodeNotDigit, digits15);
}

// The decimals operand (word 4): its first character once apostrophes are stripped from both
// ends; nothing when the stripped text is empty.
std::optional<char> decimals_character(RunState& rs) {
  const std::string_view text = strip_char(rs.current_node->word(4), rs.QUOTE);
  if (text.empty())
    return std::nullopt;
  return text.front();
}

std::string_view rightmost(std::string_view digits, std::size_t n) {
  return digits.substr(digits.size() - std::min(n, digits.size()));
}

// The result field of X or / (word 5), of width at most `max_width`; otherwise ERROR_RTN(5).
std::optional<Field> result_field(RunState& rs, std::size_t max_width) {
  std::optional<Field> t = field_of(rs, parse_word(rs, 5), 5);
  if (!t || t->size > max_width) {
    ERROR_RTN(rs, 5);
    return std::nullopt;
  }
  return t;
}

// + and -: B := B + A or B - A, the rightmost accumulator-length digits written back into B.
void add_or_subtract(RunState& rs, bool add, std::uint64_t a, std::uint64_t b,
                     std::size_t accumulator_length) {
  const DecimalResult r = add ? decimal_add(b, a) : decimal_subtract(b, a);
  if (r.fault == DecimalFault::kOverflow)
    raise_error(rs, "ARITHMETIC OVERFLOW");
  if (r.fault == DecimalFault::kNegative) {
    // NOTE: the stored digits have no sign position; storing the magnitude would look like a
    // valid result, so a negative difference is reported and nothing is stored.
    ERROR_RTN(rs, 3);
    return;
  }
  // The field is looked up again for the store, so an unknown area is reported twice.
  const std::optional<Field> target = required_field(rs, parse_word(rs, 3), 3);
  if (!target)
    return;
  store_field(*target, rightmost(edit_whole(r.value).view(), accumulator_length));
}

// X: T := the rightmost W digits of A * B, or of A when the decimals are not 0 to 6.
void multiply(RunState& rs, std::uint64_t a, std::uint64_t b) {
  const char d = decimals_character(rs).value_or('0');  // the empty literal '' counts as 0
  std::uint64_t product = a;  // NOTE: decimals other than 0-6 store A unchanged
  if (const std::optional<int> places = decimal_places(d)) {
    const DecimalResult r = decimal_multiply(a, b, *places);
    if (r.fault != DecimalFault::kNone)
      raise_error(rs, "ARITHMETIC OVERFLOW");
    product = r.value;
  }
  std::optional<Field> target = result_field(rs, kDigits);
  if (!target)
    return;
  store_field(*target, rightmost(edit_whole(product).view(), target->size));
}

// /: T := floor(A * 10^d / B) with d implied decimal places, the rightmost W digits.
void divide(RunState& rs, std::uint64_t a, std::uint64_t b) {
  const std::optional<char> d_char = decimals_character(rs);
  int d = 0;  // the empty literal '' counts as 0, like an empty operand
  if (d_char) {
    if (*d_char < '0' || *d_char > '9') {  // no digit string is built: the operand's own text
      conversion_error(rs, "ADD_RTN", kOncodeNotDigit,
                       std::string(strip_char(rs.current_node->word(4), rs.QUOTE)));
    }
    d = *d_char - '0';
  }
  if (d > kMaxDecimals) {
    ERROR_RTN(rs, 4);
    return;
  }
  const std::optional<Quotient> q = decimal_divide(a, b, d);
  if (!q)
    raise_error(rs, "DIVISION BY ZERO");
  std::optional<Field> target =
      result_field(rs, static_cast<std::size_t>(kQuotientIntegerDigits + d));
  if (!target)
    return;
  // Positions 10 + d - W to 9 + d of the 9 + 6 digit edit: the W digits that end d places
  // after the point.
  const Digits15 edit = edit_quotient(*q);
  const std::string_view upto =
      edit.view().substr(0, static_cast<std::size_t>(kQuotientIntegerDigits + d));
  store_field(*target, rightmost(upto, target->size));
}

}  // namespace

// ADD_RTN   + A B | - A B | X A B d T | / A B d T                   words 1, 2, 3 (4, 5)
// Unsigned decimal arithmetic on digit strings of at most 15 characters (an empty text is 0),
// exact and without floating point. + and - accumulate into B's field: the rightmost
// accumulator-length digits of the 15-digit result replace it (blanks in B count as zeros).
// X stores the rightmost W digits of A * B into T (a decimals character other than 0-6 stores
// A unchanged). / stores floor(A * 10^d / B) into T as an implied-decimal number with d places,
// right-aligned, cut on the left to W digits. High-order digits that do not fit are dropped.
// Errors:  unknown area in A -> ERROR_RTN(2), the previous SOURCE is used as A;
//          unknown area in B -> ERROR_RTN(3), the previous SOURCE is used as B;
//          A or B longer than 15 characters -> ERROR_RTN(2 or 3), nothing is done;
//          + or - cannot store into B (unknown area, or a literal) -> ERROR_RTN(3);
//          - with A greater than B -> ERROR_RTN(3), nothing is stored;
//          / decimals 7 to 9 -> ERROR_RTN(4), nothing is done;
//          T unknown, or wider than 15 (X) or 9 + d (/) -> ERROR_RTN(5), nothing is stored;
//          a non-digit in A, in B (blanks apart) or in the decimals of / -> conversion error;
//          a sum over 15 digits, a product over 15 - d digits -> "ARITHMETIC OVERFLOW";
//          a zero divisor -> "DIVISION BY ZERO". Conversion errors, overflow and a zero
//          divisor end the run.
// Leaves:  SOURCE = B's text; FILE_CODE, N1, N2 = the parse of word 3 (+ -) or word 5 (X /).
void ADD_RTN(RunState& rs) {
  if (rs.current_node->sum.usual && usual_sum(rs, *rs.current_node))
    return;
  const char code = static_cast<char>(rs.current_node->form);  // ARITH_CODE

  fetch_value(rs, parse_word(rs, 2), 2);  // an unknown area leaves SOURCE as it was
  if (rs.SOURCE.size() > kDigits) {
    ERROR_RTN(rs, 2);
    return;
  }
  const std::uint64_t a = operand_value(rs, false);

  fetch_value(rs, parse_word(rs, 3), 3);
  const std::size_t accumulator_length = rs.SOURCE.size();
  if (accumulator_length > kDigits) {
    ERROR_RTN(rs, 3);
    return;
  }
  const std::uint64_t b = operand_value(rs, true);  // blanks count as 0

  if (code == '+' || code == '-') {
    add_or_subtract(rs, code == '+', a, b, accumulator_length);
  } else if (code == 'X') {
    multiply(rs, a, b);
  } else {
    divide(rs, a, b);
  }
}

char ARITH_CODE(const Node& node) {
  const std::string_view code = node.word(1);
  for (const char c : {'+', '-', 'X'}) {
    if (word_is(code, std::string_view(&c, 1)))
      return c;
  }
  return '/';  // NOTE: any other arithmetic code divides, as the word did
}

void ARITH_DECODE(Node& node) {
  const char code = ARITH_CODE(node);
  node.form = static_cast<std::uint8_t>(code);
  const Operand& a = node.operand(2);
  const Operand& b = node.operand(3);
  const auto inside = [](const Operand& op) {
    return !op.literal() && op.bytes != nullptr && !op.clipped && op.width() <= kDigits;
  };
  if (code != '+' || !inside(b))
    return;
  if (inside(a)) {
    node.sum.usual = true;
  } else if (a.literal() && a.FILE_CODE.size() <= kDigits) {
    const std::optional<DigitPlaces> places =
        digit_places(a.FILE_CODE.data(), a.FILE_CODE.size(), false);
    if (places)
      node.sum = {true, true, {places->low, places->high}};
  }
}

}  // namespace kovran
