// compiler/parse_test.cc
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "compiler/compiler.h"
#include "driver/diagnostics.h"
#include "driver/testing.h"

namespace kovran {
namespace {

std::vector<std::string> words_of(const Node& n) {
  std::vector<std::string> w;
  for (int k = 1; k <= kWords; ++k) w.emplace_back(n.word(k));
  return w;
}

TEST(Parse, SplitsUpperCasesAndKeepsLiterals) {
  struct Case {
    const char* statement;
    std::vector<std::string> words;  // F(1).. as far as given; the rest must be one blank
  };
  const Case cases[] = {
      {"m ab cd 12", {"M", "AB", "CD", "12"}},
      {"K 'abc' 'x y'", {"K", "'abc'", "'x y'"}},
      {"K 'A B", {"K", "'", "A", "B"}},                 // no closing quote: the quote alone
      {"W 1 * copy record", {"W", "1"}},                // trailing comment
      {"K 'a*b' * note", {"K", "'a*b'"}},               // "*" inside a literal is data
      {"  M   1:1.5    2:1  ", {"M", "1:1.5", "2:1"}},  // runs of blanks
      {"K 'AB''CD'", {"K", "'AB'", "'CD'"}},            // two adjacent quotes: two literals
      {"K 'ab'cd", {"K", "'ab'", "CD"}},                // a literal ends at its quote
      {"C S:1.5 ''", {"C", "S:1.5", "''"}},
      {"k \xE9t\xE9", {"K", "\xE9T\xE9"}},  // only a to z are upper-cased
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.statement);
    TestRun t;
    t.compile({c.statement});
    std::vector<std::string> want = c.words;
    want.resize(kWords, " ");
    EXPECT_EQ(words_of(*t.rs.newest_node), want);
  }
}

TEST(Parse, DecodesTheInstructionCode) {
  struct Case {
    const char* statement;
    Op op;
  };
  const Case cases[] = {
      {"K", Op::K},     {"CH x", Op::CH},     {"A x", Op::CH},      {"TR x", Op::TR},
      {"Z x", Op::TR},  {"+ 1 2", Op::ARITH}, {"/ 1 2", Op::ARITH}, {"x 1 2", Op::ARITH},
      {"M", Op::M},     {"G", Op::G},         {"T x", Op::T},       {"MM", Op::BAD},
      {"'M'", Op::BAD}, {"CHX", Op::BAD},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.statement);
    TestRun t;
    t.compile({c.statement});
    EXPECT_EQ(t.rs.newest_node->op, c.op);
  }
}

TEST(Parse, CommentReusesTheNodeAndItsNumber) {
  TestRun t;
  t.compile({"* first line is a comment", "M 1:1 2:1", "*", "W 2"});
  ASSERT_EQ(t.rs.nodes.size(), 2u);
  EXPECT_EQ(t.node(1)->word(1), "M");
  EXPECT_EQ(t.node(2)->word(1), "W");
  EXPECT_EQ(t.node(2)->word(2), "2");
  EXPECT_EQ(t.node(1)->following, t.node(2));
  EXPECT_EQ(t.node(1)->next, t.node(2));
  EXPECT_EQ(t.node(2)->previous, t.node(1));
  EXPECT_TRUE(t.rs.MORE);
}

TEST(Parse, AStatementAfterACommentFillsTheCommentsNode) {
  TestRun t;
  t.compile({"M 1:1 2:1 D 3:1", "* x y z", "G"});
  ASSERT_EQ(t.rs.nodes.size(), 2u);
  EXPECT_EQ(words_of(*t.node(2)),
            std::vector<std::string>({"G", " ", " ", " ", " ", " ", " ", " ", " "}));
}

TEST(Parse, OnlyTheFirstEightyCharactersAreSplit) {
  TestRun t;
  const std::string statement = "K " + std::string(76, 'A') + " BBBB";  // B starts at 80
  t.compile({statement});
  EXPECT_EQ(t.rs.newest_node->word(2), std::string(76, 'A'));
  EXPECT_EQ(t.rs.newest_node->word(3), "B");
}

TEST(Parse, MoreThanNineWordsWarnsOnceNamingTheFirstIgnored) {
  TestRun t;
  t.compile({"K", "K 2 3 4 5 6 7 8 9 TEN ELEVEN"});
  EXPECT_EQ(t.rs.newest_node->word(9), "9");
  EXPECT_EQ(t.rs.diagnostics, 1);
  EXPECT_EQ(t.printed(), "WARNING: LINE 2 HAS MORE THAN 9 WORDS; IGNORED FROM \"TEN\"\n");
}

TEST(Parse, EndOfJobEntryIsTheLastIfF) {
  TestRun t;
  t.compile({"I F", "M 1:1 2:1", "I F * end of input", "W 2", "I FF"});
  EXPECT_EQ(t.rs.eoj_entry, t.node(3));
}

TEST(Parse, TableStatementFillsTheDefinition) {
  TestRun t;
  t.compile({"T X 1:1.4 2:1.10"});
  EXPECT_EQ(t.rs.TABLE_DEF.NAME, 'X');
  EXPECT_EQ(t.rs.TABLE_DEF.ARG.view(), "1:1.4");
  EXPECT_EQ(t.rs.TABLE_DEF.RSLT.view(), "2:1.10");
  TestRun u;
  u.compile({"T"});
  EXPECT_EQ(u.rs.TABLE_DEF.NAME, ' ');  // no name: no table
}

TEST(Parse, WordIndexStaysOnTheLastUnquotedWord) {
  struct Case {
    const char* statement;
    int n;
  };
  const Case cases[] = {{"U STOP HERE", 3}, {"K 'a'", 3}, {"G", 1}, {"W 2 * note", 3}};
  for (const Case& c : cases) {
    SCOPED_TRACE(c.statement);
    TestRun t;
    t.compile({c.statement});
    EXPECT_EQ(t.rs.N, c.n);
  }
}

TEST(AllocRtn, StopsAfterTheLastNodeNumber) {
  TestRun t;
  t.compile({"K"});
  t.rs.EXTENT = INT16_MAX;  // as if 32767 nodes had been made
  EXPECT_EQ(ended_with([&] { ALLOC_RTN(t.rs); }), ExitStatus::kError);
  EXPECT_EQ(t.rs.nodes.size(), 1u);
  EXPECT_EQ(t.printed(),
            "SCRIPT TOO LONG: AT MOST 32767 NODES, THE STOP NODE INCLUDED: RUN STOPPED\n");
}

}  // namespace
}  // namespace kovran
