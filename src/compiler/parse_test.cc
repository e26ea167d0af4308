// compiler/parse_test.cc
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "compiler/compiler.h"
#include "driver/diagnostics.h"
#include "driver/testing.h"

namespace kovran {
namespace {

using testing::compile;
using testing::node_at;
using testing::TestRun;

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
    compile(t.rs, {c.statement});
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
    compile(t.rs, {c.statement});
    EXPECT_EQ(t.rs.newest_node->op, c.op);
  }
}

TEST(Parse, CommentReusesTheNodeAndItsNumber) {
  TestRun t;
  compile(t.rs, {"* first line is a comment", "M 1:1 2:1", "*", "W 2"});
  ASSERT_EQ(t.rs.nodes.size(), 2u);
  EXPECT_EQ(node_at(t.rs, 1)->word(1), "M");
  EXPECT_EQ(node_at(t.rs, 2)->word(1), "W");
  EXPECT_EQ(node_at(t.rs, 2)->word(2), "2");
  EXPECT_EQ(node_at(t.rs, 1)->following, node_at(t.rs, 2));
  EXPECT_EQ(node_at(t.rs, 1)->next, node_at(t.rs, 2));
  EXPECT_EQ(node_at(t.rs, 2)->previous, node_at(t.rs, 1));
  EXPECT_TRUE(t.rs.MORE);
}

TEST(Parse, AStatementAfterACommentFillsTheCommentsNode) {
  TestRun t;
  compile(t.rs, {"M 1:1 2:1 D 3:1", "* x y z", "G"});
  ASSERT_EQ(t.rs.nodes.size(), 2u);
  EXPECT_EQ(words_of(*node_at(t.rs, 2)),
            std::vector<std::string>({"G", " ", " ", " ", " ", " ", " ", " ", " "}));
}

TEST(Parse, OnlyTheFirstEightyCharactersAreSplit) {
  TestRun t;
  const std::string statement = "K " + std::string(76, 'A') + " BBBB";  // B starts at 80
  compile(t.rs, {statement});
  EXPECT_EQ(t.rs.newest_node->word(2), std::string(76, 'A'));
  EXPECT_EQ(t.rs.newest_node->word(3), "B");
}

TEST(Parse, MoreThanNineWordsWarnsOnceNamingTheFirstIgnored) {
  TestRun t;
  compile(t.rs, {"K", "K 2 3 4 5 6 7 8 9 TEN ELEVEN"});
  EXPECT_EQ(t.rs.newest_node->word(9), "9");
  EXPECT_EQ(t.rs.diagnostics, 1);
  EXPECT_EQ(t.printed(), "WARNING: LINE 2 HAS MORE THAN 9 WORDS; IGNORED FROM \"TEN\"\n");
}

TEST(Parse, EndOfJobEntryIsTheLastIfF) {
  TestRun t;
  compile(t.rs, {"I F", "M 1:1 2:1", "I F * end of input", "W 2", "I FF"});
  EXPECT_EQ(t.rs.eoj_entry, node_at(t.rs, 3));
}

TEST(Parse, TableStatementFillsTheDefinition) {
  TestRun t;
  compile(t.rs, {"T X 1:1.4 2:1.10"});
  EXPECT_EQ(t.rs.TABLE_DEF.NAME, 'X');
  EXPECT_EQ(t.rs.TABLE_DEF.ARG.view(), "1:1.4");
  EXPECT_EQ(t.rs.TABLE_DEF.RSLT.view(), "2:1.10");
  TestRun u;
  compile(u.rs, {"T"});
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
    compile(t.rs, {c.statement});
    EXPECT_EQ(t.rs.N, c.n);
  }
}

TEST(AllocRtn, StopsAfterTheLastNodeNumber) {
  TestRun t;
  compile(t.rs, {"K"});
  t.rs.EXTENT = INT16_MAX;  // as if 32767 nodes had been made
  try {
    ALLOC_RTN(t.rs);
    ADD_FAILURE() << "no stop";
  } catch (const RunEnded& e) {
    EXPECT_EQ(e.status, 12);
  }
  EXPECT_EQ(t.rs.nodes.size(), 1u);
  EXPECT_EQ(t.printed(),
            "SCRIPT TOO LONG: AT MOST 32767 NODES, THE STOP NODE INCLUDED: RUN STOPPED\n");
}

}  // namespace
}  // namespace kovran
