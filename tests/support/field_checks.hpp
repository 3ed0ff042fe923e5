// Checks every layout's field dictionary is held to: its fields lie inside the
// record and do not overlap, and the findings its validator writes name the
// fields that hold the fault. The second is tested by mutation: each byte of
// each record of a clean file is broken in turn, and every finding written
// about that record must name a field that covers the broken position.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "app/command_table.hpp"
#include "app/fields.hpp"
#include "support/fake_host.hpp"

namespace verilote::testing {

// A finding as a validator wrote it, kept past the call.
struct SeenFinding {
  std::string line;
  std::uint64_t record = 0;
  std::string rec;
  const RecordKind* kind = nullptr;
  std::string fields;
};

// FakeHost that keeps the findings beside the report.
class FindingHost : public FakeHost {
 public:
  std::vector<SeenFinding> findings;
  void ReportFinding(const Finding& finding) override;
};

// "Segmento P 09.3P 8-9 overlaps 08.3P 7-8"-style faults of a dictionary:
// a position of 1..`recordLength` no field or two fields cover, a field past
// it (unless the records may be longer), a field without a name or a code, a
// code that does not follow the one before it in the kind's numbering, a code
// of positions that are not the field's.
std::vector<std::string> DictionaryFaults(const LayoutFields& layout, std::size_t recordLength, bool orLonger = false);

// Runs `handler` on a file of `bytes` with `answers` for its input boxes and
// returns the findings it wrote.
std::vector<SeenFinding> FindingsOf(Handler handler, std::string_view bytes,
                                    const std::vector<std::string>& answers = {});

// For each record (CR LF lines) of `bytes`, each position and each byte of
// `replacements` that changes the record: runs `handler` and collects every
// finding about that record that names no field covering the position, or
// names a code its kind does not have. `skip` lists positions (1-based) left
// out, e.g. where the rules look at a whole record's characters only.
std::vector<std::string> UncoveredMutations(Handler handler, std::string_view bytes,
                                            const std::vector<std::string>& answers = {},
                                            std::string_view replacements = "X 9");

// Runs `handler` on `path` and returns what is wrong with its findings: a
// report line check counts as a finding that was not written as one, or a
// finding about a record that names no field, or a code its kind lacks.
std::vector<std::string> FindingFaults(Handler handler, const std::string& path,
                                       const std::vector<std::string>& answers = {});

}  // namespace verilote::testing
