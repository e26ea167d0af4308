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
  for (const char ch : text) value = value * 10 + low_four_bits(ch);
  return value;
}

std::string zero_filled(std::string_view text) {
  if (text.size() > kDigits)
    text.remove_prefix(text.size() - kDigits);
  std::string digits(kDigits - text.size(), '0');
  digits.append(text);
  return digits;
}

}  // namespace kovran
