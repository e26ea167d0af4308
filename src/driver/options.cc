// driver/options.cc - OPTIONS: each PARM word becomes an assignment name=value; and is
// applied to the named variable through the variable registry.
#include "driver/options.h"

#include <string>
#include <vector>

#include "driver/diagnostics.h"
#include "driver/variables.h"

namespace kovran {
namespace {

// The option parser's own variables (dumped on an error when TEST is set).
struct OptionWords {
  Varying<24> WORD_;      // _WORD_: one comma-separated word of PARM, cut to 24
  Area<24> WRD_;          // _WRD_: the word blank-padded to 24
  Varying<100> COMMAND_;  // _COMMAND_: the assignment built from the word
  bool DEBUG_ = false;    // _DEBUG_: echo each later assignment
};

// Why a word could not be applied.
struct OptionError {
  int oncode = 0;  // 0: not a conversion failure (no conversion line)
  std::string onsource;
};

bool contains_txt(std::string_view word) {
  return word.find("TXT") != std::string_view::npos || word.find("txt") != std::string_view::npos;
}

// Applies the items of an assignment text: name=value; each ending with ";". Blanks before
// "=" are ignored. `vars` is the registry plus _DEBUG_.
void apply_command(const std::vector<Variable>& vars, std::string_view command) {
  while (!command.empty()) {
    const std::size_t semi = command.find(';');
    const std::string_view item = command.substr(0, semi);
    command = semi == std::string_view::npos ? std::string_view() : command.substr(semi + 1);
    const std::size_t eq = item.find('=');
    if (eq == std::string_view::npos)
      throw OptionError{};
    std::string_view name = item.substr(0, eq);
    while (!name.empty() && name.back() == ' ') name.remove_suffix(1);
    const Variable* v = find_variable(vars, name);
    if (v == nullptr)
      throw OptionError{};  // not a run variable (also an empty name)
    const std::string_view value = item.substr(eq + 1);
    switch (assign_variable(*v, value)) {
      case Assigned::kOk: break;
      case Assigned::kNotConvertible: throw OptionError{kOncodeNotDigit, std::string(value)};
      case Assigned::kOutOfRange: throw OptionError{kOncodeBadValue, std::string(value)};
      case Assigned::kConstant: throw OptionError{};  // TRUE and FALSE cannot change
    }
  }
}

// The option parser's error handler: the conversion line for a bad value, then the parser's
// variables (TEST) or "Syntax Error in PARM"; the run ends before the script is read.
[[noreturn]] void option_error(RunState& rs, OptionWords& ow, const OptionError& e) {
  if (e.oncode != 0) {
    rs.sysprint.line("CONVERSION ERROR IN ", "OPTIONS", ", ONCODE=", e.oncode,
                     ", ONSOURCE=", e.onsource);
  }
  if (rs.TEST) {
    dump_list(rs, {text_variable("_WORD_", ow.WORD_), area_variable("_WRD_", ow.WRD_),
                   text_variable("_COMMAND_", ow.COMMAND_), flag_variable("_DEBUG_", ow.DEBUG_)});
  } else {
    rs.sysprint.line("Syntax Error in PARM");
  }
  throw RunEnded{12};
}

}  // namespace

void OPTIONS(RunState& rs, std::string_view PARM) {
  OptionWords ow;
  std::vector<Variable> vars = run_variables(rs);
  vars.push_back(flag_variable("_DEBUG_", ow.DEBUG_));
  const std::size_t length = PARM.size();
  std::size_t p = 0;
  for (;;) {
    std::size_t j = PARM.find(',', p);
    if (j == std::string_view::npos)
      j = length;
    ow.WORD_ = PARM.substr(p, j - p);  // cut to 24
    if (ow.WORD_.empty())
      option_error(rs, ow, OptionError{});  // two adjacent commas, or a comma at either end
    if (!contains_txt(ow.WORD_.view()))
      upper_case(ow.WORD_.data(), ow.WORD_.size());
    const std::string_view word = ow.WORD_.view();
    if (word.find('=') != std::string_view::npos) {
      ow.COMMAND_ = std::string(word) + ";";
    } else {
      ow.WRD_.assign_padded(word);
      if (ow.WRD_.view().substr(0, 2) == "NO") {
        // NOTE: all 22 padded characters are kept; the blanks before "=" are ignored later.
        ow.COMMAND_ = std::string(ow.WRD_.view().substr(2)) + "=0B;";
      } else {
        ow.COMMAND_ = std::string(word) + "=1B;";
      }
    }
    if (ow.DEBUG_)
      rs.sysprint.raw_line(ow.COMMAND_.view());
    try {
      apply_command(vars, ow.COMMAND_.view());
    } catch (const OptionError& e) {
      option_error(rs, ow, e);
    }
    if (j >= length)
      break;
    p = j + 1;
  }
}

}  // namespace kovran
