// strings/edit.cc - the edit instruction: digits through a mask into report text.
#include <algorithm>
#include <cstring>

#include "driver/diagnostics.h"
#include "fields/field_ref.h"
#include "strings/strings.h"
#include "strings/text_search.h"

namespace kovran {
namespace {

constexpr std::size_t kResultWidth = kEditWidth;  // columns of TARGET2

// The mask of an E statement, as MASK holds it.
std::string_view mask_of(const Node& node, char quote) {
  // NOTE: an unquoted mask is parsed as an area code, so only its first character is used.
  const std::string_view text = strip_char(node.operand(4).FILE_CODE.view(), quote);
  return text.substr(0, std::min(text.size(), kEditWidth));
}

// Walks the mask (as runs, Node::EditPlan) and SOURCE from the right into TARGET2,
// right-aligned. Mask characters: 0 copies a source character, blank copies it but blanks a 0
// that has only zeros to its left, a period is inserted without using a source character; any
// other character does nothing. The walk stops when either the mask or the source is used up,
// so high-order source characters beyond the mask are dropped and no period follows an
// exhausted source.
void walk_mask(RunState& rs, const Node::EditPlan& plan) {
  char* out = rs.TARGET2.data();
  std::memset(out, ' ', kResultWidth);
  const std::string_view source = rs.SOURCE.view();
  // Source characters before `zeros` are 0 with only zeros to their left: those a blank of the
  // mask suppresses (all of them when there is no other character).
  const std::size_t first_nonzero = first_not_in(source, "0");
  const std::size_t zeros = first_nonzero == 0 ? source.size() : first_nonzero - 1;
  const char* src = source.data();
  std::size_t u = source.size();
  std::size_t m = kResultWidth;  // the mask has at most 20 characters, so m never passes 0
  for (std::size_t r = 0; r < plan.runs && u > 0; ++r) {
    const std::size_t length = plan.length[r];
    switch (plan.kind[r]) {
      case '.':
        m -= length;
        std::memset(out + m, '.', length);
        break;
      case '0':
      case ' ': {
        const std::size_t n = std::min(length, u);
        u -= n;
        m -= n;
        move_bytes(out + m, src + u, n);
        if (plan.kind[r] == ' ' && zeros > u)
          fill_blanks(out + m, std::min(zeros, u + n) - u);
        break;
      }
      default: break;
    }
  }
}

}  // namespace

// EDIT_RTN   E source target 'mask'                                   words 1, 2, 3, 4
// Edits the source field through the mask into TARGET2 (20 columns, built from the right) and
// stores the rightmost target-width columns of it into the target field. A target wider than
// 20 columns gets blanks in its leading columns.
// Errors:  unknown source area, or a literal source -> ERROR_RTN(2), the edit goes on with
//          the previous SOURCE; unknown target area, or a literal target -> ERROR_RTN(3),
//          nothing is stored.
// Leaves:  MASK, SOURCE = the fetched source, TARGET2 = the edited result; FILE_CODE, N1, N2 =
//          the parse of the target.
void EDIT_RTN(RunState& rs) {
  const Node& node = *rs.current_node;
  parse_word(rs, 4);
  rs.MASK = mask_of(node, rs.QUOTE);

  fetch_field(rs, parse_word(rs, 2), 2, rs.SOURCE);

  walk_mask(rs, node.edit);

  const Operand& target_op = parse_word(rs, 3);
  const std::optional<Field> target = required_field(rs, target_op, 3);
  if (!target)
    return;
  // The value is as wide as the reference; a reference cut at its area's end keeps its left
  // part, as every store does.
  const long width = target_op.N2 - target_op.N1 + 1;
  const long blanks = width - static_cast<long>(kResultWidth);  // leading columns past 20
  const std::size_t lead =
      blanks > 0 ? std::min(target->size, static_cast<std::size_t>(blanks)) : 0;
  fill_blanks(target->data, lead);
  if (target->size >
      lead) {  // then the field has a column past the blanks: 1 <= width <= 20 + lead
    const std::size_t from = static_cast<std::size_t>(static_cast<long>(lead) - blanks);
    move_bytes(target->data + lead, rs.TARGET2.data() + from, target->size - lead);
  }
}

void EDIT_DECODE(Node& node, char quote) {
  Node::EditPlan& plan = node.edit;
  plan.runs = 0;
  const std::string_view mask = mask_of(node, quote);
  for (std::size_t v = mask.size(); v > 0; --v) {
    const char c = mask[v - 1];
    const char kind = c == '0' || c == ' ' || c == '.' ? c : 'x';
    if (plan.runs > 0 && plan.kind[plan.runs - 1] == kind) {
      ++plan.length[plan.runs - 1];
    } else {
      plan.kind[plan.runs] = kind;
      plan.length[plan.runs] = 1;
      ++plan.runs;
    }
  }
}

}  // namespace kovran
