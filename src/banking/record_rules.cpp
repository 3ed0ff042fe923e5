#include "banking/record_rules.hpp"

namespace verilote {

std::string FindingText(const FindingRule& rule, std::string_view rec) {
  std::string text(rule.message);
  if (rule.tail != nullptr) text += rule.tail(rec);
  return text;
}

}  // namespace verilote
