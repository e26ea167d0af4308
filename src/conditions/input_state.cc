// conditions/input_state.cc - the tests on the state of the input: key match, A low, B low,
// end of input, start, and control break.
#include "conditions/conditions.h"
#include "conditions/operands.h"
#include "fields/field_ref.h"

namespace kovran {

// CNTL_BRK_RTN   I field [A|O]                                             words 1-3
// True when the field differs from the same columns of the hold area H (the previous record
// in single-file reading; the record itself during the first pass). The field's area is
// copied whole into BUFFER and the field cut from there; area C cuts it from BUFFER as it
// stands (the record just read). H is never updated here.
// Errors:  unknown area -> ERROR_RTN(2); the field is cut from BUFFER as it stands.
//          A literal compares SOURCE and TARGET as the previous instruction left them.
// Leaves:  SOURCE = the field, TARGET = the columns of H; BUFFER as above.
void CNTL_BRK_RTN(RunState& rs) {
  const Node& node = *rs.current_node;
  rs.COND = false;
  const Operand& field = parse_word(rs, 2);
  const BufferLoad load = load_buffer(rs, field, 2, true);
  if (!field.literal()) {
    rs.SOURCE = buffer_field(rs, field, 2, load);
    const std::string_view hold = rs.H.view();
    const std::size_t first = std::min(static_cast<std::size_t>(field.N1 - 1), hold.size());
    const std::size_t last =
        std::min(static_cast<std::size_t>(field.N2 > 0 ? field.N2 : 0), hold.size());
    rs.TARGET = last > first ? hold.substr(first, last - first) : std::string_view();
  }
  if (compare_padded(rs.TARGET.view(), rs.SOURCE.view()) != 0)
    rs.COND = true;
  IF_AND_OR(rs, node.conn);
}

}  // namespace kovran
