// conditions/if.cc - the IF instruction: recognising the test a statement asks for, and
// chaining consecutive IF statements by their connectors.
#include "conditions/conditions.h"
#include "conditions/operands.h"

namespace kovran {

void IF_DECODE(Node& node) {
  const std::string_view w2 = node.word(2);
  const std::string_view w3 = node.word(3);
  IfForm form = IfForm::kNone;
  if (operator_code(w3) != ' ') {
    // NOTE: the connector is word 5 as parsed: a quoted connector counts by its text.
    form = word_is(w2, "C") ? IfForm::kLineTest : IfForm::kCompare;
    node.test = operator_code(w3);
    node.conn = connector(node.operand(5).FILE_CODE.view());
  } else if (word_is(w2, "M") || word_is(w2, "A") || word_is(w2, "B") || word_is(w2, "F") ||
             word_is(w2, "S")) {
    form = IfForm::kMatch;
    node.test = w2.front();
    node.conn = connector(w3);
  } else if (word_is(w2, "N")) {
    form = IfForm::kNumeric;
    node.test = operator_code(node.word(4));
    node.conn = connector(node.word(6));
  } else if (word_is(w2, "C")) {
    form = IfForm::kChar;
    node.test = operator_code(node.word(4));
    node.conn = connector(node.word(6));
  } else if (word_is(w3, "A") || word_is(w3, "O") || word_is(w3, "")) {
    form = IfForm::kBreak;
    node.conn = connector(w3);
  }
  node.form = static_cast<std::uint8_t>(form);
  const Operand& first = node.operand(2);
  const Operand& second = node.operand(4);
  node.against_literal =
      form == IfForm::kCompare && first.bytes != nullptr && !first.clipped && second.literal();
  if (node.against_literal) {
    node.compare = {first.bytes,
                    first.extent,
                    area_width(first.area),
                    first.bytes + first.first,
                    first.width(),
                    second.FILE_CODE.data(),
                    second.FILE_CODE.size(),
                    MoveCopy()};  // into SOURCE: made where SOURCE is known (decode_node)
  }
}

}  // namespace kovran
