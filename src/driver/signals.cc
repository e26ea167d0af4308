// driver/signals.cc - recording interrupting signals.
#include "driver/signals.h"

#include <csignal>
#include <string>

#include "driver/diagnostics.h"
#include "driver/run_state.h"

namespace kovran {
namespace {

// NOTE: the one piece of process-wide state: a signal handler can reach nothing else.
// It is cleared when a run starts, so runs in one process do not see each other's signals.
volatile std::sig_atomic_t received_signal = 0;

constexpr int kCaught[] = {SIGINT, SIGTERM, SIGHUP, SIGPIPE};
constexpr std::size_t kCount = sizeof kCaught / sizeof kCaught[0];

extern "C" void record_signal(int sig) {
  if (received_signal == 0)
    received_signal = sig;  // the first signal names the ending
}

}  // namespace

SignalGuard::SignalGuard() : saved_{} {
  static_assert(kCount == sizeof saved_ / sizeof saved_[0], "one saved action per signal");
  received_signal = 0;
  for (std::size_t k = 0; k < kCount; ++k) {
    struct sigaction act {};
    act.sa_handler = record_signal;
    sigemptyset(&act.sa_mask);
    // No SA_RESTART: a blocked read returns and the loop sees the signal. A second SIGPIPE only
    // comes from another write to the closed pipe, which must not kill the process either.
    act.sa_flags = kCaught[k] == SIGPIPE ? 0 : SA_RESETHAND;
    sigaction(kCaught[k], &act, &saved_[k]);
  }
}

SignalGuard::~SignalGuard() {
  for (std::size_t k = 0; k < kCount; ++k) sigaction(kCaught[k], &saved_[k], nullptr);
}

int pending_signal() { return received_signal; }

void end_if_interrupted(RunState& rs) {
  if (const int sig = received_signal; sig != 0)
    raise_error(rs, "RUN ENDED BY SIGNAL " + std::to_string(sig), 128 + sig);
  if (rs.sysprint_file.failed())
    throw RunEnded{12};  // run_kovran reports the console's failure on standard error
}

}  // namespace kovran
