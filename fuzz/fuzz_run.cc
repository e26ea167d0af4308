// fuzz/fuzz_run.cc - a whole run from fuzz input, checked for more than crashes.
//
// The input is five control bytes, then parts split at the separator "\n@@\n": the script,
// PARM, FILE1 .. FILE6. A part that is not there is a file that does not exist; an empty part
// is an empty file. A control byte past the end of the input is 0.
//   byte 0   an output that fails: low four bits the way, high four bits which output
//            (FILE1 .. FILE6, LISTING, FILEDUMP, by its value modulo 8)
//              0-7    none
//              8-9    that output is /dev/full: its first write fails (a data file only
//                     when PARM can name no input file, so that it is never read: /dev/full
//                     reads as one line that never ends)
//              10-12  every file the run writes fails past 4096 + k bytes (a file size limit)
//              13-15  the console fails after k bytes
//   byte 1-2 k, low byte first
//   byte 3   a long record, when bit 7 is set: bits 0-2 the file (1 + value modulo 6), bits
//            3-5 its length (kLongLengths), bit 6 a carriage return as its last byte. It
//            replaces the file's first record, whose bytes it repeats.
//   byte 4   bit 0: FILE1 is read from standard input.
// Every run ends soon: PARM is cut to 80 characters (line feeds become commas) and a loop limit
// is appended, and the console takes kConsoleMax bytes at most, then fails like a full disk.
//
// What every run must keep (a violation is told on standard error, then the target traps so
// libFuzzer keeps the input): the status is 0, 4 or 12; a console that failed means status 12;
// standard error holds only lines "kovran: ...", nothing after a clean end and no "run ended"
// line after a normal one, never an internal error; every file the run wrote is empty or ends with
// a line feed (whole records, whole LISTING lines; a LISTING cut back after a failure may lack its
// final line feed), and so does the console unless it failed; after a normal end the line of record
// counts agrees with the files (check_counts). A signal the fuzzer itself receives during a run
// (SIGINT, SIGTERM, SIGHUP) ends that run, which records it; it is then raised again, once the
// fuzzer's own handlers are back, so the fuzzer stops as asked.
#include <fcntl.h>
#include <sys/resource.h>
#include <unistd.h>

#include <algorithm>
#include <array>
#include <cerrno>
#include <csignal>
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <optional>
#include <sstream>
#include <streambuf>
#include <string>
#include <string_view>
#include <vector>

#include "driver/kovran.h"
#include "driver/signals.h"
#include "driver/testing.h"

namespace {

// The folder of the run's files, made once in memory and removed at exit; empty when none
// could be made (then nothing is run).
const std::string& scratch_dir() {
  static const kovran::ScratchDir dir(true);
  static const std::string root = dir.made() ? dir.root() : std::string();
  return root;
}

constexpr std::size_t kControlBytes = 5;
constexpr std::string_view kSeparator = "\n@@\n";
constexpr std::size_t kParmMax = 80;
constexpr const char* kLoopLimit = "LC=400";
constexpr std::size_t kConsoleMax = 64 * 1024;
constexpr std::size_t kFileSizeFloor = 4096;  // a crash report's input must fit in its file
constexpr std::size_t kLongLengths[] = {4095, 4096, 4097, 4100, 8193, 65536, 65537, 131073};
constexpr const char* kOutputs[] = {"FILE1", "FILE2", "FILE3",   "FILE4",
                                    "FILE5", "FILE6", "LISTING", "FILEDUMP"};
constexpr const char* kOutputOptions[] = {"--file1", "--file2", "--file3",   "--file4",
                                          "--file5", "--file6", "--listing", "--filedump"};

enum class Failure { kNone, kDevFull, kFileSize, kConsole };

struct Unit {
  Failure failure = Failure::kNone;
  int failing_output = 0;  // index into kOutputs, for kDevFull
  std::size_t k = 0;
  int long_file = 0;  // 1..6, or 0 for none
  std::size_t long_length = 0;
  bool long_ends_in_cr = false;
  bool file1_from_stdin = false;
  std::string_view script;
  std::string_view parm;
  std::optional<std::string> files[7];  // FILE1 .. FILE6 as written; [0] unused
};

[[noreturn]] void violation(const std::string& what) {
  std::fprintf(stderr, "fuzz_run: %s\n", what.c_str());
  __builtin_trap();
}

Unit decode(const std::uint8_t* data, std::size_t size) {
  std::uint8_t control[kControlBytes] = {};
  const std::size_t head = size < kControlBytes ? size : kControlBytes;
  for (std::size_t k = 0; k < head; ++k) control[k] = data[k];
  Unit u;
  const int way = control[0] & 15;
  u.failure = way < 8    ? Failure::kNone
              : way < 10 ? Failure::kDevFull
              : way < 13 ? Failure::kFileSize
                         : Failure::kConsole;
  u.failing_output = (control[0] >> 4) % 8;
  u.k = control[1] | std::size_t{control[2]} << 8;
  if ((control[3] & 0x80) != 0) {
    u.long_file = 1 + (control[3] & 7) % 6;
    u.long_length = kLongLengths[(control[3] >> 3) & 7];
    u.long_ends_in_cr = (control[3] & 0x40) != 0;
  }
  u.file1_from_stdin = (control[4] & 1) != 0;

  std::string_view input(reinterpret_cast<const char*>(data) + head, size - head);
  std::vector<std::string_view> parts;
  for (;;) {
    const std::size_t at = input.find(kSeparator);
    parts.push_back(input.substr(0, at));
    if (at == std::string_view::npos || parts.size() == 8)
      break;
    input.remove_prefix(at + kSeparator.size());
  }
  u.script = parts[0];
  if (parts.size() > 1)
    u.parm = parts[1].substr(0, kParmMax);
  for (std::size_t n = 1; n <= 6 && n + 1 < parts.size(); ++n) u.files[n] = parts[n + 1];
  // /dev/full reads as a line that never ends: a data file is bound to it only when PARM can
  // name no input file, by a digit or by a bare I, A, B or T (a flag word sets it to 1).
  if (u.failure == Failure::kDevFull && u.failing_output < 6 &&
      u.parm.find_first_of("123456IABTiabt") != std::string_view::npos)
    u.failure = Failure::kNone;
  return u;
}

// The first record of `file` becomes `length` bytes long, repeating its own bytes.
void stretch_first_record(std::string& file, std::size_t length, bool ends_in_cr) {
  const std::size_t end = file.find('\n');
  std::string first = file.substr(0, end);
  if (first.empty())
    first = "0123456789";
  std::string record = first;
  while (record.size() < length) record += record;  // doubling: few appends of many bytes
  record.resize(length);
  if (ends_in_cr)
    record.back() = '\r';
  file.replace(0, end == std::string::npos ? file.size() : end, record);
}

void put_file(const std::string& path, std::string_view bytes) {
  const int fd = ::open(path.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0666);
  if (fd < 0)
    violation("cannot create " + path);
  std::size_t done = 0;
  while (done < bytes.size()) {
    const ssize_t n = ::write(fd, bytes.data() + done, bytes.size() - done);
    if (n <= 0)
      violation("cannot write " + path);
    done += static_cast<std::size_t>(n);
  }
  ::close(fd);
}

// The file's bytes, or nothing when it does not exist.
std::optional<std::string> get_file(const std::string& path) {
  const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
  if (fd < 0)
    return std::nullopt;
  std::string bytes;
  char chunk[65536];
  ssize_t n;
  while ((n = ::read(fd, chunk, sizeof chunk)) > 0) bytes.append(chunk, static_cast<size_t>(n));
  ::close(fd);
  return bytes;
}

bool whole_lines(std::string_view bytes) { return bytes.empty() || bytes.back() == '\n'; }

// The console: counts what it is given and keeps only its last byte and the last line of
// record counts that ends a run ("F1 n F2 n ... F6 n List n"). It takes `limit` bytes at most;
// the write that would pass it stores what fits and fails, as on a full disk.
class ConsoleBuf : public std::streambuf {
 public:
  explicit ConsoleBuf(std::size_t limit) : limit_(limit) {}
  bool refused() const { return refused_; }
  bool ends_in_line_feed() const { return size_ == 0 || last_ == '\n'; }
  const std::string& count_line() const { return count_line_; }

 protected:
  std::streamsize xsputn(const char* s, std::streamsize n) override {
    const auto want = static_cast<std::size_t>(n);
    const std::size_t room = refused_ ? 0 : limit_ - size_;
    const std::size_t take = want < room ? want : room;
    if (take > 0) {
      size_ += take;
      last_ = s[take - 1];
      keep_lines(s, take);
    }
    if (take < want) {
      refused_ = true;
      errno = ENOSPC;
    }
    return static_cast<std::streamsize>(take);
  }
  int_type overflow(int_type c) override {
    if (traits_type::eq_int_type(c, traits_type::eof()))
      return traits_type::not_eof(c);
    const char ch = traits_type::to_char_type(c);
    return xsputn(&ch, 1) == 1 ? c : traits_type::eof();
  }

 private:
  static constexpr std::size_t kLineKept = 160;  // a count line is shorter

  void keep_lines(const char* s, std::size_t n) {
    for (;;) {
      const auto* lf = static_cast<const char*>(std::memchr(s, '\n', n));
      const std::size_t part = lf != nullptr ? static_cast<std::size_t>(lf - s) : n;
      line_.append(s, std::min(part, kLineKept - std::min(kLineKept, line_.size())));
      if (lf == nullptr)
        return;
      if (line_.compare(0, 3, "F1 ") == 0)
        count_line_ = line_;
      line_.clear();
      s += part + 1;
      n -= part + 1;
    }
  }

  std::size_t limit_;
  std::size_t size_ = 0;
  char last_ = '\n';
  bool refused_ = false;
  std::string line_;  // the current line, its first kLineKept bytes
  std::string count_line_;
};

// The counts of a count line: [0] List, [1] .. [6] F1 .. F6; nothing when it is not one.
std::optional<std::array<long, 7>> parse_counts(const std::string& line) {
  std::istringstream in(line);
  std::array<long, 7> counts{};
  for (std::size_t k = 1; k <= 7; ++k) {
    std::string name;
    const std::string want = k == 7 ? "List" : "F" + std::to_string(k);
    if (!(in >> name >> counts[k % 7]) || name != want)
      return std::nullopt;
  }
  return counts;
}

// PARM can set any run variable, the record counts too.
bool sets_a_count(std::string_view parm) {
  for (std::size_t k = 0; k + 3 <= parm.size(); ++k) {
    if ((parm[k] | 0x20) == 'c' && (parm[k + 1] | 0x20) == 'n' && (parm[k + 2] | 0x20) == 't')
      return true;
  }
  return false;
}

// Records of a file read as input: its line feeds, and a last line without one.
long records_in(std::string_view bytes) {
  const auto n = static_cast<long>(std::count(bytes.begin(), bytes.end(), '\n'));
  return n + (bytes.empty() || bytes.back() == '\n' ? 0 : 1);
}

// While it lives, every file the process writes fails past `limit` bytes with EFBIG (SIGXFSZ
// is ignored, so the write fails instead of the process being killed).
class FileSizeLimit {
 public:
  explicit FileSizeLimit(rlim_t limit) {
    getrlimit(RLIMIT_FSIZE, &saved_limit_);
    struct sigaction ignore {};
    ignore.sa_handler = SIG_IGN;
    sigemptyset(&ignore.sa_mask);
    sigaction(SIGXFSZ, &ignore, &saved_action_);
    rlimit lower = saved_limit_;
    if (limit < lower.rlim_cur)
      lower.rlim_cur = limit;
    setrlimit(RLIMIT_FSIZE, &lower);
  }
  ~FileSizeLimit() {
    setrlimit(RLIMIT_FSIZE, &saved_limit_);
    sigaction(SIGXFSZ, &saved_action_, nullptr);
  }
  FileSizeLimit(const FileSizeLimit&) = delete;
  FileSizeLimit& operator=(const FileSizeLimit&) = delete;

 private:
  rlimit saved_limit_{};
  struct sigaction saved_action_ {};
};

// Standard error holds only kovran's lines: nothing after a clean end, the first report of a
// statement (its script line) after a normal end with diagnostics, and at most one "run ended"
// line, only after an error ending.
void check_standard_error(const std::string& err, int status, const std::string& program) {
  if (!err.empty() && status == 0)
    violation("standard error after a run that ended with status 0");
  int endings = 0;
  std::size_t at = 0;
  while (at < err.size()) {
    const std::size_t end = err.find('\n', at);
    if (end == std::string::npos)
      violation("standard error ends inside a line");
    const std::string_view line(err.data() + at, end - at);
    if (line.substr(0, 8) != "kovran: ")
      violation("standard error line not of kovran's forms: " + std::string(line));
    if (line.substr(0, 23) == "kovran: internal error:")
      violation(std::string(line));  // kovran caught a fault of its own
    // "kovran: [PROGRAM:LINE: ]run ended: ...": the words after it are the script's own.
    std::string_view rest = line.substr(8);
    if (rest.substr(0, program.size() + 1) == program + ":") {
      rest.remove_prefix(program.size() + 1);
      while (!rest.empty() && rest.front() >= '0' && rest.front() <= '9') rest.remove_prefix(1);
      rest.remove_prefix(std::min<std::size_t>(2, rest.size()));  // ": "
    }
    if (rest.substr(0, 11) == "run ended: " && (status != 12 || ++endings > 1))
      violation("a \"run ended\" line after status " + std::to_string(status));
    at = end + 1;
  }
}

// After a normal end every record counted is in its file: a file written holds as many records
// as its count, a file read was read to its end or not at all, and when every input file there
// holds a record, one of them was read. `after` holds FILE1 .. FILE6, LISTING, FILEDUMP as the
// run left them.
void check_counts(const Unit& u, const std::array<long, 7>& counts,
                  const std::optional<std::string> (&after)[8]) {
  int inputs = 0;
  bool all_hold_records = true;
  bool any_read = false;
  for (std::size_t n = 1; n <= 6; ++n) {
    if (n == 1 && u.file1_from_stdin)
      continue;  // FILE1 bound to "-" is written to the console
    const std::optional<std::string>& bytes = after[n - 1];
    const bool input = bytes && bytes == u.files[n];
    const long in_file = bytes ? records_in(*bytes) : 0;
    if (input ? counts[n] != 0 && counts[n] != in_file : counts[n] != in_file)
      violation(std::string(kOutputs[n - 1]) + " holds " + std::to_string(in_file) +
                " records, its count is " + std::to_string(counts[n]));
    if (input) {
      ++inputs;
      all_hold_records = all_hold_records && in_file > 0;
      any_read = any_read || counts[n] > 0;
    }
  }
  if (inputs > 0 && all_hold_records && !any_read && !u.file1_from_stdin)
    violation("a normal end that read no record");
  if (counts[0] > 0 && after[6].value_or("").empty())
    violation("lines counted as printed, but no LISTING");
}

}  // namespace

// A run frees its 64 KB file buffers; a small quarantine reuses their memory instead of making
// every unit fault in fresh pages, and 16 MB still holds more than most runs free.
extern "C" const char* __asan_default_options() { return "quarantine_size_mb=16"; }

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string& dir = scratch_dir();
  if (dir.empty())
    return 0;
  Unit u = decode(data, size);
  if (u.long_file != 0) {
    std::optional<std::string>& file = u.files[u.long_file];
    if (!file)
      file.emplace();
    stretch_first_record(*file, u.long_length, u.long_ends_in_cr);
  }

  put_file(dir + "/PROGRAM", u.script);
  for (int n = 1; n <= 6; ++n) {
    const std::string path = dir + "/FILE" + std::to_string(n);
    if (u.files[n]) {
      put_file(path, *u.files[n]);
    } else {
      std::remove(path.c_str());
    }
  }
  std::remove((dir + "/LISTING").c_str());
  std::remove((dir + "/FILEDUMP").c_str());

  std::vector<std::string> args = {"--clock", "2026-12-08T10:00:00", "--program", dir + "/PROGRAM"};
  for (int out = 0; out < 8; ++out) {
    std::string path = dir + "/" + kOutputs[out];
    if (u.failure == Failure::kDevFull && out == u.failing_output)
      path = "/dev/full";
    else if (out == 0 && u.file1_from_stdin)
      path = "-";
    args.insert(args.end(), {kOutputOptions[out], path});
  }
  if (u.file1_from_stdin)  // the console stays on standard output, beside what FILE1 writes
    args.insert(args.end(), {"--sysprint", "-"});
  std::string parm(u.parm);
  for (char& c : parm) {
    if (c == '\n')
      c = ',';
  }
  parm += parm.empty() ? kLoopLimit : std::string(",") + kLoopLimit;
  args.insert(args.end(), {"--", parm});  // a PARM that begins with "-" is still the PARM

  std::istringstream in(u.file1_from_stdin && u.files[1] ? *u.files[1] : std::string());
  ConsoleBuf console(u.failure == Failure::kConsole && u.k < kConsoleMax ? u.k : kConsoleMax);
  std::ostream out(&console);
  std::ostringstream err;
  int status = 0;
  {
    std::optional<FileSizeLimit> limit;
    if (u.failure == Failure::kFileSize)
      limit.emplace(kFileSizeFloor + u.k);
    status = kovran::run_kovran(args, in, out, err);
  }

  // The fuzzer's own signal, recorded by the run, goes to the fuzzer's handler now.
  const int sig = kovran::pending_signal();
  if (sig == SIGINT || sig == SIGTERM || sig == SIGHUP) {
    std::raise(sig);
    return 0;
  }
  if (status != 0 && status != 4 && status != 12)
    violation("exit status " + std::to_string(status));
  if (console.refused() && status != 12)
    violation("the console failed, yet the status is " + std::to_string(status));
  check_standard_error(err.str(), status, dir + "/PROGRAM");
  if (!console.refused() && !console.ends_in_line_feed())
    violation("the console ends inside a line");
  std::optional<std::string> after[8];
  for (int n = 0; n < 8; ++n) {
    after[n] = get_file(dir + "/" + kOutputs[n]);
    const bool written = after[n] && !(n < 6 && after[n] == u.files[n + 1]);
    // NOTE: a LISTING line goes out with the separator before it, so a listing cut back after a
    // failed write ends with a whole line whose closing line feed could not be written.
    const bool listing_cut_back = n == 6 && status == 12;
    if (written && !listing_cut_back && !whole_lines(*after[n]))
      violation(std::string(kOutputs[n]) + " ends inside a line (" +
                std::to_string(after[n]->size()) + " bytes)");
  }
  if (status != 12) {
    const std::optional<std::array<long, 7>> counts = parse_counts(console.count_line());
    if (!counts)
      violation("a normal end without the line of record counts");
    if (!sets_a_count(u.parm))  // else the counts say what PARM set
      check_counts(u, *counts, after);
  }
  return 0;
}
