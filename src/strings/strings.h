// strings/strings.h - string editing: edit, find, change, translate.
#ifndef KOVRAN_STRINGS_STRINGS_H_
#define KOVRAN_STRINGS_STRINGS_H_

#include "driver/run_state.h"

namespace kovran {

void EDIT_RTN(RunState& rs);    // E source target 'mask'
void FIND_RTN(RunState& rs);    // F argument field x result
void CHANGE_RTN(RunState& rs);  // CH|A search [range] replacement
void TRANS_RTN(RunState& rs);   // TR|Z field to from

}  // namespace kovran

#endif  // KOVRAN_STRINGS_STRINGS_H_
