// records/print.cc - TODO: to be built.
#include "records/records.h"

namespace kovran {
void PRINT_RTN(RunState&) {}
std::int32_t listing_line_number(const RunState& rs) { return rs.listing_line; }
}  // namespace kovran
