// driver/command_line.cc - the command line: options binding the logical files, --clock,
// --progress, --check, --verbose, --help, --version, and the one PARM word.
#include "driver/command_line.h"

#include <unistd.h>

#include <algorithm>
#include <iostream>
#include <iterator>
#include <string>

#include "driver/clock.h"
#include "driver/kovran.h"
#include "driver/run_state.h"

namespace kovran {
namespace {

constexpr std::size_t kMaxParm = 100;

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
    "  --check                      read and check the script as a run would, run nothing:\n"
    "                               each finding as PATH:LINE: warning|error: ... on standard\n"
    "                               error; status 0 none, 4 findings, 12 unreadable script\n"
    "                               or bad PARM, 16 bad command line\n"
    "  --verbose                    also list each statement number with its script line on\n"
    "                               standard error (ERROR IN LINE n names statement n)\n"
    "  --help                       show this text and stop\n"
    "  --version                    show the version and the build stamp and stop\n"
    "  --                           what follows is the PARM, even if it begins with -\n"
    "\n"
    "Exit status: 0 normal end; 4 normal end after a diagnostic (a statement error, a bad\n"
    "instruction, a warning); 12 the run was ended by an error (loop limit, conversion,\n"
    "a bad option word, a file that cannot be opened, read or written); 16 unusable\n"
    "command line (unknown option, missing path, PARM over 100 characters), nothing run;\n"
    "128+n ended by signal n (130 SIGINT, 143 SIGTERM, 141 an output pipe was closed).\n";

}  // namespace

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
    if (arg == "--check" || arg == "--verbose") {
      (arg == "--check" ? b.check : b.verbose) = true;
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

}  // namespace kovran
