// driver/signals_test.cc - recording signals, ending a run by one, and reads they interrupt.
#include "driver/signals.h"

#include <gtest/gtest.h>
#include <pthread.h>
#include <unistd.h>

#include <cerrno>
#include <chrono>
#include <csignal>
#include <cstring>
#include <string>
#include <thread>

#include "driver/diagnostics.h"
#include "driver/testing.h"
#include "records/files.h"

namespace kovran {
namespace {

extern "C" void ignore_signal(int) {}

// Installs `handler` for `sig` (no SA_RESTART) for the life of the object.
class Handler {
 public:
  Handler(int sig, void (*handler)(int)) : sig_(sig) {
    struct sigaction act {};
    act.sa_handler = handler;
    sigemptyset(&act.sa_mask);
    sigaction(sig, &act, &saved_);
  }
  ~Handler() { sigaction(sig_, &saved_, nullptr); }

 private:
  int sig_;
  struct sigaction saved_ {};
};

void (*handler_of(int sig))(int) {
  struct sigaction now {};
  sigaction(sig, nullptr, &now);
  return now.sa_handler;
}

TEST(SignalGuard, RecordsTheFirstSignalAndRestoresTheHandlers) {
  const Handler before(SIGTERM, ignore_signal);
  {
    const SignalGuard guard;
    EXPECT_EQ(pending_signal(), 0);
    std::raise(SIGPIPE);
    std::raise(SIGTERM);
    std::raise(SIGTERM);  // a second one is taken too (a third would end the process)
    EXPECT_EQ(pending_signal(), SIGPIPE);  // the first names the ending
    EXPECT_NE(handler_of(SIGTERM), SIG_DFL);
  }
  EXPECT_EQ(handler_of(SIGTERM), &ignore_signal);
  EXPECT_EQ(handler_of(SIGPIPE), SIG_DFL);
  const SignalGuard next;
  EXPECT_EQ(pending_signal(), 0);  // a new run does not see the last one's signal
}

TEST(SignalGuard, AClosedPipeIsASignalNotAnEnd) {
  const SignalGuard guard;
  int fds[2];
  ASSERT_EQ(pipe(fds), 0);
  ::close(fds[0]);
  OutFile out;
  std::string reason;
  ASSERT_TRUE(out.open("/dev/fd/" + std::to_string(fds[1]), nullptr, reason)) << reason;
  out.write("lost\n");
  EXPECT_FALSE(out.close());
  EXPECT_EQ(out.error_number(), EPIPE);
  EXPECT_EQ(pending_signal(), SIGPIPE);
  ::close(fds[1]);
}

TEST(EndIfInterrupted, EndsTheRunByTheSignal) {
  const SignalGuard guard;
  TestRun t;
  end_if_interrupted(t.rs);  // nothing received: nothing happens
  std::raise(SIGHUP);
  EXPECT_EQ(ended_with([&] { end_if_interrupted(t.rs); }), signal_status(SIGHUP));
  // The console still gets the record counts after a signal.
  EXPECT_EQ(t.printed(),
            "RUN ENDED BY SIGNAL 1\nF1  0  F2  0  F3  0  F4  0  F5  0  F6  0  List   0\n");
}

TEST(EndIfInterrupted, EndsTheRunWhenTheConsoleFailed) {
  const SignalGuard guard;
  TestRun t;
  t.console.setstate(std::ios::badbit);
  t.rs.sysprint.line("lost");
  EXPECT_EQ(ended_with([&] { end_if_interrupted(t.rs); }), ExitStatus::kError);
}

// Reads one record of a pipe on another thread; `interrupt` is sent to that thread while it
// waits, then `data` is written. Returns what the read gave.
struct ReadOutcome {
  bool got = false;
  bool failed = false;
  std::string reason;
  std::string record;
};

ReadOutcome read_while_signalled(int interrupt, const std::string& data) {
  int fds[2];
  EXPECT_EQ(pipe(fds), 0);
  InFile in;
  std::string reason;
  EXPECT_TRUE(in.open("/dev/fd/" + std::to_string(fds[0]), nullptr, reason)) << reason;
  ReadOutcome r;
  std::thread reader([&] {
    char buf[64];
    std::size_t stored = 0;
    std::size_t full = 0;
    r.got = in.read_record(buf, sizeof buf, stored, full);
    r.record.assign(buf, stored);
    r.failed = in.failed();
    r.reason = in.error_reason();
  });
  std::this_thread::sleep_for(std::chrono::milliseconds(100));  // the reader waits
  pthread_kill(reader.native_handle(), interrupt);
  std::this_thread::sleep_for(std::chrono::milliseconds(100));
  EXPECT_EQ(::write(fds[1], data.data(), data.size()), static_cast<ssize_t>(data.size()));
  ::close(fds[1]);
  reader.join();
  ::close(fds[0]);
  return r;
}

TEST(InterruptedRead, EndsWhenTheRunRecordedTheSignal) {
  const SignalGuard guard;
  const ReadOutcome r = read_while_signalled(SIGTERM, "late\n");
  EXPECT_FALSE(r.got);
  EXPECT_TRUE(r.failed);
  EXPECT_EQ(r.reason, std::strerror(EINTR));  // failed because the signal interrupted it
  EXPECT_EQ(pending_signal(), SIGTERM);
}

TEST(InterruptedRead, AnotherSignalIsWaitedThrough) {
  const SignalGuard guard;
  const Handler usr1(SIGUSR1, ignore_signal);
  const ReadOutcome r = read_while_signalled(SIGUSR1, "late\n");
  EXPECT_TRUE(r.got);
  EXPECT_FALSE(r.failed);
  EXPECT_EQ(r.record, "late");
  EXPECT_EQ(pending_signal(), 0);
}

}  // namespace
}  // namespace kovran
