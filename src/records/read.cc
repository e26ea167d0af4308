// records/read.cc - the data files as input, the single-file read cycle and the record dump.
#include <string>

#include "driver/diagnostics.h"
#include "driver/signals.h"
#include "records/records.h"

namespace kovran {
namespace {

constexpr std::size_t kRecordMax = 4096;

const std::string& path_of(const RunState& rs, int id) { return rs.bindings.path[id]; }

int digit_value(char digit) { return digit - '0'; }
bool valid_file_digit(char digit) { return digit >= '1' && digit <= '6'; }

// Single-file step (T = 0).
void read_single(RunState& rs) {
  const int n = valid_file_digit(rs.I) ? digit_value(rs.I) : 0;
  rs.FIRST_READ = false;
  if (n == 0)
    invalid_input_file(rs, rs.I);  // no file can be read: the run cannot go on
  // NOTE: the file itself says whether it is open, not FIRST_READ, which PARM can clear.
  if (!rs.in_files[n].is_open())
    open_input(rs, n);
  read_data_record(rs, n);
  if (rs.ONCE)
    rs.H.assign_padded(rs.BUFFER.used());  // the rest is blank either way
  // NOTE: this copy also runs at end of file, so the area shows the last record again.
  file_area(rs, n).assign_padded(rs.BUFFER.view());
  rs.EOF_ = rs.EOF1 && rs.EOF2 && rs.EOF3 && rs.EOF4 && rs.EOF5 && rs.EOF6;
  if (rs.EOF_)
    return;
  count_one(file_count(rs, n));
  const std::int64_t sum = std::int64_t{rs.CNT1} + rs.CNT2 + rs.CNT3 + rs.CNT4 + rs.CNT5 + rs.CNT6;
  rs.TOTAL = static_cast<std::int16_t>(static_cast<std::uint16_t>(sum));  // kept to 16 bits
  if (rs.DUMP >= 1 && rs.TOTAL <= rs.DUMP)
    dump_record(rs, rs.I);
}

}  // namespace

void invalid_input_file(RunState& rs, char digit) {
  const std::string_view d(&digit, 1);
  rs.sysprint.line("INVALID INPUT FILE ", d);
  ++rs.diagnostics;
  raise_error(rs, "", 12, "INVALID INPUT FILE " + visible(d));
}

void open_input(RunState& rs, int n) {
  eof_flag(rs, n) = false;
  std::string reason;
  if (!rs.in_files[n].open(path_of(rs, n), rs.bindings.std_in, reason)) {
    end_if_interrupted(rs);  // a FIFO waiting for its writer
    raise_error(
        rs, std::string("CANNOT OPEN ") + logical_name(n) + " (" + path_of(rs, n) + "): " + reason);
  }
}

bool read_data_record(RunState& rs, int n) {
  InFile& in = rs.in_files[n];
  std::size_t stored = 0;
  std::size_t full = 0;
  char* dest = rs.BUFFER.data();
  if (!in.read_record(dest, kRecordMax, stored, full)) {
    if (in.failed()) {
      end_if_interrupted(rs);  // a read cut short by a signal is that signal's ending
      raise_error(rs, std::string("CANNOT READ ") + logical_name(n) + " (" + path_of(rs, n) +
                          "): " + in.error_reason());
    }
    eof_flag(rs, n) = true;
    file_area(rs, n).fill('\xFF');
    return false;
  }
  rs.BUFFER.resize(stored);
  if (full > kRecordMax) {
    warning(rs, std::string("WARNING: ") + logical_name(n) + " RECORD " +
                    std::to_string(in.records_read()) + " CUT TO 4096 CHARACTERS (WAS " +
                    std::to_string(full) + ")");
  }
  return true;
}

void dump_record(RunState& rs, char digit) {
  constexpr int kDump = static_cast<int>(FileId::FILEDUMP);
  if (!rs.filedump_file.is_open()) {
    refuse_overwriting_input(rs, kDump);
    std::string reason;
    if (!rs.filedump_file.open(path_of(rs, kDump), rs.bindings.std_out, reason)) {
      raise_error(rs, "CANNOT OPEN FILEDUMP (" + path_of(rs, kDump) + "): " + reason);
    }
  }
  OutFile& f = rs.filedump_file;
  f.put(digit);
  f.write(" : ");
  f.write(rs.BUFFER.view());
  f.put('\n');
  if (!f.end_record())
    raise_error(rs, write_failure(rs, kDump, f));
}

void READ_RTN(RunState& rs) {
  if (rs.EOF_)
    return;
  switch (rs.T) {
    case '0': read_single(rs); break;
    case '1':
    case '2': match_step(rs); break;
    default: break;  // NOTE: any other mode reads nothing and never ends the input
  }
}

}  // namespace kovran
