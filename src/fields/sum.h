// fields/sum.h - the usual sum, inline: the walk makes it without a call, ADD_RTN with one.
#ifndef KOVRAN_FIELDS_SUM_H_
#define KOVRAN_FIELDS_SUM_H_

#include <optional>

#include "driver/run_state.h"
#include "fields/decimal.h"
#include "fields/field_ref.h"

namespace kovran {

// + A B in its usual form (Node::SumPlan): ADD_RTN's steps, nothing to report. `addend`: A's
// text, with 16 bytes readable from there, when it is read elsewhere than in its area (the
// record still in its file's buffer); null: in its area. False, with only SOURCE, the extents
// and the parse touched (all of which ADD_RTN sets again), when a digit is wrong or the sum
// overflows: ADD_RTN then makes the statement and reports.
[[gnu::always_inline]] inline bool usual_sum(RunState& rs, const Node& node,
                                             const char* addend = nullptr) {
  const Operand& b_op = node.operand(3);
  DigitPlaces a{node.sum.addend[0], node.sum.addend[1]};
  if (!node.sum.literal_addend) {
    const Operand& a_op = node.operand(2);
    const std::size_t a_width = a_op.width();
    if (addend == nullptr) {
      addend = operand_columns(a_op);
      if (a_op.first + std::size_t{16} > kAreaWidth) {  // too near its area's end for 16 bytes
        rs.source_waits.drop();
        rs.SOURCE.assign_outside(addend, a_width);
        addend = rs.SOURCE.data();
      }
    }
    const std::optional<DigitPlaces> places = digit_places(addend, a_width, false);
    if (!places)
      return false;
    a = *places;
  }
  const std::size_t width = b_op.width();
  char* const b_field = operand_columns(b_op);
  rs.source_waits.drop();  // a field the last move left in SOURCE: this one replaces it
  rs.SOURCE.assign_outside(b_field, width);
  const std::optional<DigitPlaces> b = digit_places(rs.SOURCE.data(), width, true);
  if (!b)
    return false;
  const std::optional<DigitPlaces> sum = add_places(*b, a);
  if (!sum)
    return false;
  parse_word(rs, node, 3);
  put_places(*sum, width, b_field);
  return true;
}

}  // namespace kovran

#endif  // KOVRAN_FIELDS_SUM_H_
