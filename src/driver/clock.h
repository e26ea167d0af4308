// driver/clock.h - the clock a run reads: the real one, or the one fixed by --clock.
#ifndef KOVRAN_DRIVER_CLOCK_H_
#define KOVRAN_DRIVER_CLOCK_H_

#include <cstdint>
#include <string_view>

namespace kovran {

struct Bindings;
struct RunState;

struct Clock {
  int year = 0, month = 0, day = 0, hour = 0, minute = 0, second = 0;
};

// Reads YYYY-MM-DDTHH:MM:SS into `c`; false when the text is not a real date and time.
bool parse_clock(std::string_view text, Clock& c);
// The clock fixed by --clock, or the local time now.
Clock read_clock(const Bindings& b);
std::int32_t seconds_of_day(const Clock& c);
// START_TIME, TODAY, NOW and the run date in columns 27-32 of D.
void start_clock(RunState& rs, const Clock& c);

}  // namespace kovran

#endif  // KOVRAN_DRIVER_CLOCK_H_
