// driver/options.cc - OPTIONS: each PARM word becomes an assignment name=value; applied to the
// named run variable.
#include "driver/options.h"

#include <charconv>
#include <string>

#include "driver/diagnostics.h"
#include "driver/variables.h"

namespace kovran {
namespace {

// The option parser's own variables (dumped on an error when TEST is set).
struct OptionWords {
  Varying<24> WORD_;      // _WORD_: one comma-separated word of PARM
  Area<24> WRD_;          // _WRD_: the word blank-padded
  Varying<100> COMMAND_;  // _COMMAND_: the assignment built from the word
  bool DEBUG_ = false;    // _DEBUG_: echo each later assignment
};

struct OptionError {
  bool conversion;  // a value that cannot be converted (reported first)
  std::string value;
};

bool contains_txt(std::string_view word) {
  return word.find("TXT") != std::string_view::npos || word.find("txt") != std::string_view::npos;
}

// A number: optional sign and decimal digits, or the binary constants 1B and 0B.
bool to_number(std::string_view text, long& out) {
  if (text == "1B" || text == "0B") {
    out = text[0] - '0';
    return true;
  }
  if (!text.empty() && text.front() == '+')
    text.remove_prefix(1);
  if (text.empty())
    return false;
  const char* end = text.data() + text.size();
  auto [ptr, ec] = std::from_chars(text.data(), end, out);
  return ec == std::errc() && ptr == end;
}

void assign(RunState& rs, OptionWords& ow, std::string_view name, std::string_view value) {
  if (name == "_DEBUG_") {
    long n = 0;
    if (!to_number(value, n))
      throw OptionError{true, std::string(value)};
    ow.DEBUG_ = n != 0;
    return;
  }
  for (Variable& v : run_variables(rs)) {
    if (v.name != name)
      continue;
    long n = 0;
    const bool quoted = value.size() >= 2 && value.front() == '\'' && value.back() == '\'';
    switch (v.kind) {
      case VarKind::Flag:
        if (!to_number(value, n))
          throw OptionError{true, std::string(value)};
        *static_cast<bool*>(v.ref) = n != 0;
        return;
      case VarKind::Int16:
        if (!to_number(value, n) || n < INT16_MIN || n > INT16_MAX) {
          throw OptionError{true, std::string(value)};
        }
        *static_cast<std::int16_t*>(v.ref) = static_cast<std::int16_t>(n);
        return;
      case VarKind::Int32:
        if (!to_number(value, n) || n < INT32_MIN || n > INT32_MAX) {
          throw OptionError{true, std::string(value)};
        }
        *static_cast<std::int32_t*>(v.ref) = static_cast<std::int32_t>(n);
        return;
      case VarKind::Digit:
        if (value.empty() || value.front() < '0' || value.front() > '9') {
          throw OptionError{true, std::string(value)};
        }
        *static_cast<char*>(v.ref) = value.front();
        return;
      case VarKind::Char:
        if (!quoted || value.size() < 3)
          throw OptionError{true, std::string(value)};
        *static_cast<char*>(v.ref) = value[1];
        return;
      case VarKind::Text:
        if (!quoted)
          throw OptionError{true, std::string(value)};
        v.set(v.ref, value.substr(1, value.size() - 2));
        return;
    }
  }
  throw OptionError{false, ""};  // not a run variable
}

// Applies name=value; items, each ending with ";".
void apply(RunState& rs, OptionWords& ow, std::string_view command) {
  while (!command.empty()) {
    const std::size_t semi = command.find(';');
    const std::string_view item = command.substr(0, semi);
    command = semi == std::string_view::npos ? std::string_view() : command.substr(semi + 1);
    const std::size_t eq = item.find('=');
    if (eq == std::string_view::npos)
      throw OptionError{false, ""};
    std::string_view name = item.substr(0, eq);
    while (!name.empty() && name.back() == ' ') name.remove_suffix(1);  // blanks before "="
    if (name.empty())
      throw OptionError{false, ""};
    assign(rs, ow, name, item.substr(eq + 1));
  }
}

[[noreturn]] void option_error(RunState& rs, const OptionWords& ow, const OptionError& e) {
  if (e.conversion) {
    rs.sysprint.line("CONVERSION ERROR IN ", "OPTIONS", ", ONCODE=", kOncodeBadValue,
                     ", ONSOURCE=", e.value);
  }
  if (rs.TEST) {
    rs.sysprint.new_line();
    rs.sysprint.raw_line("_WORD_=" + dump_text(ow.WORD_.view()));
    rs.sysprint.raw_line("_WRD_=" + dump_text(ow.WRD_.view()));
    rs.sysprint.raw_line("_COMMAND_=" + dump_text(ow.COMMAND_.view()));
    rs.sysprint.raw_line(std::string("_DEBUG_=") + (ow.DEBUG_ ? "'1'B" : "'0'B"));
  } else {
    rs.sysprint.line("Syntax Error in PARM");
  }
  throw RunEnded{12};
}

}  // namespace

void OPTIONS(RunState& rs, std::string_view PARM) {
  OptionWords ow;
  std::size_t p = 0;
  const std::size_t length = PARM.size();
  while (p <= length) {
    std::size_t j = PARM.find(',', p);
    if (j == std::string_view::npos)
      j = length;
    ow.WORD_ = PARM.substr(p, j - p);  // cut to 24
    if (ow.WORD_.empty())
      option_error(rs, ow, OptionError{false, ""});  // ",," or a last ","
    if (!contains_txt(ow.WORD_.view()))
      upper_case(ow.WORD_.data(), ow.WORD_.size());
    const std::string_view word = ow.WORD_.view();
    if (word.find('=') != std::string_view::npos) {
      ow.COMMAND_ = std::string(word) + ";";
    } else {
      ow.WRD_.assign_padded(word);
      if (ow.WRD_.view().substr(0, 2) == "NO") {
        ow.COMMAND_ = std::string(ow.WRD_.view().substr(2)) + "=0B;";
      } else {
        ow.COMMAND_ = std::string(word) + "=1B;";
      }
    }
    if (ow.DEBUG_)
      rs.sysprint.raw_line(ow.COMMAND_.view());
    try {
      apply(rs, ow, ow.COMMAND_.view());
    } catch (const OptionError& e) {
      option_error(rs, ow, e);
    }
    if (j == length)
      break;
    p = j + 1;
  }
}

}  // namespace kovran
