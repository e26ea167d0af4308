// driver/text.cc - shared text helpers.
#include "driver/text.h"

namespace kovran {

int compare_padded_unequal(std::string_view a, std::string_view b) {
  const std::size_t common = std::min(a.size(), b.size());
  if (common > 0) {
    const int c = std::memcmp(a.data(), b.data(), common);  // memcmp compares unsigned bytes
    if (c != 0)
      return c;
  }
  if (a.size() == b.size())
    return 0;
  const bool a_longer = a.size() > b.size();
  const std::string_view rest = a_longer ? a.substr(common) : b.substr(common);
  for (const char ch : rest) {
    const int diff = static_cast<unsigned char>(ch) - static_cast<int>(' ');
    if (diff != 0)
      return a_longer ? diff : -diff;
  }
  return 0;
}

std::string_view strip_char(std::string_view text, char c) {
  while (!text.empty() && text.front() == c) text.remove_prefix(1);
  while (!text.empty() && text.back() == c) text.remove_suffix(1);
  return text;
}

std::string_view trim_blanks(std::string_view text) { return strip_char(text, ' '); }

std::string visible(std::string_view text) {
  static constexpr char kHex[] = "0123456789ABCDEF";
  std::string out;
  out.reserve(text.size());
  for (const char ch : text) {
    const auto byte = static_cast<unsigned char>(ch);
    if (byte >= 0x20 && byte < 0x7F) {
      out += ch;
    } else {  // a dump of high-value areas is mostly these: no formatted output per byte
      const char hex[4] = {'<', kHex[byte >> 4], kHex[byte & 15], '>'};
      out.append(hex, 4);
    }
  }
  return out;
}

void upper_case(char* text, std::size_t n) {
  for (std::size_t k = 0; k < n; ++k) {
    if (text[k] >= 'a' && text[k] <= 'z')
      text[k] = static_cast<char>(text[k] - 'a' + 'A');
  }
}

long low_four_bits_number(std::string_view text, std::size_t width) {
  if (text.size() > width)
    text = text.substr(text.size() - width);
  long value = 0;  // the zero fill on the left adds nothing
  for (const char ch : text) value = value * 10 + (static_cast<unsigned char>(ch) & 0x0F);
  return value;
}

}  // namespace kovran
