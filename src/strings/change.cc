// strings/change.cc - the change instruction: replace occurrences of a text in area S.
#include <algorithm>
#include <cstring>

#include "fields/field_ref.h"
#include "strings/strings.h"
#include "strings/text_search.h"

namespace kovran {
namespace {

constexpr std::size_t kWidth = kAreaWidth;  // columns of S

// A column text: its last six characters right-aligned and blank-filled in A_STRING, read as
// six digits by the low four bits of each character (a blank counts as 0).
std::int16_t column_number(RunState& rs, std::string_view text) {
  if (text.size() > rs.A_STRING.size())
    text = text.substr(text.size() - rs.A_STRING.size());
  rs.A_STRING.fill(' ');
  std::copy(text.begin(), text.end(), rs.A_STRING.data() + rs.A_STRING.size() - text.size());
  // NOTE: the number is kept in 16 bits, so 40000 wraps to -25536; a negative first column
  // lets every occurrence through, a negative last column lets none.
  return wrap16(low_four_bits_number(rs.A_STRING.view(), rs.A_STRING.size()));
}

// S := its first `at` characters, REPLACE, then what followed the `old_size` characters of the
// occurrence; the rest shifts left (blank-filled at the end) or right (cut at the end). Only
// the part of S below its extent (or the occurrence's end) can hold anything but blanks, so
// only that part moves.
void replace_at(RunState& rs, std::size_t at, std::size_t old_size) {
  const std::string_view replacement = rs.REPLACE.view();
  const std::size_t tail_from = at + old_size;  // the occurrence lies inside S
  const std::size_t tail_to = at + replacement.size();
  const std::size_t end = std::max(rs.S.extent(), tail_from);  // blanks from here on
  const std::size_t kept = tail_to < kWidth ? std::min(end - tail_from, kWidth - tail_to) : 0;
  const std::size_t copied = std::min(replacement.size(), kWidth - at);
  char* s = rs.S.columns(0, std::max(std::min(tail_to, kWidth) + kept, at + copied));
  if (tail_to < kWidth) {
    std::memmove(s + tail_to, s + tail_from, kept);
    if (tail_to + kept < end)  // what the tail left behind when it moved left
      std::memset(s + tail_to + kept, ' ', end - tail_to - kept);
  }
  std::memcpy(s + at, replacement.data(), copied);
}

// Position (from 1) of the first occurrence of `search` in S from column `from` (0-based) on,
// 0 for none. An occurrence that holds a non-blank character begins below the extent, so the
// search looks no further unless the search text is all blanks.
std::size_t find_in_s(const RunState& rs, std::size_t from, std::string_view search) {
  std::string_view s = rs.S.view();
  if (search.find_first_not_of(' ') != std::string_view::npos)
    s = s.substr(0, std::min(kWidth, rs.S.extent() + search.size() - 1));
  return from < s.size() ? find_text(s.substr(from), search) : 0;
}

}  // namespace

// CHANGE_RTN   CH|A search 'replacement' | CH|A search from/to 'replacement'
//              | CH|A search column 'replacement'                     words 1, 2, 3, 4
// Replaces occurrences of the search text in area S that begin within the column range
// (all of S when word 3 is quoted). Each search resumes one column after the start of the
// previous occurrence, replaced or not, so a replacement holding the search text past its
// first column is changed in turn; the loop still ends, since U grows on every pass and
// stops past the last column of the range or of S.
// Errors:  none. Omitted words 3 and 4 give the range 0 to 0: nothing changes.
// Leaves:  TARGET = the search text, REPLACE, COL1, COL2, A_STRING = the last column text,
//          U and V = the last occurrence and offset.
void CHANGE_RTN(RunState& rs) {
  const Node& node = *rs.current_node;
  rs.COL1 = 1;
  rs.COL2 = static_cast<std::int16_t>(kWidth);
  rs.TARGET = strip_char(node.word(2), rs.QUOTE);
  const std::string_view range = node.word(3);
  if (!range.empty() && range.front() == rs.QUOTE) {
    rs.REPLACE = strip_char(range, rs.QUOTE);
  } else {
    const std::size_t slash = range.find('/');
    if (slash == std::string_view::npos) {
      rs.COL1 = rs.COL2 = column_number(rs, range);
    } else {
      rs.COL1 = column_number(rs, range.substr(0, slash));
      rs.COL2 = column_number(rs, range.substr(slash + 1));
    }
    rs.REPLACE = strip_char(node.word(4), rs.QUOTE);
  }

  // Moves into S never lower its extent; a shift right raises it. Make it exact first, so
  // that the searches and shifts below stay within the text.
  rs.S.tighten();
  const std::string_view search = rs.TARGET.view();
  rs.V = 0;
  rs.U = static_cast<std::int16_t>(find_in_s(rs, 0, search));
  while (rs.U >= 1 && rs.U <= rs.COL2) {
    const std::size_t at = static_cast<std::size_t>(rs.U - 1);
    if (rs.U >= rs.COL1)
      replace_at(rs, at, search.size());
    // U stays within S, so U + V is at most its width.
    rs.V = static_cast<std::int16_t>(find_in_s(rs, at + 1, search));
    if (rs.V == 0)
      break;
    rs.U = static_cast<std::int16_t>(rs.U + rs.V);
  }
}

}  // namespace kovran
