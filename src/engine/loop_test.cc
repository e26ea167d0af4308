// engine/loop_test.cc - whole runs through the dispatch loop.
#include <gtest/gtest.h>

#include <string>

#include "driver/testing.h"

namespace kovran {
namespace {

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

// Without a loop limit the walk makes a run of moves as one step (entered at its first move or,
// after a false IF, in its middle; sources and targets overlapping); every variable the closing
// dump shows, LOOPCOUNT and SOURCE among them, and every record must be as when each move is
// made on its own, which a loop limit asks for.
TEST(Loop, RunOfMovesAsEachMoveOnItsOwn) {
  const std::string program =
      "I 1:1 E 'a'\nM 1:1.5 1:3.7\nU\nM 1:3.7 2:1.5\nM 2:2.4 2:1.3\nM 1:1.9 2:10.12\nW 2\n";
  ScratchDir lean, watched;
  RunResult a = run(lean, program, "abcdefghij\nxyz\nabc\n", "DMP");
  RunResult b = run(watched, program, "abcdefghij\nxyz\nabc\n", "DMP,LC=100000");
  EXPECT_EQ(lean.read("FILE2"), "bcdde    aba\n         xyz\nbc       aba\n");
  EXPECT_EQ(lean.read("FILE2"), watched.read("FILE2"));
  const auto without_lc = [](std::string text) {
    const std::size_t at = text.find("\nLC=");
    return at == std::string::npos ? text : text.erase(at, text.find('\n', at + 1) - at);
  };
  EXPECT_NE(a.sysprint.find("\nLOOPCOUNT="), std::string::npos) << a.sysprint;
  EXPECT_EQ(without_lc(a.sysprint), without_lc(b.sysprint));
  EXPECT_EQ(a.status, b.status);
}

}  // namespace
}  // namespace kovran
