// conditions/if.cc - the IF instruction: recognising the test a statement asks for, and
// chaining consecutive IF statements by their connectors.
#include "conditions/conditions.h"
#include "conditions/operands.h"

namespace kovran {

// The form by IF_RTN's rules, in their order.
IfForm if_form_of(const Node& node) {
  const std::string_view w2 = node.word(2);
  const std::string_view w3 = node.word(3);
  if (is_operator(w3))
    return IfForm::kCompare;
  if (word_is(w2, "M") || word_is(w2, "A") || word_is(w2, "B") || word_is(w2, "F"))
    return IfForm::kMatch;
  if (word_is(w2, "N"))
    return IfForm::kNumeric;
  if (word_is(w2, "S"))
    return IfForm::kMatch;
  if (word_is(w2, "C"))
    return IfForm::kChar;
  if (word_is(w3, "A") || word_is(w3, "O") || word_is(w3, ""))
    return IfForm::kBreak;
  return IfForm::kNone;
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
void IF_RTN(RunState& rs) {
  Node& node = *rs.current_node;
  if (node.if_form == 0)  // the words never change once compiled
    node.if_form = static_cast<std::uint8_t>(if_form_of(node));
  switch (static_cast<IfForm>(node.if_form)) {
    case IfForm::kCompare: IF_CFC_RTN(rs); break;
    case IfForm::kMatch: IF_MATCH_RTN(rs); break;
    case IfForm::kNumeric: IF_NUMERIC(rs); break;
    case IfForm::kChar: IF_CHAR_RTN(rs); break;
    case IfForm::kBreak: CNTL_BRK_RTN(rs); break;
    case IfForm::kUnknown:
    case IfForm::kNone: break;
  }
}

// IF_AND_OR   combines COND into the run of IF statements by the connector c
// A non-blank c starts a run (RESULT := COND) or continues it, applying the connector of the
// statement before: A ands, O ors, any other character drops this test's outcome. Strictly
// left to right, no precedence: X1 A, X2 O, X3 gives ((X1 and X2) or X3).
// A blank c ends the run: the current node's next link becomes its following node when the
// condition holds, else its false link (empty when the logic pass set none: the pass ends).
// Leaves:  at the end of a run OLDRESULT = the condition, RESULT false, LASTCOMPCOND blank,
//          NEWCOND true; within a run NEWCOND false and LASTCOMPCOND = c.
void IF_AND_OR(RunState& rs, char c) {
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
  Node& node = *rs.current_node;
  node.next = rs.RESULT ? node.following : node.false_link;
  rs.OLDRESULT = rs.RESULT;
  rs.RESULT = false;
  rs.LASTCOMPCOND = ' ';
  rs.NEWCOND = true;
}

}  // namespace kovran
