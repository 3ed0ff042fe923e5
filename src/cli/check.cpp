// verilote-cli check: detects the layout of each file, runs its validator and
// reports per file as text, one JSON document or JUnit XML, for pipelines.
#include "cli/check.hpp"

#include <algorithm>
#include <array>
#include <cstdio>
#include <ctime>
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
#include "cli/cli.hpp"
#include "detect/detect_command.hpp"

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
                   docs/check-report.schema.json); junit: JUnit XML, one test
                   case per file, the report as the failure text.
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
     layout was not recognised, or the program has no validator for it
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
  std::string evidence;  // the detection line (Windows-1252)
  std::uint64_t findings = 0;
  std::string verdict;
  int status = kExitClean;
  std::string error;  // Windows-1252
};

// A path as UTF-8: unchanged when it is valid UTF-8, else read as Windows-1252.
std::string PathText(std::string_view path) {
  for (std::size_t i = 0; i < path.size();)
    if (!cp1252::DecodeUtf8(path, i)) return ToUtf8(path);
  return std::string(path);
}

// A report line's text: "Registro numero", "Linha" and "Reg:" name a record;
// "Erro" begins the code lists and the old layout's findings.
bool IsFindingLine(std::string_view line) {
  for (const std::string_view start : {"Registro numero", "Linha", "Reg:", "Erro", "#####Erro"})
    if (line.starts_with(start)) return true;
  return line.starts_with("=") && line.find(" Erro ") != std::string_view::npos;
}

}  // namespace

std::string JsonString(std::string_view utf8) {
  std::string out = "\"";
  for (const char c : utf8) {
    const auto byte = static_cast<unsigned char>(c);
    if (c == '"' || c == '\\') {
      out += '\\';
      out += c;
    } else if (c == '\n') {
      out += "\\n";
    } else if (c == '\r') {
      out += "\\r";
    } else if (c == '\t') {
      out += "\\t";
    } else if (byte < 0x20 || byte == 0x7F) {
      char escaped[8];
      std::snprintf(escaped, sizeof escaped, "\\u%04x", byte);
      out += escaped;
    } else {
      out += c;
    }
  }
  return out + "\"";
}

std::string XmlText(std::string_view utf8) {
  std::string out;
  for (const char c : utf8) {
    const auto byte = static_cast<unsigned char>(c);
    switch (c) {
      case '&':
        out += "&amp;";
        break;
      case '<':
        out += "&lt;";
        break;
      case '>':
        out += "&gt;";
        break;
      case '"':
        out += "&quot;";
        break;
      case '\'':
        out += "&apos;";
        break;
      default:
        // XML 1.0 has no way to carry the other control bytes, escaped or not.
        if (byte < 0x20 && c != '\t' && c != '\n' && c != '\r')
          out += "\xEF\xBF\xBD";
        else
          out += c;
    }
  }
  return out;
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

  std::string InputBox(std::string_view, std::string_view, std::string_view defaultText) override {
    return std::string(defaultText);
  }
  std::optional<std::string> OpenFile(std::string_view, FileFilter) override { return std::nullopt; }
  std::optional<std::size_t> ChooseItem(std::string_view, std::string_view, const std::vector<std::string>&) override {
    return std::nullopt;
  }
  void ShowMessage(std::string_view text) override {
    std::string shown(text);
    std::replace(shown.begin(), shown.end(), '\r', '\n');
    err_ << ToUtf8(shown) << '\n';
  }
  void ReportClear() override {
    if (reportFile) reportFile->Clear();
  }
  void ReportAppend(std::string_view line) override {
    if (IsFindingLine(line)) ++findings;
    sink(line);
    if (reportFile) {
      reportFile->Write(line);
      reportFile->Write("\r\n");
    }
  }
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
  const std::string* firstLine;
};
thread_local ValidatorRun pendingRun;

Outcome RunValidator(const LayoutRow& layout, const std::string& path, const std::string& firstLine, Host& host) {
  pendingRun = {&layout, &path, &firstLine};
  return RunCommand(
      [](Host& h) { return RunValidatorOn(*pendingRun.layout, *pendingRun.path, *pendingRun.firstLine, h); }, host);
}

// The detection, the choice of the layout and the validator's run for one
// file; the report lines go through the host's sink.
FileResult CheckFile(const std::string& path, const CheckOptions& options, CheckHost& host) {
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
  result.evidence = detection.Line();
  result.detection = detection.kind == Detection::Kind::Recognised ? "recognised" : "not recognised";
  // The other layouts that fit as well as the one taken.
  if (detection.kind == Detection::Kind::Recognised)
    result.candidates.assign(detection.layouts.begin() + 1, detection.layouts.end());
  std::string firstLine = detection.Line();
  if (options.layout != nullptr) {
    result.layout = options.layout;
    result.detection = "forced";
    firstLine = ChosenLine(*options.layout, detection);
  } else if (detection.kind == Detection::Kind::Recognised) {
    result.layout = detection.layouts[0];
  }
  result.evidence = firstLine;

  if (result.layout == nullptr || result.layout->handler.empty()) {
    host.ReportAppend(firstLine);
    host.ReportAppend(result.layout != nullptr
                          ? "Nenhum validador foi executado: este programa não valida esse layout."_cp
                          : "Nenhum validador foi executado.");
    result.verdict = result.layout != nullptr ? "no validator" : "not recognised";
    result.status = kExitAborted;
    return result;
  }

  const Outcome outcome = RunValidator(*result.layout, path, firstLine, host);
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
    rows.push_back({PathText(r.file), r.layout != nullptr ? std::string(r.layout->name) : "-",
                    std::to_string(r.findings), r.verdict});
  std::array<std::size_t, 4> widths{};
  for (const auto& row : rows)
    for (std::size_t i = 0; i < 4; ++i) widths[i] = std::max(widths[i], Pad(row[i], 0).size());
  out << "\nSummary:\n";
  for (const auto& row : rows)
    out << Pad(row[0], widths[0] + 2) << Pad(row[1], widths[1] + 2) << Pad(row[2], widths[2] + 2) << row[3] << '\n';
}

// A temporary file that goes when the run ends: the JUnit spool.
struct Spool {
  std::string folder;
  platform::SystemError error;
  std::unique_ptr<std::FILE, int (*)(std::FILE*)> file{platform::TemporaryFile(folder, error), std::fclose};
  // Says why there is no file, when there is none.
  bool Missing(std::ostream& err) const {
    if (!file)
      err << "verilote-cli: " << platform::Failure(folder, "cannot make a temporary file in", error).what() << '\n';
    return !file;
  }
  void Write(std::string_view bytes) { std::fwrite(bytes.data(), 1, bytes.size(), file.get()); }
  void CopyTo(std::ostream& out) {
    std::rewind(file.get());
    char buffer[1 << 14];
    for (std::size_t n; (n = std::fread(buffer, 1, sizeof buffer, file.get())) > 0;)
      out.write(buffer, static_cast<std::streamsize>(n));
  }
};

std::string JsonLayouts(const std::vector<const LayoutRow*>& layouts) {
  std::string list = "[";
  for (const LayoutRow* layout : layouts) list += (list.size() > 1 ? ", " : "") + JsonString(layout->name);
  return list + "]";
}

// Report files named after the inputs, one per input, never one of them.
std::optional<std::string> ReportPaths(const CheckOptions& options, std::vector<std::string>& paths) {
  std::set<std::string> used;
  for (const std::string& file : options.files) {
    const auto slash = std::find_if(file.rbegin(), file.rend(), platform::IsSeparator);
    const std::string base(slash.base(), file.end());
    std::string name = base + ".txt";
    for (int n = 2; used.contains(name); ++n) name = Cat(base, "-", n, ".txt");
    used.insert(name);
    paths.push_back(*options.reportDir + "/" + name);
    for (const std::string& input : options.files)
      if (SameFile(paths.back(), input)) return paths.back();
  }
  return std::nullopt;
}

int Check(const CheckOptions& options, std::ostream& out, std::ostream& err) {
  std::vector<std::string> reportPaths;
  if (options.reportDir)
    if (const auto clash = ReportPaths(options, reportPaths))
      return Usage(err, "the report file '" + *clash + "' is one of the input files: refused, nothing written");

  std::vector<FileResult> results;
  Spool body;
  if (body.Missing(err)) return kExitAborted;
  bool firstJson = true;
  if (options.format == Format::Json)
    out << "{\n  \"tool\": \"verilote-cli check\",\n  \"version\": " << JsonString(ToUtf8(kVersion))
        << ",\n  \"files\": [";
  int status = kExitClean;
  for (std::size_t i = 0; i < options.files.size(); ++i) {
    const std::string& file = options.files[i];
    CheckHost host(options, err);
    Spool lines;
    if (lines.Missing(err)) return kExitAborted;
    bool firstLine = true;
    switch (options.format) {
      case Format::Text:
        out << (i > 0 ? "\n" : "") << "== " << PathText(file) << '\n';
        host.sink = [&out](std::string_view line) { out << ToUtf8(line) << '\n'; };
        break;
      case Format::Json:
        out << (firstJson ? "\n" : ",\n") << "    {\n      \"file\": " << JsonString(PathText(file))
            << ",\n      \"report\": [";
        firstJson = false;
        host.sink = [&](std::string_view line) {
          out << (firstLine ? "\n        " : ",\n        ") << JsonString(ToUtf8(line));
          firstLine = false;
        };
        break;
      case Format::Junit:
        host.sink = [&lines](std::string_view line) {
          lines.Write(XmlText(ToUtf8(line)));
          lines.Write("\n");
        };
        break;
    }
    if (options.reportDir) {
      try {
        host.reportFile.emplace(reportPaths[i]);
      } catch (const FileError& e) {
        err << ToUtf8(e.what()) << '\n';
        return kExitAborted;
      }
    }
    FileResult result = CheckFile(file, options, host);
    if (host.reportFile) {
      try {
        host.reportFile->Commit();
      } catch (const FileError& e) {
        err << ToUtf8(e.what()) << '\n';
        result.status = kExitAborted;
        if (result.error.empty()) result.error = e.what();
      }
    }
    if (!result.error.empty()) err << PathText(file) << ": " << ToUtf8(result.error) << '\n';
    status = std::max(status, result.status);

    if (options.format == Format::Json) {
      out << (firstLine ? "],\n" : "\n      ],\n");
      const auto text = [](const LayoutRow* layout, std::string_view LayoutRow::*member) {
        return layout != nullptr ? JsonString(ToUtf8(layout->*member)) : std::string("null");
      };
      out << "      \"layout\": " << text(result.layout, &LayoutRow::name)
          << ",\n      \"title\": " << text(result.layout, &LayoutRow::title)
          << ",\n      \"validator\": " << text(result.layout, &LayoutRow::handler)
          << ",\n      \"detection\": " << JsonString(result.detection)
          << ",\n      \"candidates\": " << JsonLayouts(result.candidates)
          << ",\n      \"evidence\": " << JsonString(ToUtf8(result.evidence))
          << ",\n      \"findings\": " << result.findings << ",\n      \"verdict\": " << JsonString(result.verdict)
          << ",\n      \"status\": " << result.status
          << ",\n      \"error\": " << (result.error.empty() ? std::string("null") : JsonString(ToUtf8(result.error)))
          << "\n    }";
    } else if (options.format == Format::Junit) {
      const std::string layout = result.layout != nullptr ? std::string(result.layout->name) : "unknown";
      body.Write(
          Cat("    <testcase classname=\"verilote.", XmlText(layout), "\" name=\"", XmlText(PathText(file)), "\">\n"));
      const std::string element = result.status == kExitFaulty ? "failure" : result.status == kExitClean ? "" : "error";
      if (!element.empty()) {
        const std::string message = result.status == kExitFaulty
                                        ? Cat(result.findings, " findings (", ToUtf8(result.layout->title), ")")
                                        : result.verdict + (result.error.empty() ? "" : ": " + ToUtf8(result.error));
        body.Write(
            Cat("      <", element, " type=\"", XmlText(result.verdict), "\" message=\"", XmlText(message), "\">"));
      } else {
        body.Write("      <system-out>");
      }
      Spool& report = lines;
      std::fflush(report.file.get());
      std::rewind(report.file.get());
      char buffer[1 << 14];
      for (std::size_t n; (n = std::fread(buffer, 1, sizeof buffer, report.file.get())) > 0;)
        body.Write(std::string_view(buffer, n));
      body.Write(Cat("</", element.empty() ? "system-out" : element, ">\n    </testcase>\n"));
    }
    results.push_back(std::move(result));
  }

  switch (options.format) {
    case Format::Text:
      WriteSummary(results, out);
      break;
    case Format::Json:
      out << (firstJson ? "],\n" : "\n  ],\n") << "  \"status\": " << status << "\n}\n";
      break;
    case Format::Junit: {
      const auto count = [&](int s) {
        return std::count_if(results.begin(), results.end(), [s](const FileResult& r) { return r.status == s; });
      };
      const std::string counts = Cat(" tests=\"", results.size(), "\" failures=\"", count(kExitFaulty), "\" errors=\"",
                                     count(kExitAborted), "\"");
      out << "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<testsuites name=\"verilote-cli check\"" << counts
          << ">\n  <testsuite name=\"verilote-cli check\"" << counts << " skipped=\"0\">\n";
      std::fflush(body.file.get());
      body.CopyTo(out);
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
    std::string value;
    if (const std::size_t eq = option.find('='); eq != std::string_view::npos) {
      value = option.substr(eq + 1);
      option = option.substr(0, eq);
    } else if (i + 1 == args.size()) {
      return Usage(err, "option '" + std::string(option) + "' needs a value");
    } else {
      value = args[++i];
    }
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
