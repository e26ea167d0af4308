// fields/move.cc - the move instruction.
#include <string>

#include "driver/diagnostics.h"
#include "fields/field_ref.h"
#include "fields/fields.h"

namespace kovran {
namespace {

// Fetches the reference just parsed into SOURCE; an unknown area reports `word` and leaves
// SOURCE as it was. A literal leaves SOURCE alone too (the caller decides).
void fetch_reference(RunState& rs, int word) {
  if (is_literal(rs))
    return;
  std::optional<Field> f = resolve_field(rs, word);
  if (!f) {
    ERROR_RTN(rs, word);
    return;
  }
  rs.SOURCE = f->view();
}

// The displacement written in SOURCE: 1 to 4 characters read by their low four bits.
int displacement(const RunState& rs) {
  const std::size_t n = rs.SOURCE.size();
  if (n == 0 || n > 4)
    return 0;
  return static_cast<int>(low_four_bits_number(rs.SOURCE.view(), 4));
}

// Area and columns of a target reference, shifted right by d and clipped to the area.
std::optional<Field> shifted_target(RunState& rs, int word, int d) {
  if (d == 0 || is_literal(rs))  // a literal target stays a literal, whatever the shift
    return resolve_field(rs, word);
  const std::int16_t n1 = rs.N1;
  const std::int16_t n2 = rs.N2;
  // Resolve the shifted columns, then leave N1 and N2 as the parse left them.
  rs.N1 = static_cast<std::int16_t>(std::min(n1 + d, 32767));
  rs.N2 = static_cast<std::int16_t>(std::min(n2 + d, 32767));
  std::optional<Field> f = resolve_field(rs, word);
  rs.N1 = n1;
  rs.N2 = n2;
  return f;
}

}  // namespace

// MOVE_RTN   M source target | M source target D disp | M source D disp target    words 1-5
// Copies the source value (a field or a literal) into the target field, left-aligned, cut
// or blank-filled to the target's width. A displacement shifts where the copy lands in the
// target (word 4 is D) or where it starts in the source (word 3 is D).
// Errors:  unknown displacement area -> ERROR_RTN(5 or 4), the previous SOURCE gives the
//          displacement; unknown source area -> ERROR_RTN(2), the previous SOURCE is moved;
//          unknown target area -> ERROR_RTN(3, or 5 in the source-displacement form).
// Leaves:  SOURCE = the source value; FILE_CODE, N1, N2 = the parse of the target.
void MOVE_RTN(RunState& rs) {
  const Node& node = *rs.current_node;
  const bool source_disp = word_is(node.word(3), "D");
  const bool target_disp = word_is(node.word(4), "D");
  int d = 0;
  if (source_disp || target_disp) {
    // Word 4 when word 3 is D (also when both are D: the operand is then the keyword itself,
    // a one-character literal); word 5 when only word 4 is D.
    const int disp_word = source_disp ? 4 : 5;
    parse_word(rs, disp_word);
    // NOTE: a literal displacement operand takes its number from the previous SOURCE.
    fetch_reference(rs, disp_word);
    d = displacement(rs);
  }

  if (std::optional<Field> source = kept_inside_field(rs, 2)) {
    rs.SOURCE = source->view();  // the target's parse follows and overwrites FLD and the rest
  } else {
    parse_word(rs, 2);
    if (is_literal(rs)) {
      rs.SOURCE = rs.FILE_CODE.view();
    } else {
      fetch_reference(rs, 2);
    }
  }

  // NOTE: when both word 3 and word 4 are D, the target-displacement form is taken.
  if (target_disp) {
    parse_word(rs, 3);
    std::optional<Field> target = shifted_target(rs, 3, d);
    if (!target) {
      ERROR_RTN(rs, 3);
      return;
    }
    store_field(*target, rs.SOURCE.view());
  } else if (source_disp) {
    parse_word(rs, 5);
    std::optional<Field> target = resolve_field(rs, 5);
    if (!target) {
      ERROR_RTN(rs, 5);
      return;
    }
    const std::string_view source = rs.SOURCE.view();
    // A displacement past the end of the source leaves no characters: an all-blank target.
    store_field(*target, static_cast<std::size_t>(d) < source.size() ? source.substr(d) : "");
  } else {
    parse_word(rs, 3);
    std::optional<Field> target = resolve_field(rs, 3);
    if (!target) {
      ERROR_RTN(rs, 3);
      return;
    }
    store_field(*target, rs.SOURCE.view());
  }
}

}  // namespace kovran
