// driver/testing.h - the one fixture of the unit tests: a run state whose console is captured,
// with statements compiled into it; a scratch folder; whole runs in one; and the status a step
// ends the run with. The fuzz targets use it too.
#ifndef KOVRAN_DRIVER_TESTING_H_
#define KOVRAN_DRIVER_TESTING_H_

#include <stdlib.h>

#include <cstddef>
#include <filesystem>
#include <fstream>
#include <initializer_list>
#include <optional>
#include <ostream>
#include <sstream>
#include <string>
#include <string_view>
#include <system_error>
#include <vector>

#include "compiler/compiler.h"
#include "conditions/conditions.h"
#include "driver/diagnostics.h"
#include "driver/exit_status.h"
#include "driver/kovran.h"
#include "driver/run_state.h"
#include "tables/tables.h"

namespace kovran {

// A test prints an exit status as its number.
inline void PrintTo(ExitStatus status, std::ostream* os) { *os << exit_code(status); }

// Runs `step`; the status it ended the run with, nothing when it returned.
template <typename Step>
std::optional<ExitStatus> ended_with(Step&& step) {
  try {
    step();
  } catch (const RunEnded& ended) {
    return ended.status;
  }
  return std::nullopt;
}

// A scratch folder, removed with everything in it at the end. made() is false when none could
// be made.
class ScratchDir {
 public:
  // In memory (/dev/shm) when `in_memory` and the system has it: on a disk's file system a
  // fuzzer's every run would wait for the truncation and write-back of the files it rewrites.
  explicit ScratchDir(bool in_memory = false) {
    const std::filesystem::path temp = std::filesystem::temp_directory_path();
    for (const std::filesystem::path& where : {std::filesystem::path("/dev/shm"), temp}) {
      if (where != temp && !in_memory)
        continue;
      std::string pattern = (where / "kovran-test.XXXXXX").string();
      if (::mkdtemp(pattern.data()) != nullptr) {
        path_ = pattern;
        return;
      }
    }
  }
  ~ScratchDir() {
    std::error_code ec;
    if (made())
      std::filesystem::remove_all(path_, ec);
  }
  ScratchDir(const ScratchDir&) = delete;
  ScratchDir& operator=(const ScratchDir&) = delete;

  bool made() const { return !path_.empty(); }
  std::string root() const { return path_.string(); }
  std::string path(std::string_view name) const { return (path_ / name).string(); }
  void write(std::string_view name, std::string_view bytes) const {
    std::ofstream f(path(name), std::ios::binary | std::ios::trunc);
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

// Bindings of every logical file into `dir`.
inline Bindings bindings_in(const ScratchDir& dir) {
  Bindings b;
  for (int id = 0; id < kFileIds; ++id) b.path[id] = dir.path(logical_name(id));
  return b;
}

// A run state whose SYSPRINT goes to `console`, and statements compiled into it as the script
// reader compiles them.
class TestRun {
 public:
  explicit TestRun(Bindings b = Bindings{}) : rs(std::move(b)) {
    std::string reason;
    rs.sysprint_file.open("-", &console, reason);
  }
  // Every logical file in `dir`, which must outlive the run state.
  explicit TestRun(const ScratchDir& dir) : TestRun(bindings_in(dir)) {}
  // `script` and "U STOP HERE" after it compiled, then linked by the logic pass, as in a run.
  explicit TestRun(std::initializer_list<std::string_view> script) : TestRun() {
    compile(script);
    compile({"U STOP HERE"});
    LOGIC(rs);
  }

  std::ostringstream console;  // before rs: the console writes into it to the end
  RunState rs;

  // Each statement into a node of its own; the last one is the current node.
  void compile(std::initializer_list<std::string_view> statements) {
    for (const std::string_view s : statements) {
      ALLOC_RTN(rs);
      PARSE(rs, s);
    }
  }
  // Compiles `statement` and runs `routine` on its node; the status that ended the run, if any.
  std::optional<ExitStatus> execute(std::string_view statement, void (*routine)(RunState&)) {
    compile({statement});
    return ended_with([&] { routine(rs); });
  }
  // Dispatches IF node `iln` as the loop does; where the walk goes next.
  Node* run_if(int iln) {
    rs.current_node = node(iln);
    IF_RTN(rs);
    return rs.current_node->next;
  }
  // The node numbered `iln`, or nullptr.
  Node* node(int iln) {
    const auto k = static_cast<std::size_t>(iln - 1);
    return iln >= 1 && k < rs.nodes.size() ? &rs.nodes[k] : nullptr;
  }
  // Entry statements as written in the script, quotes included, loaded as the reader loads them.
  void entries(const std::vector<std::string>& statements) {
    for (const std::string& text : statements) {
      rs.BLOCK = text;
      ALLOC_TABLE(rs);
      LOAD_TABLE(rs);
    }
  }
  // The entry texts along the list.
  std::vector<std::string> entry_texts() const {
    std::vector<std::string> out;
    for (const TableEntry* e = rs.first_entry; e != nullptr; e = e->next)
      out.push_back(e->TABLENTRY.str());
    return out;
  }
  // Everything printed so far, with the current line ended.
  std::string printed() {
    rs.sysprint.new_line();
    return console.str();
  }
  // How many statement-error reports printed so far name word n.
  int reports_of_word(int n) {
    const std::string text = printed();
    const std::string tag = "\",FIELD  " + std::to_string(n) + " ";
    int count = 0;
    for (std::size_t at = text.find(tag); at != std::string::npos; at = text.find(tag, at + 1))
      ++count;
    return count;
  }
};

// Writes `text` into an area from column `column` (from 1) on.
template <std::size_t N>
void put(Area<N>& area, std::size_t column, std::string_view text) {
  for (std::size_t k = 0; k < text.size(); ++k) area[column - 1 + k] = text[k];
}

// Columns `from` to `to` of an area.
template <std::size_t N>
std::string columns(const Area<N>& area, std::size_t from, std::size_t to) {
  return std::string(area.view().substr(from - 1, to - from + 1));
}

// A whole run as the process sees it.
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

}  // namespace kovran

#endif  // KOVRAN_DRIVER_TESTING_H_
