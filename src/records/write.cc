// records/write.cc - the W instruction and the output files.
#include <string>

#include "driver/diagnostics.h"
#include "records/records.h"

namespace kovran {
namespace {

constexpr char kHigh = '\xFF';

std::string_view trim_leading(std::string_view text, char c) {
  while (!text.empty() && text.front() == c) text.remove_prefix(1);
  return text;
}

std::string_view trim_trailing(std::string_view text, char c) {
  while (!text.empty() && text.back() == c) text.remove_suffix(1);
  return text;
}

}  // namespace

OutFile& output_file(RunState& rs, int n) {
  OutFile& f = rs.out_files[n];
  if (f.is_open())
    return f;
  if (rs.in_files[n].is_open()) {
    raise_error(
        rs, std::string(logical_name(n)) + " IS AN INPUT FILE OF THIS RUN AND CANNOT BE WRITTEN");
  }
  refuse_overwriting_input(rs, n);
  std::string reason;
  if (!f.open(rs.bindings.path[n], rs.bindings.std_out, reason)) {
    raise_error(rs, std::string("CANNOT OPEN ") + logical_name(n) + " (" + rs.bindings.path[n] +
                        "): " + reason);
  }
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
  const int target = rs.current_node->form;
  if (target >= 1 && target <= 6) {
    Area<4096>& area = file_area(rs, target);
    // NOTE: an area blank at its end has no trailing NUL to trim; its blank tail goes anyway.
    const std::string_view text = area.extent() < area.size()
                                      ? trim_leading(area.used(), kHigh)
                                      : trim_trailing(trim_leading(area.view(), kHigh), '\0');
    rs.F0 = trim_trailing(trim_leading(text, kHigh), ' ');
    OutFile& f = rs.out_files[target].is_open() ? rs.out_files[target] : output_file(rs, target);
    if (!f.write_record(rs.F0.view()))
      raise_error(rs, write_failure(rs, target, f));
    count_one(file_count(rs, target));
    area.fill(' ');
    return;
  }
  if (target == kWriteListing) {
    const std::string_view line = rs.L.view();
    const std::size_t first = line.find_first_not_of(kHigh);
    const std::size_t from = first == std::string_view::npos ? line.size() : first;
    const std::size_t width = rs.LNSIZE > 0 ? static_cast<std::size_t>(rs.LNSIZE) : 0;
    rs.F0 = trim_trailing(trim_leading(line.substr(from, width), kHigh), ' ');
    PRINT_RTN(rs);
    count_one(rs.CNTL);
    return;
  }
  ERROR_RTN(rs, 2);
  rs.F0 = trim_trailing(trim_leading(rs.F0.view(), kHigh), ' ');
}

int WRITE_TARGET(const Node& node) {
  const std::string_view target = node.word(2);
  if (target.size() == 1 && target[0] >= '1' && target[0] <= '6')
    return target[0] - '0';
  return word_is(target, "L") ? kWriteListing : 0;
}

std::string write_failure(const RunState& rs, int id, const OutFile& f) {
  std::string text =
      std::string("CANNOT WRITE ") + logical_name(id) + " (" + rs.bindings.path[id] + ")";
  if (f.regular()) {
    const std::int64_t kept = f.records_kept();
    text += ", WHICH HOLDS " + std::to_string(kept) +
            (id == static_cast<int>(FileId::LISTING) ? " WHOLE LINE" : " WHOLE RECORD") +
            (kept == 1 ? "" : "S");
  }
  return text + ": " + f.error_reason();
}

namespace {

// Calls fn(file, id) for every output a run may write but the console, in the order their
// failures are reported.
template <typename Fn>
void for_each_output(RunState& rs, Fn fn) {
  for (int n = 1; n <= 6; ++n) fn(rs.out_files[n], n);
  fn(rs.listing_file, static_cast<int>(FileId::LISTING));
  fn(rs.filedump_file, static_cast<int>(FileId::FILEDUMP));
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
