// driver/diagnostics.h - the run-wide conditions: statement errors, the error condition that
// ends a run, attention dumps, conversion failures and our own warnings.
#ifndef KOVRAN_DRIVER_DIAGNOSTICS_H_
#define KOVRAN_DRIVER_DIAGNOSTICS_H_

#include <string>
#include <string_view>

#include "driver/exit_status.h"
#include "driver/run_state.h"

namespace kovran {

// Thrown by end_run; only the run driver catches it.
struct RunEnded {
  ExitStatus status;
};

// The one way to end a run before its end: unwinds to the run driver, which closes every file
// and returns `status`. The error condition (raise_error) is the usual caller.
[[noreturn]] void end_run(ExitStatus status);

// Fixed ONCODE numbers of the conversion report.
constexpr int kOncodeNotDigit = 1;  // a character that is not a digit
constexpr int kOncodeBadValue = 2;  // a value that does not fit its variable

// ERROR_RTN   statement-error report for node word n of the current node
// Prints: ERROR IN LINE " iln ",FIELD  n  " word "   (seven items). The caller goes on.
void ERROR_RTN(RunState& rs, int n);

// The error condition: prints the cause line (naming the node being dispatched, if any), the
// dump when DMP is set, and ends the run with `status`. An empty cause prints no line. An
// ending by error (kError, no signal pending) is also told on standard error with the script
// line, the record and the counts written, the cause there being `told` when given (the
// caller printed its own console line). An ending by signal (status above 128) is no error of
// the run: the console then gets the count line after the cause.
[[noreturn]] void raise_error(RunState& rs, std::string_view cause,
                              ExitStatus status = ExitStatus::kError, std::string_view told = {});

// The dump of DMP when a run ends: the DUMP banner, then every variable.
void final_dump(RunState& rs);

// The count line that ends a run: F1 n  F2 n ... List n.
void print_counts(RunState& rs);

// The conversion condition: the "CONVERSION ERROR IN " line, then the error condition.
[[noreturn]] void conversion_error(RunState& rs, std::string_view routine, int oncode,
                                   std::string_view onsource);

// The attention condition: the ATTN banner and the full dump; the walk goes on.
void attention(RunState& rs);

// One warning line of this implementation: counts as a diagnostic (status 4).
void warning(RunState& rs, std::string_view text);

// The message of a file that cannot be used: "CANNOT OPEN FILE2 (path): reason", `what` then
// the logical name of `id`, its path, `detail` and the system's reason.
std::string file_failure(const RunState& rs, std::string_view what, int id, std::string_view reason,
                         std::string_view detail = {});

// --- standard error: the script line behind a console diagnostic -------------------------
// One line "kovran: text" on standard error, when the run has one.
void tell(const RunState& rs, std::string_view text);
// Where a statement stands in the script: PATH:LINE, or PATH for a stop node kovran added.
std::string script_place(const RunState& rs, const Node& node);
// Where the run stands: "statement N, record R of FILEn" (the statement while one runs).
std::string run_position(const RunState& rs);
// Whether the first report of `node` is already on standard error.
inline bool told_already(const RunState& rs, const Node& node) {
  const std::size_t k = static_cast<std::size_t>(node.ILN);
  return k < rs.told.size() && rs.told[k];
}

// The first report of the node being dispatched (`what`) told on standard error with its
// script line; later reports of the same node stay on the console.
void tell_first_report(RunState& rs, std::string_view what);

// "run ended: <cause>" on standard error, with the script line of `node` (if any), the record
// reached and the counts written.
void tell_run_end(RunState& rs, const Node* node, std::string_view cause);

// The variable dump: one NAME=value line per named run variable, in registry order.
void dump_variables(RunState& rs);

}  // namespace kovran

#endif  // KOVRAN_DRIVER_DIAGNOSTICS_H_
