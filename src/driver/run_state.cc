// driver/run_state.cc - the run state's set-up and its per-file accessors.
#include "driver/run_state.h"

#include <cassert>

#include "driver/signals.h"

namespace kovran {

const char* logical_name(int file_id) {
  static constexpr const char* kNames[kFileIds] = {"PROGRAM",  "FILE1",   "FILE2", "FILE3",
                                                   "FILE4",    "FILE5",   "FILE6", "LISTING",
                                                   "FILEDUMP", "SYSPRINT"};
  assert(file_id >= 0 && file_id < kFileIds);
  return kNames[file_id];
}

std::string binding_option(int file_id) {
  std::string option = "--";
  for (const char* c = logical_name(file_id); *c != '\0'; ++c)
    option += static_cast<char>(*c >= 'A' && *c <= 'Z' ? *c - 'A' + 'a' : *c);
  return option;
}

RunState::RunState(Bindings b) : bindings(std::move(b)) {
  // A console that fails raises the word the walk looks at for a signal.
  sysprint_file.flag_failure(&signal_state::attention);
}

}  // namespace kovran
