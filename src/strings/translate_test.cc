// strings/translate_test.cc
#include <gtest/gtest.h>

#include "driver/testing.h"
#include "strings/strings.h"

namespace kovran {
namespace {

TEST(TranslateTest, TableRules) {
  TestRun t;
  RunState& rs = t.rs;
  struct Case {
    const char* statement;
    const char* result;  // F1 columns 1 to 8, from "abc-abcd"
  };
  const Case cases[] = {
      {"TR 1:2.7 'ABC' 'abc'", "aBC-ABCd"},  // columns 1 and 8 untouched
      {"TR 1:2.7 'X' 'abc'", "a  -X  d"},    // excess characters map to blank
      {"TR 1:2.7 'XYZ' 'b'", "aXc-aXcd"},    // excess replacements unused
      {"TR 1:2.7 'XY' 'bb'", "aXc-aXcd"},    // the first position decides
      {"TR 1:2.7 + -", "abc+abcd"},          // unquoted: one character each
      {"TR 1:2.7 XYZ BCD", "abc-abcd"},      // ... upper-cased: B, not b
      {"TR 'abc' 'X' 'a'", "abc-abcd"},      // a literal field: nothing
      {"TR 1:0.7 'X' 'a'", "abc-abcd"},      // start column 0: nothing
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.statement);
    put(rs.F1, 1, "abc-abcd");
    t.compile({c.statement});
    TRANS_RTN(rs);
    EXPECT_EQ(columns(rs.F1, 1, 8), c.result);
  }
  EXPECT_EQ(rs.diagnostics, 0);
}

TEST(TranslateTest, HighBytesAndTheAreaEnd) {
  TestRun t;
  RunState& rs = t.rs;
  put(rs.S, 1, "\xFF\x01 ");
  t.compile({"TR S:1.3 'ab' '\xFF\x01'"});
  TRANS_RTN(rs);
  EXPECT_EQ(columns(rs.S, 1, 3), "ab ");
  t.compile({"TR 1:4094.5000 'X' ' '"});  // cut at column 4096
  TRANS_RTN(rs);
  EXPECT_EQ(columns(rs.F1, 4093, 4096), " XXX");
}

}  // namespace
}  // namespace kovran
