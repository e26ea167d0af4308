// strings/edit_test.cc
#include <gtest/gtest.h>

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

}  // namespace
}  // namespace kovran
