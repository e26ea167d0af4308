// driver/exit_status.h - the statuses a run ends with, the one list of them. run_kovran returns
// one as the exit status of the process.
#ifndef KOVRAN_DRIVER_EXIT_STATUS_H_
#define KOVRAN_DRIVER_EXIT_STATUS_H_

namespace kovran {

enum class ExitStatus : int {
  kNormal = 0,       // the run ended normally (also with DMP, and after the dumps of H)
  kDiagnostics = 4,  // it ended normally, but at least one diagnostic was printed
  kError = 12,       // the error condition ended it: loop limit, conversion, a file, an option
  kUsage = 16,       // the command line is unusable: nothing was run
};

// Ended by signal n: 128 + n (130 SIGINT, 143 SIGTERM, 129 SIGHUP, 141 an output pipe closed).
constexpr ExitStatus signal_status(int sig) { return static_cast<ExitStatus>(128 + sig); }

// Whether the run was ended by a signal.
constexpr bool by_signal(ExitStatus status) { return static_cast<int>(status) > 128; }

// The number the process exits with.
constexpr int exit_code(ExitStatus status) { return static_cast<int>(status); }

}  // namespace kovran

#endif  // KOVRAN_DRIVER_EXIT_STATUS_H_
