// compiler/node.h - one instruction node of the program list.
#ifndef KOVRAN_COMPILER_NODE_H_
#define KOVRAN_COMPILER_NODE_H_

#include <array>
#include <cassert>
#include <cstdint>
#include <string_view>

#include "compiler/operand.h"
#include "driver/text.h"
#include "records/files.h"

namespace kovran {

// The instruction code F(1), decoded once whenever the words are stored.
// ORDER OP: main dispatch table order.
// Adding an instruction touches this enumeration, decode_op, its decode in decode_node
// (compiler/parse.cc) when it has a form of its own, the two dispatch tables in
// engine/loop.cc, and its own family file; nothing else.
enum class Op : std::uint8_t {
  K,      // no operation
  CH,     // change: CH, A
  TR,     // translate: TR, Z
  I,      // IF
  U,      // end of block
  O,      // else
  D,      // loop back
  ARITH,  // + - X /
  M,      // move
  F,      // find
  C,      // clear
  E,      // edit
  L,      // table lookup
  W,      // write
  H,      // dump (main walk), end (end-of-job walk)
  G,      // end of pass
  B,      // call
  R,      // return
  S,      // subroutine entry
  T,      // table definition: never dispatched as such
  BAD,    // any other code
};

Op decode_op(std::string_view code);

constexpr int kWords = 9;

using Translation = std::array<unsigned char, 256>;

// The parse of a text that can change (a table field description): decoded again only when
// the text differs.
struct KeptParse {
  bool ready = false;
  Word text;
  Operand op;
};

struct Node {
  std::int16_t ILN = 0;    // node number
  std::int32_t line = 0;   // physical line of PROGRAM the statement stands on; 0 for a stop node
                           // kovran adds
  Word words[kWords + 1];  // F(1)..F(9); index 0 unused
  Op op = Op::BAD;         // F(1) decoded
  Node* previous = nullptr;
  Node* following = nullptr;
  Node* next = nullptr;
  Node* false_link = nullptr;
  // Decoded with the words, never changed by a run:
  Operand operands[kWords + 1];  // each word 2..9 as an operand
  bool ends_walk = false;        // the walk ends at this node: code G, or a first operand STOP
  std::uint8_t form = 0;         // which form of its instruction (MOVE_FORM, IF_FORM)
  char test = ' ';               // IF: the operator E U L G or the kind M A B F S; ' ' none
  char conn = ' ';               // IF: the connector
  const Translation* translation = nullptr;  // TR: the code each code becomes
  // W to a data file: its record area, output file and count in the run state.
  struct WriteTarget {
    Area<kAreaWidth>* area = nullptr;
    OutFile* file = nullptr;
    std::int32_t* count = nullptr;
    const std::size_t* extent = nullptr;  // the area's
  } write;
  // M in its usual form (MoveForm::kFields): the source's bytes that fit in the target, the
  // target's columns past them blanked; the target's area's extent is raised to `end`.
  struct MovePlan {
    MoveCopy copy;
    std::uint32_t width = 0;  // of the source field
    std::size_t* extent = nullptr;
    std::size_t end = 0;
  } move;
  bool in_run = false;  // a usual move that does not end the walk: a run of moves may take it
  // The run of usual moves that starts at a usual move (engine/loop.cc, planned before the
  // first pass): the copies of every move of it but the last, and the extents they raise.
  struct MoveRun {
    static constexpr int kAreas = 4;  // distinct target areas a run may have
    const MoveCopy* copies = nullptr;
    std::uint32_t count = 0;  // moves before the last
    // The same copies as words of sixteen bytes, when every one of them may be made so; null
    // otherwise.
    const Copy16* pieces = nullptr;
    std::uint32_t piece_count = 0;
    Node* last = nullptr;  // the last move: it makes its own, and leaves SOURCE and the parse
    std::uint8_t areas = 0;
    std::size_t* extent[kAreas] = {};
    std::size_t end[kAreas] = {};
    // Every source of the run lies in the single-file cycle's record area, within its first
    // record_end columns: the moves may read the record where the read left it when it is as
    // long.
    std::size_t record_end = SIZE_MAX;  // SIZE_MAX: some source lies elsewhere
    Node* write = nullptr;  // a W the last move leads to by a link that stays: made with the run
    // Every move writes to that W's area, none reads it, and they write all its columns before
    // end[0], the last of the area's columns but one or fewer: when the area is blank the moves
    // may place the record straight into the file's buffer, and the area stays blank.
    bool placed = false;
    // It writes an area that the usual IF compares, other than the record area, and may so write
    // the area BUFFER is to be filled in from.
    bool writes_compared = false;
    std::int32_t counted = 0;  // the nodes after the first the run makes: count, and the W
  } run;
  // IF: where the walk goes on when the test fails, past the block ends (U) and no-operations
  // (K) that its false link leads through, and how many of them it passes (engine/loop.cc).
  // `false_far`: past the end-of-input tests (I F, no connector) among them too, which the
  // main walk always finds false: for a test that fails with COND false, as theirs do.
  struct FalseSkip {
    Node* to = nullptr;
    std::uint16_t passed = 0;
  };
  FalseSkip false_skip, false_far;
  bool against_literal = false;  // IF: a field inside its area compared with a literal
  // That comparison: the area it copies into BUFFER, the field and the literal.
  struct ComparePlan {
    const char* area = nullptr;
    const std::size_t* extent = nullptr;
    std::size_t area_width = 0;
    const char* field = nullptr;
    std::size_t width = 0;
    const char* literal = nullptr;
    std::size_t literal_size = 0;
    MoveCopy to_source;  // the field into SOURCE
    // A literal as wide as the field, of 1 to 16 characters: compared, and the field copied
    // into SOURCE, in two words of this many bytes each (0: byte by byte), which may overlap;
    // the literal's first and last such word.
    std::uint8_t word = 0;
    bool holds[3] = {};  // the test's outcome when the field is lower, equal, higher
    std::uint64_t literal_head = 0;
    std::uint64_t literal_tail = 0;
    // The field lies in the single-file cycle's record area and ends at this column (0: it
    // does not), planned before the first pass (engine/loop.cc).
    std::size_t record_end = 0;
  } compare;
  // + A B in its usual form: B a field inside its area, A one or a literal of digits (its value
  // kept), neither wider than 15.
  // E: its mask as runs of one kind of character, from the right: '0' copies, ' ' copies
  // with zero suppression, '.' is inserted, 'x' (any other character) does nothing.
  struct EditPlan {
    std::uint8_t runs = 0;
    char kind[kEditWidth] = {};
    std::uint8_t length[kEditWidth] = {};
  } edit;
  struct SumPlan {
    bool usual = false;
    bool literal_addend = false;
    std::uint64_t addend[2] = {};  // the literal's digit places, low and high (fields/decimal.h)
  } sum;

  const Word& F(int n) const {
    assert(n >= 1 && n <= kWords);
    return words[n];
  }
  std::string_view word(int n) const { return F(n).view(); }
  const Operand& operand(int n) const {
    assert(n >= 2 && n <= kWords);
    return operands[n];
  }
};

}  // namespace kovran

#endif  // KOVRAN_COMPILER_NODE_H_
