// strings/find_test.cc
#include <gtest/gtest.h>

#include "driver/testing.h"
#include "strings/strings.h"

namespace kovran {
namespace {

TEST(FindTest, ResultWidths) {
  TestRun t;
  RunState& rs = t.rs;
  struct Case {
    const char* argument;
    const char* result_field;  // in F2, always from column 3
    const char* stored;        // F2 from column 3 up to the first untouched column
  };
  const Case cases[] = {
      {"'XY'", "2:3.3", "2*"},
      {"'XY'", "2:3.4", "12*"},
      {"'XY'", "2:3.5", "012*"},
      {"'XY'", "2:3.8", "0012  *"},
      {"'NO'", "2:3.3", " *"},
      {"'NO'", "2:3.8", "      *"},
      {"'xy'", "2:3.6", "    *"},                     // no case folding
      {"''", "2:3.6", "    *"},                       // an empty argument is never found
      {"'ABCDEFGHIJKLMNOPQRSTU'", "2:3.6", "    *"},  // longer than the field searched
      {"2:21.25", "2:3.6", "0015*"},                  // a field argument keeps its trailing blanks
  };
  put(rs.F1, 1, "...........XY.XY   XY ");  // XY first at 12; XY and three blanks at 15
  for (const Case& c : cases) {
    const std::string statement = std::string("F ") + c.argument + " 1:1.20 X " + c.result_field;
    SCOPED_TRACE(statement);
    rs.F2.fill('*');
    put(rs.F2, 21, "XY   ");
    t.compile({statement});
    FIND_RTN(rs);
    const std::string stored = c.stored;
    EXPECT_EQ(columns(rs.F2, 2, 2 + stored.size()), "*" + stored);
  }
  EXPECT_EQ(rs.diagnostics, 0);
}

}  // namespace
}  // namespace kovran
