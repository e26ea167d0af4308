// driver/main.cc - the kovran executable.
#include <iostream>
#include <string>
#include <vector>

#include "driver/kovran.h"

int main(int argc, char** argv) {
  std::ios::sync_with_stdio(false);
  const std::vector<std::string> args(argv + 1, argv + argc);
  return kovran::run_kovran(args, std::cin, std::cout, std::cerr);
}
