// compiler/node.cc - instruction codes.
#include "compiler/node.h"

namespace kovran {

Op decode_op(std::string_view code) {
  code = trim_blanks(code);  // a word of one blank is the empty code
  if (code.size() == 1) {
    switch (code[0]) {
      case 'K': return Op::K;
      case 'A': return Op::CH;
      case 'Z': return Op::TR;
      case 'I': return Op::I;
      case 'U': return Op::U;
      case 'O': return Op::O;
      case 'D': return Op::D;
      case '+':
      case '-':
      case 'X':
      case '/': return Op::ARITH;
      case 'M': return Op::M;
      case 'F': return Op::F;
      case 'C': return Op::C;
      case 'E': return Op::E;
      case 'L': return Op::L;
      case 'W': return Op::W;
      case 'H': return Op::H;
      case 'G': return Op::G;
      case 'B': return Op::B;
      case 'R': return Op::R;
      case 'S': return Op::S;
      case 'T': return Op::T;
      default: return Op::BAD;
    }
  }
  if (code == "CH")
    return Op::CH;
  if (code == "TR")
    return Op::TR;
  return Op::BAD;
}

}  // namespace kovran
