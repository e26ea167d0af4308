// driver/clock.cc - the clock a run reads.
#include "driver/clock.h"

#include <ctime>
#include <string>

#include "driver/run_state.h"

namespace kovran {

bool parse_clock(std::string_view text, Clock& c) {
  // YYYY-MM-DDTHH:MM:SS
  if (text.size() != 19 || text[4] != '-' || text[7] != '-' || text[10] != 'T' || text[13] != ':' ||
      text[16] != ':') {
    return false;
  }
  auto num = [&](std::size_t at, std::size_t n, int& out) {
    out = 0;
    for (std::size_t k = at; k < at + n; ++k) {
      if (text[k] < '0' || text[k] > '9')
        return false;
      out = out * 10 + (text[k] - '0');
    }
    return true;
  };
  if (!(num(0, 4, c.year) && num(5, 2, c.month) && num(8, 2, c.day) && num(11, 2, c.hour) &&
        num(14, 2, c.minute) && num(17, 2, c.second))) {
    return false;
  }
  static constexpr int kDays[12] = {31, 29, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
  const bool leap = (c.year % 4 == 0 && c.year % 100 != 0) || c.year % 400 == 0;
  if (c.month < 1 || c.month > 12 || c.day < 1)
    return false;
  if (c.day > kDays[c.month - 1] || (c.month == 2 && c.day == 29 && !leap))
    return false;
  return c.hour < 24 && c.minute < 60 && c.second < 60;
}

Clock read_clock(const Bindings& b) {
  Clock c;
  if (b.clock && parse_clock(*b.clock, c))
    return c;
  const std::time_t now = std::time(nullptr);
  std::tm tm{};
  localtime_r(&now, &tm);
  c.year = tm.tm_year + 1900;
  c.month = tm.tm_mon + 1;
  c.day = tm.tm_mday;
  c.hour = tm.tm_hour;
  c.minute = tm.tm_min;
  c.second = tm.tm_sec;
  return c;
}

namespace {

std::string two(int n) {
  return std::string(1, static_cast<char>('0' + n / 10 % 10)) + static_cast<char>('0' + n % 10);
}

}  // namespace

std::int32_t seconds_of_day(const Clock& c) { return c.hour * 3600 + c.minute * 60 + c.second; }

void start_clock(RunState& rs, const Clock& c) {
  rs.START_TIME = seconds_of_day(c);
  rs.TODAY.assign_padded(two(c.month) + "/" + two(c.day) + "/" + two(c.year % 100));
  rs.NOW.assign_padded(two(c.hour) + ":" + two(c.minute) + "." + two(c.second));
  const std::string ymd = two(c.year % 100) + two(c.month) + two(c.day);
  for (std::size_t k = 0; k < 6; ++k) rs.D[26 + k] = ymd[k];
}

}  // namespace kovran
