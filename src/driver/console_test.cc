// driver/console_test.cc
#include <gtest/gtest.h>

#include <string>

#include "driver/diagnostics.h"
#include "driver/testing.h"

namespace kovran {
namespace {

TEST(Console, ItemsAreSeparatedByOneBlank) {
  TestRun t;
  t.rs.sysprint.line("F1 ", 12, " F2 ", -3, 'x');
  EXPECT_EQ(t.printed(), "F1  12  F2  -3 x\n");
}

TEST(Console, WrapsWhenAnItemWouldEndPastColumnEighty) {
  TestRun t;
  const std::string a(40, 'a');
  const std::string b(39, 'b');  // 40 + 1 + 39 = 80: still fits
  t.rs.sysprint.item(a);
  t.rs.sysprint.item(b);
  t.rs.sysprint.item("c");  // 80 + 1 + 1 = 82: a new line, and no blank before it
  EXPECT_EQ(t.printed(), a + " " + b + "\nc\n");
}

TEST(Console, ALongItemIsWrittenWhole) {
  TestRun t;
  const std::string long_item(100, 'x');
  t.rs.sysprint.item("<");
  t.rs.sysprint.item(long_item);  // a new line first, then the whole item
  t.rs.sysprint.item(">");
  EXPECT_EQ(t.printed(), "<\n" + long_item + "\n>\n");
}

TEST(Console, AnEmptyItemStillTakesItsPlace) {
  TestRun t;
  t.rs.sysprint.line("", "A");
  t.rs.sysprint.line("");  // a line of one empty item is an empty line
  EXPECT_EQ(t.printed(), " A\n\n");
}

TEST(Console, ALineStartsAfterPendingItems) {
  TestRun t;
  t.rs.sysprint.item("<");
  t.rs.sysprint.item(1);
  t.rs.sysprint.item(">");
  t.rs.sysprint.line("Bad Instruction: ", "Q");
  t.rs.sysprint.item("<");
  EXPECT_EQ(t.printed(), "< 1 >\nBad Instruction:  Q\n<\n");
}

TEST(Console, DumpBannerWrapsItsSecondDotString) {
  // 38 + 1 + 4 = 43 characters; the second dot string would end at column 82.
  TestRun t;
  attention(t.rs);
  const std::string out = t.printed();
  EXPECT_EQ(out.substr(0, out.find("DEBUG=")),
            " . . . . . . . . . . . . . . . . . . . ATTN\n"
            ". . . . . . . . . . . . . . . . . . . \n");
}

TEST(Console, StatementErrorLayout) {
  TestRun t;
  t.compile({"K", "M 9:1 2:1"});
  ERROR_RTN(t.rs, 2);
  EXPECT_EQ(t.printed(), "ERROR IN LINE \" 2 \",FIELD  2  \" 9:1 \"\n");
  EXPECT_EQ(t.rs.diagnostics, 1);
}

TEST(Console, ErrorConditionNamesTheRunningNode) {
  TestRun t;
  t.compile({"K", "K"});
  t.rs.running = true;
  EXPECT_THROW(raise_error(t.rs, "LOOP LIMIT"), RunEnded);
  t.rs.running = false;
  EXPECT_THROW(raise_error(t.rs, "CANNOT OPEN FILE1"), RunEnded);
  EXPECT_EQ(t.printed(), "LOOP LIMIT IN LINE 2\nCANNOT OPEN FILE1\n");
}

}  // namespace
}  // namespace kovran
