// driver/run_state.h - every run variable of one run. The run driver makes the one instance and
// passes it as RunState& rs to every routine. ORDER DUMP: the variable registry in
// driver/variables.cc lists the named variables in dump order; keep it in step.
#ifndef KOVRAN_DRIVER_RUN_STATE_H_
#define KOVRAN_DRIVER_RUN_STATE_H_

#include <algorithm>
#include <cassert>
#include <cstdint>
#include <deque>
#include <iosfwd>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "compiler/node.h"
#include "driver/console.h"
#include "driver/progress.h"
#include "driver/text.h"
#include "records/files.h"

namespace kovran {

// The logical files of a run, by number: 1..6 data files, then the others.
enum class FileId : int {
  PROGRAM = 0,
  FILE1 = 1,
  FILE6 = 6,
  LISTING = 7,
  FILEDUMP = 8,
  SYSPRINT = 9
};
constexpr int kFileIds = 10;
const char* logical_name(int file_id);
// The command-line option that binds a logical file: "--" and its name in lower case.
std::string binding_option(int file_id);

// A digit of the options that names a data file (I, A, B) or a write target: 1 to 6.
inline bool valid_file_digit(char digit) { return digit >= '1' && digit <= '6'; }

// Where each logical name is bound, and the streams "-" stands for.
struct Bindings {
  std::string path[kFileIds];  // "-" for standard input/output
  std::istream* std_in = nullptr;
  std::ostream* std_out = nullptr;
  std::optional<std::string> clock;  // --clock YYYY-MM-DDTHH:MM:SS
  std::ostream* progress = nullptr;  // --progress on a terminal: standard error
  bool sysprint_to_stderr = false;   // no --sysprint, and a data file, LISTING or FILEDUMP is "-"
  std::ostream* std_err = nullptr;   // standard error: lines naming the script line at fault
  bool check = false;                // --check: compile and check the script, run nothing
  bool record_local = false;         // --record-local: the check says if the job is record-local
  std::string parm;                  // PARM as given: the record-locality check reads its words
  bool verbose = false;              // --verbose: the statement-to-line map on standard error
};

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

struct KeyRange {
  std::int16_t FROM = 0;
  std::int16_t TO = 0;
};

struct TableEntry {
  std::int16_t TILN = 0;  // entry number
  Varying<80> TABLENTRY;  // argument part then result part
  TableEntry* previous = nullptr;
  TableEntry* next = nullptr;
};

struct TableDef {
  char NAME = ' ';             // blank: no table declared
  std::int16_t TABL_SIZE = 0;  // entries loaded
  Varying<80> ARG;             // argument field reference
  Varying<80> RSLT;            // result field reference
  KeptParse arg_parse;         // our own: the parse of ARG, kept while ARG is unchanged
  KeptParse rslt_parse;        // our own: the parse of RSLT, likewise
};

// A number kept in 16 bits, as a 16-bit variable holds it: 40000 wraps to -25536.
constexpr std::int16_t wrap16(std::int64_t value) {
  const auto low = static_cast<std::int32_t>(static_cast<std::uint64_t>(value) & 0xFFFF);
  return static_cast<std::int16_t>(low >= 32768 ? low - 65536 : low);
}

// A text a run variable is to hold, left where it stands and copied in only when something can
// see the variable (RunState's settle_ functions).
struct WaitingText {
  const char* text = nullptr;  // null: the variable holds what it should
  std::size_t size = 0;
  void wait(const char* at, std::size_t n) {
    text = at;
    size = n;
  }
  void drop() { text = nullptr; }
  template <std::size_t Max>
  void settle(Varying<Max>& into) {
    if (text == nullptr)
      return;
    into.assign_outside(text, size);
    text = nullptr;
  }
};

struct RunState {
  explicit RunState(Bindings b);
  RunState(const RunState&) = delete;
  RunState& operator=(const RunState&) = delete;

  // --- options (driver/options.cc) ------------------------------------------------------
  bool DEBUG = false;          // implies TRACE; with TRACE, the node listing
  bool TRACE = false;          // trace lines of the logic pass and the dispatch loop
  bool VERBOSE = false;        // echo each statement as it is compiled
  bool DMP = false;            // dump all variables when the run ends
  bool TEST = false;           // an option error dumps the option parser's variables
  std::int16_t PGSIZE = 60;    // lines per LISTING page
  std::int16_t LNSIZE = 80;    // characters per printed line
  std::int32_t LC = 0;         // loop limit, 0 for none
  std::int32_t LOOPCOUNT = 0;  // nodes dispatched in the main walk
  std::int16_t DUMP = 0;       // record dump limit
  char T = '0';                // read mode
  char I = '0';                // input file of read mode 0
  char A = '0';                // A file of the match modes
  char B = '0';                // B file of the match modes
  // --- input (records/) -----------------------------------------------------------------
  bool EOF_ = false;  // EOF: end of PROGRAM while compiling, of all input while running
  bool EOF1 = true;   // end of FILE1 met; stays set for a file never read
  bool EOF2 = true;
  bool EOF3 = true;
  bool EOF4 = true;
  bool EOF5 = true;
  bool EOF6 = true;
  std::int32_t CNT1 = 0;  // records read from or written to FILE1
  std::int32_t CNT2 = 0;
  std::int32_t CNT3 = 0;
  std::int32_t CNT4 = 0;
  std::int32_t CNT5 = 0;
  std::int32_t CNT6 = 0;
  std::int32_t CNTL = 0;  // lines printed
  // --- run flags --------------------------------------------------------------------------
  bool EOP = false;         // a "U STOP" node has been compiled
  bool FIRST_TIME = true;   // first subroutine or table statement not yet seen
  bool FIRST_READ = true;   // the read cycle has not yet run
  bool FIRST_PRINT = true;  // LISTING not yet opened
  bool ONCE = true;         // the first pass has not yet finished
  bool MORE = true;         // the next statement needs a new node
  bool NEWCOND = true;      // the next IF starts a new compound
  bool IF_S = true;         // the start test has not yet been true
  bool COND = false;        // outcome of the test just evaluated
  bool RESULT = false;      // compound condition so far
  bool OLDRESULT = false;   // final value of the last completed IF run
  bool MATCH = false;       // the exact table search found the value
  bool NEVERMORE = false;   // the key statement is not read
  bool EOT = false;         // kept for scripts that set it; nothing reads it
  char LASTCOMPCOND = ' ';  // connector of the previous IF of the run
  char QUOTE = '\'';        // the quote character
  char HEX00 = '\0';        // set after the options are read
  char HEXFF = kHighValue;  // set after the options are read
  Varying<26> LOWER{"abcdefghijklmnopqrstuvwxyz"};
  Varying<26> UPPER{"ABCDEFGHIJKLMNOPQRSTUVWXYZ"};
  Varying<80> AKEY{" "};            // key of the current A record
  Varying<80> BKEY{" "};            // key of the current B record
  Varying<kAreaWidth> BUFFER{" "};  // record most recently read; script line being split
  Varying<kEditWidth> MASK{" "};    // edit mask
  std::int16_t J = 0;               // working integers
  std::int16_t M = 0;
  std::int16_t N = 0;
  std::int16_t N1 = 0;  // start column of the last parsed operand
  std::int16_t N2 = 0;  // end column of the last parsed operand
  std::int16_t U = 0;
  std::int16_t V = 0;
  std::int16_t TOTAL = 0;       // records counted for the dump limit, 16 bits
  std::int16_t EXTENT = 0;      // node counter while compiling; key ranges in use after KEY_RTN
  std::int32_t START_TIME = 0;  // seconds since midnight at the start
  std::int32_t STOP_TIME = 0;   // seconds since midnight at the end
  Area<10> TODAY;               // mm/dd/yy and two blanks
  Area<8> NOW;                  // hh:mm.ss
  Varying<100> BLOCK;           // the statement being compiled
  // --- areas (fields/) --------------------------------------------------------------------
  Varying<kAreaWidth> F0;  // work area of the write instruction
  Area<kAreaWidth> F1;     // current record of FILE1, blank-padded
  Area<kAreaWidth> F2;
  Area<kAreaWidth> F3;
  Area<kAreaWidth> F4;
  Area<kAreaWidth> F5;
  Area<kAreaWidth> F6;
  Area<kAreaWidth> H;           // hold area: the previous record in read mode 0
  Area<kAreaWidth> S;           // scratch area
  Area<kPrintLineWidth> L;      // print line
  Area<kSmallAreaWidth> D;      // small scratch area; columns 27-32 the run date
  Varying<80> FLD;              // operand text being parsed
  Varying<80> FILE_CODE;        // area code of a reference, or a literal's text
  Varying<kAreaWidth> SOURCE;   // value fetched for the current operation
  Varying<kAreaWidth> TARGET;   // second value of a test, searched text, search text
  Varying<kAreaWidth> REPLACE;  // replacement text of the change instruction
  std::int16_t COL1 = 0;        // change: first column an occurrence may begin in
  std::int16_t COL2 = 0;        // change: last column an occurrence may begin in
  Area<6> A_STRING;             // change: column number text
  Area<kEditWidth> TARGET2;     // edit result, built from the right
  std::int16_t LO = 0;          // binary search bounds
  std::int16_t HI = 0;
  std::int16_t MID = 0;
  // --- key matching (records/match.cc) ----------------------------------------------------
  KeyRange A_KEY[4];  // key column ranges of the A file
  KeyRange B_KEY[4];  // key column ranges of the B file
  // --- table (tables/) --------------------------------------------------------------------
  TableDef TABLE_DEF;
  std::deque<TableEntry> table_entries;  // every entry, in creation order; addresses never move
  TableEntry* first_entry = nullptr;
  TableEntry* last_entry = nullptr;
  TableEntry* current_entry = nullptr;
  std::vector<TableEntry*> entry_index;       // built by SORT_RTN; position k-1 holds entry k
  bool table_sorted = false;                  // the entry index exists
  std::vector<std::string_view> sorted_keys;  // our own: the key of entry k at k-1, after the sort
  int sorted_key_length = 0;                  // the key length they were cut to
  std::vector<std::uint64_t> sorted_key_words;  // the keys as key_word, when at most 8 long
  // The outcome of the exact search for each short argument met lately, by a hash of its key
  // word: the search over fixed keys always ends the same way for the same argument.
  struct SearchMemo {
    std::uint64_t word = 0;
    TableEntry* entry = nullptr;  // current_entry on a match
    std::int16_t lo = 0, hi = 0, mid = 0, examined = 0;
    bool match = false;
    bool valid = false;
  };
  std::vector<SearchMemo> search_memo;  // emptied whenever the keys are sorted
  bool table_statement_seen = false;    // a T statement has been compiled
  // --- program list (compiler/) -----------------------------------------------------------
  std::deque<Node> nodes;                // every node, in creation order; addresses never move
  std::deque<Translation> translations;  // those of the TR nodes; addresses never move
  std::vector<MoveCopy> move_copies;     // of the runs of moves, planned before the first pass
  std::vector<Copy16> move_pieces;       // the same, as words of sixteen bytes where they may be
  Node* first_node = nullptr;
  Node* newest_node = nullptr;
  Node* current_node = nullptr;          // being compiled, then being dispatched
  Node* eoj_entry = nullptr;             // the last "I F" statement
  Node* return_point = nullptr;          // set by B, planted by S
  std::vector<ScriptNote> script_notes;  // what the script reader saw, for the check
  // --- files and console (driver/, records/) ----------------------------------------------
  Bindings bindings;
  Progress progress{bindings.progress};  // --progress line on standard error
  OutFile sysprint_file;
  Console sysprint{sysprint_file};
  InFile program_file;
  InFile in_files[7];    // FILE1..FILE6 when read (index 0 unused)
  OutFile out_files[7];  // FILE1..FILE6 when written (index 0 unused)
  OutFile listing_file;
  OutFile filedump_file;
  std::int32_t listing_line = 0;     // current line number of LISTING's page, 0 before any print
  bool listing_open_line = false;    // a printed line waits for its closing line feed
  std::int16_t listing_pgsize = 60;  // page size fixed when LISTING opened
  std::int16_t listing_lnsize = 80;  // line size fixed when LISTING opened
  // --- our own bookkeeping ----------------------------------------------------------------
  int diagnostics = 0;  // diagnostics printed: the run ends with status 4
  // NOTE: after the single-file cycle's usual read, and after the usual IF, BUFFER's text is the
  // first buffer_size columns of one area (blank past its extent), and BUFFER is filled in only
  // when something can see it (settle_buffer): the main walk's instructions but those that
  // never touch BUFFER or that area, the dump, the read cycle.
  const char* buffer_area = nullptr;
  const std::size_t* buffer_extent = nullptr;
  std::size_t buffer_size = 0;
  // NOTE: after the single-file cycle's usual read the record is copied into its area only
  // when something can see that area (settle_record): until the next read of the file it
  // stands in the file's buffer, and the walk's usual moves and IF read it there.
  Area<kAreaWidth>* record_area = nullptr;  // set for the cycle that may leave it so
  const char* record_text = nullptr;        // null: the area holds what it should
  std::size_t record_size = 0;
  // The same for SOURCE after a run of moves whose last reads that record there
  // (settle_source): the field's text. Whatever writes SOURCE itself drops it.
  WaitingText source_waits;
  // The same for TARGET after the usual IF (settle_target): the literal it holds.
  WaitingText target_waits;
  // NOTE: after the usual read TOTAL is summed only when something can see it (settle_TOTAL):
  // the dump, and the routines that count records. The walk's own W counts the records it
  // writes meanwhile in `written_since_read` too, and the sum leaves them out.
  bool total_waits = false;
  std::int32_t written_since_read = 0;
  bool running = false;             // the dispatch loop is walking: errors name the node
  std::int64_t eoj_dispatched = 0;  // nodes dispatched in the end-of-job walk (loop limit)
  bool key_order_warned[7] = {};    // a key went down in this file (warned once)
  Varying<80> last_key[7];          // previous key read from each match file
  // NOTE: FLD and FILE_CODE of the operand last used are copied in only when something can
  // see them (settle_parse): the dump, and the routines that read them.
  const Word* parsed_text = nullptr;  // the word last parsed, for FLD
  const Word* parsed_code = nullptr;  // its parse, for FILE_CODE
  // NOTE: F0 of a W the walk made itself is copied in only when something can see it
  // (settle_F0): the dump, and WRITE_RTN, which reads or sets F0. The text stands in its
  // file's buffer until that file is written again.
  WaitingText F0_waits;
  std::vector<bool> clip_reported;  // by node number: a clipped reference was reported
  std::vector<bool> told;           // by node number: its first report is on standard error

  // FILE_CODE as the last parse left it, FLD to be set by the caller.
  void settle_code() {
    if (parsed_code != nullptr)
      FILE_CODE = *parsed_code;
    parsed_text = parsed_code = nullptr;
  }
  // BUFFER := columns 1..size of an area, to be filled in when something can see it.
  void defer_buffer(const char* area, const std::size_t* extent, std::size_t size) {
    buffer_area = area;
    buffer_extent = extent;
    buffer_size = size;
  }
  // The record area := the record the read left in its file's buffer.
  void defer_record(std::string_view text) {
    record_text = text.data();
    record_size = text.size();
  }
  // SOURCE as the last move left it.
  void settle_source() { source_waits.settle(SOURCE); }
  // The record area as the last read left it, and SOURCE, which may stand in the same buffer.
  void settle_record() {
    settle_source();
    if (record_text == nullptr)
      return;
    record_area->assign_padded(std::string_view(record_text, record_size));
    record_text = nullptr;
  }
  // BUFFER, and the record area it may be filled in from, as the last read or IF left them.
  void settle_buffer() {
    settle_record();
    if (buffer_area != nullptr)
      fill_buffer();
  }
  void fill_buffer() {
    const std::size_t n = std::min(*buffer_extent, buffer_size);
    if (n == buffer_size) {  // the record as read: the rest of BUFFER's storage stays
      BUFFER.assign_outside(buffer_area, n);
    } else {
      BUFFER.assign_padded(std::string_view(buffer_area, n), buffer_size);
    }
    buffer_area = nullptr;
  }
  // TOTAL := the records counted in FILE1..FILE6, in 16 bits.
  void sum_TOTAL() {
    TOTAL = wrap16(std::int64_t{CNT1} + CNT2 + CNT3 + CNT4 + CNT5 + CNT6 - written_since_read);
    total_waits = false;
    written_since_read = 0;
  }
  // TOTAL as the last read left it.
  void settle_TOTAL() {
    if (total_waits)
      sum_TOTAL();
  }
  // TARGET as the last IF left it.
  void settle_target() { target_waits.settle(TARGET); }
  // F0 as the last W left it.
  void settle_F0() { F0_waits.settle(F0); }
  // FLD and FILE_CODE as the last parse left them.
  void settle_parse() {
    if (parsed_text == nullptr)
      return;
    FLD = *parsed_text;
    FILE_CODE = *parsed_code;
    parsed_text = parsed_code = nullptr;
  }
};

// FILE1..FILE6 by number: the area, the end-of-file flag and the count of each, the one table
// every map from a file number (or from the area codes 1..6) goes through. Row 0 is unused.
struct DataFile {
  Area<kAreaWidth> RunState::*area;
  bool RunState::*eof;
  std::int32_t RunState::*count;
};
inline constexpr DataFile kDataFiles[7] = {
    {nullptr, nullptr, nullptr},
    {&RunState::F1, &RunState::EOF1, &RunState::CNT1},
    {&RunState::F2, &RunState::EOF2, &RunState::CNT2},
    {&RunState::F3, &RunState::EOF3, &RunState::CNT3},
    {&RunState::F4, &RunState::EOF4, &RunState::CNT4},
    {&RunState::F5, &RunState::EOF5, &RunState::CNT5},
    {&RunState::F6, &RunState::EOF6, &RunState::CNT6},
};
inline const DataFile& data_file(int n) {
  assert(n >= 1 && n <= 6);
  return kDataFiles[static_cast<std::size_t>(n)];
}

// The area of data file n (1..6), its end-of-file flag and its count.
inline Area<kAreaWidth>& file_area(RunState& rs, int n) { return rs.*data_file(n).area; }
inline bool& eof_flag(RunState& rs, int n) { return rs.*data_file(n).eof; }
inline std::int32_t& file_count(RunState& rs, int n) { return rs.*data_file(n).count; }

// Whether the file a digit of the options names is open for reading.
inline bool input_open(const RunState& rs, char digit) {
  return valid_file_digit(digit) && rs.in_files[digit - '0'].is_open();
}

// True the first time it is asked for `node` with these marks (clip_reported, told).
inline bool first_time(std::vector<bool>& marks, const Node& node) {
  const std::size_t k = static_cast<std::size_t>(node.ILN);
  if (marks.size() <= k)
    marks.resize(k + 1);
  if (marks[k])
    return false;
  marks[k] = true;
  return true;
}

// Adds one to a counter; it stops at the largest 32-bit value instead of overflowing.
inline void count_one(std::int32_t& counter) {
  if (counter < INT32_MAX)
    ++counter;
}

// count_one for the count of a file the walk's own W writes (RunState::written_since_read).
inline void count_written(RunState& rs, std::int32_t& counter) {
  if (counter < INT32_MAX) {
    ++counter;
    if (rs.total_waits)
      ++rs.written_since_read;
  }
}

// Adds n >= 0 to a counter as n calls of count_one do.
inline void count_many(std::int32_t& counter, std::int32_t n) {
  counter = static_cast<std::int32_t>(std::min<std::int64_t>(INT32_MAX, std::int64_t{counter} + n));
}

}  // namespace kovran

#endif  // KOVRAN_DRIVER_RUN_STATE_H_
