// conditions/if_test.cc
#include <gtest/gtest.h>

#include "conditions/conditions.h"
#include "driver/testing.h"

namespace kovran {
namespace {

// Three tests joined A then O are ((X1 and X2) or X3), strictly left to right.
TEST(IfAndOr, ThreeStatementsGoLeftToRight) {
  for (int bits = 0; bits < 8; ++bits) {
    const bool x1 = bits & 1, x2 = bits & 2, x3 = bits & 4;
    SCOPED_TRACE(testing::Message() << "X1=" << x1 << " X2=" << x2 << " X3=" << x3);
    TestRun s({"I 1:1 E 'Y' A", "I 1:2 E 'Y' O", "I 1:3 E 'Y'", "K", "U"});
    s.rs.F1.assign_padded(std::string(x1 ? "Y" : "N") + (x2 ? "Y" : "N") + (x3 ? "Y" : "N"));
    EXPECT_EQ(s.run_if(1), s.node(2));  // within a run the links stay as the logic pass set them
    EXPECT_EQ(s.run_if(2), s.node(3));
    const bool want = (x1 && x2) || x3;
    EXPECT_EQ(s.run_if(3), want ? s.node(4) : s.node(5));
    EXPECT_EQ(s.rs.OLDRESULT, want);
    EXPECT_FALSE(s.rs.RESULT);
    EXPECT_TRUE(s.rs.NEWCOND);
    EXPECT_EQ(s.rs.LASTCOMPCOND, ' ');
  }
}

TEST(IfAndOr, ConnectorCountsByItsFirstCharacter) {
  struct Case {
    const char* connector;
    bool x1, x2, want;
  };
  const Case cases[] = {
      {"AND", true, false, false},
      {"OR", false, true, true},
      {"X", true, false, true},  // another character drops the second outcome
      {"X", false, true, false},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(testing::Message() << c.connector << " " << c.x1 << " " << c.x2);
    TestRun s({std::string("I 1:1 E 'Y' ") + c.connector, "I 1:2 E 'Y'", "K", "U"});
    s.rs.F1.assign_padded(std::string(c.x1 ? "Y" : "N") + (c.x2 ? "Y" : "N"));
    s.run_if(1);
    EXPECT_EQ(s.run_if(2), c.want ? s.node(3) : s.node(4));
  }
}

TEST(IfAndOr, NextLinkIsRewrittenOnEveryEvaluation) {
  TestRun s({"I 1:1 E 'Y'", "K", "U", "I 1:2 E 'Y'", "I 1:3 E 'Y'", "U"});
  s.rs.F1.assign_padded("YNN");
  EXPECT_EQ(s.run_if(1), s.node(2));
  s.rs.F1.assign_padded("NNN");
  EXPECT_EQ(s.run_if(1), s.node(3));
  EXPECT_EQ(s.run_if(4), nullptr);  // an IF right before another IF has no false link
}

// Which test a statement reaches, observed through what only that test does.
TEST(IfRtn, FormsAreRecognisedInOrder) {
  {
    SCOPED_TRACE("word 3 an operator wins over word 2 N: a comparison of the unknown area N");
    TestRun s({"I N E '5'", "U"});
    s.run_if(1);
    EXPECT_NE(s.printed().find("\",FIELD  2  \" N \""), std::string::npos);
  }
  {
    SCOPED_TRACE("word 2 C with an operator: the listing line test, not the character set");
    TestRun s({"I C E '00'", "K", "U"});
    EXPECT_EQ(s.run_if(1), s.node(2));  // line 0 equals 00
  }
  {
    SCOPED_TRACE("word 2 S with connector A: the start test, not a control break on S");
    TestRun s({"I S A", "I S", "K", "U"});
    s.run_if(1);
    EXPECT_EQ(s.run_if(2), s.node(4));  // true and false: the second start test is false
  }
  {
    SCOPED_TRACE("a field and nothing else: a control break");
    TestRun s({"I 1:1.3", "K", "U"});
    s.rs.F1.assign_padded("ABC");
    s.rs.H.assign_padded("ABD");
    EXPECT_EQ(s.run_if(1), s.node(2));
  }
  {
    SCOPED_TRACE("a control break needs the exact word A or O: AND matches no form");
    TestRun s({"I 1:1.3 AND", "K", "U"});
    s.rs.F1.assign_padded("ABC");
    s.node(1)->next = s.node(3);
    s.rs.COND = true;
    EXPECT_EQ(s.run_if(1), s.node(3));  // passed over: link and flags untouched
    EXPECT_TRUE(s.rs.COND);
    EXPECT_TRUE(s.rs.NEWCOND);
    EXPECT_EQ(s.printed(), "");
  }
}

}  // namespace
}  // namespace kovran
