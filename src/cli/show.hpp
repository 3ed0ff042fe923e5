// verilote-cli show: one record of a file, field by field through its
// layout's field dictionary, with the fields the validator's findings name.
#pragma once

#include <iosfwd>
#include <span>
#include <string_view>

namespace verilote {

// `args` are the arguments after "show". Returns the exit status.
int ShowMain(std::span<const std::string_view> args, std::ostream& out, std::ostream& err);

}  // namespace verilote
