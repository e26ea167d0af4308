// tables/test_table.h - a run state for the table tests: statements compiled as the run driver
// compiles them, entry statements loaded as it loads them, the console captured.
#ifndef KOVRAN_TABLES_TEST_TABLE_H_
#define KOVRAN_TABLES_TEST_TABLE_H_

#include <sstream>
#include <string>
#include <string_view>
#include <vector>

#include "compiler/compiler.h"
#include "driver/run_state.h"
#include "tables/tables.h"

namespace kovran {

struct TableRun {
  TableRun() {
    std::string reason;
    rs.sysprint_file.open("-", &console_, reason);
  }

  void statement(std::string_view text) {
    ALLOC_RTN(rs);
    PARSE(rs, text);
  }

  // Each text is an entry statement as written in the script, quotes included.
  void entries(const std::vector<std::string>& statements) {
    for (const std::string& text : statements) {
      rs.BLOCK = text;
      ALLOC_TABLE(rs);
      LOAD_TABLE(rs);
    }
  }

  // The entry texts along the list.
  std::vector<std::string> texts() const {
    std::vector<std::string> out;
    for (const TableEntry* e = rs.first_entry; e != nullptr; e = e->next) {
      out.push_back(e->TABLENTRY.str());
    }
    return out;
  }

  std::string console() {
    rs.sysprint.new_line();
    rs.sysprint_file.flush();
    return console_.str();
  }

  std::ostringstream console_;  // before rs: the console writes into it to the end
  RunState rs{Bindings{}};
};

}  // namespace kovran

#endif  // KOVRAN_TABLES_TEST_TABLE_H_
