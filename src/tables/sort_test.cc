// tables/sort_test.cc
#include <gtest/gtest.h>

#include "driver/testing.h"
#include "tables/tables.h"

namespace kovran {
namespace {

using Texts = std::vector<std::string>;

Texts sorted_texts(const char* table_statement, const Texts& statements) {
  TestRun t;
  t.compile({table_statement});
  t.entries(statements);
  SORT_RTN(t.rs);
  EXPECT_TRUE(t.rs.table_sorted);
  EXPECT_EQ(t.rs.entry_index.size(), statements.size());
  return t.entry_texts();
}

TEST(TableSort, NoneOrOneEntryIsLeftAsItIs) {
  EXPECT_EQ(sorted_texts("T X 1:1.2 2:1.2", {}), Texts{});
  EXPECT_EQ(sorted_texts("T X 1:1.2 2:1.2", {"'ZZ1'"}), Texts{"ZZ1"});
}

TEST(TableSort, DescendingInputComesOutAscendingWithNumbersInPlace) {
  TestRun t;
  t.compile({"T X 1:1.2 2:1.1"});
  t.entries({"'09I'", "'08H'", "'07G'", "'06F'", "'05E'", "'04D'", "'03C'", "'02B'", "'01A'"});
  SORT_RTN(t.rs);
  EXPECT_EQ(t.entry_texts(),
            (Texts{"01A", "02B", "03C", "04D", "05E", "06F", "07G", "08H", "09I"}));
  // Only the texts moved: the list, its numbers and the index are in load order.
  std::int16_t number = 1;
  for (const TableEntry* e = t.rs.first_entry; e != nullptr; e = e->next, ++number) {
    EXPECT_EQ(e->TILN, number);
    EXPECT_EQ(t.rs.entry_index[static_cast<std::size_t>(number - 1)], e);
  }
}

TEST(TableSort, EqualKeysEndWhereTheHalvingGapsPutThem) {
  // Keys B C A B; gap 2 exchanges positions 1,3 and 2,4 (Ar Bs Bp Cq), then gap 1 finds
  // every neighbour in order: Bs (loaded last) now stands before Bp.
  EXPECT_EQ(sorted_texts("T X 1:1 2:2", {"'Bp'", "'Cq'", "'Ar'", "'Bs'"}),
            (Texts{"Ar", "Bs", "Bp", "Cq"}));
  // Keys B B A: gap 1 alone walks A back past both, which keep their order.
  EXPECT_EQ(sorted_texts("T X 1:1 2:2", {"'Ba'", "'Bb'", "'Ac'"}), (Texts{"Ac", "Ba", "Bb"}));
}

TEST(TableSort, OnlyTheArgumentPartIsCompared) {
  EXPECT_EQ(sorted_texts("T X 1:1.3 2:1.1", {"'B01x'", "'A99y'"}), (Texts{"A99y", "B01x"}));
  EXPECT_EQ(sorted_texts("T X 1:1.3 2:1.1", {"'A01z'", "'A01a'"}), (Texts{"A01z", "A01a"}));
}

TEST(TableSort, ShortTextsAreBlankExtendedAndBytesAreUnsigned) {
  // "AB" compares as "AB  ", above "AB" followed by 0x01; 0xC9 is above every letter.
  EXPECT_EQ(sorted_texts("T X 1:1.4 2:1.2", {"'\xC9"
                                             "ABR'",
                                             "'AB'",
                                             "'AB\x01"
                                             "0R'",
                                             "'AA00R'"}),
            (Texts{"AA00R",
                   "AB\x01"
                   "0R",
                   "AB",
                   "\xC9"
                   "ABR"}));
}

}  // namespace
}  // namespace kovran
