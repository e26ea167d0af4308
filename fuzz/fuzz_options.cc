// fuzz/fuzz_options.cc - the option parser on any PARM text.
#include <cstdint>
#include <string_view>

#include "driver/options.h"
#include "driver/testing.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string_view parm(reinterpret_cast<const char*>(data), size < 100 ? size : 100);
  kovran::TestRun t;
  kovran::ended_with([&] { kovran::OPTIONS(t.rs, parm); });
  return 0;
}
