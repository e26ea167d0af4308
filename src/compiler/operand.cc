// compiler/operand.cc - decoding an operand word once.
#include "compiler/operand.h"

#include <iterator>

namespace kovran {

AreaId area_of_code(char code) {
  for (std::size_t k = 1; k < std::size(kAreas); ++k) {
    if (kAreas[k].code == code)
      return static_cast<AreaId>(k);
  }
  return AreaId::kNone;
}

void resolve_columns(Operand& op) {
  op.first = op.last = 0;
  op.clipped = false;
  if (op.area == AreaId::kNone)
    return;
  // Clip to the area: a start below column 1, an end past the area's last column, or an end
  // before the start minus one; no column outside the area is ever used.
  const long size = static_cast<long>(area_width(op.area));
  long first = op.N1 - 1;  // 0-based start
  long last = op.N2;       // 0-based end, exclusive
  if (first < 0)
    first = 0, op.clipped = true;
  if (first > size)
    first = size, op.clipped = true;
  if (last > size)
    last = size, op.clipped = true;
  if (last < first) {
    op.clipped = op.clipped || op.N2 < op.N1 - 1;
    last = first;
  }
  op.first = static_cast<std::uint16_t>(first);
  op.last = static_cast<std::uint16_t>(last);
}

Operand decode_operand(std::string_view word, char quote) {
  Operand op;
  op.FILE_CODE = " ";
  if (!word.empty() && word.front() == quote) {
    op.FILE_CODE = strip_char(word, quote);
    return op;
  }
  op.FILE_CODE = word.substr(0, 1);
  // NOTE: the separator (second character) is never examined, so 1X10.20 is a reference.
  const std::string_view columns = word.size() > 2 ? word.substr(2) : std::string_view();
  const std::size_t period = columns.find('.');
  const std::string_view start =
      period == std::string_view::npos ? columns : columns.substr(0, period);
  const std::string_view end =
      period == std::string_view::npos ? columns : columns.substr(period + 1);
  op.N1 = static_cast<std::int16_t>(low_four_bits_number(start, 4));
  op.N2 = static_cast<std::int16_t>(low_four_bits_number(end, 4));
  if (op.FILE_CODE.size() != 1)
    return op;
  op.area = area_of_code(op.FILE_CODE[0]);
  resolve_columns(op);
  return op;
}

}  // namespace kovran
