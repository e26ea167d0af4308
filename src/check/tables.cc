// check/tables.cc - rules on the lookup table and on reading: table entries, field lengths,
// lookup modes, the key statement of the match modes, and the file digits of PARM.
#include "tables/tables.h"

#include "check/rules.h"

namespace kovran {
namespace {

void report_entries(const RunState& rs, Findings& out) {
  for (const ScriptNote& note : rs.script_notes) {
    if (note.kind == ScriptNote::Kind::kEntryIgnored) {
      out.at_line(true, note.line,
                  "table entry before any table statement: the run warns and "
                  "ignores it; the entries go after the T statement");
    } else if (note.kind == ScriptNote::Kind::kEntryCut) {
      out.at_line(false, note.line,
                  "table entry of " + std::to_string(note.length) +
                      " characters is longer than its fields (" + std::to_string(note.kept) +
                      " characters): " + quote(note.text) + " is cut off");
    }
  }
}

void check_table_statement(RunState& rs, const Node& node, Findings& out) {
  if (word_is(node.word(2), "")) {
    out.warning(node,
                "the table statement has no name: the table is not sorted and every "
                "lookup finds nothing");
  }
  for (const int n : {3, 4}) {
    const int length = description_length(rs, node.word(n));
    if (length < 1 || length > kMaxEntry) {
      out.error(node, std::string(n == 3 ? "argument" : "result") + " field " +
                          quote(node.word(n)) + " is " + std::to_string(length) +
                          " columns long, not 1 to 80: the run stops before the first record");
    }
  }
}

void check_key_range(RunState& rs, const Node& node, int n, Findings& out) {
  const WordParse op = read_operand(rs, node.word(n));
  const char* fault = op.n1 < 1                              ? "starts before column 1"
                      : op.n1 > op.n2                        ? "begins after it ends"
                      : op.n2 > static_cast<int>(kAreaWidth) ? "ends past column 4096"
                                                             : nullptr;
  if (fault != nullptr) {
    out.error(node, "key range " + quote(node.word(n)) + " (word " + std::to_string(n) + ") " +
                        fault + ": the run stops before the first record");
  }
}

// The first statement is the key statement: up to four pairs of ranges, A then B.
void check_key_statement(RunState& rs, Findings& out) {
  const Node& key = *rs.first_node;
  if (key.line == 0) {
    out.error(key, "with T=" + std::string(1, rs.T) +
                       " the first statement is the key statement, but the script begins with a "
                       "subroutine or a table: the run reads the stop node kovran adds first "
                       "as the key statement and stops");
    return;
  }
  if (key.op != Op::K) {
    out.warning(key, "with T=" + std::string(1, rs.T) +
                         " the first statement is the key "
                         "statement: its words are read as key ranges, and it also runs as " +
                         visible(key.word(1)) + " at every pass; write the key statement as K");
  }
  for (int k = 1; k <= 4; ++k) {
    const int a = 2 * k;
    if (compare_padded(read_operand(rs, key.word(a)).code, "") == 0)
      break;  // the A word left out ends the ranges
    check_key_range(rs, key, a, out);
    if (word_is(key.word(a + 1), "")) {
      out.error(key, "key range " + quote(key.word(a)) + " (word " + std::to_string(a) +
                         ") has no B range after it: the run stops before the first record");
    } else {
      check_key_range(rs, key, a + 1, out);
    }
  }
}

void check_files(RunState& rs, Findings& out) {
  const auto names_no_file = [&out](char name, char digit) {
    if (valid_file_digit(digit))
      return false;
    out.about_parm(true, std::string(1, name) + "=" + std::string(1, digit) +
                             " names no input file 1 to 6: the run prints \"INVALID INPUT FILE " +
                             std::string(1, digit) + "\" and stops before the first record");
    return true;
  };
  if (rs.T == '0') {
    names_no_file('I', rs.I);
  } else if (rs.T == '1' || rs.T == '2') {
    const bool bad_a = names_no_file('A', rs.A);  // both are told
    const bool bad = names_no_file('B', rs.B) || bad_a;
    if (!bad && rs.A == rs.B) {
      out.about_parm(true, "A=" + std::string(1, rs.A) + " and B=" + std::string(1, rs.B) +
                               " name the same file: the run stops before the first record");
    }
    if (!rs.NEVERMORE)
      check_key_statement(rs, out);
  } else {
    out.about_parm(false, "T=" + std::string(1, rs.T) +
                              " is no read mode 0, 1 or 2: no record is ever read and the "
                              "passes go on until the script stops them or LC=n does");
  }
}

}  // namespace

void check_tables(RunState& rs, Findings& out) {
  report_entries(rs, out);
  for (const Node& node : rs.nodes) {
    if (node.line == 0 || is_key_statement(rs, node))
      continue;
    if (node.op == Op::T)
      check_table_statement(rs, node, out);
    if (node.op != Op::L)
      continue;
    if (!rs.table_statement_seen) {
      out.warning(node,
                  "L looks up the table, but the script has no table statement (T): "
                  "nothing is ever stored");
    }
    const std::string_view mode = node.word(3);
    if (!word_is(mode, "E") && !word_is(mode, "H") && !word_is(mode, "L")) {
      out.warning(node, "lookup mode " + quote(mode) +
                            " (word 3) is not E, H or L: the lookup does nothing");
    }
  }
  check_files(rs, out);
}

}  // namespace kovran
