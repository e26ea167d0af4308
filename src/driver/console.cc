// driver/console.cc - item layout of SYSPRINT lines.
#include "driver/console.h"

namespace kovran {

void Console::item(std::string_view text) {
  if (column_ > 0) {
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
  if (column_ == 0)
    column_ = 1;  // an empty item still occupies the line
}

void Console::new_line() {
  if (column_ == 0)
    return;
  out_.put('\n');
  column_ = 0;
}

void Console::raw_line(std::string_view text) {
  new_line();
  out_.write(text);
  out_.put('\n');
}

}  // namespace kovran
