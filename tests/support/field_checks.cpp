#include "support/field_checks.hpp"

#include <algorithm>

#include "app/report.hpp"
#include "cli/check.hpp"

namespace verilote::testing {

void FindingHost::ReportFinding(const Finding& finding) {
  findings.push_back(
      {std::string(finding.line), finding.record, std::string(finding.rec), finding.kind, std::string(finding.fields)});
  FakeHost::ReportFinding(finding);
}

std::vector<std::string> DictionaryFaults(const LayoutFields& layout, std::size_t recordLength) {
  std::vector<std::string> faults;
  for (const RecordKind* kind : layout.kinds) {
    const FieldSpec* previous = nullptr;
    for (const FieldSpec& field : kind->fields) {
      const std::string where = Cat(layout.layout, " ", kind->name, " ", field.code, " ", field.from, "-", field.to);
      if (field.from < 1 || field.to < field.from || field.to > recordLength)
        faults.push_back(where + " out of the record");
      if (previous != nullptr && field.from <= previous->to)
        faults.push_back(Cat(where, " overlaps ", previous->code, " ", previous->from, "-", previous->to));
      if (field.name.empty()) faults.push_back(where + " has no name");
      if (!field.code.empty() && kind->Find(field.code) != &field) faults.push_back(where + " code twice");
      previous = &field;
    }
  }
  return faults;
}

std::vector<SeenFinding> FindingsOf(Handler handler, std::string_view bytes, const std::vector<std::string>& answers) {
  TempFile file(bytes);
  FindingHost host;
  host.files = {file.path()};
  host.answers.assign(answers.begin(), answers.end());
  RunCommand(handler, host);
  return std::move(host.findings);
}

namespace {

bool Covers(const SeenFinding& finding, std::size_t position, std::string& fault) {
  bool covered = false;
  for (std::string_view code : FieldCodes(finding.fields)) {
    const FieldSpec* field = finding.kind != nullptr ? finding.kind->Find(code) : nullptr;
    if (field == nullptr) {
      fault = Cat("code ", code, " not in the dictionary");
      return false;
    }
    covered = covered || (field->from <= position && position <= field->to);
  }
  if (!covered) fault = Cat("names ", finding.fields.empty() ? "no field" : finding.fields);
  return covered;
}

}  // namespace

std::vector<std::string> UncoveredMutations(Handler handler, std::string_view bytes,
                                            const std::vector<std::string>& answers, std::string_view replacements) {
  std::vector<std::string> faults;
  std::uint64_t record = 0;
  for (std::size_t start = 0; start < bytes.size();) {
    const std::size_t end = std::min(bytes.find("\r\n", start), bytes.size());
    ++record;
    for (std::size_t position = 1; position <= end - start; ++position) {
      for (char replacement : replacements) {
        if (bytes[start + position - 1] == replacement) continue;
        std::string broken(bytes);
        broken[start + position - 1] = replacement;
        for (const SeenFinding& finding : FindingsOf(handler, broken, answers)) {
          std::string fault;
          if (finding.record == record && !Covers(finding, position, fault))
            faults.push_back(Cat("record ", record, " position ", position, " '", replacement, "': ", fault, " in \"",
                                 finding.line, "\""));
        }
      }
    }
    start = end + 2;
  }
  return faults;
}

std::vector<std::string> FindingFaults(Handler handler, const std::string& path,
                                       const std::vector<std::string>& answers) {
  FindingHost host;
  host.files = {path};
  host.answers.assign(answers.begin(), answers.end());
  RunCommand(handler, host);
  std::vector<std::string> faults;
  if (host.report.empty()) faults.push_back("no report");
  std::size_t next = 0;  // findings come in the report's order
  for (const std::string& line : host.report) {
    if (!IsFindingLine(line)) continue;
    std::size_t at = next;
    while (at < host.findings.size() && host.findings[at].line != line) ++at;
    if (at == host.findings.size()) {
      faults.push_back("not a finding: " + line);
      continue;
    }
    next = at + 1;
  }
  for (const SeenFinding& finding : host.findings) {
    if (finding.record == 0) continue;  // the file as a whole
    const std::vector<std::string_view> codes = FieldCodes(finding.fields);
    const auto known = [&finding](std::string_view code) {
      return finding.kind != nullptr && finding.kind->Find(code) != nullptr;
    };
    if (codes.empty() || !std::all_of(codes.begin(), codes.end(), known))
      faults.push_back(Cat("names a field its kind lacks, or none: ", finding.line, " [", finding.fields, "]"));
  }
  return faults;
}

}  // namespace verilote::testing
