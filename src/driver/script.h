// driver/script.h - reading PROGRAM statement by statement into nodes and table entries.
#ifndef KOVRAN_DRIVER_SCRIPT_H_
#define KOVRAN_DRIVER_SCRIPT_H_

#include <cstddef>
#include <cstdint>
#include <string>

namespace kovran {

struct RunState;

// Reads the open PROGRAM to its end: each statement becomes a node or a table entry, the stop
// node is added before the first subroutine or table statement or at the end, and PROGRAM is
// closed. Each node gets the number of the line it stands on; what the words of a node cannot
// show (a cut, carriage returns inside a line) is kept as a ScriptNote.
void read_script(RunState& rs);

// What the script reader saw that no node's words show; the check reports it.
struct ScriptNote {
  enum class Kind : std::uint8_t {
    kLineCut,          // a line over 4096 bytes: the rest of it is lost
    kCarriageReturns,  // carriage returns inside a line: its lines end in them alone
    kStatementCut,     // a statement over 80 characters: `text` is the first word cut
    kExtraWords,       // more than nine words: `text` is the tenth
    kEntryIgnored,     // a table entry before any table statement: `text` is the entry
    kEntryCut,         // an entry longer than its fields: `text` is the part cut off
  };
  Kind kind;
  std::int32_t line = 0;   // physical line of PROGRAM
  std::int16_t ILN = 0;    // the statement's node, 0 for none
  std::size_t length = 0;  // the whole line, statement or entry text (the carriage returns)
  std::size_t kept = 0;    // how much of it the run keeps (of `text` for kStatementCut)
  std::string text;
};

}  // namespace kovran

#endif  // KOVRAN_DRIVER_SCRIPT_H_
