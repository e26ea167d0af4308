// check/flow.cc - rules on the flow of the program: IF forms, operators and connectors, IF
// statements that follow one another, else and loop without an IF, calls, subroutines, the
// end-of-job block, and change ranges.
#include <map>
#include <vector>

#include "check/rules.h"
#include "conditions/conditions.h"

namespace kovran {
namespace {

std::string line_of(const Node& node) {
  return node.line > 0 ? "line " + std::to_string(node.line) : "the stop node kovran adds";
}

// The connector an IF test hands on: the first character of its connector word (for a field
// comparison, of that word as parsed).
char connector_of(RunState& rs, const Node& node, IfForm form) {
  switch (form) {
    case IfForm::kCompare: {
      const std::string code = read_operand(rs, node.word(5)).code;
      return code.empty() ? ' ' : code.front();
    }
    case IfForm::kNumeric:
    case IfForm::kChar: return node.word(6).empty() ? ' ' : node.word(6).front();
    default: return node.word(3).empty() ? ' ' : node.word(3).front();
  }
}

void check_if(RunState& rs, const Node& node, Findings& out) {
  const IfForm form = form_of(node);
  if (form == IfForm::kNone) {
    out.warning(node, "this IF fits no form: word 3 " + quote(node.word(3)) +
                          " is no operator E, U, L or G, and word 2 " + quote(node.word(2)) +
                          " no test; the run tests nothing and goes on into the statements "
                          "after it");
    return;
  }
  if (form == IfForm::kNumeric && !word_is(node.word(4), "E") && !word_is(node.word(4), "U") &&
      !word_is(node.word(4), "L") && !word_is(node.word(4), "G")) {
    out.error(node, "operator " + quote(node.word(4)) +
                        " is not E, U, L or G: the run reports field 4 and the test is false");
  }
  if (form == IfForm::kChar && !word_is(node.word(4), "E") && !word_is(node.word(4), "U")) {
    out.warning(node, "word 4 " + quote(node.word(4)) +
                          " is not E or U: the character-set test is always false");
  }
  const char c = connector_of(rs, node, form);
  const Node* next = node.following;
  const bool if_follows = next != nullptr && next->op == Op::I;
  if (c != ' ' && c != 'A' && c != 'O') {
    out.warning(node, "connector " + quote(std::string_view(&c, 1)) +
                          " is not A or O: it joins the next IF, but this test counts for "
                          "nothing");
  }
  if (c == ' ' && if_follows) {
    out.warning(node,
                "no connector, and the next statement is an IF: this IF has no statement "
                "to go to when it is false, so the run ends the pass there; join the two "
                "with A or O, or end this block with U first");
  } else if (c != ' ' && !if_follows) {
    out.warning(node,
                "a connector, but the next statement is no IF: the condition is never "
                "completed, so the statements after it run whatever the test gives, and "
                "the next IF joins this one");
  }
}

// The end-of-job walk runs no E and no O: they are bad instructions there. The walk goes from
// the end-of-job entry in script order to a node that ends it, and through the subroutines
// called on the way.
void check_end_of_job_walk(const Node* start, bool subroutine, std::vector<bool>& seen,
                           Findings& out) {
  for (const Node* x = start; x != nullptr; x = x->following) {
    if ((x != start && x->ends_walk) || seen[static_cast<std::size_t>(x->ILN)])
      return;
    seen[static_cast<std::size_t>(x->ILN)] = true;
    if (x->op == Op::E || x->op == Op::O) {
      out.error(*x, std::string(x->op == Op::E ? "E (edit)" : "O (else)") +
                        " in the end-of-job block: the end-of-job walk has none, so the run "
                        "prints \"Bad Instruction: " +
                        visible(x->word(1)) + "\" there");
    }
    if (x->op == Op::B && x->next != nullptr && x->next->op == Op::S)
      check_end_of_job_walk(x->next, true, seen, out);
    if (x->op == Op::H || (subroutine && x->op == Op::R))
      return;
  }
}

// An end-of-job block closed by U: after the last record U does nothing, so the walk goes on
// into the statements after it. NOTE: an IF there decides again after the last record (a
// script may test a mark set in the block), so only other statements are reported.
void check_end_of_job_close(const RunState& rs, Findings& out) {
  const Node* close = rs.eoj_entry->false_link;
  if (close == nullptr || close->op != Op::U)
    return;
  for (const Node* x = rs.eoj_entry->following; x != close; x = x->following) {
    if (x->ends_walk || x->op == Op::H)
      return;  // the walk ends before the U
  }
  const Node* after = close->following;
  if (after == nullptr || after->ends_walk || after->op == Op::G || after->op == Op::H ||
      after->op == Op::I)
    return;
  out.warning(*close,
              "U ends the end-of-job block, but after the last record U does nothing: "
              "the end-of-job walk goes on into " +
                  line_of(*after) + " (statement " + std::to_string(after->ILN) +
                  ") and the statements after it; end the block with G");
}

// CH search range replacement: a range that begins after it ends changes nothing.
void check_change(RunState& rs, const Node& node, Findings& out) {
  const std::string_view range = node.word(3);
  if (range.front() == rs.QUOTE)
    return;
  if (word_is(range, "")) {
    out.warning(node,
                "CH has no replacement (word 3): its column range is then 0, so it "
                "changes nothing");
    return;
  }
  const std::size_t slash = range.find('/');
  const long from = change_column(range.substr(0, slash));
  const long to = slash == std::string_view::npos ? from : change_column(range.substr(slash + 1));
  if (from > to) {
    out.warning(node, "column range " + quote(range) + " begins at column " + std::to_string(from) +
                          ", after its end " + std::to_string(to) + ": CH changes nothing");
  }
  if (word_is(node.word(4), "")) {
    out.warning(node,
                "CH has no replacement after its column range (word 4): every occurrence "
                "becomes a blank");
  }
}

}  // namespace

void check_flow(RunState& rs, Findings& out) {
  bool if_seen = false;
  std::map<std::string, std::vector<const Node*>> subroutines;
  for (const Node& node : rs.nodes) {
    if (node.op == Op::S)
      subroutines[std::string(trim_blanks(node.word(2)))].push_back(&node);
  }
  for (const Node& node : rs.nodes) {
    if (node.line == 0 || is_key_statement(rs, node))
      continue;
    switch (node.op) {
      case Op::I:
        if_seen = true;
        check_if(rs, node, out);
        break;
      case Op::O:
        if (!if_seen)
          out.warning(node, "O has no IF before it: the statements after it always run");
        break;
      case Op::D:
        if (!if_seen)
          out.warning(node, "D has no IF above it to loop back to: it does nothing");
        break;
      case Op::B:
        if (subroutines.count(std::string(trim_blanks(node.word(2)))) == 0) {
          out.warning(node, "there is no S " + visible(node.word(2)) + ": B " +
                                visible(node.word(2)) + " calls nothing and the run goes on");
        }
        break;
      case Op::S: {
        const Node* r = node.following;
        while (r != nullptr && r->op != Op::R) r = r->following;
        if (r == nullptr) {
          out.warning(node, "S " + visible(node.word(2)) +
                                " has no R after it: the subroutine never returns to its caller");
        }
        const std::vector<const Node*>& same = subroutines[std::string(trim_blanks(node.word(2)))];
        if (same.back() != &node) {
          out.warning(node, "S " + visible(node.word(2)) + " stands again on " +
                                line_of(*same.back()) + ": a B " + visible(node.word(2)) +
                                " calls the last one, so this one is never called");
        }
        break;
      }
      case Op::CH: check_change(rs, node, out); break;
      default: break;
    }
  }
  if (rs.eoj_entry != nullptr) {
    std::vector<bool> seen(rs.nodes.size() + 1, false);
    check_end_of_job_walk(rs.eoj_entry, false, seen, out);
    check_end_of_job_close(rs, out);
  }
}

}  // namespace kovran
