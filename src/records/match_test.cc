// records/match_test.cc
#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <utility>
#include <vector>

#include "compiler/compiler.h"
#include "driver/diagnostics.h"
#include "records/records.h"

namespace kovran {
namespace {

namespace fs = std::filesystem;

// A run in a scratch directory where FILE1..FILE6 live; the console is kept.
class MatchRun {
 public:
  MatchRun() : rs_(bindings()) {
    std::string reason;
    rs_.sysprint_file.open("-", &console_, reason);
  }
  ~MatchRun() { fs::remove_all(dir_); }

  RunState& rs() { return rs_; }

  void file(int n, const std::string& bytes) {
    std::ofstream(dir_ + "/FILE" + std::to_string(n), std::ios::binary) << bytes;
  }

  // Sets the mode and files and reads the key statement (the first node).
  void keys(char mode, char a, char b, const std::string& statement) {
    rs_.T = mode;
    rs_.A = a;
    rs_.B = b;
    ALLOC_RTN(rs_);
    PARSE(rs_, statement);
    rs_.current_node = rs_.first_node;
    KEY_RTN(rs_);
  }

  // The keys each pass sees until the input is exhausted; an exhausted file's key is "end".
  std::vector<std::pair<std::string, std::string>> passes() {
    std::vector<std::pair<std::string, std::string>> seen;
    rs_.EOF_ = false;
    READ_RTN(rs_);
    while (!rs_.EOF_ && seen.size() < 100) {
      seen.emplace_back(shown(rs_.AKEY.view()), shown(rs_.BKEY.view()));
      READ_RTN(rs_);
    }
    return seen;
  }

  std::string console() {
    rs_.sysprint.new_line();
    rs_.sysprint_file.flush();
    return console_.str();
  }

 private:
  static std::string shown(std::string_view key) {
    return key == std::string(80, '\xFF') ? "end" : std::string(key);
  }

  Bindings bindings() {
    std::string templ = (fs::temp_directory_path() / "kovran-match-XXXXXX").string();
    dir_ = mkdtemp(templ.data());
    Bindings b;
    for (int id = 0; id < kFileIds; ++id) b.path[id] = dir_ + "/" + logical_name(id);
    return b;
  }

  std::string dir_;
  std::ostringstream console_;
  RunState rs_;
};

using Passes = std::vector<std::pair<std::string, std::string>>;

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
    MatchRun run;
    run.file(1, c.a_file);
    run.file(2, c.b_file);
    run.keys(c.mode, '1', '2', "K 1:1 2:1");
    EXPECT_EQ(run.passes(), c.expected);
  }
}

TEST(MatchStep, AreasCountsAndTheEmptyFile) {
  MatchRun run;
  run.file(3, "");
  run.file(5, "X1 B\nX2\n");
  run.keys('1', '3', '5', "K 3:1.2 5:1.2");
  run.rs().EOF_ = false;
  READ_RTN(run.rs());
  EXPECT_FALSE(run.rs().EOF_);
  EXPECT_EQ(run.rs().F3.view(), std::string(4096, '\xFF'));
  EXPECT_EQ(run.rs().F5.view().substr(0, 6), "X1 B  ");
  READ_RTN(run.rs());
  EXPECT_EQ(run.rs().F5.view().substr(0, 6), "X2    ");  // no trace of the longer record
  READ_RTN(run.rs());
  EXPECT_TRUE(run.rs().EOF_);
  EXPECT_EQ(run.rs().CNT3, 0);
  EXPECT_EQ(run.rs().CNT5, 2);
  EXPECT_EQ(run.rs().TOTAL, 2);
  EXPECT_TRUE(run.rs().EOF1 && run.rs().EOF2 && run.rs().EOF4 && run.rs().EOF6);
}

TEST(BuildKey, FourPairsEndToEndCutAt80) {
  MatchRun run;
  run.keys('1', '1', '2', "K 1:1.2 2:10.10 1:5 2:1.3 1:9.9 2:2 1:3.4 2:20.99");
  ASSERT_EQ(run.rs().EXTENT, 4);
  run.rs().BUFFER = "ABCDEFGHIJ";
  BUILD_AKEY(run.rs());
  EXPECT_EQ(run.rs().AKEY.view(), "ABEICD");
  BUILD_BKEY(run.rs());
  const std::string b_key = "J" + std::string("ABC") + "B" + std::string(75, ' ');
  EXPECT_EQ(run.rs().BKEY.view(), b_key);  // the fourth range is cut to the 80th character
}

TEST(MatchStep, OutOfOrderKeyWarnsOncePerFile) {
  MatchRun run;
  run.file(1, "3\n1\n0\n");
  run.file(2, "2\n");
  run.keys('1', '1', '2', "K 1:1 2:1");
  // The rules apply as they stand: the record of key 1 after 3 is paired wrongly.
  EXPECT_EQ(run.passes(), (Passes{{"3", "2"}, {"3", "end"}, {"1", "end"}, {"0", "end"}}));
  const std::string console = run.console();
  EXPECT_NE(console.find("WARNING: FILE1 RECORD 2 IS OUT OF KEY ORDER"), std::string::npos);
  EXPECT_EQ(console.find("RECORD 3"), std::string::npos);  // once per file
  EXPECT_EQ(run.rs().diagnostics, 1);
}

TEST(MatchStep, LowKeyBytesInTheFirstRecordAreInOrder) {
  MatchRun run;
  run.file(1, std::string("\x01\n\x02\n"));
  run.file(2, "");
  run.keys('2', '1', '2', "K 1:1 2:1");
  EXPECT_EQ(run.passes().size(), 2u);
  EXPECT_EQ(run.rs().diagnostics, 0);
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
    MatchRun run;
    try {
      run.keys('1', c.a, c.b, c.statement);
      ADD_FAILURE() << "the key statement was accepted";
    } catch (const RunEnded& ended) {
      EXPECT_EQ(ended.status, 12);
    }
    EXPECT_NE(run.console().find(c.message), std::string::npos) << run.console();
  }
}

TEST(KeyRtn, RangesAndTheirLimits) {
  MatchRun run;
  run.keys('2', '1', '6', "K 1:4096 2:1.4096 X/7.8 Y/0009.0010");
  ASSERT_EQ(run.rs().EXTENT, 2);
  EXPECT_EQ(run.rs().A_KEY[0].FROM, 4096);
  EXPECT_EQ(run.rs().A_KEY[0].TO, 4096);
  EXPECT_EQ(run.rs().B_KEY[0].FROM, 1);
  EXPECT_EQ(run.rs().B_KEY[0].TO, 4096);
  EXPECT_EQ(run.rs().A_KEY[1].FROM, 7);  // the area code is not examined
  EXPECT_EQ(run.rs().B_KEY[1].TO, 10);
}

TEST(KeyRtn, NevermoreAndOtherModesReadNoKeys) {
  {
    MatchRun run;
    run.rs().NEVERMORE = true;
    run.keys('1', '1', '2', "K 1:0 2:1");  // not read, so not refused
    EXPECT_EQ(run.rs().EXTENT, 0);
  }
  {
    MatchRun run;
    run.keys('3', '0', '0', "M 1:1 2:1");  // no key in mode 3, and no file check either
    EXPECT_EQ(run.rs().EXTENT, 0);
  }
}

}  // namespace
}  // namespace kovran
