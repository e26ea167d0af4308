// fields/fields.h - the data instructions on fields: move, clear, arithmetic.
#ifndef KOVRAN_FIELDS_FIELDS_H_
#define KOVRAN_FIELDS_FIELDS_H_

#include "driver/run_state.h"

namespace kovran {

void MOVE_RTN(RunState& rs);   // M source target | M source target D disp | M source D disp target
void CLEAR_RTN(RunState& rs);  // C target [fill]
void ADD_RTN(RunState& rs);    // + A B | - A B | X A B d T | / A B d T

}  // namespace kovran

#endif  // KOVRAN_FIELDS_FIELDS_H_
