// conditions/conditions.h - the IF instruction and its tests.
#ifndef KOVRAN_CONDITIONS_CONDITIONS_H_
#define KOVRAN_CONDITIONS_CONDITIONS_H_

#include <cstdint>
#include <cstring>
#include <utility>

#include "conditions/operands.h"
#include "driver/run_state.h"
#include "fields/field_ref.h"

namespace kovran {

// The test an IF statement asks for, decided when it is compiled.
enum class IfForm : std::uint8_t {
  kNone,      // fits no form: passed over
  kCompare,   // I first op second [conn]
  kLineTest,  // I C op 'nn' [conn]
  kMatch,     // I M|A|B|F|S [conn]
  kNumeric,   // I N first op second [conn]
  kChar,      // I C field E|U set [conn]
  kBreak,     // I field [A|O]
};
// Decides the form, the operator or kind, and the connector of an IF node from its words.
void IF_DECODE(Node& node);

void IF_CFC_RTN(RunState& rs);    // I field op field|literal [conn]; I C op 'nn' [conn]
void IF_CHAR_RTN(RunState& rs);   // I C field E|U set [conn]
void IF_NUMERIC(RunState& rs);    // I N field op field|literal [conn]
void CNTL_BRK_RTN(RunState& rs);  // I field [A|O]

// Inline, as the walk makes them at every IF.
// IF_AND_OR   combines COND into the run of IF statements by the connector c
// A non-blank c starts a run (RESULT := COND) or continues it, applying the connector of the
// statement before: A ands, O ors, any other character drops this test's outcome. Strictly
// left to right, no precedence: X1 A, X2 O, X3 gives ((X1 and X2) or X3).
// A blank c ends the run: the current node's next link becomes its following node when the
// condition holds, else its false link (empty when the logic pass set none: the pass ends).
// Leaves:  at the end of a run OLDRESULT = the condition, RESULT false, LASTCOMPCOND blank,
//          NEWCOND true; within a run NEWCOND false and LASTCOMPCOND = c.
// `kSkip`: made by the main walk without trace or loop limit, where a false test goes on past
// the block ends its false link leads through (Node::false_skip, false_far), counting them as
// made.
template <bool kSkip = false>
[[gnu::always_inline]] inline void IF_AND_OR(RunState& rs, Node& node, char c) {
  const auto apply_last_connector = [&rs] {
    if (rs.LASTCOMPCOND == 'A') {
      rs.RESULT = rs.RESULT && rs.COND;
    } else if (rs.LASTCOMPCOND == 'O') {
      rs.RESULT = rs.RESULT || rs.COND;
    }
  };
  if (c != ' ') {
    if (rs.NEWCOND) {
      rs.NEWCOND = false;
      rs.RESULT = rs.COND;
    } else {
      apply_last_connector();
    }
    rs.LASTCOMPCOND = c;
    return;
  }
  if (rs.LASTCOMPCOND == ' ') {
    rs.RESULT = rs.COND;
  } else {
    apply_last_connector();
  }
  if (rs.RESULT) {
    node.next = node.following;
  } else if (kSkip) {
    const Node::FalseSkip& skip = rs.COND ? node.false_skip : node.false_far;
    node.next = skip.to;
    if (skip.passed > 0)
      count_many(rs.LOOPCOUNT, skip.passed);
  } else {
    node.next = node.false_link;
  }
  rs.OLDRESULT = rs.RESULT;
  rs.RESULT = false;
  rs.LASTCOMPCOND = ' ';
  rs.NEWCOND = true;
}
template <bool kSkip = false>
[[gnu::always_inline]] inline void IF_AND_OR(RunState& rs, char c) {
  IF_AND_OR<kSkip>(rs, *rs.current_node, c);
}

// IF_MATCH_RTN   I M|A|B|F|S [conn]                                        words 1-3
// M: the A key equals the B key (blank-extended); A: the A key is lower; B: the B key is
// lower. F: all input is exhausted (true only in the end-of-job walk, which starts at the
// last I F statement). S: true the first time any start test is evaluated in the run.
// Leaves:  IF_S cleared by the first start test.
template <bool kSkip = false>
[[gnu::always_inline]] inline void IF_MATCH_RTN(RunState& rs) {
  const Node& node = *rs.current_node;
  rs.COND = false;
  switch (node.test) {
    case 'S':
      if (rs.IF_S) {
        rs.COND = true;
        rs.IF_S = false;
      }
      break;
    case 'F': rs.COND = rs.EOF_; break;
    case 'M': rs.COND = compare_padded(rs.AKEY.view(), rs.BKEY.view()) == 0; break;
    case 'A': rs.COND = compare_padded(rs.AKEY.view(), rs.BKEY.view()) < 0; break;
    case 'B': rs.COND = compare_padded(rs.BKEY.view(), rs.AKEY.view()) < 0; break;
    default: break;
  }
  IF_AND_OR<kSkip>(rs, node.conn);
}

// The word size of a comparison of n bytes in two words (Node::ComparePlan::word), its
// literal's words, when the literal is as wide as the field, and the outcomes of operator `test`.
inline void plan_compare_words(Node::ComparePlan& c, char test) {
  const std::size_t n = c.width;
  for (int order = -1; order <= 1; ++order) c.holds[order + 1] = operator_holds(test, order);
  c.word = 0;
  if (n != c.literal_size || n == 0 || n > 16)
    return;
  c.word = n >= 8 ? 8 : n >= 4 ? 4 : n >= 2 ? 2 : 1;
  std::memcpy(&c.literal_head, c.literal, c.word);
  std::memcpy(&c.literal_tail, c.literal + n - c.word, c.word);
}

// The n bytes at `field` against the planned literal of the same width in two words of type W
// (n from sizeof(W) to twice that), copied on the way to `source`. <0, 0 or >0, as
// compare_padded (-1, 0 or 1): the words read from the first byte on decide the order.
template <class W>
[[gnu::always_inline]] inline int compare_words(const Node::ComparePlan& c, const char* field,
                                                char* source) {
  const std::size_t n = c.width;
  W head, tail;
  std::memcpy(&head, field, sizeof(W));
  std::memcpy(&tail, field + n - sizeof(W), sizeof(W));
  std::memcpy(source, &head, sizeof(W));
  std::memcpy(source + n - sizeof(W), &tail, sizeof(W));
  const auto lhead = static_cast<W>(c.literal_head);
  const auto ltail = static_cast<W>(c.literal_tail);
  const auto order = [](W a, W b) {
    if constexpr (sizeof(W) == 1) {
      return a < b ? -1 : 1;
    } else if constexpr (sizeof(W) == 2) {
      return __builtin_bswap16(a) < __builtin_bswap16(b) ? -1 : 1;
    } else if constexpr (sizeof(W) == 4) {
      return __builtin_bswap32(a) < __builtin_bswap32(b) ? -1 : 1;
    } else {
      return __builtin_bswap64(a) < __builtin_bswap64(b) ? -1 : 1;
    }
  };
  if (head != lhead)
    return order(head, lhead);
  if (tail != ltail)
    return order(tail, ltail);
  return 0;
}

// The usual comparison, a field inside its area against a literal (Node::against_literal):
// IF_CFC_RTN's steps with nothing to report. Inline: the walk makes it without a call.
// `kDeferred`: made by the main walk, which fills BUFFER and TARGET in before anything can see
// them (RunState::settle_buffer, settle_target), so the copies of the area and the literal are
// left to it. `kSkip`: as for IF_AND_OR.
template <bool kDeferred = false, bool kSkip = false>
[[gnu::always_inline]] inline void compare_with_literal(RunState& rs, Node& node) {
  const Node::ComparePlan& c = node.compare;
  const char* field = c.field;
  if (kDeferred && c.record_end != 0 && rs.record_text != nullptr) {
    // The record still in its file's buffer: the field is read there when it lies inside.
    if (c.record_end <= rs.record_size) {
      field = rs.record_text + (c.field - c.area);
    } else {
      rs.settle_record();
    }
  }
  // The test first, the field copied into SOURCE on the way (its bytes in the area are those
  // BUFFER holds, past the extent both are blank), then what it leaves: nothing stored below
  // changes what it reads.
  char* const source = rs.SOURCE.data();
  if (c.word == 8) {
    rs.COND = c.holds[compare_words<std::uint64_t>(c, field, source) + 1];
  } else if (c.word == 4) {
    rs.COND = c.holds[compare_words<std::uint32_t>(c, field, source) + 1];
  } else if (c.word == 2) {
    rs.COND = c.holds[compare_words<std::uint16_t>(c, field, source) + 1];
  } else if (c.word == 1) {
    rs.COND = c.holds[compare_words<std::uint8_t>(c, field, source) + 1];
  } else {
    rs.COND =
        operator_holds(node.test, compare_padded(std::string_view(field, c.width),
                                                 std::string_view(c.literal, c.literal_size)));
    make_copy(c.to_source, field);
  }
  if (kDeferred) {
    rs.defer_buffer(c.area, c.extent, c.area_width);
    rs.target_waits.wait(c.literal, c.literal_size);
  } else {
    rs.BUFFER.assign_padded(std::string_view(c.area, *c.extent), c.area_width);
    rs.TARGET.assign_outside(c.literal, c.literal_size);
  }
  parse_word(rs, node, 5);
  IF_AND_OR<kSkip>(rs, node, node.conn);
  rs.SOURCE.resize_within(c.width);
  if (kDeferred)
    rs.source_waits.drop();
}

// IF_RTN   I ...                                                           words 1-6
// Recognises the form by whole words, the first rule that matches deciding:
//   word 3 E, U, L or G       field comparison (also the listing line test I C op 'nn')
//   word 2 M, A, B or F       key match, A low, B low, end of input
//   word 2 N                  numeric comparison
//   word 2 S                  start test
//   word 2 C                  character-set test
//   word 3 A, O or absent     control break (the whole word: AND is no connector here)
// Anything else is passed over: no flag changes and the next link stays as it is.
// Errors:  none of its own; the tests report their operands.
[[gnu::always_inline]] inline void IF_RTN(RunState& rs) {
  switch (static_cast<IfForm>(rs.current_node->form)) {
    case IfForm::kCompare:
      if (rs.current_node->against_literal) {
        compare_with_literal(rs, *rs.current_node);
        break;
      }
      [[fallthrough]];
    case IfForm::kLineTest: IF_CFC_RTN(rs); break;
    case IfForm::kMatch: IF_MATCH_RTN(rs); break;
    case IfForm::kNumeric: IF_NUMERIC(rs); break;
    case IfForm::kChar: IF_CHAR_RTN(rs); break;
    case IfForm::kBreak: CNTL_BRK_RTN(rs); break;
    case IfForm::kNone: break;
  }
}

}  // namespace kovran

#endif  // KOVRAN_CONDITIONS_CONDITIONS_H_
