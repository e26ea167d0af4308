// records/files.h - sequential text files of records: one record a line, read and written
// through large buffers on the system's file descriptors. A path of "-" means the standard
// input or output of the run. A read or a write on a file that is not open fails. A read or an open
// interrupted by a signal is retried unless the run has recorded a signal (driver/signals.h); then
// it fails (the reason is EINTR's), so the run can end by that signal instead of waiting for data
// that may never come.
#ifndef KOVRAN_RECORDS_FILES_H_
#define KOVRAN_RECORDS_FILES_H_

#include <csignal>
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <iosfwd>
#include <memory>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace kovran {

// Bytes a file is read into: unlike a vector's, they are not filled in when made or grown, so a
// large buffer costs only what is read into it.
class ReadBuffer {
 public:
  char* data() { return bytes_.get(); }
  const char* data() const { return bytes_.get(); }
  std::size_t size() const { return size_; }
  // n bytes, those there before kept as far as they go.
  void resize(std::size_t n);
  void swap(ReadBuffer& other) {
    bytes_.swap(other.bytes_);
    std::swap(size_, other.size_);
  }

 private:
  std::unique_ptr<char[]> bytes_;
  std::size_t size_ = 0;
};

class InFile {
 public:
  InFile();
  InFile(const InFile&) = delete;
  InFile& operator=(const InFile&) = delete;
  ~InFile();

  // Opens `path` ("-" is `std_in`). On failure returns false and sets `reason`.
  bool open(const std::string& path, std::istream* std_in, std::string& reason);
  bool is_open() const { return fd_ >= 0 || stream_ != nullptr; }
  void close();

  // Reads the next record into `dest` (at most `cap` bytes stored). A line feed ends a record;
  // a carriage return just before it is dropped; a last line without a line feed is a record.
  // `full_length` is the record's length before any cut. Returns false at end of file (or on a
  // read error, when `failed()` then holds).
  bool read_record(char* dest, std::size_t cap, std::size_t& stored, std::size_t& full_length) {
    if (read_usual(dest, cap, stored)) {
      full_length = stored;
      return true;
    }
    return read_record_slow(dest, cap, stored, full_length);
  }
  // The usual record only, inline: a whole line in the buffer, not longer than `cap`, no
  // carriage return before its line feed, where it stands in the buffer (until the next read).
  // False, with nothing read, for anything else.
  bool next_usual(std::size_t cap, std::string_view& record) {
    const char* start = buf_.data() + pos_;
    const std::size_t avail = end_ - pos_;
    const void* lf = avail > 0 ? std::memchr(start, '\n', avail) : nullptr;
    if (lf == nullptr)
      return false;
    const std::size_t span = static_cast<std::size_t>(static_cast<const char*>(lf) - start);
    if (span > cap || (span > 0 && start[span - 1] == '\r'))
      return false;
    record = std::string_view(start, span);
    pos_ += span + 1;
    ++records_;
    return true;
  }
  // The same, copied to `dest`.
  bool read_usual(char* dest, std::size_t cap, std::size_t& stored) {
    std::string_view record;
    if (!next_usual(cap, record))
      return false;
    if (!record.empty())
      std::memcpy(dest, record.data(), record.size());
    stored = record.size();
    return true;
  }
  bool failed() const { return failed_; }
  const std::string& error_reason() const { return reason_; }
  long records_read() const { return records_; }

 private:
  bool read_record_slow(char* dest, std::size_t cap, std::size_t& stored, std::size_t& full_length);
  bool fill();
  bool fill_ahead();
  void start_reading_ahead();
  void fail(int error_number);

  // A thread that reads a large regular file one chunk ahead of the run (files.cc).
  struct ReadAhead;

  int fd_ = -1;
  bool owns_fd_ = false;  // false for the process's standard input
  std::istream* stream_ = nullptr;
  ReadBuffer buf_;
  std::unique_ptr<ReadAhead> ahead_;
  bool ahead_considered_ = false;  // at the first fill
  ReadBuffer spare_;               // what the thread reads into, then swapped with buf_
  std::size_t pos_ = 0;
  std::size_t end_ = 0;
  bool at_end_ = false;
  bool failed_ = false;
  std::string reason_;
  long records_ = 0;
};

// An output file is written a record at a time: the bytes of one record (its line feed
// included) reach the file together, and when a write fails, a regular file is cut back to the
// end of its last whole record, so the file never ends in a torn record.
class OutFile {
 public:
  OutFile() = default;
  OutFile(const OutFile&) = delete;
  OutFile& operator=(const OutFile&) = delete;
  ~OutFile();

  // Creates `path` ("-" is `std_out`). On failure returns false and sets `reason`.
  bool open(const std::string& path, std::ostream* std_out, std::string& reason);
  bool is_open() const { return fd_ >= 0 || stream_ != nullptr; }

  // Appends bytes to the record being built. Returns false once a write has failed.
  bool write(std::string_view bytes);
  bool put(char c) { return write(std::string_view(&c, 1)); }
  // Ends the record: the bytes appended since the last end form one whole record. The buffer
  // goes out when it is full, and only here, between records. Returns false once a write has
  // failed.
  bool end_record() {
    if (fd_ < 0 || failed_)
      return end_other_record();
    end_here(used_);
    return used_ < kWriteChunk || flush();
  }
  // One whole record: `text`, then a line feed; the same as write, put and end_record.
  // `*placed` := where the text now stands in the buffer, until this file is written again;
  // left alone when the record went out some other way.
  [[gnu::always_inline]] bool write_record(std::string_view text, const char** placed = nullptr) {
    char* at = room(text.size());
    if (at == nullptr)
      return write(text) && put('\n') && end_record();
    if (placed != nullptr)
      *placed = at;
    if (!text.empty())
      std::memcpy(at, text.data(), text.size());
    return end_placed(text.size());
  }
  // Room in the buffer for a record of up to n bytes, its line feed and kSpill bytes more, to be
  // filled in by the caller and ended by end_placed; null when the record must go out by
  // write_record.
  static constexpr std::size_t kSpill = 16;
  char* room(std::size_t n) {
    if (used_ + n + kSpill >= room_end_)
      return nullptr;
    return buf_.data() + used_;
  }
  // Ends the record of n bytes placed in the room: its line feed, then as end_record.
  [[gnu::always_inline]] bool end_placed(std::size_t n) {
    const std::size_t used = used_ + n + 1;
    buf_[used - 1] = '\n';
    used_ = used;
    end_here(used);
    return used < kWriteChunk || flush();
  }
  // Sends the buffer to the system. Returns false when the data could not be written.
  bool flush();
  // Flushes and closes; returns false when anything written was not kept.
  bool close();
  bool failed() const { return failed_; }
  // Also sets *flag to 1 when this file fails (the console's failure raises the flag that the
  // walk looks at for a signal too).
  void flag_failure(volatile std::sig_atomic_t* flag) { failure_flag_ = flag; }
  // The system's error number of the failure (EPIPE: nobody reads the pipe any more), or 0.
  int error_number() const { return error_number_; }
  const std::string& error_reason() const { return reason_; }
  // A regular file: after a failed write it holds exactly records_kept() whole records.
  bool regular() const { return regular_; }
  // The records ended so far that reached the file (after a failure: those it still holds).
  std::int64_t records_kept() const { return records_kept_; }

 private:
  static constexpr std::size_t kWriteChunk = 1 << 16;

  bool end_other_record();  // a stream's, or after a failure
  // A record ends at `at` in the buffer.
  void end_here(std::size_t at) {
    const std::size_t ended = ended_;
    if (ended == ends_room_)
      grow_ends();
    ends_[ended] = at;
    ended_ = ended + 1;
  }
  void grow_ends();
  void fail(int error_number);

  int fd_ = -1;
  std::ostream* stream_ = nullptr;
  bool regular_ = false;
  std::vector<char> buf_;     // room for a chunk and a whole record after it
  std::size_t used_ = 0;      // bytes of buf_ waiting to go out
  std::size_t room_end_ = 0;  // buf_.size() while open on a descriptor and not failed, or 0
  // Where each record in the buffer ends, ended_ of them in room for ends_room_.
  std::unique_ptr<std::size_t[]> ends_;
  std::size_t ended_ = 0, ends_room_ = 0;
  std::int64_t bytes_kept_ = 0;  // bytes of the file that went out before the buffer
  std::int64_t records_kept_ = 0;
  bool failed_ = false;
  volatile std::sig_atomic_t* failure_flag_ = nullptr;
  int error_number_ = 0;
  std::string reason_;
};

}  // namespace kovran

#endif  // KOVRAN_RECORDS_FILES_H_
