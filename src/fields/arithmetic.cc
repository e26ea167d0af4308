// fields/arithmetic.cc - TODO: to be built.
#include "fields/fields.h"

namespace kovran {
void ADD_RTN(RunState&) {}
}  // namespace kovran
