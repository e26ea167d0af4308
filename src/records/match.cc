// records/match.cc - TODO: to be built.
#include "records/records.h"

namespace kovran {
void KEY_RTN(RunState&) {}
void INIT_READ(RunState&) {}
void READ_A(RunState&) {}
void READ_B(RunState&) {}
void BUILD_AKEY(RunState&) {}
void BUILD_BKEY(RunState&) {}
void match_step(RunState&) {}
}  // namespace kovran
