// tables/search.cc - the table lookup: exact by halving the index, or the nearest entry above
// or below the argument by walking the sorted list.
#include <algorithm>
#include <optional>

#include "driver/diagnostics.h"
#include "fields/field_ref.h"
#include "tables/tables.h"

namespace kovran {
namespace {

// Stores the result part of `entry` (from position N to its end) into the result field.
// A literal or unknown result area reports word 3 and stores nothing.
void store_result(RunState& rs, const TableEntry& entry) {
  const std::string_view text = entry.TABLENTRY.view();
  const std::size_t from = rs.N > 1 ? static_cast<std::size_t>(rs.N - 1) : 0;
  const std::string_view result = from < text.size() ? text.substr(from) : std::string_view();
  const std::optional<Field> target =
      required_field(rs, parse_text(rs, rs.TABLE_DEF.RSLT, rs.TABLE_DEF.rslt_parse), 3);
  if (!target)
    return;
  store_field(*target, result);  // the entry's text lies outside every area
}

// SOURCE compared with the key of `entry`: <0, 0 or >0.
int compare_key(const RunState& rs, const TableEntry& entry) {
  return compare_padded(rs.SOURCE.view(), entry_key(entry, rs.M));
}

// Mode H: the first entry along the list whose key is not below SOURCE.
void search_high(RunState& rs) {
  const TableEntry* e = rs.first_entry;
  for (int v = 1; v <= rs.TABLE_DEF.TABL_SIZE && e != nullptr; ++v, e = e->next) {
    rs.V = static_cast<std::int16_t>(v);
    if (compare_key(rs, *e) <= 0) {
      store_result(rs, *e);
      return;
    }
  }
  rs.V = static_cast<std::int16_t>(std::min(rs.TABLE_DEF.TABL_SIZE + 1, INT16_MAX));
}

// Mode L: the last entry along the list whose key is not above SOURCE.
void search_low(RunState& rs) {
  const TableEntry* e = rs.last_entry;
  for (int v = rs.TABLE_DEF.TABL_SIZE; v > 0 && e != nullptr; --v, e = e->previous) {
    rs.V = static_cast<std::int16_t>(v);
    if (compare_key(rs, *e) >= 0) {
      store_result(rs, *e);
      return;
    }
  }
  rs.V = 0;
}

}  // namespace

// BIN_SEARCH   exact search for SOURCE over the entry index, halving LO..HI
// Leaves:  MATCH set when an entry's key (its first M characters) equals SOURCE, and then
//          current_entry = that entry; LO, HI, MID, FLD = the last bounds and key examined.
void BIN_SEARCH(RunState& rs) {
  // NOTE: nothing can observe LO, HI, MID or FLD while the search runs: they are kept in
  // locals and stored when it ends, as the step-by-step search leaves them.
  const int size = static_cast<int>(rs.entry_index.size());
  const bool kept_keys =
      rs.M == rs.sorted_key_length && rs.sorted_keys.size() == rs.entry_index.size();
  const std::string_view argument = rs.SOURCE.view();
  int lo = 1;
  int hi = size;
  int mid = rs.MID;
  int examined = 0;  // position of the last key examined, 0 for none
  bool match = false;
  // Halves LO..HI by compare(k), the argument against the key at index k: <0, 0 or >0.
  const auto halve = [&](auto compare) {
    while (hi >= lo && !match) {
      mid = (lo + hi) / 2;
      examined = mid;
      const std::size_t k = static_cast<std::size_t>(mid - 1);
      const int c = compare(k);
      if (c == 0) {
        match = true;
        rs.current_entry = rs.entry_index[k];
      } else if (c > 0) {
        lo = mid + 1;
      } else {
        hi = mid - 1;
      }
    }
  };
  const auto m = static_cast<std::size_t>(rs.sorted_key_length);
  if (kept_keys && m <= 8 && rs.sorted_key_words.size() == rs.sorted_keys.size() &&
      argument.size() <= m) {
    // Short keys, and an argument not longer than they are: compared as numbers.
    const std::uint64_t word = key_word_in_buffer(argument.data(), argument.size(), m);
    if (rs.search_memo.empty()) {  // four slots an entry, at most 2^16
      std::size_t slots = 1024;
      while (slots < 4 * rs.sorted_key_words.size() && slots < 65536) slots *= 2;
      rs.search_memo.resize(slots);
    }
    const int shift = 64 - __builtin_ctzll(rs.search_memo.size());
    RunState::SearchMemo& memo = rs.search_memo[(word * 0x9E3779B97F4A7C15) >> shift];
    if (memo.valid && memo.word == word && size > 0) {
      lo = memo.lo, hi = memo.hi, mid = memo.mid, examined = memo.examined, match = memo.match;
      if (match)
        rs.current_entry = memo.entry;
    } else {
      const std::uint64_t* keys = rs.sorted_key_words.data();
      halve([word, keys](std::size_t k) { return word < keys[k] ? -1 : word > keys[k] ? 1 : 0; });
      if (size > 0) {  // an empty table leaves MID as it was: nothing to keep
        memo = {word,
                match ? rs.current_entry : nullptr,
                static_cast<std::int16_t>(lo),
                static_cast<std::int16_t>(hi),
                static_cast<std::int16_t>(mid),
                static_cast<std::int16_t>(examined),
                match,
                true};
      }
    }
  } else if (kept_keys) {
    halve([&](std::size_t k) { return compare_padded(argument, rs.sorted_keys[k]); });
  } else {
    // A key has at most 80 characters: FLD holds it uncut.
    halve([&](std::size_t k) {
      return compare_padded(argument, entry_key(*rs.entry_index[k], rs.M));
    });
  }
  rs.LO = static_cast<std::int16_t>(lo);
  rs.HI = static_cast<std::int16_t>(hi);
  rs.MID = static_cast<std::int16_t>(mid);
  rs.MATCH = match;
  if (examined > 0) {
    rs.settle_code();  // FILE_CODE of the argument's parse stays; FLD is the key examined
    rs.FLD = entry_key(*rs.entry_index[static_cast<std::size_t>(examined - 1)], rs.M);
  }
}

// SEARCH   L name mode                                                     words 1, 2, 3
// Takes the argument from the field ARG of the table statement, finds an entry and copies its
// result part into the field RSLT, left-aligned, cut or blank-filled to the field's width.
// Mode E: the entry whose key equals the argument. Mode H: the entry with the smallest key
// not below it. Mode L: the entry with the largest key not above it. Keys are the first M
// characters of an entry (M the argument length), compared blank-extended. Word 2 is not
// examined. When no entry is found, or no table was defined, nothing is stored.
// NOTE: any other mode word does nothing at all, not even fetch the argument.
// Errors:  unknown argument area -> ERROR_RTN(2); the previous SOURCE is the argument.
//          literal or unknown result area -> ERROR_RTN(3); nothing is stored.
// Leaves:  SOURCE = the argument (kept when ARG is a literal); M = its length, N = M + 1;
//          V = the walk counter of the range modes; MATCH, LO, HI, MID of the exact mode.
void SEARCH(RunState& rs) {
  const char mode = static_cast<char>(rs.current_node->form);  // SEARCH_MODE
  const bool exact = mode == 'E';
  const bool high = mode == 'H';
  const bool low = mode == 'L';
  if (!exact && !high && !low)
    return;

  const Operand& argument_op = parse_text(rs, rs.TABLE_DEF.ARG, rs.TABLE_DEF.arg_parse);
  if (!argument_op.literal())
    fetch_field(rs, argument_op, 2, rs.SOURCE);
  rs.M = static_cast<std::int16_t>(rs.N2 - rs.N1 + 1);
  rs.N = static_cast<std::int16_t>(rs.M + 1);

  // Without a table statement naming the table there is no sorted list and no index.
  if (!rs.table_sorted)
    return;
  if (exact) {
    BIN_SEARCH(rs);
    if (rs.MATCH)
      store_result(rs, *rs.current_entry);
  } else if (high) {
    search_high(rs);
  } else {
    search_low(rs);
  }
}

char SEARCH_MODE(const Node& node) {
  const std::string_view mode = node.word(3);
  for (const char m : {'E', 'H', 'L'}) {
    if (word_is(mode, std::string_view(&m, 1)))
      return m;
  }
  return ' ';
}

}  // namespace kovran
