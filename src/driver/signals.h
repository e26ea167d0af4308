// driver/signals.h - interruption by SIGINT, SIGTERM and SIGHUP, and a closed output pipe.
// A signal is only recorded; the dispatch loop ends the run at the next node, so every file
// is flushed and closed as on any other exit, and the status is 128 + the signal number.
#ifndef KOVRAN_DRIVER_SIGNALS_H_
#define KOVRAN_DRIVER_SIGNALS_H_

#include <csignal>

namespace kovran {

// Installs the handlers for the life of one run and restores the previous ones after it.
// SIGPIPE is ignored meanwhile, so that a closed output shows up as a write error (EPIPE).
class SignalGuard {
 public:
  SignalGuard();
  ~SignalGuard();
  SignalGuard(const SignalGuard&) = delete;
  SignalGuard& operator=(const SignalGuard&) = delete;

 private:
  struct sigaction saved_[3];  // SIGINT, SIGTERM, SIGHUP as they were
  struct sigaction saved_pipe_;
};

// The signal received since the guard was installed, or 0.
int pending_signal();

}  // namespace kovran

#endif  // KOVRAN_DRIVER_SIGNALS_H_
