// driver/options_test.cc
#include "driver/options.h"

#include <gtest/gtest.h>

#include <string>

#include "driver/diagnostics.h"
#include "driver/testing.h"
#include "driver/variables.h"

namespace kovran {
namespace {

TEST(Options, WordsBecomeAssignments) {
  TestRun t;
  OPTIONS(t.rs, "debug,PGSIZE=66,NOVERBOSE,TRACE,NOTRACE,LC=500,I=3,DUMP=-2,LNSIZE=+7");
  EXPECT_TRUE(t.rs.DEBUG);
  EXPECT_EQ(t.rs.PGSIZE, 66);
  EXPECT_FALSE(t.rs.VERBOSE);
  EXPECT_FALSE(t.rs.TRACE);
  EXPECT_EQ(t.rs.LC, 500);
  EXPECT_EQ(t.rs.I, '3');
  EXPECT_EQ(t.rs.DUMP, -2);
  EXPECT_EQ(t.rs.LNSIZE, 7);
  EXPECT_EQ(t.printed(), "");
}

TEST(Options, ValueConversions) {
  TestRun t;
  // A bare name gives 1B: a one-digit variable keeps its first character, "1".
  OPTIONS(t.rs, "DEBUG,T");
  EXPECT_EQ(t.rs.T, '1');
  OPTIONS(t.rs, "DMP=7,TEST=0,A=25,LC=0,MASK='ZZ9',LASTCOMPCOND='O'");
  EXPECT_TRUE(t.rs.DMP);    // a non-zero number sets a flag
  EXPECT_FALSE(t.rs.TEST);  // zero clears it
  EXPECT_EQ(t.rs.A, '2');   // the first character only
  EXPECT_EQ(t.rs.LC, 0);
  EXPECT_EQ(t.rs.MASK.view(), "ZZ9");
  EXPECT_EQ(t.rs.LASTCOMPCOND, 'O');
}

TEST(Options, AWordWithTxtKeepsItsCase) {
  TestRun t;
  OPTIONS(t.rs, "MASK='txt a'");
  EXPECT_EQ(t.rs.MASK.view(), "txt a");
  OPTIONS(t.rs, "mask='abc'");  // without TXT the whole word is upper-cased
  EXPECT_EQ(t.rs.MASK.view(), "ABC");
}

TEST(Options, AWordIsCutToTwentyFourCharacters) {
  TestRun t;
  // 27 characters: "LC=" and the first 21 digits are kept, ending in ...012.
  OPTIONS(t.rs, "LC=000000000000000000012345");
  EXPECT_EQ(t.rs.LC, 12);
}

// The console text of a PARM that must fail, and its status.
std::string failing(const char* parm, bool test = false) {
  TestRun t;
  t.rs.TEST = test;
  EXPECT_EQ(ended_with([&] { OPTIONS(t.rs, parm); }), ExitStatus::kError) << parm;
  return t.printed();
}

TEST(Options, Errors) {
  struct Case {
    const char* parm;
    const char* printed;
  };
  const Case cases[] = {
      {"NOW", "Syntax Error in PARM\n"},  // NO + W, which is not a run variable
      {"DEBUG,,TRACE", "Syntax Error in PARM\n"},
      {"DEBUG,", "Syntax Error in PARM\n"},
      {",DEBUG", "Syntax Error in PARM\n"},
      {"NO", "Syntax Error in PARM\n"},
      {"=5", "Syntax Error in PARM\n"},
      {"LC=X", "CONVERSION ERROR IN  OPTIONS , ONCODE= 1 , ONSOURCE= X\nSyntax Error in PARM\n"},
      {"PGSIZE=40000",
       "CONVERSION ERROR IN  OPTIONS , ONCODE= 2 , ONSOURCE= 40000\nSyntax Error in PARM\n"},
      {"I=A", "CONVERSION ERROR IN  OPTIONS , ONCODE= 1 , ONSOURCE= A\nSyntax Error in PARM\n"},
      {"T=", "CONVERSION ERROR IN  OPTIONS , ONCODE= 1 , ONSOURCE= \nSyntax Error in PARM\n"},
      {"MASK=ABC",
       "CONVERSION ERROR IN  OPTIONS , ONCODE= 1 , ONSOURCE= ABC\nSyntax Error in PARM\n"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.parm);
    EXPECT_EQ(failing(c.parm), c.printed);
  }
}

TEST(Options, TestDumpsTheParsersVariables) {
  EXPECT_EQ(failing("NOW", true),
            "_WORD_='NOW'\n"
            "_WRD_='NOW'\n"
            "_COMMAND_='W                     =0B;'\n"  // 22 padded characters kept
            "_DEBUG_='0'B\n");
}

TEST(Options, DebugEchoesEveryLaterAssignment) {
  TestRun t;
  OPTIONS(t.rs, "LC=1,_debug_,NODMP,PGSIZE=20");
  EXPECT_EQ(t.printed(),
            "DMP                   =0B;\n"
            "PGSIZE=20;\n");
}

TEST(Options, SeveralItemsInOneWord) {
  TestRun t;
  OPTIONS(t.rs, "LC=5;PGSIZE=9");
  EXPECT_EQ(t.rs.LC, 5);
  EXPECT_EQ(t.rs.PGSIZE, 9);
}

TEST(Dump, ValueLayout) {
  TestRun t;
  t.rs.BUFFER = std::string_view("a\x01\xFF  ", 5);
  t.rs.HEX00 = '\0';
  const std::vector<Variable> vars = run_variables(t.rs);
  auto value = [&](const char* name) { return dump_value(*find_variable(vars, name)); };
  EXPECT_EQ(value("BUFFER"), "'a<01><FF>'");  // trailing blanks dropped
  EXPECT_EQ(value("HEX00"), "'<00>'");
  EXPECT_EQ(value("EOF1"), "'1'B");
  EXPECT_EQ(value("EOF"), "'0'B");
  EXPECT_EQ(value("PGSIZE"), "60");
  EXPECT_EQ(value("T"), "'0'");
  EXPECT_EQ(value("F1"), "''");  // a blank area
  EXPECT_EQ(value("TODAY"), "''");
}

TEST(Dump, OneLinePerVariableInRegistryOrder) {
  TestRun t;
  t.rs.LC = -4;
  dump_variables(t.rs);
  const std::string out = t.printed();
  EXPECT_EQ(out.substr(0, out.find("PGSIZE")),
            "DEBUG='0'B\nTRACE='0'B\nVERBOSE='0'B\nDMP='0'B\nTEST='0'B\n");
  EXPECT_NE(out.find("\nLC=-4\n"), std::string::npos);
  EXPECT_NE(out.find("\nTABLE_DEF.RSLT=''\n"), std::string::npos);
  for (const Variable& v : run_variables(t.rs)) {
    EXPECT_NE(("\n" + out).find("\n" + v.name + "="), std::string::npos) << v.name;
  }
}

}  // namespace
}  // namespace kovran
