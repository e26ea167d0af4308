// fields/field_ref.cc - operands: parsing, resolving, fetching and storing.
#include "fields/field_ref.h"

#include <algorithm>
#include <cstring>

#include "driver/diagnostics.h"

namespace kovran {

void PARSE_FLD(RunState& rs) {
  const Operand op = decode_operand(rs.FLD.view(), rs.QUOTE);
  rs.parsed_text = rs.parsed_code = nullptr;  // FLD is what was parsed, FILE_CODE is set now
  rs.FILE_CODE = op.FILE_CODE;
  rs.N1 = op.N1;
  rs.N2 = op.N2;
}

const Operand& decode_kept(RunState& rs, const Word& text, KeptParse& kept) {
  kept.text = text;
  kept.op = decode_operand(text.view(), rs.QUOTE);
  bind_area(rs, kept.op);
  kept.ready = true;
  return kept.op;
}

void report_clip(RunState& rs, int word) {
  if (rs.current_node != nullptr && first_time(rs.clip_reported, *rs.current_node))
    ERROR_RTN(rs, word);
}

namespace {

static_assert(static_cast<int>(AreaId::k1) == 1 && static_cast<int>(AreaId::k6) == 6,
              "the areas 1..6 are those of the data files of those numbers");

// Calls `use` with the area `id` names; `none` for kNone.
template <typename State, typename Use, typename Result>
Result with_area(State& rs, AreaId id, Use use, Result none) {
  switch (id) {
    case AreaId::kNone: return none;
    case AreaId::kS: return use(rs.S);
    case AreaId::kL: return use(rs.L);
    case AreaId::kD: return use(rs.D);
    default: return use(rs.*data_file(static_cast<int>(id)).area);  // k1..k6
  }
}

}  // namespace

void bind_area(RunState& rs, Operand& op) {
  struct Bound {
    char* bytes;
    std::size_t* extent;
  };
  const Bound b = with_area(
      rs, op.area,
      [](auto& a) {
        return Bound{a.bytes(), a.extent_slot()};
      },
      Bound{nullptr, nullptr});
  op.bytes = b.bytes;
  op.extent = b.extent;
}

AreaView area_view(const RunState& rs, AreaId area) {
  return with_area(
      rs, area,
      [](const auto& a) {
        return AreaView{a.data(), a.size(), a.extent()};
      },
      AreaView{});
}

Operand shifted(RunState& rs, const Operand& op, int d) {
  Operand moved = op;
  moved.N1 = static_cast<std::int16_t>(std::min(op.N1 + d, 32767));
  moved.N2 = static_cast<std::int16_t>(std::min(op.N2 + d, 32767));
  resolve_columns(moved);
  bind_area(rs, moved);
  return moved;
}

}  // namespace kovran
