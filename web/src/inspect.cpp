// The record inspector's model for the JavaScript API: a finding line of a
// streamed check, its record read again from the file and laid out field by
// field, as the windows draw it (desk's RecordInspection).
#include <emscripten/emscripten.h>

#include <array>
#include <charconv>
#include <map>
#include <ostream>
#include <streambuf>
#include <string>
#include <utility>

#include "app/cp1252.hpp"
#include "app/report.hpp"
#include "cli/check.hpp"
#include "cli/cli.hpp"
#include "desk/finding_index.hpp"
#include "desk/record_inspection.hpp"
#include "desk/record_locator.hpp"
#include "web/src/finding_shapes.hpp"

EM_JS(void, vl_inspected, (const char* bytes, int size), { Module.vlEmit(1, HEAPU8.subarray(bytes, bytes + size)); });

namespace verilote::web {

namespace {

constexpr std::size_t kMostShapes = 1 << 16;

struct ShapeTable {
  std::vector<FindingShapes::Shape> shapes;
  std::map<std::pair<const RecordKind*, std::string>, std::uint32_t, std::less<>> numbers;
  // The last numbers given: a run of a million findings repeats a few
  // shapes, found here without building a key.
  std::array<std::uint32_t, 8> recent{};
  std::size_t nextRecent = 0;
};

ShapeTable& Table() {
  static ShapeTable table;
  return table;
}

std::uint64_t Number(std::string_view text) {
  std::uint64_t value = 0;
  const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
  return error == std::errc() && end == text.data() + text.size() ? value : 0;
}

}  // namespace

std::uint32_t FindingShapes::Of(const RecordKind* kind, std::string_view fields) {
  ShapeTable& table = Table();
  for (const std::uint32_t number : table.recent)
    if (number != 0 && table.shapes[number - 1].kind == kind && table.shapes[number - 1].fields == fields)
      return number;
  std::pair<const RecordKind*, std::string> key(kind, fields);
  std::uint32_t number = 0;
  if (const auto found = table.numbers.find(key); found != table.numbers.end()) {
    number = found->second;
  } else {
    if (table.shapes.size() >= kMostShapes) return 0;
    table.shapes.push_back({kind, std::string(fields)});
    number = static_cast<std::uint32_t>(table.shapes.size());
    table.numbers.emplace(std::move(key), number);
  }
  table.recent[table.nextRecent] = number;
  table.nextRecent = (table.nextRecent + 1) % table.recent.size();
  return number;
}

const FindingShapes::Shape* FindingShapes::At(std::uint32_t number) {
  const ShapeTable& table = Table();
  return number >= 1 && number <= table.shapes.size() ? &table.shapes[number - 1] : nullptr;
}

}  // namespace verilote::web

extern "C" {

// The inspection of a finding line (arguments: the file's path, the record's
// number, the shape's number from the streamed check, 0 for none, and the
// line as UTF-8) as a JSON object (UTF-8) to vl_emit's stdout.
EMSCRIPTEN_KEEPALIVE void vl_inspect(const char* packed, int size) {
  using namespace verilote;
  const std::vector<std::string_view> args = web::Arguments(packed, size);
  if (args.size() != 4) return;
  FindingIndex::Entry entry;
  entry.file = std::string(args[0]);
  entry.record = web::Number(args[1]);
  if (const web::FindingShapes::Shape* shape =
          web::FindingShapes::At(static_cast<std::uint32_t>(web::Number(args[2])))) {
    entry.kind = shape->kind;
    entry.fields = shape->fields;
  }
  RecordLocator locator;
  const RecordInspection seen = Inspect(entry, FromUtf8(args[3]), locator);
  const std::vector<std::string> names = {entry.file};
  const auto text = [&names](std::string_view cp1252) { return JsonString(TerminalText(cp1252, names)); };
  std::string json = Cat("{\"heading\": ", text(seen.heading), ", \"fileName\": ", JsonString(PathText(seen.fileName)),
                         ", \"findingLine\": ", text(seen.findingLine), ", \"message\": ", text(seen.message),
                         ", \"record\": ", text(seen.record), ", \"rulerTens\": ", JsonString(seen.rulerTens),
                         ", \"rulerUnits\": ", JsonString(seen.rulerUnits), ", \"rows\": [");
  for (std::size_t i = 0; i < seen.rows.size(); ++i) {
    const InspectionRow& row = seen.rows[i];
    json +=
        Cat(i == 0 ? "" : ", ", "{\"code\": ", text(row.code), ", \"positions\": ", text(row.positions),
            ", \"name\": ", text(row.name), ", \"found\": ", text(row.found), ", \"expected\": ", text(row.expected),
            ", \"from\": ", row.from, ", \"to\": ", row.to, ", \"named\": ", row.named ? "true" : "false", "}");
  }
  json += "], \"marks\": [";
  for (std::size_t i = 0; i < seen.marks.size(); ++i)
    json += Cat(i == 0 ? "" : ", ", "[", seen.marks[i].first, ", ", seen.marks[i].second, "]");
  json += Cat("], \"firstNamed\": ", seen.firstNamed, "}\n");
  vl_inspected(json.data(), static_cast<int>(json.size()));
}

}  // extern "C"
