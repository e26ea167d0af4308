// strings/change_test.cc
#include <gtest/gtest.h>

#include <random>
#include <string>

#include "driver/testing.h"
#include "strings/strings.h"

namespace kovran {
namespace {

TEST(ChangeTest, TheRestOfSShifts) {
  TestRun t;
  RunState& rs = t.rs;
  put(rs.S, 1, "AB AB");
  put(rs.S, 4094, "MYZ");
  t.compile({"CH AB 'XYZ'"});
  CHANGE_RTN(rs);
  EXPECT_EQ(columns(rs.S, 1, 9), "XYZ XYZ  ");
  EXPECT_EQ(columns(rs.S, 4093, 4096), "   M");  // Y and Z pushed out past column 4096

  rs.S.fill(' ');
  put(rs.S, 1, "A-B-C");
  put(rs.S, 4096, "E");
  t.compile({"A '-' ''"});  // A is the same instruction; an empty replacement deletes
  CHANGE_RTN(rs);
  EXPECT_EQ(columns(rs.S, 1, 5), "ABC  ");
  EXPECT_EQ(columns(rs.S, 4093, 4096), " E  ");
}

TEST(ChangeTest, GrowingReplacementEnds) {
  TestRun t;
  RunState& rs = t.rs;
  // Each pass finds the A just written one column further on; the run of A grows to the end
  // of S, or of the range, and the loop ends there.
  put(rs.S, 1, "A");
  t.compile({"CH A 'AA'"});
  CHANGE_RTN(rs);
  EXPECT_EQ(rs.S.view(), std::string(4096, 'A'));
  EXPECT_EQ(rs.U, 4096);

  rs.S.fill(' ');
  put(rs.S, 1, "A");
  t.compile({"CH A 1/10 'AA'"});
  CHANGE_RTN(rs);
  EXPECT_EQ(columns(rs.S, 1, 12), "AAAAAAAAAAA ");
}

TEST(ChangeTest, RangeLimitsWhereOccurrencesBegin) {
  TestRun t;
  RunState& rs = t.rs;
  // XX at 9 is before the range; XX at 15 becomes Y, which pulls XX from 20 to 19, inside the
  // range; XX at 30 has moved to 28, past it, and ends the instruction.
  put(rs.S, 1, "........XX....XX...XX........XX");
  t.compile({"CH XX 10/20 'Y'"});
  CHANGE_RTN(rs);
  EXPECT_EQ(columns(rs.S, 1, 31), "........XX....Y...Y........XX  ");

  rs.S.fill(' ');
  put(rs.S, 1, "AAAAAAAA");
  t.compile({"CH A 5 'B'"});  // a single column
  CHANGE_RTN(rs);
  EXPECT_EQ(columns(rs.S, 1, 8), "AAAABAAA");
}

TEST(ChangeTest, ColumnTextsAreSixDigitsInSixteenBits) {
  TestRun t;
  RunState& rs = t.rs;
  struct Case {
    const char* range;
    int col1;
    int col2;
  };
  const Case cases[] = {
      {"0012/0020", 12, 20},
      {"A1", 11, 11},               // low four bits of A are 1
      {"1234567", -27577, -27577},  // last six: 234567, wrapped
      {"0/70000", 0, 4464},
      {"40000/40010", -25536, -25526},
      {"/", 0, 0},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.range);
    rs.S.fill(' ');
    put(rs.S, 1, "AAA");
    t.compile({std::string("CH A ") + c.range + " 'B'"});
    CHANGE_RTN(rs);
    EXPECT_EQ(rs.COL1, c.col1);
    EXPECT_EQ(rs.COL2, c.col2);
    std::string expect;
    for (int k = 1; k <= 3; ++k) expect += k >= c.col1 && k <= c.col2 ? 'B' : 'A';
    EXPECT_EQ(columns(rs.S, 1, 3), expect);
  }
}

// The change works only on the part of S that can hold text. Against a plain model of the rule
// on all 4096 columns: texts that stop short of the end, reach past it, or were left behind a
// moved tail; longer, shorter and empty replacements; ranges; search texts with blanks.
TEST(ChangeTest, SameAsTheWholeAreaRule) {
  TestRun t;
  RunState& rs = t.rs;
  const auto model = [](std::string s, const std::string& search, const std::string& rep, int col1,
                        int col2) {
    const auto find = [&search](const std::string& text, std::size_t from) -> std::size_t {
      if (from >= text.size())
        return 0;
      const std::size_t k = text.find(search, from);
      return k == std::string::npos ? 0 : k - from + 1;
    };
    std::size_t u = find(s, 0);
    while (u >= 1 && static_cast<int>(u) <= col2) {
      const std::size_t at = u - 1;
      if (static_cast<int>(u) >= col1) {
        s = s.substr(0, at) + rep + s.substr(at + search.size());
        s.resize(4096, ' ');
      }
      const std::size_t v = find(s, at + 1);
      if (v == 0)
        break;
      u += v;
    }
    return s;
  };
  struct Case {
    const char* statement;
    const char* search;
    const char* rep;
    int col1, col2;
  };
  const Case cases[] = {
      {"CH 'ab' 'XYZW'", "ab", "XYZW", 1, 4096},
      {"CH 'ab' 'Q'", "ab", "Q", 1, 4096},
      {"CH 'ab' ''", "ab", "", 1, 4096},
      {"CH 'b a' '--'", "b a", "--", 1, 4096},
      {"CH 'ab' 30/4095 'ABC'", "ab", "ABC", 30, 4095},
      {"CH '  ' '.'", "  ", ".", 1, 4096},
      {"CH 'b ' 'bbbb '", "b ", "bbbb ", 1, 4096},
  };
  std::mt19937 random(5);
  for (const Case& c : cases) {
    for (int round = 0; round < 20; ++round) {
      SCOPED_TRACE(std::string(c.statement) + " round " + std::to_string(round));
      rs.S.fill(' ');
      std::string s(4096, ' ');
      // Some text at the start, sometimes more near the end, sometimes a blanked tail left
      // under the extent.
      const std::size_t length = random() % 120;
      for (std::size_t k = 0; k < length; ++k) s[k] = "ab  "[random() % 4];
      if (round % 3 == 1)
        for (std::size_t k = 4090; k < 4096; ++k) s[k] = "ab"[random() % 2];
      put(rs.S, 1, s);
      if (round % 3 == 2)
        put(rs.S, length + 1, std::string(200, ' '));
      t.compile({c.statement});
      CHANGE_RTN(rs);
      ASSERT_EQ(rs.S.view(), model(s, c.search, c.rep, c.col1, c.col2));
    }
  }
}

}  // namespace
}  // namespace kovran
