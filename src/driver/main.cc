// driver/main.cc - the kovran executable.
#include <fcntl.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <iostream>
#include <new>
#include <string>
#include <vector>

#include "driver/exit_status.h"
#include "driver/kovran.h"

namespace {

constexpr int kStatusError = kovran::exit_code(kovran::ExitStatus::kError);
constexpr std::size_t kReserve = 64 * 1024;

// NOTE: memory held back from the start and given back when an allocation first fails, so the
// failure can still be thrown (the exception needs memory of its own) and the run can end in
// order with its files closed. The new handler can reach nothing but this.
void* reserve = nullptr;

void release_reserve() {
  std::free(reserve);
  reserve = nullptr;
  std::set_new_handler(nullptr);  // the allocation is tried again; a second failure throws
}

// A standard descriptor the caller left closed is opened on /dev/null before any file of the
// run can take its number and receive the console's text (or feed the script's input).
bool open_standard_descriptors() {
  for (int fd = 0; fd <= 2; ++fd) {
    if (::fcntl(fd, F_GETFD) == -1 && errno == EBADF && ::open("/dev/null", O_RDWR) != fd)
      return false;
  }
  return true;
}

int out_of_memory() {
  std::fputs("kovran: out of memory before the run could start\n", stderr);
  return kStatusError;
}

}  // namespace

int main(int argc, char** argv) {
  if (!open_standard_descriptors()) {
    std::fputs("kovran: cannot open /dev/null for a closed standard descriptor\n", stderr);
    return kStatusError;
  }
  reserve = std::malloc(kReserve);
  if (reserve == nullptr)
    return out_of_memory();
  std::set_new_handler(release_reserve);
  try {
    std::ios::sync_with_stdio(false);
    const std::vector<std::string> args(argv + 1, argv + argc);
    return kovran::run_kovran(args, std::cin, std::cout, std::cerr);
  } catch (const std::bad_alloc&) {
    return out_of_memory();  // a run ends its own out-of-memory condition: this is the start
  }
}
