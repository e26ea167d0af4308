// check/statements.cc - rules on lines and words: cut lines and statements, carriage returns,
// control characters between words, unknown instruction codes, words nobody reads.
#include <algorithm>

#include "check/rules.h"
#include "compiler/compiler.h"

namespace kovran {
namespace {

const Node& node_of(const RunState& rs, std::int16_t iln) {
  return rs.nodes[static_cast<std::size_t>(iln - 1)];  // nodes are numbered as created
}

bool has_returns(const RunState& rs, std::int32_t line) {
  return std::any_of(rs.script_notes.begin(), rs.script_notes.end(), [line](const ScriptNote& n) {
    return n.kind == ScriptNote::Kind::kCarriageReturns && n.line == line;
  });
}

void report_note(const RunState& rs, const ScriptNote& note, Findings& out) {
  switch (note.kind) {
    case ScriptNote::Kind::kLineCut:
      out.at_line(true, note.line,
                  "line of " + std::to_string(note.length) +
                      " bytes: the run reads its first 4096, warns of the cut and loses the rest");
      break;
    case ScriptNote::Kind::kCarriageReturns:
      out.at_line(false, note.line,
                  std::to_string(note.length) +
                      " carriage returns inside this line: only a line feed ends a line, so "
                      "lines ended by a carriage return alone run together into one; end the "
                      "lines of the file with line feeds");
      break;
    case ScriptNote::Kind::kStatementCut:
      out.warning(node_of(rs, note.ILN),
                  "statement of " + std::to_string(note.length) +
                      " characters: only the first 80 are read, so " +
                      (note.kept > 0 ? "the word " + quote(note.text) + " is cut to " +
                                           quote(std::string_view(note.text).substr(0, note.kept))
                                     : quote(note.text) + " and the words after it are lost"));
      break;
    case ScriptNote::Kind::kExtraWords:
      out.error(node_of(rs, note.ILN), "more than nine words: the run keeps nine and warns; " +
                                           quote(note.text) + " and the words after it are lost");
      break;
    case ScriptNote::Kind::kEntryIgnored:
    case ScriptNote::Kind::kEntryCut: break;  // the table rules
  }
}

// The first byte of a control character in an unquoted word, or npos. A carriage return of a
// line already reported for them is not counted again.
std::size_t control_character(std::string_view word, bool returns_told) {
  for (std::size_t k = 0; k < word.size(); ++k) {
    const auto byte = static_cast<unsigned char>(word[k]);
    if ((byte < 0x20 || byte == 0x7F) && !(byte == '\r' && returns_told))
      return k;
  }
  return std::string_view::npos;
}

// Control characters between words: only the blank separates words.
// Returns true when word 1 holds one (the code is then no instruction code).
bool check_separators(const RunState& rs, const Node& node, Findings& out) {
  const bool returns_told = has_returns(rs, node.line);
  for (int n = 1; n <= kWords; ++n) {
    const std::string_view word = node.word(n);
    if (word.front() == rs.QUOTE)
      continue;  // inside a literal a control character is data
    const std::size_t at = control_character(word, returns_told);
    if (at == std::string_view::npos)
      continue;
    const std::string what =
        word[at] == '\t' ? "a tab" : "the control character " + visible(word.substr(at, 1));
    if (n == 1) {
      out.error(node,
                quote(word) + " holds " + what +
                    ": only blanks separate words, so this is one word and no instruction "
                    "code; the run prints \"Bad Instruction: \" at every pass that reaches it");
      return true;
    }
    out.warning(node, "word " + std::to_string(n) + " " + quote(word) + " holds " + what +
                          ": only blanks separate words, so it is read as one word");
    return false;
  }
  return false;
}

void check_words_read(const RunState& rs, const Node& node, Findings& out) {
  const int last = uses_of(rs, node).last;
  if (last == 0)
    return;
  for (int n = last + 1; n <= kWords; ++n) {
    if (word_is(node.word(n), ""))
      continue;
    const std::string code(node.word(1));
    out.warning(node, (last == 1 ? code + " reads no operand"
                                 : code + " reads no word after word " + std::to_string(last)) +
                          ": " + quote(node.word(n)) + " (word " + std::to_string(n) +
                          ") is not used");
    return;
  }
}

}  // namespace

void check_statements(RunState& rs, Findings& out) {
  for (const ScriptNote& note : rs.script_notes) report_note(rs, note, out);
  for (const Node& node : rs.nodes) {
    if (node.line == 0)
      continue;  // the stop nodes kovran adds
    const bool bad_code = check_separators(rs, node, out);
    if (node.op == Op::BAD && !bad_code) {
      out.error(node, "unknown instruction code " + quote(node.word(1)) +
                          ": the run prints \"Bad Instruction: " + visible(node.word(1)) +
                          "\" at every pass that reaches it");
    }
    check_words_read(rs, node, out);
  }
}

}  // namespace kovran
