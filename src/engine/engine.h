// engine/engine.h - the dispatch loop.
#ifndef KOVRAN_ENGINE_ENGINE_H_
#define KOVRAN_ENGINE_ENGINE_H_

#include "driver/run_state.h"

namespace kovran {

// LOOP   reads the first record, walks the program once per record, then runs the
// end-of-job walk once.
void LOOP(RunState& rs);

}  // namespace kovran

#endif  // KOVRAN_ENGINE_ENGINE_H_
