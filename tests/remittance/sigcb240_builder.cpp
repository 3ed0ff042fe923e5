#include "remittance/sigcb240_builder.hpp"

#include <algorithm>
#include <initializer_list>
#include <string>
#include <utility>

#include "app/cp1252.hpp"
#include "app/record_reader.hpp"
#include "app/report.hpp"

namespace verilote::testing {

namespace {

std::string Digits(std::size_t value, std::size_t width) {
  const std::string text = std::to_string(value);
  return std::string(width - text.size(), '0') + text;
}

}  // namespace

void Put(std::string& rec, std::size_t pos, std::string_view value) {
  if (rec.size() < pos - 1 + value.size()) rec.resize(pos - 1 + value.size(), ' ');
  rec.replace(pos - 1, value.size(), value);
}

std::string SigcbP(std::string_view layout) { return CleanSigcbFile(layout).lotes[0][0]; }

std::string SigcbQ() { return CleanSigcbFile().lotes[0][1]; }

std::vector<std::string> SigcbFile::Lines() const {
  std::vector<std::string> lines{header};
  for (std::size_t i = 0; i < lotes.size(); ++i) {
    const std::string lote = Digits(i + 1, 4);
    lines.push_back(loteHeaders[i % loteHeaders.size()]);
    Put(lines.back(), 4, lote);
    std::size_t sequence = 0;
    for (std::string detail : lotes[i]) {
      Put(detail, 4, lote);
      Put(detail, 9, Digits(++sequence, 5));
      lines.push_back(detail);
    }
    std::string trailer =
        "104" + lote + "5" + std::string(9, ' ') + Digits(lotes[i].size() + 2, 6) + std::string(69, '0');
    lines.push_back(trailer.append(240 - trailer.size(), ' '));
  }
  std::string trailer = "10499999" + std::string(9, ' ') + Digits(lotes.size(), 6) + Digits(lines.size() + 1, 6);
  lines.push_back(trailer.append(240 - trailer.size(), ' '));
  return lines;
}

// The example remessa_sigcb240_ok.rem is the file of layout 101. Layout 107
// writes a seven-digit cedente (header 59-72, lote header 34-53, P 24-39),
// version 107 in the header and 067 in the lote header, and no field 14.1.
SigcbFile CleanSigcbFile(std::string_view layout) {
  RecordReader reader(VERILOTE_SOURCE_DIR "/examples/sigcb240/remessa_sigcb240_ok.rem");
  std::vector<std::string> records;
  for (std::string rec; reader.Next(rec);) records.push_back(rec);
  SigcbFile file{records[0], {records[1], records[10]}, {}};
  file.lotes = {{records.begin() + 2, records.begin() + 9}, {records.begin() + 11, records.begin() + 16}};
  if (layout == "107") {
    const std::string cedente = "1234567";
    Put(file.header, 59, cedente);
    Put(file.header, 164, "107");
    for (std::string& lote : file.loteHeaders) {
      Put(lote, 14, "067");
      Put(lote, 34, cedente);
      Put(lote, 60, "000000");
    }
    for (auto& details : file.lotes)
      for (std::string& detail : details)
        if (detail[13] == 'P') Put(detail, 24, cedente);
  }
  return file;
}

Validation Validate(Handler handler, const std::vector<std::string>& lines, CivilDate today) {
  const TempFile file(CrLfFile(lines), ".rem");
  Validation v{};
  v.host.today = today;
  v.host.files.push_back(file.path());
  const Outcome outcome = RunCommand(handler, v.host);
  v.status = outcome.status;
  v.error = FirstLine(outcome.message);
  v.report = v.host.report;
  for (std::string& line : v.report)
    if (const std::size_t at = line.find(file.path()); at != std::string::npos)
      line.replace(at, file.path().size(), "FILE");
  return v;
}

ReportChanges Changes(const std::vector<std::string>& before, const std::vector<std::string>& after) {
  const std::size_t n = before.size(), m = after.size();
  // common[i][j]: length of the longest common subsequence of before[i..] and after[j..].
  std::vector<std::vector<std::size_t>> common(n + 1, std::vector<std::size_t>(m + 1, 0));
  for (std::size_t i = n; i-- > 0;)
    for (std::size_t j = m; j-- > 0;)
      common[i][j] = before[i] == after[j] ? common[i + 1][j + 1] + 1 : std::max(common[i + 1][j], common[i][j + 1]);
  ReportChanges changes;
  std::size_t i = 0, j = 0;
  while (i < n || j < m) {
    if (i < n && j < m && before[i] == after[j]) {
      ++i;
      ++j;
    } else if (j == m || (i < n && common[i + 1][j] >= common[i][j + 1])) {
      changes.removed.push_back(before[i++]);
    } else {
      changes.added.push_back(after[j++]);
    }
  }
  return changes;
}

}  // namespace verilote::testing
