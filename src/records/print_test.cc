// records/print_test.cc
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "driver/testing.h"
#include "records/records.h"

namespace kovran {
namespace {

// Compiles `statement` (a W L statement) and prints `text` with it.
void print(TestRun& t, const std::string& statement, const std::string& text) {
  t.compile({statement});
  t.rs.F0 = text;
  PRINT_RTN(t.rs);
}

// Closes the files and returns the bytes of LISTING.
std::string listing_bytes(TestRun& t, const ScratchDir& dir) {
  close_output_files(t.rs);
  return dir.read("LISTING");
}

struct Print {
  const char* statement;
  const char* text;
  std::int32_t line;  // line number after the print
};

struct ListingCase {
  const char* name;
  std::int16_t pgsize;
  std::vector<Print> prints;
  std::string bytes;
};

TEST(PrintRtn, PositionsAndSeparators) {
  const std::string ff = "\n\f";
  const std::vector<ListingCase> cases = {
      {"first line with a skip is line 1", 60, {{"W L 2", "A", 1}, {"W L 1", "B", 2}}, "A\nB\n"},
      {"first line overprinted is line 1", 60, {{"W L", "A", 1}, {"W L 3", "B", 4}}, "A\n\n\nB\n"},
      {"overprint keeps the line", 60, {{"W L 1", "A", 1}, {"W L 0", "B", 1}}, "A\rB\n"},
      {"first line with S 05", 60, {{"W L S 05", "A", 5}}, "\n\n\n\nA\n"},
      {"S 5 is line 50", 60, {{"W L S 5", "A", 50}}, std::string(49, '\n') + "A\n"},
      {"S ahead on the page", 60, {{"W L 1", "A", 1}, {"W L S 04", "B", 4}}, "A\n\n\nB\n"},
      {"S already passed",
       60,
       {{"W L S 03", "A", 3}, {"W L S 02", "B", 2}},
       "\n\nA" + ff + "\nB\n"},
      {"S on the current line",
       60,
       {{"W L S 03", "A", 3}, {"W L S 03", "B", 3}},
       "\n\nA" + ff + "\n\nB\n"},
      {"S 00 is line 1 of a new page",
       60,
       {{"W L 1", "A", 1}, {"W L S 00", "B", 1}},
       "A" + ff + "B\n"},
      {"S beyond the page", 5, {{"W L 1", "A", 1}, {"W L S 06", "B", 1}}, "A" + ff + "B\n"},
      {"S beyond the page first", 5, {{"W L S 06", "A", 1}}, "A\n"},
      {"H first is line 1", 60, {{"W L H", "A", 1}, {"W L 1", "B", 2}}, "A\nB\n"},
      {"H later starts a page", 60, {{"W L 1", "A", 1}, {"W L H", "B", 1}}, "A" + ff + "B\n"},
      {"page full",
       3,
       {{"W L 1", "A", 1}, {"W L 1", "B", 2}, {"W L 1", "C", 3}, {"W L 1", "D", 1}},
       "A\nB\nC" + ff + "D\n"},
      {"skip past the page",
       3,
       {{"W L 1", "A", 1}, {"W L 1", "B", 2}, {"W L 2", "C", 1}},
       "A\nB" + ff + "C\n"},
      {"skip to the last line", 3, {{"W L 1", "A", 1}, {"W L 2", "B", 3}}, "A\n\nB\n"},
      {"page size 0 is taken as 1", 0, {{"W L 1", "A", 1}, {"W L 1", "B", 1}}, "A" + ff + "B\n"},
      {"negative page size", -4, {{"W L S 01", "A", 1}, {"W L S 01", "B", 1}}, "A" + ff + "B\n"},
      {"control by low four bits", 60, {{"W L 1", "A", 1}, {"W L B", "B", 3}}, "A\n\nB\n"},
      {"HX is not H but a skip of 8",
       60,
       {{"W L 1", "A", 1}, {"W L HX", "B", 9}},
       "A" + std::string(8, '\n') + "B\n"},
      {"S with a word is a skip of 3", 60, {{"W L 1", "A", 1}, {"W L SX", "B", 4}}, "A\n\n\nB\n"},
      {"empty lines are printed", 60, {{"W L 1", "", 1}, {"W L 1", "", 2}}, "\n\n"},
  };
  for (const ListingCase& c : cases) {
    SCOPED_TRACE(c.name);
    ScratchDir dir;
    TestRun t(dir);
    t.rs.PGSIZE = c.pgsize;
    EXPECT_EQ(t.rs.listing_line, 0);
    for (const Print& p : c.prints) {
      print(t, p.statement, p.text);
      EXPECT_EQ(t.rs.listing_line, p.line) << p.statement;
    }
    EXPECT_EQ(listing_bytes(t, dir), c.bytes);
  }
}

TEST(PrintRtn, ClearsTheLineAndFixesThePageSizeAtOpening) {
  ScratchDir dir;
  TestRun t(dir);
  t.rs.PGSIZE = 2;
  t.rs.L.fill('X');
  print(t, "W L 1", "A");
  EXPECT_EQ(t.rs.L.view(), std::string(166, ' '));
  t.rs.PGSIZE = 60;  // too late: the page size was fixed by the first print
  print(t, "W L 1", "B");
  print(t, "W L 1", "C");
  EXPECT_EQ(listing_bytes(t, dir), "A\nB\n\fC\n");
}

TEST(PrintRtn, NoListingWithoutAPrint) {
  ScratchDir dir;
  TestRun t(dir);
  EXPECT_EQ(listing_bytes(t, dir), "");
  EXPECT_FALSE(t.rs.listing_file.is_open());
  EXPECT_FALSE(dir.exists("LISTING"));
}

TEST(PrintRtn, ListingThatCannotBeOpenedEndsTheRun) {
  Bindings b;
  b.path[static_cast<int>(FileId::LISTING)] = "/nonexistent-dir/LISTING";
  TestRun t(std::move(b));
  EXPECT_EQ(t.execute("W L 1", PRINT_RTN), ExitStatus::kError);
  EXPECT_NE(t.printed().find("CANNOT OPEN LISTING (/nonexistent-dir/LISTING)"), std::string::npos);
}

}  // namespace
}  // namespace kovran
