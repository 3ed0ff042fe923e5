// Field checks of the SIACC and SIEMD validators beyond the common ones: the
// mutation test kept to mutations that leave a record's kind, and the
// examples' finding lines.
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

// Runs `handler` on the file at `path` and returns the report lines that
// begin as a finding about a record (`prefixes`) yet were not written as a
// finding naming its record and a field of its kind.
inline std::vector<std::string> UnnamedFindingLines(Handler handler, const std::string& path,
                                                    const std::vector<std::string>& prefixes) {
  FindingHost host;
  host.files = {path};
  RunCommand(handler, host);
  std::vector<std::string> faults;
  for (const std::string& line : host.report) {
    if (std::none_of(prefixes.begin(), prefixes.end(), [&](const std::string& p) { return line.starts_with(p); }))
      continue;
    const auto named = std::find_if(host.findings.begin(), host.findings.end(), [&](const SeenFinding& f) {
      if (f.line != line || f.record == 0) return false;
      const std::vector<ResolvedField> fields = ResolveFields({f.line, f.record, f.rec, f.kind, f.fields});
      return std::any_of(fields.begin(), fields.end(), [](const ResolvedField& r) { return r.known; });
    });
    if (named == host.findings.end()) faults.push_back(line);
  }
  return faults;
}

}  // namespace verilote::testing
