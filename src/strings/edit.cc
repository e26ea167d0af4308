// strings/edit.cc - TODO: to be built.
#include "strings/strings.h"

namespace kovran {
void EDIT_RTN(RunState&) {}
void FIND_RTN(RunState&) {}
void CHANGE_RTN(RunState&) {}
void TRANS_RTN(RunState&) {}
}  // namespace kovran
