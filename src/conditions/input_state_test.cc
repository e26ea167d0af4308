// conditions/input_state_test.cc
#include <gtest/gtest.h>

#include "conditions/conditions.h"
#include "conditions/if_testing.h"

namespace kovran {
namespace {

TEST(IfMatch, KeyTests) {
  struct Case {
    const char* akey;
    const char* bkey;
    bool m, a, b;
  };
  const std::string high(80, '\xFF');
  const Case cases[] = {
      {"ABC", "ABC  ", true, false, false},  // a key equals itself followed by blanks
      {"ABC", "ABD", false, true, false},
      {"B", "A", false, false, true},
      {high.c_str(), "ZZZ", false, false, true},  // the A file has ended
      {"ZZZ", high.c_str(), false, true, false},  // the B file has ended
      {"a", "A", false, false, true},             // unsigned character codes
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(testing::Message() << c.akey << " / " << c.bkey);
    IfScript s({"I M", "U", "I A", "U", "I B", "U"});
    s.rs.AKEY = c.akey;
    s.rs.BKEY = c.bkey;
    s.run(1);
    EXPECT_EQ(s.rs.OLDRESULT, c.m);
    s.run(3);
    EXPECT_EQ(s.rs.OLDRESULT, c.a);
    s.run(5);
    EXPECT_EQ(s.rs.OLDRESULT, c.b);
  }
}

TEST(IfMatch, StartTestIsTrueOnceForTheWholeScript) {
  IfScript s({"I S", "K", "U", "I S", "K", "U"});
  EXPECT_EQ(s.run(1), &s.node(2));
  EXPECT_EQ(s.run(1), &s.node(3));
  EXPECT_EQ(s.run(4), &s.node(6));
}

TEST(IfMatch, EndOfInput) {
  IfScript s({"I F", "K", "U"});
  EXPECT_EQ(s.rs.eoj_entry, &s.node(1));
  EXPECT_EQ(s.run(1), &s.node(3));
  s.rs.EOF_ = true;
  EXPECT_EQ(s.run(1), &s.node(2));
}

TEST(ControlBreak, FieldAgainstHoldArea) {
  struct Case {
    const char* statement;
    const char* record;
    const char* held;
    bool want;
  };
  const Case cases[] = {
      {"I 1:3.4", "AB12", "AB12", false},  // same record: no break
      {"I 1:3.4", "AB12", "XY12", false},  // only the columns count
      {"I 1:3.4", "AB12", "AB13", true},
      {"I S:1.2", "", "", false},        // any area, against the same columns of H
      {"I 1:4090.4100", "", "", false},  // clipped to the areas, nothing read past them
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(testing::Message() << c.statement << " " << c.record << " / " << c.held);
    IfScript s({c.statement, "K", "U"});
    s.rs.F1.assign_padded(c.record);
    s.rs.H.assign_padded(c.held);
    const std::string held_before(s.rs.H.view());
    s.run(1);
    EXPECT_EQ(s.rs.OLDRESULT, c.want);
    EXPECT_EQ(s.rs.H.view(), held_before);  // the test never updates H
  }
}

TEST(ControlBreak, AreaCComparesTheRecordBuffer) {
  IfScript s({"I C:1.6", "K", "U"});
  s.rs.BUFFER = "AB";  // the record just read, shorter than the field
  s.rs.H.assign_padded("AB");
  EXPECT_EQ(s.run(1), &s.node(3));  // no break
  EXPECT_FALSE(s.rs.OLDRESULT);
  s.rs.H.assign_padded("AC");
  s.run(1);
  EXPECT_TRUE(s.rs.OLDRESULT);
  EXPECT_EQ(s.rs.BUFFER.view(), "AB");  // BUFFER itself is not refilled
}

TEST(ControlBreak, ConnectorsAndErrors) {
  {
    SCOPED_TRACE("a control break joined by O");
    IfScript s({"I 1:1 O", "I 1:2 E 'Y'", "K", "U"});
    s.rs.F1.assign_padded("AN");
    s.rs.H.assign_padded("B");
    s.run(1);
    EXPECT_EQ(s.run(2), &s.node(3));
  }
  {
    SCOPED_TRACE("unknown area: field 2, cut from BUFFER as it stands");
    IfScript s({"I Q:1.2", "K", "U"});
    s.rs.BUFFER = "XY";
    s.rs.H.assign_padded("XZ");
    s.run(1);
    EXPECT_TRUE(s.rs.OLDRESULT);
    EXPECT_NE(s.printed().find("\",FIELD  2  \" Q:1.2 \""), std::string::npos);
  }
}

}  // namespace
}  // namespace kovran
