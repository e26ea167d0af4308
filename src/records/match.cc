// records/match.cc - two files read in step by key: the key statement, the keys, and the read
// step of the one-to-one (T=1) and one-to-many (T=2) modes.
#include <string>

#include "driver/diagnostics.h"
#include "fields/field_ref.h"
#include "records/records.h"

namespace kovran {
namespace {

constexpr std::size_t kKeyMax = 80;

bool match_mode(const RunState& rs) { return rs.T == '1' || rs.T == '2'; }

// The key columns FROM..TO of BUFFER appended to `key`; columns past the record's end are
// blanks, as the blank-padded record area shows them.
void append_key_range(const RunState& rs, const KeyRange& range, Varying<kKeyMax>& key) {
  if (range.FROM > range.TO)
    return;
  const std::size_t count = std::min(
      static_cast<std::size_t>(std::int64_t{range.TO} - range.FROM + 1), kKeyMax - key.size());
  const std::string_view record = rs.BUFFER.view();
  const auto from = static_cast<std::size_t>(range.FROM - 1);  // huge for a FROM below 1
  if (range.FROM >= 1 && from + count <= record.size()) {      // the usual key, in one step
    key.append(record.substr(from, count));
    return;
  }
  for (std::size_t k = 0; k < count; ++k) {
    const std::size_t at = static_cast<std::size_t>(range.FROM + static_cast<std::int32_t>(k) - 1);
    key.append(at < record.size() ? record.substr(at, 1) : std::string_view(" "));
  }
}

void build_key(RunState& rs, const KeyRange (&ranges)[4], Varying<kKeyMax>& key) {
  key.clear();
  for (int k = 0; k < rs.EXTENT && k < 4; ++k) append_key_range(rs, ranges[k], key);
}

// Warns once per file when a key is lower than the one before it: the files are then paired
// as they come, which is rarely what the script wants.
void check_key_order(RunState& rs, int n, const Varying<kKeyMax>& key) {
  const long record = rs.in_files[n].records_read();
  if (record > 1 && !rs.key_order_warned[n] &&
      compare_padded(key.view(), rs.last_key[n].view()) < 0) {
    rs.key_order_warned[n] = true;
    warning(rs, std::string("WARNING: ") + logical_name(n) + " RECORD " + std::to_string(record) +
                    " IS OUT OF KEY ORDER; RECORDS ARE PAIRED AS THEY COME");
  }
  rs.last_key[n] = key.view();
}

// One record of the A or B file (`digit`): read, build the key, fill the area, count, dump.
void read_side(RunState& rs, char digit, void (*build)(RunState&), Varying<kKeyMax>& key) {
  const int n = input_file_number(rs, digit);
  const bool got = read_data_record(rs, n);
  build(rs);
  file_area(rs, n).assign_padded(rs.BUFFER.view());
  if (got) {
    count_one(file_count(rs, n));
    rs.TOTAL = wrap16(rs.TOTAL + 1);
    check_key_order(rs, n, key);
  } else {
    key = std::string(kKeyMax, kHighValue);
    file_area(rs, n).fill(kHighValue);
  }
  // NOTE: the read that meets the end of file dumps too, repeating the last record read.
  if (rs.DUMP >= 1 && rs.TOTAL <= rs.DUMP)
    dump_record(rs, digit);
}

// The file digits of the match modes, checked before the run.
void check_files(RunState& rs) {
  for (const char digit : {rs.A, rs.B}) input_file_number(rs, digit);
  if (rs.A == rs.B) {
    raise_error(rs, std::string("A=") + rs.A + " AND B=" + rs.B +
                        " NAME THE SAME FILE: MATCHING NEEDS TWO DIFFERENT INPUT FILES");
  }
}

// The key range just parsed from word n of the key statement, checked.
KeyRange checked_range(RunState& rs, int n) {
  if (rs.N1 < 1 || rs.N1 > rs.N2 || rs.N2 > static_cast<int>(kAreaWidth)) {
    raise_error(rs, "INVALID KEY RANGE IN LINE " + std::to_string(rs.current_node->ILN) +
                        " FIELD " + std::to_string(n) + " \"" +
                        std::string(rs.current_node->word(n)) +
                        "\": KEY COLUMNS MUST LIE IN 1..4096, START NOT AFTER END");
  }
  return KeyRange{rs.N1, rs.N2};
}

}  // namespace

// KEY_RTN   K a1 b1 [a2 b2 [a3 b3 [a4 b4]]]                              words 2..9
// The first statement of the script, read once before the run in the match modes: up to four
// pairs of key ranges, the A range in word 2k and the B range in word 2k+1. Only the columns
// count; the area code must be there but is not used, since keys come from the record as read.
// The first A word left out ends the list. NEVERMORE skips the statement: both keys are empty.
// Errors:  A or B not 1..6 -> "INVALID INPUT FILE " and the digit, then the error condition;
//          A = B, a range outside 1 <= FROM <= TO <= 4096, an A range without its B range
//          -> a line naming the fault, then the error condition.
// Leaves:  A_KEY, B_KEY, EXTENT; FLD, FILE_CODE, N1, N2 = the last parse.
void KEY_RTN(RunState& rs) {
  rs.EXTENT = 0;
  if (!match_mode(rs))
    return;  // no key is ever built in the other modes
  check_files(rs);
  if (rs.NEVERMORE)
    return;
  for (int k = 1; k <= 4; ++k) {
    const int a_word = 2 * k;
    const int b_word = 2 * k + 1;
    if (compare_padded(parse_word(rs, a_word).FILE_CODE.view(), "") == 0)
      break;  // the A word was left out
    const KeyRange a_range = checked_range(rs, a_word);
    if (word_is(rs.current_node->word(b_word), "")) {
      raise_error(rs, "KEY PAIR " + std::to_string(k) + " IN LINE " +
                          std::to_string(rs.current_node->ILN) + " HAS NO B RANGE IN FIELD " +
                          std::to_string(b_word));
    }
    parse_word(rs, b_word);
    rs.A_KEY[k - 1] = a_range;
    rs.B_KEY[k - 1] = checked_range(rs, b_word);
    rs.EXTENT = static_cast<std::int16_t>(k);
  }
}

// INIT_READ   opens the A and B files and reads the first record of each.
// Errors:  A or B not 1..6 -> "INVALID INPUT FILE " and the digit, then the error condition;
//          a file that cannot be opened -> the error condition, naming it.
// Leaves:  FIRST_READ clear; AKEY, BKEY, both areas and EOF as after READ_A and READ_B.
void INIT_READ(RunState& rs) {
  rs.FIRST_READ = false;
  open_input(rs, input_file_number(rs, rs.A));
  open_input(rs, input_file_number(rs, rs.B));
  READ_A(rs);
  READ_B(rs);
  rs.EOF_ = all_input_ended(rs);
}

// READ_A   the next record of the A file into BUFFER and its area, AKEY built from it. A real
// record counts in its CNTn and in TOTAL; at end of file AKEY and the area are high values.
// Within the dump limit the record (at end of file: BUFFER as it stands) goes to FILEDUMP.
void READ_A(RunState& rs) { read_side(rs, rs.A, BUILD_AKEY, rs.AKEY); }

// READ_B   the same for the B file and BKEY.
void READ_B(RunState& rs) { read_side(rs, rs.B, BUILD_BKEY, rs.BKEY); }

// BUILD_AKEY   AKEY := the A key ranges of BUFFER end to end, at most 80 characters.
void BUILD_AKEY(RunState& rs) { build_key(rs, rs.A_KEY, rs.AKEY); }

// BUILD_BKEY   BKEY := the B key ranges of BUFFER end to end, at most 80 characters.
void BUILD_BKEY(RunState& rs) { build_key(rs, rs.B_KEY, rs.BKEY); }

// One read step of the match modes: the first opens both files; later ones read the file with
// the lower key, or on equal keys both (T=1) or the B file and, when its group of that key has
// ended, the A file too (T=2).
void match_step(RunState& rs) {
  // NOTE: the files say whether the first step is due, not FIRST_READ, which PARM can clear.
  if (!input_open(rs, rs.A) || !input_open(rs, rs.B)) {
    INIT_READ(rs);
    return;
  }
  const int order = compare_padded(rs.AKEY.view(), rs.BKEY.view());
  if (order < 0) {
    READ_A(rs);
  } else if (order > 0) {
    READ_B(rs);
  } else if (rs.T == '1') {
    READ_A(rs);
    READ_B(rs);
  } else {
    READ_B(rs);
    if (compare_padded(rs.AKEY.view(), rs.BKEY.view()) != 0)
      READ_A(rs);
  }
  rs.EOF_ = all_input_ended(rs);
}

}  // namespace kovran
