// fields/clear.cc - TODO: to be built.
#include "fields/fields.h"

namespace kovran {
void CLEAR_RTN(RunState&) {}
}  // namespace kovran
