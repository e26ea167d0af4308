// compiler/logic.cc - the logic pass: listing, then the control-flow links, set once.
#include "compiler/compiler.h"

namespace kovran {
namespace {

// The instruction code F(1) as decoded: S, B, R, I, O, U and D each stand for one code word.
bool coded(const Node* node, Op op) { return node != nullptr && node->op == op; }

// The first node from `start` on, in script order, whose code is one of `ops`.
Node* find_closing(Node* start, std::initializer_list<Op> ops) {
  for (Node* x = start; x != nullptr; x = x->following) {
    for (const Op op : ops) {
      if (coded(x, op))
        return x;
    }
  }
  return nullptr;
}

void print_listing(RunState& rs) {
  if (rs.TRACE)
    rs.sysprint.line("<LOGIC>");
  if (!rs.DEBUG && !rs.TRACE)
    return;
  for (const Node* x = rs.first_node; x != nullptr; x = x->following) {
    rs.sysprint.line(x->ILN, " 1:", x->word(1), " 2:", x->word(2), " 3:", x->word(3),
                     " 4:", x->word(4), " 5:", x->word(5));
  }
}

}  // namespace

// LOGIC   listing under TRACE or DEBUG; end of the main program; calls and returns; the false
// links that close IF and else bodies; loop-backs.
void LOGIC(RunState& rs) {
  print_listing(rs);

  // The main program ends before the first subroutine.
  rs.FIRST_TIME = true;
  for (Node* c = rs.first_node; c != nullptr; c = c->following) {
    if (coded(c, Op::S)) {
      rs.FIRST_TIME = false;
      if (c->previous != nullptr)
        c->previous->next = nullptr;
      break;
    }
  }

  // Calls go to the last subroutine of their name; a subroutine returns from its first R.
  for (Node* c = rs.first_node; c != nullptr; c = c->following) {
    if (coded(c, Op::B)) {
      for (Node* x = rs.first_node; x != nullptr; x = x->following) {
        if (coded(x, Op::S) && word_is(x->word(2), c->word(2)))
          c->next = x;
      }
    } else if (coded(c, Op::S)) {
      if (Node* r = find_closing(c, {Op::R}))
        c->previous = r;
    }
  }

  // Block ends. NOTE: only the last IF of a run of consecutive IFs gets a false link.
  Node* body_start = nullptr;
  for (Node* c = rs.first_node; c != nullptr; c = c->following) {
    if (coded(c, Op::I)) {
      body_start = c->following;
      if (!coded(body_start, Op::I)) {
        if (Node* end = find_closing(body_start, {Op::R, Op::S, Op::O, Op::U, Op::I}))
          c->false_link = end;
      }
    } else if (coded(c, Op::O)) {
      // The search starts at the IF body and passes over this O itself.
      if (Node* end = find_closing(body_start, {Op::R, Op::S, Op::U, Op::I}))
        c->false_link = end;
    }
  }

  // A D loops back to the nearest IF above it.
  for (Node* c = rs.first_node; c != nullptr; c = c->following) {
    if (!coded(c, Op::D))
      continue;
    Node* last_if = nullptr;
    for (Node* x = rs.first_node; x != c; x = x->following) {
      if (coded(x, Op::I))
        last_if = x;
    }
    if (last_if != nullptr)
      c->next = last_if;
  }
}

}  // namespace kovran
