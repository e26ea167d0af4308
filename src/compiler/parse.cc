// compiler/parse.cc - node creation and the statement compiler.
#include <algorithm>
#include <string>

#include "compiler/compiler.h"
#include "conditions/conditions.h"
#include "driver/diagnostics.h"
#include "fields/field_ref.h"
#include "fields/fields.h"
#include "records/records.h"
#include "strings/strings.h"
#include "tables/tables.h"

namespace kovran {

void ALLOC_RTN(RunState& rs) {
  // NOTE: MORE can be cleared from PARM before any node exists: there is none to reuse then.
  if (!rs.MORE && rs.newest_node != nullptr)
    return;  // the statement before was a comment: reuse its node
  if (rs.EXTENT == INT16_MAX) {
    // The node number is 16 bits: the list, with the stop node kovran adds, holds 32767 nodes.
    raise_error(rs, "SCRIPT TOO LONG: AT MOST 32767 NODES, THE STOP NODE INCLUDED: RUN STOPPED");
  }
  rs.nodes.emplace_back();
  Node* node = &rs.nodes.back();
  ++rs.EXTENT;
  node->ILN = rs.EXTENT;
  if (rs.first_node == nullptr) {
    node->previous = nullptr;
    rs.first_node = node;
  } else {
    node->previous = rs.current_node;
    rs.current_node->following = node;
    rs.current_node->next = node;
  }
  rs.newest_node = node;
  rs.current_node = node;
}

bool next_word(std::string_view& text, char quote, std::string_view& word, bool& last) {
  text = trim_blanks(text);
  last = false;
  if (text.empty())
    return false;
  if (text.front() == quote) {
    const std::size_t close = text.find(quote, 1);
    const std::size_t q = close == std::string_view::npos ? 1 : close + 1;
    word = text.substr(0, q);
    text.remove_prefix(q);
    return true;
  }
  if (text.front() == '*')
    return false;  // trailing comment
  const std::size_t b = text.find(' ');
  word = text.substr(0, b);
  last = b == std::string_view::npos;
  text = last ? std::string_view() : text.substr(b + 1);
  return true;
}

namespace {

// Everything a run would derive from the words again and again, decided once.
void decode_node(RunState& rs, Node& node) {
  node.op = decode_op(node.word(1));
  node.form = 0;
  node.translation = nullptr;
  node.write = {};
  node.move = {};
  node.in_run = node.against_literal = false;
  node.sum = {};
  node.compare = {};
  node.edit = {};
  node.test = node.conn = ' ';
  for (int n = 2; n <= kWords; ++n) {
    node.operands[n] = decode_operand(node.word(n), rs.QUOTE);
    bind_area(rs, node.operands[n]);
  }
  node.ends_walk = node.op == Op::G || word_is(node.word(2), "STOP");
  switch (node.op) {
    case Op::I:
      IF_DECODE(node);
      if (node.against_literal) {
        node.compare.to_source = MoveCopy(node.compare.field, rs.SOURCE.data(),
                                          static_cast<std::uint32_t>(node.compare.width), 0);
        plan_compare_words(node.compare, node.test);
      }
      break;
    case Op::M:
      node.form = static_cast<std::uint8_t>(MOVE_FORM(node));
      if (static_cast<MoveForm>(node.form) == MoveForm::kFields) {
        const Operand& source = node.operands[2];
        const Operand& target = node.operands[3];
        const auto copy = static_cast<std::uint32_t>(std::min(source.width(), target.width()));
        node.move = {MoveCopy(source.bytes + source.first, target.bytes + target.first, copy,
                              static_cast<std::uint32_t>(target.width()) - copy),
                     static_cast<std::uint32_t>(source.width()), target.extent, target.last};
        node.in_run = !node.ends_walk;
      }
      break;
    case Op::ARITH: ARITH_DECODE(node); break;
    case Op::W:
      node.form = static_cast<std::uint8_t>(WRITE_TARGET(node));
      if (node.form >= 1 && node.form <= 6)
        node.write = {&file_area(rs, node.form), &rs.out_files[node.form],
                      &file_count(rs, node.form), file_area(rs, node.form).extent_slot()};
      break;
    case Op::TR: TRANS_DECODE(rs, node); break;
    case Op::E: EDIT_DECODE(node, rs.QUOTE); break;
    case Op::L: node.form = static_cast<std::uint8_t>(SEARCH_MODE(node)); break;
    default: break;
  }
}

}  // namespace

// PARSE   statement -> words F(1)..F(9) of the newest node
// Blanks separate words; a word that begins with a quote runs to the next quote and keeps its
// case; other words are upper-cased; "*" starts a comment. Words past the ninth are ignored
// with a warning. Sets the end-of-job entry on "I F" and the table description on "T".
void PARSE(RunState& rs, std::string_view statement) {
  Node& node = *rs.newest_node;
  rs.MORE = true;
  for (int n = 1; n <= kWords; ++n) {
    node.words[n] = " ";
  }
  std::string_view text = trim_blanks(statement).substr(0, kStatementMax);
  if (!text.empty() && text.front() == '*') {
    rs.MORE = false;
    decode_node(rs, node);
    return;
  }
  rs.N = 1;
  bool warned = false;
  std::string_view word;
  bool last = false;  // the word ends the statement: N stays on it
  while (next_word(text, rs.QUOTE, word, last)) {
    if (rs.N > kWords) {
      if (!warned) {
        warned = true;
        warning(rs, "WARNING: LINE " + std::to_string(node.ILN) +
                        " HAS MORE THAN 9 WORDS; IGNORED FROM \"" + std::string(word) + "\"");
        rs.script_notes.push_back(
            {ScriptNote::Kind::kExtraWords, node.line, node.ILN, 0, 0, std::string(word)});
      }
      continue;
    }
    Word& w = node.words[rs.N];
    w = word;
    if (word.front() != rs.QUOTE)
      upper_case(w.data(), w.size());
    if (!last)
      ++rs.N;
  }
  decode_node(rs, node);
  if (word_is(node.word(1), "I") && word_is(node.word(2), "F"))
    rs.eoj_entry = &node;
  if (word_is(node.word(1), "T")) {
    rs.table_statement_seen = true;
    rs.TABLE_DEF.NAME = node.word(2).empty() ? ' ' : node.word(2).front();
    rs.TABLE_DEF.ARG = node.word(3);
    rs.TABLE_DEF.RSLT = node.word(4);
    rs.TABLE_DEF.arg_parse.ready = rs.TABLE_DEF.rslt_parse.ready = false;
  }
}

}  // namespace kovran
