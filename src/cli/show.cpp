// verilote-cli show: one record of a file laid out field by field through its
// layout's dictionary, with the fields the validator's findings name marked.
#include "cli/show.hpp"

#include <algorithm>
#include <array>
#include <charconv>
#include <ctime>
#include <functional>
#include <optional>
#include <ostream>
#include <span>
#include <string>
#include <vector>

#include "app/command_table.hpp"
#include "app/cp1252.hpp"
#include "app/errors.hpp"
#include "app/fields.hpp"
#include "app/host.hpp"
#include "app/platform.hpp"
#include "app/record_pieces.hpp"
#include "app/report.hpp"
#include "banking/text.hpp"
#include "cli/check.hpp"
#include "cli/cli.hpp"
#include "detect/detect_command.hpp"
#include "detect/field_registry.hpp"
#include "detect/layout_detection.hpp"
#include "returns/return_file.hpp"
#include "returns/return_lines.hpp"
#include "returns/return_report.hpp"

namespace verilote {

namespace {

constexpr std::string_view kShowUsage = R"usage(Usage:
  verilote-cli show FILE --record N [--layout NAME] [--format text|json]
                    [--today DD/MM/YYYY]

Shows record N (counted from 1) of FILE field by field, as its layout's field
dictionary lays it out: each field's code, positions, name and the bytes the
record holds there (of a longer value, the first 400 and the count of the
others); stretches no field names are listed by their positions alone. The
layout is detected as check detects it, or taken from --layout. The
layout's validator runs on the whole file (input boxes get their default
answers, message boxes are not shown): the fields that the findings about
record N name are marked "<-- esperado" and what the layout expects there,
and those findings follow the table.
  --record N       the record to show (required).
  --layout NAME    the layout to read FILE as (see check --layouts).
  --format F       text (default) or json: the same as one JSON object.
  --today DATE     the date the validator takes as today (default: the clock).

Exit status, as check's:
  0  the validator found nothing wrong in the file
  1  the validator found faults (in record N or any other)
  3  not shown or not checked: the file could not be read, it has no record
     N, its layout was not recognised or has no field dictionary, the program
     has no validator for it, or the validator's run was aborted
  2  wrong usage
)usage";

struct ShowOptions {
  std::string file;
  std::uint64_t record = 0;
  const LayoutRow* layout = nullptr;
  bool json = false;
  std::optional<CivilDate> today;
};

// A finding about the record shown, kept past the validator's call.
struct KeptFinding {
  std::string line;    // Windows-1252
  std::string fields;  // the codes it names
};

// The validator's host: report lines go nowhere, the findings about the
// record shown are kept (a record's findings are few: one per rule at most).
class ShowHost final : public Host {
 public:
  ShowHost(std::uint64_t record, std::optional<CivilDate> today) : record_(record), today_(today) {}

  std::vector<KeptFinding> findings;

  std::string InputBox(std::string_view, std::string_view, std::string_view defaultText) override {
    return std::string(defaultText);
  }
  std::optional<std::string> OpenFile(std::string_view, FileFilter) override { return std::nullopt; }
  std::optional<std::size_t> ChooseItem(std::string_view, std::string_view, const std::vector<std::string>&) override {
    return std::nullopt;
  }
  void ShowMessage(std::string_view) override {}
  void ReportClear() override {}
  void ReportAppend(std::string_view) override {}
  void ReportFinding(const Finding& finding) override {
    if (finding.record == record_) findings.push_back({std::string(finding.line), std::string(finding.fields)});
  }
  std::vector<std::string> ReportLines() override { return {}; }
  std::string ProgramDirectory() override { return "."; }
  CivilDate Today() override {
    if (today_) return *today_;
    const std::tm local = platform::LocalTime(std::time(nullptr));
    return {local.tm_year + 1900, local.tm_mon + 1, local.tm_mday};
  }
  void Sleep(int) override {}

 private:
  std::uint64_t record_;
  std::optional<CivilDate> today_;
};

// RunCommand takes a plain function: the run is handed to it through this slot.
struct PendingRun {
  const LayoutRow* layout;
  const std::string* path;
  const std::vector<std::string>* headLines;
};
thread_local PendingRun pending;

// A value shows its first kShownBytes bytes, a screenful, and says how many
// are left: the longest record of the bank's layouts (400 positions) shows
// whole, and one of the reader's 32 MiB costs no more memory than it.
constexpr std::size_t kShownBytes = 400;

// The record shown: its first bytes, far more than every dictionary's fields
// and a shown stretch after them, and its length.
constexpr std::size_t kKeptBytes = std::size_t{1} << 16;
struct ShownRecord {
  std::string head;  // Windows-1252
  std::size_t length = 0;
};

// One row of the table: a field of the kind, or a stretch no field names.
struct Row {
  const FieldSpec* field = nullptr;  // nullptr: an unnamed stretch
  std::size_t from = 0, to = 0;
  std::string value;        // Windows-1252, at most kShownBytes bytes
  bool marked = false;      // a finding about the record names the field
  std::string expected;     // Windows-1252, when marked
  std::size_t omitted = 0;  // the value's bytes past kShownBytes
};

// The bytes of `value` past kShownBytes go; the row counts them.
void Shorten(Row& row, std::size_t size) {
  row.value.resize(std::min(row.value.size(), kShownBytes));
  row.omitted = size - row.value.size();
}

std::vector<Row> Rows(const RecordKind* kind, const ShownRecord& record, const std::vector<KeptFinding>& findings) {
  const std::string_view rec = record.head;
  std::vector<std::string_view> named;
  for (const KeptFinding& finding : findings)
    for (std::string_view code : FieldCodes(finding.fields)) named.push_back(code);
  std::vector<Row> rows;
  const auto stretch = [&](std::size_t from, std::size_t to) {
    if (from > to) return;
    rows.push_back({nullptr, from, to, std::string(Field(rec, from, std::min(to, from + kShownBytes - 1))), false, {}});
    Shorten(rows.back(), to - from + 1);
  };
  std::size_t next = 1;
  if (kind != nullptr) {
    for (const FieldSpec& field : kind->fields) {
      stretch(next, std::min(field.from - 1, record.length));
      const ResolvedField resolved = ResolveField(field, rec);
      const bool marked = !field.code.empty() && std::find(named.begin(), named.end(), field.code) != named.end();
      rows.push_back({&field, field.from, field.to, resolved.found, marked, marked ? resolved.expected : ""});
      Shorten(rows.back(), resolved.found.size());
      next = field.to + 1;
    }
  }
  stretch(next, record.length);
  return rows;
}

std::string PositionsOf(const Row& row) { return row.from == row.to ? Cat(row.from) : Cat(row.from, "-", row.to); }

// Characters, not bytes, of a UTF-8 text.
std::size_t Width(std::string_view utf8) {
  return static_cast<std::size_t>(
      std::count_if(utf8.begin(), utf8.end(), [](char c) { return (static_cast<unsigned char>(c) & 0xC0) != 0x80; }));
}

std::string Padded(std::string text, std::size_t width) {
  const std::size_t chars = Width(text);
  if (chars < width) text.append(width - chars, ' ');
  return text;
}

std::string Verdict(const Outcome& outcome) {
  return outcome.status == Outcome::Status::Clean    ? "clean"
         : outcome.status == Outcome::Status::Faulty ? "findings"
                                                     : "aborted";
}

void WriteText(const ShowOptions& options, const LayoutRow& layout, const RecordKind* kind, std::size_t length,
               const std::vector<Row>& rows, const std::vector<KeptFinding>& findings, const Outcome& outcome,
               std::ostream& out) {
  const std::vector<std::string> names = {options.file};
  out << "File: " << PathText(options.file) << "\nLayout: " << layout.name << " (" << ToUtf8(layout.title) << ")\n"
      << "Record " << options.record << ": " << (kind != nullptr ? ToUtf8(kind->name) : std::string("(unknown kind)"))
      << ", " << length << " positions\n\n";
  std::vector<std::array<std::string, 4>> table = {{"CODE", "POSITIONS", "NAME", "VALUE"}};
  for (const Row& row : rows)
    table.push_back({row.field != nullptr && !row.field->code.empty() ? std::string(row.field->code) : "-",
                     PositionsOf(row), row.field != nullptr ? ToUtf8(row.field->name) : "(no field)",
                     "\"" + ToUtf8(row.value) + "\"" +
                         (row.omitted == 0 ? ""
                                           : Cat(" (", row.omitted, row.omitted == 1 ? " more byte" : " more bytes",
                                                 " not shown)"))});
  std::array<std::size_t, 3> widths{};
  for (const auto& line : table)
    for (std::size_t i = 0; i < widths.size(); ++i) widths[i] = std::max(widths[i], Width(line[i]));
  for (std::size_t i = 0; i < table.size(); ++i) {
    std::string line = Padded(table[i][0], widths[0] + 2) + Padded(table[i][1], widths[1] + 2) +
                       Padded(table[i][2], widths[2] + 2) + table[i][3];
    // A field the finding names without a value of its own to expect (the
    // agency a digit is computed from) is marked as named.
    if (i > 0 && rows[i - 1].marked)
      line += rows[i - 1].expected.empty() ? std::string("  <-- citado no achado")
                                           : "  <-- esperado " + ToUtf8(rows[i - 1].expected);
    out << line << '\n';
  }
  out << "\nFindings about record " << options.record << ":";
  if (findings.empty()) out << " none";
  out << '\n';
  for (const KeptFinding& finding : findings) out << "  " << TerminalText(finding.line, names) << '\n';
  out << "\nVerdict on the file: " << Verdict(outcome) << '\n';
}

void WriteJson(const ShowOptions& options, const LayoutRow& layout, const RecordKind* kind, std::size_t length,
               const std::vector<Row>& rows, const std::vector<KeptFinding>& findings, const Outcome& outcome,
               int status, std::ostream& out) {
  const std::vector<std::string> names = {options.file};
  const auto text = [](std::string_view cp1252) { return JsonString(ToUtf8(cp1252)); };
  out << "{\n  \"tool\": \"verilote-cli show\",\n  \"file\": " << JsonString(PathText(options.file))
      << ",\n  \"layout\": " << text(layout.name) << ",\n  \"title\": " << text(layout.title)
      << ",\n  \"record\": " << options.record << ",\n  \"kind\": " << (kind != nullptr ? text(kind->name) : "null")
      << ",\n  \"length\": " << length << ",\n  \"fields\": [";
  for (std::size_t i = 0; i < rows.size(); ++i) {
    const Row& row = rows[i];
    const bool coded = row.field != nullptr && !row.field->code.empty();
    out << (i == 0 ? "\n    " : ",\n    ") << "{\"code\": " << (coded ? text(row.field->code) : "null")
        << ", \"from\": " << row.from << ", \"to\": " << row.to
        << ", \"name\": " << (row.field != nullptr ? text(row.field->name) : "null")
        << ", \"value\": " << text(row.value) << ", \"finding\": " << (row.marked ? "true" : "false")
        << ", \"expected\": " << (row.marked && !row.expected.empty() ? text(row.expected) : "null")
        << ", \"omitted\": " << row.omitted << "}";
  }
  out << (rows.empty() ? "],\n" : "\n  ],\n") << "  \"findings\": [";
  for (std::size_t i = 0; i < findings.size(); ++i) {
    out << (i == 0 ? "\n    " : ",\n    ") << "{\"line\": " << JsonString(TerminalText(findings[i].line, names))
        << ", \"fields\": [";
    const std::vector<std::string_view> codes = FieldCodes(findings[i].fields);
    for (std::size_t c = 0; c < codes.size(); ++c) out << (c == 0 ? "" : ", ") << text(codes[c]);
    out << "]}";
  }
  out << (findings.empty() ? "],\n" : "\n  ],\n") << "  \"verdict\": " << JsonString(Verdict(outcome))
      << ",\n  \"status\": " << status << "\n}\n";
}

int NotShown(std::ostream& err, std::string_view problem) {
  err << "verilote-cli show: " << problem << '\n';
  return kExitAborted;
}

// A return record of the bank: laid out through the return's dictionary,
// with the lines of the reading about it (a rejected title, an error).
int ShowReturn(const ShowOptions& options, returns::ReturnKind returnKind, std::ostream& out, std::ostream& err) {
  const std::vector<std::string> names = {options.file};
  ShownRecord record;
  std::vector<KeptFinding> findings;
  Outcome outcome{Outcome::Status::Clean, {}};
  try {
    returns::LineReader reader(options.file);
    std::string_view rec;
    std::uint64_t read = 0;
    while (read < options.record && reader.Next(rec)) ++read;
    if (read < options.record)
      return NotShown(err, Cat(PathText(options.file), " has ", read, read == 1 ? " record" : " records",
                               ": there is no record ", options.record));
    // A return's reader cuts a record at 4,096 bytes: the head is all of it.
    record.head.assign(rec);
    record.length = rec.size();
    const std::function<void(std::string_view)> line = [](std::string_view) {};
    const std::function<void(const Finding&)> finding = [&](const Finding& f) {
      if (f.record == options.record) findings.push_back({std::string(f.line), std::string(f.fields)});
    };
    const returns::Totals totals = returns::WriteReport(options.file, returnKind, nullptr, line, finding);
    if (totals.Rejected() != 0 || totals.Errors() != 0) outcome.status = Outcome::Status::Faulty;
  } catch (const FileError& e) {
    return NotShown(err, TerminalText(e.what(), names));
  }
  LayoutRow layout{};
  layout.name = returns::LayoutName(returnKind);
  layout.title = returns::KindTitle(returnKind);
  const RecordKind* kind = returns::ReturnFields(returnKind).kindOf(record.head);
  const std::vector<Row> rows = Rows(kind, record, findings);
  const int status = outcome.status == Outcome::Status::Clean ? kExitClean : kExitFaulty;
  if (options.json)
    WriteJson(options, layout, kind, record.length, rows, findings, outcome, status, out);
  else
    WriteText(options, layout, kind, record.length, rows, findings, outcome, out);
  out.flush();
  if (!out) {
    err << "verilote-cli: cannot write to standard output\n";
    return kExitAborted;
  }
  return status;
}

int Show(const ShowOptions& options, std::ostream& out, std::ostream& err) {
  if (options.layout == nullptr)
    if (const auto kind = returns::DetectReturn(options.file)) return ShowReturn(options, *kind, out, err);
  const std::vector<std::string> names = {options.file};
  Detection detection;
  ShownRecord record;
  try {
    detection = DetectLayout(options.file);
    // In pieces: the validator holds the file's longest record in a moment,
    // and this reading holds none beside it.
    RecordPieces reader(options.file);
    std::uint64_t read = 0;
    while (read < options.record && reader.NextRecord()) ++read;
    if (read < options.record)
      return NotShown(err, Cat(PathText(options.file), " has ", read, read == 1 ? " record" : " records",
                               ": there is no record ", options.record));
    for (std::string_view piece; reader.Next(piece);)
      record.head.append(piece.substr(0, kKeptBytes - std::min(kKeptBytes, record.head.size())));
    record.length = reader.Length();
  } catch (const FileError& e) {
    return NotShown(err, TerminalText(e.what(), names));
  }

  const LayoutRow* layout = options.layout;
  if (layout == nullptr && detection.kind == Detection::Kind::Recognised) layout = detection.layouts[0];
  if (layout == nullptr) {
    std::string lines;
    for (const std::string& line : detection.Lines()) lines += TerminalText(line, names) + "\n";
    return NotShown(err, Cat(lines, "(name the layout with --layout)"));
  }
  const LayoutFields* fields = FieldsOfLayout(layout->name);
  if (fields == nullptr || fields->kinds.empty() || fields->kindOf == nullptr)
    return NotShown(err, Cat("the layout ", layout->name, " has no field dictionary yet"));
  if (layout->handler.empty()) return NotShown(err, Cat("the program has no validator for the layout ", layout->name));

  ShowHost host(options.record, options.today);
  const std::vector<std::string> headLines =
      options.layout != nullptr ? ChosenLines(*layout, detection) : detection.Lines();
  pending = {layout, &options.file, &headLines};
  const Outcome outcome =
      RunCommand([](Host& h) { return RunValidatorOn(*pending.layout, *pending.path, *pending.headLines, h); }, host);
  const int status = outcome.status == Outcome::Status::Clean    ? kExitClean
                     : outcome.status == Outcome::Status::Faulty ? kExitFaulty
                                                                 : kExitAborted;
  const RecordKind* kind = fields->kindOf(record.head);
  const std::vector<Row> rows = Rows(kind, record, host.findings);
  if (options.json)
    WriteJson(options, *layout, kind, record.length, rows, host.findings, outcome, status, out);
  else
    WriteText(options, *layout, kind, record.length, rows, host.findings, outcome, out);
  if (outcome.status == Outcome::Status::Aborted) err << TerminalText(outcome.message, names) << '\n';
  out.flush();
  if (!out) {
    err << "verilote-cli: cannot write to standard output\n";
    return kExitAborted;
  }
  return status;
}

// A record number from 1, digits only.
std::optional<std::uint64_t> RecordNumber(std::string_view text) {
  std::uint64_t value = 0;
  const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
  if (text.empty() || error != std::errc() || end != text.data() + text.size() || value == 0 ||
      !std::all_of(text.begin(), text.end(), [](char c) { return c >= '0' && c <= '9'; }))
    return std::nullopt;
  return value;
}

}  // namespace

int ShowMain(std::span<const std::string_view> args, std::ostream& out, std::ostream& err) {
  ShowOptions options;
  bool recordGiven = false;
  std::vector<std::string> files;
  for (std::size_t i = 0; i < args.size(); ++i) {
    std::string_view option = args[i];
    if (option == "--help") {
      out << kShowUsage;
      return kExitClean;
    }
    if (!option.starts_with("--")) {
      files.emplace_back(option);
      continue;
    }
    const std::optional<std::string> taken = TakeOptionValue(args, i, option);
    if (!taken) return Usage(err, "option '" + std::string(option) + "' needs a value");
    const std::string& value = *taken;
    if (option == "--record") {
      const std::optional<std::uint64_t> number = RecordNumber(value);
      if (!number) return Usage(err, "--record needs a record number from 1, not '" + value + "'");
      options.record = *number;
      recordGiven = true;
    } else if (option == "--layout") {
      options.layout = FindLayout(value);
      if (options.layout == nullptr) return Usage(err, "unknown layout '" + value + "' (see check --layouts)");
    } else if (option == "--format") {
      if (value != "text" && value != "json") return Usage(err, "--format must be text or json");
      options.json = value == "json";
    } else if (option == "--today") {
      options.today = ParseToday(value);
      if (!options.today) return Usage(err, "--today needs a date DD/MM/YYYY");
    } else {
      return Usage(err, "unknown option '" + std::string(option) + "'");
    }
  }
  if (files.size() != 1) return Usage(err, "show needs one FILE");
  if (!recordGiven) return Usage(err, "show needs --record N");
  options.file = files[0];
  return Show(options, out, err);
}

}  // namespace verilote
