#include "support/field_checks.hpp"

#include <algorithm>
#include <compare>
#include <string_view>

#include "app/report.hpp"
#include "cli/check.hpp"

namespace verilote::testing {

void FindingHost::ReportFinding(const Finding& finding) {
  findings.push_back(
      {std::string(finding.line), finding.record, std::string(finding.rec), finding.kind, std::string(finding.fields)});
  FakeHost::ReportFinding(finding);
}

namespace {

// A code's place in its record's numbering: the field's number and the
// letter the bank adds to a field it slipped in later ("13A.1" after
// "13.1"). A kind numbers its fields on the side of the dot that changes
// ("01.3P", "02.3P"; "A.01", "A.02"); a code of positions ("34-35", "33")
// is placed by its first position.
struct CodeKey {
  std::size_t number = 0;
  std::string letters;
  auto operator<=>(const CodeKey&) const = default;
};

CodeKey KeyOf(std::string_view code, bool numberAfterDot) {
  if (numberAfterDot) code.remove_prefix(code.find('.') + 1);
  CodeKey key;
  std::size_t at = 0;
  for (; at < code.size() && code[at] >= '0' && code[at] <= '9'; ++at) key.number = key.number * 10 + (code[at] - '0');
  for (; at < code.size() && code[at] != '.' && code[at] != '-'; ++at) key.letters += code[at];
  return key;
}

// True when the kind's codes share what comes before the dot ("A.", "0.").
bool NumbersAfterTheDot(const RecordKind& kind) {
  std::string_view first;
  for (const FieldSpec& field : kind.fields) {
    const std::size_t dot = field.code.find('.');
    if (dot == std::string_view::npos) return false;
    if (first.empty()) first = field.code.substr(0, dot);
    if (field.code.substr(0, dot) != first) return false;
  }
  return kind.fields.size() > 1;
}

}  // namespace

std::vector<std::string> DictionaryFaults(const LayoutFields& layout, std::size_t recordLength, bool orLonger) {
  std::vector<std::string> faults;
  for (const RecordKind* kind : layout.kinds) {
    const bool afterDot = NumbersAfterTheDot(*kind);
    const FieldSpec* previous = nullptr;
    std::size_t next = 1;  // the first position no field has covered yet
    for (const FieldSpec& field : kind->fields) {
      const std::string where = Cat(layout.layout, " ", kind->name, " ", field.code, " ", field.from, "-", field.to);
      if (field.from < 1 || field.to < field.from || (field.to > recordLength && !orLonger))
        faults.push_back(where + " out of the record");
      if (field.from > next && next <= recordLength)
        faults.push_back(Cat(where, " leaves ", next, "-", field.from - 1, " unnamed"));
      if (previous != nullptr && field.from <= previous->to)
        faults.push_back(Cat(where, " overlaps ", previous->code, " ", previous->from, "-", previous->to));
      if (field.name.empty() || field.code.empty()) faults.push_back(where + " has no name or no code");
      if (previous != nullptr && !field.code.empty() &&
          !(KeyOf(previous->code, afterDot) < KeyOf(field.code, afterDot)))
        faults.push_back(Cat(where, " does not follow ", previous->code));
      const bool byPositions = !field.code.empty() && !field.code.starts_with('0') &&
                               field.code.find_first_not_of("0123456789-") == std::string_view::npos;
      if (byPositions && field.code != (field.from == field.to ? Cat(field.from) : Cat(field.from, "-", field.to)))
        faults.push_back(where + " is coded by other positions");
      previous = &field;
      next = std::max(next, field.to + 1);
    }
    if (next <= recordLength)
      faults.push_back(Cat(layout.layout, " ", kind->name, " leaves ", next, "-", recordLength, " unnamed"));
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
