// The mutation test of a layout's validator, kept to mutations that
// leave a record's kind.
#pragma once

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <string>
#include <vector>

#include "app/command_table.hpp"
#include "app/fields.hpp"
#include "support/field_checks.hpp"

namespace verilote::testing {

// UncoveredMutations, less the faults of a byte that changes the record's
// kind (its type, its segment...): the record is then read as another kind,
// whose findings rightly name that kind's fields.
inline std::vector<std::string> UncoveredSameKind(Handler handler, const LayoutFields& layout, std::string bytes) {
  std::vector<std::string> records;
  for (std::size_t start = 0; start < bytes.size();) {
    const std::size_t end = std::min(bytes.find("\r\n", start), bytes.size());
    records.push_back(bytes.substr(start, end - start));
    start = end + 2;
  }
  std::vector<std::string> faults;
  for (const std::string& fault : UncoveredMutations(handler, bytes)) {
    unsigned long record = 0, position = 0;
    char replacement = 0;
    if (std::sscanf(fault.c_str(), "record %lu position %lu '%c'", &record, &position, &replacement) == 3) {
      std::string rec = records.at(record - 1);
      rec[position - 1] = replacement;
      if (layout.kindOf(rec) != layout.kindOf(records[record - 1])) continue;
    }
    faults.push_back(fault);
  }
  return faults;
}

}  // namespace verilote::testing
