// compiler/logic_test.cc
#include <gtest/gtest.h>

#include "compiler/compiler.h"
#include "driver/testing.h"

namespace kovran {
namespace {

// Links by node number: 0 stands for an empty link.
int number(const Node* n) { return n == nullptr ? 0 : n->ILN; }

struct Links {
  int next;
  int false_link;
};

void expect_links(TestRun& t, int iln, Links want) {
  SCOPED_TRACE("node " + std::to_string(iln));
  const Node* n = t.node(iln);
  ASSERT_NE(n, nullptr);
  EXPECT_EQ(number(n->next), want.next);
  EXPECT_EQ(number(n->false_link), want.false_link);
}

TEST(Logic, IfElseBlock) {
  TestRun t;
  t.compile({"I 1:1 E 'A'", "M 1:1 2:1", "O", "M 1:2 2:1", "U", "U STOP HERE"});
  LOGIC(t.rs);
  expect_links(t, 1, {2, 3});  // false: the else node
  expect_links(t, 3, {4, 5});  // after a true body: past the else body
}

TEST(Logic, OnlyTheLastIfOfARunGetsAFalseLink) {
  TestRun t;
  t.compile({"I 1:1 E 'A' A", "I 1:2 E 'B'", "M 1:1 2:1", "U", "U STOP HERE"});
  LOGIC(t.rs);
  expect_links(t, 1, {2, 0});
  expect_links(t, 2, {3, 4});
}

TEST(Logic, AnIfEndsTheBodyOfTheIfBeforeIt) {
  TestRun t;
  t.compile({"I 1:1 E 'A'", "M 1:1 2:1", "I 1:2 E 'B'", "M 1:2 2:1", "U", "U STOP HERE"});
  LOGIC(t.rs);
  expect_links(t, 1, {2, 3});
  expect_links(t, 3, {4, 5});
}

TEST(Logic, LoopBackToTheNearestIfAbove) {
  TestRun t;
  t.compile({"I 1:1 E 'X'", "K", "I 1:1 E 'A'", "M 1:1 2:1", "D", "U", "U STOP HERE"});
  LOGIC(t.rs);
  expect_links(t, 5, {3, 0});  // the D goes back to node 3, not node 1
  expect_links(t, 3, {4, 6});  // a D does not close the body: the U does
}

TEST(Logic, BodyClosersAndWhatPassesThem) {
  // The body of an IF ends at R, S, O, U or I; that of an else also passes over O.
  TestRun t;
  t.compile({"I 1:1 E 'A'", "M 1:1 2:1", "O", "M 1:2 2:1", "O", "W 2", "R", "U STOP HERE"});
  LOGIC(t.rs);
  expect_links(t, 1, {2, 3});
  expect_links(t, 3, {4, 7});  // the second O does not stop the search
  expect_links(t, 5, {6, 7});
}

TEST(Logic, UnclosedIfAndOrphanElseKeepEmptyFalseLinks) {
  TestRun t;
  t.compile({"O", "M 1:1 2:1", "I 1:1 E 'A'", "M 1:1 2:1"});
  LOGIC(t.rs);
  expect_links(t, 1, {2, 0});  // no IF before it
  expect_links(t, 3, {4, 0});  // nothing closes the body
}

TEST(Logic, CallsReturnsAndTheEndOfTheMainProgram) {
  TestRun t;
  t.compile({"B SUB", "B NONE", "U STOP PROGRAM", "S SUB", "M 1:1 2:1", "R", "S SUB", "K", "R", "K",
             "S LAST", "K"});
  LOGIC(t.rs);
  expect_links(t, 1, {7, 0});                 // two subroutines named SUB: the later one is called
  expect_links(t, 2, {3, 0});                 // no such subroutine: falls through
  expect_links(t, 3, {0, 0});                 // the node before the first S ends the main program
  EXPECT_EQ(number(t.node(4)->previous), 6);  // its return node
  EXPECT_EQ(number(t.node(7)->previous), 9);
  EXPECT_EQ(number(t.node(11)->previous), 10);  // no R after it: unchanged
  EXPECT_FALSE(t.rs.FIRST_TIME);
}

TEST(Logic, WithoutSubroutinesFirstTimeStaysSet) {
  TestRun t;
  t.rs.FIRST_TIME = false;
  t.compile({"M 1:1 2:1", "U STOP HERE"});
  LOGIC(t.rs);
  EXPECT_TRUE(t.rs.FIRST_TIME);
  expect_links(t, 1, {2, 0});
}

TEST(Logic, TraceListsEveryNodeWithFiveWords) {
  TestRun t;
  t.rs.TRACE = true;
  t.compile({"M 1:1.5 2:3 D S:1", "W 2", "K 'a b'", "U STOP HERE"});
  LOGIC(t.rs);
  // Items: the number, " 1:", F(1), ... " 5:", F(5), one blank between items.
  EXPECT_EQ(t.printed(),
            "<LOGIC>\n"
            "1  1: M  2: 1:1.5  3: 2:3  4: D  5: S:1\n"
            "2  1: W  2: 2  3:    4:    5:  \n"
            "3  1: K  2: 'a b'  3:    4:    5:  \n"
            "4  1: U  2: STOP  3: HERE  4:    5:  \n");
}

TEST(Logic, NoListingWithoutTraceOrDebug) {
  TestRun t;
  t.compile({"U STOP HERE"});
  LOGIC(t.rs);
  EXPECT_EQ(t.printed(), "");
}

}  // namespace
}  // namespace kovran
