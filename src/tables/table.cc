// tables/table.cc - the table statement's descriptions, entry creation and loading.
#include <algorithm>
#include <string>

#include "driver/diagnostics.h"
#include "fields/field_ref.h"
#include "tables/tables.h"

namespace kovran {
namespace {

// A description length as a size an entry can hold: 0 to 80.
std::size_t entry_width(int length) {
  return static_cast<std::size_t>(std::clamp(length, 0, kMaxEntry));
}

// Stops the run when one description of the table statement `node` is out of 1..80.
void check_description(RunState& rs, const Node& node, int word, const char* what) {
  const int length = description_length(rs, node.word(word));
  if (length >= 1 && length <= kMaxEntry)
    return;
  raise_error(rs, "TABLE STATEMENT IN LINE " + std::to_string(node.ILN) + ": " + what + " " +
                      std::string(node.word(word)) + " HAS LENGTH " + std::to_string(length) +
                      " (1 TO 80 ALLOWED); RUN STOPPED");
}

}  // namespace

int description_length(RunState& rs, std::string_view description) {
  rs.FLD = description;
  PARSE_FLD(rs);
  return rs.N2 - rs.N1 + 1;
}

// ALLOC_TABLE   one more entry, appended to the end of the list; it becomes the current entry.
// Errors:  a 32768th entry stops the run with a message (TABL_SIZE is 16 bits).
// Leaves:  TABL_SIZE counted, the new entry's TILN = TABL_SIZE.
void ALLOC_TABLE(RunState& rs) {
  if (rs.TABLE_DEF.TABL_SIZE == INT16_MAX)
    raise_error(rs, "TABLE HAS MORE THAN 32767 ENTRIES: RUN STOPPED");
  ++rs.TABLE_DEF.TABL_SIZE;
  TableEntry& entry = rs.table_entries.emplace_back();
  entry.TILN = rs.TABLE_DEF.TABL_SIZE;
  entry.previous = rs.last_entry;
  if (rs.last_entry == nullptr) {
    rs.first_entry = &entry;
  } else {
    rs.last_entry->next = &entry;
  }
  rs.last_entry = &entry;
  rs.current_entry = &entry;
}

// LOAD_TABLE   the current entry's text from the entry statement in BLOCK
// The statement without its leading and trailing quotes, cut to 80, then cut to k + r: the
// lengths of the argument and result descriptions of the table statement in force.
// NOTE: a description length outside 0..80 counts as 0 or 80 here; such a table statement
// stops the run before any record is read (check_table).
// Leaves:  FLD, FILE_CODE, N1, N2 = the parse of RSLT.
void LOAD_TABLE(RunState& rs) {
  const std::string_view text =
      strip_char(rs.BLOCK.view(), rs.QUOTE).substr(0, static_cast<std::size_t>(kMaxEntry));
  const std::size_t k = entry_width(description_length(rs, rs.TABLE_DEF.ARG.view()));
  const std::size_t r = entry_width(description_length(rs, rs.TABLE_DEF.RSLT.view()));
  rs.current_entry->TABLENTRY = text.substr(0, std::min(k + r, text.size()));
}

// check_table   every table statement's descriptions must be 1 to 80 columns long: a key of
// more than 80 characters could never match an entry, and a length of 0 or less has no field.
// Errors:  the first such description prints a line naming the statement and the description,
//          then the error condition ends the run (status 12).
void check_table(RunState& rs) {
  for (const Node& node : rs.nodes) {
    if (node.op != Op::T)
      continue;
    check_description(rs, node, 3, "ARGUMENT FIELD");
    check_description(rs, node, 4, "RESULT FIELD");
  }
}

}  // namespace kovran
