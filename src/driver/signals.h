// driver/signals.h - interruption by SIGINT, SIGTERM and SIGHUP, and a closed output pipe.
// A signal is only recorded; the dispatch loop ends the run at the next node (after a run of
// usual moves, which it makes as one step), so every file is flushed and closed as on any other
// exit, and the status is 128 + the signal number.
#ifndef KOVRAN_DRIVER_SIGNALS_H_
#define KOVRAN_DRIVER_SIGNALS_H_

#include <csignal>

namespace kovran {

struct RunState;

// Installs the handlers for the life of one run and restores the previous ones after it.
// SIGINT, SIGTERM and SIGHUP are recorded, the first naming the ending; a second one is
// recorded too, so two in quick succession still end the run in order with every file
// flushed. The third ends the process at once by that signal, as if no run were going on (the
// way out of a write that a pipe never drains). SIGPIPE is always recorded, so a write to a
// pipe nobody reads fails with EPIPE and the run ends with status 141 instead of the process
// being killed with its files unflushed.
class SignalGuard {
 public:
  SignalGuard();
  ~SignalGuard();
  SignalGuard(const SignalGuard&) = delete;
  SignalGuard& operator=(const SignalGuard&) = delete;

 private:
  struct sigaction saved_[4];  // SIGINT, SIGTERM, SIGHUP, SIGPIPE as they were
};

namespace signal_state {
// NOTE: the only process-wide state: a signal handler can reach nothing else. It is
// cleared when a run starts, so runs in one process do not see each other's signals.
extern volatile std::sig_atomic_t received;
extern volatile std::sig_atomic_t interrupts;  // SIGINT, SIGTERM and SIGHUP received
// 1 once a signal is recorded or the console fails (RunState flags its file): the one word the
// walk looks at, at every node.
extern volatile std::sig_atomic_t attention;
}  // namespace signal_state

// The signal received since the guard was installed, or 0.
inline int pending_signal() { return signal_state::received; }

// Whether end_if_interrupted may have a run to end. Inline: the walk asks at every node.
inline bool attention_wanted() { return signal_state::attention != 0; }

// Ends the run when a signal has been received: the line "RUN ENDED BY SIGNAL " and its number
// (naming the node being dispatched), the dump when DMP is set, status 128 + the number. Also
// ends the run when SYSPRINT can no longer be written (status 12): nothing the run does could
// be reported any more.
void end_if_interrupted(RunState& rs);

}  // namespace kovran

#endif  // KOVRAN_DRIVER_SIGNALS_H_
