// driver/signals.cc - recording interrupting signals.
#include "driver/signals.h"

#include <csignal>
#include <string>

#include "driver/diagnostics.h"
#include "driver/run_state.h"

namespace kovran {

namespace signal_state {
volatile std::sig_atomic_t received = 0;
volatile std::sig_atomic_t interrupts = 0;
volatile std::sig_atomic_t attention = 0;
}  // namespace signal_state

namespace {

constexpr int kCaught[] = {SIGINT, SIGTERM, SIGHUP, SIGPIPE};
constexpr std::size_t kCount = sizeof kCaught / sizeof kCaught[0];

// NOTE: the second interrupting signal only comes too (a timeout sends its signal to the
// process, then to the process group); the third ends the process by its default action, the
// way out of a write to a pipe that nobody drains.
constexpr int kLastRecorded = 2;

extern "C" void record_signal(int sig) {
  if (sig != SIGPIPE && ++signal_state::interrupts > kLastRecorded) {
    struct sigaction act {};
    act.sa_handler = SIG_DFL;
    sigemptyset(&act.sa_mask);
    sigaction(sig, &act, nullptr);
    std::raise(sig);  // delivered when the handler returns
    return;
  }
  if (signal_state::received == 0)
    signal_state::received = sig;  // the first signal names the ending
  signal_state::attention = 1;
}

}  // namespace

SignalGuard::SignalGuard() : saved_{} {
  static_assert(kCount == sizeof saved_ / sizeof saved_[0], "one saved action per signal");
  signal_state::received = 0;
  signal_state::interrupts = 0;
  signal_state::attention = 0;
  for (std::size_t k = 0; k < kCount; ++k) {
    struct sigaction act {};
    act.sa_handler = record_signal;
    sigemptyset(&act.sa_mask);
    // No SA_RESTART: a blocked read returns and the loop sees the signal. No SA_RESETHAND:
    // the handler counts the later signals, and a second SIGPIPE only comes from another
    // write to the closed pipe.
    sigaction(kCaught[k], &act, &saved_[k]);
  }
}

SignalGuard::~SignalGuard() {
  for (std::size_t k = 0; k < kCount; ++k) sigaction(kCaught[k], &saved_[k], nullptr);
}

void end_if_interrupted(RunState& rs) {
  if (const int sig = signal_state::received; sig != 0)
    raise_error(rs, "RUN ENDED BY SIGNAL " + std::to_string(sig), signal_status(sig));
  // NOTE: not the error condition: a console that cannot be written takes no cause line and
  // no dump. run_kovran reports its failure on standard error.
  if (rs.sysprint_file.failed())
    end_run(ExitStatus::kError);
}

}  // namespace kovran
