// compiler/compiler.h - the program list: node creation, the statement compiler, the logic pass.
#ifndef KOVRAN_COMPILER_COMPILER_H_
#define KOVRAN_COMPILER_COMPILER_H_

#include <string_view>

#include "driver/run_state.h"

namespace kovran {

// ALLOC_RTN   a node for the next statement, unless the last statement was a comment (MORE
// false), whose node is then reused. More than 32767 nodes ends the run with a message.
void ALLOC_RTN(RunState& rs);

// PARSE   splits one statement into the words of the newest node.
void PARSE(RunState& rs, std::string_view statement);

// The next word of a statement by PARSE's rules: blanks separate words, a word that begins
// with `quote` runs to the next quote (a lone quote when there is none), a word that begins
// with "*" starts a trailing comment. Removes the word from `text`; `last` is set when no blank
// followed it. False at the end of the text or at a trailing comment.
bool next_word(std::string_view& text, char quote, std::string_view& word, bool& last);

// The longest statement PARSE reads; the rest of a longer one is lost.
constexpr std::size_t kStatementMax = 80;

// LOGIC   prints the listing when asked and sets the control-flow links, once.
void LOGIC(RunState& rs);

}  // namespace kovran

#endif  // KOVRAN_COMPILER_COMPILER_H_
