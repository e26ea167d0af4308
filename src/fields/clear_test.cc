// fields/clear_test.cc
#include <gtest/gtest.h>

#include <string>

#include "driver/testing.h"
#include "fields/fields.h"

namespace kovran {
namespace {

TEST(ClearRtn, Fills) {
  struct Case {
    const char* statement;
    const char* f1_after;  // F1 columns 1 to 8, all X before
    const char* source_after;
  };
  const Case cases[] = {
      {"C 1:1.5", "     XXX", " "},        // omitted fill: blanks
      {"C 1:2.6 0", "X00000XX", "0"},      // unquoted: the character itself
      {"C 1:2.6 ABC", "XAAAAAXX", "A"},    // unquoted: its first character only
      {"C 1:1.5 'AB'", "ABABAXXX", "AB"},  // a pattern, cut at the field's end
      {"C 1:1.3 'ABCDEF'", "ABCXXXXX", "ABCDEF"},
      {"C 1:1.3 ''", "   XXXXX", ""},    // the empty literal fills with blanks
      {"C 1:4.3 'Z'", "XXXXXXXX", "Z"},  // a field of no columns
      {"C 1:3 'a b'", "XXaXXXXX", "a b"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.statement);
    TestRun t;
    t.rs.F1.assign_padded("XXXXXXXX");
    t.compile({c.statement});
    CLEAR_RTN(t.rs);
    EXPECT_EQ(t.rs.F1.view().substr(0, 8), c.f1_after);
    EXPECT_EQ(t.rs.SOURCE.view(), c.source_after);
    EXPECT_EQ(t.printed(), "");
  }
}

TEST(ClearRtn, WholeAreasAndClipping) {
  TestRun t;
  t.compile({"C L:1.166 '-'", "C D:40.50 '*'"});
  t.rs.current_node = t.node(1);
  CLEAR_RTN(t.rs);
  EXPECT_EQ(t.rs.L.view(), std::string(166, '-'));
  t.rs.current_node = t.node(2);
  CLEAR_RTN(t.rs);
  EXPECT_EQ(t.rs.D.view().substr(36), "   ***");
  EXPECT_EQ(t.printed(), "ERROR IN LINE \" 2 \",FIELD  2  \" D:40.50 \"\n");
}

TEST(ClearRtn, BadTargetsChangeNothing) {
  for (const char* statement : {"C X:1.5 'A'", "C '1' 'A'", "C 1 'A'"}) {
    SCOPED_TRACE(statement);
    TestRun t;
    t.compile({statement});
    CLEAR_RTN(t.rs);
    EXPECT_EQ(t.rs.F1.view(), std::string(4096, ' '));
    EXPECT_EQ(t.rs.diagnostics, 1);
    EXPECT_NE(t.printed().find(",FIELD  2 "), std::string::npos);
  }
}

}  // namespace
}  // namespace kovran
