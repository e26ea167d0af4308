// fuzz/fuzz_fields.cc - one statement of any text, compiled into a node and dispatched to the
// instruction routine its code names (move, clear, arithmetic, IF, edit, find, change,
// translate, lookup, write, dump) over a few preset records, with the areas, a loaded table,
// the keys and a scratch directory for the files it writes set up first. A code that names
// no routine still has every operand parsed, resolved and stored into.
#include <unistd.h>

#include <cstdint>
#include <filesystem>
#include <sstream>
#include <string>
#include <string_view>
#include <system_error>

#include "compiler/compiler.h"
#include "conditions/conditions.h"
#include "driver/diagnostics.h"
#include "fields/field_ref.h"
#include "fields/fields.h"
#include "fuzz/scratch_dir.h"
#include "records/records.h"
#include "strings/strings.h"
#include "tables/tables.h"

namespace {

using kovran_fuzz::scratch_dir;

// Records of FILE1 the statement runs over: numbers, signs, letters, blanks, high values.
constexpr char kBytes[] = "9999999\xFF\x00 lower UPPER 123456789012345678901234567890";
constexpr std::string_view kRecords[] = {
    "0001234 ABC def 00x5 -12.50 +7    Z", "",
    std::string_view(kBytes, sizeof kBytes - 1),  // with its NUL
};

void compile(kovran::RunState& rs, std::string_view statement) {
  kovran::ALLOC_RTN(rs);
  kovran::PARSE(rs, statement);
}

void load_entry(kovran::RunState& rs, std::string_view entry) {
  rs.BLOCK = entry;
  kovran::ALLOC_TABLE(rs);
  kovran::LOAD_TABLE(rs);
}

// What the dispatch loop would do with the node; anything else gets its operands worked.
void dispatch(kovran::RunState& rs, kovran::Node& node) {
  using kovran::Op;
  switch (node.op) {
    case Op::CH: kovran::CHANGE_RTN(rs); break;
    case Op::TR: kovran::TRANS_RTN(rs); break;
    case Op::I: kovran::IF_RTN(rs); break;
    case Op::ARITH: kovran::ADD_RTN(rs); break;
    case Op::M: kovran::MOVE_RTN(rs); break;
    case Op::F: kovran::FIND_RTN(rs); break;
    case Op::C: kovran::CLEAR_RTN(rs); break;
    case Op::E: kovran::EDIT_RTN(rs); break;
    case Op::L: kovran::SEARCH(rs); break;
    case Op::W: kovran::WRITE_RTN(rs); break;
    case Op::H: kovran::attention(rs); break;
    default:
      for (int word = 2; word <= kovran::kWords; ++word) {
        const kovran::Operand& op = kovran::parse_word(rs, word);
        if (std::optional<kovran::Field> f = kovran::field_of(rs, op, word)) {
          rs.settle_parse();
          kovran::store_field(*f, rs.FLD.view());
        }
      }
      break;
  }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string_view text(reinterpret_cast<const char*>(data), size < 200 ? size : 200);
  const std::string& dir = scratch_dir();
  if (dir.empty())
    return 0;
  std::ostringstream out;
  kovran::Bindings b;
  for (int id = 0; id < kovran::kFileIds; ++id) {
    b.path[id] = dir + "/" + kovran::logical_name(id);
  }
  b.std_out = &out;
  kovran::RunState rs(std::move(b));
  std::string reason;
  rs.sysprint_file.open("-", &out, reason);
  try {
    // The statement is node 1; a table and its entries follow the main program.
    compile(rs, text);
    compile(rs, "U");
    compile(rs, "U STOP PROGRAM");
    compile(rs, "T BAND 1:1.3 S:1.5");
    for (const char* entry : {"'300HIGH'", "'100LOW'", "'200MID'", "'250'"}) load_entry(rs, entry);
    kovran::check_table(rs);
    kovran::SORT_RTN(rs);
    kovran::LOGIC(rs);
    rs.S.assign_padded("S AREA 0042 xyz");
    rs.L.assign_padded("PRINT LINE 77");
    rs.D.assign_padded("D 12");
    rs.F2.assign_padded("0000100 second file");
    rs.F3.fill('\xFF');  // a file at its end
    rs.AKEY = "0001";
    rs.BKEY = "0002";
    rs.EOF1 = false;
    rs.running = true;
    for (const std::string_view record : kRecords) {
      rs.BUFFER = record;
      rs.F1.assign_padded(record);
      kovran::Node& node = *rs.first_node;
      rs.current_node = &node;
      dispatch(rs, node);
      rs.H = rs.F1;
      rs.ONCE = false;
    }
  } catch (const kovran::RunEnded&) {
  }
  rs.running = false;
  kovran::close_output_files(rs);
  rs.sysprint_file.close();
  return 0;
}
