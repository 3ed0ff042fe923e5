// verilote-cli's main called in this process: its exit status and what it
// wrote on each stream.
#pragma once

#include <sstream>
#include <string>
#include <string_view>
#include <vector>

#include "cli/cli.hpp"

namespace verilote::testing {

struct CliRun {
  int status;
  std::string out, err;
};

inline CliRun Cli(const std::vector<std::string>& args, Terminals terminals = {}) {
  const std::vector<std::string_view> views(args.begin(), args.end());
  std::ostringstream out, err;
  const int status = CliMain(views, out, err, terminals);
  return {status, out.str(), err.str()};
}

}  // namespace verilote::testing
