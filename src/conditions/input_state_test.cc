// conditions/input_state_test.cc
#include <gtest/gtest.h>

#include "conditions/conditions.h"
#include "driver/testing.h"

namespace kovran {
namespace {

TEST(IfMatch, KeyTests) {
  struct Case {
    std::string akey, bkey;
    bool m, a, b;
  };
  const std::string high(80, '\xFF');
  for (const Case& c : {
           Case{"ABC", "ABC  ", true, false, false},  // a key equals itself and blanks
           Case{"ABC", "ABD", false, true, false},
           Case{high, "ZZZ", false, false, true},  // the A file has ended
           Case{"a", "A", false, false, true},     // unsigned character codes
       }) {
    SCOPED_TRACE(testing::Message() << c.akey << " / " << c.bkey);
    TestRun s({"I M", "U", "I A", "U", "I B", "U"});
    s.rs.AKEY = c.akey;
    s.rs.BKEY = c.bkey;
    s.run_if(1);
    EXPECT_EQ(s.rs.OLDRESULT, c.m);
    s.run_if(3);
    EXPECT_EQ(s.rs.OLDRESULT, c.a);
    s.run_if(5);
    EXPECT_EQ(s.rs.OLDRESULT, c.b);
  }
}

TEST(ControlBreak, FieldAgainstHoldArea) {
  struct Case {
    const char* statement;
    const char* record;
    const char* held;
    bool want;
  };
  for (const Case& c : {
           Case{"I 1:3.4", "AB12", "AB12", false},
           Case{"I 1:3.4", "AB12", "XY12", false},  // only the columns count
           Case{"I 1:3.4", "AB12", "AB13", true},
           Case{"I 1:4090.4100", "", "", false},  // clipped, nothing read past the areas
       }) {
    SCOPED_TRACE(testing::Message() << c.statement << " " << c.record << " / " << c.held);
    TestRun s({c.statement, "K", "U"});
    s.rs.F1.assign_padded(c.record);
    s.rs.H.assign_padded(c.held);
    const std::string held_before(s.rs.H.view());
    s.run_if(1);
    EXPECT_EQ(s.rs.OLDRESULT, c.want);
    EXPECT_EQ(s.rs.H.view(), held_before);  // the test never updates H
  }
}

TEST(ControlBreak, AreaCComparesTheRecordBuffer) {
  TestRun s({"I C:1.6", "K", "U", "I Q:1.2", "K", "U"});
  s.rs.BUFFER = "AB";  // the record just read, shorter than the field
  s.rs.H.assign_padded("AB");
  EXPECT_EQ(s.run_if(1), s.node(3));
  s.rs.H.assign_padded("AC");
  EXPECT_EQ(s.run_if(1), s.node(2));
  EXPECT_EQ(s.rs.BUFFER.view(), "AB");
  EXPECT_EQ(s.run_if(4), s.node(5));  // unknown area: reported, cut from BUFFER as it stands
  EXPECT_NE(s.printed().find("\",FIELD  2  \" Q:1.2 \""), std::string::npos);
}

}  // namespace
}  // namespace kovran
