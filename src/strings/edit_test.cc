// strings/edit_test.cc
#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <string>

#include "driver/testing.h"
#include "strings/strings.h"

namespace kovran {
namespace {

TEST(EditTest, MaskWalk) {
  TestRun t;
  RunState& rs = t.rs;
  struct Case {
    const char* source;  // at F1 column 1
    const char* statement;
    const char* target;  // F2 from column 1; the column after it must stay untouched
  };
  const Case cases[] = {
      {"001234", "E 1:1.6 2:1.7 '   0.00'", "  12.34"},
      {"000000", "E 1:1.6 2:1.7 '      '", "       "},  // every zero suppressed
      {"000000", "E 1:1.6 2:1.7 '    00'", "     00"},  // plain digit positions stay
      {"123456", "E 1:1.6 2:1.7 '0.00'", "   4.56"},    // high-order digits dropped
      {"5", "E 1:1.1 2:1.7 '0.00'", "      5"},         // no period after the source ends
      {" 0012", "E 1:1.5 2:1.7 '     '", "   0012"},    // a blank on the left stops it
      {"000102", "E 1:1.6 2:1.7 '      '", "    102"},  // the inner 0 has a 1 on its left
      {"1234", "E 1:1.4 2:1.7 '0,000'", "   1234"},     // other characters are ignored
      {"001234", "E 1:1.6 2:1.7 0.00", "      4"},      // unquoted: first character only
      {"001234", "E 1:1.6 2:1.5 '   0.00'", "12.34"},   // 5 columns: the rightmost 5
      {"001234", "E 1:1.6 2:1.25 '   0.00'", "                    12.34"},  // over 20
      // A mask is cut to 20 characters: the period and the last 0 go, so no period appears.
      {"1234567890123456789012", "E 1:1.22 2:1.20 '00000000000000000000.0'",
       "34567890123456789012"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.statement);
    rs.F1.fill(' ');
    rs.F2.fill('*');
    put(rs.F1, 1, c.source);
    t.compile({c.statement});
    EDIT_RTN(rs);
    const std::string target = c.target;
    EXPECT_EQ(columns(rs.F2, 1, target.size() + 1), target + "*");
  }
  EXPECT_EQ(rs.diagnostics, 0);
}

// The edit walks the mask a run of like characters at a time; it leaves TARGET2 as the walk
// of one character at a time does, whatever the mask and the source.
TEST(EditTest, RunsOfTheMaskWalkAsItsCharacters) {
  const auto by_characters = [](std::string_view mask, std::string_view source) {
    std::string out(20, ' ');
    const std::size_t first_nonzero = source.find_first_not_of('0');
    std::size_t u = source.size(), v = mask.size(), m = out.size();
    while (v > 0 && u > 0) {
      const char c = mask[--v];
      if (c == '0') {
        out[--m] = source[--u];
      } else if (c == '.') {
        out[--m] = '.';
      } else if (c == ' ') {
        const char digit = source[--u];
        out[--m] = digit == '0' && first_nonzero >= u ? ' ' : digit;
      }
    }
    return out;
  };
  TestRun t;
  std::uint32_t x = 7;
  const auto pick = [&x](const char* from) {
    x = x * 1103515245 + 12345;
    return from[(x >> 16) % std::strlen(from)];
  };
  for (std::size_t k = 0; k < 3000; ++k) {
    std::string mask(k % 21, ' '), source(k % 23, ' ');
    for (char& c : mask) c = pick("00  ..x,0 ");
    if (k % 10 == 0)  // long runs of one kind too
      mask.replace(0, mask.size() * 9 / 10, mask.size() * 9 / 10, pick("0 "));
    for (char& c : source) c = pick("000129 A");
    SCOPED_TRACE("'" + mask + "' over '" + source + "'");
    t.rs.F1.fill(' ');
    put(t.rs.F1, 1, source);
    t.compile({"E 1:1." + std::to_string(std::max<std::size_t>(source.size(), 1)) + " 2:1.20 '" +
               mask + "'"});
    EDIT_RTN(t.rs);
    const std::string_view fetched = t.rs.SOURCE.view();
    EXPECT_EQ(std::string(t.rs.TARGET2.view()), by_characters(mask, fetched));
  }
}

}  // namespace
}  // namespace kovran
