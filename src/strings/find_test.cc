// strings/find_test.cc
#include "strings/strings.h"
#include "strings/test_support.h"

namespace kovran {
namespace {

using FindTest = StringsTest;

TEST_F(FindTest, ResultWidths) {
  struct Case {
    const char* argument;
    const char* result_field;  // in F2, always starting at column 3
    const char* stored;        // F2 columns 3 up to the first untouched column
  };
  const Case cases[] = {
      {"'XY'", "2:3.3", "2*"},
      {"'XY'", "2:3.4", "12*"},
      {"'XY'", "2:3.5", "012*"},
      {"'XY'", "2:3.6", "0012*"},
      {"'XY'", "2:3.8", "0012  *"},
      {"'NO'", "2:3.3", " *"},
      {"'NO'", "2:3.6", "    *"},
      {"'NO'", "2:3.8", "      *"},
      {"'xy'", "2:3.6", "    *"},                         // no case folding
      {"''", "2:3.6", "    *"},                           // an empty argument is never found
      {"'ABCDEFGHIJKLMNOPQRSTUVWXY'", "2:3.6", "    *"},  // longer than the field
  };
  put(rs.F1, 1, "...........XY.XY....");  // XY first at 12
  for (const Case& c : cases) {
    const std::string statement = std::string("F ") + c.argument + " 1:1.20 X " + c.result_field;
    SCOPED_TRACE(statement);
    rs.F2.fill('*');
    compile(statement);
    FIND_RTN(rs);
    const std::string stored(c.stored);
    EXPECT_EQ(columns(rs.F2, 2, 2 + stored.size()), "*" + stored);
  }
  EXPECT_EQ(reported_fields(), "");
}

TEST_F(FindTest, FieldArgumentKeepsTrailingBlanks) {
  put(rs.F1, 1, "AB");  // columns 1-5: AB and three blanks
  put(rs.S, 1, "AB-AB   Z");
  compile("F 1:1.5 S:1.9 X 2:1.4");
  FIND_RTN(rs);
  EXPECT_EQ(columns(rs.F2, 1, 4), "0004");
  compile("F 'B' S:1.9 X 2:1.4");  // first occurrence
  FIND_RTN(rs);
  EXPECT_EQ(columns(rs.F2, 1, 4), "0002");
}

TEST_F(FindTest, BadOperands) {
  rs.SOURCE = "Z";
  rs.TARGET = "..Z";
  put(rs.S, 1, "Z");
  compile("F Q:1.2 S:1.5 X 2:1.4");  // previous SOURCE Z is searched for
  FIND_RTN(rs);
  EXPECT_EQ(columns(rs.F2, 1, 4), "0001");
  compile("F 'Z' 'ABZ' X 2:1.4");  // previous TARGET (S:1.5 from above) is searched
  FIND_RTN(rs);
  EXPECT_EQ(columns(rs.F2, 1, 4), "0001");
  rs.TARGET = "..Z";
  compile("F 'Z' Q:1.2 X 2:1.4");
  FIND_RTN(rs);
  EXPECT_EQ(columns(rs.F2, 1, 4), "0003");
  rs.F2.fill('*');
  compile("F 'Z' S:1.5 X '2'");
  FIND_RTN(rs);
  compile("F 'Z' S:1.5 X Q:1.4");
  FIND_RTN(rs);
  EXPECT_EQ(columns(rs.F2, 1, 4), "****");
  EXPECT_EQ(reported_fields(), "2 3 3 5 5");
}

}  // namespace
}  // namespace kovran
