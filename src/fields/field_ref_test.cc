// fields/field_ref_test.cc
#include "fields/field_ref.h"

#include <gtest/gtest.h>

#include <string>

#include "driver/testing.h"

namespace kovran {
namespace {

TEST(ParseFld, ReferencesAndLiterals) {
  struct Case {
    const char* operand;
    const char* file_code;
    int n1, n2;
  };
  const Case cases[] = {
      {"'ABC'", "ABC", 0, 0},
      {"'a b'", "a b", 0, 0},
      {"''", "", 0, 0},
      {"'''x''", "x", 0, 0},  // every leading and trailing quote goes
      {"1:25", "1", 25, 25},  // no period: one column
      {"1:10.20", "1", 10, 20},
      {"1:10.9", "1", 10, 9},
      {"S/0012.0015", "S", 12, 15},
      {"1X10.20", "1", 10, 20},  // the separator is never examined
      {" ", " ", 0, 0},          // an omitted operand
      {"D", "D", 0, 0},
      {"2:", "2", 0, 0},
      {"1:.5", "1", 0, 5},
      {"1:12345.123456", "1", 2345, 3456},  // only the last four characters count
      {"1:A", "1", 1, 1},                   // low four bits of 'A'
      {"L: 7", "L", 7, 7},                  // a blank counts as zero
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.operand);
    TestRun t;
    t.rs.FLD = c.operand;
    PARSE_FLD(t.rs);
    EXPECT_EQ(t.rs.FILE_CODE.view(), c.file_code);
    EXPECT_EQ(t.rs.N1, c.n1);
    EXPECT_EQ(t.rs.N2, c.n2);
  }
}

TEST(ResolveField, ColumnsOfEachArea) {
  struct Case {
    const char* operand;
    std::size_t offset;  // from the area's first column
    std::size_t size;
  };
  const Case cases[] = {
      {"1:1.4096", 0, 4096}, {"6:4096", 4095, 1}, {"S:10.20", 9, 11},
      {"L:166", 165, 1},     {"D:27.32", 26, 6},  {"1:10.9", 9, 0},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.operand);
    TestRun t;
    t.compile({std::string("K ") + c.operand});
    const Operand& op = parse_word(t.rs, 2);
    const std::optional<Field> f = field_of(t.rs, op, 2);
    ASSERT_TRUE(f.has_value());
    EXPECT_EQ(static_cast<std::size_t>(f->data - area_view(t.rs, op.area).data), c.offset);
    EXPECT_EQ(f->size, c.size);
    EXPECT_EQ(t.rs.diagnostics, 0);
  }
}

// Each word is decoded once; what parse_word leaves must be what a fresh parse leaves, once
// FLD and FILE_CODE are filled in for whatever observes them.
TEST(ParseWord, DecodedParseEqualsFreshParse) {
  TestRun t;
  t.compile({"M 'AB' 1:10.20 \"CD\" S:7 '' D"});
  const auto fresh = [&t](int n) {
    RunState& rs = t.rs;
    rs.FLD = rs.current_node->word(n);
    PARSE_FLD(rs);
    return std::string(rs.FILE_CODE.view()) + "|" + std::to_string(rs.N1) + "|" +
           std::to_string(rs.N2);
  };
  for (int n = 2; n <= kWords; ++n) {
    SCOPED_TRACE("word " + std::to_string(n));
    t.rs.FILE_CODE = "stale";
    t.rs.N1 = t.rs.N2 = -9;
    t.rs.FLD = "stale";
    parse_word(t.rs, n);
    t.rs.settle_parse();
    const std::string kept = std::string(t.rs.FILE_CODE.view()) + "|" + std::to_string(t.rs.N1) +
                             "|" + std::to_string(t.rs.N2);
    EXPECT_EQ(t.rs.FLD.view(), t.rs.current_node->word(n));
    EXPECT_EQ(kept, fresh(n));
  }
}

TEST(ResolveField, LiteralsAndUnknownAreasGiveNothing) {
  for (const char* operand : {"'1:1.5'", "1:0.5", "X:1.5", "C:1.5", "0:1", "F0:1"}) {
    SCOPED_TRACE(operand);
    TestRun t;
    t.compile({std::string("K ") + operand});
    EXPECT_FALSE(field_of(t.rs, parse_word(t.rs, 2), 2).has_value());
    EXPECT_EQ(t.rs.diagnostics, 0);  // the caller reports
  }
}

TEST(ResolveField, ClipsToTheAreaAndReportsOncePerNode) {
  TestRun t;
  t.compile({"K D:40.45 D:50.60 L:160.9999"});
  std::optional<Field> f = field_of(t.rs, parse_word(t.rs, 2), 2);
  EXPECT_EQ(f->size, 3u);  // columns 40 to 42
  f = field_of(t.rs, parse_word(t.rs, 3), 3);
  EXPECT_EQ(f->size, 0u);  // wholly past the end: empty
  f = field_of(t.rs, parse_word(t.rs, 4), 4);
  EXPECT_EQ(f->size, 7u);
  EXPECT_EQ(t.printed(), "ERROR IN LINE \" 1 \",FIELD  2  \" D:40.45 \"\n");
}

TEST(ResolveField, AnEndBeforeTheStartIsEmptyAndReported) {
  TestRun t;
  t.compile({"K 1:10.5"});
  EXPECT_EQ(field_of(t.rs, parse_word(t.rs, 2), 2)->size, 0u);
  EXPECT_EQ(t.rs.diagnostics, 1);
}

TEST(StoreField, CutsOrBlankFills) {
  TestRun t;
  t.rs.S.assign_padded("XXXXXXXX");
  store_field(Field{t.rs.S.data() + 1, 3}, "ABCDE");
  store_field(Field{t.rs.S.data() + 5, 2}, "Z");
  store_field(Field{t.rs.S.data(), 0}, "Q");
  EXPECT_EQ(t.rs.S.view().substr(0, 9), "XABCXZ X ");
}

}  // namespace
}  // namespace kovran
