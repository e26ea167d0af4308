// tables/table.cc - TODO: to be built.
#include "tables/tables.h"

namespace kovran {
void ALLOC_TABLE(RunState&) {}
void LOAD_TABLE(RunState&) {}
void SORT_RTN(RunState&) {}
void SEARCH(RunState&) {}
void BIN_SEARCH(RunState&) {}
void check_table(RunState&) {}
}  // namespace kovran
