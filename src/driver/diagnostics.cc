// driver/diagnostics.cc - statement errors, the error condition and the dumps.
#include "driver/diagnostics.h"

#include "driver/variables.h"

namespace kovran {
namespace {

constexpr std::string_view kDots1 = " . . . . . . . . . . . . . . . . . . .";
constexpr std::string_view kDots2 = ". . . . . . . . . . . . . . . . . . . ";

void banner_and_dump(RunState& rs, std::string_view word) {
  rs.sysprint.line(kDots1, word, kDots2);
  dump_variables(rs);
}

}  // namespace

void ERROR_RTN(RunState& rs, int n) {
  assert(rs.current_node != nullptr && n >= 1 && n <= kWords);
  rs.sysprint.line("ERROR IN LINE \"", rs.current_node->ILN, "\",FIELD ", n, " \"",
                   rs.current_node->word(n), "\"");
  ++rs.diagnostics;
}

void raise_error(RunState& rs, std::string_view cause, int status) {
  if (!cause.empty()) {
    if (rs.running && rs.current_node != nullptr) {
      rs.sysprint.line(cause, "IN LINE", rs.current_node->ILN);
    } else {
      rs.sysprint.line(cause);
    }
  }
  if (rs.DMP)
    banner_and_dump(rs, "DUMP");
  throw RunEnded{status};
}

void conversion_error(RunState& rs, std::string_view routine, int oncode,
                      std::string_view onsource) {
  rs.sysprint.line("CONVERSION ERROR IN ", routine, ", ONCODE=", oncode, ", ONSOURCE=", onsource);
  raise_error(rs, "");
}

void attention(RunState& rs) { banner_and_dump(rs, "ATTN"); }

void warning(RunState& rs, std::string_view text) {
  rs.sysprint.line(text);
  ++rs.diagnostics;
}

void dump_variables(RunState& rs) {
  rs.settle_parse();
  dump_list(rs, run_variables(rs));
}

}  // namespace kovran
