// fields/field_ref.h - operands: field references (area code, separator, start.end) and
// literals in apostrophes; the area table; fetch and store.
#ifndef KOVRAN_FIELDS_FIELD_REF_H_
#define KOVRAN_FIELDS_FIELD_REF_H_

#include <cstddef>
#include <optional>
#include <string_view>

#include "driver/run_state.h"

namespace kovran {

// Columns of one area, already clipped to it.
struct Field {
  char* data = nullptr;
  std::size_t size = 0;
  std::string_view view() const { return std::string_view(data, size); }
  char& operator[](std::size_t k) const { return data[k]; }
};

// PARSE_FLD   parses FLD into FILE_CODE, N1 and N2. Never fails.
// A quoted operand is a literal: FILE_CODE its text without the apostrophes at both ends,
// N1 = N2 = 0. Otherwise FILE_CODE is the area code (first character), the second character
// is skipped and the rest gives start.end (one column when there is no period), each column
// text read right-aligned in four positions by the low four bits of its characters.
void PARSE_FLD(RunState& rs);

// FLD := F(n) of the current node, then PARSE_FLD.
void parse_word(RunState& rs, int n);

// FLD := `text`, then PARSE_FLD; the parse is kept in `kept` and reused while the text and the
// quote character stay the same.
void parse_text(RunState& rs, const Word& text, KeptParse& kept);

// True when the last parse is a literal (start column 0 or below).
inline bool is_literal(const RunState& rs) { return rs.N1 <= 0; }

// An area as it stands, for reading: all its bytes, and the extent from which on it is blank.
struct AreaView {
  const char* data = nullptr;
  std::size_t size = 0;
  std::size_t extent = 0;
  std::string_view view() const { return std::string_view(data, size); }
  std::string_view used() const { return std::string_view(data, extent); }
};

// The whole area named by a one-character code (1..6, S, L, D), or nothing.
std::optional<AreaView> area_by_code(const RunState& rs, char code);

// Resolves the last parse against the area table: columns N1..N2, clipped to the area, which
// may then be written (the area's extent covers them).
// Nothing for a literal or an unknown code (the caller reports it with its own word number).
// A reference that runs past its area is clipped, and the first time a node does so the
// statement-error report names `word` (0: never report).
std::optional<Field> resolve_field_general(RunState& rs, int word);  // any reference

// The same for an operand that is a field reference whatever its start column: a start of 0
// is clipped to column 1 like any other reference outside its area.
std::optional<Field> resolve_reference(RunState& rs, int word);

// Columns n1..n2 of area `code` when the area is a record area or S and the columns lie inside
// it (nothing to clip, nothing to report): writable, the extent raised over them. Nothing
// otherwise.
// The area of a record area code (1..6) or S; nothing for any other code.
inline Area<4096>* record_area(RunState& rs, char code) {
  switch (code) {
    case '1': return &rs.F1;
    case '2': return &rs.F2;
    case '3': return &rs.F3;
    case '4': return &rs.F4;
    case '5': return &rs.F5;
    case '6': return &rs.F6;
    case 'S': return &rs.S;
    default: return nullptr;
  }
}

// Whether columns n1..n2 lie inside an area of 4096 columns: nothing to clip.
inline bool columns_inside(int n1, int n2) { return n1 >= 1 && n2 >= n1 - 1 && n2 <= 4096; }

inline std::optional<Field> inside_field(RunState& rs, char code, int n1, int n2) {
  Area<4096>* area = columns_inside(n1, n2) ? record_area(rs, code) : nullptr;
  if (area == nullptr)
    return std::nullopt;
  const std::size_t from = static_cast<std::size_t>(n1 - 1);
  const std::size_t to = static_cast<std::size_t>(n2);
  return Field{area->columns(from, to), to - from};
}

// A reference inside a record area or S is resolved inline; anything else the general way.
inline std::optional<Field> resolve_field(RunState& rs, int word) {
  if (rs.FILE_CODE.size() == 1) {
    if (std::optional<Field> f = inside_field(rs, rs.FILE_CODE.data()[0], rs.N1, rs.N2))
      return f;
  }
  return resolve_field_general(rs, word);
}

// The field word n of the current node names, from its kept parse, when that parse is there
// for the current quote character and resolve_field would take it inline; FLD, FILE_CODE, N1
// and N2 are left alone. For an instruction that parses another word next, which overwrites
// all four whatever this word held.
inline std::optional<Field> kept_inside_field(RunState& rs, int n) {
  const ParsedWord& p = rs.current_node->parsed[n];
  if (!p.ready || p.quote != rs.QUOTE || p.FILE_CODE.size() != 1)
    return std::nullopt;
  return inside_field(rs, p.FILE_CODE.data()[0], p.N1, p.N2);
}

// Stores `value` into the field left-aligned: cut at the field's end or blank-filled to it.
void store_field(const Field& f, std::string_view value);

}  // namespace kovran

#endif  // KOVRAN_FIELDS_FIELD_REF_H_
