// strings/text_search.cc - searching helpers of the string instructions.
#include "strings/text_search.h"

namespace kovran {

std::size_t find_text(std::string_view text, std::string_view what) {
  if (what.empty() || what.size() > text.size())
    return 0;
  const std::size_t k = text.find(what);
  return k == std::string_view::npos ? 0 : k + 1;
}

std::size_t first_not_in(std::string_view text, std::string_view set) {
  if (set.size() == 1) {  // the common case, without a search of the set per character
    for (std::size_t k = 0; k < text.size(); ++k) {
      if (text[k] != set[0])
        return k + 1;
    }
    return 0;
  }
  const std::size_t k = text.find_first_not_of(set);
  return k == std::string_view::npos ? 0 : k + 1;
}

}  // namespace kovran
