// tables/tables.h - the one lookup table of a run.
#ifndef KOVRAN_TABLES_TABLES_H_
#define KOVRAN_TABLES_TABLES_H_

#include "driver/run_state.h"

namespace kovran {

void ALLOC_TABLE(RunState& rs);  // a new entry at the end of the list
void LOAD_TABLE(RunState& rs);   // the entry's text from BLOCK
void SORT_RTN(RunState& rs);     // entry index, then the entry texts sorted in place
void SEARCH(RunState& rs);       // L name E|H|L
void BIN_SEARCH(RunState& rs);   // exact search over the entry index

// Checks made before any record is read (a table statement's descriptions out of range);
// raises the error condition with a message naming the statement.
void check_table(RunState& rs);

}  // namespace kovran

#endif  // KOVRAN_TABLES_TABLES_H_
