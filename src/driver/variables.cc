// driver/variables.cc - the named run variables, in dump order. ORDER DUMP.
#include "driver/variables.h"

#include <charconv>
#include <limits>

namespace kovran {
namespace {

Variable flag(std::string name, bool& b) { return {std::move(name), VarKind::Flag, &b}; }
Variable i16(std::string name, std::int16_t& n) { return {std::move(name), VarKind::Int16, &n}; }
Variable i32(std::string name, std::int32_t& n) { return {std::move(name), VarKind::Int32, &n}; }
Variable digit(std::string name, char& c) { return {std::move(name), VarKind::Digit, &c}; }
Variable chr(std::string name, char& c) { return {std::move(name), VarKind::Char, &c}; }
Variable constant(std::string name, bool value) {
  if (value)
    return {std::move(name), VarKind::Constant, nullptr,
            [](void*) { return std::string_view("'1'B"); }};
  return {std::move(name), VarKind::Constant, nullptr,
          [](void*) { return std::string_view("'0'B"); }};
}

}  // namespace

std::vector<Variable> run_variables(RunState& rs) {
  std::vector<Variable> v = {
      flag("DEBUG", rs.DEBUG),
      flag("TRACE", rs.TRACE),
      flag("VERBOSE", rs.VERBOSE),
      flag("DMP", rs.DMP),
      flag("TEST", rs.TEST),
      i16("PGSIZE", rs.PGSIZE),
      i16("LNSIZE", rs.LNSIZE),
      i32("LC", rs.LC),
      i32("LOOPCOUNT", rs.LOOPCOUNT),
      i16("DUMP", rs.DUMP),
      digit("T", rs.T),
      digit("I", rs.I),
      digit("A", rs.A),
      digit("B", rs.B),
      flag("EOF", rs.EOF_),
      flag("EOF1", rs.EOF1),
      flag("EOF2", rs.EOF2),
      flag("EOF3", rs.EOF3),
      flag("EOF4", rs.EOF4),
      flag("EOF5", rs.EOF5),
      flag("EOF6", rs.EOF6),
      i32("CNT1", rs.CNT1),
      i32("CNT2", rs.CNT2),
      i32("CNT3", rs.CNT3),
      i32("CNT4", rs.CNT4),
      i32("CNT5", rs.CNT5),
      i32("CNT6", rs.CNT6),
      i32("CNTL", rs.CNTL),
      flag("EOP", rs.EOP),
      flag("FIRST_TIME", rs.FIRST_TIME),
      flag("FIRST_READ", rs.FIRST_READ),
      flag("FIRST_PRINT", rs.FIRST_PRINT),
      flag("ONCE", rs.ONCE),
      flag("MORE", rs.MORE),
      flag("NEWCOND", rs.NEWCOND),
      flag("IF_S", rs.IF_S),
      flag("COND", rs.COND),
      flag("RESULT", rs.RESULT),
      flag("OLDRESULT", rs.OLDRESULT),
      flag("MATCH", rs.MATCH),
      flag("NEVERMORE", rs.NEVERMORE),
      flag("EOT", rs.EOT),
      constant("TRUE", true),
      constant("FALSE", false),
      chr("LASTCOMPCOND", rs.LASTCOMPCOND),
      chr("QUOTE", rs.QUOTE),
      chr("HEX00", rs.HEX00),
      chr("HEXFF", rs.HEXFF),
      text_variable("LOWER", rs.LOWER),
      text_variable("UPPER", rs.UPPER),
      text_variable("AKEY", rs.AKEY),
      text_variable("BKEY", rs.BKEY),
      text_variable("BUFFER", rs.BUFFER),
      text_variable("MASK", rs.MASK),
      i16("J", rs.J),
      i16("M", rs.M),
      i16("N", rs.N),
      i16("N1", rs.N1),
      i16("N2", rs.N2),
      i16("U", rs.U),
      i16("V", rs.V),
      i16("TOTAL", rs.TOTAL),
      i16("EXTENT", rs.EXTENT),
      i32("START_TIME", rs.START_TIME),
      i32("STOP_TIME", rs.STOP_TIME),
      area_variable("TODAY", rs.TODAY),
      area_variable("NOW", rs.NOW),
      text_variable("BLOCK", rs.BLOCK),
      text_variable("F0", rs.F0),
      area_variable("F1", rs.F1),
      area_variable("F2", rs.F2),
      area_variable("F3", rs.F3),
      area_variable("F4", rs.F4),
      area_variable("F5", rs.F5),
      area_variable("F6", rs.F6),
      area_variable("H", rs.H),
      area_variable("S", rs.S),
      area_variable("L", rs.L),
      area_variable("D", rs.D),
      text_variable("FLD", rs.FLD),
      text_variable("FILE_CODE", rs.FILE_CODE),
      text_variable("SOURCE", rs.SOURCE),
      text_variable("TARGET", rs.TARGET),
      text_variable("REPLACE", rs.REPLACE),
      i16("COL1", rs.COL1),
      i16("COL2", rs.COL2),
      area_variable("A_STRING", rs.A_STRING),
      area_variable("TARGET2", rs.TARGET2),
      i16("LO", rs.LO),
      i16("HI", rs.HI),
      i16("MID", rs.MID),
  };
  for (int k = 0; k < 4; ++k) {
    const std::string n = std::to_string(k + 1);
    v.push_back(i16("A_KEY(" + n + ").FROM", rs.A_KEY[k].FROM));
    v.push_back(i16("A_KEY(" + n + ").TO", rs.A_KEY[k].TO));
  }
  for (int k = 0; k < 4; ++k) {
    const std::string n = std::to_string(k + 1);
    v.push_back(i16("B_KEY(" + n + ").FROM", rs.B_KEY[k].FROM));
    v.push_back(i16("B_KEY(" + n + ").TO", rs.B_KEY[k].TO));
  }
  v.push_back(chr("TABLE_DEF.NAME", rs.TABLE_DEF.NAME));
  v.push_back(i16("TABLE_DEF.TABL_SIZE", rs.TABLE_DEF.TABL_SIZE));
  v.push_back(text_variable("TABLE_DEF.ARG", rs.TABLE_DEF.ARG));
  v.push_back(text_variable("TABLE_DEF.RSLT", rs.TABLE_DEF.RSLT));
  return v;
}

Variable flag_variable(std::string name, bool& b) { return flag(std::move(name), b); }

const Variable* find_variable(const std::vector<Variable>& vars, std::string_view name) {
  for (const Variable& v : vars) {
    if (v.name == name)
      return &v;
  }
  return nullptr;
}

namespace {

// A number: optional sign and decimal digits, or the binary constants 1B and 0B.
bool to_number(std::string_view text, long long& out) {
  if (text == "1B" || text == "0B") {
    out = text[0] - '0';
    return true;
  }
  if (!text.empty() && text.front() == '+')
    text.remove_prefix(1);
  if (text.empty() || text.front() == '+')
    return false;
  const char* end = text.data() + text.size();
  auto [ptr, ec] = std::from_chars(text.data(), end, out);
  if (ec == std::errc::result_out_of_range) {
    out = text.front() == '-' ? INT64_MIN : INT64_MAX;  // outside every variable's range
    return ptr == end;
  }
  return ec == std::errc() && ptr == end;
}

template <typename Int>
Assigned assign_int(void* ref, std::string_view value) {
  long long n = 0;
  if (!to_number(value, n))
    return Assigned::kNotConvertible;
  if (n < std::numeric_limits<Int>::min() || n > std::numeric_limits<Int>::max())
    return Assigned::kOutOfRange;
  *static_cast<Int*>(ref) = static_cast<Int>(n);
  return Assigned::kOk;
}

}  // namespace

Assigned assign_variable(const Variable& v, std::string_view value) {
  const bool quoted = value.size() >= 2 && value.front() == '\'' && value.back() == '\'';
  switch (v.kind) {
    case VarKind::Flag: {
      long long n = 0;
      if (!to_number(value, n))
        return Assigned::kNotConvertible;
      *static_cast<bool*>(v.ref) = n != 0;
      return Assigned::kOk;
    }
    case VarKind::Int16: return assign_int<std::int16_t>(v.ref, value);
    case VarKind::Int32: return assign_int<std::int32_t>(v.ref, value);
    case VarKind::Digit:
      if (value.empty() || value.front() < '0' || value.front() > '9')
        return Assigned::kNotConvertible;
      *static_cast<char*>(v.ref) = value.front();
      return Assigned::kOk;
    case VarKind::Char:
      if (!quoted || value.size() != 3)
        return Assigned::kNotConvertible;
      *static_cast<char*>(v.ref) = value[1];
      return Assigned::kOk;
    case VarKind::Text:
      if (!quoted)
        return Assigned::kNotConvertible;
      v.set(v.ref, value.substr(1, value.size() - 2));
      return Assigned::kOk;
    case VarKind::Constant: return Assigned::kConstant;
  }
  return Assigned::kNotConvertible;
}

std::string dump_text(std::string_view text) {
  return "'" + visible(trim_trailing(text, ' ')) + "'";
}

std::string dump_value(const Variable& v) {
  switch (v.kind) {
    case VarKind::Flag: return *static_cast<bool*>(v.ref) ? "'1'B" : "'0'B";
    case VarKind::Int16: return std::to_string(*static_cast<std::int16_t*>(v.ref));
    case VarKind::Int32: return std::to_string(*static_cast<std::int32_t*>(v.ref));
    case VarKind::Digit:
    case VarKind::Char: return dump_text(std::string_view(static_cast<char*>(v.ref), 1));
    case VarKind::Text: return dump_text(v.get(v.ref));
    case VarKind::Constant: return std::string(v.get(v.ref));
  }
  return "";
}

void dump_list(RunState& rs, const std::vector<Variable>& vars) {
  rs.sysprint.new_line();
  for (const Variable& v : vars) rs.sysprint.raw_line(v.name + "=" + dump_value(v));
}

}  // namespace kovran
