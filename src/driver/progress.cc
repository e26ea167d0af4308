// driver/progress.cc - the progress line.
#include "driver/progress.h"

#include <cstdio>
#include <ostream>

namespace kovran {

void Progress::show(std::int64_t records) {
  const auto now = std::chrono::steady_clock::now();
  if (now - last_ < std::chrono::seconds(1))
    return;
  last_ = now;
  const double seconds = std::chrono::duration<double>(now - start_).count();
  char line[96];
  std::snprintf(line, sizeof line, "\rkovran: %lld records read, %.0f records/s, %.0f s ",
                static_cast<long long>(records),
                seconds > 0 ? static_cast<double>(records) / seconds : 0.0, seconds);
  *out_ << line << std::flush;
  shown_ = true;
}

void Progress::clear() {
  if (out_ == nullptr || !shown_)
    return;
  *out_ << "\r" << std::string(79, ' ') << "\r" << std::flush;
  shown_ = false;
}

}  // namespace kovran
