// strings/find.cc - the find instruction: where a text stands inside a field.
#include <algorithm>

#include "driver/diagnostics.h"
#include "fields/field_ref.h"
#include "strings/strings.h"
#include "strings/text_search.h"

namespace kovran {
namespace {

// The result text: the position as four digits with leading zeros, or four blanks for 0.
Area<4> position_text(std::size_t p) {
  Area<4> text;
  if (p == 0)
    return text;
  for (std::size_t k = 4; k > 0; --k, p /= 10) text[k - 1] = static_cast<char>('0' + p % 10);
  return text;
}

}  // namespace

// FIND_RTN   F argument field x result                                words 1, 2, 3, 5
// Looks for the first occurrence of the argument (a literal as written, or a field with its
// trailing blanks) in the searched field, case-sensitive, and stores the position (from 1)
// as four digits, or four blanks when it is absent. A result field of 1 to 3 columns gets the
// last 1 to 3 characters of that text; a wider one gets all four, then blanks. Word 4 is a
// placeholder and is never examined.
// Errors:  unknown argument area -> ERROR_RTN(2), the previous SOURCE is searched for;
//          unknown area or a literal in word 3 -> ERROR_RTN(3), the previous TARGET is
//          searched; unknown area or a literal in word 5 -> ERROR_RTN(5), nothing is stored.
// Leaves:  SOURCE = the argument, TARGET = the searched text; FILE_CODE, N1, N2 = the parse of
//          the result field.
void FIND_RTN(RunState& rs) {
  fetch_value(rs, parse_word(rs, 2), 2);
  fetch_field(rs, parse_word(rs, 3), 3, rs.TARGET);

  const Area<4> text = position_text(find_text(rs.TARGET.view(), rs.SOURCE.view()));

  const Operand& result_op = parse_word(rs, 5);
  const std::optional<Field> result = required_field(rs, result_op, 5);
  if (!result)
    return;
  // The width of the reference picks the characters; a reference cut at its area's end keeps
  // its left part.
  const long width = std::max(0L, std::min(4L, result_op.N2 - result_op.N1 + 1L));
  store_field(*result, text.view().substr(4 - static_cast<std::size_t>(width)));
}

}  // namespace kovran
