// records/print.cc - the paged print file LISTING: opening, positioning and printing one line.
//
// Each printed line is preceded by its separator: nothing for the first line of the file,
// d line feeds to advance d lines on the page, a carriage return to overprint, and a line feed
// then a form feed for a new page. The closing line feed of the last line is written when the
// file is closed (close_output_files), however the run ends.
#include <string>

#include "driver/diagnostics.h"
#include "records/records.h"

namespace kovran {
namespace {

constexpr int kListing = static_cast<int>(FileId::LISTING);
constexpr char kFormFeed = '\x0C';

// Opens LISTING and fixes its page and line size.
// NOTE: a page size below 1 is taken as 1 (every advance then starts a new page), and a line
// size below 0 as 0; the options accept any 16-bit number.
void open_listing(RunState& rs) {
  open_output(rs, kListing);
  rs.listing_pgsize = rs.PGSIZE < 1 ? std::int16_t{1} : rs.PGSIZE;
  rs.listing_lnsize = rs.LNSIZE < 0 ? std::int16_t{0} : rs.LNSIZE;
  rs.listing_line = 0;
  rs.listing_open_line = false;
}

void put_repeated(RunState& rs, char c, std::int32_t count) {
  for (std::int32_t k = 0; k < count; ++k) rs.listing_file.put(c);
}

// Ends the page: the current line is closed, the next one starts a new page on line 1.
void new_page(RunState& rs) {
  rs.listing_file.put('\n');
  rs.listing_file.put(kFormFeed);
  rs.listing_line = 1;
}

// Moves to line nn of the current page, or of a new page when nn is already passed or is not
// a line of the page (0 or above the page size: line 1 of the new page).
void position_absolute(RunState& rs, std::int32_t nn) {
  const std::int32_t page = rs.listing_pgsize;
  const bool on_page = nn >= 1 && nn <= page;
  if (rs.listing_line == 0) {  // the first line of the file: no separator
    rs.listing_line = on_page ? nn : 1;
    put_repeated(rs, '\n', rs.listing_line - 1);
    return;
  }
  if (on_page && nn > rs.listing_line) {
    put_repeated(rs, '\n', nn - rs.listing_line);
    rs.listing_line = nn;
    return;
  }
  new_page(rs);
  if (on_page) {
    put_repeated(rs, '\n', nn - 1);
    rs.listing_line = nn;
  }
}

// Advances d lines (0: overprint), starting a new page when the advance would pass the page.
void position_relative(RunState& rs, std::int32_t d) {
  if (rs.listing_line == 0) {  // the first line of the file is line 1, whatever the skip
    rs.listing_line = 1;
    return;
  }
  if (d == 0) {
    rs.listing_file.put('\r');
    return;
  }
  if (rs.listing_line + d > rs.listing_pgsize) {
    new_page(rs);
    return;
  }
  put_repeated(rs, '\n', d);
  rs.listing_line += d;
}

// The first two characters of a word, blank-filled.
struct TwoCharacters {
  char first = ' ';
  char second = ' ';
  bool is(char a, char b) const { return first == a && second == b; }
};
TwoCharacters two_characters(std::string_view word) {
  return {word.size() > 0 ? word[0] : ' ', word.size() > 1 ? word[1] : ' '};
}

}  // namespace

// PRINT_RTN   W L [control] [line]                                       words 3, 4
// Prints F0 as one line of LISTING. Control H starts a new page; S nn prints on line nn of the
// page (nn = 10 x the low four bits of word 4's first character + those of its second, so
// "S 5" is line 50); any other control advances by the low four bits of its first character
// (1 the next line, 2 one empty line between, 0 and blank overprint). An advance past the page
// size starts a new page. The file is opened by the first print, which fixes PGSIZE and LNSIZE.
// Errors:  LISTING cannot be opened or written -> the error condition, naming LISTING.
// Leaves:  L blank; the line number of the page in listing_line.
void PRINT_RTN(RunState& rs) {
  const TwoCharacters control = two_characters(rs.current_node->word(3));
  rs.L.fill(' ');
  rs.FIRST_PRINT = false;
  // NOTE: the file itself says whether it is open, not FIRST_PRINT, which PARM can clear.
  if (!rs.listing_file.is_open())
    open_listing(rs);
  if (control.is('H', ' ')) {
    if (rs.listing_line == 0) {
      rs.listing_line = 1;
    } else {
      new_page(rs);
    }
  } else if (control.is('S', ' ')) {
    position_absolute(rs, two_digit_number(rs.current_node->word(4)));
  } else {
    position_relative(rs, low_four_bits(control.first));
  }
  // The line size is fixed at the opening; the write instruction has already cut the line to
  // LNSIZE, so this cut only guards the file's own limit.
  std::string_view text = rs.F0.view();
  text = text.substr(0, static_cast<std::size_t>(rs.listing_lnsize));
  rs.listing_file.write(text);
  rs.listing_open_line = true;
  if (!rs.listing_file.end_record())  // the line and its separator go out together
    raise_error(rs, write_failure(rs, kListing, rs.listing_file));
}

}  // namespace kovran
