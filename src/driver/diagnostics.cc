// driver/diagnostics.cc - statement errors, the error condition and the dumps.
#include "driver/diagnostics.h"

#include <ostream>

#include "driver/signals.h"
#include "driver/variables.h"

namespace kovran {
namespace {

constexpr std::string_view kDots1 = " . . . . . . . . . . . . . . . . . . .";
constexpr std::string_view kDots2 = ". . . . . . . . . . . . . . . . . . . ";

void banner_and_dump(RunState& rs, std::string_view word) {
  rs.sysprint.line(kDots1, word, kDots2);
  dump_variables(rs);
}

// "written: FILE2 3, LISTING 3": the records and lines written so far to each output.
std::string written_counts(RunState& rs) {
  std::string out;
  const auto add = [&out](const char* name, std::int32_t count) {
    out += (out.empty() ? "written: " : ", ") + std::string(name) + " " + std::to_string(count);
  };
  for (int n = 1; n <= 6; ++n) {
    if (rs.out_files[n].is_open())
      add(logical_name(n), file_count(rs, n));
  }
  if (rs.listing_file.is_open())
    add("LISTING", rs.CNTL);
  return out;
}

// The ending by error on standard error: the script line, the cause, where the run stood and,
// since the console gets no count line after an error, what was written.
}  // namespace

void tell_run_end(RunState& rs, const Node* node, std::string_view cause) {
  std::string line = node != nullptr ? script_place(rs, *node) + ": " : "";
  line += rs.bindings.check ? "check stopped: " : "run ended: ";
  line += visible(cause);
  std::string position = run_position(rs);
  if (const std::string counts = written_counts(rs); !counts.empty())
    position += (position.empty() ? "" : "; ") + counts;
  if (!position.empty())
    line += " (" + position + ")";
  tell(rs, line);
}

void ERROR_RTN(RunState& rs, int n) {
  assert(rs.current_node != nullptr && n >= 1 && n <= kWords);
  const std::string_view word = rs.current_node->word(n);
  rs.sysprint.line("ERROR IN LINE \"", rs.current_node->ILN, "\",FIELD ", n, " \"", word, "\"");
  ++rs.diagnostics;
  if (!told_already(rs, *rs.current_node))  // the text is built once per node, not per record
    tell_first_report(rs, "error in field " + std::to_string(n) + " \"" + visible(word) + "\"");
}

void end_run(ExitStatus status) { throw RunEnded{status}; }

void final_dump(RunState& rs) { banner_and_dump(rs, "DUMP"); }

void raise_error(RunState& rs, std::string_view cause, ExitStatus status, std::string_view told) {
  const Node* node = rs.running ? rs.current_node : nullptr;
  if (!cause.empty()) {
    if (node != nullptr) {
      rs.sysprint.line(cause, "IN LINE", node->ILN);
    } else {
      rs.sysprint.line(cause);
    }
  }
  if (by_signal(status))
    print_counts(rs);
  // NOTE: a pending signal (a closed pipe) names the ending instead, silently.
  if (status == ExitStatus::kError && pending_signal() == 0)
    tell_run_end(rs, node, told.empty() ? cause : told);
  if (rs.DMP)
    final_dump(rs);
  end_run(status);
}

void print_counts(RunState& rs) {
  rs.sysprint.line("F1 ", rs.CNT1, " F2 ", rs.CNT2, " F3 ", rs.CNT3, " F4 ", rs.CNT4, " F5 ",
                   rs.CNT5, " F6 ", rs.CNT6, " List  ", rs.CNTL);
}

void conversion_error(RunState& rs, std::string_view routine, int oncode,
                      std::string_view onsource) {
  rs.sysprint.line("CONVERSION ERROR IN ", routine, ", ONCODE=", oncode, ", ONSOURCE=", onsource);
  raise_error(rs, "", ExitStatus::kError,
              "CONVERSION ERROR IN " + std::string(routine) + ", ONCODE=" + std::to_string(oncode) +
                  ", ONSOURCE=" + std::string(onsource));
}

void attention(RunState& rs) { banner_and_dump(rs, "ATTN"); }

void warning(RunState& rs, std::string_view text) {
  rs.sysprint.line(text);
  ++rs.diagnostics;
}

std::string file_failure(const RunState& rs, std::string_view what, int id, std::string_view reason,
                         std::string_view detail) {
  std::string text(what);
  text += ' ';
  text += logical_name(id);
  text += " (" + rs.bindings.path[id] + ")";
  text += detail;
  text += ": ";
  text += reason;
  return text;
}

void dump_variables(RunState& rs) {
  rs.settle_parse();
  rs.settle_F0();
  rs.settle_buffer();
  rs.settle_target();
  rs.settle_TOTAL();
  dump_list(rs, run_variables(rs));
}

void tell(const RunState& rs, std::string_view text) {
  if (rs.bindings.std_err != nullptr)
    *rs.bindings.std_err << "kovran: " << text << "\n";
}

std::string script_place(const RunState& rs, const Node& node) {
  const std::string& path = rs.bindings.path[static_cast<int>(FileId::PROGRAM)];
  return node.line > 0 ? path + ":" + std::to_string(node.line) : path;
}

std::string run_position(const RunState& rs) {
  std::string out;
  const auto add = [&out](const std::string& part) { out += (out.empty() ? "" : ", ") + part; };
  if (rs.running && rs.current_node != nullptr) {
    add("statement " + std::to_string(rs.current_node->ILN));
    if (rs.EOF_)
      add("end of job");
  }
  const auto input = [&](char digit) {
    if (!input_open(rs, digit))  // not opened (a check opens none)
      return;
    const int n = digit - '0';
    const long read = rs.in_files[n].records_read();
    add(read > 0 ? "record " + std::to_string(read) + " of " + logical_name(n)
                 : std::string("no record of ") + logical_name(n) + " read");
  };
  if (rs.T == '0') {
    input(rs.I);
  } else if (rs.T == '1' || rs.T == '2') {
    input(rs.A);
    input(rs.B);
  }
  return out;
}

void tell_first_report(RunState& rs, std::string_view what) {
  const Node* node = rs.current_node;
  if (node == nullptr || !first_time(rs.told, *node))
    return;
  tell(rs, script_place(rs, *node) + ": " + std::string(what) + " (" + run_position(rs) + ")");
}

}  // namespace kovran
