// fields/move_test.cc
#include <gtest/gtest.h>

#include <string>

#include "driver/testing.h"
#include "fields/fields.h"

namespace kovran {
namespace {

struct MoveCase {
  const char* statement;
  const char* s_before;  // S, blank-padded
  const char* d_before;  // D, blank-padded
  const char* f1_before;
  const char* f1_after;  // F1 columns 1 to 14
  const char* source_after;
};

TEST(MoveRtn, Forms) {
  const MoveCase cases[] = {
      {"M 'AB' 1:1.5", "", "", "XXXXXXX", "AB   XX", "AB"},
      {"M S:1.8 1:2.4", "ABCDEFGH", "", "XXXXXX", "XABCXX", "ABCDEFGH"},
      {"M '' 1:2.3", "", "", "XXXX", "X  X", ""},
      {"M S:1.2 1:1.5", "AB", "", "XXXXXX", "AB   X", "AB"},
      // overlapping fields copy the source as it stood
      {"M 1:1.10 1:3.12", "", "", "0123456789", "010123456789", "0123456789"},
      // target displacement: columns 1+3 to 2+3
      {"M 'XY' 1:1.2 D S:1.2", "03", "", "......", "...XY.", "XY"},
      {"M 'XY' 1:1.2 D S:1.2", "00", "", "......", "XY....", "XY"},
      // source displacement: the source without its first 2 characters
      {"M S:1.6 D D:1 1:1.6", "ABCDEF", "2", "......", "CDEF  ", "ABCDEF"},
      {"M S:1.6 D D:1.2 1:1.3", "ABCDEF", " 5", "......", "F  ...", "ABCDEF"},
      // a displacement of five characters or more counts as 0
      {"M S:1.6 D D:1.5 1:1.3", "ABCDEF", "00002", "......", "ABC...", "ABCDEF"},
      // displacement equal to or past the source's length: an all-blank target
      {"M S:1.6 D D:1 1:1.3", "ABCDEF", "6", "......", "   ...", "ABCDEF"},
      {"M S:1.6 D D:1 1:1.3", "ABCDEF", "9", "......", "   ...", "ABCDEF"},
      // the keyword D is a whole operand; D:1.2 is a reference into area D
      {"M D:1.2 1:1.3", "", "QR", "......", "QR ...", "QR"},
      {"m 'x' 1:1.2 d s:1", "2", "", "......", "..x ..", "x"},
  };
  for (const MoveCase& c : cases) {
    SCOPED_TRACE(std::string(c.statement) + " / S=" + c.s_before + " / D=" + c.d_before);
    TestRun t;
    t.rs.S.assign_padded(c.s_before);
    t.rs.D.assign_padded(c.d_before);
    t.rs.F1.assign_padded(c.f1_before);
    t.compile({c.statement});
    MOVE_RTN(t.rs);
    t.rs.settle_parse();  // FLD and FILE_CODE as a dump would see them
    const std::string after = c.f1_after;
    EXPECT_EQ(t.rs.F1.view().substr(0, after.size()), after);
    EXPECT_EQ(t.rs.SOURCE.view(), c.source_after);
    EXPECT_EQ(t.printed(), "");
  }
}

TEST(MoveRtn, LeavesTheParseOfTheTarget) {
  TestRun t;
  t.rs.S.assign_padded("5");
  t.compile({"M 'A' 2:3.4 D S:1"});
  MOVE_RTN(t.rs);
  t.rs.settle_parse();
  EXPECT_EQ(t.rs.FILE_CODE.view(), "2");
  EXPECT_EQ(t.rs.N1, 3);  // not shifted
  EXPECT_EQ(t.rs.N2, 4);
  EXPECT_EQ(t.rs.F2.view().substr(0, 10), "       A  ");  // columns 8 and 9
}

// The second execution of a node takes its source from the kept parse: every run variable
// must come out as the first execution left it, and the source area's extent must cover the
// field both times.
TEST(MoveRtn, RepeatedMoveLeavesWhatTheFirstLeft) {
  const char* statements[] = {"M 1:3.5 2:1.3",       "M S:2.3 1:1.2", "M 1:4090.4096 2:1.7",
                              "M 1:4095.4099 2:1.2", "M 1:6.5 2:1.2", "M 'AB' 1:1.2",
                              "M 1:1.2 D S:1 2:1.3"};
  for (const char* statement : statements) {
    SCOPED_TRACE(statement);
    TestRun t;
    t.rs.S.assign_padded("12ZZ");
    t.rs.F1.assign_padded("ABCDEFG");
    t.rs.F1[4091] = 'Q';
    t.compile({statement});
    MOVE_RTN(t.rs);
    t.rs.settle_parse();  // FLD and FILE_CODE as a dump would see them
    const std::string fld(t.rs.FLD.view()), code(t.rs.FILE_CODE.view()), source(t.rs.SOURCE.view());
    const std::int16_t n1 = t.rs.N1, n2 = t.rs.N2;
    const std::string f2(t.rs.F2.view()), printed = t.printed();
    t.rs.FLD = "1:9.9";  // anything the instructions between two passes may leave
    t.rs.FILE_CODE = "9";
    t.rs.N1 = 77;
    t.rs.N2 = 78;
    t.rs.SOURCE = "stale";
    t.rs.F1.tighten();
    MOVE_RTN(t.rs);
    t.rs.settle_parse();  // FLD and FILE_CODE as a dump would see them
    EXPECT_EQ(t.rs.FLD.view(), fld);
    EXPECT_EQ(t.rs.FILE_CODE.view(), code);
    EXPECT_EQ(t.rs.N1, n1);
    EXPECT_EQ(t.rs.N2, n2);
    EXPECT_EQ(t.rs.SOURCE.view(), source);
    EXPECT_EQ(t.rs.F2.view(), f2);
    EXPECT_GE(t.rs.F1.extent(), 7u);
    EXPECT_EQ(t.printed(), printed);  // a clip is reported once per node
  }
}

struct ErrorCase {
  const char* statement;
  const char* report;    // the word named after FIELD
  const char* f1_after;  // F1 columns 1 to 6; SOURCE was "42" before
  const char* source_after;
};

TEST(MoveRtn, Errors) {
  const ErrorCase cases[] = {
      // unknown source area: the previous SOURCE is moved
      {"M X:1.2 1:1.3", "2  \" X:1.2 \"", "42 ...", "42"},
      // unknown target area, or a literal target: nothing stored
      {"M 'AB' Q:1.2", "3  \" Q:1.2 \"", "......", "AB"},
      {"M 'AB' 'T'", "3  \" 'T' \"", "......", "AB"},
      {"M 'AB' 1 D S:1", "3  \" 1 \"", "......", "AB"},
      {"M 'AB' D 1 Q:1", "5  \" Q:1 \"", "......", "AB"},
      // unknown displacement area: the previous SOURCE ("42") gives the displacement
      {"M S:1.3 D Q:1 1:1.3", "4  \" Q:1 \"", "   ...", "ABC"},
      {"M 'ZZ' 1:1.2 D Q:1", "5  \" Q:1 \"", "......", "ZZ"},  // lands in columns 43, 44
  };
  for (const ErrorCase& c : cases) {
    SCOPED_TRACE(c.statement);
    TestRun t;
    t.rs.S.assign_padded("ABC");
    t.rs.F1.assign_padded("......");
    t.rs.SOURCE = "42";
    t.compile({c.statement});
    MOVE_RTN(t.rs);
    t.rs.settle_parse();  // FLD and FILE_CODE as a dump would see them
    EXPECT_EQ(t.rs.F1.view().substr(0, 6), c.f1_after);
    EXPECT_EQ(t.rs.SOURCE.view(), c.source_after);
    EXPECT_EQ(t.printed(), std::string("ERROR IN LINE \" 1 \",FIELD  ") + c.report + "\n");
  }
}

TEST(MoveRtn, LiteralDisplacementUsesThePreviousSource) {
  TestRun t;
  t.rs.SOURCE = "3";
  t.rs.S.assign_padded("ABCDEF");
  t.compile({"M S:1.6 D '1' 1:1.6"});
  MOVE_RTN(t.rs);
  EXPECT_EQ(t.rs.F1.view().substr(0, 6), "DEF   ");
  // Both word 3 and word 4 are D: the displacement operand is word 4, the keyword itself,
  // and the statement is taken as the target-displacement form, whose target D is a literal.
  TestRun u;
  u.compile({"M 'AB' D D 1:1.2"});
  MOVE_RTN(u.rs);
  EXPECT_EQ(u.printed(), "ERROR IN LINE \" 1 \",FIELD  3  \" D \"\n");
}

TEST(MoveRtn, ATargetShiftedPastItsAreaIsClipped) {
  TestRun t;
  t.rs.S.assign_padded("0002");
  t.compile({"M 'ABCDEF' D:40.42 D S:1.4"});
  MOVE_RTN(t.rs);
  EXPECT_EQ(t.rs.D.view().substr(39), "  A");  // columns 42 to 44, clipped to 42
  EXPECT_EQ(t.printed(), "ERROR IN LINE \" 1 \",FIELD  3  \" D:40.42 \"\n");
}

}  // namespace
}  // namespace kovran
