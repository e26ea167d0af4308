// conditions/compare_test.cc
#include <gtest/gtest.h>

#include <cstdint>
#include <string>

#include "conditions/conditions.h"
#include "driver/testing.h"

namespace kovran {
namespace {

struct Case {
  const char* statement;
  const char* record;  // F1
  bool want;
};

// Runs each single-statement IF over its record.
void check_cases(std::initializer_list<Case> cases) {
  for (const Case& c : cases) {
    SCOPED_TRACE(testing::Message() << c.statement << " on " << c.record);
    TestRun s({c.statement, "K", "U"});
    s.rs.F1.assign_padded(c.record);
    s.run_if(1);
    s.rs.settle_parse();  // FLD and FILE_CODE as a dump would see them
    EXPECT_EQ(s.rs.OLDRESULT, c.want);
    EXPECT_EQ(s.printed(), "");
  }
}

// A comparison run again takes its operands from the kept parses: BUFFER, SOURCE, TARGET and
// the parse left behind must be what the first run left, whatever stood there in between.
TEST(FieldComparison, RepeatedComparisonLeavesWhatTheFirstLeft) {
  const char* statements[] = {"I 1:2.3 E 'BC'",      "I S:1.2 U 'ZZ' A", "I 1:4095.4099 E 'X'",
                              "I 1:1.2 E 2:1.2",     "I L:1.2 E 'AB'",   "I 1:3.2 L ''",
                              "I 1:1.4096 G 'ABC' O"};
  for (const char* statement : statements) {
    SCOPED_TRACE(statement);
    TestRun s({statement, "K", "U"});
    s.rs.F1.assign_padded("ABCD");
    s.rs.S.assign_padded("YY");
    s.run_if(1);
    s.rs.settle_parse();  // FLD and FILE_CODE as a dump would see them
    const std::string buffer(s.rs.BUFFER.view()), source(s.rs.SOURCE.view()),
        target(s.rs.TARGET.view()), fld(s.rs.FLD.view()), code(s.rs.FILE_CODE.view()),
        printed = s.printed();
    const std::int16_t n1 = s.rs.N1, n2 = s.rs.N2;
    const bool result = s.rs.RESULT, old = s.rs.OLDRESULT;
    s.rs.BUFFER = "a much longer text than the record";
    s.rs.SOURCE = "stale";
    s.rs.TARGET = "stale";
    s.rs.FLD = "9:9.9";
    s.rs.FILE_CODE = "9";
    s.rs.N1 = 5;
    s.rs.NEWCOND = true;
    s.rs.LASTCOMPCOND = ' ';
    s.run_if(1);
    s.rs.settle_parse();  // FLD and FILE_CODE as a dump would see them
    EXPECT_EQ(s.rs.BUFFER.view(), buffer);
    EXPECT_EQ(s.rs.SOURCE.view(), source);
    EXPECT_EQ(s.rs.TARGET.view(), target);
    EXPECT_EQ(s.rs.FLD.view(), fld);
    EXPECT_EQ(s.rs.FILE_CODE.view(), code);
    EXPECT_EQ(s.rs.N1, n1);
    EXPECT_EQ(s.rs.N2, n2);
    EXPECT_EQ(s.rs.RESULT, result);
    EXPECT_EQ(s.rs.OLDRESULT, old);
    EXPECT_EQ(s.printed(), printed);  // a clip is reported once per node
  }
}

TEST(FieldComparison, PaddedCharacterOrder) {
  check_cases({
      {"I 1:1.5 E 'ABC'", "ABC", true},  // ABC and two blanks equals ABC
      {"I 1:1.5 E 'ABC'", "ABCD", false},
      {"I 1:2.4 E 'BCD'", "ABCDE", true},  // the columns, not their neighbours
      {"I 1:1.1 G 'A'", "a", true},        // lower case is above upper case
      {"I 1:1.3 L '\xE9'", "ZZZ", true},   // bytes compare unsigned
      {"I 1:1.3 E AB", "A", true},         // an unquoted literal gives its first character
      {"I 1:1.1 L '10'", "9", false},      // character order: 9 is above 10
      {"I N 1:1.1 L '10'", "9", true},     // numeric order: 9 is below 10
  });
}

TEST(FieldComparison, BufferHoldsTheLastAreaNamed) {
  TestRun s({"I 1:1.3 E S:1.3", "U", "I L:1.1 E D:1.1", "U"});
  s.rs.F1.assign_padded("ABC");
  s.rs.S.assign_padded("ABC   tail");
  EXPECT_EQ(s.run_if(1), s.node(2));
  EXPECT_EQ(s.rs.BUFFER.size(), 4096u);
  EXPECT_EQ(s.rs.BUFFER.view().substr(0, 10), "ABC   tail");
  s.run_if(3);
  EXPECT_EQ(s.rs.BUFFER.size(), 42u);  // D, the second operand, was copied last
}

TEST(FieldComparison, UnknownAreasAreReportedAndCutFromBuffer) {
  {
    SCOPED_TRACE("second operand: cut from the copy of F1 that the first operand made");
    TestRun s({"I 1:2.3 E Q:2.3", "K", "U"});
    s.rs.F1.assign_padded("ABB");
    EXPECT_EQ(s.run_if(1), s.node(2));
    EXPECT_NE(s.printed().find("\",FIELD  4  \" Q:2.3 \""), std::string::npos);
  }
  {
    SCOPED_TRACE("a literal first operand is no area: SOURCE keeps its value");
    TestRun s({"I 'AB' E 'ZZ'", "K", "U"});
    s.rs.SOURCE = "ZZ";
    EXPECT_EQ(s.run_if(1), s.node(2));
    EXPECT_NE(s.printed().find(",FIELD  2 "), std::string::npos);
  }
}

TEST(FieldComparison, ReferencePastTheAreaIsClippedAndReportedOnce) {
  TestRun s({"I D:40.50 E 'XYZ'", "K", "U"});
  s.rs.D.assign_padded(std::string(39, ' ') + "XYZ");
  EXPECT_EQ(s.run_if(1), s.node(2));
  EXPECT_EQ(s.run_if(1), s.node(2));
  const std::string out = s.printed();
  EXPECT_NE(out.find(",FIELD  2 "), std::string::npos);
  EXPECT_EQ(out.find(",FIELD  2 "), out.rfind(",FIELD  2 "));
}

TEST(ListingLineTest, TwoDigitNumber) {
  struct LineCase {
    const char* statement;
    std::int32_t line;
    bool want;
  };
  for (const LineCase& c : {LineCase{"I C E '05'", 5, true}, LineCase{"I C E '5'", 50, true},
                            LineCase{"I C E 05", 0, true},  // unquoted: only the 0 counts
                            LineCase{"I C L '50'", 50, false}, LineCase{"I C G '50'", 51, true},
                            LineCase{"I C E 1:1.2", 42, true}}) {
    SCOPED_TRACE(testing::Message() << c.statement << " at line " << c.line);
    TestRun s({c.statement, "K", "U"});
    s.rs.F1.assign_padded("42");
    s.rs.listing_line = c.line;
    s.run_if(1);
    s.rs.settle_parse();  // FLD and FILE_CODE as a dump would see them
    EXPECT_EQ(s.rs.OLDRESULT, c.want);
  }
}

TEST(CharacterSetTest, MembershipOfEveryCharacter) {
  check_cases({
      {"I C 1:1.4 E '0123456789'", "2026", true},
      {"I C 1:1.4 E '0123456789'", "20 6", false},  // the blank is outside the set
      {"I C 1:1.4 U '0123456789'", "20 6", true},
      {"I C 1:1.3 E AB", "ABA", false},  // an unquoted set is its first character only
      {"I C 1:5.4 E 'X'", "", true},     // an empty field is all in the set
      {"I C 1:1.1 E '\xFF'", "\xFF", true},
  });
}

TEST(CharacterSetTest, AreaCReadsBufferAsItStands) {
  TestRun s({"I C C:1.10 E 'AB'", "K", "U", "I C Q:1.2 E 'AB'", "K", "U"});
  s.rs.BUFFER = "ABBA";  // a short record: columns past its end are not read
  EXPECT_EQ(s.run_if(1), s.node(2));
  EXPECT_EQ(s.rs.BUFFER.view(), "ABBA");
  EXPECT_EQ(s.run_if(4), s.node(5));  // unknown area: reported, the field cut from BUFFER
  EXPECT_EQ(s.rs.SOURCE.view(), "AB");
  EXPECT_NE(s.printed().find("\",FIELD  3  \" Q:1.2 \""), std::string::npos);
}

// The comparison in two words orders every pair of texts of 1 to 16 bytes as compare_padded
// does, whichever byte first differs (high values and blanks among them), and leaves the field
// in SOURCE.
TEST(CompareWords, OrdersAsByteByByte) {
  const std::string bytes = std::string("A ") + '\xFF' + '\0' + "9a";
  for (std::size_t n = 1; n <= 16; ++n) {
    for (std::size_t at = 0; at < n; ++at) {
      for (const char x : bytes) {
        for (const char y : bytes) {
          std::string field(n, 'M'), literal(n, 'M');
          field[at] = x;
          literal[at] = y;
          literal[n - 1 - at] = y;  // a second difference, after or before the first
          Node::ComparePlan c;
          c.width = c.literal_size = n;
          c.literal = literal.data();
          plan_compare_words(c, 'L');
          char source[16] = {};
          int order = 0;
          switch (c.word) {
            case 8: order = compare_words<std::uint64_t>(c, field.data(), source); break;
            case 4: order = compare_words<std::uint32_t>(c, field.data(), source); break;
            case 2: order = compare_words<std::uint16_t>(c, field.data(), source); break;
            default: order = compare_words<std::uint8_t>(c, field.data(), source); break;
          }
          const int want = compare_padded(field, literal);
          ASSERT_EQ(order < 0, want < 0) << n << " " << at;
          ASSERT_EQ(order == 0, want == 0) << n << " " << at;
          ASSERT_EQ(c.holds[order + 1], want < 0);  // L: lower
          ASSERT_EQ(std::string(source, n), field);
        }
      }
    }
  }
}

}  // namespace
}  // namespace kovran
