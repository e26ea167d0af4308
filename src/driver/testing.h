// driver/testing.h - helpers shared by the unit tests: a run state whose console is captured,
// statements compiled into it, and whole runs in a scratch directory.
#ifndef KOVRAN_DRIVER_TESTING_H_
#define KOVRAN_DRIVER_TESTING_H_

#include <stdlib.h>
#include <unistd.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <initializer_list>
#include <sstream>
#include <string>
#include <string_view>
#include <vector>

#include "compiler/compiler.h"
#include "driver/kovran.h"
#include "driver/run_state.h"

namespace kovran {
namespace testing {

// A run state whose SYSPRINT goes to `console`.
struct TestRun {
  std::ostringstream console;
  RunState rs;
  explicit TestRun(Bindings b = Bindings{}) : rs(std::move(b)) {
    std::string reason;
    rs.sysprint_file.open("-", &console, reason);
  }
  // Everything printed so far, with the current line ended.
  std::string printed() {
    rs.sysprint.new_line();
    return console.str();
  }
};

// Compiles each statement into its own node, as the run driver does.
inline void compile(RunState& rs, std::initializer_list<std::string_view> statements) {
  for (const std::string_view s : statements) {
    ALLOC_RTN(rs);
    PARSE(rs, s);
  }
}

// The node numbered iln (1-based), or nullptr.
inline Node* node_at(RunState& rs, int iln) {
  for (Node& n : rs.nodes) {
    if (n.ILN == iln)
      return &n;
  }
  return nullptr;
}

// Bindings of every data file into `dir` (declared below).
class ScratchDir;
Bindings bindings_in(const ScratchDir& dir);

// A scratch directory, removed with everything in it at the end of the test.
class ScratchDir {
 public:
  ScratchDir() {
    std::string pattern = (std::filesystem::temp_directory_path() / "kovran-test.XXXXXX").string();
    if (::mkdtemp(pattern.data()) != nullptr)
      path_ = pattern;
  }
  ~ScratchDir() {
    std::error_code ec;
    std::filesystem::remove_all(path_, ec);
  }
  ScratchDir(const ScratchDir&) = delete;
  ScratchDir& operator=(const ScratchDir&) = delete;

  std::string path(std::string_view name) const { return (path_ / name).string(); }
  void write(std::string_view name, std::string_view bytes) const {
    std::ofstream f(path(name), std::ios::binary);
    f.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
  }
  std::string read(std::string_view name) const {
    std::ifstream f(path(name), std::ios::binary);
    std::ostringstream s;
    s << f.rdbuf();
    return s.str();
  }
  bool exists(std::string_view name) const { return std::filesystem::exists(path(name)); }

 private:
  std::filesystem::path path_;
};

inline Bindings bindings_in(const ScratchDir& dir) {
  Bindings b;
  for (int id = 0; id < kFileIds; ++id) b.path[id] = dir.path(logical_name(id));
  return b;
}

struct RunResult {
  int status = 0;
  std::string sysprint;
  std::string stderr_text;
  // SYSPRINT without its banner line.
  std::string body() const { return sysprint.substr(sysprint.find('\n') + 1); }
};

// The two end-of-run lines of a run under the fixed clock, with its counts.
inline std::string end_lines(int c1, int c2 = 0, int c3 = 0, int c4 = 0, int c5 = 0, int c6 = 0,
                             int cl = 0) {
  std::string out = "Elapsed time=  0 sec      12/08/26        10:00.00\n";
  const int counts[6] = {c1, c2, c3, c4, c5, c6};
  for (int k = 0; k < 6; ++k) {
    out += (k == 0 ? "F" : "  F") + std::to_string(k + 1) + "  " + std::to_string(counts[k]);
  }
  return out + "  List   " + std::to_string(cl) + "\n";
}

// Runs kovran with every logical name bound into `dir`, a fixed clock and `parm`.
inline RunResult run_in(const ScratchDir& dir, const std::string& parm,
                        std::vector<std::string> extra = {}, const std::string& stdin_text = "") {
  std::vector<std::string> args = {"--clock", "2026-12-08T10:00:00"};
  for (int id = 0; id < static_cast<int>(FileId::SYSPRINT); ++id) {
    args.push_back(binding_option(id));
    args.push_back(dir.path(logical_name(id)));
  }
  args.insert(args.end(), extra.begin(), extra.end());
  if (!parm.empty())
    args.push_back(parm);
  std::istringstream in(stdin_text);
  std::ostringstream out;
  std::ostringstream err;
  RunResult r;
  r.status = run_kovran(args, in, out, err);
  r.sysprint = out.str();
  r.stderr_text = err.str();
  return r;
}

}  // namespace testing
}  // namespace kovran

#endif  // KOVRAN_DRIVER_TESTING_H_
