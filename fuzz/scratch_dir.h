// fuzz/scratch_dir.h - a scratch directory for the files fuzzed runs write, made once and
// removed when the fuzzer exits. Empty when none could be made: then nothing is run. It is made
// in memory (/dev/shm) where the system has it: a disk's file system makes every unit wait for
// the truncation and write-back of the files it rewrites.
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
    for (const char* where : {"/dev/shm", "/tmp"}) {
      std::string name = std::string(where) + "/kovran-fuzz-XXXXXX";
      if (mkdtemp(name.data()) != nullptr) {
        path = name;
        return;
      }
    }
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
