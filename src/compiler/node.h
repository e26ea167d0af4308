// compiler/node.h - one instruction node of the program list.
#ifndef KOVRAN_COMPILER_NODE_H_
#define KOVRAN_COMPILER_NODE_H_

#include <cassert>
#include <cstdint>
#include <string_view>

#include "driver/text.h"

namespace kovran {

// The instruction code F(1), decoded once whenever the words are stored.
// ORDER OP: main dispatch table order.
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
using Word = Varying<80>;

// One word as the operand parse leaves it: area code or literal text, start and end column.
// Words never change once compiled, so each is parsed once and the result reused.
struct ParsedWord {
  bool ready = false;  // parsed, with the quote character `quote`
  char quote = ' ';    // the quote character in force when it was parsed
  Word FILE_CODE;      // as PARSE_FLD leaves it
  std::int16_t N1 = 0;
  std::int16_t N2 = 0;
};

// The parse of a text that can change (a table field description): reused while the text is
// the same.
struct KeptParse {
  Word text;
  ParsedWord parsed;
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
  bool clip_reported = false;     // a reference of this node ran past its area and was reported
  bool told = false;              // its first report has had its standard-error line
  ParsedWord parsed[kWords + 1];  // operand parse of each word, filled on first use
  std::uint8_t if_form = 0;  // the test an IF statement asks for, found on first use; 0 none yet

  const Word& F(int n) const {
    assert(n >= 1 && n <= kWords);
    return words[n];
  }
  std::string_view word(int n) const { return F(n).view(); }
  // The walk ends at this node: code G, or a first operand of STOP.
  bool ends_walk() const {
    if (ends_walk_ < 0)
      ends_walk_ = (op == Op::G || word_is(word(2), "STOP")) ? 1 : 0;
    return ends_walk_ != 0;
  }

  mutable std::int8_t ends_walk_ = -1;  // ends_walk() once known (the words and code are fixed)
};

}  // namespace kovran

#endif  // KOVRAN_COMPILER_NODE_H_
