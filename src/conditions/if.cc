// conditions/if.cc - TODO: to be built.
#include "conditions/conditions.h"

namespace kovran {
void IF_RTN(RunState&) {}
void IF_CFC_RTN(RunState&) {}
void IF_CHAR_RTN(RunState&) {}
void IF_NUMERIC(RunState&) {}
void IF_MATCH_RTN(RunState&) {}
void CNTL_BRK_RTN(RunState&) {}
}  // namespace kovran
namespace kovran {
void IF_AND_OR(RunState&, char) {}
}  // namespace kovran
