// conditions/compare.cc - the character tests: field comparison, the listing line test and the
// character-set test.
#include <array>

#include "conditions/conditions.h"
#include "conditions/operands.h"
#include "fields/field_ref.h"

namespace kovran {
namespace {

// The two-digit number of a listing line test: the text without its quotes ('5' means 50 and
// '05' means 5).
int line_number_of(const RunState& rs, std::string_view text) {
  return two_digit_number(strip_char(text, rs.QUOTE));
}

}  // namespace

// IF_CFC_RTN   I first op second [conn]                                  words 1-5
//              I C op 'nn' [conn]       listing line test
// Compares the first operand (a field) with the second (a field or a literal) as character
// strings, the shorter taken as extended with blanks: E equal, U unequal, L first lower,
// G first higher. Every field reference copies its whole area into BUFFER and cuts the field
// from there. A first operand C fetches nothing (SOURCE keeps its value); the word C alone
// makes the test compare the listing's current line number with the number nn instead.
// Errors:  unknown area of the first operand, or a literal there (its text is no area code)
//          -> ERROR_RTN(2); a reference is then cut from BUFFER as it stands, a literal
//          leaves SOURCE as it was;
//          unknown area of the second operand (C included) -> ERROR_RTN(4), the field is cut
//          from BUFFER as it stands.
// Leaves:  SOURCE, TARGET = the two values; BUFFER = a copy of the last area named.
void IF_CFC_RTN(RunState& rs) {
  const Node& node = *rs.current_node;
  const Operand& first = node.operand(2);
  const Operand& second = node.operand(4);
  parse_word(rs, 2);
  const BufferLoad load = load_buffer(rs, first, 2, true);
  // NOTE: a first operand C (with or without columns) counts as start column 0: not fetched.
  if (load != BufferLoad::kCodeC && !first.literal())
    rs.SOURCE = buffer_field(rs, first, 2, load);

  parse_word(rs, 4);
  if (second.literal()) {
    rs.TARGET = second.FILE_CODE.view();
  } else {
    rs.TARGET = buffer_field(rs, second, 4, load_buffer(rs, second, 4, false));
  }

  parse_word(rs, 5);
  rs.COND = false;
  if (static_cast<IfForm>(node.form) == IfForm::kLineTest) {
    const std::int32_t line = rs.listing_line;
    const int n = line_number_of(rs, rs.TARGET.view());
    rs.COND = operator_holds(node.test, line < n ? -1 : line > n ? 1 : 0);
  } else {
    rs.COND = operator_holds(node.test, compare_padded(rs.SOURCE.view(), rs.TARGET.view()));
  }
  IF_AND_OR(rs, node.conn);
}

// IF_CHAR_RTN   I C field E|U set [conn]                                  words 1-6
// E holds when every character of the field is in the set, U when at least one is not (an
// empty field is all in the set). The set is word 5 as parsed: a literal's text, or the first
// character of an unquoted word. A field of area C is cut from BUFFER as it stands; any other
// area is first copied whole into BUFFER. A word 4 other than E or U never holds.
// Errors:  unknown area of the field -> ERROR_RTN(3); the field is cut from BUFFER as it
//          stands (a literal there leaves SOURCE as it was).
// Leaves:  SOURCE = the field, TARGET = the set; BUFFER as above.
void IF_CHAR_RTN(RunState& rs) {
  const Node& node = *rs.current_node;
  const Operand& tested = parse_word(rs, 3);
  const BufferLoad load = load_buffer(rs, tested, 3, true);
  if (!tested.literal())
    rs.SOURCE = buffer_field(rs, tested, 3, load);

  rs.TARGET = parse_word(rs, 5).FILE_CODE.view();
  rs.COND = false;

  std::array<bool, 256> in_set{};
  for (const char ch : rs.TARGET.view()) in_set[static_cast<unsigned char>(ch)] = true;
  std::size_t p = 0;  // position of the first character outside the set, 0 for none
  const std::string_view field = rs.SOURCE.view();
  for (std::size_t k = 0; k < field.size(); ++k) {
    if (!in_set[static_cast<unsigned char>(field[k])]) {
      p = k + 1;
      break;
    }
  }
  if ((node.test == 'E' && p == 0) || (node.test == 'U' && p > 0))
    rs.COND = true;
  IF_AND_OR(rs, node.conn);
}

}  // namespace kovran
