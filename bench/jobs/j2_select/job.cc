// J2 select and total, written by hand: the records of state CA (columns 50-51), then a line
// with their count and the total of their amounts (columns 41-49, digits).
//   job master out
// A selected record is written as its first 100 columns without trailing blanks.
#include <cstdio>

#include "lines.h"

int main(int argc, char** argv) {
  long long count = 0, total = 0;
  return bench::run_job(
      argc, argv,
      [&](const char* text, std::size_t size, bench::LineWriter& out) {
        if (size < 51 || text[49] != 'C' || text[50] != 'A')
          return;
        out.put(text, bench::trimmed(text, size < 100 ? size : 100));
        long long amount = 0;
        for (int k = 40; k < 49; ++k) amount = amount * 10 + (text[k] - '0');
        ++count;
        total += amount;
      },
      [&](bench::LineWriter& out) {
        char line[64];
        const int width = std::snprintf(line, sizeof line, "TOTAL CA %09lld %015lld", count, total);
        out.put(line, static_cast<std::size_t>(width));
      });
}
