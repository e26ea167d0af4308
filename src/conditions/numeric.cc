// conditions/numeric.cc - the numeric comparison.
#include <cstdint>
#include <string>

#include "conditions/conditions.h"
#include "conditions/operands.h"
#include "driver/diagnostics.h"
#include "fields/field_ref.h"

namespace kovran {
namespace {

// Reads SOURCE as an unsigned number of 15 digits: right-aligned into fifteen zeros, the
// blanks of SOURCE itself turned into zeros first when `blanks_are_zeros`. M := the length of
// SOURCE. An operand longer than 15 characters does not fit: reported as `word` unless `reported`
// already, and the result is false. Any other character than a digit is a conversion failure: the
// run ends.
bool digit_value(RunState& rs, int word, bool blanks_are_zeros, bool reported,
                 std::uint64_t& value) {
  const std::string_view text = rs.SOURCE.view();
  rs.M = static_cast<std::int16_t>(text.size());
  if (text.size() > kDigits) {
    if (!reported)
      ERROR_RTN(rs, word);
    return false;
  }
  if (blanks_are_zeros) {
    for (std::size_t k = 0; k < text.size(); ++k) {
      if (rs.SOURCE[k] == ' ')
        rs.SOURCE[k] = '0';
    }
  }
  const std::optional<std::uint64_t> digits = digits_value(text);
  if (!digits)
    conversion_error(rs, "IF_NUMERIC", kOncodeNotDigit, zero_filled(text));
  value = *digits;
  return true;
}

}  // namespace

// IF_NUMERIC   I N first op second [conn]                                 words 1-6
// Compares two unsigned numbers of up to 15 digits: E equal, U unequal, L first less,
// G first greater. The first operand is a field, cut straight from its area (a start column of
// 0 is clipped to 1 and reported once, like any reference outside its area); its blanks count
// as zeros wherever they stand (42 followed by two blanks is 4200). The second is a field or a
// literal (quoted: an unquoted word gives its first character); its blanks are not digits.
// Each operand is right-aligned into fifteen zeros, so 00042, blanks then 42, and '42' are
// all 42.
// Errors:  unknown area in the first operand -> ERROR_RTN(3); unknown area of
//          the second -> ERROR_RTN(5); SOURCE then keeps its previous text and is used.
//          An operand longer than 15 characters -> ERROR_RTN(3 or 5), the test is false.
//          An operator other than E, U, L, G -> ERROR_RTN(4), the test is false.
//          A character that is not a digit -> conversion error; the run ends.
//          In every reported case the connector is still applied.
// Leaves:  SOURCE = the second operand's text, M = its length. BUFFER is not used.
void IF_NUMERIC(RunState& rs) {
  const Node& node = *rs.current_node;
  const Operand& first_op = parse_word(rs, 3);
  bool reported = false;
  // NOTE: the first operand is a field even with start column 0 (D:.5 is columns 1-5 of D).
  if (std::optional<Field> f = reference_of(rs, first_op, 3)) {
    rs.SOURCE = f->view();
  } else {
    ERROR_RTN(rs, 3);
    reported = true;
  }
  std::uint64_t first = 0;
  const bool first_fits = digit_value(rs, 3, true, reported, first);

  const Operand& second_op = parse_word(rs, 5);
  reported = false;
  if (second_op.literal()) {
    rs.SOURCE = strip_char(second_op.FILE_CODE.view(), rs.QUOTE);
  } else {
    reported = !fetch_field(rs, second_op, 5, rs.SOURCE);
  }
  std::uint64_t second = 0;
  const bool second_fits = digit_value(rs, 5, false, reported, second);

  rs.COND = false;
  if (node.test == ' ') {
    ERROR_RTN(rs, 4);
  } else if (first_fits && second_fits) {
    rs.COND = operator_holds(node.test, first < second ? -1 : first > second ? 1 : 0);
  }
  IF_AND_OR(rs, node.conn);
}

}  // namespace kovran
