// driver/text.h - the two text shapes of the run state: fixed blank-padded areas and varying
// strings with a maximum length, plus the one byte comparison every test shares, and the
// helpers every instruction shares on texts and on the numbers written in them.
#ifndef KOVRAN_DRIVER_TEXT_H_
#define KOVRAN_DRIVER_TEXT_H_

#include <algorithm>
#include <array>
#include <cassert>
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <optional>
#include <string>
#include <string_view>

namespace kovran {

// Columns of a record area (F1..F6, H, S): the longest record, field and script line.
constexpr std::size_t kAreaWidth = 4096;
// Digits of every number the arithmetic and the numeric test read.
constexpr std::size_t kDigits = 15;
// The high value: the byte an area at end of file is filled with.
constexpr char kHighValue = '\xFF';

// Sixteen bytes moved as one word.
struct Bytes16 {
  char byte[16];
};

// Copies n bytes, sizeof(Word) <= n <= 2 * sizeof(Word), as two words that may overlap: both
// loads before the stores, so an overlap of source and target is safe.
template <typename Word>
inline void move_two_words(char* dest, const char* src, std::size_t n) {
  Word head, tail;
  std::memcpy(&head, src, sizeof head);
  std::memcpy(&tail, src + n - sizeof tail, sizeof tail);
  std::memcpy(dest, &head, sizeof head);
  std::memcpy(dest + n - sizeof tail, &tail, sizeof tail);
}

// Copies 1 <= n <= 3 bytes that may overlap: the first, the middle and the last.
inline void move_few(char* dest, const char* src, std::size_t n) {
  const char first = src[0], middle = src[n / 2], last = src[n - 1];
  dest[0] = first;
  dest[n / 2] = middle;
  dest[n - 1] = last;
}

// Copies n <= 16 bytes that may overlap, as memmove does, without a call.
inline void move_short(char* dest, const char* src, std::size_t n) {
  assert(n <= 16);
  if (n >= 8) {
    move_two_words<std::uint64_t>(dest, src, n);
  } else if (n >= 4) {
    move_two_words<std::uint32_t>(dest, src, n);
  } else if (n > 0) {
    move_few(dest, src, n);
  }
}

// Copies n bytes that may overlap, as memmove does. Fields are mostly short: up to 16 bytes are
// moved by move_short.
inline void move_bytes(char* dest, const char* src, std::size_t n) {
  if (n <= 16) {
    move_short(dest, src, n);
  } else {
    std::memmove(dest, src, n);
  }
}

// Fills n bytes with blanks; up to 16 without a call.
inline void fill_blanks(char* dest, std::size_t n) {
  static constexpr char kBlanks[] = "                ";  // 16
  if (n <= 16) {
    move_bytes(dest, kBlanks, n);
  } else {
    std::memset(dest, ' ', n);
  }
}

// A copy of fixed lengths, decided once and made many times: `copy` bytes, which may overlap,
// then `blank` blanks after them. The moves of move_bytes are chosen when it is made.
struct MoveCopy {
  enum Kind : std::uint8_t {
    kEight,    // 8..16 bytes, no blank
    kFour,     // 4..7 bytes, no blank
    kFew,      // 1..3 bytes, no blank
    kSixteen,  // 17..32 bytes, no blank
    kLong,     // more than 32 bytes, no blank
    kGeneral,  // anything else
  };
  const char* from = nullptr;
  char* to = nullptr;
  std::uint32_t copy = 0;
  std::uint32_t blank = 0;
  Kind kind = kGeneral;

  MoveCopy() = default;
  MoveCopy(const char* source, char* target, std::uint32_t copied, std::uint32_t blanked)
      : from(source), to(target), copy(copied), blank(blanked) {
    if (blank > 0 || copy == 0) {
      kind = kGeneral;
    } else if (copy > 32) {
      kind = kLong;
    } else if (copy > 16) {
      kind = kSixteen;
    } else {
      kind = copy >= 8 ? kEight : copy >= 4 ? kFour : kFew;
    }
  }
};

// The copy, its bytes taken from `from` (the same bytes as at c.from) and put at `to` (at
// c.to, or where they are to stand instead). The kinds are tested one after the other, the
// most usual first: no table to jump through.
[[gnu::always_inline]] inline void make_copy(const MoveCopy& c, const char* from, char* to) {
  if (c.kind == MoveCopy::kEight) {
    move_two_words<std::uint64_t>(to, from, c.copy);
  } else if (c.kind == MoveCopy::kFour) {
    move_two_words<std::uint32_t>(to, from, c.copy);
  } else if (c.kind == MoveCopy::kFew) {
    move_few(to, from, c.copy);
  } else if (c.kind == MoveCopy::kSixteen) {
    move_two_words<Bytes16>(to, from, c.copy);
  } else if (c.kind == MoveCopy::kLong) {
    std::memmove(to, from, c.copy);
  } else {
    move_bytes(to, from, c.copy);
    if (c.blank > 0)
      fill_blanks(to + c.copy, c.blank);
  }
}
[[gnu::always_inline]] inline void make_copy(const MoveCopy& c, const char* from) {
  make_copy(c, from, c.to);
}
[[gnu::always_inline]] inline void make_copy(const MoveCopy& c) { make_copy(c, c.from); }

// Sixteen bytes copied as one word where only the first of them need arrive: a run of moves
// plans them (engine/loop.cc) where the bytes past a field are written again, by a later move
// of the run, before anything reads them.
struct Copy16 {
  const char* from = nullptr;
  char* to = nullptr;
};
[[gnu::always_inline]] inline void copy_sixteen(const char* from, char* to) {
  Bytes16 word;
  std::memcpy(&word, from, sizeof word);
  std::memcpy(to, &word, sizeof word);
}

// `at` moved by `shift` bytes: the same columns in another copy of their text.
inline const char* shifted_by(const char* at, std::uintptr_t shift) {
  return reinterpret_cast<const char*>(reinterpret_cast<std::uintptr_t>(at) + shift);
}
inline char* shifted_by(char* at, std::uintptr_t shift) {
  return reinterpret_cast<char*>(reinterpret_cast<std::uintptr_t>(at) + shift);
}

// A fixed-length character area, blank-filled at the start. It keeps an extent: every byte from
// the extent on is a blank, so padding, trimming and blanking need not touch the whole area.
// The extent is an upper bound, never lowered by a write: whatever hands out writable bytes
// (data(), operator[], columns()) raises it over them first.
template <std::size_t N>
class Area {
 public:
  Area() { bytes_.fill(' '); }
  static constexpr std::size_t size() { return N; }
  // Writable bytes anywhere: the whole area counts as used.
  char* data() {
    extent_ = N;
    return bytes_.data();
  }
  const char* data() const { return bytes_.data(); }
  char& operator[](std::size_t k) {
    grow(k + 1);
    return bytes_[k];
  }
  char operator[](std::size_t k) const { return bytes_[k]; }
  std::string_view view() const { return std::string_view(bytes_.data(), N); }
  // The bytes before the extent; the rest of the area is blank.
  std::string_view used() const { return std::string_view(bytes_.data(), extent_); }
  std::size_t extent() const { return extent_; }
  // Writable columns [first, last), 0-based; the extent grows to cover them.
  char* columns(std::size_t first, std::size_t last) {
    grow(last);
    return bytes_.data() + first;
  }
  // The bytes and the extent, for a field resolved once and used at every execution.
  char* bytes() { return bytes_.data(); }
  std::size_t* extent_slot() { return &extent_; }
  // Copies the used columns to `out`, which takes up to 15 bytes more after them, and blanks
  // them: the area is left blank.
  void move_out(char* out) {
    static_assert(N % 16 == 0, "whole steps of 16 stay inside the area");
    for (std::size_t k = 0; k < extent_; k += 16) {
      std::memcpy(out + k, bytes_.data() + k, 16);
      std::memset(bytes_.data() + k, ' ', 16);
    }
    extent_ = 0;
  }
  void fill(char c) {
    if (c == ' ') {
      std::memset(bytes_.data(), ' ', extent_);
      extent_ = 0;
    } else {
      bytes_.fill(c);
      extent_ = N;
    }
  }
  // Lowers the extent over the blanks just below it, so that it is exact again.
  void tighten() {
    while (extent_ > 0 && bytes_[extent_ - 1] == ' ') --extent_;
  }
  // The text left-aligned, cut at N or blank-filled to N.
  [[gnu::always_inline]] void assign_padded(std::string_view text) {
    const std::size_t n = std::min(text.size(), N);
    if constexpr (N >= 16) {
      move_bytes(bytes_.data(), text.data(), n);
      if (extent_ > n)
        fill_blanks(bytes_.data() + n, extent_ - n);
    } else {  // a small area: the compiler cannot tell that no 8-byte move fits in it
      if (n > 0)
        std::memmove(bytes_.data(), text.data(), n);
      std::memset(bytes_.data() + n, ' ', N - n);
    }
    extent_ = n;
  }

 private:
  void grow(std::size_t end) {
    if (end > extent_)
      extent_ = end;
  }

  std::array<char, N> bytes_;
  std::size_t extent_ = 0;  // bytes_[k] is a blank for every k >= extent_
};

// A varying string of at most Max characters: every assignment cuts at Max. It remembers how
// far its storage has ever been written: from there on the storage holds blanks, so a text
// padded with blanks (assign_padded) costs only what it overwrites.
template <std::size_t Max>
class Varying {
 public:
  Varying() { bytes_.fill(' '); }
  explicit Varying(std::string_view text) : Varying() { assign(text); }
  std::size_t size() const { return len_; }
  bool empty() const { return len_ == 0; }
  const char* data() const { return bytes_.data(); }
  // Writable storage: write only the first size() characters, or fill the first n and then
  // call resize(n).
  char* data() { return bytes_.data(); }
  char operator[](std::size_t k) const { return bytes_[k]; }
  char& operator[](std::size_t k) {
    written_ = std::max(written_, k + 1);
    return bytes_[k];
  }
  std::string_view view() const { return std::string_view(bytes_.data(), len_); }
  // The text without a tail that is known to be blank: view() is this, then blanks.
  std::string_view used() const {
    return std::string_view(bytes_.data(), std::min(len_, written_));
  }
  std::string str() const { return std::string(view()); }
  void assign(std::string_view text) {
    len_ = std::min(text.size(), Max);
    if (text.data() != bytes_.data())  // a prefix of itself stays in place
      move_bytes(bytes_.data(), text.data(), len_);
    written_ = std::max(written_, len_);
  }
  // The same for n <= Max characters that lie outside this string (a field of an area).
  void assign_outside(const char* text, std::size_t n) {
    assert(n <= Max);
    len_ = n;
    move_bytes(bytes_.data(), text, n);
    if (written_ < n)
      written_ = n;
  }
  Varying& operator=(std::string_view text) {
    assign(text);
    return *this;
  }
  // The text followed by blanks up to `length` characters, all cut at Max.
  void assign_padded(std::string_view text, std::size_t length) {
    const std::size_t n = std::min(text.size(), Max);
    move_bytes(bytes_.data(), text.data(), n);
    if (written_ > n)
      fill_blanks(bytes_.data() + n, written_ - n);
    written_ = n;
    len_ = std::min(std::max(length, n), Max);
  }
  void append(std::string_view text) {
    const std::size_t n = std::min(text.size(), Max - len_);
    if (n > 0)
      std::memcpy(bytes_.data() + len_, text.data(), n);
    len_ += n;
    written_ = std::max(written_, len_);
  }
  void clear() { len_ = 0; }
  // Sets the length directly (the caller has filled the bytes); cut at Max.
  void resize(std::size_t n) {
    len_ = std::min(n, Max);
    written_ = std::max(written_, len_);
  }
  // The same for n <= Max.
  void resize_within(std::size_t n) {
    assert(n <= Max);
    len_ = n;
    if (written_ < n)
      written_ = n;
  }

 private:
  std::array<char, Max> bytes_;
  std::size_t len_ = 0;
  std::size_t written_ = 0;  // bytes_[k] is a blank for every k >= written_
};

// Compares two texts byte by byte on unsigned codes, the shorter taken as extended on the
// right with blanks. Returns <0, 0 or >0.
int compare_padded_unequal(std::string_view a, std::string_view b);  // sizes differ
inline int compare_padded(std::string_view a, std::string_view b) {
  if (a.size() != b.size())
    return compare_padded_unequal(a, b);
  if (a.size() <= 8) {  // keys and codes are mostly short: no call
    for (std::size_t k = 0; k < a.size(); ++k) {
      if (a[k] != b[k])
        return static_cast<unsigned char>(a[k]) - static_cast<unsigned char>(b[k]);
    }
    return 0;
  }
  return std::memcmp(a.data(), b.data(), a.size());  // unsigned bytes
}

// Whole-word comparison with blank padding: "M" matches the word M only, and a word of one
// blank matches the empty keyword. The same as compare_padded(word, keyword) == 0.
inline bool word_is(std::string_view word, std::string_view keyword) {
  const std::size_t common = std::min(word.size(), keyword.size());
  for (std::size_t k = 0; k < common; ++k) {
    if (word[k] != keyword[k])
      return false;
  }
  const std::string_view rest = word.size() > common ? word.substr(common) : keyword.substr(common);
  for (const char ch : rest) {
    if (ch != ' ')
      return false;
  }
  return true;
}

// Removes every leading character c.
inline std::string_view trim_leading(std::string_view text, char c) {
  while (!text.empty() && text.front() == c) text.remove_prefix(1);
  return text;
}

// Removes every trailing character c.
inline std::string_view trim_trailing(std::string_view text, char c) {
  while (!text.empty() && text.back() == c) text.remove_suffix(1);
  return text;
}

// Removes every leading and every trailing character c.
inline std::string_view strip_char(std::string_view text, char c) {
  return trim_trailing(trim_leading(text, c), c);
}

// Removes leading and trailing blanks.
inline std::string_view trim_blanks(std::string_view text) { return strip_char(text, ' '); }

// The text with every byte outside printable ASCII written as <XX>, two hexadecimal digits.
std::string visible(std::string_view text);

// Upper-cases a to z only.
void upper_case(char* text, std::size_t n);

// --- numbers written in texts ---------------------------------------------------------------
// A character counted as a digit by its low four bits (a blank counts as 0).
inline int low_four_bits(char c) { return static_cast<unsigned char>(c) & 0x0F; }

// Value of a column text: right-aligned into `width` positions filled with zeros, each position
// counting the low four bits of its character. Only the last `width` characters count.
long low_four_bits_number(std::string_view text, std::size_t width);

// The number of a two-digit text: its first two characters, blank-filled, each counted by its
// low four bits ("5" is 50, "05" is 5).
inline int two_digit_number(std::string_view text) {
  const int first = text.size() > 0 ? low_four_bits(text[0]) : 0;
  const int second = text.size() > 1 ? low_four_bits(text[1]) : 0;
  return 10 * first + second;
}

// The text right-aligned in 15 positions filled with the digit zero; the empty text gives 15
// zeros. Only the last 15 characters of a longer text count (callers reject those first).
std::string zero_filled(std::string_view text);

// The value of a text of at most 15 decimal digits, a blank counting as the digit 0 when
// `blanks_are_zeros`; nothing when any other character is not a digit.
inline std::optional<std::uint64_t> digits_value(std::string_view digits,
                                                 bool blanks_are_zeros = false) {
  assert(digits.size() <= kDigits);
  std::uint64_t value = 0;
  for (const char c : digits) {
    auto digit = static_cast<unsigned>(static_cast<unsigned char>(c) - '0');
    if (digit > 9) {  // the usual case first
      if (c != ' ' || !blanks_are_zeros)
        return std::nullopt;
      digit = 0;
    }
    value = value * 10 + digit;
  }
  return value;
}

// Eight characters loaded as one little-endian word (the first in the low byte): true when every
// one is a digit, a blank counting as one, and made the digit 0, when `blanks_are_zeros`.
inline bool digit_characters(std::uint64_t& x, bool blanks_are_zeros) {
  constexpr std::uint64_t kOnes = 0x0101010101010101;
  if (blanks_are_zeros) {
    const std::uint64_t y = x ^ (kOnes * ' ');                          // a blank byte is 0
    const std::uint64_t t = ((y & (kOnes * 0x7F)) + kOnes * 0x7F) | y;  // top bit: not 0
    x += ((~t & (kOnes * 0x80)) >> 7) * ('0' - ' ');
  }
  // Every byte 0x30..0x39: its high half 3, and still 3 once 6 is added to its low half.
  return (x & (kOnes * 0xF0)) == kOnes * 0x30 && ((x + kOnes * 6) & (kOnes * 0xF0)) == kOnes * 0x30;
}

// The same eight characters read as eight digits. False when any is not a digit.
inline bool eight_digits(std::uint64_t x, bool blanks_are_zeros, std::uint64_t& value) {
  constexpr std::uint64_t kOnes = 0x0101010101010101;
  if (!digit_characters(x, blanks_are_zeros))
    return false;
  x -= kOnes * '0';
  x = (x * 10 + (x >> 8)) & 0x00FF00FF00FF00FF;  // pairs of digits
  x = (x * 100 + (x >> 16)) & 0x0000FFFF0000FFFF;
  value = (x * 10000 + (x >> 32)) & 0xFFFFFFFF;
  return true;
}

// The text of at most 15 characters at `p`, with 16 bytes readable from `p` (the start of a
// larger buffer), right-aligned into 16 characters filled with zeros, as two words loaded as
// eight_digits takes them: `first` the first eight, `last` the other eight.
inline void zero_filled_words(const char* p, std::size_t n, std::uint64_t& first,
                              std::uint64_t& last) {
  assert(n <= kDigits);
  constexpr std::uint64_t kZeros = 0x3030303030303030;
  // The first `k` characters (0..8) of a word, right-aligned into zeros.
  const auto leading = [](std::uint64_t x, std::size_t k) {
    return k == 0 ? kZeros : k == 8 ? x : (x << (8 * (8 - k))) | (kZeros >> (8 * k));
  };
  std::memcpy(&first, p, 8);
  if (n <= 8) {
    last = leading(first, n);
    first = kZeros;
  } else {
    std::memcpy(&last, p + n - 8, 8);
    first = leading(first, n - 8);
  }
}

// digits_value for a text of at most 15 characters at `p` with 16 bytes readable from `p`:
// eight characters a step.
inline std::optional<std::uint64_t> digits_value_in_buffer(const char* p, std::size_t n,
                                                           bool blanks_are_zeros) {
  std::uint64_t first, last, high = 0, low;
  zero_filled_words(p, n, first, last);
  if (!eight_digits(last, blanks_are_zeros, low) ||
      (n > 8 && !eight_digits(first, blanks_are_zeros, high)))
    return std::nullopt;
  return high * 100000000 + low;
}

}  // namespace kovran

#endif  // KOVRAN_DRIVER_TEXT_H_
