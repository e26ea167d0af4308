// fields/clear.cc - the clear instruction.
#include "driver/diagnostics.h"
#include "fields/field_ref.h"
#include "fields/fields.h"

namespace kovran {

// CLEAR_RTN   C target [fill]                                          words 1, 2, 3
// Fills the target field with the fill text repeated end to end, cut at the field's end.
// The fill is word 3 as parsed: a literal's whole text, an unquoted word's first character,
// a blank when the word is omitted; the empty literal '' fills with blanks.
// Errors:  unknown target area, or a literal target -> ERROR_RTN(2); nothing changes.
// Leaves:  SOURCE = the fill text; FILE_CODE, N1, N2 = the parse of the target.
void CLEAR_RTN(RunState& rs) {
  rs.SOURCE = parse_word(rs, 3).FILE_CODE.view();
  const std::optional<Field> target = required_field(rs, parse_word(rs, 2), 2);
  if (!target)
    return;
  const std::string_view fill = rs.SOURCE.empty() ? std::string_view(" ") : rs.SOURCE.view();
  for (std::size_t k = 0; k < target->size; ++k) (*target)[k] = fill[k % fill.size()];
}

}  // namespace kovran
