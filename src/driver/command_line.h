// driver/command_line.h - the command line: the file bindings, the clock, PARM.
#ifndef KOVRAN_DRIVER_COMMAND_LINE_H_
#define KOVRAN_DRIVER_COMMAND_LINE_H_

#include <iosfwd>
#include <string>
#include <string_view>
#include <vector>

namespace kovran {

struct Bindings;

// Parses the command line into `b` and `parm`. Returns false (after a message on `err`) when it
// is unusable; sets `done` after --help or --version, whose text goes to `out`.
bool parse_command_line(const std::vector<std::string>& args, Bindings& b, std::string& parm,
                        bool& done, std::ostream& out, std::ostream& err);

// Whether the bindings can be used: the console is no file the run reads, and no two outputs
// are bound to one file. Otherwise tells why on `err`.
bool bindings_usable(const Bindings& b, std::ostream& err);

// Tells on `err`, in one line, why the command line cannot be used, and where help is.
void report_usage_error(std::ostream& err, std::string_view what);

}  // namespace kovran

#endif  // KOVRAN_DRIVER_COMMAND_LINE_H_
