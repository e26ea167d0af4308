// check/check.h - kovran --check: the compiled script examined for what a run would carry out
// silently or report at every record, each finding told on standard error at its script line.
#ifndef KOVRAN_CHECK_CHECK_H_
#define KOVRAN_CHECK_CHECK_H_

#include <ostream>
#include <streambuf>

#include "driver/exit_status.h"
#include "driver/run_state.h"

namespace kovran {

// Examines the program read_script compiled into `rs` (with the options of PARM applied) and
// writes each finding on standard error as PATH:LINE: warning: ... or PATH:LINE: error: ...
// (kovran: warning: ... for PARM), sorted by line. An error is what the run will report or stop
// on when it gets there; a warning, what it will do without a word. Runs the logic pass, reads
// no record and opens no file. Returns kNormal when there is no finding, kDiagnostics otherwise.
ExitStatus check_script(RunState& rs);

// The statement map on standard error: one line per node, PATH:LINE: statement N: its words,
// so that a console line naming statement N can be found in the script.
void print_statement_map(const RunState& rs);

// A stream that keeps nothing: the console of a check.
class DiscardStream : public std::ostream {
 public:
  DiscardStream() : std::ostream(&buffer_) {}

 private:
  class Buffer : public std::streambuf {
   protected:
    int overflow(int c) override { return traits_type::not_eof(c); }
    std::streamsize xsputn(const char*, std::streamsize n) override { return n; }
  };
  Buffer buffer_;
};

}  // namespace kovran

#endif  // KOVRAN_CHECK_CHECK_H_
