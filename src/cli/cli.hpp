// verilote-cli: the headless runner over the window's command table.
#pragma once

#include <iosfwd>
#include <span>
#include <string_view>

namespace verilote {

// Exit statuses, as --help documents them.
enum ExitStatus { kExitClean = 0, kExitFaulty = 1, kExitUsage = 2, kExitAborted = 3 };

// Runs the command line `args` (without the program name), writing the report
// to `out` and messages and errors to `err`. Returns the exit status.
int CliMain(std::span<const std::string_view> args, std::ostream& out, std::ostream& err);

// A run interrupted by SIGINT, SIGTERM or SIGHUP (on Windows: Ctrl+C, Ctrl+Break
// or the console closing) removes its work files before it ends.
void RemoveWorkFilesOnSignals();

}  // namespace verilote
