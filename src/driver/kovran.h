// driver/kovran.h - the one entry point of a run.
#ifndef KOVRAN_DRIVER_KOVRAN_H_
#define KOVRAN_DRIVER_KOVRAN_H_

#include <iosfwd>
#include <string>
#include <vector>

namespace kovran {

constexpr const char* kVersion = "1.0.0";
constexpr const char* kBuildStamp = "97.127.20:30";

// Runs kovran with the command-line arguments `args` (without the program name) and returns
// the exit status, one of ExitStatus (driver/exit_status.h): 0 normal, 4 normal with
// diagnostics, 12 ended by the error condition, 16 unusable command line, 128 + n ended by
// signal n (SIGINT, SIGTERM, SIGHUP, or SIGPIPE for an output pipe nobody reads). The signal
// handlers are in place for the call only. Nothing is kept between calls.
int run_kovran(const std::vector<std::string>& args, std::istream& in, std::ostream& out,
               std::ostream& err);

}  // namespace kovran

#endif  // KOVRAN_DRIVER_KOVRAN_H_
