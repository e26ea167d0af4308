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

enum class VarKind { Flag, Int16, Int32, Digit, Char, Text };

struct Variable {
  std::string name;
  VarKind kind;
  void* ref;  // bool*, int16_t*, int32_t*, char* (Digit, Char)
  // Text variables: read and assign through these.
  std::string_view (*get)(void*) = nullptr;
  void (*set)(void*, std::string_view) = nullptr;
};

// Every named run variable of `rs`, in dump order.
std::vector<Variable> run_variables(RunState& rs);

// The value as the dump writes it: numbers in decimal, flags '1'B / '0'B, texts quoted with
// trailing blanks dropped and unprintable bytes as <XX>.
std::string dump_value(const Variable& v);

// A text quoted for the dump.
std::string dump_text(std::string_view text);

}  // namespace kovran

#endif  // KOVRAN_DRIVER_VARIABLES_H_
