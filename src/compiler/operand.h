// compiler/operand.h - an operand word as the instructions use it, decoded once when its node is
// compiled: the parse into area code or literal text and two columns, and the columns of the
// named area it covers, clipped to the area.
#ifndef KOVRAN_COMPILER_OPERAND_H_
#define KOVRAN_COMPILER_OPERAND_H_

#include <cstddef>
#include <cstdint>
#include <string_view>

#include "driver/text.h"

namespace kovran {

using Word = Varying<80>;

constexpr std::size_t kPrintLineWidth = 166;  // columns of the print line L
constexpr std::size_t kSmallAreaWidth = 42;   // columns of the small scratch area D
constexpr std::size_t kEditWidth = 20;        // columns of the edit result, the longest mask

// The addressable areas, by the one-character code that names them; k1..k6 are 1..6, the
// numbers of the data files whose areas they are. ORDER AREA: kAreas lists them in this order.
enum class AreaId : std::uint8_t { kNone, k1, k2, k3, k4, k5, k6, kS, kL, kD };

// The code and the width of each area, by AreaId.
struct AreaCode {
  char code;
  std::size_t width;
};
inline constexpr AreaCode kAreas[] = {
    {' ', 0},
    {'1', kAreaWidth},
    {'2', kAreaWidth},
    {'3', kAreaWidth},
    {'4', kAreaWidth},
    {'5', kAreaWidth},
    {'6', kAreaWidth},
    {'S', kAreaWidth},
    {'L', kPrintLineWidth},
    {'D', kSmallAreaWidth},
};

// The area code `code` names (1..6, S, L, D), or kNone.
AreaId area_of_code(char code);
// Its width: 4096, 166 for L, 42 for D (0 for kNone).
inline std::size_t area_width(AreaId area) { return kAreas[static_cast<std::size_t>(area)].width; }

struct Operand {
  Word FILE_CODE;       // area code, or a literal's text, as the operand parse leaves it
  std::int16_t N1 = 0;  // start and end column as parsed; 0 for a literal
  std::int16_t N2 = 0;
  AreaId area = AreaId::kNone;  // the area of a one-character code
  std::uint16_t first = 0;      // columns [first, last) of the area, 0-based, clipped to it
  std::uint16_t last = 0;
  bool clipped = false;  // N1..N2 runs outside the area (a start of 0 included): report once
  // The area's bytes and extent in the run state, bound when the node is compiled.
  char* bytes = nullptr;
  std::size_t* extent = nullptr;

  bool literal() const { return N1 <= 0; }
  std::size_t width() const { return last - first; }
};

// Parses one operand word with the quote character `quote`. Never fails. A quoted word is a
// literal: FILE_CODE its text without the apostrophes at both ends, N1 = N2 = 0. Otherwise
// FILE_CODE is the area code (first character), the second character is skipped and the rest
// gives start.end (one column when there is no period), each column text read right-aligned in
// four positions by the low four bits of its characters. The columns are then resolved against
// the area the code names, whatever N1 is.
Operand decode_operand(std::string_view word, char quote);

// first, last and clipped from area, N1 and N2.
void resolve_columns(Operand& op);

}  // namespace kovran

#endif  // KOVRAN_COMPILER_OPERAND_H_
