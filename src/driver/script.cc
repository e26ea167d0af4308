// driver/script.cc - the script read statement by statement: a line at a time, split at ";",
// each statement compiled into a node or loaded as a table entry.
#include "driver/script.h"

#include <string>
#include <string_view>

#include "compiler/compiler.h"
#include "driver/diagnostics.h"
#include "driver/run_state.h"
#include "driver/signals.h"
#include "tables/tables.h"

namespace kovran {
namespace {

constexpr std::size_t kMaxLine = 4096;

// Reads one script line into BUFFER, cut to 4096 with a warning. False at end of PROGRAM.
bool read_script_line(RunState& rs, long& line_number) {
  std::size_t stored = 0;
  std::size_t full = 0;
  if (!rs.program_file.read_record(rs.BUFFER.data(), kMaxLine, stored, full)) {
    if (rs.program_file.failed()) {
      end_if_interrupted(rs);  // a read cut short by a signal is that signal's ending
      raise_error(rs, "CANNOT READ PROGRAM (" + rs.bindings.path[0] +
                          "): " + rs.program_file.error_reason());
    }
    rs.EOF_ = true;
    return false;
  }
  ++line_number;
  rs.BUFFER.resize(stored);
  if (full > kMaxLine) {
    warning(rs, "WARNING: PROGRAM LINE " + std::to_string(line_number) + " CUT TO 4096 CHARACTERS");
  }
  return true;
}

// The next statement of the line in BUFFER: up to the first ";" with an even number of quote
// characters before it, or the whole rest of the line.
std::string_view next_statement(RunState& rs) {
  const std::string_view rest = rs.BUFFER.view();
  int quotes = 0;
  for (std::size_t k = 0; k < rest.size(); ++k) {
    if (rest[k] == rs.QUOTE)
      ++quotes;
    if (rest[k] == ';' && quotes % 2 == 0) {
      rs.BLOCK = trim_blanks(rest.substr(0, k));  // cut to 100
      const std::string keep(rest.substr(k + 1));
      rs.BUFFER = keep;
      return rs.BLOCK.view();
    }
  }
  rs.BLOCK = trim_blanks(rest);
  rs.BUFFER.clear();
  return rs.BLOCK.view();
}

void compile_statement(RunState& rs, std::string_view text) {
  ALLOC_RTN(rs);
  PARSE(rs, text);
}

}  // namespace

void read_script(RunState& rs) {
  long line_number = 0;
  rs.BUFFER.clear();
  for (;;) {
    end_if_interrupted(rs);
    if (rs.BUFFER.empty() && !read_script_line(rs, line_number))
      break;
    const std::string_view block = next_statement(rs);
    if (block.empty())
      continue;
    const char c0 = block[0];
    const bool translate = block.substr(0, 2) == "TR" || block.substr(0, 2) == "tr";
    if ((c0 == 'S' || c0 == 's' || c0 == 'T' || c0 == 't') && !translate && rs.FIRST_TIME) {
      rs.FIRST_TIME = false;
      compile_statement(rs, "U STOP PROGRAM");
      rs.EOP = true;
    }
    if (c0 == rs.QUOTE) {
      if (!rs.table_statement_seen) {
        warning(rs, "WARNING: TABLE ENTRY BEFORE ANY TABLE STATEMENT IGNORED (PROGRAM LINE " +
                        std::to_string(line_number) + "): " + std::string(block));
        continue;
      }
      ALLOC_TABLE(rs);
      LOAD_TABLE(rs);
      continue;
    }
    ALLOC_RTN(rs);
    if (rs.VERBOSE)
      rs.sysprint.line(rs.BLOCK.view());
    PARSE(rs, rs.BLOCK.view());
  }
  rs.program_file.close();
  if (!rs.EOP) {
    compile_statement(rs, "U STOP HERE");
    rs.EOP = true;
  }
}

}  // namespace kovran
