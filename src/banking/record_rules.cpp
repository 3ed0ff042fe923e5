#include "banking/record_rules.hpp"

namespace verilote {

void ApplyCodeRules(std::span<const CodeRule> rules, std::string_view rec, std::string& codes) {
  for (const CodeRule& rule : rules)
    if (!rule.passes(rec)) codes += rule.code;
}

std::string FindingText(const FindingRule& rule, std::string_view rec) {
  std::string text(rule.message);
  if (rule.tail != nullptr) text += rule.tail(rec);
  return text;
}

}  // namespace verilote
