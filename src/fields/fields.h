// fields/fields.h - the data instructions on fields: move, clear, arithmetic.
#ifndef KOVRAN_FIELDS_FIELDS_H_
#define KOVRAN_FIELDS_FIELDS_H_

#include <cstdint>

#include "driver/run_state.h"

namespace kovran {

// The forms of a move, decided when it is compiled.
enum class MoveForm : std::uint8_t {
  kPlain,               // M source target
  kFields,              // M source target, both fields inside their areas
  kTargetDisplacement,  // M source target D disp
  kSourceDisplacement,  // M source D disp target
  // NOTE: M source D D ...: the displacement is word 4 (the keyword D itself, a literal), and
  // the target-displacement form is taken with word 3 (D, a literal) as the target.
  kBothKeywords,
};
MoveForm MOVE_FORM(const Node& node);
// The arithmetic an ARITH node makes: '+', '-', 'X' or '/'.
char ARITH_CODE(const Node& node);
// The arithmetic code, and for + in its usual form the sum's plan.
void ARITH_DECODE(Node& node);

void MOVE_RTN(RunState& rs);   // M source target | M source target D disp | M source D disp target
void CLEAR_RTN(RunState& rs);  // C target [fill]
void ADD_RTN(RunState& rs);    // + A B | - A B | X A B d T | / A B d T

}  // namespace kovran

#endif  // KOVRAN_FIELDS_FIELDS_H_
