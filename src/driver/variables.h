// driver/variables.h - the registry of named run variables: one list, used by the option
// parser to assign by name and by the dump to list every variable in order.
#ifndef KOVRAN_DRIVER_VARIABLES_H_
#define KOVRAN_DRIVER_VARIABLES_H_

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "driver/run_state.h"

namespace kovran {

enum class VarKind { Flag, Int16, Int32, Digit, Char, Text, Constant };

struct Variable {
  std::string name;
  VarKind kind;
  void* ref;  // bool*, int16_t*, int32_t*, char* (Digit, Char); nullptr for a Constant
  // Text variables: read and assign through these. A Constant's `get` gives its dump value.
  std::string_view (*get)(void*) = nullptr;
  void (*set)(void*, std::string_view) = nullptr;
};

// Every named run variable of `rs`, in dump order.
std::vector<Variable> run_variables(RunState& rs);

// Registry entries for variables outside the run state (the option parser's own).
Variable flag_variable(std::string name, bool& b);
template <std::size_t N>
Variable text_variable(std::string name, Varying<N>& v) {
  return Variable{std::move(name), VarKind::Text, &v,
                  [](void* p) { return static_cast<Varying<N>*>(p)->view(); },
                  [](void* p, std::string_view t) { static_cast<Varying<N>*>(p)->assign(t); }};
}
template <std::size_t N>
Variable area_variable(std::string name, Area<N>& a) {
  return Variable{std::move(name), VarKind::Text, &a,
                  [](void* p) { return static_cast<Area<N>*>(p)->view(); },
                  [](void* p, std::string_view t) { static_cast<Area<N>*>(p)->assign_padded(t); }};
}

// The variable of that exact name, or nullptr.
const Variable* find_variable(const std::vector<Variable>& vars, std::string_view name);

// How an assignment of a value text went.
enum class Assigned {
  kOk,
  kNotConvertible,  // not a number, not a digit, not a quoted text
  kOutOfRange,      // a number the variable cannot hold
  kConstant,        // TRUE and FALSE are never assigned
};

// Converts `value` to the variable's type and stores it: a number (optional sign and digits, or
// the binary constants 1B and 0B) for flags and counters, a flag being set when the number is
// not zero; a text whose first character is a digit for a one-digit variable (the rest is
// dropped); a text in apostrophes for a text or one-character variable. Nothing changes unless
// the result is kOk.
Assigned assign_variable(const Variable& v, std::string_view value);

// The value as the dump writes it: numbers in decimal, flags '1'B / '0'B, texts quoted with
// trailing blanks dropped and unprintable bytes as <XX>.
std::string dump_value(const Variable& v);

// A text quoted for the dump.
std::string dump_text(std::string_view text);

// Writes NAME=value lines, one per variable, on fresh lines of SYSPRINT.
void dump_list(RunState& rs, const std::vector<Variable>& vars);

}  // namespace kovran

#endif  // KOVRAN_DRIVER_VARIABLES_H_
