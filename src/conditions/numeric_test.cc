// conditions/numeric_test.cc
#include <gtest/gtest.h>

#include "conditions/conditions.h"
#include "driver/diagnostics.h"
#include "driver/testing.h"

namespace kovran {
namespace {

TEST(IfNumeric, ValuesAndOrder) {
  struct Case {
    const char* statement;
    const char* record;
    bool want;
  };
  for (const Case& c : {
           Case{"I N 1:1.5 E '42'", "00042", true},
           Case{"I N 1:1.5 E '42'", "   42", true},  // leading blanks are zeros
           Case{"I N 1:1.4 E '4200'", "42", true},   // trailing blanks are zeros too
           Case{"I N 1:1.3 E '0'", "", true},        // all blanks is 0
           Case{"I N 1:1.2 U 1:3.5", "07007", false},
           Case{"I N 1:1.2 E 42", "04", true},  // an unquoted literal gives only its 4
           Case{"I N 1:1.15 L '999999999999999'", "999999999999998", true},
       }) {
    SCOPED_TRACE(testing::Message() << c.statement << " on " << c.record);
    TestRun s({c.statement, "K", "U"});
    s.rs.F1.assign_padded(c.record);
    s.run_if(1);
    EXPECT_EQ(s.rs.OLDRESULT, c.want);
    EXPECT_EQ(s.printed(), "");
  }
}

TEST(IfNumeric, BlanksAreDigitsOnlyInTheFirstOperand) {
  TestRun s({"I N 1:1.3 E '50'", "K", "U", "I N 1:4.5 E 1:1.3", "K", "U"});
  s.rs.F1.assign_padded(" 5 05");     // columns 1..3 hold a blank, 5, a blank
  EXPECT_EQ(s.run_if(1), s.node(2));  // 050
  // A blank in the second operand is no digit.
  EXPECT_EQ(ended_with([&] { s.run_if(4); }), ExitStatus::kError);
  const std::string out = s.printed();
  EXPECT_NE(out.find("IF_NUMERIC"), std::string::npos);
  EXPECT_NE(out.find(" 000000000000 5 "), std::string::npos);  // the 15-character digit string
}

TEST(IfNumeric, ReportedOperandsGiveFalseAndKeepTheConnector) {
  {
    SCOPED_TRACE("bad operator: field 4, false, the run goes on by its connector");
    TestRun s({"I N 1:1.2 X '7' O", "I 1:3.3 E 'Y'", "K", "U"});
    s.rs.F1.assign_padded("07Y");
    s.run_if(1);
    EXPECT_EQ(s.rs.LASTCOMPCOND, 'O');
    EXPECT_EQ(s.run_if(2), s.node(3));
    EXPECT_NE(s.printed().find("\",FIELD  4  \" X \""), std::string::npos);
  }
  {
    SCOPED_TRACE("bad second area: field 5, SOURCE (the first operand) is compared again");
    TestRun s({"I N 1:1.2 E Q:1.2", "K", "U"});
    s.rs.F1.assign_padded("07");
    EXPECT_EQ(s.run_if(1), s.node(2));
    EXPECT_NE(s.printed().find(",FIELD  5 "), std::string::npos);
  }
  {
    SCOPED_TRACE("longer than 15 characters: reported, false, nothing written past 15");
    TestRun s({"I N 1:1.16 U '1'", "K", "U"});
    s.rs.F1.assign_padded("1234567890123456");
    EXPECT_EQ(s.run_if(1), s.node(3));  // U would hold for any value: the test itself is false
    EXPECT_NE(s.printed().find("\",FIELD  3  \" 1:1.16 \""), std::string::npos);
  }
}

}  // namespace
}  // namespace kovran
