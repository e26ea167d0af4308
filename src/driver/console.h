// driver/console.h - the console stream SYSPRINT: lines of items, one blank between items,
// 80 columns wide.
#ifndef KOVRAN_DRIVER_CONSOLE_H_
#define KOVRAN_DRIVER_CONSOLE_H_

#include <cstdint>
#include <string>
#include <string_view>

#include "records/files.h"

namespace kovran {

class Console {
 public:
  static constexpr std::size_t kWidth = 80;

  explicit Console(OutFile& out) : out_(out) {}

  // Appends a text item to the current line, starting a new line first when the item and its
  // separating blank would end past column 80 on a line that already holds something.
  void item(std::string_view text);
  void item(std::int64_t number) { item(std::string_view(std::to_string(number))); }
  // Ends the current line if it holds anything.
  void new_line();
  // Starts a fresh line and writes the items of one whole line.
  template <typename... Items>
  void line(const Items&... items) {
    new_line();
    (put(items), ...);
    new_line();
  }
  // Writes raw text as one whole line, outside the item layout (dumps, echoes).
  void raw_line(std::string_view text);

 private:
  void end_line();  // the line feed, and the line is whole
  void put(std::string_view text) { item(text); }
  void put(const char* text) { item(std::string_view(text)); }
  void put(const std::string& text) { item(std::string_view(text)); }
  void put(char c) { item(std::string_view(&c, 1)); }  // a character is text, not a number
  template <typename Number>
  void put(Number n) {
    item(static_cast<std::int64_t>(n));
  }

  OutFile& out_;
  std::size_t column_ = 0;  // characters on the current line
  bool holds_ = false;      // the current line holds an item (possibly an empty one)
};

}  // namespace kovran

#endif  // KOVRAN_DRIVER_CONSOLE_H_
