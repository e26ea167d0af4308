// records/match_test.cc
#include <gtest/gtest.h>

#include <string>
#include <utility>
#include <vector>

#include "driver/testing.h"
#include "records/records.h"

namespace kovran {
namespace {

// Sets the mode and files and reads the key statement (the first node).
void keys(TestRun& run, char mode, char a, char b, const std::string& statement) {
  run.rs.T = mode;
  run.rs.A = a;
  run.rs.B = b;
  run.compile({statement});
  run.rs.current_node = run.rs.first_node;
  KEY_RTN(run.rs);
}

using Passes = std::vector<std::pair<std::string, std::string>>;

// The keys each pass sees until the input is exhausted; an exhausted file's key is "end".
Passes passes(RunState& rs) {
  const auto shown = [](std::string_view key) {
    return key == std::string(80, '\xFF') ? "end" : std::string(key);
  };
  Passes seen;
  rs.EOF_ = false;
  READ_RTN(rs);
  while (!rs.EOF_ && seen.size() < 100) {
    seen.emplace_back(shown(rs.AKEY.view()), shown(rs.BKEY.view()));
    READ_RTN(rs);
  }
  return seen;
}

struct StepCase {
  const char* name;
  char mode;
  const char* a_file;
  const char* b_file;
  Passes expected;
};

TEST(MatchStep, PairingOfBothModes) {
  const std::vector<StepCase> cases = {
      {"one to one",
       '1',
       "1\n2\n4\n",
       "2\n3\n4\n",
       {{"1", "2"}, {"2", "2"}, {"4", "3"}, {"4", "4"}}},
      {"one to many", '2', "1\n2\n", "1\n1\n2\n", {{"1", "1"}, {"1", "1"}, {"2", "2"}}},
      {"second A of a key finds no B", '2', "1\n1\n", "1\n", {{"1", "1"}, {"1", "end"}}},
      {"one to one, second A unmatched", '1', "1\n1\n", "1\n", {{"1", "1"}, {"1", "end"}}},
      {"A file empty", '1', "", "1\n2\n", {{"end", "1"}, {"end", "2"}}},
      {"B file empty, one to many", '2', "1\n2\n", "", {{"1", "end"}, {"2", "end"}}},
      {"both files empty", '2', "", "", {}},
      {"B group then A alone",
       '2',
       "1\n3\n",
       "1\n1\n2\n",
       {{"1", "1"}, {"1", "1"}, {"3", "2"}, {"3", "end"}}},
  };
  for (const StepCase& c : cases) {
    SCOPED_TRACE(c.name);
    ScratchDir dir;
    TestRun run(dir);
    dir.write("FILE1", c.a_file);
    dir.write("FILE2", c.b_file);
    keys(run, c.mode, '1', '2', "K 1:1 2:1");
    EXPECT_EQ(passes(run.rs), c.expected);
  }
}

TEST(MatchStep, AreasCountsAndTheEmptyFile) {
  ScratchDir dir;
  TestRun run(dir);
  dir.write("FILE3", "");
  dir.write("FILE5", "X1 B\nX2\n");
  keys(run, '1', '3', '5', "K 3:1.2 5:1.2");
  run.rs.EOF_ = false;
  READ_RTN(run.rs);
  EXPECT_FALSE(run.rs.EOF_);
  EXPECT_EQ(run.rs.F3.view(), std::string(4096, '\xFF'));
  EXPECT_EQ(run.rs.F5.view().substr(0, 6), "X1 B  ");
  READ_RTN(run.rs);
  EXPECT_EQ(run.rs.F5.view().substr(0, 6), "X2    ");  // no trace of the longer record
  READ_RTN(run.rs);
  EXPECT_TRUE(run.rs.EOF_);
  EXPECT_EQ(run.rs.CNT3, 0);
  EXPECT_EQ(run.rs.CNT5, 2);
  EXPECT_EQ(run.rs.TOTAL, 2);
  EXPECT_TRUE(run.rs.EOF1 && run.rs.EOF2 && run.rs.EOF4 && run.rs.EOF6);
}

TEST(BuildKey, FourPairsEndToEndCutAt80) {
  TestRun run;
  keys(run, '1', '1', '2', "K 1:1.2 2:10.10 1:5 2:1.3 1:9.9 2:2 1:3.4 2:20.99");
  ASSERT_EQ(run.rs.EXTENT, 4);
  run.rs.BUFFER = "ABCDEFGHIJ";
  BUILD_AKEY(run.rs);
  EXPECT_EQ(run.rs.AKEY.view(), "ABEICD");
  BUILD_BKEY(run.rs);
  const std::string b_key = "J" + std::string("ABC") + "B" + std::string(75, ' ');
  EXPECT_EQ(run.rs.BKEY.view(), b_key);  // the fourth range is cut to the 80th character
}

TEST(MatchStep, OutOfOrderKeyWarnsOncePerFile) {
  ScratchDir dir;
  TestRun run(dir);
  dir.write("FILE1", "3\n1\n0\n");
  dir.write("FILE2", "2\n");
  keys(run, '1', '1', '2', "K 1:1 2:1");
  // The rules apply as they stand: the record of key 1 after 3 is paired wrongly.
  EXPECT_EQ(passes(run.rs), (Passes{{"3", "2"}, {"3", "end"}, {"1", "end"}, {"0", "end"}}));
  const std::string console = run.printed();
  EXPECT_NE(console.find("WARNING: FILE1 RECORD 2 IS OUT OF KEY ORDER"), std::string::npos);
  EXPECT_EQ(console.find("RECORD 3"), std::string::npos);  // once per file
  EXPECT_EQ(run.rs.diagnostics, 1);
}

TEST(MatchStep, LowKeyBytesInTheFirstRecordAreInOrder) {
  ScratchDir dir;
  TestRun run(dir);
  dir.write("FILE1", std::string("\x01\n\x02\n"));
  dir.write("FILE2", "");
  keys(run, '2', '1', '2', "K 1:1 2:1");
  EXPECT_EQ(passes(run.rs).size(), 2u);
  EXPECT_EQ(run.rs.diagnostics, 0);
}

struct KeyCheck {
  const char* name;
  char a;
  char b;
  const char* statement;
  const char* message;
};

TEST(KeyRtn, FaultsEndTheRunBeforeItStarts) {
  const std::vector<KeyCheck> cases = {
      {"start column 0", '1', '2', "K 1:0.3 2:1.3", "INVALID KEY RANGE IN LINE 1 FIELD 2"},
      {"start after end", '1', '2', "K 1:1.3 2:5.4", "INVALID KEY RANGE IN LINE 1 FIELD 3"},
      {"end past 4096", '1', '2', "K 1:1.3 2:1.3 1:4090.4097 2:1",
       "INVALID KEY RANGE IN LINE 1 FIELD 4 \"1:4090.4097\""},
      {"literal range", '1', '2', "K 'AB' 2:1", "INVALID KEY RANGE IN LINE 1 FIELD 2"},
      {"no B range", '1', '2', "K 1:1.3", "KEY PAIR 1 IN LINE 1 HAS NO B RANGE IN FIELD 3"},
      {"third pair without B", '1', '2', "K 1:1 2:1 1:2 2:2 1:3",
       "KEY PAIR 3 IN LINE 1 HAS NO B RANGE IN FIELD 7"},
      {"A outside 1..6", '7', '2', "K 1:1 2:1", "INVALID INPUT FILE  7"},
      {"B outside 1..6", '1', '0', "K 1:1 2:1", "INVALID INPUT FILE  0"},
      {"A equal to B", '3', '3', "K 1:1 2:1", "A=3 AND B=3 NAME THE SAME FILE"},
  };
  for (const KeyCheck& c : cases) {
    SCOPED_TRACE(c.name);
    TestRun run;
    EXPECT_EQ(ended_with([&] { keys(run, '1', c.a, c.b, c.statement); }), ExitStatus::kError);
    EXPECT_NE(run.printed().find(c.message), std::string::npos) << run.printed();
  }
}

TEST(KeyRtn, RangesAndTheirLimits) {
  TestRun run;
  keys(run, '2', '1', '6', "K 1:4096 2:1.4096 X/7.8 Y/0009.0010");
  ASSERT_EQ(run.rs.EXTENT, 2);
  EXPECT_EQ(run.rs.A_KEY[0].FROM, 4096);
  EXPECT_EQ(run.rs.A_KEY[0].TO, 4096);
  EXPECT_EQ(run.rs.B_KEY[0].FROM, 1);
  EXPECT_EQ(run.rs.B_KEY[0].TO, 4096);
  EXPECT_EQ(run.rs.A_KEY[1].FROM, 7);  // the area code is not examined
  EXPECT_EQ(run.rs.B_KEY[1].TO, 10);
}

TEST(KeyRtn, NevermoreAndOtherModesReadNoKeys) {
  {
    TestRun run;
    run.rs.NEVERMORE = true;
    keys(run, '1', '1', '2', "K 1:0 2:1");  // not read, so not refused
    EXPECT_EQ(run.rs.EXTENT, 0);
  }
  {
    TestRun run;
    keys(run, '3', '0', '0', "M 1:1 2:1");  // no key in mode 3, and no file check either
    EXPECT_EQ(run.rs.EXTENT, 0);
  }
}

}  // namespace
}  // namespace kovran
