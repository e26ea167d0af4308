// strings/text_search.h - searching helpers shared by the string instructions: where a text
// first stands inside another, and where a run of characters from a set ends.
#ifndef KOVRAN_STRINGS_TEXT_SEARCH_H_
#define KOVRAN_STRINGS_TEXT_SEARCH_H_

#include <cstddef>
#include <string_view>

namespace kovran {

// Position (counted from 1) of the first occurrence of `what` in `text`, compared byte by
// byte with no case folding; 0 when `what` is empty, longer than `text`, or absent.
std::size_t find_text(std::string_view text, std::string_view what);

// Position (counted from 1) of the first character of `text` that is not in `set`; 0 when
// every character is in the set (or `text` is empty).
std::size_t first_not_in(std::string_view text, std::string_view set);

}  // namespace kovran

#endif  // KOVRAN_STRINGS_TEXT_SEARCH_H_
