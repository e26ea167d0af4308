// conditions/conditions.h - the IF instruction and its tests.
#ifndef KOVRAN_CONDITIONS_CONDITIONS_H_
#define KOVRAN_CONDITIONS_CONDITIONS_H_

#include "driver/run_state.h"

namespace kovran {

// The test an IF statement asks for, told from its words by IF_RTN's rules; kNone: no form
// fits, the statement is passed over. Kept in Node::if_form, where 0 means not yet known.
enum class IfForm : std::uint8_t { kUnknown, kCompare, kMatch, kNumeric, kChar, kBreak, kNone };
IfForm if_form_of(const Node& node);

void IF_RTN(RunState& rs);             // recognises the form and calls one test
void IF_AND_OR(RunState& rs, char c);  // combines COND by the connector c
void IF_CFC_RTN(RunState& rs);         // I field op field|literal [conn]; I C op 'nn' [conn]
void IF_CHAR_RTN(RunState& rs);        // I C field E|U set [conn]
void IF_NUMERIC(RunState& rs);         // I N field op field|literal [conn]
void IF_MATCH_RTN(RunState& rs);       // I M|A|B|F|S [conn]
void CNTL_BRK_RTN(RunState& rs);       // I field [A|O]

}  // namespace kovran

#endif  // KOVRAN_CONDITIONS_CONDITIONS_H_
