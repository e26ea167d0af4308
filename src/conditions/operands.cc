// conditions/operands.cc - operands of the IF tests.
#include "conditions/operands.h"

#include "driver/diagnostics.h"
#include "fields/field_ref.h"

namespace kovran {

BufferLoad load_buffer(RunState& rs, int word, bool accept_c) {
  const std::string_view code = rs.FILE_CODE.view();
  if (code.size() == 1) {
    if (accept_c && code[0] == 'C')
      return BufferLoad::kCodeC;
    if (std::optional<AreaView> area = area_by_code(rs, code[0])) {
      rs.BUFFER.assign_padded(area->used(), area->size);  // the whole area
      return BufferLoad::kArea;
    }
  }
  ERROR_RTN(rs, word);
  return BufferLoad::kUnknown;
}

std::string_view buffer_field(RunState& rs, int word, BufferLoad load) {
  if (load == BufferLoad::kArea) {
    // BUFFER is a copy of the area: the clipped field has the same columns in both.
    const std::optional<AreaView> area = area_by_code(rs, rs.FILE_CODE[0]);
    const std::optional<Field> f = resolve_field(rs, word);
    if (!area || !f)
      return std::string_view();
    const std::size_t offset = static_cast<std::size_t>(f->data - area->data);
    return rs.BUFFER.view().substr(offset, f->size);
  }
  // BUFFER as it stands (a record of any length): columns past its end are cut quietly, a short
  // record is normal; a reference that no area of 4096 columns holds is reported once per node.
  if (!columns_inside(rs.N1, rs.N2) && rs.current_node != nullptr &&
      !rs.current_node->clip_reported) {
    rs.current_node->clip_reported = true;
    ERROR_RTN(rs, word);
  }
  const std::string_view buffer = rs.BUFFER.view();
  const std::size_t first =
      std::min(static_cast<std::size_t>(rs.N1 > 0 ? rs.N1 - 1 : 0), buffer.size());
  const std::size_t last = std::min(static_cast<std::size_t>(rs.N2 > 0 ? rs.N2 : 0), buffer.size());
  return last > first ? buffer.substr(first, last - first) : std::string_view();
}

}  // namespace kovran
