// tables/search_test.cc
#include <gtest/gtest.h>

#include <tuple>

#include "driver/testing.h"
#include "tables/tables.h"

namespace kovran {
namespace {

// Keys 100, 200, 300 loaded out of order; the argument is F1 columns 1-3, the result F2
// columns 1-5, with a marker in column 6 that no lookup may touch.
struct Lookup : TestRun {
  explicit Lookup(const char* table = "T X 1:1.3 2:1.5") {
    compile({"U STOP PROGRAM", table});
    entries({"'300THREE'", "'100ONE'", "'200TWO'"});
    SORT_RTN(rs);
  }
  // Runs "L X mode" with the argument in F1; returns F2 columns 1-6.
  std::string run(const char* mode, const char* argument) {
    compile({std::string("L X ") + mode});
    rs.F1.assign_padded(argument);
    rs.F2.assign_padded("#####|");
    SEARCH(rs);
    rs.settle_parse();  // FLD and FILE_CODE as a dump would see them
    return std::string(rs.F2.view().substr(0, 6));
  }
};

TEST(TableSearch, ModesAtTheBoundaries) {
  struct Case {
    const char* mode;
    const char* argument;
    const char* stored;
  } cases[] = {
      {"E", "200", "TWO  |"}, {"E", "100", "ONE  |"}, {"E", "300", "THREE|"},
      {"E", "150", "#####|"}, {"E", "20", "#####|"},  {"E", "400", "#####|"},
      {"H", "150", "TWO  |"}, {"L", "150", "ONE  |"}, {"H", "350", "#####|"},
      {"L", "050", "#####|"}, {"H", "100", "ONE  |"}, {"L", "100", "ONE  |"},
      {"H", "300", "THREE|"}, {"L", "300", "THREE|"}, {"H", "050", "ONE  |"},
      {"L", "350", "THREE|"}, {"H", "299", "THREE|"}, {"L", "201", "TWO  |"},
      {"Q", "200", "#####|"}, {"", "200", "#####|"},  {"EX", "200", "#####|"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(std::string(c.mode) + " " + c.argument);
    Lookup t;
    EXPECT_EQ(t.run(c.mode, c.argument), c.stored);
    EXPECT_EQ(t.rs.diagnostics, 0);
  }
}

// Without a match the exact search leaves FLD on the last key it examined (sorted keys 100,
// 200, 300: the middle one first); a match leaves the parse of the result description.
TEST(TableSearch, LastKeyExamined) {
  struct Case {
    const char* argument;
    const char* fld;
    const char* file_code;
  } cases[] = {{"200", "2:1.5", "2"},
               {"150", "100", "1"},
               {"050", "100", "1"},
               {"400", "300", "1"},
               {"250", "300", "1"}};
  Lookup again;  // every argument searched twice more in one run: then it is remembered
  for (const Case& c : cases) {
    SCOPED_TRACE(c.argument);
    Lookup t;
    const std::string stored = t.run("E", c.argument);
    EXPECT_EQ(t.rs.FLD.view(), c.fld);
    EXPECT_EQ(t.rs.FILE_CODE.view(), c.file_code);
    const auto bounds = std::make_tuple(t.rs.LO, t.rs.HI, t.rs.MID, t.rs.MATCH);
    for (int k = 0; k < 2; ++k) {
      EXPECT_EQ(again.run("E", c.argument), stored);
      EXPECT_EQ(again.rs.FLD.view(), c.fld);
      EXPECT_EQ(again.rs.FILE_CODE.view(), c.file_code);
      EXPECT_EQ(std::make_tuple(again.rs.LO, again.rs.HI, again.rs.MID, again.rs.MATCH), bounds);
    }
  }
}

TEST(TableSearch, BadAreasAreReportedByWord) {
  {
    SCOPED_TRACE("argument area Q: field 2, the previous SOURCE is the argument");
    Lookup t("T X Q:1.3 2:1.5");
    t.rs.SOURCE = "200";
    EXPECT_EQ(t.run("E", "100"), "TWO  |");
    EXPECT_NE(t.printed().find("ERROR IN LINE \" 3 \",FIELD  2  \" X \""), std::string::npos)
        << t.printed();
  }
  {
    SCOPED_TRACE("a literal argument keeps SOURCE without a report");
    Lookup t("T X 'ABC' 2:1.5");
    t.rs.SOURCE = "3";  // the key is then 1 character, the result from column 2 on
    EXPECT_EQ(t.run("H", "100"), "00THR|");
    EXPECT_EQ(t.rs.diagnostics, 0);
  }
  for (const char* table : {"T X 1:1.3 Q:1.5", "T X 1:1.3 'RESULT'"}) {
    SCOPED_TRACE(table);
    Lookup t(table);
    EXPECT_EQ(t.run("E", "100"), "#####|");
    EXPECT_NE(t.printed().find("ERROR IN LINE \" 3 \",FIELD  3  \" E \""), std::string::npos)
        << t.printed();
  }
}

TEST(TableSearch, NoTableOrNoEntriesFindsNothing) {
  for (const char* mode : {"E", "H", "L"}) {
    SCOPED_TRACE(mode);
    TestRun t;  // entries but no sort (no table name): there is no index to search
    t.compile({"T X 1:1.3 2:1.5"});
    t.entries({"'100ONE'"});
    t.compile({std::string("L X ") + mode});
    t.rs.F1.assign_padded("100");
    t.rs.F2.assign_padded("KEEP");
    SEARCH(t.rs);
    EXPECT_EQ(t.rs.F2.view().substr(0, 5), "KEEP ");

    TestRun e;  // a declared table without entries
    e.compile({"T X 1:1.3 2:1.5"});
    SORT_RTN(e.rs);
    e.compile({std::string("L X ") + mode});
    e.rs.F2.assign_padded("KEEP");
    SEARCH(e.rs);
    EXPECT_EQ(e.rs.F2.view().substr(0, 5), "KEEP ");
  }
}

TEST(TableSearch, EntryShorterThanItsKeyHasAnEmptyResult) {
  TestRun t;
  t.compile({"T X 1:1.4 2:1.3"});
  t.entries({"'AB'", "'AC00XYZ'"});
  SORT_RTN(t.rs);
  for (const char* mode : {"E", "H", "L"}) {
    SCOPED_TRACE(mode);
    t.compile({std::string("L X ") + mode});
    t.rs.F1.assign_padded("AB");
    t.rs.F2.assign_padded("###");
    SEARCH(t.rs);
    EXPECT_EQ(t.rs.F2.view().substr(0, 4), "    ");
  }
}

// A short key read in one load orders as the key read a character at a time, whatever its
// length, the key length and the bytes after it.
TEST(TableSearch, KeyWordsInOneLoad) {
  const char buffer[16] = {'A', '\xFF', ' ', '0', 'z', '\x01', 'B', 'C', 'x', 'x', 'x'};
  for (std::size_t m = 0; m <= 8; ++m) {
    for (std::size_t n = 0; n <= 8; ++n) {
      SCOPED_TRACE(std::to_string(n) + " characters, keys of " + std::to_string(m));
      EXPECT_EQ(key_word_in_buffer(buffer, n, m), key_word(std::string_view(buffer, n), m));
    }
  }
}

}  // namespace
}  // namespace kovran
