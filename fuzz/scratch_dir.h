// fuzz/scratch_dir.h - a scratch directory for the files fuzzed runs write, made once and
// removed when the fuzzer exits. Empty when none could be made: then nothing is run.
#ifndef KOVRAN_FUZZ_SCRATCH_DIR_H_
#define KOVRAN_FUZZ_SCRATCH_DIR_H_

#include <stdlib.h>

#include <filesystem>
#include <string>
#include <system_error>

namespace kovran_fuzz {

struct Scratch {
  std::string path;
  Scratch() {
    char name[] = "/tmp/kovran-fuzz-XXXXXX";
    if (mkdtemp(name) != nullptr)
      path = name;
  }
  ~Scratch() {
    std::error_code ec;
    if (!path.empty())
      std::filesystem::remove_all(path, ec);
  }
};

inline const std::string& scratch_dir() {
  static const Scratch scratch;
  return scratch.path;
}

}  // namespace kovran_fuzz

#endif  // KOVRAN_FUZZ_SCRATCH_DIR_H_
