// fields/move.cc - the move instruction.
#include <string>

#include "driver/diagnostics.h"
#include "fields/field_ref.h"
#include "fields/fields.h"

namespace kovran {
namespace {

// The displacement written in SOURCE: 1 to 4 characters read by their low four bits.
int displacement(const RunState& rs) {
  const std::size_t n = rs.SOURCE.size();
  if (n == 0 || n > 4)
    return 0;
  return static_cast<int>(low_four_bits_number(rs.SOURCE.view(), 4));
}

// Stores SOURCE, from character `skip` on, into the target in word n, moved right by d
// columns; an unknown target area, or a literal, reports word n.
void store_target(RunState& rs, int n, int d, std::size_t skip) {
  const Operand& op = parse_word(rs, n);
  // A literal target stays a literal, whatever the shift.
  const std::optional<Field> target = d == 0 || op.literal()
                                          ? required_field(rs, op, n)
                                          : required_field(rs, shifted(rs, op, d), n);
  if (!target)
    return;
  const std::string_view source = rs.SOURCE.view();
  // A displacement past the end of the source leaves no characters: an all-blank target.
  store_field(*target, skip < source.size() ? source.substr(skip) : std::string_view());
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
  const MoveForm form = static_cast<MoveForm>(node.form);
  if (form == MoveForm::kFields) {  // the usual move, with nothing to report
    move_fields(rs, node);
    return;
  }
  int d = 0;
  if (form != MoveForm::kPlain) {
    // Word 4 when word 3 is D (also when both are D: the operand is then the keyword itself,
    // a one-character literal); word 5 when only word 4 is D.
    const int disp_word = form == MoveForm::kTargetDisplacement ? 5 : 4;
    // NOTE: a literal displacement operand takes its number from the previous SOURCE.
    if (const Operand& disp = parse_word(rs, disp_word); !disp.literal())
      fetch_field(rs, disp, disp_word, rs.SOURCE);
    d = displacement(rs);
  }

  fetch_value(rs, parse_word(rs, 2), 2);

  switch (form) {
    case MoveForm::kFields:
    case MoveForm::kPlain: store_target(rs, 3, 0, 0); break;
    case MoveForm::kTargetDisplacement:
    case MoveForm::kBothKeywords: store_target(rs, 3, d, 0); break;
    case MoveForm::kSourceDisplacement: store_target(rs, 5, 0, static_cast<std::size_t>(d)); break;
  }
}

MoveForm MOVE_FORM(const Node& node) {
  const bool source_disp = word_is(node.word(3), "D");
  const bool target_disp = word_is(node.word(4), "D");
  if (source_disp && target_disp)
    return MoveForm::kBothKeywords;
  if (target_disp)
    return MoveForm::kTargetDisplacement;
  if (source_disp)
    return MoveForm::kSourceDisplacement;
  const Operand& source = node.operand(2);
  const Operand& target = node.operand(3);
  const bool fields = !source.literal() && source.bytes != nullptr && !source.clipped &&
                      !target.literal() && target.bytes != nullptr && !target.clipped;
  return fields ? MoveForm::kFields : MoveForm::kPlain;
}

}  // namespace kovran
