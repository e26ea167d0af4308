// records/overwrite.cc - an output must not be the file a run reads, nor another output's.
#include <sys/stat.h>

#include <string>

#include "driver/diagnostics.h"
#include "records/records.h"

namespace kovran {
namespace {

// A path's directory and last name ("." for a bare name).
std::string directory_of(const std::string& path) {
  const std::size_t slash = path.rfind('/');
  if (slash == std::string::npos)
    return ".";
  return slash == 0 ? "/" : path.substr(0, slash);
}

std::string name_of(const std::string& path) { return path.substr(path.rfind('/') + 1); }

bool same_inode(const struct stat& a, const struct stat& b) {
  return a.st_dev == b.st_dev && a.st_ino == b.st_ino;
}

}  // namespace

bool same_regular_file(const std::string& a, const std::string& b) {
  if (a == "-" || b == "-")
    return false;
  struct stat sa {};
  struct stat sb {};
  return ::stat(a.c_str(), &sa) == 0 && ::stat(b.c_str(), &sb) == 0 && S_ISREG(sa.st_mode) &&
         same_inode(sa, sb);
}

bool same_file_to_be(const std::string& a, const std::string& b) {
  if (a == "-" || b == "-")
    return false;
  struct stat sa {};
  struct stat sb {};
  const bool a_exists = ::stat(a.c_str(), &sa) == 0;
  const bool b_exists = ::stat(b.c_str(), &sb) == 0;
  if (a_exists || b_exists)
    return a_exists && b_exists && S_ISREG(sa.st_mode) && same_inode(sa, sb);
  // Neither exists yet: one file when both name one entry of one directory.
  const std::string name = name_of(a);
  return !name.empty() && name == name_of(b) && ::stat(directory_of(a).c_str(), &sa) == 0 &&
         ::stat(directory_of(b).c_str(), &sb) == 0 && same_inode(sa, sb);
}

void refuse_overwriting_input(RunState& rs, int id) {
  const std::string& path = rs.bindings.path[id];
  for (int n = 0; n <= 6; ++n) {
    const bool read = n == 0 || rs.in_files[n].is_open();  // PROGRAM: read before the run
    if (n == id || !read || !same_regular_file(path, rs.bindings.path[n]))
      continue;
    raise_error(rs, file_failure(rs, "CANNOT OPEN", id,
                                 std::string("IT IS ") + logical_name(n) + ", READ BY THIS RUN"));
  }
}

}  // namespace kovran
