// records/read.cc - the data files as input, the single-file read cycle and the record dump.
#include <string>

#include "driver/diagnostics.h"
#include "driver/signals.h"
#include "records/records.h"

namespace kovran {
namespace {

[[noreturn]] void invalid_input_file(RunState& rs, char digit) {
  const std::string_view d(&digit, 1);
  rs.sysprint.line("INVALID INPUT FILE ", d);
  ++rs.diagnostics;
  raise_error(rs, "", ExitStatus::kError, "INVALID INPUT FILE " + visible(d));
}

// Single-file step (T = 0).
void read_single(RunState& rs) {
  rs.FIRST_READ = false;
  const int n = input_file_number(rs, rs.I);
  InFile& in = rs.in_files[n];
  // NOTE: the file itself says whether it is open, not FIRST_READ, which PARM can clear.
  if (!in.is_open())
    open_input(rs, n);
  const bool got = read_data_record(rs, n);
  single_read_done(rs, file_area(rs, n), file_count(rs, n), got, rs.BUFFER.view());
}

}  // namespace

int input_file_number(RunState& rs, char digit) {
  if (!valid_file_digit(digit))
    invalid_input_file(rs, digit);
  return digit - '0';
}

void open_input_file(RunState& rs, int id, InFile& file) {
  std::string reason;
  if (!file.open(rs.bindings.path[id], rs.bindings.std_in, reason)) {
    end_if_interrupted(rs);  // a FIFO waiting for its writer
    raise_error(rs, file_failure(rs, "CANNOT OPEN", id, reason));
  }
}

void read_failure(RunState& rs, int id, const InFile& file) {
  end_if_interrupted(rs);  // a read cut short by a signal is that signal's ending
  raise_error(rs, file_failure(rs, "CANNOT READ", id, file.error_reason()));
}

void open_input(RunState& rs, int n) {
  eof_flag(rs, n) = false;
  open_input_file(rs, n, rs.in_files[n]);
}

bool read_data_record_rest(RunState& rs, int n, bool got, std::size_t stored, std::size_t full) {
  InFile& in = rs.in_files[n];
  if (!got) {
    if (in.failed())
      read_failure(rs, n, in);
    eof_flag(rs, n) = true;
    file_area(rs, n).fill(kHighValue);
    return false;
  }
  rs.BUFFER.resize(stored);
  if (full > kAreaWidth) {
    warning(rs, std::string("WARNING: ") + logical_name(n) + " RECORD " +
                    std::to_string(in.records_read()) + " CUT TO 4096 CHARACTERS (WAS " +
                    std::to_string(full) + ")");
  }
  return true;
}

void dump_record(RunState& rs, char digit) {
  rs.settle_buffer();
  constexpr int kDump = static_cast<int>(FileId::FILEDUMP);
  if (!rs.filedump_file.is_open())
    open_output(rs, kDump);
  OutFile& f = rs.filedump_file;
  f.put(digit);
  f.write(" : ");
  f.write(rs.BUFFER.view());
  f.put('\n');
  if (!f.end_record())
    raise_error(rs, write_failure(rs, kDump, f));
}

void READ_RTN(RunState& rs) {
  rs.settle_buffer();  // at the end of a file BUFFER keeps the last record
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
