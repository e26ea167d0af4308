// fuzz/fuzz_fields.cc - operand parsing with fetch and store: the input is one statement
// compiled into a node and executed by the move, clear and write instructions' field code.
#include <cstdint>
#include <sstream>
#include <string_view>

#include "compiler/compiler.h"
#include "driver/diagnostics.h"
#include "fields/field_ref.h"
#include "fields/fields.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string_view text(reinterpret_cast<const char*>(data), size < 200 ? size : 200);
  std::ostringstream out;
  kovran::Bindings b;
  b.std_out = &out;
  kovran::RunState rs(std::move(b));
  std::string reason;
  rs.sysprint_file.open("-", &out, reason);
  kovran::ALLOC_RTN(rs);
  kovran::PARSE(rs, text);
  try {
    kovran::MOVE_RTN(rs);
    kovran::CLEAR_RTN(rs);
    for (int word = 2; word <= kovran::kWords; ++word) {
      kovran::parse_word(rs, word);
      if (std::optional<kovran::Field> f = kovran::resolve_field(rs, word)) {
        kovran::store_field(*f, rs.FLD.view());
      }
    }
  } catch (const kovran::RunEnded&) {
  }
  rs.sysprint_file.close();
  return 0;
}
