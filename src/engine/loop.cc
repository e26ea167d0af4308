// engine/loop.cc - the per-record walk, the end-of-job walk and the control instructions.
#include <algorithm>
#include <cstdint>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "conditions/conditions.h"
#include "driver/diagnostics.h"
#include "driver/signals.h"
#include "engine/engine.h"
#include "fields/field_ref.h"
#include "fields/fields.h"
#include "fields/sum.h"
#include "records/records.h"
#include "strings/strings.h"
#include "tables/tables.h"

namespace kovran {
namespace {

void bad_instruction(RunState& rs, const Node& node) {
  rs.sysprint.line("Bad Instruction: ", node.word(1));
  ++rs.diagnostics;
  if (!told_already(rs, node))  // the text is built once per node, not once per record
    tell_first_report(rs, "Bad Instruction: " + visible(node.word(1)));
}

[[noreturn]] void loop_limit(RunState& rs) {
  raise_error(rs, "LOOP LIMIT LC=" + std::to_string(rs.LC) + " EXCEEDED");
}

void call(RunState& rs, Node& node) { rs.return_point = node.following; }

// The next link of the subroutine's return node := the return point.
void subroutine_entry(RunState& rs, Node& node) {
  if (node.previous != nullptr)
    node.previous->next = rs.return_point;
}

// A run of usual moves, the first at `node`, made as one step: nothing can observe what lies
// between two of them (no trace, no loop limit, a signal is noticed after the run), so only the
// last leaves SOURCE and the parse, and the others copy field to field from their plans. Every
// move counts in LOOPCOUNT. `kDeferred`: a record the read left in its file's buffer is read
// there when every source lies in it, and is copied into its area first otherwise. `kPlaced`:
// every move writes to the area of the W made with the run, and its bytes go `into` bytes
// further on, where that area's record is to stand in the file's buffer (Node::MoveRun::placed):
// the area is left as it was. Returns the last node of the run.
template <bool kDeferred, bool kPlaced = false>
[[gnu::always_inline]] inline Node* run_of_moves(RunState& rs, Node* node,
                                                 std::uintptr_t into = 0) {
  const Node::MoveRun& run = node->run;
  std::uintptr_t shift = 0;
  if (kDeferred && rs.record_text != nullptr) {
    if (run.record_end <= rs.record_size) {
      shift = reinterpret_cast<std::uintptr_t>(rs.record_text) -
              reinterpret_cast<std::uintptr_t>(std::as_const(*rs.record_area).data());
    } else {
      rs.settle_record();
    }
  }
  for (int k = 0; !kPlaced && k < run.areas; ++k) {
    if (*run.extent[k] < run.end[k])
      *run.extent[k] = run.end[k];
  }
  if (run.pieces != nullptr) {
    for (const Copy16 *c = run.pieces, *end = c + run.piece_count; c != end; ++c)
      copy_sixteen(shifted_by(c->from, shift), shifted_by(c->to, into));
  } else {
    for (const MoveCopy *c = run.copies, *end = c + run.count; c != end; ++c)
      make_copy(*c, shifted_by(c->from, shift), shifted_by(c->to, into));
  }
  count_many(rs.LOOPCOUNT, run.counted);  // the W made with the run among them
  node = run.last;
  if (run.write == nullptr)
    rs.current_node = node;
  const char* from = shifted_by(node->move.copy.from, shift);
  if (kDeferred && shift != 0) {
    rs.source_waits.wait(from, node->move.width);  // it stays there until the next read
  } else {
    rs.SOURCE.assign_outside(from, node->move.width);  // before an overlapping target
    if (kDeferred)
      rs.source_waits.drop();
  }
  parse_word(rs, *node, 3);
  make_copy(node->move.copy, from, shifted_by(node->move.copy.to, into));  // extent raised above
  return node;
}

// Plans, before the first pass, where a false IF goes on in the walk: past the U and K nodes its
// false link leads through, as far as links that stay as the logic pass set them and nodes that
// do not end the walk; the far plan past the end-of-input tests without a connector too, each
// followed along its false link. Nothing can observe what lies between (no trace, no loop
// limit, a signal is noticed at the node after them); they count in LOOPCOUNT as if made.
// NOTE: no record is read while a pass runs, so an end-of-input test is false in the main walk
// and leaves the IF state as a failed test that ends its run with COND false leaves it.
void plan_false_skips(RunState& rs, const std::vector<const Node*>& planted) {
  constexpr std::uint16_t kSkips = 64;
  const auto passed_over = [&planted](const Node* to, bool far) {
    if (to == nullptr || to->ends_walk ||
        std::find(planted.begin(), planted.end(), to) != planted.end())
      return false;
    if (to->op == Op::U || to->op == Op::K)
      return true;
    return far && to->op == Op::I && static_cast<IfForm>(to->form) == IfForm::kMatch &&
           to->test == 'F' && to->conn == ' ';
  };
  for (Node& x : rs.nodes) {
    for (const bool far : {false, true}) {
      Node::FalseSkip& skip = far ? x.false_far : x.false_skip;
      skip = {x.false_link, 0};
      if (x.op != Op::I)
        continue;
      while (skip.passed < kSkips && passed_over(skip.to, far)) {
        skip.to = skip.to->op == Op::I ? skip.to->false_link : skip.to->next;
        ++skip.passed;
      }
    }
  }
}

// Whether the copy of move j of a run, not its last, may be made as ceil(copy / 16) words of
// sixteen bytes (Copy16): the bytes the last word writes past the field are each written again
// by a later move of the run and read by none; what the words read past the source lies in its
// area, and within the columns the moves from j on read of the record (`record_end`, SIZE_MAX
// when they read elsewhere), which the run reads where the read left it when the record is as
// long; a copy of more than one word does not overlap its own source.
bool copies_in_sixteens(const std::vector<Node*>& chain, std::size_t j, const char* record,
                        std::size_t record_end) {
  const auto at = [](const char* p) { return reinterpret_cast<std::uintptr_t>(p); };
  const Node& x = *chain[j];
  const MoveCopy& c = x.move.copy;
  if (c.kind == MoveCopy::kGeneral)  // blanks after the bytes
    return false;
  const std::uintptr_t to = at(c.to), from = at(c.from), over = (c.copy + 15) / 16 * 16;
  for (std::uintptr_t b = to + c.copy; b < to + over; ++b) {
    bool written = false;
    for (std::size_t k = j + 1; k < chain.size(); ++k) {
      const Node::MovePlan& m = chain[k]->move;
      const std::size_t read = k + 1 == chain.size() ? std::max(m.copy.copy, m.width) : m.copy.copy;
      if (b >= at(m.copy.from) && b < at(m.copy.from) + read)
        return false;
      written = written || (b >= at(m.copy.to) && b < at(m.copy.to) + m.copy.copy + m.copy.blank);
    }
    if (!written)
      return false;
  }
  if (over > 16 && to < from + over && from < to + over)
    return false;
  const Operand& source = x.operand(2);
  if (from + over > at(source.bytes) + area_width(source.area))
    return false;
  return record_end == SIZE_MAX || from - at(record) + over <= record_end;
}

// Plans the runs of usual moves before the first pass. A run goes from a usual move along the
// next links through the usual moves that do not end the walk, as far as links that stay as the
// logic pass set them (not `planted`). A run ends too where its moves would
// write a fifth area, and after kRunMoves moves. Each move of a run has the rest of it from
// there as its own run, so a branch into the middle of one finds it planned too.
void plan_move_runs(RunState& rs, const std::vector<const Node*>& planted, const char* record) {
  constexpr std::size_t kRunMoves = 64;
  const auto usual = [](const Node* x) {
    return x->op == Op::M && static_cast<MoveForm>(x->form) == MoveForm::kFields;
  };
  const auto fixed_link = [&planted](const Node* x) {
    return std::find(planted.begin(), planted.end(), x) == planted.end();
  };
  // Every usual move is in one run: the copies never move once the first is made.
  std::size_t moves = 0, words = 0;
  for (const Node& x : rs.nodes) {
    if (usual(&x)) {
      ++moves;
      words += (x.move.copy.copy + 15) / 16;
    }
  }
  rs.move_copies.clear();
  rs.move_copies.reserve(moves);
  rs.move_pieces.clear();
  rs.move_pieces.reserve(words);
  std::vector<Node*> chain;
  for (Node& head : rs.nodes) {
    if (!usual(&head) || head.run.last != nullptr)
      continue;
    chain.assign(1, &head);
    std::size_t* extents[Node::MoveRun::kAreas];
    int areas = 0;
    const auto add_area = [&](std::size_t* extent) {
      if (std::find(extents, extents + areas, extent) != extents + areas)
        return true;
      if (areas == Node::MoveRun::kAreas)
        return false;
      extents[areas++] = extent;
      return true;
    };
    add_area(head.move.extent);
    while (chain.size() < kRunMoves && fixed_link(chain.back())) {
      Node* after = chain.back()->next;
      if (after == nullptr || !after->in_run || after->run.last != nullptr ||
          !add_area(after->move.extent))
        break;
      chain.push_back(after);
    }
    Node* const last = chain.back();
    Node* const write = fixed_link(last) && last->next != nullptr && last->next->op == Op::W &&
                                !last->next->ends_walk
                            ? last->next
                            : nullptr;
    const MoveCopy* first = rs.move_copies.data() + rs.move_copies.size();
    for (const Node* x : chain) rs.move_copies.push_back(x->move.copy);
    // The record columns the moves from k on read, and which of them may be made in words.
    std::vector<std::size_t> record_end(chain.size());
    std::size_t end = 0;
    for (std::size_t k = chain.size(); k-- > 0;) {
      const Node::MovePlan& m = chain[k]->move;
      const std::size_t read = std::max<std::size_t>(m.copy.copy, m.width);
      if (end == SIZE_MAX || record == nullptr || m.copy.from < record ||
          m.copy.from + read > record + kAreaWidth) {
        end = SIZE_MAX;
      } else {
        end = std::max(end, static_cast<std::size_t>(m.copy.from - record) + read);
      }
      record_end[k] = end;
    }
    std::size_t in_words = chain.size() - 1;  // the moves from there to the last may be
    for (std::size_t k = chain.size() - 1; k-- > 0;) {
      if (!copies_in_sixteens(chain, k, record, record_end[k]))
        break;
      in_words = k;
    }
    // The moves from k on that may place the W's record in its file's buffer (MoveRun::placed).
    std::vector<bool> placed(chain.size(), false);
    if (write != nullptr && write->write.file != nullptr) {
      const std::size_t* area = write->write.extent;
      std::vector<bool> written(kAreaWidth, false);
      std::size_t columns = 0, reach = 0;
      for (std::size_t k = chain.size(); k-- > 0;) {
        const Node::MovePlan& m = chain[k]->move;
        if (m.extent != area || chain[k]->operand(2).extent == area)
          break;
        for (std::size_t b = m.end - m.copy.copy - m.copy.blank; b < m.end; ++b) {
          if (!written[b])
            ++columns;
          written[b] = true;
        }
        reach = std::max(reach, m.end);
        placed[k] = columns == reach && reach < kAreaWidth;
      }
    }
    const std::size_t base = rs.move_pieces.size();
    std::vector<std::size_t> first_piece(chain.size());
    for (std::size_t k = 0; k < chain.size(); ++k) {
      first_piece[k] = rs.move_pieces.size() - base;
      const MoveCopy& c = chain[k]->move.copy;
      for (std::uint32_t b = 0; k >= in_words && k + 1 < chain.size() && b < c.copy; b += 16)
        rs.move_pieces.push_back({c.from + b, c.to + b});
    }
    for (std::size_t k = 0; k < chain.size(); ++k) {
      Node::MoveRun& run = chain[k]->run;
      run = {};
      run.count = static_cast<std::uint32_t>(chain.size() - 1 - k);
      run.last = last;
      run.write = write;
      run.counted = static_cast<std::int32_t>(run.count + (write != nullptr ? 1 : 0));
      run.copies = first + k;
      for (std::size_t j = k; j < chain.size(); ++j) {
        const Node::MovePlan& m = chain[j]->move;
        int a = 0;
        while (a < run.areas && run.extent[a] != m.extent) ++a;
        if (a == run.areas) {
          run.extent[a] = m.extent;
          run.end[a] = 0;
          ++run.areas;
        }
        run.end[a] = std::max(run.end[a], m.end);
      }
      run.record_end = record_end[k];
      run.placed = placed[k];
      if (k >= in_words && k + 1 < chain.size()) {
        run.pieces = rs.move_pieces.data() + base + first_piece[k];
        run.piece_count = static_cast<std::uint32_t>(rs.move_pieces.size() - base - first_piece[k]);
      }
    }
  }
}

// Whether a run of moves writes to the area of that extent.
inline bool run_writes(const Node::MoveRun& run, const std::size_t* extent) {
  for (int k = 0; k < run.areas; ++k) {
    if (run.extent[k] == extent)
      return true;
  }
  return false;
}

// What the walk plans before the first pass. A subroutine entry plants the next link of the
// node before it when the subroutine has no return: those links can change, the others stay as
// the logic pass set them. `record`: the record area of the single-file cycle, or null.
void plan_walk(RunState& rs, const char* record) {
  std::vector<const Node*> planted;
  for (const Node& x : rs.nodes) {
    if (x.op == Op::S && x.previous != nullptr)
      planted.push_back(x.previous);
  }
  plan_move_runs(rs, planted, record);
  // The IF fields that lie in the record area, and the runs that write another compared area
  // (no move writes the record area where BUFFER may wait).
  std::vector<const std::size_t*> compared;
  for (Node& x : rs.nodes) {
    Node::ComparePlan& c = x.compare;
    c.record_end = 0;
    if (x.op != Op::I || !x.against_literal)
      continue;
    if (record != nullptr && c.area == record) {
      c.record_end = static_cast<std::size_t>(c.field - c.area) + c.width;
    } else {
      compared.push_back(c.extent);
    }
  }
  for (Node& x : rs.nodes) {
    x.run.writes_compared =
        std::any_of(compared.begin(), compared.end(),
                    [&x](const std::size_t* e) { return run_writes(x.run, e); });
  }
  plan_false_skips(rs, planted);
}

// BUFFER and TARGET filled in, when the walk may have left them to be (kDeferred).
template <bool kDeferred>
inline void settle(RunState& rs) {
  if constexpr (kDeferred) {
    rs.settle_buffer();
    rs.settle_target();
  }
}

// An instruction's routine, made once BUFFER and TARGET are filled in.
template <bool kDeferred>
[[gnu::always_inline]] inline void settled(RunState& rs, void (*routine)(RunState&)) {
  settle<kDeferred>(rs);
  routine(rs);
}

// W in the main walk: the usual record without a call.
template <bool kDeferred>
[[gnu::always_inline]] inline void write_node(RunState& rs, Node& node) {
  if (kDeferred && node.write.extent == rs.buffer_extent)
    settle<kDeferred>(rs);  // the area is blanked
  if (!write_usual_record(rs, node)) {
    settle<kDeferred>(rs);
    rs.settle_TOTAL();  // before the record written counts
    WRITE_RTN(rs);
  }
}

// Dispatches one node of the main walk. Returns true when the pass ends here. `kWatched`: a
// loop limit or the trace is on, and every node is made on its own; without them a run of
// usual moves is made at once, with the W it leads to (Node::MoveRun::write), and `node` is
// then the last node made, the signal noticed after them. `kDeferred`: the read and
// the usual IF may leave BUFFER to be filled in from an area and TARGET from a literal
// (RunState::defer_buffer, target_waits), and both are filled in (settle) before every
// instruction that may read or write them or write to that area; the others leave them be.
// The read leaves TOTAL to be summed too, before a W counts a record.
template <bool kWatched, bool kDeferred>
[[gnu::always_inline]] inline bool dispatch_main(RunState& rs, Node*& at) {
  Node& node = *at;
  switch (node.op) {  // ORDER OP: cases in main-table order
    case Op::K: break;
    case Op::CH: settled<kDeferred>(rs, CHANGE_RTN); break;
    case Op::TR: settled<kDeferred>(rs, TRANS_RTN); break;
    case Op::I:
      if (node.against_literal) {  // the usual tests, without a call
        compare_with_literal<kDeferred, !kWatched>(rs, node);
      } else if (static_cast<IfForm>(node.form) == IfForm::kMatch) {
        IF_MATCH_RTN<!kWatched>(rs);
      } else {
        settle<kDeferred>(rs);
        IF_RTN(rs);
        if (!kWatched && node.false_skip.passed > 0 && node.next == node.false_link) {
          node.next = node.false_skip.to;  // past the block ends, counted as made
          count_many(rs.LOOPCOUNT, node.false_skip.passed);
        }
      }
      break;
    case Op::U: break;
    case Op::O: node.next = rs.OLDRESULT ? node.false_link : node.following; break;
    case Op::D: break;
    case Op::ARITH:
      if (kDeferred && (!node.sum.usual || node.operand(3).extent == rs.buffer_extent))
        settle<kDeferred>(rs);
      if (node.sum.usual) {  // the usual sum, without a call
        const char* addend = nullptr;
        const Operand& a = node.operand(2);
        if (kDeferred && rs.record_text != nullptr && !node.sum.literal_addend &&
            a.bytes == std::as_const(*rs.record_area).data()) {
          if (a.first + std::size_t{16} <= rs.record_size) {
            addend = rs.record_text + a.first;  // read where the read left it
          } else {
            rs.settle_record();
          }
        }
        if (usual_sum(rs, node, addend))
          break;
        if (kDeferred)
          rs.settle_record();  // ADD_RTN reports from the field itself
      }
      ADD_RTN(rs);
      break;
    case Op::M:
      if (static_cast<MoveForm>(node.form) != MoveForm::kFields) {
        settle<kDeferred>(rs);
        MOVE_RTN(rs);
      } else if (kWatched) {
        if (kDeferred && node.move.extent == rs.buffer_extent)
          settle<kDeferred>(rs);
        move_fields(rs, node);  // the usual move, without a call
      } else {
        if (kDeferred && node.run.writes_compared && rs.buffer_area != nullptr &&
            run_writes(node.run, rs.buffer_extent))
          settle<kDeferred>(rs);
        Node* const w = node.run.write;  // the W after the run, made with it
        char* const out = node.run.placed && *w->write.extent == 0 &&
                                  !(kDeferred && w->write.extent == rs.buffer_extent)
                              ? w->write.file->room(node.run.end[0])
                              : nullptr;
        if (out != nullptr) {  // the record placed in the file's buffer, the area left blank
          at = run_of_moves<kDeferred, true>(
              rs, at,
              reinterpret_cast<std::uintptr_t>(out) -
                  reinterpret_cast<std::uintptr_t>(std::as_const(*w->write.area).data()));
          rs.current_node = at = w;
          if (!write_placed_record(rs, *w, out, node.run.end[0]))
            write_node<kDeferred>(rs, *w);
        } else {
          at = run_of_moves<kDeferred>(rs, at);
          if (w != nullptr) {
            rs.current_node = at = w;
            write_node<kDeferred>(rs, *w);
          }
        }
      }
      break;
    case Op::F: settled<kDeferred>(rs, FIND_RTN); break;
    case Op::C: settled<kDeferred>(rs, CLEAR_RTN); break;
    case Op::E: settled<kDeferred>(rs, EDIT_RTN); break;
    case Op::L: settled<kDeferred>(rs, SEARCH); break;
    case Op::W: write_node<kDeferred>(rs, node); break;
    case Op::H: settled<kDeferred>(rs, attention); break;
    case Op::G: return true;
    case Op::B: call(rs, node); break;
    case Op::R: break;
    case Op::S: subroutine_entry(rs, node); break;
    case Op::T:
    case Op::BAD:
      settle<kDeferred>(rs);
      bad_instruction(rs, node);
      break;
  }
  return false;
}

// Dispatches one node of the end-of-job walk. Returns true when the walk ends here.
bool dispatch_eoj(RunState& rs, Node& node) {
  switch (node.op) {  // ORDER OP: end-of-job table order
    case Op::CH: CHANGE_RTN(rs); break;
    case Op::TR: TRANS_RTN(rs); break;
    case Op::U:
    case Op::D: break;
    case Op::ARITH: ADD_RTN(rs); break;
    case Op::B: call(rs, node); break;
    case Op::C: CLEAR_RTN(rs); break;
    case Op::G: return true;
    case Op::H: rs.EOF_ = true; return true;
    case Op::I: IF_RTN(rs); break;
    case Op::K: break;
    case Op::L: SEARCH(rs); break;
    case Op::M: MOVE_RTN(rs); break;
    case Op::F: FIND_RTN(rs); break;
    case Op::W: WRITE_RTN(rs); break;
    case Op::R: break;
    case Op::S: subroutine_entry(rs, node); break;
    case Op::O:  // NOTE: no else and no edit after the last record
    case Op::E:
    case Op::T:
    case Op::BAD: bad_instruction(rs, node); break;
  }
  return false;
}

// The check made at every node, inline: the call only when a signal or a console failure
// may be there to report.
inline void check_interrupted(RunState& rs) {
  if (attention_wanted())
    end_if_interrupted(rs);
}

// Records read so far from every input file.
std::int64_t records_read(const RunState& rs) {
  std::int64_t n = 0;
  for (int k = 1; k <= 6; ++k) n += rs.in_files[k].records_read();
  return n;
}

// One pass of the main walk. `kWatched`: a loop limit or the trace is on; without them the
// walk tests neither at every node. `kDeferred`: as for dispatch_main.
template <bool kWatched, bool kDeferred>
[[gnu::always_inline]] inline void main_pass(RunState& rs) {
  Node* node = rs.first_node;
  while (node != nullptr) {
    rs.current_node = node;
    check_interrupted(rs);
    count_one(rs.LOOPCOUNT);
    if (kWatched && rs.LC > 0 && rs.LOOPCOUNT > rs.LC)
      loop_limit(rs);
    if (kWatched && rs.TRACE) {
      rs.sysprint.item("<");
      rs.sysprint.item(node->ILN);
      rs.sysprint.item(">");
    }
    if (dispatch_main<kWatched, kDeferred>(rs, node))
      return;
    node = node->next;  // an empty link (a false IF with no closing node) ends the pass
    if (node != nullptr && node->ends_walk)
      return;
  }
}

void eoj_walk(RunState& rs) {
  Node* node = rs.eoj_entry;
  while (node != nullptr) {
    rs.current_node = node;
    check_interrupted(rs);
    // The end-of-job walk counts no LOOPCOUNT, but a loop in it must still end.
    ++rs.eoj_dispatched;
    if (rs.LC > 0 && rs.LOOPCOUNT + rs.eoj_dispatched > rs.LC)
      loop_limit(rs);
    if (dispatch_eoj(rs, *node))
      return;
    node = node->next;
    if (node != nullptr && node->ends_walk)
      return;
  }
}

// Whether anything can see the hold area H: a control-break test, an attention dump, or the
// dump of DMP (the only other reader of H is the dump).
bool hold_observed(const RunState& rs) {
  if (rs.DMP)
    return true;
  for (const Node& node : rs.nodes) {
    if (node.op == Op::H || (node.op == Op::I && static_cast<IfForm>(node.form) == IfForm::kBreak))
      return true;
  }
  return false;
}

// The data file of the single-file cycle, once it is open: the walk reads its usual records
// itself and leaves everything else to READ_RTN.
struct SingleFile {
  InFile* in = nullptr;  // null in the match modes and for an invalid file digit
  Area<kAreaWidth>* area = nullptr;
  std::int32_t* count = nullptr;
};

SingleFile single_file(RunState& rs) {
  if (rs.T != '0' || !valid_file_digit(rs.I))
    return {};
  const int n = rs.I - '0';
  return {&rs.in_files[n], &file_area(rs, n), &file_count(rs, n)};
}

// Whether the walk may leave BUFFER to be filled in from the record area after the usual read
// and the usual IF, in this run: the single-file cycle, H not refilled, and no instruction of
// the script that reads or writes BUFFER (the IF tests but the usual comparison and the key
// tests) or that may write to the record area (a move, a sum or a W into it; any other
// instruction is taken as writing it). Only the speed depends on the answer: the walk fills
// BUFFER in before every instruction that needs it, whichever way it goes.
bool buffer_may_wait(const RunState& rs, const SingleFile& f, bool hold) {
  if (f.in == nullptr || hold)
    return false;
  const std::size_t* record = f.area->extent_slot();
  const auto writes_record = [record](const Node& x, int word) {
    return x.operand(word).extent == record;
  };
  for (const Node* x = rs.first_node; x != nullptr; x = x->following) {
    switch (x->op) {
      case Op::K:
      case Op::U:
      case Op::O:
      case Op::D:
      case Op::G:
      case Op::B:
      case Op::R:
      case Op::S: break;
      case Op::I:
        if (!x->against_literal && static_cast<IfForm>(x->form) != IfForm::kMatch)
          return false;
        break;
      case Op::M:
        if (writes_record(*x, 3) || writes_record(*x, 5))
          return false;
        break;
      case Op::ARITH:
        if (writes_record(*x, 3))
          return false;
        break;
      case Op::W:
        if (x->write.area == f.area)
          return false;
        break;
      default: return false;
    }
  }
  return true;
}

// The next record of the single-file cycle. `kDeferred`: the usual record goes straight into
// the record area, and BUFFER, whose text it is, is filled in from there when something can see
// it. NOTE: FIRST_READ stays clear: the first read cleared it, and nothing sets it after PARM.
template <bool kDeferred>
[[gnu::always_inline]] inline void read_next(RunState& rs, const SingleFile& f) {
  if (f.in == nullptr || rs.EOF_) {
    rs.settle_record();
    READ_RTN(rs);
  } else if (kDeferred) {
    std::string_view record;
    if (!f.in->next_usual(kAreaWidth, record)) {
      rs.settle_record();  // before the file's buffer is read into again
      READ_RTN(rs);
      return;
    }
    rs.defer_buffer(std::as_const(*f.area).data(), f.area->extent_slot(), record.size());
    single_read_done(rs, *f.area, *f.count, true, record, true);  // the area, then the dump
  } else {
    std::size_t stored = 0;
    if (!f.in->read_usual(rs.BUFFER.data(), kAreaWidth, stored)) {
      READ_RTN(rs);
      return;
    }
    rs.BUFFER.resize(stored);
    single_read_done(rs, *f.area, *f.count, true, rs.BUFFER.view());
  }
}

// The passes of the main walk over every record, the first read already made.
template <bool kWatched, bool kDeferred>
void each_record(RunState& rs, const SingleFile& file, bool hold) {
  while (!rs.EOF_) {
    rs.running = true;
    main_pass<kWatched, kDeferred>(rs);
    rs.running = false;
    rs.ONCE = false;
    if (hold) {
      rs.settle_buffer();
      rs.H.assign_padded(rs.BUFFER.used());  // the rest is blank either way
    }
    check_interrupted(rs);
    if (rs.progress.wanted())
      rs.progress.tick(records_read(rs));
    read_next<kDeferred>(rs, file);
  }
}

}  // namespace

void LOOP(RunState& rs) {
  if (rs.TRACE)
    rs.sysprint.line("<LOOP>");
  // NOTE: H is refilled after each pass only when something can see it; otherwise it keeps
  // the first record, and nothing can tell.
  const bool hold = rs.T == '0' && hold_observed(rs);
  const SingleFile file = single_file(rs);
  plan_walk(rs, file.area != nullptr ? std::as_const(*file.area).data() : nullptr);
  rs.EOF_ = false;
  READ_RTN(rs);  // between passes no node is running: a file failure names none
  if (rs.TRACE || rs.LC > 0) {
    each_record<true, false>(rs, file, hold);
  } else if (buffer_may_wait(rs, file, hold)) {
    rs.record_area = file.area;
    each_record<false, true>(rs, file, hold);
  } else {
    each_record<false, false>(rs, file, hold);
  }
  rs.progress.clear();
  rs.settle_F0();
  rs.settle_buffer();
  rs.settle_target();
  rs.settle_TOTAL();
  rs.running = true;
  eoj_walk(rs);
  rs.running = false;
  rs.sysprint.new_line();  // ends the trace line
}

}  // namespace kovran
