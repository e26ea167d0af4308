// driver/text.h - the two text shapes of the run state: fixed blank-padded areas and varying
// strings with a maximum length, plus the one byte comparison every test shares.
#ifndef KOVRAN_DRIVER_TEXT_H_
#define KOVRAN_DRIVER_TEXT_H_

#include <algorithm>
#include <array>
#include <cstddef>
#include <cstring>
#include <string>
#include <string_view>

namespace kovran {

// A fixed-length character area, blank-filled at the start.
template <std::size_t N>
struct Area {
  std::array<char, N> bytes;
  Area() { bytes.fill(' '); }
  static constexpr std::size_t size() { return N; }
  char* data() { return bytes.data(); }
  const char* data() const { return bytes.data(); }
  char& operator[](std::size_t k) { return bytes[k]; }
  char operator[](std::size_t k) const { return bytes[k]; }
  std::string_view view() const { return std::string_view(bytes.data(), N); }
  void fill(char c) { bytes.fill(c); }
  // The text left-aligned, cut at N or blank-filled to N.
  void assign_padded(std::string_view text) {
    const std::size_t n = std::min(text.size(), N);
    if (n > 0)
      std::memcpy(bytes.data(), text.data(), n);
    std::memset(bytes.data() + n, ' ', N - n);
  }
};

// A varying string of at most Max characters: every assignment cuts at Max.
template <std::size_t Max>
class Varying {
 public:
  Varying() = default;
  explicit Varying(std::string_view text) { assign(text); }
  static constexpr std::size_t max_size() { return Max; }
  std::size_t size() const { return len_; }
  bool empty() const { return len_ == 0; }
  const char* data() const { return bytes_.data(); }
  char* data() { return bytes_.data(); }
  char operator[](std::size_t k) const { return bytes_[k]; }
  char& operator[](std::size_t k) { return bytes_[k]; }
  std::string_view view() const { return std::string_view(bytes_.data(), len_); }
  std::string str() const { return std::string(view()); }
  void assign(std::string_view text) {
    len_ = std::min(text.size(), Max);
    if (len_ > 0)
      std::memmove(bytes_.data(), text.data(), len_);
  }
  Varying& operator=(std::string_view text) {
    assign(text);
    return *this;
  }
  void append(std::string_view text) {
    const std::size_t n = std::min(text.size(), Max - len_);
    if (n > 0)
      std::memcpy(bytes_.data() + len_, text.data(), n);
    len_ += n;
  }
  void clear() { len_ = 0; }
  // Sets the length directly (the caller has filled the bytes); cut at Max.
  void resize(std::size_t n) { len_ = std::min(n, Max); }

 private:
  std::array<char, Max> bytes_{};
  std::size_t len_ = 0;
};

// Compares two texts byte by byte on unsigned codes, the shorter taken as extended on the
// right with blanks. Returns <0, 0 or >0.
int compare_padded(std::string_view a, std::string_view b);

// Whole-word comparison with blank padding: "M" matches the word M only, and a word of one
// blank matches the empty keyword.
bool word_is(std::string_view word, std::string_view keyword);

// Removes every leading and every trailing character c.
std::string_view strip_char(std::string_view text, char c);

// Removes leading and trailing blanks.
std::string_view trim_blanks(std::string_view text);

// Upper-cases a to z only.
void upper_case(char* text, std::size_t n);

// Value of a column text: right-aligned into `width` positions filled with zeros, each position
// counting the low four bits of its character. Only the last `width` characters count.
long low_four_bits_number(std::string_view text, std::size_t width);

}  // namespace kovran

#endif  // KOVRAN_DRIVER_TEXT_H_
