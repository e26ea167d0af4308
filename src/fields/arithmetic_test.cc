// fields/arithmetic_test.cc
#include <gtest/gtest.h>

#include <string>

#include "driver/testing.h"
#include "fields/fields.h"

namespace kovran {
namespace {

TEST(AddRtn, AccumulatorKeepsItsOwnLength) {
  TestRun t;
  struct Case {
    const char* before;  // columns 1.. of S before the statement
    const char* statement;
    const char* after;  // the same columns afterwards
  };
  const Case cases[] = {
      {"   X", "+ '5' S:1.3", "005X"},                // a blank accumulator counts as 0
      {"999X", "+ '1' S:1.3", "000X"},                // the carry is dropped without a report
      {"010X", "- '2' S:1.3", "008X"},                // subtract
      {" 1 X", "+ '1' S:1.3", "011X"},                // blanks inside count as zeros
      {"042X", "+ '' S:1.3", "042X"},                 // the empty literal is 0
      {"042X", "- '42' S:1.3", "000X"},               // a zero difference
      {"7  X", "+ '123456789012345' S:1.1", "2  X"},  // 15-digit A, 1-digit B
      {"999999999999998X", "+ '1' S:1.15", "999999999999999X"},
      {"123X", "+ S:1.3 S:1.3", "246X"},  // one field as both operands
      {"0050", "+ S:3.4 S:1.2", "5050"},  // A read from the field, B written back
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.statement);
    t.rs.S.assign_padded(c.before);
    EXPECT_EQ(t.execute(c.statement, ADD_RTN), std::nullopt);
    EXPECT_EQ(columns(t.rs.S, 1, std::string(c.after).size()), c.after);
  }
  EXPECT_EQ(t.rs.diagnostics, 0);
}

TEST(AddRtn, MultiplyAndDivideStoreTheirWindow) {
  TestRun t;
  struct Case {
    const char* statement;
    const char* after;  // columns 1.. of S, which start as X's
  };
  const Case cases[] = {
      {"X '150' '3' 0 S:1.6", "000450XX"},
      {"X '150' '3' 2 S:1.6", "000450XX"},
      {"X '150' '3' '2' S:1.6", "000450XX"},
      {"X '123456' '1000' 0 S:1.3", "000XX"},         // high-order digits dropped
      {"X '12' '34' A S:1.4", "0012XX"},              // decimals not 0-6: A unchanged
      {"X '12' '34' ' ' S:1.4", "0012XX"},            // a blank decimals character likewise
      {"X '12' '34' '' S:1.4", "0408XX"},             // empty decimals count as 0
      {"X '12' '34' 0 S:1.15", "000000000000408XX"},  // the widest result field
      {"/ '10' '4' 0 S:1.5", "00002XX"},
      {"/ '10' '4' 1 S:1.5", "00025XX"},
      {"/ '10' '4' '2' S:1.5", "00250XX"},
      {"/ '2' '3' 2 S:1.3", "066XX"},  // truncated, not rounded
      {"/ '1' '7' 6 S:1.7", "0142857XX"},
      {"/ '' '5' 0 S:1.2", "00XX"},
      {"/ '123456789012345' '1000' 0 S:1.9", "456789012XX"},  // 9 integer digits at most
      {"/ '999999999999999' '1' 6 S:1.15", "999999999000000XX"},
      {"/ '7' '2' '' S:1.2", "03XX"},  // empty decimals count as 0
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.statement);
    t.rs.S.fill('X');
    EXPECT_EQ(t.execute(c.statement, ADD_RTN), std::nullopt);
    EXPECT_EQ(columns(t.rs.S, 1, std::string(c.after).size()), c.after);
  }
  EXPECT_EQ(t.rs.diagnostics, 0);
}

TEST(AddRtn, StatementErrorsNameTheWordAndStoreNothing) {
  TestRun t;
  struct Case {
    const char* statement;
    int word;
    int reports;
  };
  const Case cases[] = {
      {"+ '5' Q:1.3", 3, 2},   // reported on fetch and again on store
      {"+ '5' '7'", 3, 1},     // a literal accumulator
      {"- '11' S:1.2", 3, 1},  // negative difference
      {"+ '1234567890123456' S:1.3", 2, 1},
      {"+ '1' S:1.16", 3, 1},
      {"X '1' '2' 0 S:1.16", 5, 1},
      {"X '1' '2' 0 Q:1.3", 5, 1},
      {"/ '1' '2' 2 S:1.12", 5, 1},  // wider than 9 + d
      {"/ '1' '2' 7 S:1.3", 4, 1},
      {"/ '1' '2' '9' S:1.3", 4, 1},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.statement);
    t.console.str("");
    t.rs.S.assign_padded("10XXXXXXXXXXXXXXXXXX");
    EXPECT_EQ(t.execute(c.statement, ADD_RTN), std::nullopt);
    EXPECT_EQ(t.reports_of_word(c.word), c.reports) << t.printed();
    EXPECT_EQ(columns(t.rs.S, 1, 20), "10XXXXXXXXXXXXXXXXXX");
  }
}

TEST(AddRtn, UnknownFirstAreaUsesThePreviousSource) {
  TestRun t;
  t.rs.S.assign_padded("010");
  t.rs.SOURCE = "4";
  t.execute("+ Q:1.3 S:1.3", ADD_RTN);
  EXPECT_EQ(t.reports_of_word(2), 1);
  EXPECT_EQ(columns(t.rs.S, 1, 3), "014");
}

TEST(AddRtn, LeavesSecondOperandAndLastParse) {
  TestRun t;
  t.rs.S.assign_padded("7");
  t.execute("X S:1.1 '6' 0 D:5.8", ADD_RTN);
  EXPECT_EQ(t.rs.SOURCE.view(), "6");
  EXPECT_EQ(std::string(t.rs.D.view().substr(4, 4)), "0042");
  EXPECT_EQ(t.rs.N1, 5);
  EXPECT_EQ(t.rs.N2, 8);
  t.execute("+ '1' S:2.3", ADD_RTN);
  EXPECT_EQ(t.rs.SOURCE.view(), "  ");  // as fetched, blanks kept
  EXPECT_EQ(columns(t.rs.S, 1, 4), "701 ");
  EXPECT_EQ(t.rs.N1, 2);
  EXPECT_EQ(t.rs.N2, 3);
}

TEST(AddRtn, RunEndingFaults) {
  TestRun t;
  struct Case {
    const char* before;
    const char* statement;
    const char* console;  // text the console must hold
  };
  const Case cases[] = {
      {"", "+ 'A1' S:1.3", "ONSOURCE= 0000000000000A1"},
      {"", "+ ' 1' S:1.3", "ONSOURCE= 0000000000000 1"},  // blanks only pass in B
      {"1X3", "+ '1' S:1.3", "ONSOURCE= 0000000000001X3"},
      {"1 X", "+ '1' S:1.3", "ONSOURCE= 00000000000010X"},  // after blanks became zeros
      {"", "/ '1' '2' Q S:1.3", "ONSOURCE= Q\n"},           // the operand itself
      {"999999999999999", "+ '1' S:1.15", "ARITHMETIC OVERFLOW"},
      {"", "X '1000000000' '1000000' 0 S:1.15", "ARITHMETIC OVERFLOW"},
      {"", "X '1000000000' '100000' 1 S:1.15", "ARITHMETIC OVERFLOW"},  // 15 digits, d = 1
      {"", "/ '1' '' 0 S:1.3", "DIVISION BY ZERO"},
      {"", "/ '1' '000' 0 S:1.3", "DIVISION BY ZERO"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.statement);
    t.console.str("");
    t.rs.S.assign_padded(c.before);
    const std::string before = columns(t.rs.S, 1, 15);
    EXPECT_EQ(t.execute(c.statement, ADD_RTN), ExitStatus::kError);
    EXPECT_NE(t.printed().find(c.console), std::string::npos) << t.printed();
    EXPECT_EQ(columns(t.rs.S, 1, 15), before);
  }
  t.console.str("");
  t.execute("X '1000000000' '100000' 0 S:1.15", ADD_RTN);  // the same product fits with d = 0
  EXPECT_EQ(columns(t.rs.S, 1, 15), "100000000000000");
  EXPECT_EQ(t.printed(), "");
}

}  // namespace
}  // namespace kovran
