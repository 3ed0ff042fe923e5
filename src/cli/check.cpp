// verilote-cli check: detects the layout of each file, runs its validator and
// reports per file as text, one JSON document or JUnit XML, for pipelines.
#include "cli/check.hpp"

#include <algorithm>
#include <array>
#include <cerrno>
#include <cstdio>
#include <ctime>
#include <filesystem>
#include <functional>
#include <memory>
#include <optional>
#include <ostream>
#include <set>
#include <string>
#include <vector>

#include "app/command_table.hpp"
#include "app/cp1252.hpp"
#include "app/errors.hpp"
#include "app/host.hpp"
#include "app/platform.hpp"
#include "app/report.hpp"
#include "app/report_output.hpp"
#include "app/shell.hpp"
#include "banking/text.hpp"
#include "cli/check_spool.hpp"
#include "cli/cli.hpp"
#include "detect/detect_command.hpp"
#include "returns/return_file.hpp"
#include "returns/return_report.hpp"

namespace verilote {

namespace {

constexpr std::string_view kCheckUsage = R"usage(Usage:
  verilote-cli check [--layout NAME] [--format text|json|junit] [--report-dir DIR]
                     [--today DD/MM/YYYY] FILE...
  verilote-cli check --layouts

Detects the layout of each FILE from its first records and runs the
validator of that layout on it, as the window's "Validar arquivo (detectar
layout)" does.
  --layout NAME    checks every FILE as layout NAME (see --layouts) instead
                   of the detected one. Where several layouts fit a file as
                   well, the detection takes the first of --layouts (the
                   layout the bank issues today) and its line names the others.
  --format F       text (default): per file the detection line and the
                   validator's report, then a summary table (file, layout,
                   findings, verdict); json: one JSON document (see
                   docs/check-report.schema.json), each finding also under
                   "issues" with its record and the fields it names
                   (positions, name, found, expected); junit: JUnit XML, one
                   test case per file, the report as the failure text, each
                   finding followed by a line per field it names.
  --report-dir DIR also writes each file's report to DIR/<file name>.txt
                   (Windows-1252, CR LF), as "Copia tela para arquivo novo".
  --today DATE     the date the validators take as today (default: the clock).
  --layouts        lists the layout names and the validator of each.
Findings counts the report lines that name a record ("Registro numero",
"Linha", "Reg:") or begin with "Erro"; the verdict is the validator's own.
Input boxes of a validator get their default answers.

Exit status: the highest of the files'
  0  clean
  1  the validator found faults
  3  not checked: the file could not be read, the run was aborted, the
     layout was not recognised, the program has no validator for it, or its
     findings could not be kept for the document (temporary folder full)
  2  wrong usage
)usage";

enum class Format { Text, Json, Junit };

struct CheckOptions {
  const LayoutRow* layout = nullptr;
  Format format = Format::Text;
  std::optional<std::string> reportDir;
  std::optional<CivilDate> today;
  std::vector<std::string> files;
};

// One file's outcome, as the summary and the structured formats give it.
struct FileResult {
  std::string file;
  const LayoutRow* layout = nullptr;  // the layout checked, if any
  std::string detection;              // recognised, not recognised, forced
  std::vector<const LayoutRow*> candidates;
  std::string verdictLine;            // the detection's first line (Windows-1252)
  std::vector<std::string> evidence;  // the detection's lines, the verdict's first
  std::uint64_t findings = 0;
  std::string verdict;
  int status = kExitClean;
  std::string error;              // Windows-1252
  std::string_view returnLayout;  // the bank's return read instead of a remittance checked
};

std::string LayoutNameOf(const FileResult& result) {
  if (!result.returnLayout.empty()) return std::string(result.returnLayout);
  return result.layout != nullptr ? std::string(result.layout->name) : "-";
}

}  // namespace

bool IsFindingLine(std::string_view line) {
  for (const std::string_view start : {"Registro numero", "Linha", "Reg:", "Erro", "#####Erro"})
    if (line.starts_with(start)) return true;
  return line.starts_with("=") && line.find(" Erro ") != std::string_view::npos;
}

namespace {

// Where a file's report lines go: stdout (text), the JSON document, the
// JUnit spool, and the --report-dir file; findings are counted on the way.
class CheckHost final : public Host {
 public:
  CheckHost(const CheckOptions& options, std::ostream& err) : options_(options), err_(err) {}

  std::function<void(std::string_view)> sink;
  std::optional<ReplacingFile> reportFile;
  std::uint64_t findings = 0;
  std::vector<std::string> names;  // the file names a message may quote (TerminalText)

  std::string InputBox(std::string_view, std::string_view, std::string_view defaultText) override {
    return std::string(defaultText);
  }
  std::optional<std::string> OpenFile(std::string_view, FileFilter) override { return std::nullopt; }
  std::optional<std::size_t> ChooseItem(std::string_view, std::string_view, const std::vector<std::string>&) override {
    return std::nullopt;
  }
  // A validator's notice ("Não está validando valores zerados...") is the
  // same for every file of its layout: once per run is enough.
  std::set<std::string>* shownMessages = nullptr;

  void ShowMessage(std::string_view text) override {
    if (shownMessages != nullptr && !shownMessages->emplace(text).second) return;
    std::string shown(text);
    std::replace(shown.begin(), shown.end(), '\r', '\n');
    err_ << TerminalText(shown, names) << '\n';
  }
  void ReportClear() override {
    if (reportFile) reportFile->Clear();
  }
  void ReportAppend(std::string_view line) override {
    if (IsFindingLine(line)) ++findings;
    sink(line);
    if (reportFile) reportFile->WriteLine(line);
  }
  // The line as any other, then its fields to `findingSink` when a format
  // shows them (JSON, JUnit); the text format keeps nothing of it.
  void ReportFinding(const Finding& finding) override {
    ReportAppend(finding.line);
    if (findingSink) findingSink(finding);
  }
  std::function<void(const Finding&)> findingSink;
  std::vector<std::string> ReportLines() override { return {}; }
  std::string ProgramDirectory() override { return "."; }
  CivilDate Today() override {
    if (options_.today) return *options_.today;
    const std::tm local = platform::LocalTime(std::time(nullptr));
    return {local.tm_year + 1900, local.tm_mon + 1, local.tm_mday};
  }
  void Sleep(int) override {}

 private:
  const CheckOptions& options_;
  std::ostream& err_;
};

// RunCommand takes a plain function: the validator's run is handed to it
// through this one-run slot.
struct ValidatorRun {
  const LayoutRow* layout;
  const std::string* path;
  const std::vector<std::string>* headLines;
};
thread_local ValidatorRun pendingRun;

Outcome RunValidator(const LayoutRow& layout, const std::string& path, const std::vector<std::string>& headLines,
                     Host& host) {
  pendingRun = {&layout, &path, &headLines};
  return RunCommand(
      [](Host& h) { return RunValidatorOn(*pendingRun.layout, *pendingRun.path, *pendingRun.headLines, h); }, host);
}

// The detection, the choice of the layout and the validator's run for one
// file; the report lines go through the host's sink.
// A return of the bank is read, not validated: its layout named, the
// reading's summary as the report, rejections and errors as findings.
FileResult CheckReturn(const std::string& path, returns::ReturnKind kind, CheckHost& host) {
  FileResult result;
  result.file = path;
  result.detection = "recognised";
  result.returnLayout = returns::LayoutName(kind);
  result.verdictLine =
      Cat("Layout detectado: "_cp, returns::KindTitle(kind), " (arquivo do banco: lido, não validado como remessa)"_cp);
  result.evidence = {result.verdictLine};
  host.ReportAppend(result.verdictLine);
  const std::function<void(std::string_view)> line = [&host](std::string_view text) { host.ReportAppend(text); };
  const std::function<void(const Finding&)> finding = [&host](const Finding& f) { host.ReportFinding(f); };
  try {
    const returns::Totals totals = returns::WriteReport(path, kind, nullptr, line, finding, false);
    result.findings = totals.Rejected() + totals.Errors();
    result.verdict = result.findings != 0 ? "findings" : "clean";
    result.status = result.findings != 0 ? kExitFaulty : kExitClean;
  } catch (const FileError& e) {
    result.verdict = "aborted";
    result.status = kExitAborted;
    result.error = e.what();
  }
  return result;
}

FileResult CheckFile(const std::string& path, const CheckOptions& options, CheckHost& host) {
  if (options.layout == nullptr)
    if (const auto kind = returns::DetectReturn(path)) return CheckReturn(path, *kind, host);
  FileResult result;
  result.file = path;
  Detection detection;
  try {
    detection = DetectLayout(path);
  } catch (const FileError& e) {
    result.detection = "not recognised";
    result.verdict = "aborted";
    result.status = kExitAborted;
    result.error = e.what();
    return result;
  }
  result.detection = detection.kind == Detection::Kind::Recognised ? "recognised" : "not recognised";
  // The other layouts that fit as well as the one taken.
  if (detection.kind == Detection::Kind::Recognised)
    result.candidates.assign(detection.layouts.begin() + 1, detection.layouts.end());
  std::vector<std::string> headLines = detection.Lines();
  if (options.layout != nullptr) {
    result.layout = options.layout;
    result.detection = "forced";
    headLines = ChosenLines(*options.layout, detection);
  } else if (detection.kind == Detection::Kind::Recognised) {
    result.layout = detection.layouts[0];
  }
  result.verdictLine = headLines.front();
  result.evidence = headLines;

  if (result.layout == nullptr || result.layout->handler.empty()) {
    for (const std::string& line : headLines) host.ReportAppend(line);
    if (result.layout != nullptr)
      for (const std::string& line : NoValidatorLines(*result.layout)) host.ReportAppend(line);
    else
      host.ReportAppend("Nenhum validador foi executado.");
    result.verdict = result.layout != nullptr ? "no validator" : "not recognised";
    result.status = kExitAborted;
    return result;
  }

  const Outcome outcome = RunValidator(*result.layout, path, headLines, host);
  result.findings = host.findings;
  switch (outcome.status) {
    case Outcome::Status::Clean:
      result.verdict = "clean";
      result.status = kExitClean;
      break;
    case Outcome::Status::Faulty:
      result.verdict = "findings";
      result.status = kExitFaulty;
      break;
    case Outcome::Status::Aborted:
      result.verdict = "aborted";
      result.status = kExitAborted;
      result.error = outcome.message;
      break;
  }
  return result;
}

std::string Pad(std::string text, std::size_t width) {
  // Widths count characters, not bytes, of the UTF-8 text.
  std::size_t chars = 0;
  for (const char c : text) chars += (static_cast<unsigned char>(c) & 0xC0) != 0x80 ? 1 : 0;
  if (chars < width) text.append(width - chars, ' ');
  return text;
}

void WriteSummary(const std::vector<FileResult>& results, std::ostream& out) {
  std::vector<std::array<std::string, 4>> rows = {{"FILE", "LAYOUT", "FINDINGS", "VERDICT"}};
  for (const FileResult& r : results)
    rows.push_back({PathText(r.file), LayoutNameOf(r), std::to_string(r.findings), r.verdict});
  std::array<std::size_t, 4> widths{};
  for (const auto& row : rows)
    for (std::size_t i = 0; i < 4; ++i) widths[i] = std::max(widths[i], Pad(row[i], 0).size());
  out << "\nSummary:\n";
  for (const auto& row : rows)
    out << Pad(row[0], widths[0] + 2) << Pad(row[1], widths[1] + 2) << Pad(row[2], widths[2] + 2) << row[3] << '\n';
}

// A file whose findings the document cannot give.
void NotChecked(FileResult& result, const std::string& why) {
  result.verdict = "aborted";
  result.status = kExitAborted;
  result.error = result.error.empty() ? why : result.error + "; " + why;
}

// The detection's lines as one text, each after the first on a line of its
// own, as the report shows them.
std::string JoinedLines(const std::vector<std::string>& lines) {
  std::string text;
  for (const std::string& line : lines) text += (text.empty() ? "" : "\n") + line;
  return text;
}

std::string JsonLayouts(const std::vector<const LayoutRow*>& layouts) {
  std::string list = "[";
  for (const LayoutRow* layout : layouts) list += (list.size() > 1 ? ", " : "") + JsonString(layout->name);
  return list + "]";
}

// A path with its links and ".." resolved, for a file not there yet.
std::string Resolved(const std::string& path) {
  std::error_code error;
  const std::filesystem::path resolved = std::filesystem::weakly_canonical(platform::PathOf(path), error);
  return error ? path : platform::Utf8Of(resolved);
}

// Report files named after the inputs, one per input; returns the first that
// is one of the inputs. Every path is resolved once, so that thousands of
// files cost thousands of look-ups, not millions.
std::optional<std::string> ReportPaths(const CheckOptions& options, std::vector<std::string>& paths) {
  std::set<std::pair<std::uint64_t, std::uint64_t>> inputs;
  std::set<std::string> missingInputs;  // a report there would be read back as that input
  for (const std::string& file : options.files) {
    if (const auto identity = platform::IdentityOf(file))
      inputs.emplace(identity->device, identity->index);
    else
      missingInputs.insert(Resolved(file));
  }
  std::set<std::string> used;
  for (const std::string& file : options.files) {
    const auto slash = std::find_if(file.rbegin(), file.rend(), platform::IsSeparator);
    const std::string base(slash.base(), file.end());
    std::string name = base + ".txt";
    for (int n = 2; used.contains(name); ++n) name = Cat(base, "-", n, ".txt");
    used.insert(name);
    paths.push_back(*options.reportDir + "/" + name);
    if (const auto identity = platform::IdentityOf(paths.back())) {
      if (inputs.contains({identity->device, identity->index})) return paths.back();
    } else if (!missingInputs.empty() && missingInputs.contains(Resolved(paths.back()))) {
      return paths.back();
    }
  }
  return std::nullopt;
}

void WriteJsonResult(const FileResult& result, std::span<const std::string> names, std::ostream& out) {
  const auto text = [](const LayoutRow* layout, std::string_view LayoutRow::*member) {
    return layout != nullptr ? JsonString(ToUtf8(layout->*member)) : std::string("null");
  };
  out << "      \"layout\": "
      << (result.returnLayout.empty() ? text(result.layout, &LayoutRow::name) : JsonString(result.returnLayout))
      << ",\n      \"title\": " << text(result.layout, &LayoutRow::title)
      << ",\n      \"validator\": " << text(result.layout, &LayoutRow::handler)
      << ",\n      \"detection\": " << JsonString(result.detection)
      << ",\n      \"candidates\": " << JsonLayouts(result.candidates)
      << ",\n      \"evidence\": " << JsonString(TerminalText(JoinedLines(result.evidence), names))
      << ",\n      \"findings\": " << result.findings << ",\n      \"verdict\": " << JsonString(result.verdict)
      << ",\n      \"status\": " << result.status << ",\n      \"error\": "
      << (result.error.empty() ? std::string("null") : JsonString(TerminalText(result.error, names))) << "\n    }";
}

// The test case of one file; its report lines wait in `lines`.
void WriteJunitCase(const FileResult& result, std::span<const std::string> names, CheckSpool& lines, CheckSpool& body) {
  const std::string layout =
      result.layout != nullptr || !result.returnLayout.empty() ? LayoutNameOf(result) : "unknown";
  body.Write(Cat("    <testcase classname=\"verilote.", XmlText(layout), "\" name=\"", XmlText(PathText(result.file)),
                 "\">\n"));
  const std::string element = result.status == kExitFaulty ? "failure" : result.status == kExitClean ? "" : "error";
  if (!element.empty()) {
    const std::string message =
        result.status == kExitFaulty
            ? Cat(result.findings, " findings (",
                  result.layout != nullptr ? ToUtf8(result.layout->title) : ToUtf8(result.verdictLine), ")")
            : result.verdict + (result.error.empty() ? "" : ": " + TerminalText(result.error, names));
    body.Write(Cat("      <", element, " type=\"", XmlText(result.verdict), "\" message=\"", XmlText(message), "\">"));
  } else {
    body.Write("      <system-out>");
  }
  lines.CopyTo([&body](std::string_view bytes) { body.Write(bytes); });
  body.Write(Cat("</", element.empty() ? "system-out" : element, ">\n    </testcase>\n"));
}

int Check(const CheckOptions& options, std::ostream& out, std::ostream& err) {
  std::vector<std::string> reportPaths;
  if (options.reportDir)
    if (const auto clash = ReportPaths(options, reportPaths))
      return Usage(err, "the report file '" + *clash + "' is one of the input files: refused, nothing written");

  // The JUnit document names its counts first: it is written at the end.
  std::optional<CheckSpool> body, lines;
  if (options.format == Format::Junit) {
    body.emplace();
    lines.emplace();
    if (body->Missing(err) || lines->Missing(err)) return kExitAborted;
  }
  // The JSON document's findings with their fields wait here while the
  // report lines stream out before them.
  std::optional<CheckSpool> issues;
  if (options.format == Format::Json) {
    issues.emplace();
    if (issues->Missing(err)) return kExitAborted;
  }
  std::vector<FileResult> results;
  std::set<std::string> shownMessages;
  bool junitCut = false;
  if (options.format == Format::Json)
    out << "{\n  \"tool\": \"verilote-cli check\",\n  \"version\": " << JsonString(ToUtf8(kVersion))
        << ",\n  \"files\": [";
  int status = kExitClean;
  for (std::size_t i = 0; i < options.files.size(); ++i) {
    const std::string& file = options.files[i];
    // Names from the command line quoted in report lines and errors.
    std::vector<std::string> names = {file};
    if (options.reportDir) names.push_back(reportPaths[i]);
    CheckHost host(options, err);
    host.names = names;
    host.shownMessages = &shownMessages;
    bool firstLine = true, firstIssue = true;
    switch (options.format) {
      case Format::Text:
        out << (i > 0 ? "\n" : "") << "== " << PathText(file) << '\n';
        host.sink = [&](std::string_view line) { out << TerminalText(line, names) << '\n'; };
        break;
      case Format::Json:
        out << (i == 0 ? "\n" : ",\n") << "    {\n      \"file\": " << JsonString(PathText(file))
            << ",\n      \"report\": [";
        host.sink = [&](std::string_view line) {
          out << (firstLine ? "\n        " : ",\n        ") << JsonString(TerminalText(line, names));
          firstLine = false;
        };
        issues->Reset();
        host.findingSink = [&](const Finding& finding) {
          issues->Write(Cat(firstIssue ? "\n        " : ",\n        ", JsonIssue(finding, names)));
          firstIssue = false;
        };
        break;
      case Format::Junit:
        lines->Reset();
        host.sink = [&](std::string_view line) {
          lines->Write(XmlText(TerminalText(line, names)));
          lines->Write("\n");
        };
        // Under each finding, a line per field it names.
        host.findingSink = [&](const Finding& finding) {
          for (const ResolvedField& field : ResolveFields(finding)) {
            lines->Write(XmlText(TerminalText(FieldFindingText(finding.record, field), names)));
            lines->Write("\n");
          }
        };
        break;
    }
    FileResult result;
    try {
      if (options.reportDir) host.reportFile.emplace(reportPaths[i]);
      result = CheckFile(file, options, host);
      if (host.reportFile) host.reportFile->Commit();
    } catch (const FileError& e) {
      // The report file failed: this file counts as not checked, the others go on.
      if (result.file.empty()) {
        result.file = file;
        result.detection = "not recognised";
      }
      result.verdict = "aborted";
      result.status = kExitAborted;
      if (result.error.empty()) result.error = e.what();
    }
    // What the temporary folder refused is missing from the document: the
    // file is given as not checked, with the cause, never as checked.
    CheckSpool* const spooled = options.format == Format::Json    ? &*issues
                                : options.format == Format::Junit ? &*lines
                                                                  : nullptr;
    const bool lost = spooled != nullptr && !spooled->Flush();
    if (lost) NotChecked(result, spooled->Why());
    if (options.format == Format::Json) {
      out << (firstLine ? "],\n" : "\n      ],\n") << "      \"issues\": [";
      issues->CopyTo(
          [&out](std::string_view bytes) { out.write(bytes.data(), static_cast<std::streamsize>(bytes.size())); });
      out << (firstIssue ? "],\n" : "\n      ],\n");
      if (!lost && issues->Failed()) NotChecked(result, issues->Why());
      WriteJsonResult(result, names, out);
    } else if (options.format == Format::Junit) {
      WriteJunitCase(result, names, *lines, *body);
      // Its text read back only in part: the test case is cut short.
      junitCut = junitCut || (!lost && lines->Failed());
    }
    if (!result.error.empty()) err << PathText(file) << ": " << TerminalText(result.error, names) << '\n';
    status = std::max(status, result.status);
    results.push_back(std::move(result));
  }

  switch (options.format) {
    case Format::Text:
      WriteSummary(results, out);
      break;
    case Format::Json:
      out << (results.empty() ? "],\n" : "\n  ],\n") << "  \"status\": " << status << "\n}\n";
      break;
    case Format::Junit: {
      // A body cut short is no document: none is given.
      if (junitCut || !body->Flush()) {
        err << "verilote-cli: " << (junitCut ? lines->Why() : body->Why()) << '\n';
        return kExitAborted;
      }
      const auto count = [&](int s) {
        return std::count_if(results.begin(), results.end(), [s](const FileResult& r) { return r.status == s; });
      };
      const std::string counts = Cat(" tests=\"", results.size(), "\" failures=\"", count(kExitFaulty), "\" errors=\"",
                                     count(kExitAborted), "\"");
      out << "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<testsuites name=\"verilote-cli check\"" << counts
          << ">\n  <testsuite name=\"verilote-cli check\"" << counts << " skipped=\"0\">\n";
      body->CopyTo(
          [&out](std::string_view bytes) { out.write(bytes.data(), static_cast<std::streamsize>(bytes.size())); });
      if (body->Failed()) {
        err << "verilote-cli: " << body->Why() << '\n';
        return kExitAborted;
      }
      out << "  </testsuite>\n</testsuites>\n";
      break;
    }
  }
  out.flush();
  if (!out) {
    err << "verilote-cli: cannot write to standard output\n";
    return kExitAborted;
  }
  return status;
}

int ListLayouts(std::ostream& out) {
  for (const LayoutRow& row : LayoutTable())
    out << ToUtf8(Cat(PadSpaceRight(row.name, 26), PadSpaceRight(row.title, 48),
                      row.handler.empty() ? std::string_view("(no validator)") : row.handler))
        << '\n';
  return kExitClean;
}

}  // namespace

int CheckMain(std::span<const std::string_view> args, std::ostream& out, std::ostream& err) {
  CheckOptions options;
  bool onlyFiles = false;
  for (std::size_t i = 0; i < args.size(); ++i) {
    std::string_view option = args[i];
    if (onlyFiles || !option.starts_with("--")) {
      options.files.emplace_back(option);
      continue;
    }
    if (option == "--") {
      onlyFiles = true;
      continue;
    }
    if (option == "--help") {
      out << kCheckUsage;
      return kExitClean;
    }
    if (option == "--layouts") {
      if (args.size() != 1) return Usage(err, "--layouts takes nothing else");
      return ListLayouts(out);
    }
    const std::optional<std::string> taken = TakeOptionValue(args, i, option);
    if (!taken) return Usage(err, "option '" + std::string(option) + "' needs a value");
    const std::string& value = *taken;
    if (option == "--layout") {
      options.layout = FindLayout(value);
      if (options.layout == nullptr) return Usage(err, "unknown layout '" + value + "' (see check --layouts)");
    } else if (option == "--format") {
      if (value == "text")
        options.format = Format::Text;
      else if (value == "json")
        options.format = Format::Json;
      else if (value == "junit")
        options.format = Format::Junit;
      else
        return Usage(err, "--format must be text, json or junit");
    } else if (option == "--report-dir") {
      if (value.empty()) return Usage(err, "--report-dir needs a directory");
      options.reportDir = value;
    } else if (option == "--today") {
      options.today = ParseToday(value);
      if (!options.today) return Usage(err, "--today needs a date DD/MM/YYYY");
    } else {
      return Usage(err, "unknown option '" + std::string(option) + "'");
    }
  }
  if (options.files.empty()) return Usage(err, "check needs at least one FILE");
  return Check(options, out, err);
}

}  // namespace verilote
