// fields/field_ref.cc - parsing, resolving, fetching and storing operands.
#include "fields/field_ref.h"

#include <cstring>

#include "driver/diagnostics.h"

namespace kovran {

void PARSE_FLD(RunState& rs) {
  const std::string_view op = rs.FLD.view();
  rs.FILE_CODE = " ";
  rs.N1 = 0;
  rs.N2 = 0;
  if (!op.empty() && op.front() == rs.QUOTE) {
    rs.FILE_CODE = strip_char(op, rs.QUOTE);
    return;
  }
  rs.FILE_CODE = op.substr(0, 1);
  // NOTE: the separator (second character) is never examined, so 1X10.20 is a reference.
  const std::string_view columns = op.size() > 2 ? op.substr(2) : std::string_view();
  const std::size_t period = columns.find('.');
  const std::string_view start =
      period == std::string_view::npos ? columns : columns.substr(0, period);
  const std::string_view end =
      period == std::string_view::npos ? columns : columns.substr(period + 1);
  rs.N1 = static_cast<std::int16_t>(low_four_bits_number(start, 4));
  rs.N2 = static_cast<std::int16_t>(low_four_bits_number(end, 4));
}

namespace {

// FILE_CODE, N1, N2 := the kept parse, or a fresh parse of FLD that is then kept.
void reuse_or_parse(RunState& rs, ParsedWord& parsed) {
  if (parsed.ready && parsed.quote == rs.QUOTE) {
    rs.FILE_CODE = parsed.FILE_CODE;
    rs.N1 = parsed.N1;
    rs.N2 = parsed.N2;
    return;
  }
  PARSE_FLD(rs);
  parsed.FILE_CODE = rs.FILE_CODE;
  parsed.N1 = rs.N1;
  parsed.N2 = rs.N2;
  parsed.quote = rs.QUOTE;
  parsed.ready = true;
}

}  // namespace

void parse_word(RunState& rs, int n) {
  Node& node = *rs.current_node;
  rs.FLD = node.F(n);  // whole-string copies: a fixed size, no call
  reuse_or_parse(rs, node.parsed[n]);
}

void parse_text(RunState& rs, const Word& text, KeptParse& kept) {
  rs.FLD = text;
  if (kept.text.view() != text.view()) {
    kept.text = text;
    kept.parsed.ready = false;
  }
  reuse_or_parse(rs, kept.parsed);
}

namespace {

// Calls `use` with the area named by `code` (1..6, S, L, D); nothing for any other code.
template <typename State, typename Use>
auto with_area(State& rs, char code, Use use) -> std::optional<decltype(use(rs.F1))> {
  switch (code) {
    case '1': return use(rs.F1);
    case '2': return use(rs.F2);
    case '3': return use(rs.F3);
    case '4': return use(rs.F4);
    case '5': return use(rs.F5);
    case '6': return use(rs.F6);
    case 'S': return use(rs.S);
    case 'L': return use(rs.L);
    case 'D': return use(rs.D);
    default: return std::nullopt;
  }
}

}  // namespace

std::optional<AreaView> area_by_code(const RunState& rs, char code) {
  return with_area(rs, code, [](const auto& area) {
    return AreaView{area.data(), area.size(), area.extent()};
  });
}

std::optional<Field> resolve_field_general(RunState& rs, int word) {
  if (is_literal(rs))
    return std::nullopt;
  return resolve_reference(rs, word);
}

std::optional<Field> resolve_reference(RunState& rs, int word) {
  if (rs.FILE_CODE.size() != 1)
    return std::nullopt;
  return with_area(rs, rs.FILE_CODE[0], [&rs, word](auto& area) {
    const long size = static_cast<long>(area.size());
    long first = rs.N1 - 1;  // 0-based start
    long last = rs.N2;       // 0-based end, exclusive
    bool clipped = false;
    if (first < 0)
      first = 0, clipped = true;
    if (first > size)
      first = size, clipped = true;
    if (last > size)
      last = size, clipped = true;
    if (last < first) {
      clipped = clipped || rs.N2 < rs.N1 - 1;
      last = first;
    }
    if (clipped && word > 0 && rs.current_node != nullptr && !rs.current_node->clip_reported) {
      rs.current_node->clip_reported = true;
      ERROR_RTN(rs, word);
    }
    const std::size_t from = static_cast<std::size_t>(first);
    const std::size_t to = static_cast<std::size_t>(last);
    return Field{area.columns(from, to), to - from};
  });
}

void store_field(const Field& f, std::string_view value) {
  const std::size_t n = std::min(value.size(), f.size);
  if (n > 0)
    std::memmove(f.data, value.data(), n);
  if (f.size > n)
    std::memset(f.data + n, ' ', f.size - n);
}

}  // namespace kovran
