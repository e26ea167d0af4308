// driver/options.h - the run options: PARM words applied to the run state by name.
#ifndef KOVRAN_DRIVER_OPTIONS_H_
#define KOVRAN_DRIVER_OPTIONS_H_

#include <string_view>

#include "driver/run_state.h"

namespace kovran {

// OPTIONS   applies PARM. A word that cannot be applied prints "Syntax Error in PARM" (or,
// with TEST, the option parser's variables) and ends the run with status 12.
void OPTIONS(RunState& rs, std::string_view PARM);

}  // namespace kovran

#endif  // KOVRAN_DRIVER_OPTIONS_H_
