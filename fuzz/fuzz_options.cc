// fuzz/fuzz_options.cc - the option parser on any PARM text.
#include <cstdint>
#include <sstream>
#include <string_view>

#include "driver/diagnostics.h"
#include "driver/options.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string_view parm(reinterpret_cast<const char*>(data), size < 100 ? size : 100);
  std::ostringstream out;
  kovran::Bindings b;
  b.std_out = &out;
  kovran::RunState rs(std::move(b));
  std::string reason;
  rs.sysprint_file.open("-", &out, reason);
  try {
    kovran::OPTIONS(rs, parm);
  } catch (const kovran::RunEnded&) {
  }
  rs.sysprint_file.close();
  return 0;
}
