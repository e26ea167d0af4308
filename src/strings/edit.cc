// strings/edit.cc - the edit instruction: digits through a mask into report text.
#include <algorithm>
#include <cstring>

#include "driver/diagnostics.h"
#include "fields/field_ref.h"
#include "strings/strings.h"
#include "strings/text_search.h"

namespace kovran {
namespace {

constexpr std::size_t kResultWidth = kEditWidth;  // columns of TARGET2

// Walks MASK and SOURCE from the right into TARGET2, right-aligned. Mask characters: 0 copies
// a source character, blank copies it but blanks a 0 that has only zeros to its left, a
// period is inserted without using a source character; any other character does nothing.
// The walk stops when either the mask or the source is used up, so high-order source
// characters beyond the mask are dropped and no period follows an exhausted source.
void walk_mask(RunState& rs) {
  char* out = rs.TARGET2.data();
  std::memset(out, ' ', kResultWidth);
  const std::string_view source = rs.SOURCE.view();
  const std::string_view mask = rs.MASK.view();
  // Characters 1..u-1 of the source are all 0 exactly when the first non-zero stands at u or
  // later (or there is none).
  const std::size_t first_nonzero = first_not_in(source, "0");
  const char* src = source.data();
  std::size_t u = source.size();
  std::size_t v = mask.size();
  std::size_t m = kResultWidth;  // the mask has at most 20 characters, so m never passes 0
  while (v > 0 && u > 0) {
    const char c = mask[--v];
    if (c == '0') {
      out[--m] = src[--u];
    } else if (c == '.') {
      out[--m] = '.';
    } else if (c == ' ') {
      const char digit = src[--u];
      const bool zeros_left = first_nonzero == 0 || first_nonzero > u;
      out[--m] = digit == '0' && zeros_left ? ' ' : digit;
    }
  }
}

}  // namespace

// EDIT_RTN   E source target 'mask'                                   words 1, 2, 3, 4
// Edits the source field through the mask into TARGET2 (20 columns, built from the right) and
// stores the rightmost target-width columns of it into the target field. A target wider than
// 20 columns gets blanks in its leading columns.
// Errors:  unknown source area, or a literal source -> ERROR_RTN(2), the edit goes on with
//          the previous SOURCE; unknown target area, or a literal target -> ERROR_RTN(3),
//          nothing is stored.
// Leaves:  MASK, SOURCE = the fetched source, TARGET2 = the edited result; FILE_CODE, N1, N2 =
//          the parse of the target.
void EDIT_RTN(RunState& rs) {
  // NOTE: an unquoted mask is parsed as an area code, so only its first character is used.
  rs.MASK = strip_char(parse_word(rs, 4).FILE_CODE.view(), rs.QUOTE);  // cut to 20 characters

  fetch_field(rs, parse_word(rs, 2), 2, rs.SOURCE);

  walk_mask(rs);

  const Operand& target_op = parse_word(rs, 3);
  const std::optional<Field> target = required_field(rs, target_op, 3);
  if (!target)
    return;
  // The value is as wide as the reference; a reference cut at its area's end keeps its left
  // part, as every store does.
  const long width = target_op.N2 - target_op.N1 + 1;
  const long blanks = width - static_cast<long>(kResultWidth);  // leading columns past 20
  const std::size_t lead =
      blanks > 0 ? std::min(target->size, static_cast<std::size_t>(blanks)) : 0;
  fill_blanks(target->data, lead);
  if (target->size >
      lead) {  // then the field has a column past the blanks: 1 <= width <= 20 + lead
    const std::size_t from = static_cast<std::size_t>(static_cast<long>(lead) - blanks);
    move_bytes(target->data + lead, rs.TARGET2.data() + from, target->size - lead);
  }
}

}  // namespace kovran
