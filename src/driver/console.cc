// driver/console.cc - item layout of SYSPRINT lines.
#include "driver/console.h"

namespace kovran {

void Console::item(std::string_view text) {
  if (holds_) {
    if (column_ + 1 + text.size() > kWidth) {
      end_line();
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
  end_line();
  holds_ = false;
}

void Console::raw_line(std::string_view text) {
  new_line();
  out_.write(text);
  end_line();
}

void Console::end_line() {
  out_.put('\n');
  out_.end_record();  // a console file is cut back to whole lines too
  column_ = 0;
}

}  // namespace kovran
