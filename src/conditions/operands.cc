// conditions/operands.cc - operands of the IF tests.
#include "conditions/operands.h"

#include "driver/diagnostics.h"
#include "fields/field_ref.h"

namespace kovran {

BufferLoad load_buffer(RunState& rs, const Operand& op, int word, bool accept_c) {
  if (op.FILE_CODE.size() == 1) {
    if (accept_c && op.FILE_CODE[0] == 'C')
      return BufferLoad::kCodeC;
    if (op.bytes != nullptr) {
      rs.BUFFER.assign_padded(std::string_view(op.bytes, *op.extent), area_width(op.area));
      return BufferLoad::kArea;
    }
  }
  ERROR_RTN(rs, word);
  return BufferLoad::kUnknown;
}

std::string_view buffer_field(RunState& rs, const Operand& op, int word, BufferLoad load) {
  if (load == BufferLoad::kArea) {
    // BUFFER is a copy of the area: the clipped field has the same columns in both.
    reference_of(rs, op, word);  // reports the first clip of the node
    return rs.BUFFER.view().substr(op.first, op.width());
  }
  // BUFFER as it stands (a record of any length): columns past its end are cut quietly, a short
  // record is normal; a reference that no area of 4096 columns holds is reported once per node.
  if (!columns_inside(op.N1, op.N2))
    report_clip(rs, word);
  const std::string_view buffer = rs.BUFFER.view();
  const std::size_t first =
      std::min(static_cast<std::size_t>(op.N1 > 0 ? op.N1 - 1 : 0), buffer.size());
  const std::size_t last = std::min(static_cast<std::size_t>(op.N2 > 0 ? op.N2 : 0), buffer.size());
  return last > first ? buffer.substr(first, last - first) : std::string_view();
}

}  // namespace kovran
