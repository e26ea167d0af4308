// conditions/operands.h - what the IF tests share: operands read through BUFFER, the four
// operators, and the connector character.
#ifndef KOVRAN_CONDITIONS_OPERANDS_H_
#define KOVRAN_CONDITIONS_OPERANDS_H_

#include <string_view>

#include "driver/run_state.h"

namespace kovran {

// What the area code of the last parse did to BUFFER.
enum class BufferLoad {
  kArea,     // an area (1..6, S, L, D) was copied whole into BUFFER
  kCodeC,    // code C (where accepted): BUFFER stands as it was
  kUnknown,  // any other code: reported, BUFFER stands as it was
};

// Looks up the area code of `op`. An area is copied whole into BUFFER (4096 characters,
// 166 for L, 42 for D); C is accepted only when `accept_c`; any other code is reported with
// ERROR_RTN(word). A literal is looked up the same way: its text is rarely an area code.
BufferLoad load_buffer(RunState& rs, const Operand& op, int word, bool accept_c);

// Columns N1..N2 of `op` in BUFFER (N1 > 0). After an area was copied they are resolved against
// that area (clipped to it, the first clip of the node reported as `word`); otherwise they are
// clipped to BUFFER's current length, and a reference invalid in itself (start below 1, end
// before start - 1 or beyond 4096) is reported as `word` the first time the node makes one.
std::string_view buffer_field(RunState& rs, const Operand& op, int word, BufferLoad load);

// The operator a word names: E, U, L or G as a whole word; a blank for anything else.
inline char operator_code(std::string_view word) {
  for (const char* op : {"E", "U", "L", "G"}) {
    if (word_is(word, op))
      return op[0];
  }
  return ' ';
}

// Whether operator `op` holds for a comparison whose outcome is `cmp` (<0, 0, >0): E equal,
// U unequal, L less, G greater. A blank (no operator) never holds.
inline bool operator_holds(char op, int cmp) {
  switch (op) {
    case 'E': return cmp == 0;
    case 'U': return cmp != 0;
    case 'L': return cmp < 0;
    case 'G': return cmp > 0;
    default: return false;
  }
}

// The connector character: the first character of `text`, a blank when it is empty.
inline char connector(std::string_view text) { return text.empty() ? ' ' : text.front(); }

}  // namespace kovran

#endif  // KOVRAN_CONDITIONS_OPERANDS_H_
