// driver/run_state.cc - the run state's set-up and its per-file accessors.
#include "driver/run_state.h"

#include <cassert>

namespace kovran {

const char* logical_name(int file_id) {
  static constexpr const char* kNames[kFileIds] = {"PROGRAM",  "FILE1",   "FILE2", "FILE3",
                                                   "FILE4",    "FILE5",   "FILE6", "LISTING",
                                                   "FILEDUMP", "SYSPRINT"};
  assert(file_id >= 0 && file_id < kFileIds);
  return kNames[file_id];
}

RunState::RunState(Bindings b) : bindings(std::move(b)) {}

Area<4096>& file_area(RunState& rs, int n) {
  switch (n) {
    case 1: return rs.F1;
    case 2: return rs.F2;
    case 3: return rs.F3;
    case 4: return rs.F4;
    case 5: return rs.F5;
    default: assert(n == 6); return rs.F6;
  }
}

bool& eof_flag(RunState& rs, int n) {
  switch (n) {
    case 1: return rs.EOF1;
    case 2: return rs.EOF2;
    case 3: return rs.EOF3;
    case 4: return rs.EOF4;
    case 5: return rs.EOF5;
    default: assert(n == 6); return rs.EOF6;
  }
}

std::int32_t& file_count(RunState& rs, int n) {
  switch (n) {
    case 1: return rs.CNT1;
    case 2: return rs.CNT2;
    case 3: return rs.CNT3;
    case 4: return rs.CNT4;
    case 5: return rs.CNT5;
    default: assert(n == 6); return rs.CNT6;
  }
}

}  // namespace kovran
