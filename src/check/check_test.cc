// check/check_test.cc - what the golden cases cannot show at once: the statuses of a check,
// that it leaves no file behind, the script lines of the stop nodes and of ";" splits, and the
// record-locality line with its status.
#include "check/check.h"

#include <gtest/gtest.h>

#include <filesystem>

#include "driver/testing.h"

namespace kovran {
namespace {

TEST(Check, StatusesAndWhatStandardErrorSays) {
  struct Case {
    const char* parm;
    const char* program;  // nullptr: no PROGRAM at all
    int status;
    const char* told;  // the whole standard error
  };
  const Case cases[] = {
      {"I=1", "M 1:1.5 2:1.5\nW 2\n", 0, ""},
      {"T=3", "W 2\n", 4,
       "kovran: warning: T=3 is no read mode 0, 1 or 2: no record is ever read and the passes "
       "go on until the script stops them or LC=n does\n"},
      {"I=1,LC=X", "W 2\n", 12,
       "kovran: Syntax Error in PARM: word \"LC=X\": LC wants a number, not \"X\"\n"},
      {",I=1", "W 2\n", 12,
       "kovran: Syntax Error in PARM: word \"\": an empty word (two commas together, or one at "
       "an end)\n"},
      {"I=1", nullptr, 12, "kovran: check stopped: CANNOT OPEN PROGRAM ("},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.parm);
    ScratchDir dir;
    if (c.program != nullptr)
      dir.write("PROGRAM", c.program);
    const RunResult r = run_in(dir, c.parm, {"--check"});
    EXPECT_EQ(r.status, c.status);
    EXPECT_EQ(r.stderr_text.substr(0, std::string(c.told).size()), c.told);
    EXPECT_EQ(r.sysprint, "");  // nothing on standard output, not even the banner
  }
}

TEST(Check, CreatesNoFileAndPrintsNoConsole) {
  ScratchDir dir;
  dir.write("PROGRAM", "M 1:1.5 2:1.5\nW 2\nW L 1\n");
  const RunResult r =
      run_in(dir, "I=1,DUMP=5,DMP,TRACE", {"--check", "--sysprint", dir.path("SYSPRINT")});
  EXPECT_EQ(r.status, 0);
  EXPECT_EQ(r.stderr_text, "");
  int files = 0;
  for ([[maybe_unused]] const auto& entry : std::filesystem::directory_iterator(dir.path("")))
    ++files;
  EXPECT_EQ(files, 1);  // PROGRAM alone: no FILE2, LISTING, FILEDUMP or SYSPRINT
}

TEST(Check, StatementMapNamesTheLineOfEveryStatement) {
  // Comments take no number, ";" puts two statements on one line, a table entry makes no
  // node, and the stop node before the first subroutine stands on no line.
  ScratchDir dir;
  dir.write("PROGRAM", "* heading\nM 1:1 2:1 ; W 2\n\n  B SUB\nS SUB\n* body\nR\n");
  const RunResult r = run_in(dir, "I=1", {"--check", "--verbose"});
  const std::string p = dir.path("PROGRAM");
  EXPECT_EQ(r.status, 0);
  EXPECT_EQ(r.stderr_text, p + ":2: statement 1: M 1:1 2:1\n" +                           //
                               p + ":2: statement 2: W 2\n" +                             //
                               p + ":4: statement 3: B SUB\n" +                           //
                               p + ": statement 4: U STOP PROGRAM (added by kovran)\n" +  //
                               p + ":5: statement 5: S SUB\n" +                           //
                               p + ":7: statement 6: R\n");
}

TEST(Check, RecordLocalLineAndStatus) {
  struct Case {
    const char* parm;
    const char* program;
    int status;
    const char* note;  // a text of the notes, or "" for none
    const char* line;  // the last line, after "PATH: record-local: "
  };
  const Case cases[] = {
      {"I=1", "M 1:1.5 4:1.5\nW 4\nM 1:1.5 2:1.5\nW 2\n", 0, "",
       "yes (input FILE1; output FILE2, FILE4)"},
      {"I=3", "C S:1.5\n", 0, "", "yes (input FILE3; no output file)"},
      // A finding of the check makes the status 4 even for a record-local job.
      {"I=1", "M 1:1.5 2:1.5\nQ\nW 2\n", 4, "", "yes (input FILE1; output FILE2)"},
      {"T=1,A=1,B=2", "K 1:1 2:1\nI M\nM 1:1.5 3:1.5\nW 3\nU\n", 4,
       "kovran: note: not record-local: T=1 reads two files matched by key", "no (1 reason)"},
      {"I=1", "W 1\n", 4, ": note: not record-local: W 1 writes FILE1, the input file",
       "no (1 reason)"},
      {"I=1,TRACE", "W 2\n", 4, "kovran: note: not record-local: TRACE traces the whole run",
       "no (1 reason)"},
      // A count or flag set by PARM would start every block; PGSIZE only pages LISTING.
      {"I=1,PGSIZE=20,CNT2=5", "W 2\n", 4,
       "kovran: note: not record-local: PARM sets CNT2: every block would start with it",
       "no (1 reason)"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.program);
    ScratchDir dir;
    dir.write("PROGRAM", c.program);
    const RunResult r = run_in(dir, c.parm, {"--record-local"});
    EXPECT_EQ(r.status, c.status);
    EXPECT_NE(r.stderr_text.find(c.note), std::string::npos) << r.stderr_text;
    const std::string last = dir.path("PROGRAM") + ": record-local: " + c.line + "\n";
    ASSERT_GE(r.stderr_text.size(), last.size());
    EXPECT_EQ(r.stderr_text.substr(r.stderr_text.size() - last.size()), last);
  }
  // A subroutine called from a hundred places, its ninety statements followed apart for each
  // return point, is more than the check follows so: it follows them once, with them all.
  std::string calls(100 * 4, ' ');
  for (int k = 0; k < 100; ++k) calls.replace(static_cast<std::size_t>(4 * k), 4, "B X\n");
  calls += "W 2\nS X\n";
  for (int k = 1; k <= 90; ++k)
    calls += "M 1:" + std::to_string(k) + " 2:" + std::to_string(k) + "\n";
  ScratchDir many;
  many.write("PROGRAM", calls + "R\n");
  EXPECT_EQ(run_in(many, "I=1", {"--record-local"}).stderr_text,
            many.path("PROGRAM") + ": record-local: yes (input FILE1; output FILE2)\n");
  // Without --record-local the check says nothing of it.
  ScratchDir dir;
  dir.write("PROGRAM", "W L 1\n");
  EXPECT_EQ(run_in(dir, "I=1", {"--check"}).stderr_text, "");
}

}  // namespace
}  // namespace kovran
