// strings/translate_test.cc
#include "strings/strings.h"
#include "strings/test_support.h"

namespace kovran {
namespace {

using TranslateTest = StringsTest;

TEST_F(TranslateTest, TableRules) {
  struct Case {
    const char* statement;  // always on F1 columns 2 to 7
    const char* result;     // F1 columns 1 to 8, from "abc-abcd"
  };
  const Case cases[] = {
      {"TR 1:2.7 'ABC' 'abc'", "aBC-ABCd"},  // columns 1 and 8 untouched
      {"Z 1:2.7 'ABC' 'abc'", "aBC-ABCd"},   // Z is the same instruction
      {"TR 1:2.7 'X' 'abc'", "a  -X  d"},    // excess characters map to blank
      {"TR 1:2.7 'XYZ' 'b'", "aXc-aXcd"},    // excess replacements unused
      {"TR 1:2.7 'XY' 'bb'", "aXc-aXcd"},    // the first position decides
      {"TR 1:2.7 '' '-'", "abc abcd"},       // hyphen to blank
      {"TR 1:2.7 XYZ BCD", "abc-abcd"},      // unquoted: upper-cased, first characters
      {"TR 1:2.7 '+' '-'", "abc+abcd"},
      {"TR 1:2.7 + -", "abc+abcd"},      // one-character translation without quotes
      {"TR 'abc' 'X' 'a'", "abc-abcd"},  // a literal field: silently nothing
      {"TR 1:0.7 'X' 'a'", "abc-abcd"},  // start column 0: likewise
      {"TR 1:2.1 'X' 'a'", "abc-abcd"},  // empty field
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.statement);
    put(rs.F1, 1, "abc-abcd");
    compile(c.statement);
    TRANS_RTN(rs);
    EXPECT_EQ(columns(rs.F1, 1, 8), c.result);
  }
  EXPECT_EQ(reported_fields(), "");
}

TEST_F(TranslateTest, EveryByteValueTranslates) {
  put(rs.S, 1, "\xFF\x01 ");
  compile("TR S:1.3 'ab' '\xFF\x01'");
  TRANS_RTN(rs);
  EXPECT_EQ(columns(rs.S, 1, 3), "ab ");
  EXPECT_EQ(rs.M, 3);
}

TEST_F(TranslateTest, BadAreaAndClipping) {
  compile("TR Q:1.5 'X' ' '");
  TRANS_RTN(rs);
  EXPECT_EQ(reported_fields(), "2");
  // Past the end of the area: the columns up to 4096 change, nothing beyond, one report.
  compile("TR 1:4094.5000 'X' ' '");
  TRANS_RTN(rs);
  EXPECT_EQ(columns(rs.F1, 4093, 4096), " XXX");
  EXPECT_EQ(reported_fields(), "2 2");
}

}  // namespace
}  // namespace kovran
