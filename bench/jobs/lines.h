// lines.h - plain buffered line input and output for the hand-written job programs: read(2)
// and write(2) in blocks of 64 KiB, each line handed over in place, each output line built in
// place in the output block. What a job does between the two is the only work of its own.
#ifndef BENCH_JOBS_LINES_H_
#define BENCH_JOBS_LINES_H_

#include <fcntl.h>
#include <unistd.h>

#include <cerrno>
#include <cstddef>
#include <cstdio>
#include <cstdlib>
#include <cstring>

namespace bench {

constexpr std::size_t kBlock = 64 * 1024;

[[noreturn]] inline void fail(const char* what, const char* path) {
  std::fprintf(stderr, "%s %s: %s\n", what, path, std::strerror(errno));
  std::exit(2);
}

// The lines of one file: a line feed ends a line, a carriage return just before it is
// dropped, a last line without a line feed is still a line. A line longer than kBlock is
// handed over in pieces (the job records are 100 bytes).
class LineReader {
 public:
  explicit LineReader(const char* path) : path_(path), fd_(open(path, O_RDONLY)) {
    if (fd_ < 0)
      fail("cannot open", path);
  }
  ~LineReader() { close(fd_); }
  LineReader(const LineReader&) = delete;
  LineReader& operator=(const LineReader&) = delete;

  // The next line, without its ending; false when the file is done.
  bool next(const char*& text, std::size_t& size) {
    for (;;) {
      const std::size_t pending = end_ - begin_;
      text = buf_ + begin_;
      if (const void* nl = std::memchr(text, '\n', pending)) {
        size = static_cast<std::size_t>(static_cast<const char*>(nl) - text);
        begin_ += size + 1;
        if (size > 0 && text[size - 1] == '\r')
          --size;
        return true;
      }
      if (pending >= kBlock || (at_end_ && pending > 0)) {
        size = pending < kBlock ? pending : kBlock;
        begin_ += size;
        return true;
      }
      if (at_end_)
        return false;
      fill();
    }
  }

 private:
  // Moves the unfinished line to the front and reads one more block behind it.
  void fill() {
    std::memmove(buf_, buf_ + begin_, end_ - begin_);
    end_ -= begin_;
    begin_ = 0;
    const ssize_t got = read(fd_, buf_ + end_, kBlock);
    if (got < 0)
      fail("cannot read", path_);
    at_end_ = got == 0;
    end_ += static_cast<std::size_t>(got);
  }

  const char* path_;
  int fd_;
  char buf_[2 * kBlock];  // an unfinished line (below kBlock) and one block read
  std::size_t begin_ = 0, end_ = 0;
  bool at_end_ = false;
};

// Output lines gathered into one block and written when it is full and at the end.
class LineWriter {
 public:
  explicit LineWriter(const char* path)
      : path_(path), fd_(open(path, O_WRONLY | O_CREAT | O_TRUNC, 0666)) {
    if (fd_ < 0)
      fail("cannot open", path);
  }
  ~LineWriter() {
    flush();
    if (close(fd_) != 0)
      fail("cannot write", path_);
  }
  LineWriter(const LineWriter&) = delete;
  LineWriter& operator=(const LineWriter&) = delete;

  // Room for a line of at most `size` bytes and its line feed; end() says how long it was.
  // put() is both for a line made elsewhere.
  char* begin(std::size_t size) {
    if (used_ + size + 1 > kBlock)
      flush();
    return buf_ + used_;
  }
  void end(std::size_t size) {
    buf_[used_ + size] = '\n';
    used_ += size + 1;
  }
  void put(const char* text, std::size_t size) {
    std::memcpy(begin(size), text, size);
    end(size);
  }

 private:
  void flush() {
    for (std::size_t done = 0; done < used_;) {
      const ssize_t put = write(fd_, buf_ + done, used_ - done);
      if (put < 0)
        fail("cannot write", path_);
      done += static_cast<std::size_t>(put);
    }
    used_ = 0;
  }

  const char* path_;
  int fd_;
  char buf_[kBlock];
  std::size_t used_ = 0;
};

// The length of `text` without its trailing blanks.
inline std::size_t trimmed(const char* text, std::size_t size) {
  while (size > 0 && text[size - 1] == ' ') --size;
  return size;
}

// A job's main(): `job master out`; each(text, size, out) for every line of master, then
// finish(out).
template <typename Each, typename Finish>
int run_job(int argc, char** argv, Each each, Finish finish) {
  if (argc != 3) {
    std::fprintf(stderr, "usage: job master out\n");
    return 2;
  }
  LineReader in(argv[1]);
  LineWriter out(argv[2]);
  const char* text;
  std::size_t size;
  while (in.next(text, size)) each(text, size, out);
  finish(out);
  return 0;
}

}  // namespace bench

#endif  // BENCH_JOBS_LINES_H_
