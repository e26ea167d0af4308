// driver/kovran.cc - the command line and the run driver KOVRAN: banner, clock, options, the
// script read statement by statement, the logic pass, the dispatch loop, the end-of-run report.
#include "driver/kovran.h"

#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <ctime>
#include <exception>
#include <iostream>
#include <iterator>
#include <new>
#include <string>
#include <string_view>

#include "compiler/compiler.h"
#include "driver/diagnostics.h"
#include "driver/options.h"
#include "driver/run_state.h"
#include "driver/signals.h"
#include "engine/engine.h"
#include "records/records.h"
#include "tables/tables.h"

namespace kovran {
namespace {

constexpr int kStatusUsage = 16;
constexpr std::size_t kMaxParm = 100;
constexpr std::size_t kMaxLine = 4096;

constexpr const char* kUsage =
    "usage: kovran [OPTIONS] [PARM]\n"
    "\n"
    "Compiles the script PROGRAM and runs it once for every record of the input file, then\n"
    "reports the elapsed time and the record counts on the console (SYSPRINT).\n"
    "\n"
    "PARM  the run options: one argument of comma-separated words, 100 characters at most.\n"
    "  NAME            set a flag: DEBUG (node listing and trace), TRACE (trace of the\n"
    "                  run), VERBOSE (echo each statement), DMP (dump every variable at the\n"
    "                  end), TEST (dump the option words when an option is wrong)\n"
    "  NONAME          clear a flag (NOTRACE)\n"
    "  NAME=VALUE      set any run variable by name, for instance\n"
    "                  I=n       input file FILEn of the single-file mode (needed: default 0)\n"
    "                  T=0|1|2   read mode: one file, or two files matched by key\n"
    "                  A=n,B=n   the two files of the matched modes\n"
    "                  LC=n      stop the run after n executed statements (0: no limit)\n"
    "                  DUMP=n    copy the first n records read to FILEDUMP\n"
    "                  PGSIZE=n  lines per LISTING page (60)   LNSIZE=n  line width (80)\n"
    "                  _DEBUG_   echo each later option as it is applied\n"
    "  Words are upper-cased unless they contain TXT; a word is cut to 24 characters.\n"
    "\n"
    "Files. Each logical name is bound to the file of that name in the current directory\n"
    "unless an option binds it. A PATH of - is standard input for a file that is read and\n"
    "standard output for a file that is written. Both --opt PATH and --opt=PATH work.\n"
    "  --program PATH   the script                             (default ./PROGRAM)\n"
    "  --file1 PATH     data file 1; likewise --file2 .. --file6  (default ./FILE1 ..)\n"
    "  --listing PATH   the paged report written by W L          (default ./LISTING)\n"
    "  --filedump PATH  the records copied under DUMP=n          (default ./FILEDUMP)\n"
    "  --sysprint PATH  the console                              (default standard output)\n"
    "A file is opened when it is first used; a file never used is never created.\n"
    "\n"
    "Other options:\n"
    "  --clock YYYY-MM-DDTHH:MM:SS  fix the clock the run reads, for reproducible runs\n"
    "  --progress                   show records read, records per second and elapsed time\n"
    "                               on standard error while the run goes on (terminals only)\n"
    "  --help                       show this text and stop\n"
    "  --version                    show the version and the build stamp and stop\n"
    "  --                           what follows is the PARM, even if it begins with -\n"
    "\n"
    "Exit status: 0 normal end; 4 normal end after a diagnostic (a statement error, a bad\n"
    "instruction, a warning); 12 the run was ended by an error (loop limit, conversion,\n"
    "a bad option word, a file that cannot be opened, read or written); 16 unusable\n"
    "command line (unknown option, missing path, PARM over 100 characters), nothing run;\n"
    "128+n ended by signal n (130 SIGINT, 143 SIGTERM, 141 an output pipe was closed).\n";

struct Clock {
  int year = 0, month = 0, day = 0, hour = 0, minute = 0, second = 0;
};

bool parse_clock(std::string_view text, Clock& c) {
  // YYYY-MM-DDTHH:MM:SS
  if (text.size() != 19 || text[4] != '-' || text[7] != '-' || text[10] != 'T' || text[13] != ':' ||
      text[16] != ':') {
    return false;
  }
  auto num = [&](std::size_t at, std::size_t n, int& out) {
    out = 0;
    for (std::size_t k = at; k < at + n; ++k) {
      if (text[k] < '0' || text[k] > '9')
        return false;
      out = out * 10 + (text[k] - '0');
    }
    return true;
  };
  if (!(num(0, 4, c.year) && num(5, 2, c.month) && num(8, 2, c.day) && num(11, 2, c.hour) &&
        num(14, 2, c.minute) && num(17, 2, c.second))) {
    return false;
  }
  static constexpr int kDays[12] = {31, 29, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
  const bool leap = (c.year % 4 == 0 && c.year % 100 != 0) || c.year % 400 == 0;
  if (c.month < 1 || c.month > 12 || c.day < 1)
    return false;
  if (c.day > kDays[c.month - 1] || (c.month == 2 && c.day == 29 && !leap))
    return false;
  return c.hour < 24 && c.minute < 60 && c.second < 60;
}

Clock read_clock(const Bindings& b) {
  Clock c;
  if (b.clock && parse_clock(*b.clock, c))
    return c;
  const std::time_t now = std::time(nullptr);
  std::tm tm{};
  localtime_r(&now, &tm);
  c.year = tm.tm_year + 1900;
  c.month = tm.tm_mon + 1;
  c.day = tm.tm_mday;
  c.hour = tm.tm_hour;
  c.minute = tm.tm_min;
  c.second = tm.tm_sec;
  return c;
}

std::string two(int n) {
  return std::string(1, static_cast<char>('0' + n / 10 % 10)) + static_cast<char>('0' + n % 10);
}

std::int32_t seconds_of_day(const Clock& c) { return c.hour * 3600 + c.minute * 60 + c.second; }

// Reads one script line into BUFFER, cut to 4096 with a warning. False at end of PROGRAM.
bool read_script_line(RunState& rs, long& line_number) {
  std::size_t stored = 0;
  std::size_t full = 0;
  if (!rs.program_file.read_record(rs.BUFFER.data(), kMaxLine, stored, full)) {
    if (rs.program_file.failed()) {
      end_if_interrupted(rs);  // a read cut short by a signal is that signal's ending
      raise_error(rs, "CANNOT READ PROGRAM (" + rs.bindings.path[0] +
                          "): " + rs.program_file.error_reason());
    }
    rs.EOF_ = true;
    return false;
  }
  ++line_number;
  rs.BUFFER.resize(stored);
  if (full > kMaxLine) {
    warning(rs, "WARNING: PROGRAM LINE " + std::to_string(line_number) + " CUT TO 4096 CHARACTERS");
  }
  return true;
}

// The next statement of the line in BUFFER: up to the first ";" with an even number of quote
// characters before it, or the whole rest of the line.
std::string_view next_statement(RunState& rs) {
  const std::string_view rest = rs.BUFFER.view();
  int quotes = 0;
  for (std::size_t k = 0; k < rest.size(); ++k) {
    if (rest[k] == rs.QUOTE)
      ++quotes;
    if (rest[k] == ';' && quotes % 2 == 0) {
      rs.BLOCK = trim_blanks(rest.substr(0, k));  // cut to 100
      const std::string keep(rest.substr(k + 1));
      rs.BUFFER = keep;
      return rs.BLOCK.view();
    }
  }
  rs.BLOCK = trim_blanks(rest);
  rs.BUFFER.clear();
  return rs.BLOCK.view();
}

void compile_statement(RunState& rs, std::string_view text) {
  ALLOC_RTN(rs);
  PARSE(rs, text);
}

void read_script(RunState& rs) {
  long line_number = 0;
  rs.BUFFER.clear();
  for (;;) {
    end_if_interrupted(rs);
    if (rs.BUFFER.empty() && !read_script_line(rs, line_number))
      break;
    const std::string_view block = next_statement(rs);
    if (block.empty())
      continue;
    const char c0 = block[0];
    const bool translate = block.substr(0, 2) == "TR" || block.substr(0, 2) == "tr";
    if ((c0 == 'S' || c0 == 's' || c0 == 'T' || c0 == 't') && !translate && rs.FIRST_TIME) {
      rs.FIRST_TIME = false;
      compile_statement(rs, "U STOP PROGRAM");
      rs.EOP = true;
    }
    if (c0 == rs.QUOTE) {
      if (!rs.table_statement_seen) {
        warning(rs, "WARNING: TABLE ENTRY BEFORE ANY TABLE STATEMENT IGNORED (PROGRAM LINE " +
                        std::to_string(line_number) + "): " + std::string(block));
        continue;
      }
      ALLOC_TABLE(rs);
      LOAD_TABLE(rs);
      continue;
    }
    ALLOC_RTN(rs);
    if (rs.VERBOSE)
      rs.sysprint.line(rs.BLOCK.view());
    PARSE(rs, rs.BLOCK.view());
  }
  rs.program_file.close();
  if (!rs.EOP) {
    compile_statement(rs, "U STOP HERE");
    rs.EOP = true;
  }
}

void print_banner(RunState& rs) {
  std::string banner =
      std::string("KOVRAN BATCH RECORD PROCESSOR  VERSION ") + kVersion + "  BUILD " + kBuildStamp;
  banner.resize(69, ' ');
  rs.sysprint.raw_line(banner);
}

void start_clock(RunState& rs, const Clock& c) {
  rs.START_TIME = seconds_of_day(c);
  rs.TODAY.assign_padded(two(c.month) + "/" + two(c.day) + "/" + two(c.year % 100));
  rs.NOW.assign_padded(two(c.hour) + ":" + two(c.minute) + "." + two(c.second));
  const std::string ymd = two(c.year % 100) + two(c.month) + two(c.day);
  for (std::size_t k = 0; k < 6; ++k) rs.D[26 + k] = ymd[k];
}

int normal_status(const RunState& rs) { return rs.diagnostics > 0 ? 4 : 0; }

// KOVRAN   the run itself, from the banner to the count line.
int KOVRAN(RunState& rs, std::string_view PARM) {
  print_banner(rs);
  start_clock(rs, read_clock(rs.bindings));
  if (!PARM.empty())
    OPTIONS(rs, PARM);

  std::string reason;
  if (!rs.program_file.open(rs.bindings.path[0], rs.bindings.std_in, reason)) {
    end_if_interrupted(rs);  // a FIFO waiting for its writer
    raise_error(rs, "CANNOT OPEN PROGRAM (" + rs.bindings.path[0] + "): " + reason);
  }
  rs.HEX00 = '\0';
  rs.HEXFF = '\xFF';
  if (rs.DEBUG)
    rs.TRACE = true;
  rs.FIRST_TIME = true;
  read_script(rs);

  if (rs.T > '0') {
    rs.current_node = rs.first_node;
    KEY_RTN(rs);
  }
  if (rs.TABLE_DEF.NAME != ' ') {
    check_table(rs);
    SORT_RTN(rs);
  }
  LOGIC(rs);
  LOOP(rs);

  rs.STOP_TIME = rs.bindings.clock ? rs.START_TIME : seconds_of_day(read_clock(rs.bindings));
  rs.sysprint.line("Elapsed time= ", rs.STOP_TIME - rs.START_TIME, "sec     ", rs.TODAY.view(),
                   "    ", rs.NOW.view());
  rs.sysprint.line("F1 ", rs.CNT1, " F2 ", rs.CNT2, " F3 ", rs.CNT3, " F4 ", rs.CNT4, " F5 ",
                   rs.CNT5, " F6 ", rs.CNT6, " List  ", rs.CNTL);
  if (rs.DMP)
    raise_error(rs, "", normal_status(rs));
  return normal_status(rs);
}

// Parses the command line into `b` and `parm`. Returns false (after a message) when unusable.
bool parse_command_line(const std::vector<std::string>& args, Bindings& b, std::string& parm,
                        bool& done, std::ostream& out, std::ostream& err) {
  static constexpr const char* kFileOptions[kFileIds] = {
      "--program", "--file1", "--file2",   "--file3",    "--file4",
      "--file5",   "--file6", "--listing", "--filedump", "--sysprint"};
  bool have_parm = false;
  bool options_ended = false;
  for (std::size_t k = 0; k < args.size(); ++k) {
    const std::string& arg = args[k];
    // NOTE: a lone "-" is taken as the PARM; any other word beginning with "-" is an option.
    if (options_ended || arg.size() < 2 || arg[0] != '-') {
      if (have_parm) {
        err << "kovran: more than one PARM given (\"" << parm << "\" and \"" << arg
            << "\"); put the run options in one comma-separated word\n";
        return false;
      }
      have_parm = true;
      parm = arg;
      continue;
    }
    if (arg == "--") {
      options_ended = true;
      continue;
    }
    if (arg == "--help") {
      out << kUsage;
      done = true;
      return true;
    }
    if (arg == "--version") {
      out << "kovran " << kVersion << " (build " << kBuildStamp << ")\n";
      done = true;
      return true;
    }
    if (arg == "--progress") {
      if (::isatty(STDERR_FILENO) == 1)
        b.progress = &err;
      continue;
    }
    const std::size_t eq = arg.find('=');
    const std::string name = arg.substr(0, eq);
    const bool takes_value =
        name == "--clock" ||
        std::find(std::begin(kFileOptions), std::end(kFileOptions), name) != std::end(kFileOptions);
    if (!takes_value) {
      err << "kovran: unknown option " << name << " (try kovran --help)\n";
      return false;
    }
    std::string value;
    if (eq != std::string::npos) {
      value = arg.substr(eq + 1);
    } else if (k + 1 < args.size()) {
      value = args[++k];
    } else {
      err << "kovran: option " << name << (name == "--clock" ? " needs a value" : " needs a path")
          << "\n";
      return false;
    }
    for (int id = 0; id < kFileIds; ++id) {
      if (name == kFileOptions[id]) {
        if (value.empty()) {
          err << "kovran: option " << name << " needs a path\n";
          return false;
        }
        b.path[id] = value;
      }
    }
    if (name == "--clock") {
      Clock c;
      if (!parse_clock(value, c)) {
        err << "kovran: --clock wants YYYY-MM-DDTHH:MM:SS, not \"" << value << "\"\n";
        return false;
      }
      b.clock = value;
    }
  }
  if (parm.size() > kMaxParm) {
    err << "kovran: PARM is " << parm.size() << " characters long; at most " << kMaxParm
        << " are allowed\n";
    return false;
  }
  return true;
}

}  // namespace

int run_kovran(const std::vector<std::string>& args, std::istream& in, std::ostream& out,
               std::ostream& err) {
  Bindings b;
  for (int id = 0; id < kFileIds; ++id) b.path[id] = logical_name(id);
  b.path[static_cast<int>(FileId::SYSPRINT)] = "-";
  b.std_in = &in;
  b.std_out = &out;
  std::string parm;
  bool done = false;
  if (!parse_command_line(args, b, parm, done, out, err))
    return kStatusUsage;
  if (done)
    return 0;

  // The guard outlives the run state, so the files are closed while signals are still only
  // recorded: a closed pipe cannot kill the process before its records are out.
  const SignalGuard guard;
  RunState rs(std::move(b));
  std::string reason;
  const std::string& sysprint_path = rs.bindings.path[static_cast<int>(FileId::SYSPRINT)];
  for (int n = 0; n <= 6; ++n) {  // the console is created first: it must not be an input
    if (same_regular_file(sysprint_path, rs.bindings.path[n])) {
      err << "kovran: SYSPRINT (" << sysprint_path << ") is the file of " << logical_name(n)
          << ", which a run reads; writing it would destroy it\n";
      return kStatusUsage;
    }
  }
  if (!rs.sysprint_file.open(sysprint_path, &out, reason)) {
    err << "kovran: cannot open SYSPRINT (" << sysprint_path << "): " << reason << "\n";
    return 12;
  }
  int status = 0;
  try {
    status = KOVRAN(rs, parm);
  } catch (const RunEnded& ended) {
    status = ended.status;
  } catch (const std::bad_alloc&) {
    // NOTE: only a script near the node or entry limits on a machine short of memory gets
    // here; the run ends like any error, with its files closed.
    status = 12;
    rs.sysprint.line("RUN ENDED: OUT OF MEMORY");
  } catch (const std::exception& e) {
    // A fault of kovran itself: the records written so far are still kept. Standard error
    // says so too, where no script or data can put the same words (the fuzz targets look).
    status = 12;
    rs.sysprint.line("RUN ENDED BY AN INTERNAL ERROR:", e.what());
    err << "kovran: internal error: " << e.what() << "\n";
  }
  rs.running = false;
  if (!close_output_files(rs))
    status = 12;
  rs.sysprint.new_line();
  if (!rs.sysprint_file.close() && rs.sysprint_file.error_number() != EPIPE) {
    err << "kovran: cannot write SYSPRINT (" << sysprint_path
        << "): " << rs.sysprint_file.error_reason() << "\n";
    status = 12;
  }
  // However the run ended, a signal received during it names the status (a closed console
  // pipe: 141).
  if (const int sig = pending_signal(); sig != 0)
    status = 128 + sig;
  return status;
}

}  // namespace kovran
