// driver/options.cc - OPTIONS: each PARM word becomes an assignment name=value; and is
// applied to the named variable through the variable registry.
#include "driver/options.h"

#include <optional>
#include <string>
#include <vector>

#include "driver/diagnostics.h"
#include "driver/variables.h"

namespace kovran {
namespace {

constexpr std::size_t kWordMax = 24;  // a word of PARM is cut to this length

// The option parser's own variables (dumped on an error when TEST is set).
struct OptionWords {
  Varying<kWordMax> WORD_;  // _WORD_: one comma-separated word of PARM, cut to 24
  Area<kWordMax> WRD_;      // _WRD_: the word blank-padded to 24
  Varying<100> COMMAND_;    // _COMMAND_: the assignment built from the word
  bool DEBUG_ = false;      // _DEBUG_: echo each later assignment
};

// Why a word could not be applied.
struct OptionError {
  int oncode = 0;  // 0: not a conversion failure (no conversion line)
  std::string onsource;
  std::string why;  // told on standard error after "Syntax Error in PARM"
};

// What a value that a variable rejects should have been.
std::string wanted(const Variable& v, std::string_view value, Assigned result) {
  const std::string shown = "\"" + visible(value) + "\"";
  if (result == Assigned::kOutOfRange)
    return shown + " is out of the range of " + v.name;
  switch (v.kind) {
    case VarKind::Flag:
    case VarKind::Int16:
    case VarKind::Int32: return v.name + " wants a number, not " + shown;
    case VarKind::Digit: return v.name + " wants a digit, not " + shown;
    case VarKind::Char: return v.name + " wants one character in apostrophes, not " + shown;
    case VarKind::Constant: return v.name + " is a constant";
    case VarKind::Text: break;
  }
  return v.name + " wants a text in apostrophes, not " + shown;
}

bool contains_txt(std::string_view word) {
  return word.find("TXT") != std::string_view::npos || word.find("txt") != std::string_view::npos;
}

// Applies the items of an assignment text: name=value; each ending with ";". Blanks before
// "=" are ignored. `vars` is the registry plus _DEBUG_. Returns why an item could not be
// applied; the items before it stay applied.
std::optional<OptionError> apply_command(const std::vector<Variable>& vars,
                                         std::string_view command) {
  while (!command.empty()) {
    const std::size_t semi = command.find(';');
    const std::string_view item = command.substr(0, semi);
    command = semi == std::string_view::npos ? std::string_view() : command.substr(semi + 1);
    const std::size_t eq = item.find('=');
    if (eq == std::string_view::npos)
      return OptionError{0, "", "\"" + visible(item) + "\" is no assignment NAME=VALUE"};
    const std::string_view name = trim_trailing(item.substr(0, eq), ' ');
    const Variable* v = find_variable(vars, name);
    if (v == nullptr)  // also an empty name
      return OptionError{0, "", "\"" + visible(name) + "\" is not a run variable"};
    const std::string_view value = item.substr(eq + 1);
    switch (const Assigned result = assign_variable(*v, value)) {
      case Assigned::kOk: break;
      case Assigned::kNotConvertible:
        return OptionError{kOncodeNotDigit, std::string(value), wanted(*v, value, result)};
      case Assigned::kOutOfRange:
        return OptionError{kOncodeBadValue, std::string(value), wanted(*v, value, result)};
      case Assigned::kConstant:  // TRUE and FALSE cannot change
        return OptionError{0, "", wanted(*v, value, result)};
    }
  }
  return std::nullopt;
}

// The option parser's error handler: the conversion line for a bad value, then the parser's
// variables (TEST) or "Syntax Error in PARM"; the run ends before the script is read. Standard
// error names the word of PARM as given and why it was rejected.
[[noreturn]] void option_error(RunState& rs, OptionWords& ow, std::string_view word,
                               const OptionError& e) {
  const bool cut = word.size() > kWordMax;
  tell(rs, "Syntax Error in PARM: word \"" + visible(word) + "\": " + e.why +
               (cut ? " (a word is cut to 24 characters)" : ""));
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
  // NOTE: not the error condition: no dump, even when a word before set DMP, and no run-end
  // line on standard error, which has just told the word at fault.
  end_run(ExitStatus::kError);
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
    const std::string_view given = PARM.substr(p, j - p);
    ow.WORD_ = given;  // cut to 24
    if (ow.WORD_.empty()) {
      option_error(rs, ow, given,
                   OptionError{0, "", "an empty word (two commas together, or one at an end)"});
    }
    if (!contains_txt(ow.WORD_.view()))
      upper_case(ow.WORD_.data(), ow.WORD_.size());
    const std::string_view word = ow.WORD_.view();
    bool clears = false;  // NO and a flag's name
    if (word.find('=') != std::string_view::npos) {
      ow.COMMAND_ = std::string(word) + ";";
    } else {
      ow.WRD_.assign_padded(word);
      if (ow.WRD_.view().substr(0, 2) == "NO") {
        clears = true;
        // NOTE: all 22 padded characters are kept; the blanks before "=" are ignored later.
        ow.COMMAND_ = std::string(ow.WRD_.view().substr(2)) + "=0B;";
      } else {
        ow.COMMAND_ = std::string(word) + "=1B;";
      }
    }
    if (ow.DEBUG_)
      rs.sysprint.raw_line(ow.COMMAND_.view());
    if (std::optional<OptionError> e = apply_command(vars, ow.COMMAND_.view())) {
      if (clears)
        e->why += " (a word that begins with NO clears the flag named by the rest)";
      option_error(rs, ow, given, *e);
    }
    if (j >= length)
      break;
    p = j + 1;
  }
}

}  // namespace kovran
