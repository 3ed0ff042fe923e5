// verilote-cli retorno: a return file of the bank in words, as text, JSON or
// CSV, optionally tied back to the remittance it answers.
#pragma once

#include <iosfwd>
#include <span>
#include <string_view>

namespace verilote {

// `args` are the arguments after "retorno". Returns the exit status.
int RetornoMain(std::span<const std::string_view> args, std::ostream& out, std::ostream& err);

}  // namespace verilote
