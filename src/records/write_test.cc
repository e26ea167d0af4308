// records/write_test.cc
#include <gtest/gtest.h>

#include <string>

#include "driver/diagnostics.h"
#include "driver/testing.h"
#include "records/records.h"

namespace kovran {
namespace {

TEST(WriteRtn, RecordsLoseTrailingBlanksAndTheAreaIsBlanked) {
  struct Case {
    std::string area;  // F3 before, blank-padded
    std::string record;
  };
  const std::string nuls("\0\0", 2);
  const Case cases[] = {
      {"ABC", "ABC"},
      {"", ""},                         // a blank area: an empty record
      {std::string(4096, '\xFF'), ""},  // an area at end of file: an empty record
      {"\xFF\xFF AB", " AB"},           // leading high values go, a leading blank stays
      {"AB" + nuls, "AB" + nuls},       // NULs followed by blanks: kept, the blanks go
      {"AB \xFF", "AB \xFF"},           // a high value at the end is data
  };
  ScratchDir dir;
  TestRun t(dir);
  t.compile({"W 3"});
  std::string expected;
  for (const Case& c : cases) {
    t.rs.F3.assign_padded(c.area);
    WRITE_RTN(t.rs);
    EXPECT_EQ(t.rs.F0.view(), c.record);
    EXPECT_EQ(t.rs.F3.view(), std::string(4096, ' '));
    expected += c.record + "\n";
  }
  // NULs that end the area are trimmed before the blanks: the blanks before them go too.
  t.rs.F3.assign_padded("AB  ");
  t.rs.F3[4095] = '\0';
  WRITE_RTN(t.rs);
  expected += "AB\n";
  EXPECT_TRUE(close_output_files(t.rs));
  EXPECT_EQ(dir.read("FILE3"), expected);
  EXPECT_EQ(t.rs.CNT3, 7);
  EXPECT_EQ(t.printed(), "");
}

TEST(WriteRtn, BadTargetsWriteNothing) {
  for (const char* statement : {"W 7", "W X", "W", "W 12", "W '1'"}) {
    SCOPED_TRACE(statement);
    ScratchDir dir;
    TestRun t(dir);
    t.rs.F0 = std::string_view("\xFFKEPT  ");
    t.compile({statement});
    WRITE_RTN(t.rs);
    EXPECT_EQ(t.rs.F0.view(), "KEPT");  // F0 keeps its text, trimmed again
    EXPECT_EQ(t.rs.CNT1 + t.rs.CNTL, 0);
    EXPECT_NE(t.printed().find(",FIELD  2 "), std::string::npos);
    EXPECT_TRUE(close_output_files(t.rs));
    for (int id = 1; id < kFileIds - 1; ++id) EXPECT_FALSE(dir.exists(logical_name(id)));
  }
}

TEST(WriteRtn, AnInputFileCannotBeWritten) {
  ScratchDir dir;
  dir.write("FILE1", "A\n");
  TestRun t(dir);
  t.rs.I = '1';
  t.compile({"W 1"});
  READ_RTN(t.rs);
  t.rs.running = true;
  EXPECT_EQ(ended_with([&] { WRITE_RTN(t.rs); }), ExitStatus::kError);
  EXPECT_EQ(t.printed(), "FILE1 IS AN INPUT FILE OF THIS RUN AND CANNOT BE WRITTEN IN LINE 1\n");
  EXPECT_EQ(dir.read("FILE1"), "A\n");
}

TEST(WriteRtn, AFileThatCannotBeCreatedEndsTheRun) {
  ScratchDir dir;
  Bindings b = bindings_in(dir);
  b.path[2] = dir.path("no-such-dir/FILE2");
  TestRun t(std::move(b));
  t.compile({"W 2"});
  EXPECT_THROW(WRITE_RTN(t.rs), RunEnded);
  EXPECT_NE(t.printed().find("CANNOT OPEN FILE2 (" + dir.path("no-such-dir/FILE2") +
                             "): No such file or directory"),
            std::string::npos);
}

TEST(WriteRtn, PrintLineIsCutToTheLineSize) {
  ScratchDir dir;
  TestRun t(dir);
  t.rs.LNSIZE = 5;
  t.rs.L.assign_padded(
      "\xFF\xFF"
      "ABCDEFG");
  t.compile({"W L"});
  WRITE_RTN(t.rs);
  EXPECT_EQ(t.rs.F0.view(), "ABCDE");  // from the first column that is not a high value
  EXPECT_EQ(t.rs.CNTL, 1);
  t.rs.LNSIZE = 300;
  t.rs.L.assign_padded(std::string(166, 'Q'));
  WRITE_RTN(t.rs);
  EXPECT_EQ(t.rs.F0.view(), std::string(166, 'Q'));  // never past the end of L
}

}  // namespace
}  // namespace kovran
