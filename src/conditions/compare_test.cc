// conditions/compare_test.cc
#include <gtest/gtest.h>

#include "conditions/conditions.h"
#include "conditions/if_testing.h"

namespace kovran {
namespace {

// Runs one single-statement IF over F1 and returns its outcome.
bool holds(IfScript& s) {
  s.run(1);
  return s.rs.OLDRESULT;
}

TEST(FieldComparison, PaddedCharacterOrder) {
  struct Case {
    const char* statement;
    const char* record;
    bool want;
  };
  const Case cases[] = {
      {"I 1:1.5 E 'ABC'", "ABC", true},    // ABC and two blanks equals ABC
      {"I 1:1.5 E 'ABC'", "ABCD", false},  // column 4 is not blank
      {"I 1:2.4 E 'BCD'", "ABCDE", true},  // the columns, not their neighbours
      {"I 1:1.1 G 'A'", "a", true},        // lower case is above upper case
      {"I 1:1.1 L 'A'", "a", false},       //
      {"I 1:1.2 U 1:3.4", "XYXY", false},  // two fields of one area
      {"I 1:1.3 L '\xE9'", "ZZZ", true},   // bytes compare unsigned
      {"I 1:1.3 E ''", "", true},          // an empty literal is all blanks
      {"I 1:1.3 E A", "A", true},          // an unquoted literal gives its first character
      {"I 1:1.3 E AB", "AB", false},       //   so AB here means A (ABC would be column 3 of area A)
      {"I 1:1.1 L '10'", "9", false},      // character order: 9 is above 10
      {"I N 1:1.1 L '10'", "9", true},     // numeric order: 9 is below 10
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(testing::Message() << c.statement << " on " << c.record);
    IfScript s({c.statement, "K", "U"});
    s.rs.F1.assign_padded(c.record);
    EXPECT_EQ(holds(s), c.want);
    EXPECT_EQ(s.printed(), "");
  }
}

TEST(FieldComparison, BufferHoldsTheLastAreaNamed) {
  IfScript s({"I 1:1.3 E S:1.3", "U", "I L:1.1 E D:1.1", "U", "I 2:1.1 E 'X'", "U"});
  s.rs.F1.assign_padded("ABC");
  s.rs.S.assign_padded("ABC   tail");
  EXPECT_TRUE(holds(s));
  EXPECT_EQ(s.rs.BUFFER.size(), 4096u);
  EXPECT_EQ(s.rs.BUFFER.view().substr(0, 10), "ABC   tail");
  s.run(3);
  EXPECT_EQ(s.rs.BUFFER.size(), 42u);  // D, the second operand, was copied last
  s.rs.F2.assign_padded("X");
  s.run(5);
  EXPECT_EQ(s.rs.BUFFER.size(), 4096u);  // a literal second operand leaves the copy of F2
  EXPECT_EQ(s.rs.BUFFER[0], 'X');
}

TEST(FieldComparison, UnknownSecondAreaCutsFromBufferAsItStands) {
  IfScript s({"I 1:2.3 E Q:2.3", "K", "U"});
  s.rs.F1.assign_padded("ABB");
  EXPECT_TRUE(holds(s));  // BUFFER still holds the copy of F1 that word 2 made
  EXPECT_EQ(s.rs.TARGET.view(), "BB");
  EXPECT_NE(s.printed().find("\",FIELD  4  \" Q:2.3 \""), std::string::npos);
}

TEST(FieldComparison, SecondOperandCodeCIsAnError) {
  IfScript s({"I 1:1.2 E C:1.2", "K", "U"});
  s.rs.F1.assign_padded("XY");
  EXPECT_TRUE(holds(s));  // cut from BUFFER, which holds F1
  EXPECT_NE(s.printed().find(",FIELD  4 "), std::string::npos);
}

TEST(FieldComparison, LiteralOrCFirstOperandKeepsSource) {
  {
    IfScript s({"I 'AB' E 'ZZ'", "K", "U"});
    s.rs.SOURCE = "ZZ";
    EXPECT_TRUE(holds(s));
    EXPECT_NE(s.printed().find(",FIELD  2 "), std::string::npos);
  }
  {
    IfScript s({"I C:1.2 E 'PR'", "K", "U"});  // C with columns: no fetch, no listing test
    s.rs.SOURCE = "PR";
    s.rs.BUFFER = "XX";
    EXPECT_TRUE(holds(s));
    EXPECT_EQ(s.printed(), "");
  }
}

TEST(FieldComparison, ReferencePastTheAreaIsClippedAndReportedOnce) {
  IfScript s({"I D:40.50 E 'XYZ'", "K", "U"});
  s.rs.D.assign_padded(std::string(39, ' ') + "XYZ");
  EXPECT_TRUE(holds(s));
  EXPECT_TRUE(holds(s));
  const std::string out = s.printed();
  EXPECT_NE(out.find(",FIELD  2 "), std::string::npos);
  EXPECT_EQ(out.find(",FIELD  2 "), out.rfind(",FIELD  2 "));
}

TEST(ListingLineTest, TwoDigitNumber) {
  struct Case {
    const char* statement;
    std::int32_t line;
    bool want;
  };
  const Case cases[] = {
      {"I C E '05'", 5, true},  {"I C E '5'", 50, true},  // a lone digit is the tens
      {"I C E 05", 0, true},                              // unquoted: only the 0 counts
      {"I C L '50'", 49, true}, {"I C L '50'", 50, false},
      {"I C G '50'", 51, true}, {"I C U '12'", 12, false},
      {"I C E '00'", 0, true},  {"I C E 1:1.2", 42, true},  // the number may come from a field
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(testing::Message() << c.statement << " at line " << c.line);
    IfScript s({c.statement, "K", "U"});
    s.rs.F1.assign_padded("42");
    s.rs.listing_line = c.line;
    EXPECT_EQ(holds(s), c.want);
  }
}

TEST(CharacterSetTest, MembershipOfEveryCharacter) {
  struct Case {
    const char* statement;
    const char* record;
    bool want;
  };
  const Case cases[] = {
      {"I C 1:1.4 E '0123456789'", "2026", true},
      {"I C 1:1.4 E '0123456789'", "20 6", false},  // the blank is outside the set
      {"I C 1:1.4 U '0123456789'", "20 6", true},
      {"I C 1:1.4 U '0123456789'", "2026", false},
      {"I C 1:1.3 E AB", "AAA", true},   // an unquoted set is its first character only
      {"I C 1:1.3 E AB", "ABA", false},  //
      {"I C 1:5.4 E 'X'", "", true},     // an empty field is all in the set
      {"I C 1:5.4 U 'X'", "", false},
      {"I C 1:1.2 G 'AB'", "AB", false},  // only E and U can hold
      {"I C 1:1.1 E '\xFF'", "\xFF", true},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(testing::Message() << c.statement << " on " << c.record);
    IfScript s({c.statement, "K", "U"});
    s.rs.F1.assign_padded(c.record);
    EXPECT_EQ(holds(s), c.want);
  }
}

TEST(CharacterSetTest, AreaCReadsBufferAsItStands) {
  IfScript s({"I C C:1.10 E 'AB'", "K", "U", "I C Q:1.2 E 'AB'", "K", "U"});
  s.rs.BUFFER = "ABBA";  // a short record: columns past its end are not read
  EXPECT_TRUE(holds(s));
  EXPECT_EQ(s.rs.SOURCE.view(), "ABBA");
  EXPECT_EQ(s.rs.BUFFER.view(), "ABBA");
  s.run(4);  // unknown area: reported as word 3, the field is cut from BUFFER
  EXPECT_TRUE(s.rs.OLDRESULT);
  EXPECT_EQ(s.rs.SOURCE.view(), "AB");
  EXPECT_NE(s.printed().find("\",FIELD  3  \" Q:1.2 \""), std::string::npos);
}

TEST(CharacterSetTest, ConnectorIsWordSix) {
  IfScript s({"I C 1:1.1 E 'X' O", "I 1:2.2 E 'Y'", "K", "U"});
  s.rs.F1.assign_padded("XN");
  s.run(1);
  EXPECT_EQ(s.rs.LASTCOMPCOND, 'O');
  EXPECT_EQ(s.run(2), &s.node(3));
}

}  // namespace
}  // namespace kovran
