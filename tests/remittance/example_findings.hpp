// The findings of a validator run over a file of examples/: every report line
// that names a record ("Linha", "Registro", "Reg:", "Erro") must have been
// written as a finding, and every finding about a record must name fields,
// all of them known to its kind.
#pragma once

#include <algorithm>
#include <string>
#include <string_view>
#include <vector>

#include "app/command_table.hpp"
#include "app/report.hpp"
#include "support/field_checks.hpp"

namespace verilote::testing {

inline std::vector<std::string> ExampleFindingFaults(Handler handler, std::string_view example,
                                                     const std::vector<std::string>& answers = {}) {
  FindingHost host;
  host.files = {Cat(VERILOTE_SOURCE_DIR, "/examples/", example)};
  host.answers.assign(answers.begin(), answers.end());
  RunCommand(handler, host);
  std::vector<std::string> faults;
  if (host.report.empty()) faults.push_back(Cat(example, ": no report"));
  for (const std::string& line : host.report) {
    const bool namesRecord = line.starts_with("Linha") || line.starts_with("Registro") || line.starts_with("Reg:") ||
                             line.starts_with("Erro");
    const auto same = [&line](const SeenFinding& finding) { return finding.line == line; };
    if (namesRecord && std::none_of(host.findings.begin(), host.findings.end(), same))
      faults.push_back(Cat(example, ": not a finding: ", line));
  }
  for (const SeenFinding& finding : host.findings) {
    if (finding.record == 0) continue;  // the file as a whole
    const std::vector<std::string_view> codes = FieldCodes(finding.fields);
    const auto known = [&finding](std::string_view code) {
      return finding.kind != nullptr && finding.kind->Find(code) != nullptr;
    };
    if (codes.empty() || !std::all_of(codes.begin(), codes.end(), known))
      faults.push_back(
          Cat(example, ": names a field its kind lacks, or none: ", finding.line, " [", finding.fields, "]"));
  }
  return faults;
}

}  // namespace verilote::testing
