// driver/progress.h - a progress line on standard error for long runs (--progress): records
// read, records per second and elapsed time, about once a second, cleared at the end. It is
// shown only when standard error is a terminal and never touches SYSPRINT or a data file.
#ifndef KOVRAN_DRIVER_PROGRESS_H_
#define KOVRAN_DRIVER_PROGRESS_H_

#include <chrono>
#include <cstdint>
#include <iosfwd>

namespace kovran {

class Progress {
 public:
  // `out` is null when no progress is wanted.
  explicit Progress(std::ostream* out) : out_(out) {}
  Progress(const Progress&) = delete;
  Progress& operator=(const Progress&) = delete;
  ~Progress() { clear(); }

  bool wanted() const { return out_ != nullptr; }
  // Called after every pass; looks at the clock only every 1024 passes.
  void tick(std::int64_t records) {
    if (out_ != nullptr && (++passes_ & 1023) == 0)
      show(records);
  }
  // Removes the line.
  void clear();

 private:
  void show(std::int64_t records);

  std::ostream* out_;
  std::uint64_t passes_ = 0;
  std::chrono::steady_clock::time_point start_ = std::chrono::steady_clock::now();
  std::chrono::steady_clock::time_point last_ = start_;
  bool shown_ = false;
};

}  // namespace kovran

#endif  // KOVRAN_DRIVER_PROGRESS_H_
