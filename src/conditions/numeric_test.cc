// conditions/numeric_test.cc
#include <gtest/gtest.h>

#include "conditions/conditions.h"
#include "conditions/if_testing.h"
#include "driver/diagnostics.h"

namespace kovran {
namespace {

TEST(IfNumeric, ValuesAndOrder) {
  struct Case {
    const char* statement;
    const char* record;
    bool want;
  };
  const Case cases[] = {
      {"I N 1:1.5 E '42'", "00042", true},
      {"I N 1:1.5 E '42'", "   42", true},    // leading blanks are zeros
      {"I N 1:1.4 E '4200'", "42", true},     // trailing blanks are zeros too: 4200
      {"I N 1:1.3 E '0'", "", true},          // all blanks is 0
      {"I N 1:1.2 L '10'", " 9", true},       // 9 < 10 by value
      {"I N 1:1.2 G '10'", " 9", false},      //
      {"I N 1:1.2 U 1:3.5", "07007", false},  // fields of different widths
      {"I N 1:1.2 E 42", "04", true},         // an unquoted literal gives only its 4
      {"I N 1:1.15 E '999999999999999'", "999999999999999", true},  // 15 digits are exact
      {"I N 1:1.15 L '999999999999999'", "999999999999998", true},
      {"I N 1:1.3 E ''", "000", true},  // an empty literal is 0
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(testing::Message() << c.statement << " on " << c.record);
    IfScript s({c.statement, "K", "U"});
    s.rs.F1.assign_padded(c.record);
    s.run(1);
    EXPECT_EQ(s.rs.OLDRESULT, c.want);
    EXPECT_EQ(s.printed(), "");
  }
}

TEST(IfNumeric, BlanksAreDigitsOnlyInTheFirstOperand) {
  IfScript s({"I N 1:1.3 E '5'", "K", "U", "I N 1:4.5 E 1:1.3", "K", "U"});
  s.rs.F1.assign_padded(" 5 05");  // columns 1..3 hold a blank, 5, a blank
  s.run(1);
  EXPECT_FALSE(s.rs.OLDRESULT);  // 050 is 50
  s.rs.current_node = &s.node(4);
  try {
    IF_NUMERIC(s.rs);
    ADD_FAILURE() << "a blank in the second operand must fail";
  } catch (const RunEnded& e) {
    EXPECT_EQ(e.status, 12);
  }
  const std::string out = s.printed();
  EXPECT_NE(out.find("CONVERSION ERROR IN"), std::string::npos);
  EXPECT_NE(out.find("IF_NUMERIC"), std::string::npos);
  EXPECT_NE(out.find("000000000000 5 "), std::string::npos);  // the 15-character digit string
}

TEST(IfNumeric, LetterInFirstOperandEndsTheRun) {
  IfScript s({"I N 1:1.4 E '1'", "K", "U"});
  s.rs.F1.assign_padded("12A4");
  EXPECT_THROW(s.run(1), RunEnded);
  EXPECT_NE(s.printed().find("00000000000"
                             "12A4"),
            std::string::npos);
}

TEST(IfNumeric, ReportedOperandsStillApplyTheConnector) {
  {
    SCOPED_TRACE("bad operator: field 4, false, the run goes on by its connector");
    IfScript s({"I N 1:1.2 X '7' O", "I 1:3.3 E 'Y'", "K", "U"});
    s.rs.F1.assign_padded("07Y");
    s.run(1);
    EXPECT_FALSE(s.rs.RESULT);
    EXPECT_EQ(s.rs.LASTCOMPCOND, 'O');
    EXPECT_EQ(s.run(2), &s.node(3));
    EXPECT_NE(s.printed().find("\",FIELD  4  \" X \""), std::string::npos);
  }
  {
    SCOPED_TRACE("bad second area: field 5, SOURCE (the first operand) is compared again");
    IfScript s({"I N 1:1.2 E Q:1.2", "K", "U"});
    s.rs.F1.assign_padded("07");
    EXPECT_EQ(s.run(1), &s.node(2));
    EXPECT_NE(s.printed().find(",FIELD  5 "), std::string::npos);
  }
  {
    SCOPED_TRACE("literal first operand: field 3");
    IfScript s({"I N '7' E '7'", "K", "U"});
    s.rs.SOURCE = "7";
    EXPECT_EQ(s.run(1), &s.node(2));
    EXPECT_NE(s.printed().find(",FIELD  3 "), std::string::npos);
  }
}

TEST(IfNumeric, OperandLongerThanFifteenIsReportedAndFalse) {
  IfScript s({"I N 1:1.16 U '1'", "K", "U", "I N 1:1.1 U 1:1.20", "K", "U"});
  s.rs.F1.assign_padded("1234567890123456");
  EXPECT_EQ(s.run(1), &s.node(3));  // U would hold for any value: the test itself is false
  EXPECT_EQ(s.rs.M, 1);             // the second operand was still read
  EXPECT_EQ(s.run(4), &s.node(6));
  const std::string out = s.printed();
  EXPECT_NE(out.find("\",FIELD  3  \" 1:1.16 \""), std::string::npos);
  EXPECT_NE(out.find("\",FIELD  5  \" 1:1.20 \""), std::string::npos);
}

}  // namespace
}  // namespace kovran
