// driver/console.cc - item layout of SYSPRINT lines.
#include "driver/console.h"

namespace kovran {

void Console::item(std::string_view text) {
  if (holds_) {
    if (column_ + 1 + text.size() > kWidth) {
      out_.put('\n');
      column_ = 0;
    } else {
      out_.put(' ');
      ++column_;
    }
  }
  out_.write(text);
  column_ += text.size();
  holds_ = true;  // NOTE: after a wrap the item is the first on its line, with no blank before
}

void Console::new_line() {
  if (!holds_)
    return;
  out_.put('\n');
  column_ = 0;
  holds_ = false;
}

void Console::raw_line(std::string_view text) {
  new_line();
  out_.write(text);
  out_.put('\n');
}

}  // namespace kovran
