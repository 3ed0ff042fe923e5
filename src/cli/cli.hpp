// verilote-cli: the headless runner over the window's command table.
#pragma once

#include <iosfwd>
#include <optional>
#include <span>
#include <string>
#include <string_view>

#include "app/host.hpp"
#include "cli/terminal.hpp"

namespace verilote {

// Exit statuses, as --help documents them.
enum ExitStatus { kExitClean = 0, kExitFaulty = 1, kExitUsage = 2, kExitAborted = 3 };

// Runs the command line `args` (without the program name), writing the report
// to `out` and messages and errors to `err`, each with its control bytes
// marked when `terminals` says it is a terminal. Returns the exit status.
int CliMain(std::span<const std::string_view> args, std::ostream& out, std::ostream& err, Terminals terminals = {});

// Helpers shared by the subcommands.
int Usage(std::ostream& err, std::string_view problem);
// The value of `option` (args[i], "--name"), given as "--name=value" or as
// the next argument (then i moves past it); `option` keeps "--name" alone.
// Nothing when the option is the last argument and has no "=".
std::optional<std::string> TakeOptionValue(std::span<const std::string_view> args, std::size_t& i,
                                           std::string_view& option);
std::optional<CivilDate> ParseToday(std::string_view text);
// The same file, whatever names or links lead to it.
bool SameFile(const std::string& a, const std::string& b);

// A file name as the system gives it, as UTF-8: unchanged when it is valid
// UTF-8, else read as Windows-1252.
std::string PathText(std::string_view path);
// Windows-1252 text (a report line, a message, an error) as UTF-8 for the
// terminal. The file names in `names` came from the command line or the
// system, already in its encoding: where the text quotes one it passes as
// PathText gives it, not converted a second time.
std::string TerminalText(std::string_view cp1252, std::span<const std::string> names);

// A run interrupted by SIGINT, SIGTERM or SIGHUP (on Windows: Ctrl+C, Ctrl+Break
// or the console closing) removes its work files before it ends.
void RemoveWorkFilesOnSignals();

}  // namespace verilote
