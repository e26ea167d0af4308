// driver/kovran_test.cc - the command line and the reading of the script.
#include "driver/kovran.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <sstream>
#include <string>
#include <vector>

#include "driver/testing.h"

namespace kovran {
namespace {

using testing::end_lines;
using testing::run_in;
using testing::RunResult;
using testing::ScratchDir;

struct CommandResult {
  int status;
  std::string out;
  std::string err;
};

CommandResult command(const std::vector<std::string>& args) {
  std::istringstream in;
  std::ostringstream out;
  std::ostringstream err;
  const int status = run_kovran(args, in, out, err);
  return {status, out.str(), err.str()};
}

TEST(CommandLine, HelpExplainsEveryOption) {
  const CommandResult r = command({"--help"});
  EXPECT_EQ(r.status, 0);
  for (const char* option :
       {"--program", "--file1",   "--file6",     "--listing", "--filedump", "--sysprint", "--clock",
        "--help",    "--version", "PARM",        "DEBUG",     "TRACE",      "VERBOSE",    "DMP",
        "TEST",      "LC=",       "DUMP=",       "PGSIZE=",   "LNSIZE=",    "T=",         "I=",
        "A=",        "_DEBUG_",   "Exit status", "--check",   "--verbose"}) {
    EXPECT_NE(r.out.find(option), std::string::npos) << option;
  }
  EXPECT_EQ(command({"--version"}).out, "kovran 1.0.0 (build 97.127.20:30)\n");
}

TEST(CommandLine, UnusableCommandLinesRunNothing) {
  struct Case {
    std::vector<std::string> args;
    const char* message;
  };
  const Case cases[] = {
      {{"--bogus"}, "unknown option --bogus"},
      {{"-v"}, "unknown option -v"},
      {{"--file1"}, "option --file1 needs a path"},
      {{"--program="}, "option --program needs a path"},
      {{"--clock", "2026-13-01T00:00:00"}, "--clock wants YYYY-MM-DDTHH:MM:SS"},
      {{"--clock", "2027-02-29T00:00:00"}, "--clock wants YYYY-MM-DDTHH:MM:SS"},
      {{"DEBUG", "TRACE"}, "more than one PARM"},
      {{std::string(101, 'A')}, "PARM is 101 characters long; at most 100"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.args[0]);
    const CommandResult r = command(c.args);
    EXPECT_EQ(r.status, 16);
    EXPECT_NE(r.err.find(c.message), std::string::npos) << r.err;
    EXPECT_EQ(r.out, "");
  }
}

TEST(CommandLine, BindingsAndStandardStreams) {
  ScratchDir dir;
  dir.write("in.txt", "A\nB\n");
  std::istringstream in("M 1:1 2:2\nW 2\n");
  std::ostringstream out;
  std::ostringstream err;
  const int status = run_kovran({"--program", "-", "--file1=" + dir.path("in.txt"), "--file2", "-",
                                 "--clock=2026-12-08T10:00:00", "--", "I=1"},
                                in, out, err);
  EXPECT_EQ(status, 0);
  // The records written to standard output come in order with the console lines.
  const std::string s = out.str();
  EXPECT_EQ(s.substr(s.find('\n') + 1), " A\n B\n" + end_lines(2, 2));
  EXPECT_EQ(s.find('\n'), 69u);  // the banner is 69 characters
  EXPECT_NE(s.find("97.127.20:30"), std::string::npos);
}

TEST(CommandLine, SysprintToAFile) {
  ScratchDir dir;
  dir.write("PROGRAM", "");
  dir.write("FILE1", "");
  const RunResult r = run_in(dir, "I=1", {"--sysprint", dir.path("console")});
  EXPECT_EQ(r.status, 0);
  EXPECT_EQ(r.sysprint, "");
  const std::string console = dir.read("console");
  EXPECT_EQ(console.substr(console.find('\n') + 1), end_lines(0));
}

TEST(CommandLine, SysprintMustNotBeAFileTheRunReads) {
  ScratchDir dir;
  dir.write("PROGRAM", "W 2\n");
  dir.write("data", "A\n");
  for (const char* name : {"PROGRAM", "data"}) {
    SCOPED_TRACE(name);
    const RunResult r =
        run_in(dir, "I=1", {"--file1", dir.path("data"), "--sysprint", dir.path(name)});
    EXPECT_EQ(r.status, 16);
    EXPECT_NE(r.stderr_text.find("is the file of"), std::string::npos) << r.stderr_text;
  }
  EXPECT_EQ(dir.read("PROGRAM"), "W 2\n");
  EXPECT_EQ(dir.read("data"), "A\n");
}

// The node listing of a script: its DEBUG listing without the other lines.
std::string listing_of(const std::string& program, const std::string& parm = "DEBUG,I=1") {
  ScratchDir dir;
  dir.write("PROGRAM", program);
  dir.write("FILE1", "");
  const RunResult r = run_in(dir, parm);
  const std::string body = r.body();
  const std::size_t from = body.find("<LOGIC>\n") + 8;
  return body.substr(from, body.find("<LOOP>") - from);
}

TEST(Script, StatementsLinesAndSemicolons) {
  struct Case {
    const char* program;
    const char* listing;
  };
  const Case cases[] = {
      {"K A;K B\n", "1  1: K  2: A  3:    4:    5:  \n2  1: K  2: B  3:    4:    5:  \n"},
      {"  \n;\n ; ;\n", ""},  // no node from blanks or empty statements
      {"K 'a;b' C;K D\n",     // one literal before the first ";": an odd count, not split
       "1  1: K  2: 'a;b'  3: C  4:    5:  \n2  1: K  2: D  3:    4:    5:  \n"},
      {"K 'x' 'y' ;K\n",  // an even count (four): split
       "1  1: K  2: 'x'  3: 'y'  4:    5:  \n2  1: K  2:    3:    4:    5:  \n"},
      // the statement runs to the end of the line; the unclosed quote is a word of its own
      {"K 'a;b\n", "1  1: K  2: '  3: A;B  4:    5:  \n"},
      {"* only comments\n*\n", ""},
      {"K\r\nM 1:1 2:1\r\n",
       "1  1: K  2:    3:    4:    5:  \n"
       "2  1: M  2: 1:1  3: 2:1  4:    5:  \n"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.program);
    // Every script ends in its stop node, numbered after the others.
    const std::string listed = c.listing;
    const auto nodes = std::count(listed.begin(), listed.end(), '\n');
    EXPECT_EQ(listing_of(c.program),
              listed + std::to_string(nodes + 1) + "  1: U  2: STOP  3: HERE  4:    5:  \n");
  }
}

TEST(Script, StopProgramBeforeTheFirstSubroutineOrTable) {
  EXPECT_EQ(listing_of("TR 1:1 'A' 'B'\ns sub\nR\nS X\n"),
            "1  1: TR  2: 1:1  3: 'A'  4: 'B'  5:  \n"
            "2  1: U  2: STOP  3: PROGRAM  4:    5:  \n"
            "3  1: S  2: SUB  3:    4:    5:  \n"
            "4  1: R  2:    3:    4:    5:  \n"
            "5  1: S  2: X  3:    4:    5:  \n");
  EXPECT_EQ(listing_of("* c\nT X 1:1 1:2\n"),
            "1  1: U  2: STOP  3: PROGRAM  4:    5:  \n"
            "2  1: T  2: X  3: 1:1  4: 1:2  5:  \n");
}

TEST(Script, LongLinesAndStatements) {
  ScratchDir dir;
  // A script line of 5000 bytes is cut to 4096 with a warning.
  dir.write("PROGRAM", "K\nK " + std::string(4998, 'A') + "\n");
  dir.write("FILE1", "");
  RunResult r = run_in(dir, "I=1");
  EXPECT_EQ(r.status, 4);
  EXPECT_EQ(r.body(), "WARNING: PROGRAM LINE 2 CUT TO 4096 CHARACTERS\n" + end_lines(0));
  // VERBOSE echoes each statement as kept (at most 100 characters), comments included.
  const std::string statement = "K " + std::string(120, 'b');
  dir.write("PROGRAM", "* comment\n" + statement + "\n");
  r = run_in(dir, "VERBOSE,I=1");
  EXPECT_EQ(r.status, 0);
  EXPECT_EQ(r.body(), "* comment\n" + statement.substr(0, 100) + "\n" + end_lines(0));
}

}  // namespace
}  // namespace kovran
