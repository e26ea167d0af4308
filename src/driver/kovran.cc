// driver/kovran.cc - the run driver KOVRAN: banner, clock, options, the script, the logic pass,
// the dispatch loop, the end-of-run report; and run_kovran, which wraps a run for the process.
#include "driver/kovran.h"

#include <cerrno>
#include <exception>
#include <iostream>
#include <new>
#include <string>
#include <string_view>

#include "check/check.h"
#include "compiler/compiler.h"
#include "driver/clock.h"
#include "driver/command_line.h"
#include "driver/diagnostics.h"
#include "driver/options.h"
#include "driver/run_state.h"
#include "driver/script.h"
#include "driver/signals.h"
#include "engine/engine.h"
#include "records/records.h"
#include "tables/tables.h"

namespace kovran {
namespace {

void print_banner(RunState& rs) {
  std::string banner =
      std::string("KOVRAN BATCH RECORD PROCESSOR  VERSION ") + kVersion + "  BUILD " + kBuildStamp;
  banner.resize(69, ' ');
  rs.sysprint.raw_line(banner);
}

ExitStatus normal_status(const RunState& rs) {
  return rs.diagnostics > 0 ? ExitStatus::kDiagnostics : ExitStatus::kNormal;
}

// The script is read from standard input to its end, so no input of the read mode can be read
// from it as well; nor can two inputs share it. Known once the options have set the read mode.
// Errors:  two of them bound to "-" -> a line naming both options, status 16.
void refuse_shared_standard_input(RunState& rs) {
  std::string read = "0";  // the numbers of the files read: PROGRAM, then the inputs
  if (rs.T == '0') {
    read += rs.I;
  } else if (rs.T == '1' || rs.T == '2') {
    read += rs.A;
    read += rs.B;
  }
  int first = -1;
  for (std::size_t k = 0; k < read.size(); ++k) {
    const int id = read[k] - '0';
    const bool valid = k == 0 || valid_file_digit(read[k]);
    if (!valid || id == first || rs.bindings.path[id] != "-")
      continue;
    if (first >= 0) {
      raise_error(rs,
                  std::string(logical_name(first)) + " AND " + logical_name(id) +
                      " CANNOT BOTH READ STANDARD INPUT (" + binding_option(first) + " - AND " +
                      binding_option(id) + " -)",
                  ExitStatus::kUsage);
    }
    first = id;
  }
}

// KOVRAN   the run itself, from the banner to the count line.
ExitStatus KOVRAN(RunState& rs, std::string_view PARM) {
  print_banner(rs);
  start_clock(rs, read_clock(rs.bindings));
  if (!PARM.empty())
    OPTIONS(rs, PARM);
  refuse_shared_standard_input(rs);

  open_input_file(rs, static_cast<int>(FileId::PROGRAM), rs.program_file);
  rs.HEX00 = '\0';
  rs.HEXFF = kHighValue;
  if (rs.DEBUG)
    rs.TRACE = true;
  rs.FIRST_TIME = true;
  read_script(rs);
  if (rs.bindings.verbose)
    print_statement_map(rs);
  if (rs.bindings.check)
    return check_script(rs);  // no record is read, no file is opened

  if (rs.T > '0') {
    rs.current_node = rs.first_node;
    KEY_RTN(rs);
  }
  if (rs.TABLE_DEF.NAME != ' ') {
    check_table(rs);
    SORT_RTN(rs);
  }
  LOGIC(rs);
  LOOP(rs);
  flush_output_files(rs);  // a record that cannot be kept ends the run before its report

  rs.STOP_TIME = rs.bindings.clock ? rs.START_TIME : seconds_of_day(read_clock(rs.bindings));
  rs.sysprint.line("Elapsed time= ", rs.STOP_TIME - rs.START_TIME, "sec     ", rs.TODAY.view(),
                   "    ", rs.NOW.view());
  print_counts(rs);
  if (rs.DMP)
    final_dump(rs);
  return normal_status(rs);
}

}  // namespace

int run_kovran(const std::vector<std::string>& args, std::istream& in, std::ostream& out,
               std::ostream& err) {
  Bindings b;
  for (int id = 0; id < kFileIds; ++id) b.path[id] = logical_name(id);
  b.path[static_cast<int>(FileId::SYSPRINT)] = "-";
  b.std_in = &in;
  b.std_out = &out;
  b.std_err = &err;
  std::string parm;
  bool done = false;
  if (!parse_command_line(args, b, parm, done, out, err))
    return exit_code(ExitStatus::kUsage);
  if (done)
    return exit_code(ExitStatus::kNormal);
  if (!bindings_usable(b, err))
    return exit_code(ExitStatus::kUsage);

  // The guard outlives the run state, so the files are closed while signals are still only
  // recorded: a closed pipe cannot kill the process before its records are out.
  const SignalGuard guard;
  DiscardStream nowhere;  // the console of a check
  RunState rs(std::move(b));
  std::string reason;
  constexpr int kSysprint = static_cast<int>(FileId::SYSPRINT);
  const std::string& sysprint_path = rs.bindings.path[kSysprint];
  // A check prints nothing on the console: it goes nowhere, and no file is created for it.
  const bool opened =
      rs.bindings.check ? rs.sysprint_file.open("-", &nowhere, reason)
                        : rs.sysprint_file.open(
                              sysprint_path, rs.bindings.sysprint_to_stderr ? &err : &out, reason);
  if (!opened) {
    err << "kovran: " << file_failure(rs, "cannot open", kSysprint, reason) << "\n";
    return exit_code(ExitStatus::kError);
  }
  ExitStatus status = ExitStatus::kNormal;
  try {
    status = KOVRAN(rs, parm);
  } catch (const RunEnded& ended) {
    status = ended.status;
  } catch (const std::bad_alloc&) {
    // NOTE: only a script near the node or entry limits on a machine short of memory gets
    // here; the run ends like any error, with its files closed.
    status = ExitStatus::kError;
    rs.sysprint.line("RUN ENDED: OUT OF MEMORY");
    tell_run_end(rs, rs.running ? rs.current_node : nullptr, "OUT OF MEMORY");
  } catch (const std::exception& e) {
    // NOTE: a fault of kovran itself, the run's second way to end: the records written so far
    // are still kept. Standard error says so too, where no script or data can put the same
    // words (the fuzz targets look).
    status = ExitStatus::kError;
    rs.sysprint.line("RUN ENDED BY AN INTERNAL ERROR:", e.what());
    err << "kovran: internal error: " << e.what() << "\n";
  }
  rs.running = false;
  if (!close_output_files(rs))
    status = ExitStatus::kError;
  rs.sysprint.new_line();
  // A closed pipe ends the run quietly: the console on it fails with EPIPE, or without a reason
  // of its own when a data file on the same standard output met the closed pipe first.
  if (!rs.sysprint_file.close() && rs.sysprint_file.error_number() != EPIPE &&
      !(sysprint_path == "-" && pending_signal() == SIGPIPE)) {
    err << "kovran: "
        << file_failure(rs, "cannot write", kSysprint, rs.sysprint_file.error_reason()) << "\n";
    status = ExitStatus::kError;
  }
  // However the run ended, a signal received during it names the status (a closed console
  // pipe: 141).
  if (const int sig = pending_signal(); sig != 0)
    status = signal_status(sig);
  return exit_code(status);
}

}  // namespace kovran
