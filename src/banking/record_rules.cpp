#include "banking/record_rules.hpp"

namespace verilote {

void ApplyCodeRules(std::span<const CodeRule> rules, std::string_view rec, std::string& codes) {
  for (const CodeRule& rule : rules)
    if (!rule.passes(rec)) codes += rule.code;
}

}  // namespace verilote
