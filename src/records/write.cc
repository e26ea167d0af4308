// records/write.cc - the W instruction and the output files.
#include <string>

#include "driver/diagnostics.h"
#include "records/records.h"

namespace kovran {

OutFile& output_of(RunState& rs, int id) {
  switch (static_cast<FileId>(id)) {
    case FileId::LISTING: return rs.listing_file;
    case FileId::FILEDUMP: return rs.filedump_file;
    default: assert(id >= 1 && id <= 6); return rs.out_files[id];
  }
}

void open_output(RunState& rs, int id) {
  refuse_overwriting_input(rs, id);
  std::string reason;
  if (!output_of(rs, id).open(rs.bindings.path[id], rs.bindings.std_out, reason))
    raise_error(rs, file_failure(rs, "CANNOT OPEN", id, reason));
}

OutFile& output_file(RunState& rs, int n) {
  OutFile& f = rs.out_files[n];
  if (f.is_open())
    return f;
  if (rs.in_files[n].is_open()) {
    raise_error(
        rs, std::string(logical_name(n)) + " IS AN INPUT FILE OF THIS RUN AND CANNOT BE WRITTEN");
  }
  open_output(rs, n);
  return f;
}

// WRITE_RTN   W n | W L [control] [line]                                 words 1, 2 (3, 4)
// Builds F0 from area n (leading high values and trailing NULs trimmed) or from L (LNSIZE
// characters from its first character that is not a high value, never past column 166), trims
// leading high values and trailing blanks again, and writes it as one record of FILEn or one
// line of LISTING. Area n is then blanked.
// Errors:  a target other than 1..6 and L -> ERROR_RTN(2); nothing is written.
// Leaves:  F0 = the text written.
void WRITE_RTN(RunState& rs) {
  rs.settle_F0();  // a bad target keeps F0
  const Node& node = *rs.current_node;
  const int target = node.form;
  if (target >= 1 && target <= 6) {
    Area<kAreaWidth>& area = *node.write.area;
    // NOTE: an area blank at its end has no trailing NUL to trim; its blank tail goes anyway.
    const std::string_view text = area.extent() < area.size()
                                      ? trim_leading(area.used(), kHighValue)
                                      : trim_trailing(trim_leading(area.view(), kHighValue), '\0');
    // The text starts with no high value already: only its trailing blanks go.
    rs.F0 = trim_trailing(text, ' ');
    OutFile& f = node.write.file->is_open() ? *node.write.file : output_file(rs, target);
    if (!f.write_record(rs.F0.view()))
      write_failed(rs, target, f);
    count_one(*node.write.count);
    area.fill(' ');
    return;
  }
  if (target == kWriteListing) {
    const std::string_view line = rs.L.view();
    const std::size_t first = line.find_first_not_of(kHighValue);
    const std::size_t from = first == std::string_view::npos ? line.size() : first;
    const std::size_t width = rs.LNSIZE > 0 ? static_cast<std::size_t>(rs.LNSIZE) : 0;
    rs.F0 = trim_trailing(trim_leading(line.substr(from, width), kHighValue), ' ');
    PRINT_RTN(rs);
    count_one(rs.CNTL);
    return;
  }
  ERROR_RTN(rs, 2);
  rs.F0 = trim_trailing(trim_leading(rs.F0.view(), kHighValue), ' ');
}

void write_failed(RunState& rs, int id, const OutFile& f) {
  raise_error(rs, write_failure(rs, id, f));
}

int WRITE_TARGET(const Node& node) {
  const std::string_view target = node.word(2);
  if (target.size() == 1 && valid_file_digit(target[0]))
    return target[0] - '0';
  return word_is(target, "L") ? kWriteListing : 0;
}

std::string write_failure(const RunState& rs, int id, const OutFile& f) {
  std::string held;
  if (f.regular()) {
    const std::int64_t kept = f.records_kept();
    held = ", WHICH HOLDS " + std::to_string(kept) +
           (id == static_cast<int>(FileId::LISTING) ? " WHOLE LINE" : " WHOLE RECORD") +
           (kept == 1 ? "" : "S");
  }
  return file_failure(rs, "CANNOT WRITE", id, f.error_reason(), held);
}

namespace {

// Calls fn(file, id) for every output a run may write but the console, in the order their
// failures are reported.
template <typename Fn>
void for_each_output(RunState& rs, Fn fn) {
  for (int id = 1; id <= static_cast<int>(FileId::FILEDUMP); ++id) fn(output_of(rs, id), id);
}

void end_listing(RunState& rs) {
  if (rs.listing_file.is_open() && rs.listing_open_line) {
    rs.listing_file.put('\n');  // the final line feed closes the last line
    rs.listing_open_line = false;
  }
}

}  // namespace

void flush_output_files(RunState& rs) {
  end_listing(rs);
  for_each_output(rs, [&rs](OutFile& f, int id) {
    if (f.is_open() && !f.flush())
      raise_error(rs, write_failure(rs, id, f));
  });
}

bool close_output_files(RunState& rs) {
  bool ok = true;
  end_listing(rs);
  for_each_output(rs, [&](OutFile& f, int id) {
    if (!f.is_open())
      return;
    const bool failed_before = f.failed();
    if (!f.close()) {
      ok = false;
      if (!failed_before)
        rs.sysprint.line(write_failure(rs, id, f));
    }
  });
  return ok;
}

}  // namespace kovran
