// Tables of values put one at a time into a clean file: a code table that
// lost or mistyped a value, or a range off by one, fails its row by name.
#pragma once

#include <algorithm>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "app/command_table.hpp"
#include "app/report.hpp"
#include "support/field_checks.hpp"

namespace verilote::testing {

inline const std::string kCpf = "00052998224725", kCnpj = "11222333000181";
inline const std::vector<std::string> kMonths = {"01", "02", "03", "04", "05", "06",
                                                 "07", "08", "09", "10", "11", "12"};

inline std::string Pad(std::string_view text, std::size_t width) {
  return std::string(text).append(width - text.size(), ' ');
}

struct Put1 {
  std::size_t record, pos;  // 1-based, in the clean file's records
  std::string value;
};

inline void PutInto(std::vector<std::string>& records, const Put1& put) {
  std::string& rec = records.at(put.record - 1);
  if (rec.size() < put.pos - 1 + put.value.size()) rec.resize(put.pos - 1 + put.value.size(), ' ');
  rec.replace(put.pos - 1, put.value.size(), put.value);
}

inline FindingHost RunWith(Handler handler, std::vector<std::string> records, const std::vector<Put1>& puts,
                           CivilDate today = {2026, 12, 6}) {
  for (const Put1& put : puts) PutInto(records, put);
  TempFile file(CrLfFile(records));
  FindingHost host;
  host.today = today;
  host.files = {file.path()};
  RunCommand(handler, host);
  return host;
}

inline std::vector<std::string> FindingLines(Handler handler, const std::vector<std::string>& records,
                                             const std::vector<Put1>& puts, CivilDate today = {2026, 12, 6}) {
  std::vector<std::string> lines;
  for (const SeenFinding& f : RunWith(handler, records, puts, today).findings) lines.push_back(f.line);
  return lines;
}

// A field's allowed values, as the layout lists them; `with` sets what they depend on.
struct AllowedValues {
  std::string field;  // the layout's field and positions, for the failure message
  std::size_t record, pos;
  std::vector<std::string> values;
  std::vector<Put1> with = {};
  Handler handler = nullptr;  // the table's handler unless set
};

// "field 'value': finding" for every finding of a file with one allowed
// value, and "clean file: finding" for those of the clean file itself.
inline std::vector<std::string> AllowedValueFindings(Handler handler, const std::vector<std::string>& clean,
                                                     const std::vector<AllowedValues>& rows) {
  std::vector<std::string> out;
  for (const std::string& line : FindingLines(handler, clean, {})) out.push_back("clean file: " + line);
  for (const AllowedValues& row : rows) {
    for (const std::string& value : row.values) {
      std::vector<Put1> puts = row.with;
      puts.push_back({row.record, row.pos, value});
      for (const std::string& line : FindingLines(row.handler ? row.handler : handler, clean, puts))
        out.push_back(Cat(row.field, " '", value, "': ", line));
    }
  }
  return out;
}

// A report line as a table writes it: a std::string, a _cp literal or a plain literal.
struct LineText : std::string {
  LineText(std::string_view text) : std::string(text) {}
  LineText(const char* text) : std::string(text) {}
  LineText(std::string text) : std::string(std::move(text)) {}
};

// The last value a limit accepts draws no finding; the first it refuses, `finding`.
struct Limit {
  std::string field;
  std::size_t record, pos;
  std::string lastAccepted, firstRefused;
  LineText finding;
  std::vector<Put1> with = {};
};

// "field 'value': finding" (or "no finding") for each value judged otherwise.
inline std::vector<std::string> LimitFaults(Handler handler, const std::vector<std::string>& clean,
                                            const std::vector<Limit>& limits, CivilDate today = {2026, 12, 6}) {
  std::vector<std::string> out;
  for (const Limit& limit : limits) {
    for (const bool refused : {false, true}) {
      std::vector<Put1> puts = limit.with;
      puts.push_back({limit.record, limit.pos, refused ? limit.firstRefused : limit.lastAccepted});
      const std::vector<std::string> lines = FindingLines(handler, clean, puts, today);
      if (lines == (refused ? std::vector<std::string>{std::string(limit.finding)} : std::vector<std::string>{}))
        continue;
      for (const std::string& line : lines.empty() ? std::vector<std::string>{"no finding"} : lines)
        out.push_back(Cat(limit.field, " '", puts.back().value, "': ", line));
    }
  }
  return out;
}

inline std::vector<std::string> Records(const std::string& bytes) {
  std::vector<std::string> records;
  for (std::size_t start = 0; start < bytes.size();) {
    const std::size_t end = std::min(bytes.find("\r\n", start), bytes.size());
    records.push_back(bytes.substr(start, end - start));
    start = end + 2;
  }
  return records;
}

// The records (CR LF lines) of a file under examples/.
inline std::vector<std::string> ExampleRecords(std::string_view name) {
  return Records(ReadBytes(Cat(VERILOTE_SOURCE_DIR "/examples/", name)));
}

}  // namespace verilote::testing
