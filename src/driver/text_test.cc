// driver/text_test.cc
#include "driver/text.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <random>
#include <string>

namespace kovran {
namespace {

TEST(ComparePadded, ShorterIsBlankExtended) {
  EXPECT_EQ(compare_padded("ABC", "ABC  "), 0);
  EXPECT_LT(compare_padded("AB", "AB!"), 0);     // '!' (0x21) is above the blank
  EXPECT_LT(compare_padded("AB\x01", "AB"), 0);  // 0x01 is below the blank
  EXPECT_GT(compare_padded("AB", "AB\x01"), 0);  // the same with the longer text second
  EXPECT_GT(compare_padded("a", "A"), 0);
  EXPECT_GT(compare_padded("\xFF", "Z"), 0);  // bytes compare unsigned
}

TEST(LowFourBits, ColumnTexts) {
  EXPECT_EQ(low_four_bits_number("", 4), 0);
  EXPECT_EQ(low_four_bits_number("7", 4), 7);
  EXPECT_EQ(low_four_bits_number("0012", 4), 12);
  EXPECT_EQ(low_four_bits_number("12345", 4), 2345);  // only the last four count
  EXPECT_EQ(low_four_bits_number(" 7", 4), 7);        // a blank counts as 0
  EXPECT_EQ(low_four_bits_number("A", 4), 1);         // 'A' is 0x41
}

// A copy made from its plan moves what memmove and a blank fill would, for every length and
// every overlap of source and target: each kind (8 to 16 bytes, 4 to 7, 1 to 3, longer, with
// blanks) is chosen from the lengths, and a boundary one off copies a byte too few or too many.
TEST(MoveCopy, MakesWhatMemmoveMakes) {
  constexpr std::size_t kRoom = 96;
  for (std::uint32_t copy = 0; copy <= 40; ++copy) {
    for (std::uint32_t blank = 0; blank <= 20; blank += 5) {
      for (std::size_t from = 0; from <= 24; from += 3) {
        for (std::size_t to = 0; to <= 24; to += 4) {
          std::string made(kRoom, '.');
          for (std::size_t k = 0; k < kRoom; ++k) made[k] = static_cast<char>('A' + k % 26);
          std::string expected = made;
          std::memmove(&expected[to], &expected[from], copy);
          std::fill_n(&expected[to + copy], blank, ' ');
          make_copy(MoveCopy(&made[from], &made[to], copy, blank));
          ASSERT_EQ(made, expected) << copy << " " << blank << " " << from << " " << to;
        }
      }
    }
  }
}

// Every way of writing an area, in a random order, against a plain string of the same bytes:
// the contents always agree, and nothing but blanks stands from the extent on.
TEST(Area, ExtentCoversEveryWrite) {
  constexpr std::size_t kN = 64;
  Area<kN> area;
  std::string model(kN, ' ');
  std::mt19937 random(7);
  const auto below = [&random](std::size_t n) {
    return std::uniform_int_distribution<std::size_t>(0, n - 1)(random);
  };
  for (int step = 0; step < 2000; ++step) {
    SCOPED_TRACE(step);
    const char c = "AB \0\xFF"[below(5)];
    switch (below(6)) {
      case 0: {  // one byte through operator[]
        const std::size_t k = below(kN);
        area[k] = c;
        model[k] = c;
        break;
      }
      case 1: {  // a run of columns
        const std::size_t first = below(kN + 1);
        const std::size_t last = first + below(kN - first + 1);
        std::fill(area.columns(first, last), area.columns(first, last) + (last - first), c);
        std::fill(model.begin() + static_cast<long>(first), model.begin() + static_cast<long>(last),
                  c);
        break;
      }
      case 2: {  // a text padded or cut
        const std::string text(below(kN + 8), c);
        area.assign_padded(text);
        model = (text + std::string(kN, ' ')).substr(0, kN);
        break;
      }
      case 3:
        area.fill(' ');
        model.assign(kN, ' ');
        break;
      case 4:
        area.fill(c);
        model.assign(kN, c);
        break;
      default: {  // reads leave the extent alone
        const Area<kN>& read = area;
        const std::size_t before = read.extent();
        const std::size_t k = below(kN);
        EXPECT_EQ(read[k], model[k]);
        EXPECT_EQ(read.data()[k], model[k]);
        EXPECT_EQ(read.extent(), before);
        break;
      }
    }
    ASSERT_EQ(area.view(), model);
    ASSERT_LE(area.extent(), kN);
    ASSERT_EQ(model.find_first_not_of(' ', area.extent()), std::string::npos);
    ASSERT_EQ(area.used(), model.substr(0, area.extent()));
  }
}

// The same for a varying string: a blank-padded assignment after longer texts leaves exactly the
// text and its blanks, and used() drops only blanks.
TEST(Varying, PaddedAssignmentAfterEveryOtherWrite) {
  constexpr std::size_t kMax = 48;
  Varying<kMax> text;
  std::string model;
  std::mt19937 random(11);
  const auto below = [&random](std::size_t n) {
    return std::uniform_int_distribution<std::size_t>(0, n - 1)(random);
  };
  for (int step = 0; step < 2000; ++step) {
    SCOPED_TRACE(step);
    const char c = "AB \0"[below(4)];
    const std::string piece(below(kMax + 8), c);
    switch (below(5)) {
      case 0:
        text.assign(piece);
        model = piece.substr(0, kMax);
        break;
      case 1:
        text.append(piece);
        model = (model + piece).substr(0, kMax);
        break;
      case 2: {  // filled through data(), as a record is read
        const std::size_t n = std::min(piece.size(), kMax);
        std::copy(piece.begin(), piece.begin() + static_cast<long>(n), text.data());
        text.resize(n);
        model = piece.substr(0, n);
        break;
      }
      case 3:
        if (!model.empty()) {
          const std::size_t k = below(model.size());
          text[k] = c;
          model[k] = c;
        }
        break;
      default: {
        const std::size_t length = below(kMax + 8);
        text.assign_padded(piece, length);
        model = piece.substr(0, kMax);
        model.resize(std::min(std::max(length, model.size()), kMax), ' ');
        break;
      }
    }
    ASSERT_EQ(text.view(), model);
    const std::string_view used = text.used();
    ASSERT_EQ(model.substr(0, used.size()), used);
    ASSERT_EQ(model.find_first_not_of(' ', used.size()), std::string::npos);
  }
}

}  // namespace
}  // namespace kovran
