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
std::optional<Field> resolve_field(RunState& rs, int word);

// Stores `value` into the field left-aligned: cut at the field's end or blank-filled to it.
void store_field(const Field& f, std::string_view value);

}  // namespace kovran

#endif  // KOVRAN_FIELDS_FIELD_REF_H_
