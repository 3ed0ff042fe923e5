// What a window's record inspector shows of one finding, worked out once for
// every window: the heading (record, kind, file), the finding's own line, the
// rows of the fields table (every field of the record's kind in order, the
// stretches no field names by their positions alone, the fields the finding
// names flagged, with the bytes found and what the layout expects), the raw
// record under a ruler with the named fields' byte ranges, and the message
// when the record cannot be shown (the file gone or changed since the run, a
// finding about the file as a whole). Texts are Windows-1252; a window only
// decodes them, lays them out and colours them.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "desk/finding_index.hpp"
#include "desk/record_locator.hpp"

namespace verilote {

struct InspectionRow {
  std::string code;       // empty for a stretch no field names
  std::string positions;  // "7-10", "11"; empty for a code the dictionary lacks
  std::string name;
  std::string found;  // the record's bytes there, a control byte shown as a blank
  std::string expected;
  std::size_t from = 0, to = 0;  // 0 when the dictionary lacks the code
  bool named = false;            // the finding names this field
};

struct RecordInspection {
  // A record or a report line longer than this (a file of LF-ended lines
  // read as one record) shows its beginning: no layout has longer records.
  static constexpr std::size_t kShownBytes = 4096;

  std::string heading;   // "Registro 3 (Detalhe)", "Arquivo"
  std::string fileName;  // the file's name without its folder, as the system spells it (path bytes)
  std::string findingLine;
  // Why the record is not shown; empty when it is. The file's full path (path
  // bytes) goes at byte `fileAt` of it, when that is not npos.
  std::string message;
  std::size_t fileAt = std::string::npos;
  std::string record;                 // the record as shown: at most kShownBytes, control bytes as blanks
  std::string rulerTens, rulerUnits;  // two lines of positions over `record`
  std::vector<InspectionRow> rows;
  // The named fields' byte ranges in `record` (1-based, inclusive), in row order.
  std::vector<std::pair<std::size_t, std::size_t>> marks;
  int firstNamed = -1;  // the first named row, -1 for none

  bool Shown() const { return message.empty(); }
};

// The inspection of `entry`, whose report line is `line`; the record is read
// again through `locator`.
RecordInspection Inspect(const FindingIndex::Entry& entry, std::string_view line, RecordLocator& locator);

}  // namespace verilote
