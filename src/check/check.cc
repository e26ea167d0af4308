// check/check.cc - the check: the rules run over the compiled program, their findings sorted
// by line and written on standard error; the statement map.
#include "check/check.h"

#include <algorithm>
#include <ostream>

#include "check/rules.h"
#include "compiler/compiler.h"

namespace kovran {
namespace {

const std::string& script_path(const RunState& rs) {
  return rs.bindings.path[static_cast<int>(FileId::PROGRAM)];
}

// PATH:LINE, or PATH for a node kovran added.
std::string place(const RunState& rs, std::int32_t line) {
  return line > 0 ? script_path(rs) + ":" + std::to_string(line) : script_path(rs);
}

std::string quoted_statement(const Node& node) {
  return "statement " + std::to_string(node.ILN) + ": " + statement_text(node);
}

}  // namespace

std::string quote(std::string_view word) { return "\"" + visible(word) + "\""; }

std::string first_character_only(std::string_view word) {
  return "unquoted word " + quote(word) + ": only its first character, " +
         quote(word.substr(0, 1)) + ", counts; write '" + visible(word) + "' for the whole text";
}

std::string statement_text(const Node& node) {
  int last = kWords;
  while (last > 1 && word_is(node.word(last), "")) --last;
  std::string text;
  for (int n = 1; n <= last; ++n) text += (n > 1 ? " " : "") + visible(node.word(n));
  return text;
}

namespace {

// The findings sorted by line, each as PATH:LINE: warning|error|note: ..., the statement once
// under the last finding about it.
void print_findings(const RunState& rs, std::vector<Finding>& list) {
  std::stable_sort(list.begin(), list.end(), [](const Finding& a, const Finding& b) {
    if (a.line != b.line)
      return a.line < b.line;
    const int ia = a.node != nullptr ? a.node->ILN : 0;
    const int ib = b.node != nullptr ? b.node->ILN : 0;
    return ia < ib;
  });
  std::ostream* err = rs.bindings.std_err;
  if (err == nullptr)
    return;
  for (std::size_t k = 0; k < list.size(); ++k) {
    const Finding& f = list[k];
    *err << (f.line == kNoLine ? std::string("kovran") : place(rs, f.line))
         << (f.note    ? ": note: not record-local: "
             : f.error ? ": error: "
                       : ": warning: ")
         << f.message << "\n";
    if (f.node != nullptr && (k + 1 == list.size() || list[k + 1].node != f.node))
      *err << "    " << quoted_statement(*f.node) << "\n";
  }
}

// PATH: record-local: yes (input FILEn; output FILEn, ...), or no and the count of reasons.
std::string locality_line(const RunState& rs, const Locality& answer, std::size_t reasons) {
  std::string line = script_path(rs) + ": record-local: ";
  if (!answer.record_local)
    return line + "no (" + std::to_string(reasons) + (reasons == 1 ? " reason)" : " reasons)");
  line += "yes (input FILE" + std::to_string(answer.input) + "; ";
  if (answer.outputs.empty())
    return line + "no output file)";
  line += "output";
  for (std::size_t k = 0; k < answer.outputs.size(); ++k)
    line += (k == 0 ? " FILE" : ", FILE") + std::to_string(answer.outputs[k]);
  return line + ")";
}

}  // namespace

ExitStatus check_script(RunState& rs) {
  LOGIC(rs);  // the links the run would follow (a listing goes to the discarded console)
  Findings findings;
  check_statements(rs, findings);
  check_operands(rs, findings);
  check_flow(rs, findings);
  check_tables(rs, findings);
  print_findings(rs, findings.list());
  bool clean = findings.list().empty();
  if (rs.bindings.record_local) {
    Findings notes;
    const Locality answer = check_locality(rs, notes);
    print_findings(rs, notes.list());
    if (std::ostream* err = rs.bindings.std_err)
      *err << locality_line(rs, answer, notes.list().size()) << "\n";
    clean = clean && answer.record_local;
  }
  return clean ? ExitStatus::kNormal : ExitStatus::kDiagnostics;
}

void print_statement_map(const RunState& rs) {
  std::ostream* err = rs.bindings.std_err;
  if (err == nullptr)
    return;
  for (const Node& node : rs.nodes) {
    *err << place(rs, node.line) << ": " << quoted_statement(node)
         << (node.line == 0 ? " (added by kovran)" : "") << "\n";
  }
}

}  // namespace kovran
