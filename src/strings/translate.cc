// strings/translate.cc - the translate instruction: a field changed character by character.
#include <array>

#include "driver/diagnostics.h"
#include "fields/field_ref.h"
#include "strings/strings.h"

namespace kovran {
namespace {

// Every code maps to itself, then each character of `from` to the character of `to` at the
// same position, or to a blank past the end of `to`. The first position of a character
// listed twice decides; characters of `to` beyond the length of `from` are not used.
Translation build_translation(std::string_view to, std::string_view from) {
  Translation table;
  std::array<bool, 256> listed{};
  for (std::size_t code = 0; code < table.size(); ++code)
    table[code] = static_cast<unsigned char>(code);
  for (std::size_t i = 0; i < from.size(); ++i) {
    const unsigned char code = static_cast<unsigned char>(from[i]);
    if (listed[code])
      continue;
    listed[code] = true;
    table[code] = static_cast<unsigned char>(i < to.size() ? to[i] : ' ');
  }
  return table;
}

}  // namespace

// TRANS_RTN   TR|Z field to from                                       words 1, 2, 3, 4
// Replaces each character of the field, in place, through the translation that maps the
// characters of word 4 to those of word 3 at the same positions (blank when word 3 is
// shorter). Words 3 and 4 are taken as parsed: a literal's whole text, an unquoted word's
// first character. Only the field's columns change.
// Errors:  unknown area -> ERROR_RTN(2), nothing changes. A literal, or a start column of 0,
//          in word 2 ends the instruction silently.
// Leaves:  SOURCE = word 3's text, TARGET = word 4's text, M = the field width; FILE_CODE,
//          N1, N2 = the parse of the field.
void TRANS_RTN(RunState& rs) {
  rs.SOURCE = parse_word(rs, 3).FILE_CODE.view();
  rs.TARGET = parse_word(rs, 4).FILE_CODE.view();
  const Operand& field_op = parse_word(rs, 2);
  if (field_op.literal())
    return;
  rs.M = static_cast<std::int16_t>(field_op.N2 - field_op.N1 + 1);
  const std::optional<Field> field = required_field(rs, field_op, 2);  // clipped to the area
  if (!field)
    return;
  const Translation& table = *rs.current_node->translation;
  for (std::size_t k = 0; k < field->size; ++k)
    (*field)[k] = static_cast<char>(table[static_cast<unsigned char>((*field)[k])]);
}

void TRANS_DECODE(RunState& rs, Node& node) {
  rs.translations.push_back(
      build_translation(node.operand(3).FILE_CODE.view(), node.operand(4).FILE_CODE.view()));
  node.translation = &rs.translations.back();
}

}  // namespace kovran
