// tables/tables.h - the one lookup table of a run.
#ifndef KOVRAN_TABLES_TABLES_H_
#define KOVRAN_TABLES_TABLES_H_

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <string_view>

#include "driver/run_state.h"

namespace kovran {

void ALLOC_TABLE(RunState& rs);  // a new entry at the end of the list
void LOAD_TABLE(RunState& rs);   // the entry's text from BLOCK
void SORT_RTN(RunState& rs);     // entry index, then the entry texts sorted in place
void SEARCH(RunState& rs);       // L name E|H|L
void BIN_SEARCH(RunState& rs);   // exact search over the entry index

// Checks made before any record is read (a table statement's descriptions out of range);
// raises the error condition with a message naming the statement.
void check_table(RunState& rs);

// Longest key and longest result part: an entry text holds at most 80 characters.
constexpr int kMaxEntry = 80;

// Length of a field description (end column - start column + 1) by PARSE_FLD, which leaves
// FLD, FILE_CODE, N1 and N2 set. A literal or an omitted description has length 1.
int description_length(RunState& rs, std::string_view description);

// The key of an entry: its first m characters, or fewer when the text is shorter (the caller
// compares blank-extended, so nothing past the text is ever read).
inline std::string_view entry_key(const TableEntry& entry, int m) {
  const std::string_view text = entry.TABLENTRY.view();
  const std::size_t width = static_cast<std::size_t>(m < 0 ? 0 : m > kMaxEntry ? kMaxEntry : m);
  return text.substr(0, width);
}

// A key of at most 8 characters as one number that orders as compare_padded orders keys blank-
// extended to m characters (m <= 8): the text blank-filled to m characters, the first
// character highest, zeros after.
inline std::uint64_t key_word(std::string_view key, std::size_t m) {
  std::uint64_t word = 0;
  for (std::size_t k = 0; k < 8; ++k) {
    const unsigned char c = k < key.size() ? static_cast<unsigned char>(key[k]) : ' ';
    word = word << 8 | (k < m ? c : 0u);
  }
  return word;
}

// key_word of the n characters at p, with 8 bytes readable from p (the start of a larger
// buffer), in one load.
inline std::uint64_t key_word_in_buffer(const char* p, std::size_t n, std::size_t m) {
  // The first k bytes of a word, k from 0 to 8.
  const auto first = [](std::size_t k) { return k == 0 ? 0 : ~std::uint64_t{0} << (8 * (8 - k)); };
  std::uint64_t x;
  std::memcpy(&x, p, 8);
  x = __builtin_bswap64(x);  // the first character highest
  const std::size_t keep = std::min(n, m);
  return (x & first(keep)) | (0x2020202020202020 & first(m) & ~first(keep));
}

// The mode of a lookup statement (word 3): E, H or L; a blank for any other word.
char SEARCH_MODE(const Node& node);

}  // namespace kovran

#endif  // KOVRAN_TABLES_TABLES_H_
