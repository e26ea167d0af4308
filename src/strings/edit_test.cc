// strings/edit_test.cc
#include "strings/strings.h"
#include "strings/test_support.h"

namespace kovran {
namespace {

using EditTest = StringsTest;

TEST_F(EditTest, MaskWalk) {
  struct Case {
    const char* source;  // placed at F1 column 1
    const char* statement;
    const char* target;  // F2 columns 1..7 afterwards
  };
  const Case cases[] = {
      {"001234", "E 1:1.6 2:1.7 '   0.00'", "  12.34"},
      {"000000", "E 1:1.6 2:1.7 '      '", "       "},   // every zero suppressed
      {"000000", "E 1:1.6 2:1.7 '    00'", "     00"},   // plain digit positions stay
      {"123456", "E 1:1.6 2:1.7 '0.00'", "   4.56"},     // high-order digits dropped
      {"5", "E 1:1.1 2:1.7 '0.00'", "      5"},          // no period after the source ends
      {" 0012", "E 1:1.5 2:1.7 '     '", "   0012"},     // the blank stops suppression
      {"00012", "E 1:1.5 2:1.7 '     '", "     12"},     // ... which zeros alone allow
      {"000102", "E 1:1.6 2:1.7 '      '", "    102"},   // the inner 0 has a 1 to its left
      {"1234", "E 1:1.4 2:1.7 '0,000'", "   1234"},      // other characters are ignored
      {"001234", "E 1:1.6 2:1.7 0.00", "      4"},       // unquoted: first character only
      {"001234", "E 1:1.6 2:1.5 '   0.00'", "12.34  "},  // 5 columns: the rightmost 5
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.statement);
    rs.F1.fill(' ');
    rs.F2.fill('*');
    put(rs.F1, 1, c.source);
    compile(c.statement);
    EDIT_RTN(rs);
    const std::string stored = columns(rs.F2, 1, 7);
    const std::size_t width = static_cast<std::size_t>(rs.N2);
    EXPECT_EQ(stored.substr(0, width), std::string(c.target).substr(0, width));
    EXPECT_EQ(columns(rs.F2, width + 1, width + 1), "*");  // next column untouched
  }
  EXPECT_EQ(reported_fields(), "");
}

TEST_F(EditTest, MaskIsCutToTwentyCharacters) {
  // 22 characters: the period and the last 0 are cut away, so no period appears.
  put(rs.F1, 1, "1234567890123456789012");
  compile("E 1:1.22 2:1.20 '00000000000000000000.0'");
  EDIT_RTN(rs);
  EXPECT_EQ(rs.MASK.size(), 20u);
  EXPECT_EQ(columns(rs.F2, 1, 20), "34567890123456789012");
}

TEST_F(EditTest, WideTargetGetsLeadingBlanks) {
  rs.F2.fill('*');
  put(rs.F1, 1, "001234");
  compile("E 1:1.6 2:1.25 '   0.00'");
  EDIT_RTN(rs);
  EXPECT_EQ(columns(rs.F2, 1, 26), std::string(20, ' ') + "12.34*");
}

TEST_F(EditTest, BadSourceGoesOnWithPreviousSource) {
  rs.SOURCE = "000987";
  rs.F2.fill('*');
  compile("E '123' 2:1.7 '   0.00'");
  EDIT_RTN(rs);
  EXPECT_EQ(columns(rs.F2, 1, 7), "   9.87");
  compile("E Q:1.6 2:1.7 '   0.00'");
  EDIT_RTN(rs);
  EXPECT_EQ(columns(rs.F2, 1, 7), "   9.87");
  EXPECT_EQ(reported_fields(), "2 2");
}

TEST_F(EditTest, BadTargetStoresNothing) {
  put(rs.F1, 1, "123");
  rs.F2.fill('*');
  compile("E Q:1.3 Q:1.7 '000'");  // both fields bad: two reports
  EDIT_RTN(rs);
  compile("E 1:1.3 '2' '000'");
  EDIT_RTN(rs);
  EXPECT_EQ(reported_fields(), "2 3 3");
  EXPECT_EQ(columns(rs.F2, 1, 7), "*******");
}

}  // namespace
}  // namespace kovran
