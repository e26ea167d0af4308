// strings/test_support.h - a run state for the string instruction tests: statements compiled
// one at a time, areas filled and read by column.
#ifndef KOVRAN_STRINGS_TEST_SUPPORT_H_
#define KOVRAN_STRINGS_TEST_SUPPORT_H_

#include <gtest/gtest.h>

#include <string>
#include <string_view>

#include "compiler/compiler.h"
#include "driver/run_state.h"

namespace kovran {

class StringsTest : public ::testing::Test {
 protected:
  // Compiles one statement into a new node, which becomes the current node.
  void compile(std::string_view statement) {
    ALLOC_RTN(rs);
    PARSE(rs, statement);
  }
  // Writes `text` into an area from column `column` on.
  template <std::size_t N>
  static void put(Area<N>& area, std::size_t column, std::string_view text) {
    for (std::size_t k = 0; k < text.size(); ++k) area[column - 1 + k] = text[k];
  }
  // Columns `from` to `to` of an area.
  template <std::size_t N>
  static std::string columns(const Area<N>& area, std::size_t from, std::size_t to) {
    return std::string(area.view().substr(from - 1, to - from + 1));
  }

  RunState rs{Bindings{}};
};

}  // namespace kovran

#endif  // KOVRAN_STRINGS_TEST_SUPPORT_H_
