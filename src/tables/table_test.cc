// tables/table_test.cc
#include <gtest/gtest.h>

#include "driver/diagnostics.h"
#include "driver/testing.h"
#include "tables/tables.h"

namespace kovran {
namespace {

using Texts = std::vector<std::string>;

TEST(TableLoad, EntriesAreNumberedAndLinkedInScriptOrder) {
  TestRun t;
  t.compile({"T X 1:1.4 2:1.10"});
  t.entries({"'0003C'", "'0001A'", "'0002B'"});
  const RunState& rs = t.rs;
  EXPECT_EQ(rs.TABLE_DEF.TABL_SIZE, 3);
  ASSERT_EQ(rs.table_entries.size(), 3u);
  const TableEntry& middle = rs.table_entries[1];
  EXPECT_EQ(middle.TILN, 2);
  EXPECT_EQ(middle.previous, &rs.table_entries[0]);
  EXPECT_EQ(middle.next, &rs.table_entries[2]);
  EXPECT_EQ(rs.first_entry->previous, nullptr);
  EXPECT_EQ(rs.last_entry, &rs.table_entries[2]);
  EXPECT_EQ(rs.last_entry->next, nullptr);
  EXPECT_EQ(rs.current_entry, rs.last_entry);
}

TEST(TableLoad, EntryIsCutToArgumentPlusResultLength) {
  TestRun t;
  t.compile({"T X 1:1.4 2:1.10"});  // 4 + 10 characters
  t.entries({"'0001ALPHA'", "'0002ALPHABETICALLY'", "''0003''", "'0004 two  words '", "'"});
  EXPECT_EQ(t.entry_texts(), (Texts{"0001ALPHA", "0002ALPHABETIC", "0003", "0004 two  word", ""}));
}

TEST(TableLoad, LengthsComeFromTheTableStatementInForce) {
  TestRun t;
  t.compile({"T X 1:1.2 2:1.2"});
  t.entries({"'AABBCC'"});
  t.compile({"T X 1:10.5 2:1.3"});  // argument length -4 counts as 0
  t.entries({"'ABCDEFG'"});
  t.compile({"T X 1:1.100 2:1.50"});  // 100 counts as 80
  t.entries({"'ABCDEFG'"});
  EXPECT_EQ(t.entry_texts(), (Texts{"AABB", "ABC", "ABCDEFG"}));
}

TEST(TableLoad, CheckRefusesDescriptionsOutsideOneToEighty) {
  struct Case {
    const char* statement;
    const char* message;  // empty: accepted
  } cases[] = {
      {"T X 1:1.80 2:81.160", ""},
      {"T X 1:1 2:1", ""},
      {"T X 'A' 2:1.5", ""},  // a literal has length 1; the lookup reports it
      {"T X 1:1.81 2:1.5", "TABLE STATEMENT IN LINE 1: ARGUMENT FIELD 1:1.81 HAS LENGTH 81"},
      {"T X 1:5.4 2:1.5", "ARGUMENT FIELD 1:5.4 HAS LENGTH 0"},
      {"T X 1:1.5 2:10.1", "RESULT FIELD 2:10.1 HAS LENGTH -8"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.statement);
    TestRun t;
    t.compile({c.statement});
    if (*c.message == '\0') {
      EXPECT_NO_THROW(check_table(t.rs));
      continue;
    }
    EXPECT_EQ(ended_with([&] { check_table(t.rs); }), ExitStatus::kError);
    EXPECT_NE(t.printed().find(c.message), std::string::npos) << t.printed();
  }
}

TEST(TableLoad, CheckNamesAnEarlierTableStatementToo) {
  TestRun t;
  t.compile({"U STOP PROGRAM"});
  t.compile({"T X 1:1.90 2:1.5"});
  t.compile({"T X 1:1.5 2:1.5"});
  EXPECT_THROW(check_table(t.rs), RunEnded);
  EXPECT_NE(t.printed().find("IN LINE 2: ARGUMENT FIELD 1:1.90"), std::string::npos);
}

TEST(TableLoad, MoreThan32767EntriesStopTheRun) {
  TestRun t;
  t.compile({"T X 1:1 2:2"});
  for (int k = 0; k < INT16_MAX; ++k) ALLOC_TABLE(t.rs);
  EXPECT_EQ(t.rs.TABLE_DEF.TABL_SIZE, INT16_MAX);
  EXPECT_EQ(t.rs.last_entry->TILN, INT16_MAX);
  EXPECT_THROW(ALLOC_TABLE(t.rs), RunEnded);
  EXPECT_EQ(t.rs.TABLE_DEF.TABL_SIZE, INT16_MAX);
  EXPECT_NE(t.printed().find("MORE THAN 32767 ENTRIES"), std::string::npos);
}

}  // namespace
}  // namespace kovran
