#include <iostream>
#include <string_view>
#include <vector>

#include "cli/cli.hpp"

int main(int argc, char** argv) {
  std::ios::sync_with_stdio(false);
  verilote::RemoveWorkFilesOnSignals();
  const std::vector<std::string_view> args(argv + 1, argv + argc);
  return verilote::CliMain(args, std::cout, std::cerr);
}
