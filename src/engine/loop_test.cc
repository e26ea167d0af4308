// engine/loop_test.cc - whole runs through the dispatch loop.
#include <gtest/gtest.h>

#include <string>

#include "driver/testing.h"

namespace kovran {
namespace {

using testing::end_lines;
using testing::run_in;
using testing::RunResult;
using testing::ScratchDir;

// A run of `program` over FILE1 = `file1` with PARM "I=1" plus `more`.
RunResult run(ScratchDir& dir, const std::string& program, const std::string& file1,
              const std::string& more = "") {
  dir.write("PROGRAM", program);
  dir.write("FILE1", file1);
  return run_in(dir, more.empty() ? "I=1" : "I=1," + more);
}

TEST(Loop, EmptyProgramDispatchesOnlyItsStopNode) {
  ScratchDir dir;
  const RunResult r = run(dir, "", "a\nb\nc\n", "TRACE");
  EXPECT_EQ(r.status, 0);
  EXPECT_EQ(r.body(),
            "<LOGIC>\n"
            "1  1: U  2: STOP  3: HERE  4:    5:  \n"
            "<LOOP>\n"
            "< 1 > < 1 > < 1 >\n" +
                end_lines(3));
}

TEST(Loop, TraceShowsDispatchedNodesAndWraps) {
  ScratchDir dir;
  // 3 nodes a pass, 5 records. Each node adds the three items "<", n and ">": thirteen
  // nodes fill 77 columns, the next "<" ends at column 79 and its number would end at 81.
  const RunResult r = run(dir, "K\nK;K\n", "1\n2\n3\n4\n5\n", "TRACE");
  const std::string pass = "< 1 > < 2 > < 3 >";
  const std::string line1 = pass + " " + pass + " " + pass + " " + pass + " < 1 > <";
  const std::string line2 = "2 > < 3 >";
  EXPECT_EQ(r.body().substr(r.body().find("<LOOP>")),
            "<LOOP>\n" + line1 + "\n" + line2 + "\n" + end_lines(5));
}

TEST(Loop, GEndsThePass) {
  ScratchDir dir;
  const RunResult r = run(dir, "G\nW 2\n", "a\nb\n", "TRACE");
  EXPECT_EQ(r.body().substr(r.body().find("<LOOP>")), "<LOOP>\n< 1 > < 1 >\n" + end_lines(2));
  EXPECT_FALSE(dir.exists("FILE2"));
}

TEST(Loop, BadInstructionOncePerPass) {
  ScratchDir dir;
  const RunResult r = run(dir, "Q 1\nO\nE 1:1 2:1 'Z'\n", "a\nb\n");
  // O with no IF before it: OLDRESULT is false, so the walk enters the else body.
  EXPECT_EQ(r.status, 4);
  EXPECT_EQ(r.body(), "Bad Instruction:  Q\nBad Instruction:  Q\n" + end_lines(2));
}

TEST(Loop, LoopLimitStopsInTheThirdRecord) {
  ScratchDir dir;
  const RunResult r = run(dir, "K\nK\nK\nK\n", "1\n2\n3\n4\n5\n", "LC=10");
  EXPECT_EQ(r.status, 12);
  EXPECT_EQ(r.body(), "LOOP LIMIT LC=10 EXCEEDED IN LINE 3\n");  // no end-of-run lines
}

TEST(Loop, LoopLimitAlsoBoundsTheEndOfJobWalk) {
  ScratchDir dir;
  // Main walk: one node a pass (the G ends it) over 2 records. End of job: I, K, D back to
  // I, ... LC=9 allows 7 more nodes: I K D I K D I; the next one, K (node 4), ends the run.
  const RunResult r = run(dir, "K\nG\nI F\nK\nD\n", "a\nb\n", "LC=9,DMP");
  EXPECT_EQ(r.status, 12);
  const std::string body = r.body();
  EXPECT_EQ(body.substr(0, body.find('\n')), "LOOP LIMIT LC=9 EXCEEDED IN LINE 4");
  EXPECT_NE(body.find("\nLOOPCOUNT=2\n"), std::string::npos);  // the main walk's count
}

TEST(Loop, EndOfJobWalk) {
  ScratchDir dir;
  // Every pass ends at the first node; the end-of-job walk starts at the IF and runs to G.
  const RunResult r = run(dir, "G\nI F\nM 1:1 2:1\nW 2\nG\nM 'NOT REACHED' 2:1\nW 2\n", "a\nb\n");
  EXPECT_EQ(r.status, 0);
  EXPECT_EQ(dir.read("FILE2"), "b\n");  // F1 keeps the last record at end of input
  EXPECT_EQ(r.body(), end_lines(2, 1));
}

TEST(Loop, EndOfJobHSetsEofAndEndsTheWalk) {
  ScratchDir dir;
  const RunResult r = run(dir, "I F\nH\nW 2\n", "", "DMP");
  // No record: no pass, so H was never reached by a main walk; in the end-of-job walk it
  // ends the walk at once, without an attention dump.
  EXPECT_EQ(r.status, 0);
  EXPECT_FALSE(dir.exists("FILE2"));
  EXPECT_EQ(r.body().find("ATTN"), std::string::npos);
  EXPECT_NE(r.body().find("\nEOF='1'B\n"), std::string::npos);
}

TEST(Loop, EndOfJobRejectsElseAndEdit) {
  ScratchDir dir;
  const RunResult r = run(dir, "G\nI F\nO\nE 1:1 2:1 'Z'\nK\n", "");
  EXPECT_EQ(r.status, 4);
  EXPECT_EQ(r.body(), "Bad Instruction:  O\nBad Instruction:  E\n" + end_lines(0));
}

TEST(Loop, AttentionDumpEveryPassThenNormalEnd) {
  ScratchDir dir;
  const RunResult r = run(dir, "H\n", "a\nb\n");
  EXPECT_EQ(r.status, 0);
  const std::string banner =
      " . . . . . . . . . . . . . . . . . . . ATTN\n. . . . . . . . . . . . . . . . . . . \n";
  const std::string body = r.body();
  const std::size_t first = body.find(banner);
  ASSERT_EQ(first, 0u);
  EXPECT_NE(body.find(banner, first + 1), std::string::npos);
  EXPECT_NE(body.find("\nLOOPCOUNT=2\n"), std::string::npos);  // the second dump
  EXPECT_EQ(body.substr(body.size() - end_lines(2).size()), end_lines(2));
}

TEST(Loop, CallAndReturn) {
  ScratchDir dir;
  const RunResult r = run(dir,
                          "M 'X' 2:1\nB SUB\nW 2\n"
                          "S SUB\nM 'Y' 2:2\nR\n",
                          "a\nb\n");
  EXPECT_EQ(r.status, 0);
  EXPECT_EQ(dir.read("FILE2"), "XY\nXY\n");
}

TEST(Loop, ElseFollowsOldResult) {
  ScratchDir dir;
  // The O has no IF before it, so its false link is empty: with OLDRESULT set the walk
  // follows it and the pass ends there.
  RunResult r = run(dir, "M 'A' 2:1\nO\nM 'B' 2:2\nW 2\n", "x\n", "OLDRESULT");
  EXPECT_EQ(r.status, 0);
  EXPECT_FALSE(dir.exists("FILE2"));
  ScratchDir dir2;
  r = run(dir2, "M 'A' 2:1\nI 9 X\nO\nM 'B' 2:2\nU\nW 2\n", "x\n", "OLDRESULT");
  EXPECT_EQ(dir2.read("FILE2"), "A\n");  // the else body is passed over
  ScratchDir dir3;
  r = run(dir3, "M 'A' 2:1\nI 9 X\nO\nM 'B' 2:2\nU\nW 2\n", "x\n");
  EXPECT_EQ(dir3.read("FILE2"), "AB\n");
}

TEST(Loop, OtherReadModesNeverEndTheInput) {
  ScratchDir dir;
  dir.write("PROGRAM", "K\n");
  const RunResult r = run_in(dir, "T=3,LC=5");
  EXPECT_EQ(r.status, 12);
  EXPECT_EQ(r.body(), "LOOP LIMIT LC=5 EXCEEDED IN LINE 1\n");
}

}  // namespace
}  // namespace kovran
