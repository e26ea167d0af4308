// driver/script.cc - the script read statement by statement: a line at a time, split at ";",
// each statement compiled into a node or loaded as a table entry.
#include "driver/script.h"

#include <algorithm>
#include <string>
#include <string_view>

#include "compiler/compiler.h"
#include "driver/diagnostics.h"
#include "driver/run_state.h"
#include "driver/signals.h"
#include "records/records.h"
#include "tables/tables.h"

namespace kovran {
namespace {

// Reads one script line into BUFFER, cut to 4096 with a warning. False at end of PROGRAM.
bool read_script_line(RunState& rs, std::int32_t& line_number) {
  std::size_t stored = 0;
  std::size_t full = 0;
  if (!rs.program_file.read_record(rs.BUFFER.data(), kAreaWidth, stored, full)) {
    if (rs.program_file.failed())
      read_failure(rs, static_cast<int>(FileId::PROGRAM), rs.program_file);
    rs.EOF_ = true;
    return false;
  }
  count_one(line_number);
  rs.BUFFER.resize(stored);
  if (full > kAreaWidth) {
    warning(rs, "WARNING: PROGRAM LINE " + std::to_string(line_number) + " CUT TO 4096 CHARACTERS");
    rs.script_notes.push_back({ScriptNote::Kind::kLineCut, line_number, 0, full, kAreaWidth, ""});
  }
  // A carriage return left inside a line ended a line of a file written with carriage returns
  // alone: a line feed ends a line here, so all of them run together.
  const std::string_view line = rs.BUFFER.view();
  if (const auto returns = std::count(line.begin(), line.end(), '\r'); returns > 0) {
    rs.script_notes.push_back({ScriptNote::Kind::kCarriageReturns, line_number, 0,
                               static_cast<std::size_t>(returns), 0, ""});
  }
  return true;
}

// The next statement of the line in BUFFER: up to the first ";" with an even number of quote
// characters before it, or the whole rest of the line; into BLOCK, cut to 100. `whole` receives
// the statement uncut when it is longer than PARSE reads, and is emptied otherwise.
void next_statement(RunState& rs, std::string& whole) {
  const std::string_view rest = rs.BUFFER.view();
  auto take = [&](std::string_view statement) {
    rs.BLOCK = statement;  // cut to 100
    whole.assign(statement.size() > kStatementMax ? statement : std::string_view());
  };
  int quotes = 0;
  for (std::size_t k = 0; k < rest.size(); ++k) {
    if (rest[k] == rs.QUOTE)
      ++quotes;
    if (rest[k] == ';' && quotes % 2 == 0) {
      take(trim_blanks(rest.substr(0, k)));
      const std::string keep(rest.substr(k + 1));
      rs.BUFFER = keep;
      return;
    }
  }
  take(trim_blanks(rest));
  rs.BUFFER.clear();
}

// A statement kovran adds (the stop nodes): it stands on no line of the script.
void compile_statement(RunState& rs, std::string_view text) {
  ALLOC_RTN(rs);
  rs.newest_node->line = 0;  // also when it reuses the node of a comment
  PARSE(rs, text);
}

// Notes the first word a statement longer than PARSE reads loses, wholly or in part.
void note_statement_cut(RunState& rs, std::int32_t line, std::string_view whole) {
  std::string_view rest = whole;
  std::string_view word;
  bool last = false;
  while (next_word(rest, rs.QUOTE, word, last)) {
    const auto at = static_cast<std::size_t>(word.data() - whole.data());
    if (at + word.size() > kStatementMax) {
      rs.script_notes.push_back({ScriptNote::Kind::kStatementCut, line, rs.newest_node->ILN,
                                 whole.size(), at < kStatementMax ? kStatementMax - at : 0,
                                 std::string(word)});
      return;
    }
  }
}

// Notes what the entry just loaded lost to the width of its fields, when that is not blank.
void note_entry_cut(RunState& rs, std::int32_t line, std::string_view whole) {
  const std::string_view text = strip_char(whole, rs.QUOTE);
  const std::size_t kept = rs.current_entry->TABLENTRY.size();
  if (text.size() <= kept || trim_blanks(text.substr(kept)).empty())
    return;
  rs.script_notes.push_back(
      {ScriptNote::Kind::kEntryCut, line, 0, text.size(), kept, std::string(text.substr(kept))});
}

}  // namespace

void read_script(RunState& rs) {
  std::int32_t line_number = 0;
  std::string whole;
  rs.BUFFER.clear();
  for (;;) {
    end_if_interrupted(rs);
    if (rs.BUFFER.empty() && !read_script_line(rs, line_number))
      break;
    next_statement(rs, whole);
    const std::string_view block = rs.BLOCK.view();
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
        rs.script_notes.push_back(
            {ScriptNote::Kind::kEntryIgnored, line_number, 0, block.size(), 0, std::string(block)});
        continue;
      }
      ALLOC_TABLE(rs);
      LOAD_TABLE(rs);
      note_entry_cut(rs, line_number, whole.empty() ? block : std::string_view(whole));
      continue;
    }
    ALLOC_RTN(rs);
    rs.newest_node->line = line_number;
    if (rs.VERBOSE)
      rs.sysprint.line(rs.BLOCK.view());
    PARSE(rs, rs.BLOCK.view());
    if (!whole.empty() && rs.MORE)
      note_statement_cut(rs, line_number, whole);
  }
  rs.program_file.close();
  if (!rs.EOP) {
    compile_statement(rs, "U STOP HERE");
    rs.EOP = true;
  }
}

}  // namespace kovran
