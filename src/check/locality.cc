// check/locality.cc - whether the job is record-local: every record it writes depends on its own
// input record alone, so that the job run over consecutive blocks of its input file, each output
// file concatenated in block order, writes the bytes of one run. Each reason it is not is a note
// at its script line.
//
// Besides the options and statements that look across records (the end-of-job block, I S, the
// control-break test, W L, H, LC, DUMP, DMP, TRACE, DEBUG, VERBOSE, a read mode other than T=0),
// the passes are followed through the program, every path, column by column: a column is fresh
// when it holds nothing of an earlier record, because this pass wrote it on every path that
// reaches it, or because it still holds what it held when the run started (which every block
// starts with too). A statement that reads a column that may not be fresh makes the job not
// record-local. So do the other things a pass can inherit: SOURCE where an instruction uses the
// value an earlier statement left, BUFFER cut by a test of area C, the result of the last IF
// read by O, an IF run left open at the end of a pass, the next link a subroutine entry plants.
// When in doubt, the answer is no.
#include <algorithm>
#include <cstdint>
#include <deque>
#include <map>
#include <set>
#include <string>
#include <utility>
#include <vector>

#include "check/rules.h"
#include "conditions/conditions.h"
#include "fields/fields.h"
#include "records/records.h"

namespace kovran {
namespace {

constexpr std::size_t kWide = 4096;       // F1..F6, S, and BUFFER at most
constexpr std::size_t kDateFrom = 26;     // D:27.32 holds the run date from the start
constexpr std::size_t kDateTo = 32;       // (0-based, end excluded)
constexpr std::size_t kMaxStates = 8192;  // (statement, return point) pairs followed
constexpr int kEnd = -1;                  // an empty link: the pass ends there
constexpr int kStale = -2;                // a link or return point of an earlier record
constexpr const char* kNotWritten =
    " before this pass has written it on every path: it can hold data of an earlier record";

// A set of columns over one index space: every area a pass may read, then BUFFER.
class Columns {
 public:
  explicit Columns(std::size_t size = 0) : words_((size + 63) / 64, 0) {}
  void set(std::size_t from, std::size_t to) { apply(from, to, true); }
  void reset(std::size_t from, std::size_t to) { apply(from, to, false); }
  bool test(std::size_t c) const { return (words_[c / 64] >> (c % 64) & 1) != 0; }
  void assign(std::size_t c, bool on) {
    const std::uint64_t bit = std::uint64_t{1} << (c % 64);
    words_[c / 64] = on ? words_[c / 64] | bit : words_[c / 64] & ~bit;
  }
  // The first column of [from, to) not in the set, or `to`.
  std::size_t first_missing(std::size_t from, std::size_t to) const {
    for (std::size_t c = from; c < to; ++c) {
      if (c % 64 == 0 && c + 64 <= to && words_[c / 64] == ~std::uint64_t{0}) {
        c += 63;
        continue;
      }
      if (!test(c))
        return c;
    }
    return to;
  }
  // The end of the run of missing columns from `from` on, within `to`.
  std::size_t missing_until(std::size_t from, std::size_t to) const {
    while (from < to && !test(from)) ++from;
    return from;
  }
  bool meet(const Columns& o) {  // intersection; true when it changed
    bool changed = false;
    for (std::size_t k = 0; k < words_.size(); ++k) {
      const std::uint64_t w = words_[k] & o.words_[k];
      changed = changed || w != words_[k];
      words_[k] = w;
    }
    return changed;
  }
  bool operator==(const Columns& o) const { return words_ == o.words_; }

 private:
  void apply(std::size_t from, std::size_t to, bool on) {
    for (std::size_t c = from; c < to;) {
      const std::size_t k = c / 64;
      const std::size_t bit = c % 64;
      const std::size_t n = std::min<std::size_t>(64 - bit, to - c);
      const std::uint64_t mask = (n == 64 ? ~std::uint64_t{0} : ((std::uint64_t{1} << n) - 1))
                                 << bit;
      words_[k] = on ? words_[k] | mask : words_[k] & ~mask;
      c += n;
    }
  }
  std::vector<std::uint64_t> words_;
};

// What a pass may carry from the passes before it, at one statement.
struct PassState {
  Columns fresh;                     // holds nothing of an earlier record
  Columns initial;                   // still holds what it held when the run started
  bool if_ended = false;             // an IF run has ended in this pass: OLDRESULT is its own
  const Node* open_if = nullptr;     // an IF run this IF began may be open (NEWCOND false)
  std::vector<std::set<int>> links;  // per planted node: the next links it may hold
  std::set<int> rps;                 // the return points a call may have set

  bool meet(const PassState& o) {
    bool changed = fresh.meet(o.fresh);
    changed = initial.meet(o.initial) || changed;
    if (if_ended && !o.if_ended) {
      if_ended = false;
      changed = true;
    }
    if (open_if == nullptr && o.open_if != nullptr) {
      open_if = o.open_if;
      changed = true;
    }
    for (std::size_t k = 0; k < links.size(); ++k) {
      for (const int v : o.links[k]) changed = links[k].insert(v).second || changed;
    }
    for (const int v : o.rps) changed = rps.insert(v).second || changed;
    return changed;
  }
};

std::string area_name(AreaId a) {
  switch (a) {
    case AreaId::kS: return "S";
    case AreaId::kL: return "L";
    case AreaId::kD: return "D";
    case AreaId::kNone: return "?";
    default: return std::to_string(static_cast<int>(a) - static_cast<int>(AreaId::k1) + 1);
  }
}

std::string columns_text(std::size_t from, std::size_t to) {  // 0-based, end excluded
  return to - from == 1 ? std::to_string(from + 1)
                        : std::to_string(from + 1) + "." + std::to_string(to);
}

class Passes {
 public:
  Passes(const RunState& rs, Findings& notes) : rs_(rs), notes_(notes) {
    input_ = rs.I - '0';
    // The areas a pass can hold over: every area but the input area, which each read refills.
    std::size_t at = 0;
    for (int a = static_cast<int>(AreaId::k1); a <= static_cast<int>(AreaId::kD); ++a) {
      base_[a] = at;
      if (a != input_)
        at += area_width(static_cast<AreaId>(a));
    }
    buffer_ = at;
    size_ = at + kWide;
    for (const Node& node : rs.nodes) {
      if (node.op == Op::S && node.previous != nullptr)
        planted_.emplace(node.previous, planted_.size());
    }
  }

  // Follows every pass to a fixpoint, then tells the reasons. A statement is followed apart
  // for each return point a call may have left, unless there are too many of those pairs:
  // then once, with every return point it may see.
  void run() {
    for (const bool merged : {false, true}) {
      merged_ = merged;
      too_many_ = false;
      Columns start(size_);
      start.set(0, buffer_);  // as the run started
      for (;;) {
        follow(start);
        if (too_many_)
          break;
        Columns kept = start;
        kept.meet(end_initial_);
        if (kept == start)
          break;
        start = kept;  // what some pass may leave changed is not the run's start any more
      }
      if (!too_many_)
        break;
    }
    if (too_many_) {
      notes_.note(*rs_.first_node,
                  "the program has more paths than the check follows: it cannot tell");
      return;
    }
    for (auto& [key, state] : states_) {
      PassState st = state;
      step(rs_.nodes[static_cast<std::size_t>(key.first)], st, true);
    }
  }

 private:
  using Key = std::pair<int, int>;  // (statement index, return point; 0 when merged)

  // The pass from the first statement, the start columns `start` holding their first values.
  void follow(const Columns& start) {
    states_.clear();
    work_.clear();
    end_initial_ = Columns(size_);
    end_initial_.set(0, size_);
    PassState first;
    first.fresh = start;
    first.fresh.set(buffer_, size_);  // BUFFER: the record just read
    first.initial = start;
    first.links.assign(planted_.size(), std::set<int>{kStale});
    first.rps = {kStale};
    enter(*rs_.first_node, first);
    while (!work_.empty() && !too_many_) {
      const Key key = work_.front();
      work_.pop_front();
      queued_.erase(key);
      PassState st = states_.at(key);
      step(rs_.nodes[static_cast<std::size_t>(key.first)], st, false);
    }
  }

  void enter(const Node& node, const PassState& st) {
    const Key key{node.ILN - 1, merged_ ? 0 : *st.rps.begin()};
    auto found = states_.find(key);
    if (found == states_.end()) {
      if (states_.size() >= kMaxStates) {
        too_many_ = true;
        return;
      }
      states_.emplace(key, st);
    } else if (!found->second.meet(st)) {
      return;
    }
    if (queued_.insert(key).second)
      work_.push_back(key);
  }

  // The pass goes on to `next`: the walk ends at an empty link or a stop node.
  void go(const Node* next, const PassState& st, bool report) {
    if (next == nullptr || next->ends_walk) {
      if (report && st.open_if != nullptr) {
        reason(*st.open_if,
               "the IF run this statement begins (its connector joins it to the next IF) may "
               "still be open when the pass ends, and the first IF of the next record joins it");
      }
      if (!report)
        end_initial_.meet(st.initial);
      return;
    }
    if (!report)
      enter(*next, st);
  }

  // The successors the static or planted next link gives.
  void go_next(const Node& node, const PassState& st, bool report) {
    const auto planted = planted_.find(&node);
    if (planted == planted_.end()) {
      go(node.next, st, report);
      return;
    }
    for (const int v : st.links[planted->second]) {
      if (v == kStale) {
        if (report) {
          reason(node, visible(node.word(1)) +
                           " follows the next link a subroutine entry (S) sets when it runs, "
                           "and this pass may reach it before that S has run in it: the walk "
                           "then goes where an earlier record's call left it");
        }
        go(node.next, st, report);
      } else {
        go(v == kEnd ? nullptr : &rs_.nodes[static_cast<std::size_t>(v)], st, report);
      }
    }
  }

  void reason(const Node& node, std::string message) {
    if (told_.insert({node.ILN, message}).second)
      notes_.note(node, std::move(message));
  }

  // --- columns ------------------------------------------------------------------------------

  bool tracked(AreaId a) const { return a != AreaId::kNone && static_cast<int>(a) != input_; }
  std::size_t base(AreaId a) const { return base_[static_cast<int>(a)]; }

  // Word n reads [first, last) of its area: those columns must be fresh.
  void read(const Node& node, const std::string& what, AreaId a, std::size_t first,
            std::size_t last, const PassState& st, bool report) {
    if (!report || !tracked(a) || first >= last)
      return;
    const std::size_t b = base(a);
    const std::size_t miss = st.fresh.first_missing(b + first, b + last);
    if (miss == b + last)
      return;
    const std::size_t until = st.fresh.missing_until(miss, b + last);
    reason(node,
           what + " reads " + area_name(a) + ":" + columns_text(miss - b, until - b) + kNotWritten);
  }

  void read_operand(const Node& node, int n, const Operand& op, const PassState& st, bool report) {
    read(node, "word " + std::to_string(n), op.area, op.first, op.last, st, report);
  }

  // A field whose value is used: an unknown area code leaves the value an earlier statement
  // left in SOURCE (or TARGET).
  void read_field(const Node& node, int n, const PassState& st, bool report) {
    const Operand& op = node.operand(n);
    if (op.area == AreaId::kNone) {
      stale_value(node, n, report);
      return;
    }
    read_operand(node, n, op, st, report);
  }

  // A word that must be a field: a literal leaves the value an earlier statement left too.
  void read_needed(const Node& node, int n, const PassState& st, bool report) {
    if (node.operand(n).literal()) {
      stale_value(node, n, report);
    } else {
      read_field(node, n, st, report);
    }
  }

  // A word that may be a literal: a literal is its own value.
  void read_value(const Node& node, int n, const PassState& st, bool report) {
    if (!node.operand(n).literal())
      read_field(node, n, st, report);
  }

  void stale_value(const Node& node, int n, bool report) {
    if (!report)
      return;
    const Operand& op = node.operand(n);
    reason(node, "word " + std::to_string(n) + " " + quote(node.word(n)) +
                     (op.literal() ? " is a literal where a field is read" : " names no area") +
                     ": the run takes the value an earlier statement left, which can be an "
                     "earlier record's");
  }

  void write(AreaId a, std::size_t first, std::size_t last, bool blank, PassState& st) {
    if (!tracked(a) || first >= last)
      return;
    const std::size_t b = base(a);
    st.fresh.set(b + first, b + last);
    st.initial.reset(b + first, b + last);
    if (blank) {  // what every area held at the start, but for the run date in D
      st.initial.set(b + first, b + last);
      if (a == AreaId::kD && first < kDateTo && last > kDateFrom)
        st.initial.reset(b + std::max(first, kDateFrom), b + std::min(last, kDateTo));
    }
  }

  // A store that may not happen: the columns keep their freshness either way, but not
  // necessarily their first value.
  void may_write(AreaId a, std::size_t first, std::size_t last, PassState& st) {
    if (tracked(a) && first < last)
      st.initial.reset(base(a) + first, base(a) + last);
  }

  void write_operand(const Operand& op, bool blank, PassState& st) {
    if (!op.literal())
      write(op.area, op.first, op.last, blank, st);
  }

  // --- BUFFER -------------------------------------------------------------------------------

  // A test names word n as a field: an area is copied whole into BUFFER, area C (where
  // `accept_c`) and an unknown code leave it as it stands. Returns true for an area copy.
  bool load_buffer(const Operand& op, bool accept_c, PassState& st) {
    if (accept_c && op.FILE_CODE.size() == 1 && op.FILE_CODE[0] == 'C')
      return false;
    if (op.area == AreaId::kNone)
      return false;
    // Columns past the area's width are past BUFFER's length: cut quietly, never read.
    const std::size_t width = tracked(op.area) ? area_width(op.area) : 0;
    for (std::size_t c = 0; c < width; ++c)
      st.fresh.assign(buffer_ + c, st.fresh.test(base(op.area) + c));
    st.fresh.set(buffer_ + width, buffer_ + kWide);
    return true;
  }

  // The field of word n cut from BUFFER as it stands.
  void read_buffer(const Node& node, int n, const PassState& st, bool report) {
    const Operand& op = node.operand(n);
    const std::size_t first = op.N1 > 0 ? std::min(static_cast<std::size_t>(op.N1 - 1), kWide) : 0;
    const std::size_t last = op.N2 > 0 ? std::min(static_cast<std::size_t>(op.N2), kWide) : 0;
    if (!report || first >= last)
      return;
    const std::size_t miss = st.fresh.first_missing(buffer_ + first, buffer_ + last);
    if (miss == buffer_ + last)
      return;
    reason(node, "word " + std::to_string(n) + " " + quote(node.word(n)) +
                     " is cut from BUFFER as it stands, a copy of an area made by an earlier "
                     "test, whose columns may hold data of an earlier record");
  }

  // A field of a test through BUFFER (a comparison, a character-set test). Area C, where
  // accepted, cuts the field from BUFFER as it stands when `c_cuts`, else fetches nothing.
  void test_field(const Node& node, int n, bool accept_c, bool c_cuts, bool value_used,
                  PassState& st, bool report) {
    const Operand& op = node.operand(n);
    const bool copied = load_buffer(op, accept_c, st);
    const bool code_c = accept_c && op.FILE_CODE.size() == 1 && op.FILE_CODE[0] == 'C';
    if (op.literal() || (code_c && !c_cuts)) {
      if (value_used)
        stale_value(node, n, report);
      return;
    }
    if (copied) {
      read_operand(node, n, op, st, report);
    } else {
      read_buffer(node, n, st, report);
    }
  }

  // --- statements ---------------------------------------------------------------------------

  void step_move(const Node& node, PassState& st, bool report) {
    const MoveForm form = static_cast<MoveForm>(node.form);
    if (form != MoveForm::kPlain && form != MoveForm::kFields) {
      read_needed(node, form == MoveForm::kTargetDisplacement ? 5 : 4, st, report);
    }
    const Operand& source = node.operand(2);
    const bool blank = source.literal() && strip_char(source.FILE_CODE.view(), ' ').empty();
    read_value(node, 2, st, report);
    switch (form) {
      case MoveForm::kPlain:
      case MoveForm::kFields: write_operand(node.operand(3), blank, st); break;
      case MoveForm::kSourceDisplacement: write_operand(node.operand(5), blank, st); break;
      case MoveForm::kTargetDisplacement:
      case MoveForm::kBothKeywords: {
        const Operand& target = node.operand(3);
        if (!target.literal())  // moved right by the displacement, to the end of the area
          may_write(target.area, target.first, area_width(target.area), st);
        break;
      }
    }
  }

  void step_arithmetic(const Node& node, PassState& st, bool report) {
    read_value(node, 2, st, report);
    read_value(node, 3, st, report);
    const auto size = [&node](int n) {
      const Operand& op = node.operand(n);
      return op.literal() ? op.FILE_CODE.size() : op.width();
    };
    const auto field = [&node](int n) {
      const Operand& op = node.operand(n);
      return !op.literal() && op.area != AreaId::kNone;
    };
    const auto usable = [&](int n) { return node.operand(n).literal() || field(n); };
    const bool operands = usable(2) && usable(3) && size(2) <= 15 && size(3) <= 15;
    const std::string_view code = node.word(1);
    // NOTE: + always stores and X stores whenever its fields fit; - stores nothing for a
    // negative difference and / nothing for more than six decimals: they may store.
    if (word_is(code, "+") || word_is(code, "-")) {
      const Operand& acc = node.operand(3);
      if (word_is(code, "+") && operands && field(3)) {
        write_operand(acc, false, st);
      } else if (!acc.literal()) {
        may_write(acc.area, acc.first, acc.last, st);
      }
      return;
    }
    const Operand& result = node.operand(5);
    if (word_is(code, "X") && operands && field(5) && result.width() <= 15) {
      write_operand(result, false, st);
    } else if (!result.literal()) {
      may_write(result.area, result.first, result.last, st);
    }
  }

  // CH changes S in place: S:1.(c1-1) stays; an occurrence beginning at a column p >= c1 is
  // decided on S:c1.(p+t-1), and the text after it shifts by the difference in length. So a
  // column not fresh at z leaves S from z-t+1 on not fresh when the replacement is not shorter
  // than the search text (the text only moves right), and S from c1 on when it is shorter.
  void step_change(const Node& node, PassState& st) {
    const std::size_t t = strip_char(node.word(2), rs_.QUOTE).size();
    const std::string_view range = node.word(3);
    long from = 1;
    long to = static_cast<long>(kWide);
    std::size_t r = 0;
    if (!range.empty() && range.front() == rs_.QUOTE) {
      r = strip_char(range, rs_.QUOTE).size();
    } else {
      const std::size_t slash = range.find('/');
      from = change_column(range.substr(0, slash));
      to = slash == std::string_view::npos ? from : change_column(range.substr(slash + 1));
      r = strip_char(node.word(4), rs_.QUOTE).size();
    }
    const std::size_t c1 = static_cast<std::size_t>(std::max(from, 1L)) - 1;  // 0-based
    if (t == 0 || from > to || to < 1 || c1 >= kWide)
      return;
    const std::size_t from_c1 = base(AreaId::kS) + c1;
    const std::size_t end = base(AreaId::kS) + kWide;
    st.initial.reset(from_c1, end);
    const std::size_t z = st.fresh.first_missing(from_c1, end);
    if (z == end)
      return;
    const bool moves_right = r >= t;
    st.fresh.reset(moves_right && z - from_c1 >= t - 1 ? z - (t - 1) : from_c1, end);
  }

  void step_write(const Node& node, PassState& st, bool report) {
    const int target = node.form;
    if (target == kWriteListing) {
      if (report) {
        reason(node, "W L prints on LISTING, whose pages and line numbers run across the records");
      }
      write(AreaId::kL, 0, area_width(AreaId::kL), true, st);
      return;
    }
    if (target < 1 || target > 6)
      return;
    const AreaId area = static_cast<AreaId>(static_cast<int>(AreaId::k1) + target - 1);
    if (target == input_) {
      if (report)
        reason(node, "W " + std::to_string(target) + " writes FILE" + std::to_string(target) +
                         ", the input file");
      return;
    }
    if (report) {
      const std::size_t b = base(area);
      const std::size_t miss = st.fresh.first_missing(b, b + kWide);
      if (miss != b + kWide) {
        const std::size_t until = st.fresh.missing_until(miss, b + kWide);
        reason(node, "W " + std::to_string(target) + " writes out " + area_name(area) + ":" +
                         columns_text(miss - b, until - b) + kNotWritten);
      }
    }
    write(area, 0, kWide, true, st);  // blank again after the write
  }

  void step_if(const Node& node, PassState& st, bool report) {
    const IfForm form = static_cast<IfForm>(node.form);
    switch (form) {
      case IfForm::kCompare:
      case IfForm::kLineTest:
        // NOTE: the listing line number is 0 while nothing is printed, and W L is a reason of
        // its own, so the line test reads nothing of an earlier record.
        test_field(node, 2, true, false, form == IfForm::kCompare, st, report);
        if (!node.operand(4).literal())
          test_field(node, 4, false, false, true, st, report);
        break;
      case IfForm::kNumeric:
        read_field(node, 3, st, report);  // a field whatever its start column
        read_value(node, 5, st, report);
        break;
      case IfForm::kChar: test_field(node, 3, true, true, true, st, report); break;
      case IfForm::kMatch:
        if (node.test == 'S' && report) {
          reason(node,
                 "the start test I S is true in the first pass of the run only: each block "
                 "would take its own first record for the start");
        }
        break;
      case IfForm::kBreak:
        if (report) {
          reason(node, "a control-break test compares with the previous record (the hold area H)");
        }
        break;
      case IfForm::kNone: go_next(node, st, report); return;  // passed over
    }
    const bool open_before = st.open_if != nullptr;
    if (node.conn != ' ') {
      st.open_if = open_before ? st.open_if : &node;
      go_next(node, st, report);
      return;
    }
    st.open_if = nullptr;
    st.if_ended = true;
    // NOTE: the end-of-input test is false in every pass, so a test of its own ends false.
    if (!(form == IfForm::kMatch && node.test == 'F' && !open_before))
      go(node.following, st, report);
    go(node.false_link, st, report);
  }

  void step(const Node& node, PassState& st, bool report) {
    switch (node.op) {
      case Op::I: step_if(node, st, report); return;
      case Op::O:
        if (report && !st.if_ended) {
          reason(node,
                 "O takes the result of the last IF run, which this pass may not have "
                 "tested yet: it can be an earlier record's");
        }
        go(node.following, st, report);
        go(node.false_link, st, report);
        return;
      case Op::G: go(nullptr, st, report); return;  // the first statement of a pass
      case Op::M: step_move(node, st, report); break;
      case Op::ARITH: step_arithmetic(node, st, report); break;
      case Op::F:
        read_value(node, 2, st, report);
        read_needed(node, 3, st, report);
        write_operand(node.operand(5), false, st);
        break;
      case Op::C:
        write_operand(node.operand(2), strip_char(node.operand(3).FILE_CODE.view(), ' ').empty(),
                      st);
        break;
      case Op::E:
        read_needed(node, 2, st, report);
        write_operand(node.operand(3), false, st);
        break;
      case Op::L: step_lookup(node, st, report); break;
      case Op::TR: {  // in place, column by column: fresh stays fresh
        const Operand& op = node.operand(2);
        if (!op.literal())
          may_write(op.area, op.first, op.last, st);
        break;
      }
      case Op::CH: step_change(node, st); break;
      case Op::W: step_write(node, st, report); break;
      case Op::H:
        if (report) {
          reason(node,
                 "H dumps every variable at each pass that reaches it: the counts and areas "
                 "of the run so far");
        }
        break;
      case Op::B: st.rps = {node.following != nullptr ? node.following->ILN - 1 : kEnd}; break;
      case Op::S: {
        const auto planted = planted_.find(node.previous);
        if (planted != planted_.end())
          st.links[planted->second] = st.rps;
        break;
      }
      case Op::K:
      case Op::U:
      case Op::D:
      case Op::R:
      case Op::T:
      case Op::BAD: break;
    }
    go_next(node, st, report);
  }

  void step_lookup(const Node& node, PassState& st, bool report) {
    const std::string_view mode = node.word(3);
    if (rs_.TABLE_DEF.NAME == ' ' ||
        !(word_is(mode, "E") || word_is(mode, "H") || word_is(mode, "L")))
      return;  // nothing is looked up
    const Operand arg = decode_operand(rs_.TABLE_DEF.ARG.view(), rs_.QUOTE);
    const Operand result = decode_operand(rs_.TABLE_DEF.RSLT.view(), rs_.QUOTE);
    if (arg.literal() || arg.area == AreaId::kNone) {
      if (report) {
        reason(node, "the table's argument " + quote(rs_.TABLE_DEF.ARG.view()) +
                         " is no field: the lookup searches for the value an earlier statement "
                         "left, which can be an earlier record's");
      }
    } else {
      read(node, "the lookup (argument " + visible(rs_.TABLE_DEF.ARG.view()) + ")", arg.area,
           arg.first, arg.last, st, report);
    }
    if (!result.literal())
      may_write(result.area, result.first, result.last, st);  // only when an entry is found
  }

  const RunState& rs_;
  Findings& notes_;
  int input_ = 0;
  std::size_t base_[10] = {};
  std::size_t buffer_ = 0;
  std::size_t size_ = 0;
  std::map<const Node*, std::size_t> planted_;  // the nodes an S plants a next link into
  std::map<Key, PassState> states_;
  std::deque<Key> work_;
  std::set<Key> queued_;
  Columns end_initial_;
  bool too_many_ = false;
  bool merged_ = false;  // every return point of a statement followed at once
  std::set<std::pair<int, std::string>> told_;
};

// The run variables PARM may set for a record-local job: the read mode and its file, what only
// LISTING or an option error uses, and those told of below by value.
bool harmless_in_parm(std::string_view name) {
  for (const char* known : {"T", "I", "A", "B", "PGSIZE", "LNSIZE", "TEST", "_DEBUG_", "LC", "DUMP",
                            "DMP", "TRACE", "DEBUG", "VERBOSE"}) {
    if (name == known)
      return true;
  }
  return false;
}

// Any other variable PARM sets (a count, a flag of the IF chain, an area) starts every block
// so, where one run starts so only once: read the names as the option parser builds them.
void check_parm_names(const RunState& rs, Findings& notes) {
  std::set<std::string> told;
  std::string_view parm = rs.bindings.parm;
  while (!parm.empty()) {
    const std::size_t comma = parm.find(',');
    std::string word(parm.substr(0, std::min<std::size_t>(comma, 24)));
    parm = comma == std::string_view::npos ? std::string_view() : parm.substr(comma + 1);
    if (word.find("TXT") == std::string::npos && word.find("txt") == std::string::npos) {
      for (char& c : word) c = c >= 'a' && c <= 'z' ? static_cast<char>(c - 'a' + 'A') : c;
    }
    std::string command = word.find('=') != std::string::npos ? word
                          : word.compare(0, 2, "NO") == 0     ? word.substr(2) + "=0B"
                                                              : word + "=1B";
    for (std::string_view rest = command; !rest.empty();) {
      const std::size_t semi = rest.find(';');
      std::string_view name = rest.substr(0, std::min(semi, rest.find('=')));
      rest = semi == std::string_view::npos ? std::string_view() : rest.substr(semi + 1);
      while (!name.empty() && name.back() == ' ') name.remove_suffix(1);
      if (name.empty() || harmless_in_parm(name) || !told.insert(std::string(name)).second)
        continue;
      notes.note_parm("PARM sets " + visible(name) +
                      ": every block would start with it, where one run starts with it once");
    }
  }
}

// The options that look across records.
void check_options(const RunState& rs, Findings& notes) {
  check_parm_names(rs, notes);
  if (rs.T != '0') {
    notes.note_parm(
        std::string("T=") + rs.T +
        (rs.T == '1' || rs.T == '2'
             ? " reads two files matched by key: a pass depends on the records of the other file"
             : " reads no record"));
  } else if (rs.I < '1' || rs.I > '6') {
    notes.note_parm(std::string("I=") + visible(std::string_view(&rs.I, 1)) +
                    " names no input file: only I=1 to I=6 read one");
  }
  if (rs.LC > 0) {
    notes.note_parm("LC=" + std::to_string(rs.LC) +
                    " counts the statements of the whole run: each block would count its own");
  }
  if (rs.DUMP > 0) {
    notes.note_parm("DUMP=" + std::to_string(rs.DUMP) +
                    " copies the first records of the run to FILEDUMP: each block would copy "
                    "its own first ones");
  }
  if (rs.DMP)
    notes.note_parm("DMP dumps every variable at the end of the run");
  if (rs.DEBUG) {
    notes.note_parm("DEBUG lists the program and traces the whole run on the console");
  } else if (rs.TRACE) {
    notes.note_parm("TRACE traces the whole run on the console");
  }
  if (rs.VERBOSE)
    notes.note_parm("VERBOSE prints every statement on the console before the run");
}

}  // namespace

long change_column(std::string_view text) { return long{wrap16(low_four_bits_number(text, 6))}; }

Locality check_locality(const RunState& rs, Findings& notes) {
  const std::size_t before = notes.list().size();
  check_options(rs, notes);
  if (rs.eoj_entry != nullptr) {
    notes.note(*rs.eoj_entry,
               "an end-of-job block (I F): it runs once, after the last record, on what all "
               "the passes left");
  }
  Locality answer;
  // NOTE: another read mode, or no input file, is reason enough: the passes are not followed.
  if (rs.T == '0' && rs.I >= '1' && rs.I <= '6' && rs.first_node != nullptr) {
    Passes passes(rs, notes);
    passes.run();
  }
  answer.record_local = notes.list().size() == before;
  if (answer.record_local) {
    answer.input = rs.I - '0';
    for (const Node& node : rs.nodes) {
      if (node.op == Op::W && node.form >= 1 && node.form <= 6 &&
          std::find(answer.outputs.begin(), answer.outputs.end(), node.form) ==
              answer.outputs.end())
        answer.outputs.push_back(node.form);
    }
    std::sort(answer.outputs.begin(), answer.outputs.end());
  }
  return answer;
}

}  // namespace kovran
