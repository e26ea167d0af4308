// fuzz/fuzz_fields.cc - one statement of any text, compiled into a node and dispatched to the
// instruction routine its code names (move, clear, arithmetic, IF, edit, find, change,
// translate, lookup, write, dump) over a few preset records, with the areas, a loaded table,
// the keys and a scratch directory for the files it writes set up first. A code that names
// no routine still has every operand parsed, resolved and stored into.
#include <cstdint>
#include <string_view>

#include "driver/testing.h"
#include "fields/field_ref.h"
#include "fields/fields.h"
#include "records/records.h"
#include "strings/strings.h"

namespace {

// Records of FILE1 the statement runs over: numbers, signs, letters, blanks, high values.
constexpr char kBytes[] = "9999999\xFF\x00 lower UPPER 123456789012345678901234567890";
constexpr std::string_view kRecords[] = {
    "0001234 ABC def 00x5 -12.50 +7    Z", "",
    std::string_view(kBytes, sizeof kBytes - 1),  // with its NUL
};

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
  static const kovran::ScratchDir scratch;  // the files the statement writes, removed at exit
  if (!scratch.made())
    return 0;
  kovran::TestRun t(scratch);
  kovran::RunState& rs = t.rs;
  kovran::ended_with([&] {
    // The statement is node 1; a table and its entries follow the main program.
    t.compile({text, "U", "U STOP PROGRAM", "T BAND 1:1.3 S:1.5"});
    t.entries({"'300HIGH'", "'100LOW'", "'200MID'", "'250'"});
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
  });
  rs.running = false;
  kovran::close_output_files(rs);
  return 0;
}
