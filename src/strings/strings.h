// strings/strings.h - string editing: edit, find, change, translate.
#ifndef KOVRAN_STRINGS_STRINGS_H_
#define KOVRAN_STRINGS_STRINGS_H_

#include "driver/run_state.h"

namespace kovran {

void EDIT_RTN(RunState& rs);    // E source target 'mask'
void FIND_RTN(RunState& rs);    // F argument field x result
void CHANGE_RTN(RunState& rs);  // CH|A search [range] replacement
void TRANS_RTN(RunState& rs);   // TR|Z field to from

// The translation of a TR node, built once when it is compiled: its words 3 and 4 never change.
void TRANS_DECODE(RunState& rs, Node& node);
// The mask of an E node as runs (Node::EditPlan), with the quote character `quote`.
void EDIT_DECODE(Node& node, char quote);

}  // namespace kovran

#endif  // KOVRAN_STRINGS_STRINGS_H_
