// check/rules.h - what the rules of the check share: the findings, a word as the run reads it,
// and the use each instruction makes of each of its words. Every rule reads the words through
// read_operand and uses_of, so that a compiled form of the operands can take their place.
#ifndef KOVRAN_CHECK_RULES_H_
#define KOVRAN_CHECK_RULES_H_

#include <cstdint>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "conditions/conditions.h"
#include "driver/run_state.h"

namespace kovran {

constexpr std::int32_t kNoLine = -1;  // a finding about PARM or the bindings

struct Finding {
  bool error = false;           // the run reports it or stops on it; otherwise a warning
  bool note = false;            // a reason the job is not record-local (--record-local)
  std::int32_t line = kNoLine;  // physical line; 0 for a node kovran added
  const Node* node = nullptr;   // the statement it is about, quoted under it
  std::string message;
};

class Findings {
 public:
  void error(const Node& node, std::string message) { add(true, node, std::move(message)); }
  void warning(const Node& node, std::string message) { add(false, node, std::move(message)); }
  void at_line(bool error, std::int32_t line, std::string message) {
    list_.push_back({error, false, line, nullptr, std::move(message)});
  }
  void about_parm(bool error, std::string message) { at_line(error, kNoLine, std::move(message)); }
  void note(const Node& node, std::string message) {
    list_.push_back({false, true, node.line, &node, std::move(message)});
  }
  void note_parm(std::string message) {
    list_.push_back({false, true, kNoLine, nullptr, std::move(message)});
  }
  std::vector<Finding>& list() { return list_; }

 private:
  void add(bool error, const Node& node, std::string message) {
    list_.push_back({error, false, node.line, &node, std::move(message)});
  }
  std::vector<Finding> list_;
};

// A word as the operand parse reads it, with the column texts its numbers come from.
struct WordParse {
  bool quoted = false;          // begins with the quote character: a literal
  std::string code;             // FILE_CODE: the area code, or the literal's text
  int n1 = 0;                   // start column; 0 or below for a literal
  int n2 = 0;                   // end column
  std::string_view start_text;  // the column texts of an unquoted word (the same text twice
  std::string_view end_text;    // when there is no period)
  bool literal() const { return n1 <= 0; }
  int width() const { return n2 - n1 + 1; }
};
WordParse read_operand(const RunState& rs, std::string_view word);

// Columns of the area named by a one-character code (1..6, S, L, D); 0 for any other code.
int area_columns(std::string_view code);

// The form of an IF node as the rules tell them apart: the listing line test is a comparison.
inline IfForm form_of(const Node& node) {
  const IfForm form = static_cast<IfForm>(node.form);
  return form == IfForm::kLineTest ? IfForm::kCompare : form;
}

// How an instruction uses one of its words.
enum class Use : std::uint8_t {
  kNone,         // not an operand: the code, keywords, names, connectors, print controls
  kValue,        // a field or a literal: an unquoted word gives its first character
  kAccumulator,  // fetched, then stored into (+ and -): needs a field
  kTarget,       // stored into: needs a field; a literal is reported and nothing stored
  kSource,       // read: needs a field; a literal is reported
  kTestField,    // read by an IF through BUFFER: needs a field, area C accepted
  kQuiet,        // needs a field; a literal is of no use, without a report
  kText,         // a literal's text: an unquoted word gives its first character
  kDecimals,     // the decimals of X and /
  kKeyRange,     // a key range of the key statement
};

struct Uses {
  Use use[kWords + 1] = {};  // by word number
  int last = 0;              // the last word the instruction reads; 0: no limit is checked
};

// The key statement: the first node in the match modes.
bool is_key_statement(const RunState& rs, const Node& node);
Uses uses_of(const RunState& rs, const Node& node);

// A word for a message: in double quotes, bytes outside printable ASCII as <XX>.
std::string quote(std::string_view word);
// The message for an unquoted word of which only the first character counts.
std::string first_character_only(std::string_view word);
// The statement as the node holds it: its words joined by blanks.
std::string statement_text(const Node& node);
// A column text of a CH range: its last six characters read by their low four bits, kept in
// 16 bits as the run keeps it.
long change_column(std::string_view text);

// The rules, by theme.
void check_statements(RunState& rs, Findings& out);  // lines, words, instruction codes
void check_operands(RunState& rs, Findings& out);    // field references and literals
void check_flow(RunState& rs, Findings& out);        // IF forms, blocks, calls, end of job
void check_tables(RunState& rs, Findings& out);      // the table, the key statement, files

// What the record-locality question adds: one note per reason the job is not record-local.
struct Locality {
  bool record_local = false;
  int input = 0;             // the input file of read mode 0, when record-local
  std::vector<int> outputs;  // the data files W writes, in order
};
Locality check_locality(const RunState& rs, Findings& notes);

}  // namespace kovran

#endif  // KOVRAN_CHECK_RULES_H_
