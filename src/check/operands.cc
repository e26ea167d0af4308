// check/operands.cc - rules on operands: area codes, column texts, references outside their
// area, literals where a field is needed and unquoted words that count by one character,
// widths the instructions cannot take, decimals, write targets and line numbers.
#include <algorithm>
#include <cctype>

#include "check/rules.h"
#include "conditions/conditions.h"
#include "fields/decimal.h"

namespace kovran {
namespace {

// As ints, for the widths of references: arithmetic and numeric tests read at most 15 digits,
// the edit result has 20 characters.
constexpr int kMostDigits = static_cast<int>(kDigits);
constexpr int kEditColumns = static_cast<int>(kEditWidth);

bool all_digits(std::string_view text) {
  return std::all_of(text.begin(), text.end(), [](char c) { return c >= '0' && c <= '9'; });
}

std::string field_of(int n) { return "field " + std::to_string(n); }

// The word names a reference in form (an area code, a separator, columns) rather than a text.
bool looks_like_reference(std::string_view word) {
  return word.size() >= 3 && std::isalnum(static_cast<unsigned char>(word[1])) == 0;
}

// A column text that is not a number of at most four digits.
void check_column_text(const Node& node, std::string_view word, std::string_view text,
                       Findings& out) {
  const long column = low_four_bits_number(text, 4);
  if (!all_digits(text)) {
    out.warning(node, "column text " + quote(text) + " of " + quote(word) +
                          " is not a number: each character counts by its low four bits, so it "
                          "reads as column " +
                          std::to_string(column));
  } else if (text.size() > 4) {
    out.warning(node, "column text " + quote(text) + " of " + quote(word) +
                          " has more than four digits: only the last four count, so it reads as "
                          "column " +
                          std::to_string(column));
  }
}

// What the run does with a literal (or a start column 0) in word n, by the word's use.
void check_literal(const Node& node, int n, Use use, const WordParse& op, Findings& out) {
  const std::string_view word = node.word(n);
  const bool omitted = word_is(word, "");
  const std::string what = omitted     ? "word " + std::to_string(n) + " is missing"
                           : op.quoted ? quote(word) + " is a literal"
                                       : quote(word) + " has start column 0, so it is a literal";
  switch (use) {
    case Use::kValue:
      if (!op.quoted && word.size() > 1) {
        out.warning(node, looks_like_reference(word)
                              ? quote(word) +
                                    " has start column 0, so it is the one-character "
                                    "literal " +
                                    quote(op.code) + ", not a field"
                              : first_character_only(word));
      }
      break;
    case Use::kAccumulator:
    case Use::kTarget:
    case Use::kSource:
      if (node.op == Op::T) {
        out.error(node, what +
                            " where the result field is needed: every lookup reports field 3 "
                            "and stores nothing");
      } else {
        out.error(node, what + " where a field is needed: the run reports " + field_of(n) +
                            " at every execution" +
                            (use == Use::kSource ? "" : " and stores nothing"));
      }
      break;
    case Use::kTestField:
      if (area_columns(op.code) > 0 || op.code == "C") {
        out.warning(node, what +
                              " where a field is needed: the test then compares what an "
                              "instruction before left in SOURCE");
      } else {
        out.error(node, what + " where a field is needed: the run reports " + field_of(n) +
                            " at every execution");
      }
      break;
    case Use::kQuiet:
      if (node.op == Op::TR) {
        out.warning(node, what + " where a field is needed: TR then changes nothing");
      } else if (node.op == Op::T) {
        out.warning(node, what +
                              " where the argument field is needed: every lookup searches "
                              "for what an instruction before left in SOURCE");
      } else {
        out.warning(node, (omitted ? std::string("the keyword D has no displacement field "
                                                 "after it")
                                   : "the displacement " + what) +
                              ": the displacement is read from what an instruction before left "
                              "in SOURCE");
      }
      break;
    default: break;
  }
}

// Widths an instruction cannot take: more than 15 digits, an edit result over 20.
void check_width(RunState& rs, const Node& node, int n, int width, Findings& out) {
  const std::string_view word = node.word(n);
  const std::string size = std::to_string(width);
  if (node.op == Op::ARITH && (n == 2 || n == 3) && width > kMostDigits) {
    out.error(node, quote(word) + " is " + size +
                        " characters long: arithmetic reads at most 15 digits; the run reports " +
                        field_of(n) + " and does nothing");
  } else if (node.op == Op::I && form_of(node) == IfForm::kNumeric && width > kMostDigits) {
    out.error(node, quote(word) + " is " + size +
                        " characters long: a numeric test reads at most 15 digits; the run "
                        "reports " +
                        field_of(n) + " and the test is false");
  } else if (node.op == Op::ARITH && n == 5) {
    const bool times = word_is(node.word(1), "X");
    const std::string_view d = strip_char(node.word(4), rs.QUOTE);
    const int decimals = d.empty() ? 0 : decimal_places(d.front()).value_or(0);
    const int most = times ? kMostDigits : kQuotientIntegerDigits + decimals;
    if (width > most) {
      out.error(node,
                "result field " + quote(word) + " is " + size + " columns wide: " +
                    (times ? std::string("a product has at most 15 digits")
                           : "a quotient with " + std::to_string(decimals) +
                                 " decimals has at most " + std::to_string(most) + " digits") +
                    "; the run reports field 5 and stores nothing");
    }
  } else if (node.op == Op::E && n == 3 && width > kEditColumns) {
    out.warning(node, "target " + quote(word) + " is " + size +
                          " columns wide: the edited result has 20 characters, so its first " +
                          std::to_string(width - kEditColumns) + " columns become blanks");
  }
}

// A field reference: its area, its column texts, its range inside the area.
void check_reference(const Node& node, int n, Use use, const WordParse& op, Findings& out) {
  const std::string_view word = node.word(n);
  const int columns = area_columns(op.code);
  if (use == Use::kTestField && op.code == "C") {
    if (node.op == Op::I && form_of(node) == IfForm::kCompare) {
      out.warning(node, quote(word) +
                            " in area C fetches nothing in a comparison: the first "
                            "operand is what an instruction before left in SOURCE");
    }
    return;  // otherwise the field is cut from BUFFER as it stands
  }
  if (columns == 0) {
    const bool text_like = word.size() > 1 && std::isalpha(static_cast<unsigned char>(word[1]));
    out.error(node, quote(word) + " names area " + quote(op.code) +
                        ", which is not 1 to 6, S, L or D: the run reports " + field_of(n) +
                        " at every execution" +
                        (text_like ? "; write '" + visible(word) + "' for a literal" : ""));
    return;
  }
  check_column_text(node, word, op.start_text, out);
  if (op.end_text != op.start_text)
    check_column_text(node, word, op.end_text, out);
  const std::string area = "area " + op.code + " (" + std::to_string(columns) + " columns)";
  if (op.n1 > columns || op.n2 > columns) {
    out.error(node, (op.n1 > columns ? "start column " + std::to_string(op.n1)
                                     : "end column " + std::to_string(op.n2)) +
                        " of " + quote(word) + " lies beyond " + area +
                        ": the run cuts the field at the end of the area and reports the "
                        "statement once");
  } else if (op.n2 < op.n1 - 1) {
    out.error(node, "end column " + std::to_string(op.n2) + " of " + quote(word) +
                        " lies before start column " + std::to_string(op.n1) +
                        ": the run takes an empty field and reports the statement once");
  }
}

// The decimals of X and /: one character, 0 to 6.
void check_decimals(RunState& rs, const Node& node, Findings& out) {
  const std::string_view word = node.word(4);
  const bool times = word_is(node.word(1), "X");
  const std::string_view text = strip_char(word, rs.QUOTE);
  if (text.size() > 1) {
    out.warning(node, "decimals " + quote(word) + ": only the first character, " +
                          quote(text.substr(0, 1)) + ", counts");
  }
  if (text.empty())
    return;  // '' counts as 0
  const char d = text.front();
  const std::string what =
      word_is(word, "") ? "there are no decimals (word 4)" : "decimals " + quote(word);
  if (times && !decimal_places(d)) {
    out.warning(node, what + ": X wants 0 to 6 and otherwise stores its first operand unchanged");
  } else if (!times && (d < '0' || d > '9')) {
    out.error(node, what + ": / wants a digit 0 to 6; the run stops with a conversion error");
  } else if (!times && !decimal_places(d)) {
    out.error(node, what + " is over 6: the run reports field 4 and divides nothing");
  }
}

// W n, W L [control] [S nn].
void check_write(const Node& node, Findings& out) {
  const std::string_view target = node.word(2);
  const bool file = target.size() == 1 && valid_file_digit(target[0]);
  if (!file && !word_is(target, "L")) {
    out.error(node, "W writes area 1 to 6 or the print line L, not " + quote(target) +
                        ": the run reports field 2 at every execution");
    return;
  }
  if (file || !word_is(node.word(3), "S"))
    return;
  const std::string_view nn = node.word(4);
  if (word_is(nn, "")) {
    out.warning(node,
                "W L S has no line number (word 4): it starts a new page and prints on "
                "its first line");
  } else if (nn.size() == 1) {
    out.warning(node, "line number " + quote(nn) + " means line " +
                          std::to_string(two_digit_number(nn)) +
                          ": a missing second digit counts as 0; write 0" + visible(nn) +
                          " for line " + std::to_string(low_four_bits(nn[0])));
  } else if (nn.size() > 2 || !all_digits(nn)) {
    out.warning(node, "line number " + quote(nn) +
                          ": only its first two characters count, as "
                          "digits, so it means line " +
                          std::to_string(two_digit_number(nn)));
  }
}

// I C op nn: the listing line number, two digits (an unquoted word gives one, as any value).
void check_line_test(RunState& rs, const Node& node, Findings& out) {
  const std::string_view word = node.word(4);
  const WordParse op = read_operand(rs, word);
  const std::string_view text = strip_char(op.code, rs.QUOTE);
  if (op.literal() && text.size() == 1 && text[0] >= '1' && text[0] <= '9') {
    const std::string digit(text);
    out.warning(node, "line number " + quote(word) + " means line " + digit +
                          "0: a missing second digit counts as 0; write '0" + digit +
                          "' for line " + digit);
  }
}

void check_word(RunState& rs, const Node& node, int n, Use use, Findings& out) {
  const std::string_view word = node.word(n);
  switch (use) {
    case Use::kNone:
    case Use::kKeyRange: return;  // the table and matching rules
    case Use::kDecimals: check_decimals(rs, node, out); return;
    case Use::kText:
      if (word.front() != rs.QUOTE && word.size() > 1)
        out.warning(node, first_character_only(word));
      return;
    default: break;
  }
  const WordParse op = read_operand(rs, word);
  if (op.literal()) {
    check_literal(node, n, use, op, out);
    if (use == Use::kValue && op.quoted)
      check_width(rs, node, n, static_cast<int>(op.code.size()), out);
    return;
  }
  check_reference(node, n, use, op, out);
  if (const int columns = area_columns(op.code); columns > 0)
    check_width(rs, node, n, std::min(op.n2, columns) - op.n1 + 1, out);
}

}  // namespace

void check_operands(RunState& rs, Findings& out) {
  for (const Node& node : rs.nodes) {
    if (node.line == 0)
      continue;
    const Uses uses = uses_of(rs, node);
    for (int n = 2; n <= kWords; ++n) check_word(rs, node, n, uses.use[n], out);
    if (is_key_statement(rs, node))
      continue;
    if (node.op == Op::W)
      check_write(node, out);
    if (node.op == Op::I && form_of(node) == IfForm::kCompare && word_is(node.word(2), "C"))
      check_line_test(rs, node, out);
  }
}

}  // namespace kovran
