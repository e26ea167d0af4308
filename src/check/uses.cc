// check/uses.cc - each instruction's words as the run reads them: which word is an operand of
// which kind, and how far an instruction reads.
#include <initializer_list>
#include <utility>

#include "check/rules.h"
#include "conditions/conditions.h"
#include "fields/field_ref.h"

namespace kovran {

WordParse read_operand(const RunState& rs, std::string_view word) {
  const Operand decoded = decode_operand(word, rs.QUOTE);
  WordParse op;
  op.quoted = !word.empty() && word.front() == rs.QUOTE;
  op.code = decoded.FILE_CODE.str();
  op.n1 = decoded.N1;
  op.n2 = decoded.N2;
  if (!op.quoted && word.size() > 2) {
    const std::string_view columns = word.substr(2);
    const std::size_t period = columns.find('.');
    op.start_text = columns.substr(0, period);
    op.end_text = period == std::string_view::npos ? columns : columns.substr(period + 1);
  }
  return op;
}

int area_columns(std::string_view code) {
  return code.size() == 1 ? static_cast<int>(area_width(area_of_code(code[0]))) : 0;
}

bool is_key_statement(const RunState& rs, const Node& node) {
  return (rs.T == '1' || rs.T == '2') && &node == rs.first_node;
}

namespace {

// The uses of the words listed; `last`: the last word the instruction reads.
Uses reads(std::initializer_list<std::pair<int, Use>> words, int last) {
  Uses u;
  for (const auto& [n, use] : words) u.use[n] = use;
  u.last = last;
  return u;
}

// The words of an IF statement by its form.
Uses if_uses(const Node& node) {
  switch (form_of(node)) {
    case IfForm::kCompare:  // I C op nn, the listing line test, has no field in word 2
      return word_is(node.word(2), "C") ? reads({{4, Use::kValue}}, 5)
                                        : reads({{2, Use::kTestField}, {4, Use::kValue}}, 5);
    case IfForm::kNumeric: return reads({{3, Use::kSource}, {5, Use::kValue}}, 6);
    case IfForm::kChar: return reads({{3, Use::kTestField}, {5, Use::kText}}, 6);
    case IfForm::kBreak: return reads({{2, Use::kTestField}}, 3);
    case IfForm::kMatch: return reads({}, 3);
    case IfForm::kLineTest:     // form_of gives kCompare for it
    case IfForm::kNone: break;  // the flow rules report it; nothing else is read
  }
  return Uses{};
}

}  // namespace

Uses uses_of(const RunState& rs, const Node& node) {
  if (is_key_statement(rs, node)) {
    Uses u;
    for (int n = 2; n <= kWords; ++n) u.use[n] = Use::kKeyRange;
    return u;
  }
  if (word_is(node.word(2), "STOP"))
    return Uses{};  // the walk ends there: U STOP PROGRAM and the like
  const std::string_view code = node.word(1);
  switch (node.op) {
    case Op::K:
    case Op::BAD: break;  // a no-op reads nothing; a bad instruction is reported as such
    case Op::CH: return reads({}, node.word(3).front() == rs.QUOTE ? 3 : 4);
    case Op::TR: return reads({{2, Use::kQuiet}, {3, Use::kText}, {4, Use::kText}}, 4);
    case Op::I: return if_uses(node);
    case Op::U:
    case Op::O:
    case Op::D:
    case Op::H:
    case Op::G:
    case Op::R: return reads({}, 1);
    case Op::ARITH:
      if (word_is(code, "+") || word_is(code, "-"))
        return reads({{2, Use::kValue}, {3, Use::kAccumulator}}, 3);
      return reads({{2, Use::kValue}, {3, Use::kValue}, {4, Use::kDecimals}, {5, Use::kTarget}}, 5);
    case Op::M:  // the target-displacement form wins when words 3 and 4 are both D
      if (word_is(node.word(4), "D"))
        return reads({{2, Use::kValue}, {3, Use::kTarget}, {5, Use::kQuiet}}, 5);
      if (word_is(node.word(3), "D"))
        return reads({{2, Use::kValue}, {4, Use::kQuiet}, {5, Use::kTarget}}, 5);
      return reads({{2, Use::kValue}, {3, Use::kTarget}}, 3);
    case Op::F:  // word 4 is a placeholder
      return reads({{2, Use::kValue}, {3, Use::kSource}, {5, Use::kTarget}}, 5);
    case Op::C: return reads({{2, Use::kTarget}, {3, Use::kText}}, 3);
    case Op::E: return reads({{2, Use::kSource}, {3, Use::kTarget}, {4, Use::kText}}, 4);
    case Op::L: return reads({}, 3);  // the fields are the table statement's
    case Op::W:
      return reads({}, !word_is(node.word(2), "L") ? 2 : word_is(node.word(3), "S") ? 4 : 3);
    case Op::B:
    case Op::S: return reads({}, 2);
    case Op::T:  // a literal argument leaves every lookup its old SOURCE; the result is stored
      return reads({{3, Use::kQuiet}, {4, Use::kTarget}}, 4);
  }
  return Uses{};
}

}  // namespace kovran
