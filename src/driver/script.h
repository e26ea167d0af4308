// driver/script.h - reading PROGRAM statement by statement into nodes and table entries.
#ifndef KOVRAN_DRIVER_SCRIPT_H_
#define KOVRAN_DRIVER_SCRIPT_H_

namespace kovran {

struct RunState;

// Reads the open PROGRAM to its end: each statement becomes a node or a table entry, the stop
// node is added before the first subroutine or table statement or at the end, and PROGRAM is
// closed. Each node gets the number of the line it stands on; what the words of a node cannot
// show (a cut, carriage returns inside a line) is kept as a ScriptNote.
void read_script(RunState& rs);

}  // namespace kovran

#endif  // KOVRAN_DRIVER_SCRIPT_H_
