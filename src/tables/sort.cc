// tables/sort.cc - the entry index and the table sort.
#include <utility>

#include "tables/tables.h"

namespace kovran {

// SORT_RTN   builds the entry index, then sorts the entry texts in place by their keys
// The index holds the entries in list order. The sort is a Shell sort with gaps halved from
// the entry count down to 1; the key of an entry is its first m characters, m the length of
// the argument description, compared blank-extended on unsigned codes.
// NOTE: only the texts move: every entry keeps its place in the list and its TILN, so after
// the sort TILN no longer tells which script line a text came from. Entries with equal keys
// end where this exact algorithm leaves them; the lookup depends on it.
// Leaves:  entry_index built, table_sorted set; FLD, FILE_CODE, N1, N2 = the parse of ARG.
void SORT_RTN(RunState& rs) {
  rs.entry_index.clear();
  for (TableEntry* e = rs.first_entry; e != nullptr; e = e->next) rs.entry_index.push_back(e);
  rs.table_sorted = true;

  const int m = description_length(rs, rs.TABLE_DEF.ARG.view());
  // Positions are 1-based as in the index; at(p) is the entry at position p.
  auto at = [&rs](int p) -> TableEntry& {
    return *rs.entry_index[static_cast<std::size_t>(p - 1)];
  };
  const int n = static_cast<int>(rs.entry_index.size());
  int g = n;
  while (g > 1) {
    g /= 2;
    for (int i = 1; i <= n - g; ++i) {
      int j = i;
      int k = i + g;
      while (j > 0) {
        if (compare_padded(entry_key(at(j), m), entry_key(at(k), m)) <= 0)
          break;
        std::swap(at(j).TABLENTRY, at(k).TABLENTRY);
        k = j;
        j -= g;
      }
    }
  }
  // The texts stay where the sort left them: the exact search reads their keys from here.
  rs.sorted_keys.clear();
  for (const TableEntry* e : rs.entry_index) rs.sorted_keys.push_back(entry_key(*e, m));
  rs.sorted_key_length = m;
  rs.sorted_key_words.clear();
  rs.search_memo.clear();
  if (m <= 8) {
    for (const std::string_view key : rs.sorted_keys)
      rs.sorted_key_words.push_back(key_word(key, static_cast<std::size_t>(m)));
  }
}

}  // namespace kovran
