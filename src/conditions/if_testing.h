// conditions/if_testing.h - a compiled script for the IF unit tests: statements compiled and
// linked as in a run, the console captured.
#ifndef KOVRAN_CONDITIONS_IF_TESTING_H_
#define KOVRAN_CONDITIONS_IF_TESTING_H_

#include <cassert>
#include <initializer_list>
#include <sstream>
#include <string>
#include <string_view>

#include "compiler/compiler.h"
#include "conditions/conditions.h"
#include "driver/run_state.h"

namespace kovran {

struct IfScript {
  std::ostringstream console;  // declared first: the run state flushes into it when destroyed
  RunState rs{Bindings{}};

  // Compiles the statements and "U STOP HERE" after them, then links them.
  explicit IfScript(std::initializer_list<std::string_view> statements) {
    std::string reason;
    rs.sysprint_file.open("-", &console, reason);
    for (const std::string_view s : statements) {
      ALLOC_RTN(rs);
      PARSE(rs, s);
    }
    ALLOC_RTN(rs);
    PARSE(rs, "U STOP HERE");
    LOGIC(rs);
  }

  Node& node(int iln) {
    assert(iln >= 1 && static_cast<std::size_t>(iln) <= rs.nodes.size());
    return rs.nodes[static_cast<std::size_t>(iln - 1)];
  }

  // Dispatches node `iln` as the loop does and returns where the walk goes next.
  Node* run(int iln) {
    rs.current_node = &node(iln);
    IF_RTN(rs);
    return rs.current_node->next;
  }

  // The console text so far.
  std::string printed() {
    rs.sysprint_file.flush();
    return console.str();
  }
};

}  // namespace kovran

#endif  // KOVRAN_CONDITIONS_IF_TESTING_H_
