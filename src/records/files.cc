// records/files.cc - buffered record files on file descriptors.
#include "records/files.h"

#include <fcntl.h>
#include <pthread.h>
#include <sched.h>
#include <signal.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <condition_variable>
#include <cstring>
#include <iostream>
#include <mutex>
#include <system_error>
#include <thread>

#include "driver/signals.h"
#include "driver/text.h"

namespace kovran {
namespace {

constexpr std::size_t kReadChunk = 1 << 16;
// A regular file of at least kAheadFrom bytes is read kAheadChunk bytes at a time by a thread of
// its own, one chunk ahead of the run; each chunk lands kLead bytes into its buffer, where the
// bytes the run has not taken yet from the one before are put in front of it.
constexpr std::size_t kAheadFrom = 1 << 20;
constexpr std::size_t kAheadChunk = 1 << 18;
constexpr std::size_t kLead = 64;

std::string system_reason(int err) { return std::strerror(err); }

// The reason of a read or a write on a file that was never opened (or is closed).
constexpr const char* kNotOpen = "the file is not open";

// Opens `path` with `flags`. An open interrupted by a signal (a FIFO waits for its other end) is
// tried again unless the run has recorded a signal. Returns the descriptor, or -1 with errno.
int open_path(const std::string& path, int flags) {
  for (;;) {
    const int fd = ::open(path.c_str(), flags | O_CLOEXEC, 0666);
    if (fd >= 0 || errno != EINTR || pending_signal() != 0)
      return fd;
  }
}

}  // namespace

// The thread makes one read at a time, of the chunk the file asks for, while the run works on
// the chunk before: the system's copying of the bytes overlaps the run's own work. It takes no
// signal: the run's thread does, as it would without it.
struct InFile::ReadAhead {
  explicit ReadAhead(int descriptor) : fd(descriptor) {
    sigset_t all, before;
    sigfillset(&all);
    pthread_sigmask(SIG_BLOCK, &all, &before);  // the thread starts with every signal blocked
    try {
      thread = std::thread([this] { work(); });
    } catch (const std::system_error&) {  // no thread: the file is read without one
    }
    pthread_sigmask(SIG_SETMASK, &before, nullptr);
  }
  ~ReadAhead() {
    {
      const std::lock_guard<std::mutex> hold(mutex);
      quit = true;
    }
    changed.notify_all();
    if (thread.joinable())
      thread.join();  // after the read under way, if any
  }
  bool running() const { return thread.joinable(); }
  // The next read: up to `size` bytes into `dest`.
  void start(char* dest, std::size_t size) {
    {
      const std::lock_guard<std::mutex> hold(mutex);
      into = dest;
      room = size;
      asked = true;
    }
    changed.notify_all();
  }
  // Waits for the read started last: the bytes read, or -1 with the system's error number.
  ssize_t finish(int& error_number) {
    std::unique_lock<std::mutex> hold(mutex);
    changed.wait(hold, [this] { return done; });
    done = false;
    error_number = error;
    return got;
  }

  void work() {
    std::unique_lock<std::mutex> hold(mutex);
    for (;;) {
      changed.wait(hold, [this] { return asked || quit; });
      if (quit)
        return;
      asked = false;
      char* const dest = into;
      const std::size_t size = room;
      hold.unlock();
      ssize_t n;
      do {
        n = ::read(fd, dest, size);
      } while (n < 0 && errno == EINTR);
      const int e = n < 0 ? errno : 0;
      hold.lock();
      got = n;
      error = e;
      done = true;
      changed.notify_all();
    }
  }

  const int fd;
  std::mutex mutex;
  std::condition_variable changed;
  char* into = nullptr;
  std::size_t room = 0;
  bool asked = false, done = false, quit = false;
  ssize_t got = 0;
  int error = 0;
  std::thread thread;
};

void ReadBuffer::resize(std::size_t n) {
  if (n == size_)
    return;
  std::unique_ptr<char[]> bytes(new char[n]);
  if (size_ > 0)
    std::memcpy(bytes.get(), bytes_.get(), std::min(size_, n));
  bytes_ = std::move(bytes);
  size_ = n;
}

InFile::InFile() = default;
InFile::~InFile() { close(); }

bool InFile::open(const std::string& path, std::istream* std_in, std::string& reason) {
  close();
  if (path == "-") {
    // NOTE: the process's own standard input is read through its descriptor: the stream
    // library retries a read that a signal interrupts, so the run could not end while waiting.
    if (std_in == &std::cin) {
      fd_ = STDIN_FILENO;
    } else {
      stream_ = std_in;
    }
  } else {
    const int fd = open_path(path, O_RDONLY);
    if (fd < 0) {
      reason = system_reason(errno);
      return false;
    }
    struct stat info {};
    if (::fstat(fd, &info) == 0 && S_ISDIR(info.st_mode)) {
      ::close(fd);
      reason = system_reason(EISDIR);
      return false;
    }
    fd_ = fd;
    owns_fd_ = true;
  }
  buf_.resize(kReadChunk);
  pos_ = end_ = 0;
  at_end_ = failed_ = false;
  ahead_considered_ = false;
  records_ = 0;
  return true;
}

void InFile::close() {
  ahead_.reset();  // its read ends before the descriptor closes
  if (fd_ >= 0 && owns_fd_)
    ::close(fd_);
  fd_ = -1;
  owns_fd_ = false;
  stream_ = nullptr;
}

void InFile::fail(int error_number) {
  failed_ = true;
  reason_ = error_number != 0 ? system_reason(error_number) : "input stream failed";
}

bool InFile::fill() {
  if (at_end_ || failed_ || !is_open())
    return false;
  if (pending_signal() != 0) {  // a line that never ends (/dev/zero) must not hold the run
    fail(EINTR);
    return false;
  }
  if (!ahead_considered_)
    start_reading_ahead();
  if (ahead_ != nullptr)
    return fill_ahead();
  if (pos_ > 0) {
    std::memmove(buf_.data(), buf_.data() + pos_, end_ - pos_);
    end_ -= pos_;
    pos_ = 0;
  }
  if (end_ == buf_.size())
    buf_.resize(buf_.size() * 2);
  std::size_t got = 0;
  if (fd_ >= 0) {
    for (;;) {
      const ssize_t n = ::read(fd_, buf_.data() + end_, buf_.size() - end_);
      if (n >= 0) {
        got = static_cast<std::size_t>(n);
        break;
      }
      if (errno == EINTR && pending_signal() == 0)
        continue;  // a signal the run does not stop for
      fail(errno);
      return false;
    }
  } else {
    stream_->read(buf_.data() + end_, static_cast<std::streamsize>(buf_.size() - end_));
    got = static_cast<std::size_t>(stream_->gcount());
    if (stream_->bad()) {
      fail(0);
      return false;
    }
  }
  if (got == 0)
    at_end_ = true;
  end_ += got;
  return got > 0;
}

// At the first fill: a large regular file the run opened itself gets its reading thread, which
// starts on the first chunk, when the run may use more than one core.
void InFile::start_reading_ahead() {
  ahead_considered_ = true;
  struct stat info {};
  if (fd_ < 0 || !owns_fd_ || pos_ != end_ || ::fstat(fd_, &info) != 0 || !S_ISREG(info.st_mode) ||
      info.st_size < static_cast<off_t>(kAheadFrom))
    return;
  cpu_set_t cores;
  if (::sched_getaffinity(0, sizeof cores, &cores) == 0 && CPU_COUNT(&cores) < 2)
    return;  // one core: the thread would only take turns with the run
  auto ahead = std::make_unique<ReadAhead>(fd_);
  if (!ahead->running())
    return;
  ahead_ = std::move(ahead);
  buf_.resize(kLead + kAheadChunk);
  spare_.resize(kLead + kAheadChunk);
  pos_ = end_ = kLead;
  ahead_->start(spare_.data() + kLead, kAheadChunk);
}

// The fill of a file read ahead: the chunk the thread read, after what is left of this one, and
// the thread starts on the next chunk in this one's buffer.
bool InFile::fill_ahead() {
  int error_number = 0;
  const ssize_t n = ahead_->finish(error_number);
  if (n < 0) {
    fail(error_number);
    return false;
  }
  const std::size_t got = static_cast<std::size_t>(n), left = end_ - pos_;
  if (left <= kLead) {
    std::memcpy(spare_.data() + kLead - left, buf_.data() + pos_, left);
    buf_.swap(spare_);
    pos_ = kLead - left;
    end_ = kLead + got;
  } else {  // more left than goes in front: both after each other here, in a buffer as large
    std::memmove(buf_.data(), buf_.data() + pos_, left);
    buf_.resize(std::max(buf_.size(), left + got));
    std::memcpy(buf_.data() + left, spare_.data() + kLead, got);
    pos_ = 0;
    end_ = left + got;
  }
  if (got == 0) {
    at_end_ = true;
    return false;
  }
  ahead_->start(spare_.data() + kLead, kAheadChunk);
  return true;
}

bool InFile::read_record_slow(char* dest, std::size_t cap, std::size_t& stored,
                              std::size_t& full_length) {
  stored = full_length = 0;
  if (!is_open()) {
    fail(EBADF);
    reason_ = kNotOpen;
    return false;
  }
  bool any = false;
  for (;;) {
    const char* start = buf_.data() + pos_;
    const std::size_t avail = end_ - pos_;
    const void* lf = avail > 0 ? std::memchr(start, '\n', avail) : nullptr;
    const std::size_t span =
        lf != nullptr ? static_cast<std::size_t>(static_cast<const char*>(lf) - start) : avail;
    // A carriage return at the end of what is buffered is held back: it is dropped when a line
    // feed follows it and kept as data otherwise.
    std::size_t take = span;
    if (take > 0 && start[take - 1] == '\r')
      --take;
    const std::size_t room = cap > stored ? cap - stored : 0;
    const std::size_t copy = std::min(take, room);
    if (copy > 0)
      std::memcpy(dest + stored, start, copy);
    stored += copy;
    full_length += take;
    if (avail > 0)
      any = true;
    if (lf != nullptr) {
      pos_ += span + 1;
      ++records_;
      return true;
    }
    pos_ += take;  // a long record is taken in pieces; the buffer never holds it whole
    if (!fill()) {
      if (failed_)
        return false;     // NOTE: a record cut short by a failed read is not delivered
      if (pos_ < end_) {  // a carriage return that ends the file is data
        if (stored < cap)
          dest[stored++] = '\r';
        ++full_length;
        pos_ = end_;
      }
      if (any)
        ++records_;
      return any;
    }
  }
}

OutFile::~OutFile() { close(); }

bool OutFile::open(const std::string& path, std::ostream* std_out, std::string& reason) {
  if (path == "-") {
    stream_ = std_out;
  } else {
    const int fd = open_path(path, O_WRONLY | O_CREAT | O_TRUNC);
    if (fd < 0) {
      reason = system_reason(errno);
      return false;
    }
    fd_ = fd;
    struct stat info {};
    regular_ = ::fstat(fd, &info) == 0 && S_ISREG(info.st_mode);
  }
  // a chunk, then a longest record, its line feed and what a placed record may spill
  buf_.resize(kWriteChunk + kAreaWidth + 1 + kSpill + 1);
  used_ = 0;
  ended_ = 0;
  bytes_kept_ = records_kept_ = 0;
  failed_ = false;
  error_number_ = 0;
  room_end_ = fd_ >= 0 ? buf_.size() : 0;
  return true;
}

void OutFile::fail(int error_number) {
  failed_ = true;
  room_end_ = 0;
  if (failure_flag_ != nullptr)
    *failure_flag_ = 1;
  error_number_ = error_number;
  reason_ = error_number != 0 ? system_reason(error_number) : "output stream failed";
}

bool OutFile::write(std::string_view bytes) {
  if (failed_)
    return false;
  if (!is_open()) {
    fail(EBADF);
    reason_ = kNotOpen;
    return false;
  }
  if (stream_ != nullptr) {
    // NOTE: no buffer of our own for "-": files that share standard output keep their order.
    errno = 0;
    stream_->write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
    if (!*stream_)
      fail(errno);
    return !failed_;
  }
  if (used_ + bytes.size() > buf_.size()) {
    buf_.resize(std::max(2 * buf_.size(), used_ + bytes.size()));
    room_end_ = buf_.size();
  }
  if (!bytes.empty())
    std::memcpy(buf_.data() + used_, bytes.data(), bytes.size());
  used_ += bytes.size();
  return true;
}

void OutFile::grow_ends() {
  const std::size_t room = std::max<std::size_t>(2 * ends_room_, kWriteChunk / 8);
  std::unique_ptr<std::size_t[]> ends(new std::size_t[room]);
  if (ended_ > 0)
    std::memcpy(ends.get(), ends_.get(), ended_ * sizeof ends_[0]);
  ends_ = std::move(ends);
  ends_room_ = room;
}

bool OutFile::end_other_record() {
  if (!failed_ && !is_open()) {
    fail(EBADF);
    reason_ = kNotOpen;
  }
  if (failed_)
    return false;
  ++records_kept_;
  return true;
}

bool OutFile::flush() {
  if (failed_)
    return false;
  if (fd_ >= 0) {
    // Every byte goes out, however the system splits the write. NOTE: an interrupted write is
    // always tried again, even after a signal: the records must reach their file (a third
    // signal ends the process if a reader never drains a pipe).
    std::size_t done = 0;
    while (done < used_) {
      const ssize_t n = ::write(fd_, buf_.data() + done, used_ - done);
      if (n > 0) {
        done += static_cast<std::size_t>(n);
      } else if (n < 0 && errno == EINTR) {
        continue;
      } else {
        const int error_number = n < 0 ? errno : EIO;
        // The records wholly written stay; the one the failure cut short is cut off again.
        const std::size_t whole = static_cast<std::size_t>(
            std::upper_bound(ends_.get(), ends_.get() + ended_, done) - ends_.get());
        const std::size_t keep = whole > 0 ? ends_[whole - 1] : 0;
        records_kept_ += static_cast<std::int64_t>(whole);
        bytes_kept_ += static_cast<std::int64_t>(keep);
        if (regular_ && done > keep && ::ftruncate(fd_, static_cast<off_t>(bytes_kept_)) != 0)
          regular_ = false;  // what the file holds is no longer known
        fail(error_number);
        break;
      }
    }
    if (!failed_) {
      bytes_kept_ += static_cast<std::int64_t>(used_);
      records_kept_ += static_cast<std::int64_t>(ended_);
    }
    ended_ = 0;
  } else if (stream_ != nullptr) {
    errno = 0;
    stream_->flush();
    if (!*stream_)
      fail(errno);
  }
  used_ = 0;
  return !failed_;
}

bool OutFile::close() {
  if (!is_open())
    return !failed_;
  flush();
  if (fd_ >= 0 && ::close(fd_) != 0 && errno != EINTR && !failed_)
    fail(errno);
  fd_ = -1;
  stream_ = nullptr;
  room_end_ = 0;
  return !failed_;
}

}  // namespace kovran
