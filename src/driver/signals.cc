// driver/signals.cc - recording interrupting signals.
#include "driver/signals.h"

#include <csignal>

namespace kovran {
namespace {

// NOTE: the one piece of process-wide state: a signal handler can reach nothing else.
// It is cleared when a run starts, so runs in one process do not see each other's signals.
volatile std::sig_atomic_t received_signal = 0;

constexpr int kCaught[] = {SIGINT, SIGTERM, SIGHUP};

extern "C" void record_signal(int sig) { received_signal = sig; }

}  // namespace

SignalGuard::SignalGuard() : saved_{}, saved_pipe_{} {
  static_assert(sizeof kCaught / sizeof kCaught[0] == 3, "one saved action per signal");
  received_signal = 0;
  struct sigaction act {};
  act.sa_handler = record_signal;
  sigemptyset(&act.sa_mask);
  act.sa_flags = 0;  // no SA_RESTART: a blocked read returns and the loop sees the signal
  for (std::size_t k = 0; k < sizeof kCaught / sizeof kCaught[0]; ++k) {
    sigaction(kCaught[k], &act, &saved_[k]);
  }
  struct sigaction ignore {};
  ignore.sa_handler = SIG_IGN;
  sigemptyset(&ignore.sa_mask);
  sigaction(SIGPIPE, &ignore, &saved_pipe_);
}

SignalGuard::~SignalGuard() {
  for (std::size_t k = 0; k < sizeof kCaught / sizeof kCaught[0]; ++k) {
    sigaction(kCaught[k], &saved_[k], nullptr);
  }
  sigaction(SIGPIPE, &saved_pipe_, nullptr);
}

int pending_signal() { return received_signal; }

}  // namespace kovran
