// driver/command_line.cc - the command line: options binding the logical files, --parm-file,
// --clock, --progress, --check, --record-local, --verbose, --help, --version, and the one PARM
// word.
#include "driver/command_line.h"

#include <unistd.h>

#include <algorithm>
#include <cstdio>
#include <iostream>
#include <iterator>
#include <optional>
#include <string>

#include "driver/clock.h"
#include "driver/kovran.h"
#include "driver/run_state.h"
#include "records/files.h"
#include "records/records.h"

namespace kovran {
namespace {

constexpr std::size_t kMaxParm = 100;

constexpr const char* kUsage =
    "usage: kovran [OPTIONS] [PARM]\n"
    "\n"
    "Compiles the script PROGRAM and runs it once for every record of the input file,\n"
    "then reports the elapsed time and the record counts on the console (SYSPRINT).\n"
    "A job is a folder holding PROGRAM, its data files and often a file PARM; run it\n"
    "there:  kovran --parm-file PARM   (or kovran I=1: the options written out)\n"
    "\n"
    "PARM  the run options: one argument of comma-separated words, 100 characters at\n"
    "most, or the first line of the file named by --parm-file.\n"
    "  NAME            set a flag: DEBUG (node listing and trace), TRACE (trace of\n"
    "                  the run), VERBOSE (echo each statement), DMP (dump every\n"
    "                  variable at the end), TEST (dump the option words when an\n"
    "                  option is wrong)\n"
    "  NONAME          clear a flag (NOTRACE)\n"
    "  NAME=VALUE      set any run variable by name, for instance\n"
    "                  I=n       input file FILEn of the single-file mode (needed)\n"
    "                  T=0|1|2   read mode: one file, or two files matched by key\n"
    "                  A=n,B=n   the two files of the matched modes\n"
    "                  LC=n      stop after n executed statements (0: no limit)\n"
    "                  DUMP=n    copy the first n records read to FILEDUMP\n"
    "                  PGSIZE=n  lines per LISTING page (60)\n"
    "                  LNSIZE=n  LISTING line width (80)\n"
    "                  _DEBUG_   echo each later option as it is applied\n"
    "  Words are upper-cased unless they contain TXT; a word is cut to 24 characters.\n"
    "\n"
    "Files. Each logical name is bound to the file of that name in the current\n"
    "folder unless an option binds it. A PATH of - is standard input for a file that\n"
    "is read and standard output for a file that is written. Both --opt PATH and\n"
    "--opt=PATH work. A file is opened when first used; one never used is never made.\n"
    "  --program PATH   the script                         (default ./PROGRAM)\n"
    "  --file1 PATH     data file 1; likewise --file2 .. --file6   (./FILE1 ..)\n"
    "  --listing PATH   the paged report written by W L    (default ./LISTING)\n"
    "  --filedump PATH  the records copied under DUMP=n    (default ./FILEDUMP)\n"
    "  --sysprint PATH  the console                        (default standard output)\n"
    "When a data file, LISTING or FILEDUMP is - and --sysprint is not given, the\n"
    "console goes to standard error, so that a pipe carries only records:\n"
    "  producer | kovran --file1 - --file2 - I=1 | consumer\n"
    "\n"
    "Other options:\n"
    "  --parm-file PATH  read PARM from the first line of the file PATH\n"
    "  --clock YYYY-MM-DDTHH:MM:SS\n"
    "                    fix the clock the run reads, for reproducible runs\n"
    "  --progress        show records read, records per second and elapsed time on\n"
    "                    standard error while the run goes on (terminals only)\n"
    "  --check           read and check the script as a run would, run nothing: each\n"
    "                    finding as PATH:LINE: warning|error: ... on standard error;\n"
    "                    status 0 none, 4 findings, 12 unreadable script or bad\n"
    "                    PARM, 16 bad command line\n"
    "  --record-local    --check, and say whether the job is record-local: each\n"
    "                    record written depends on its own input record alone, so\n"
    "                    kovran-parallel may run it over blocks of its input; one\n"
    "                    line PATH: record-local: yes|no after a note per reason\n"
    "                    it is not (then status 4)\n"
    "  --verbose         also list each statement number with its script line on\n"
    "                    standard error (ERROR IN LINE n names statement n)\n"
    "  -h, --help        show this text and stop\n"
    "  -V, --version     show the version and the build stamp and stop\n"
    "  --                end the options: what follows is PARM, even if it begins\n"
    "                    with -\n"
    "\n"
    "Exit status:\n"
    "  0      normal end\n"
    "  4      normal end after a diagnostic (a statement error, a bad instruction,\n"
    "         a warning)\n"
    "  12     the run was ended by an error (loop limit, conversion, a bad option\n"
    "         word, a file that cannot be opened, read or written)\n"
    "  16     the command line is unusable (unknown option, missing path, PARM over\n"
    "         100 characters); nothing was run\n"
    "  128+n  ended by signal n (130 SIGINT, 143 SIGTERM, 129 SIGHUP, 141 an output\n"
    "         pipe was closed)\n"
    "\n"
    "The script language: man kovran-language. Examples: share/doc/kovran/examples.\n";

// A word of the command line as a message shows it: control characters as <XX>, so that the
// message stays one line.
std::string printable(std::string_view word) {
  std::string shown;
  for (const char c : word) {
    const auto code = static_cast<unsigned char>(c);
    if (code < 0x20 || code == 0x7F) {
      char hex[5];
      std::snprintf(hex, sizeof hex, "<%02X>", code);
      shown += hex;
    } else {
      shown += c;
    }
  }
  return shown;
}

std::string quoted(std::string_view word) { return "\"" + printable(word) + "\""; }

// PARM from the first line of the file `path`, under the line rules of every record file.
// Returns false with `what` set when the file cannot be read or its line is too long.
bool read_parm_file(const std::string& path, std::string& parm, std::string& what) {
  if (path == "-") {
    // NOTE: standard input is left to the script and the data files, which read it unbuffered.
    what = "--parm-file needs a file, not standard input";
    return false;
  }
  InFile file;
  std::string reason;
  if (!file.open(path, nullptr, reason)) {
    what = "cannot open the PARM file " + quoted(path) + ": " + reason;
    return false;
  }
  char line[kMaxParm + 1];
  std::size_t stored = 0;
  std::size_t length = 0;
  if (!file.read_record(line, sizeof line, stored, length)) {
    if (file.failed()) {
      what = "cannot read the PARM file " + quoted(path) + ": " + file.error_reason();
      return false;
    }
    parm.clear();  // an empty file: no run options
    return true;
  }
  if (length > kMaxParm) {
    what = "the PARM in " + quoted(path) + " is " + std::to_string(length) +
           " characters long; at most " + std::to_string(kMaxParm) + " are allowed";
    return false;
  }
  parm.assign(line, stored);
  return true;
}

// Two logical files that write bound to one file would overwrite each other's records: refused
// before anything is opened, with a line on `err` naming both options. NOTE: FILE1..FILE6 are
// taken as outputs, since only the run shows which of them are read; the console against an
// input the run reads has its own message.
bool refuse_shared_outputs(const Bindings& b, std::ostream& err) {
  for (int x = 1; x < kFileIds; ++x) {
    for (int y = x + 1; y < kFileIds; ++y) {
      if (!same_file_to_be(b.path[x], b.path[y]))
        continue;
      report_usage_error(err, std::string(binding_option(x)) + " " + b.path[x] + " and " +
                                  binding_option(y) + " " + b.path[y] +
                                  " name one file: FILE1..FILE6, LISTING, FILEDUMP and SYSPRINT "
                                  "each need a file of their own");
      return true;
    }
  }
  return false;
}

}  // namespace

void report_usage_error(std::ostream& err, std::string_view what) {
  err << "kovran: " << what << " (try kovran --help)\n";
}

bool parse_command_line(const std::vector<std::string>& args, Bindings& b, std::string& parm,
                        bool& done, std::ostream& out, std::ostream& err) {
  static constexpr const char* kFileOptions[kFileIds] = {
      "--program", "--file1", "--file2",   "--file3",    "--file4",
      "--file5",   "--file6", "--listing", "--filedump", "--sysprint"};
  const auto refuse = [&err](const std::string& what) {
    report_usage_error(err, what);
    return false;
  };
  bool have_parm = false;
  bool options_ended = false;
  bool sysprint_bound = false;
  std::optional<std::string> parm_file;
  for (std::size_t k = 0; k < args.size(); ++k) {
    const std::string& arg = args[k];
    // NOTE: a lone "-" is taken as the PARM; any other word beginning with "-" is an option.
    if (options_ended || arg.size() < 2 || arg[0] != '-') {
      if (have_parm) {
        return refuse("more than one PARM given (" + quoted(parm) + " and " + quoted(arg) +
                      "); put the run options in one comma-separated word");
      }
      have_parm = true;
      parm = arg;
      continue;
    }
    if (arg == "--") {
      options_ended = true;
      continue;
    }
    if (arg == "--help" || arg == "-h") {
      out << kUsage;
      done = true;
      return true;
    }
    if (arg == "--version" || arg == "-V") {
      out << "kovran " << kVersion << " (build " << kBuildStamp << ")\n";
      done = true;
      return true;
    }
    if (arg == "--check" || arg == "--verbose") {
      (arg == "--check" ? b.check : b.verbose) = true;
      continue;
    }
    if (arg == "--record-local") {
      b.check = b.record_local = true;
      continue;
    }
    if (arg == "--progress") {
      if (::isatty(STDERR_FILENO) == 1)
        b.progress = &err;
      continue;
    }
    const std::size_t eq = arg.find('=');
    const std::string name = arg.substr(0, eq);
    const bool takes_value =
        name == "--clock" || name == "--parm-file" ||
        std::find(std::begin(kFileOptions), std::end(kFileOptions), name) != std::end(kFileOptions);
    if (!takes_value)
      return refuse("unknown option " + printable(name));
    const char* wanted = name == "--clock" ? " needs a value" : " needs a path";
    std::string value;
    if (eq != std::string::npos) {
      value = arg.substr(eq + 1);
    } else if (k + 1 < args.size()) {
      value = args[++k];
    } else {
      return refuse("option " + name + wanted);
    }
    if (value.empty())
      return refuse("option " + name + wanted);
    for (int id = 0; id < kFileIds; ++id) {
      if (name == kFileOptions[id])
        b.path[id] = value;
    }
    if (name == "--sysprint")
      sysprint_bound = true;
    if (name == "--parm-file") {
      if (parm_file)
        return refuse("more than one --parm-file given");
      parm_file = value;
    }
    if (name == "--clock") {
      Clock c;
      if (!parse_clock(value, c))
        return refuse("--clock wants YYYY-MM-DDTHH:MM:SS, not " + quoted(value));
      b.clock = value;
    }
  }
  if (parm_file) {
    if (have_parm)
      return refuse("PARM given twice: " + quoted(parm) + " and the file of --parm-file");
    std::string what;
    if (!read_parm_file(*parm_file, parm, what))
      return refuse(what);
  }
  if (parm.size() > kMaxParm) {
    return refuse("PARM is " + std::to_string(parm.size()) + " characters long; at most " +
                  std::to_string(kMaxParm) + " are allowed");
  }
  b.parm = parm;
  // A pipe through kovran carries only records: the console steps aside to standard error.
  if (!sysprint_bound) {
    for (int id = 1; id <= static_cast<int>(FileId::FILEDUMP); ++id) {
      if (b.path[id] == "-")
        b.sysprint_to_stderr = true;
    }
  }
  return true;
}

bool bindings_usable(const Bindings& b, std::ostream& err) {
  const std::string& sysprint_path = b.path[static_cast<int>(FileId::SYSPRINT)];
  for (int n = 0; n <= 6; ++n) {  // the console is created first: it must not be an input
    if (same_regular_file(sysprint_path, b.path[n])) {
      report_usage_error(err, "SYSPRINT (" + sysprint_path + ") is the file of " + logical_name(n) +
                                  ", which a run reads; writing it would destroy it");
      return false;
    }
  }
  return !refuse_shared_outputs(b, err);
}

}  // namespace kovran
