// driver/kovran_test.cc - the command line and the reading of the script.
#include "driver/kovran.h"

#include <gtest/gtest.h>
#include <unistd.h>

#include <algorithm>
#include <sstream>
#include <string>
#include <vector>

#include "driver/testing.h"

namespace kovran {
namespace {

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
  for (const char* option : {"--program",     "--file1", "--file6",     "--listing",  "--filedump",
                             "--sysprint",    "--clock", "--parm-file", "--progress", "-h, --help",
                             "-V, --version", "PARM",    "DEBUG",       "TRACE",      "VERBOSE",
                             "DMP",           "TEST",    "LC=",         "DUMP=",      "PGSIZE=",
                             "LNSIZE=",       "T=",      "I=",          "A=",         "_DEBUG_",
                             "Exit status",   "128+n",   "--check",     "--verbose"}) {
    EXPECT_NE(r.out.find(option), std::string::npos) << option;
  }
  std::istringstream lines(r.out);
  for (std::string line; std::getline(lines, line);) EXPECT_LE(line.size(), 80u) << line;
  EXPECT_EQ(command({"-h"}).out, r.out);
  EXPECT_EQ(command({"--version"}).out, "kovran 1.0.0 (build 97.127.20:30)\n");
  EXPECT_EQ(command({"-V"}).out, "kovran 1.0.0 (build 97.127.20:30)\n");
}

TEST(CommandLine, UnusableCommandLinesRunNothing) {
  ScratchDir dir;
  dir.write("long", std::string(101, 'A') + "\n");
  dir.write("parm", "I=1\n");
  struct Case {
    std::vector<std::string> args;
    std::string message;
  };
  const Case cases[] = {
      {{"--bogus"}, "unknown option --bogus"},
      {{"-v"}, "unknown option -v"},
      {{"-hV"}, "unknown option -hV"},
      {{"--file1"}, "option --file1 needs a path"},
      {{"--program="}, "option --program needs a path"},
      {{"--clock", "2026-13-01T00:00:00"}, "--clock wants YYYY-MM-DDTHH:MM:SS"},
      {{"--clock", "2027-02-29T00:00:00"}, "--clock wants YYYY-MM-DDTHH:MM:SS"},
      {{"DEBUG", "TRACE"}, "more than one PARM"},
      {{"A\nB", "C"}, "more than one PARM given (\"A<0A>B\" and \"C\")"},
      {{std::string(101, 'A')}, "PARM is 101 characters long; at most 100"},
      {{"--parm-file"}, "option --parm-file needs a path"},
      {{"--parm-file", "-"}, "--parm-file needs a file, not standard input"},
      {{"--parm-file", dir.path("none")}, "cannot open the PARM file \"" + dir.path("none")},
      {{"--parm-file", dir.path("")}, "Is a directory"},
      {{"--parm-file", dir.path("long")}, "is 101 characters long; at most 100"},
      {{"--parm-file", dir.path("parm"), "I=1"}, "PARM given twice: \"I=1\""},
      {{"--parm-file=" + dir.path("parm"), "--parm-file", dir.path("parm")},
       "more than one --parm-file"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.args[0]);
    const CommandResult r = command(c.args);
    EXPECT_EQ(r.status, 16);
    EXPECT_NE(r.err.find(c.message), std::string::npos) << r.err;
    // One line, and it says where help is.
    EXPECT_EQ(r.err.rfind("kovran: ", 0), 0u) << r.err;
    EXPECT_EQ(std::count(r.err.begin(), r.err.end(), '\n'), 1) << r.err;
    EXPECT_NE(r.err.find(" (try kovran --help)\n"), std::string::npos) << r.err;
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
  // FILE2 is standard output, so the console moves to standard error.
  EXPECT_EQ(out.str(), " A\n B\n");
  const std::string s = err.str();
  EXPECT_EQ(s.substr(s.find('\n') + 1), end_lines(2, 2));
  EXPECT_EQ(s.find('\n'), 69u);  // the banner is 69 characters
  EXPECT_NE(s.find("97.127.20:30"), std::string::npos);
}

TEST(CommandLine, ConsoleStaysWhereSysprintIsBound) {
  ScratchDir dir;
  dir.write("PROGRAM", "M 1:1 2:1\nW 2\n");
  dir.write("FILE1", "A\n");
  // LISTING or FILEDUMP on standard output moves the console too; a bound console stays.
  const struct {
    std::vector<std::string> args;
    bool console_on_stderr;
  } cases[] = {{{"--listing", "-"}, true},
               {{"--filedump=-"}, true},
               {{"--file2", "-", "--sysprint", dir.path("console")}, false},
               {{"--program", dir.path("PROGRAM")}, false}};
  for (const auto& c : cases) {
    SCOPED_TRACE(c.args[0]);
    const RunResult r = run_in(dir, "I=1", c.args);
    EXPECT_EQ(r.status, 0);
    EXPECT_EQ(r.stderr_text.find("KOVRAN BATCH") == 0, c.console_on_stderr) << r.stderr_text;
  }
  EXPECT_NE(dir.read("console").find("F1  1  F2  1"), std::string::npos);
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

TEST(CommandLine, OutputsThatShareOneFileAreRefused) {
  ScratchDir dir;
  dir.write("PROGRAM", "M 1:1 2:1\nW 2\nM 1:1 L:1\nW L 1\n");
  dir.write("data", "A\n");
  dir.write("old", "kept\n");
  ASSERT_EQ(::symlink(dir.path("old").c_str(), dir.path("soft").c_str()), 0);
  ASSERT_EQ(::link(dir.path("old").c_str(), dir.path("hard").c_str()), 0);
  const std::string fresh = dir.path("new");
  const std::string fresh_again = dir.path(".") + "/./new";  // another spelling
  struct Case {
    std::vector<std::string> args;
    const char* message;
  };
  const Case cases[] = {
      {{"--sysprint", fresh, "--listing", fresh_again}, "--listing "},
      {{"--listing", fresh, "--filedump", fresh}, "--listing "},
      {{"--file3", dir.path("old"), "--filedump", dir.path("soft")}, "--file3 "},
      {{"--file4", dir.path("hard"), "--listing", dir.path("old")}, "--file4 "},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.args[0] + " " + c.args[2]);
    std::vector<std::string> args = c.args;
    args.push_back("I=1");
    const RunResult r = run_in(dir, "", args);
    EXPECT_EQ(r.status, 16);
    EXPECT_EQ(r.sysprint, "");
    EXPECT_EQ(r.stderr_text.find(std::string("kovran: ") + c.message), 0u) << r.stderr_text;
    EXPECT_NE(r.stderr_text.find(" name one file"), std::string::npos) << r.stderr_text;
    EXPECT_FALSE(dir.exists("new"));
    EXPECT_EQ(dir.read("old"), "kept\n");
  }
  // Devices are no files of records: two outputs may both be /dev/null.
  const RunResult r =
      run_in(dir, "I=1", {"--file1", dir.path("data"), "--file2=/dev/null", "--listing=/dev/null"});
  EXPECT_EQ(r.status, 0);
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
