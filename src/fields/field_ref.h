// fields/field_ref.h - operands as the instructions use them: the decoded word of a node, the
// field it names (clipped to its area, the first clip of a node reported), fetch and store.
#ifndef KOVRAN_FIELDS_FIELD_REF_H_
#define KOVRAN_FIELDS_FIELD_REF_H_

#include <algorithm>
#include <cstddef>
#include <cstring>
#include <optional>
#include <string_view>

#include "compiler/operand.h"
#include "driver/diagnostics.h"
#include "driver/run_state.h"

namespace kovran {

// Columns of one area, already clipped to it.
struct Field {
  char* data = nullptr;
  std::size_t size = 0;
  std::string_view view() const { return std::string_view(data, size); }
  char& operator[](std::size_t k) const { return data[k]; }
};

// PARSE_FLD   parses FLD into FILE_CODE, N1 and N2, as decode_operand does. Never fails.
void PARSE_FLD(RunState& rs);

// The operand in word n of the current node, decoded when the node was compiled. FLD,
// FILE_CODE, N1 and N2 := its parse, as parsing the word afresh would leave them.
// NOTE: FLD and FILE_CODE are filled in only when something can see them (settle_parse).
inline const Operand& parse_word(RunState& rs, const Node& node, int n) {
  const Operand& op = node.operand(n);
  rs.N1 = op.N1;
  rs.N2 = op.N2;
  rs.parsed_text = &node.F(n);
  rs.parsed_code = &op.FILE_CODE;
  return op;
}
inline const Operand& parse_word(RunState& rs, int n) {
  return parse_word(rs, *rs.current_node, n);
}

// The same for a text that can change (a table field description): decoded again only when
// the table statement set a new text (it clears `ready`).
const Operand& decode_kept(RunState& rs, const Word& text, KeptParse& kept);
inline const Operand& parse_text(RunState& rs, const Word& text, KeptParse& kept) {
  const Operand& op = kept.ready ? kept.op : decode_kept(rs, text, kept);
  rs.N1 = op.N1;
  rs.N2 = op.N2;
  rs.parsed_text = &kept.text;
  rs.parsed_code = &op.FILE_CODE;
  return op;
}

// Reports word `word` of the current node the first time the node clips a reference.
void report_clip(RunState& rs, int word);

// Binds the operand's area to its bytes and extent in `rs` (nothing for an unknown code).
void bind_area(RunState& rs, Operand& op);

// The writable columns of a bound operand; the area's extent grows over them.
inline char* operand_columns(const Operand& op) {
  if (*op.extent < op.last)
    *op.extent = op.last;
  return op.bytes + op.first;
}

// The field an operand names whatever its start column (a start of 0 is clipped to column 1):
// nothing for an unknown area code. A reference that runs outside its area is clipped, and
// the first time a node does so the statement-error report names `word` (0: never report).
inline std::optional<Field> reference_of(RunState& rs, const Operand& op, int word) {
  if (op.bytes == nullptr)
    return std::nullopt;
  if (op.clipped && word > 0)
    report_clip(rs, word);
  return Field{operand_columns(op), op.width()};
}

// The field of an operand that may be a literal: nothing for a literal (start column 0 or
// below) or an unknown area code; the caller reports either with its own word number.
inline std::optional<Field> field_of(RunState& rs, const Operand& op, int word) {
  if (op.literal())
    return std::nullopt;
  return reference_of(rs, op, word);
}

// The field of an operand that must be a field: a literal or an unknown area code is reported
// as `word` (ERROR_RTN) and gives nothing.
inline std::optional<Field> required_field(RunState& rs, const Operand& op, int word) {
  std::optional<Field> f = field_of(rs, op, word);
  if (!f)
    ERROR_RTN(rs, word);
  return f;
}

// `into` := the text of that field. When it is reported, `into` keeps what it held, to be used
// as the operand's text. False when reported.
template <std::size_t Max>
bool fetch_field(RunState& rs, const Operand& op, int word, Varying<Max>& into) {
  const std::optional<Field> f = required_field(rs, op, word);
  if (f)
    into = f->view();
  return f.has_value();
}

// SOURCE := an operand's value: a literal's text, or its field fetched as by fetch_field.
inline void fetch_value(RunState& rs, const Operand& op, int word) {
  if (op.literal()) {
    rs.SOURCE = op.FILE_CODE.view();
  } else {
    fetch_field(rs, op, word, rs.SOURCE);
  }
}

// The operand moved right by d columns (the target of a move with a displacement), its
// columns resolved again.
Operand shifted(RunState& rs, const Operand& op, int d);

// An area as it stands, for reading: all its bytes, and the extent from which on it is blank.
struct AreaView {
  const char* data = nullptr;
  std::size_t size = 0;
  std::size_t extent = 0;
  std::string_view view() const { return std::string_view(data, size); }
  std::string_view used() const { return std::string_view(data, extent); }
};

// The whole area, for reading.
AreaView area_view(const RunState& rs, AreaId area);

// Whether columns n1..n2 lie inside an area of 4096 columns: nothing to clip.
inline bool columns_inside(int n1, int n2) {
  return n1 >= 1 && n2 >= n1 - 1 && n2 <= static_cast<int>(kAreaWidth);
}

// Stores `value` into the field left-aligned: cut at the field's end or blank-filled to it.
inline void store_field(const Field& f, std::string_view value) {
  const std::size_t n = std::min(value.size(), f.size);
  move_bytes(f.data, value.data(), n);
  if (f.size > n)
    fill_blanks(f.data + n, f.size - n);
}

// The usual move's copy, as store_field makes it, from its plan (Node::MovePlan), the source's
// bytes taken from `from`.
inline void make_move(const Node::MovePlan& m, const char* from) {
  if (*m.extent < m.end)
    *m.extent = m.end;
  make_copy(m.copy, from);
}

// The usual move, M source target with both fields inside their areas (MoveForm::kFields):
// nothing to report. Inline, so that the walk makes it without a call. `shift`: the source's
// columns stand that many bytes further on (the record, still in its file's buffer).
// Leaves:  SOURCE = the source field; FILE_CODE, N1, N2 = the parse of the target.
inline void move_fields(RunState& rs, const Node& node, std::uintptr_t shift = 0) {
  const char* from = shifted_by(node.move.copy.from, shift);
  rs.SOURCE.assign_outside(from, node.move.width);  // before an overlapping target
  parse_word(rs, 3);
  make_move(node.move, from);
}

}  // namespace kovran

#endif  // KOVRAN_FIELDS_FIELD_REF_H_
