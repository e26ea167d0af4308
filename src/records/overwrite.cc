// records/overwrite.cc - an output must not be the file a run reads.
#include <sys/stat.h>

#include <string>

#include "driver/diagnostics.h"
#include "records/records.h"

namespace kovran {

bool same_regular_file(const std::string& a, const std::string& b) {
  if (a == "-" || b == "-")
    return false;
  struct stat sa {};
  struct stat sb {};
  return ::stat(a.c_str(), &sa) == 0 && ::stat(b.c_str(), &sb) == 0 && S_ISREG(sa.st_mode) &&
         sa.st_dev == sb.st_dev && sa.st_ino == sb.st_ino;
}

void refuse_overwriting_input(RunState& rs, int id) {
  const std::string& path = rs.bindings.path[id];
  for (int n = 0; n <= 6; ++n) {
    const bool read = n == 0 || rs.in_files[n].is_open();  // PROGRAM: read before the run
    if (n == id || !read || !same_regular_file(path, rs.bindings.path[n]))
      continue;
    raise_error(rs, std::string("CANNOT OPEN ") + logical_name(id) + " (" + path + "): IT IS " +
                        logical_name(n) + ", READ BY THIS RUN");
  }
}

}  // namespace kovran
