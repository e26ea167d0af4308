// records/read_test.cc
#include <gtest/gtest.h>

#include <string>

#include "driver/diagnostics.h"
#include "driver/testing.h"
#include "records/records.h"

namespace kovran {
namespace {

std::string blank_padded(const std::string& text) {
  return text + std::string(4096 - text.size(), ' ');
}

TEST(ReadRtn, EmptyFile) {
  ScratchDir dir;
  dir.write("FILE2", "");
  TestRun t(dir);
  t.rs.I = '2';
  READ_RTN(t.rs);
  EXPECT_TRUE(t.rs.EOF_);
  EXPECT_TRUE(t.rs.EOF2);
  EXPECT_EQ(t.rs.CNT2, 0);
  EXPECT_EQ(t.rs.F2.view(), std::string(4096, ' '));  // BUFFER held nothing yet
  EXPECT_FALSE(t.rs.FIRST_READ);
}

TEST(ReadRtn, OneRecordStaysInTheAreaAtEndOfFile) {
  ScratchDir dir;
  dir.write("FILE1", "REC\n");
  TestRun t(dir);
  t.rs.I = '1';
  READ_RTN(t.rs);
  EXPECT_FALSE(t.rs.EOF_);
  EXPECT_FALSE(t.rs.EOF1);
  EXPECT_TRUE(t.rs.EOF2);  // a file never read keeps its flag
  EXPECT_EQ(t.rs.F1.view(), blank_padded("REC"));
  EXPECT_EQ(t.rs.H.view(), blank_padded("REC"));  // the first record is also held
  EXPECT_EQ(t.rs.CNT1, 1);
  EXPECT_EQ(t.rs.TOTAL, 1);
  t.rs.ONCE = false;
  READ_RTN(t.rs);
  EXPECT_TRUE(t.rs.EOF_);
  EXPECT_EQ(t.rs.F1.view(), blank_padded("REC"));  // not high values in this mode
  EXPECT_EQ(t.rs.BUFFER.view(), "REC");
  EXPECT_EQ(t.rs.CNT1, 1);
  READ_RTN(t.rs);  // after the end nothing more happens
  EXPECT_EQ(t.rs.CNT1, 1);
}

TEST(ReadRtn, AreasAreBlankFilledOnEveryRecord) {
  ScratchDir dir;
  const std::string full(4096, 'F');
  dir.write("FILE1", full + "\n\nSHORT\n");
  TestRun t(dir);
  t.rs.I = '1';
  READ_RTN(t.rs);
  EXPECT_TRUE(t.rs.F1.view() == full);
  t.rs.ONCE = false;  // the dispatch loop clears it after the first pass
  READ_RTN(t.rs);
  EXPECT_EQ(t.rs.F1.view(), std::string(4096, ' '));
  READ_RTN(t.rs);
  EXPECT_EQ(t.rs.F1.view(), blank_padded("SHORT"));
  EXPECT_TRUE(t.rs.H.view() == full);  // only the first pass's read fills the hold area
  EXPECT_EQ(t.printed(), "");
}

TEST(ReadRtn, LongRecordsAreCutWithOneWarningEach) {
  ScratchDir dir;
  dir.write("FILE1", "A\n" + std::string(5000, 'L') + "\nB\n" + std::string(4097, 'M') + "\n");
  TestRun t(dir);
  t.rs.I = '1';
  for (int k = 0; k < 5; ++k) READ_RTN(t.rs);
  EXPECT_EQ(t.rs.CNT1, 4);
  EXPECT_EQ(t.printed(),
            "WARNING: FILE1 RECORD 2 CUT TO 4096 CHARACTERS (WAS 5000)\n"
            "WARNING: FILE1 RECORD 4 CUT TO 4096 CHARACTERS (WAS 4097)\n");
  EXPECT_EQ(t.rs.diagnostics, 2);
}

TEST(ReadRtn, DumpCopiesTheFirstRecordsCountedWithWrites) {
  ScratchDir dir;
  dir.write("FILE4", "one  \ntwo\nthree\n");
  TestRun t(dir);
  t.rs.I = '4';
  t.rs.DUMP = 3;
  for (int k = 0; k < 4; ++k) READ_RTN(t.rs);
  EXPECT_TRUE(t.rs.EOF_);
  EXPECT_TRUE(close_output_files(t.rs));
  EXPECT_EQ(dir.read("FILEDUMP"), "4 : one  \n4 : two\n4 : three\n");

  ScratchDir dir2;
  dir2.write("FILE1", "a\nb\n");
  TestRun u(dir2);
  u.rs.I = '1';
  u.rs.DUMP = 2;
  u.rs.CNT2 = 1;  // a record written to FILE2 counts toward the limit too
  READ_RTN(u.rs);
  READ_RTN(u.rs);
  EXPECT_EQ(u.rs.TOTAL, 3);
  EXPECT_TRUE(close_output_files(u.rs));
  EXPECT_EQ(dir2.read("FILEDUMP"), "1 : a\n");
}

TEST(ReadRtn, InvalidInputFileEndsTheRun) {
  for (const char digit : {'0', '7'}) {
    TestRun t;
    t.rs.I = digit;
    EXPECT_EQ(ended_with([&] { READ_RTN(t.rs); }), ExitStatus::kError);
    EXPECT_EQ(t.printed(), std::string("INVALID INPUT FILE  ") + digit + "\n");
  }
}

TEST(ReadRtn, AMissingInputFileIsNamed) {
  ScratchDir dir;
  TestRun t(dir);
  t.rs.I = '5';
  EXPECT_THROW(READ_RTN(t.rs), RunEnded);
  EXPECT_EQ(t.printed(),
            "CANNOT OPEN FILE5 (" + dir.path("FILE5") + "): No such file or directory\n");
}

TEST(ReadRtn, OtherModesReadNothing) {
  TestRun t;
  t.rs.T = '3';
  READ_RTN(t.rs);
  EXPECT_FALSE(t.rs.EOF_);
  EXPECT_TRUE(t.rs.FIRST_READ);
}

}  // namespace
}  // namespace kovran
