#include <iostream>
#include <string>
#include <string_view>
#include <vector>

#include "app/platform.hpp"
#include "cli/cli.hpp"

int main(int argc, char** argv) {
  // First, before any file is opened: a closed stdout must not become the
  // report file, nor stdout's copy of the report go into it.
  verilote::platform::OccupyClosedStandardStreams();
  std::ios::sync_with_stdio(false);
  verilote::platform::UseBinaryStandardStreams();
  verilote::RemoveWorkFilesOnSignals();
  // UTF-8 on every system: on Windows the wide command line, converted.
  const std::vector<std::string> arguments = verilote::platform::Arguments(argc, argv);
  const std::vector<std::string_view> args(arguments.begin() + (arguments.empty() ? 0 : 1), arguments.end());
  const verilote::Terminals terminals{verilote::platform::IsTerminal(1), verilote::platform::IsTerminal(2)};
  return verilote::CliMain(args, std::cout, std::cerr, terminals);
}
