// driver/hostile_input_test.cc - inputs too big to keep as golden cases, made at run time, and
// many runs in one process.
#include <gtest/gtest.h>

#include <cstdint>
#include <random>
#include <string>
#include <vector>

#include "driver/testing.h"

namespace kovran {
namespace {

TEST(HostileInput, ScriptLineOfTenMegabytes) {
  ScratchDir dir;
  // One line: a move whose source literal is 'AB' and then 10 MB of blanks and letters.
  std::string line = "M 'AB' 2:1.4 " + std::string(10 << 20, 'Q');
  dir.write("PROGRAM", line + "\nW 2\n");
  dir.write("FILE1", "r\n");
  const RunResult r = run_in(dir, "I=1");
  EXPECT_EQ(r.status, 4);
  // The line is cut to 4096; its statement to 100, of which 80 are read: the fourth word is
  // a run of Q that is no operand of the move and is never looked at.
  EXPECT_EQ(r.body(), "WARNING: PROGRAM LINE 1 CUT TO 4096 CHARACTERS\n" + end_lines(1, 1));
  EXPECT_EQ(dir.read("FILE2"), "AB\n");
}

TEST(HostileInput, TheProgramListHoldsAtMost32767NodesWithItsStopNode) {
  // 32766 statements and the stop node fill the list exactly; one statement more stops the run.
  for (const int statements : {32766, 32767}) {
    SCOPED_TRACE(statements);
    ScratchDir dir;
    std::string script;
    for (int k = 0; k < statements; ++k) script += "K\n";
    dir.write("PROGRAM", script);
    dir.write("FILE1", "r\n");
    const RunResult r = run_in(dir, "I=1");
    if (statements == 32766) {
      EXPECT_EQ(r.status, 0);
      EXPECT_EQ(r.body(), end_lines(1, 0));
    } else {
      EXPECT_EQ(r.status, 12);
      EXPECT_EQ(r.body(),
                "SCRIPT TOO LONG: AT MOST 32767 NODES, THE STOP NODE INCLUDED: RUN STOPPED\n");
    }
  }
}

TEST(HostileInput, RecordsOfHundredKilobytes) {
  ScratchDir dir;
  // Three records of 100000 bytes, the last without a line feed, between two short ones.
  const std::string big(100000, 'y');
  dir.write("FILE1", "a\n" + big + "\n" + big + "\r\n" + "b\n" + big);
  dir.write("PROGRAM", "M 1:4095.4096 2:1.2\nM 1:1 2:3\nW 2\n");
  const RunResult r = run_in(dir, "I=1");
  EXPECT_EQ(r.status, 4);
  EXPECT_EQ(r.body(),
            "WARNING: FILE1 RECORD 2 CUT TO 4096 CHARACTERS (WAS 100000)\n"
            "WARNING: FILE1 RECORD 3 CUT TO 4096 CHARACTERS (WAS 100000)\n"
            "WARNING: FILE1 RECORD 5 CUT TO 4096 CHARACTERS (WAS 100000)\n" +
                end_lines(5, 5));
  EXPECT_EQ(dir.read("FILE2"), "  a\nyyy\nyyy\n  b\nyyy\n");
}

TEST(HostileInput, BinaryGarbageScripts) {
  // Any bytes at all as the script and the data, with the instruction letters and operand
  // characters made likely: every run ends by itself with a status of a run, never a crash.
  std::mt19937 random(20261208);
  const std::string likely = "MCWIEFLTUDOGBHSRKXZ+-/'123456SLD:.;* \n\xFF";
  auto garbage = [&](std::size_t n) {
    std::string text(n, ' ');
    for (char& c : text) {
      const auto r = static_cast<std::uint32_t>(random());
      c = r % 3 == 0 ? static_cast<char>(r >> 8) : likely[(r >> 8) % likely.size()];
    }
    return text;
  };
  ScratchDir dir;
  for (int k = 0; k < 60; ++k) {
    SCOPED_TRACE("script " + std::to_string(k));
    dir.write("PROGRAM", garbage(400));
    dir.write("FILE1", garbage(300));
    const RunResult r = run_in(dir, "I=1,LC=2000");
    EXPECT_TRUE(r.status == 0 || r.status == 4 || r.status == 12) << r.status;
    EXPECT_EQ(r.sysprint.find("KOVRAN BATCH RECORD PROCESSOR"), 0u);
    EXPECT_EQ(r.stderr_text.find("internal error"), std::string::npos) << r.stderr_text;
  }
}

// Scripts run in turn in one process: each must give the same output every time. DMP dumps
// every run variable at the end, so any state left over from an earlier run shows.
struct Job {
  const char* parm;
  const char* program;
  const char* file1;
  const char* file2;
};

const Job kJobs[] = {
    {"I=1,DMP",
     "M 1:1.3 L:1.3\nL BAND H\nM S:1.5 L:5.9\nW L 1\nI 1:1 E '3'\nW L H\nU\n"
     "+ 1:1.3 D:1.6\nT BAND 1:1.3 S:1.5\n'300HIGH'\n'100LOW'\n'200MID'\n",
     "150\n300\n250\n", ""},
    {"T=1,A=1,B=2,DMP", "K 1:1.3 2:1.3\nM 1:1.10 3:1.10\nM 2:1.10 3:12.21\nW 3\n",
     "001 one\n002 two\n004 four\n", "001 uno\n003 tres\n004 cuatro\n"},
    {"I=1,LC=7,DMP", "CH 1:1.10 'a' 'b'\nTR 1:1.10 'bc' 'XY'\nM 1:1.10 2:1.10\nW 2\nH\n",
     "abcabc\ncab\nzzz\n", ""},
};

struct Outcome {
  int status;
  std::string sysprint, file2, file3, listing;
  bool operator==(const Outcome& o) const {
    return status == o.status && sysprint == o.sysprint && file2 == o.file2 && file3 == o.file3 &&
           listing == o.listing;
  }
};

Outcome run_job(const Job& job) {
  ScratchDir dir;
  dir.write("PROGRAM", job.program);
  dir.write("FILE1", job.file1);
  dir.write("FILE2", job.file2);
  const RunResult r = run_in(dir, job.parm);
  return {r.status, r.sysprint, dir.read("FILE2"), dir.read("FILE3"), dir.read("LISTING")};
}

TEST(RepeatedRuns, NoStateLeaksFromOneRunToTheNext) {
  std::vector<Outcome> first;
  for (const Job& job : kJobs) first.push_back(run_job(job));
  EXPECT_EQ(first[0].status, 0);
  EXPECT_EQ(first[1].status, 0);
  EXPECT_EQ(first[2].status, 12);  // the loop limit, in the second pass
  for (int round = 0; round < 100; ++round) {
    for (std::size_t k = 0; k < std::size(kJobs); ++k) {
      SCOPED_TRACE("round " + std::to_string(round) + ", job " + std::to_string(k));
      const Outcome again = run_job(kJobs[k]);
      ASSERT_TRUE(again == first[k]) << again.sysprint;
    }
  }
}

}  // namespace
}  // namespace kovran
