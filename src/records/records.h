// records/records.h - the read cycle, key matching, write and the print file.
#ifndef KOVRAN_RECORDS_RECORDS_H_
#define KOVRAN_RECORDS_RECORDS_H_

#include <cstdint>
#include <string>
#include <string_view>
#include <utility>

#include "driver/run_state.h"

namespace kovran {

// Read cycle: one step by the read mode T (0 one file, 1 and 2 matched by key).
void READ_RTN(RunState& rs);

// Key matching.
void KEY_RTN(RunState& rs);    // the key statement (first node) into A_KEY, B_KEY, EXTENT
void INIT_READ(RunState& rs);  // open the A and B files, read the first record of each
void READ_A(RunState& rs);
void READ_B(RunState& rs);
void BUILD_AKEY(RunState& rs);
void BUILD_BKEY(RunState& rs);

// W target [control] [line]
// The target of a W statement, decided when it is compiled: 1..6 a data file, kWriteListing
// the print line L, 0 anything else.
constexpr int kWriteListing = 7;
int WRITE_TARGET(const Node& node);
void WRITE_RTN(RunState& rs);
// Prints F0 as one line of LISTING by the print control of the current W node.
void PRINT_RTN(RunState& rs);
// The run ends: output `id` of a W could not be written.
[[noreturn]] void write_failed(RunState& rs, int id, const OutFile& f);
// W n of the usual record, its `extent` columns placed in the file's buffer at `at`, where
// OutFile::room gave room, and its area left blank: its trailing blanks dropped, the record
// ended and counted. F0 is left to be copied in from the file's buffer when something can see
// it (settle_F0). When the file fails, the area holds the record again for the report.
[[gnu::always_inline]] inline void end_placed_record(RunState& rs, const Node& node, char* at,
                                                     std::size_t extent) {
  const std::size_t n = trim_trailing(std::string_view(at, extent), ' ').size();
  rs.F0_waits.wait(at, n);  // F0, as the text in the buffer
  if (!node.write.file->end_placed(n)) {
    node.write.area->assign_padded(std::string_view(at, extent));  // as it stood
    write_failed(rs, node.form, *node.write.file);
  }
  count_written(rs, *node.write.count);
}
// The same for a record a run of moves placed there without its area, as write_usual_record
// would write it from the area. False, with the area holding the record, when the record
// begins with the high value: write_usual_record writes it then.
[[gnu::always_inline]] inline bool write_placed_record(RunState& rs, const Node& node, char* at,
                                                       std::size_t extent) {
  if (at[0] == kHighValue) {
    node.write.area->assign_padded(std::string_view(at, extent));
    return false;
  }
  end_placed_record(rs, node, at, extent);
  return true;
}
// W n to a data file already open, as WRITE_RTN makes it, inline: the walk writes the usual
// record without a call. False, with nothing done, when WRITE_RTN must make the statement (the
// first write, which opens the file; another target; an area used to its last column). F0 is
// left to be copied in from the file's buffer when something can see it (settle_F0).
[[gnu::always_inline]] inline bool write_usual_record(RunState& rs, const Node& node) {
  OutFile* const f = node.write.file;
  if (f == nullptr || node.write.area->extent() >= kAreaWidth)
    return false;
  Area<kAreaWidth>& area = *node.write.area;
  const std::string_view used = std::as_const(area).used();
  char* const at = f->room(used.size());  // null too for a file not open yet
  if (at == nullptr && !f->is_open())
    return false;
  if (at != nullptr && !used.empty() && used.front() != kHighValue) {
    // The usual record: copied into the buffer and blanked in one pass, its trailing blanks
    // dropped there.
    const std::size_t extent = used.size();
    area.move_out(at);
    end_placed_record(rs, node, at, extent);
    return true;
  } else {
    const std::string_view text = trim_trailing(trim_leading(used, kHighValue), ' ');
    const char* placed = nullptr;
    const bool kept = f->write_record(text, &placed);
    rs.F0_waits.wait(placed, text.size());
    if (placed == nullptr)
      rs.F0 = text;
    if (!kept)
      write_failed(rs, node.form, *f);
  }
  count_written(rs, *node.write.count);
  area.fill(' ');
  return true;
}
// --- helpers shared by the read cycle, key matching and write (records/read.cc) ---------
// Opens input `id` (PROGRAM, FILE1..FILE6) into `file`.
// Errors:  it cannot be opened -> the error condition, naming it (a signal: its ending).
void open_input_file(RunState& rs, int id, InFile& file);
// A read of input `id` failed: the error condition, naming it (a signal: its ending).
[[noreturn]] void read_failure(RunState& rs, int id, const InFile& file);
// Opens FILEn (1..6) for input and clears its end-of-file flag.
void open_input(RunState& rs, int n);
// The number of the data file a digit of the options (I, A, B) names.
// Errors:  not 1..6 -> "INVALID INPUT FILE " and the digit, then the error condition: no file
//          can be read, the run cannot go on.
int input_file_number(RunState& rs, char digit);
// Reads the next record of FILEn into BUFFER (cut to 4096 with a warning). At end of file sets
// EOFn, fills Fn with high values, leaves BUFFER alone and returns false.
// The rest of read_data_record: end of file, a failed read or a record cut to the area.
bool read_data_record_rest(RunState& rs, int n, bool got, std::size_t stored, std::size_t full);
inline bool read_data_record(RunState& rs, int n) {
  std::size_t stored = 0;
  std::size_t full = 0;
  const bool got = rs.in_files[n].read_record(rs.BUFFER.data(), kAreaWidth, stored, full);
  if (got && full <= kAreaWidth) {  // the usual record, inline
    rs.BUFFER.resize(stored);
    return true;
  }
  return read_data_record_rest(rs, n, got, stored, full);
}
// EOF: every data file has ended (one never read counts as ended).
inline bool all_input_ended(const RunState& rs) {
  return rs.EOF1 && rs.EOF2 && rs.EOF3 && rs.EOF4 && rs.EOF5 && rs.EOF6;
}
// Writes one FILEDUMP line: the digit, ":" and BUFFER.
void dump_record(RunState& rs, char digit);
// What the single-file cycle does once FILEn's read has given its record, the text of BUFFER
// (got), or met its end (the last record, BUFFER as it stands): the hold area on the first pass,
// the record area, EOF, the file's count, TOTAL and the dump. Inline: the walk's own read makes
// it too, with BUFFER left to be filled in from the area and, without the dump, TOTAL left to
// be summed when something can see it, and the record to be copied into its area (`deferred`:
// RunState::total_waits, defer_record).
inline void single_read_done(RunState& rs, Area<kAreaWidth>& area, std::int32_t& count, bool got,
                             std::string_view record, bool deferred = false) {
  if (rs.ONCE)
    rs.H.assign_padded(record);  // the rest is blank either way
  if (deferred) {
    rs.defer_record(record);  // RunState::record_area is `area`
  } else {
    area.assign_padded(record);
  }
  // A record read: this file has not ended, so neither has the input.
  rs.EOF_ = !got && all_input_ended(rs);
  if (rs.EOF_)
    return;
  count_one(count);
  if (deferred && rs.DUMP < 1) {
    rs.total_waits = true;
    rs.written_since_read = 0;
    return;
  }
  rs.sum_TOTAL();
  if (rs.DUMP >= 1 && rs.TOTAL <= rs.DUMP)
    dump_record(rs, rs.I);
}
// The file of output `id` (FILE1..FILE6, LISTING, FILEDUMP).
OutFile& output_of(RunState& rs, int id);
// Creates output `id` at its first use.
// Errors:  it is a file this run reads, or it cannot be created -> the error condition.
void open_output(RunState& rs, int id);
// The output file of FILEn, created at its first use.
OutFile& output_file(RunState& rs, int n);
// The read step of the match modes T=1 and T=2 (records/match.cc).
void match_step(RunState& rs);

// True when both paths name one existing regular file ("-" and devices never do).
bool same_regular_file(const std::string& a, const std::string& b);
// True when writing both paths would write one file: one existing regular file, or one name
// in one directory where no file exists yet ("-" and devices never do).
bool same_file_to_be(const std::string& a, const std::string& b);
// Ends the run when output `id` (FILE1..FILE6, LISTING, FILEDUMP) is the very file of PROGRAM
// or of an input of this run: creating it would destroy what is being read.
void refuse_overwriting_input(RunState& rs, int id);

// The cause line of a failed write of output `id` (FILE1..FILE6, LISTING, FILEDUMP): the file,
// its path, for a regular file the whole records (lines) it holds, and the system's reason.
std::string write_failure(const RunState& rs, int id, const OutFile& f);
// Ends the listing's last line and sends every data, listing and dump file's records to the
// system, so that a failure is known before the run reports its end.
// Errors:  a write that fails -> the error condition, naming the file.
void flush_output_files(RunState& rs);
// Closes every data, listing and dump file, ending the listing with its final line feed.
// Returns false (after printing one line per file) when anything written was not kept.
bool close_output_files(RunState& rs);

}  // namespace kovran

#endif  // KOVRAN_RECORDS_RECORDS_H_
