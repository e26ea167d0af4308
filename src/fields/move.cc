// fields/move.cc - TODO: to be built.
#include "fields/fields.h"

namespace kovran {
void MOVE_RTN(RunState&) {}
}  // namespace kovran
