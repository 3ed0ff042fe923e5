// verilote-cli check: the layout of each file detected and its validator run,
// with a per-file report as text, JSON or JUnit XML for pipelines.
#pragma once

#include <iosfwd>
#include <span>
#include <string>
#include <string_view>

namespace verilote {

// `args` are the arguments after "check". Returns the exit status.
int CheckMain(std::span<const std::string_view> args, std::ostream& out, std::ostream& err);

// A UTF-8 text as a JSON string, quotes included: quotes, backslashes and
// control bytes escaped.
std::string JsonString(std::string_view utf8);

// A UTF-8 text for XML content or attributes: markup characters as entities;
// control bytes that XML 1.0 cannot carry as U+FFFD.
std::string XmlText(std::string_view utf8);

}  // namespace verilote
