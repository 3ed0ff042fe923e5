#include "cli/cli.hpp"

#include <unistd.h>

#include <chrono>
#include <ctime>
#include <deque>
#include <ostream>
#include <string>
#include <thread>
#include <vector>

#include "app/command_table.hpp"
#include "app/cp1252.hpp"
#include "app/errors.hpp"
#include "app/host.hpp"
#include "app/report.hpp"
#include "app/report_output.hpp"
#include "banking/text.hpp"

namespace verilote {

namespace {

constexpr std::string_view kUsage = R"(Usage:
  verilote-cli list
  verilote-cli run HANDLER [--file PATH]... [--answer TEXT]... [--report FILE]
                           [--encoding utf-8|cp1252] [--today DD/MM/YYYY]
  verilote-cli --help

list    prints every command of the menu: whether it is ready, its handler,
        and its menu path and caption.
run     runs the command named by its handler (as `list` shows it).
  --file PATH      answers the command's next file dialog; a dialog with no
                   file left is cancelled.
  --answer TEXT    answers the command's next input box; an input box with no
                   answer left gets its default, as Cancel does in the window.
  --report FILE    also writes the final report to FILE as the window's
                   "Copia tela para arquivo novo" does (Windows-1252, CR LF).
  --encoding E     utf-8 (default): report lines, messages and answers are
                   converted between UTF-8 and Windows-1252; cp1252: bytes
                   pass unchanged.
  --today DATE     the date the command takes as today (default: the clock).

Report lines go to stdout as they are written; message boxes and errors go
to stderr.

Exit status:
  0  the command ran and found nothing wrong
  1  the command ran and found faults in its input (a validator wrote
     findings, a barcode is invalid)
  2  wrong usage: unknown or unavailable handler, bad option
  3  the command was aborted by a conversion or file error (the error on
     stderr, the report lines written before it on stdout)
)";

struct Options {
  std::string handler;
  std::deque<std::string> files;
  std::deque<std::string> answers;
  std::string reportPath;
  bool utf8 = true;
  std::optional<CivilDate> today;
};

std::optional<CivilDate> ParseDate(std::string_view text) {
  if (text.size() != 10 || text[2] != '/' || text[5] != '/') return std::nullopt;
  const std::string_view day = text.substr(0, 2), month = text.substr(3, 2), year = text.substr(6, 4);
  if (!IsAllDigits(day) || !IsAllDigits(month) || !IsAllDigits(year)) return std::nullopt;
  CivilDate date{static_cast<int>(StrToInt(year)), static_cast<int>(StrToInt(month)), static_cast<int>(StrToInt(day))};
  if (date.month < 1 || date.month > 12 || date.day < 1 || date.day > 31) return std::nullopt;
  return date;
}

class CliHost final : public Host {
 public:
  CliHost(Options& options, std::ostream& out, std::ostream& err) : options_(options), out_(out), err_(err) {}

  std::string InputBox(std::string_view, std::string_view, std::string_view defaultText) override {
    if (options_.answers.empty()) return std::string(defaultText);
    std::string answer = std::move(options_.answers.front());
    options_.answers.pop_front();
    return options_.utf8 ? FromUtf8(answer) : answer;
  }

  std::optional<std::string> OpenFile(std::string_view, FileFilter) override {
    if (options_.files.empty()) return std::nullopt;
    std::string path = std::move(options_.files.front());
    options_.files.pop_front();
    return path;
  }

  void ShowMessage(std::string_view text) override {
    std::string shown(text);
    for (char& c : shown)
      if (c == '\r') c = '\n';
    err_ << Encode(shown) << '\n';
  }

  void ReportClear() override { lines_.clear(); }

  void ReportAppend(std::string_view line) override {
    lines_.emplace_back(line);
    out_ << Encode(line) << '\n';
  }

  std::vector<std::string> ReportLines() override { return lines_; }

  std::string ProgramDirectory() override {
    std::string exe(4096, '\0');
    const ssize_t n = readlink("/proc/self/exe", exe.data(), exe.size());
    if (n <= 0) return ".";
    exe.resize(static_cast<std::size_t>(n));
    const std::size_t slash = exe.rfind('/');
    return slash == 0 ? "/" : exe.substr(0, slash);
  }

  CivilDate Today() override {
    if (options_.today) return *options_.today;
    const std::time_t now = std::time(nullptr);
    std::tm local{};
    localtime_r(&now, &local);
    return {local.tm_year + 1900, local.tm_mon + 1, local.tm_mday};
  }

  void Sleep(int milliseconds) override { std::this_thread::sleep_for(std::chrono::milliseconds(milliseconds)); }

  std::string Encode(std::string_view bytes) const { return options_.utf8 ? ToUtf8(bytes) : std::string(bytes); }

  const std::vector<std::string>& Lines() const { return lines_; }

 private:
  Options& options_;
  std::ostream& out_;
  std::ostream& err_;
  std::vector<std::string> lines_;
};

int List(std::ostream& out) {
  for (const MenuRow& row : MenuRows()) {
    if (row.IsSeparator()) continue;
    const std::string_view state = row.scope == Scope::Window            ? "window only"
                                   : FindHandler(row.handler) != nullptr ? "ready"
                                                                         : "not built yet";
    std::string path(row.path);
    if (!path.empty()) path += kPathSeparator;
    out << ToUtf8(Cat(PadSpaceRight(state, 14), PadSpaceRight(row.handler, 58), path, row.caption)) << '\n';
  }
  return kExitClean;
}

int Usage(std::ostream& err, std::string_view problem) {
  err << "verilote-cli: " << problem << "\n(see verilote-cli --help)\n";
  return kExitUsage;
}

// Writes the report as the report-copy command does: each line's bytes, CR LF,
// put in place only once written whole.
void WriteReport(const std::string& path, const std::vector<std::string>& lines) {
  ReplacingFile file(path);
  file.WriteLines(lines);
  file.Commit();
}

int Run(Options& options, std::ostream& out, std::ostream& err) {
  const MenuRow* row = FindRow(options.handler);
  if (row == nullptr) return Usage(err, "unknown handler '" + options.handler + "'");
  if (row->scope == Scope::Window) return Usage(err, "'" + options.handler + "' runs only in the window");
  const Handler handler = FindHandler(options.handler);
  if (handler == nullptr) return Usage(err, "'" + options.handler + "' is not built yet");

  CliHost host(options, out, err);
  const Outcome outcome = RunCommand(handler, host);
  out.flush();
  int status = outcome.status == Outcome::Status::Clean    ? kExitClean
               : outcome.status == Outcome::Status::Faulty ? kExitFaulty
                                                           : kExitAborted;
  if (outcome.status == Outcome::Status::Aborted) err << host.Encode(outcome.message) << '\n';
  if (!options.reportPath.empty()) {
    try {
      WriteReport(options.reportPath, host.Lines());
    } catch (const FileError& e) {
      err << host.Encode(e.what()) << '\n';
      status = kExitAborted;
    }
  }
  return status;
}

}  // namespace

int CliMain(std::span<const std::string_view> args, std::ostream& out, std::ostream& err) {
  if (args.empty()) return Usage(err, "missing command");
  if (args[0] == "--help" || args[0] == "-h" || args[0] == "help") {
    out << kUsage;
    return kExitClean;
  }
  if (args[0] == "list") return args.size() == 1 ? List(out) : Usage(err, "list takes no arguments");
  if (args[0] != "run") return Usage(err, "unknown command '" + std::string(args[0]) + "'");
  if (args.size() < 2 || args[1].starts_with("--")) return Usage(err, "run needs a handler");

  Options options;
  options.handler = args[1];
  for (std::size_t i = 2; i < args.size(); ++i) {
    const std::string_view option = args[i];
    if (i + 1 == args.size()) return Usage(err, "option '" + std::string(option) + "' needs a value");
    const std::string value(args[++i]);
    if (option == "--file") {
      options.files.push_back(value);
    } else if (option == "--answer") {
      options.answers.push_back(value);
    } else if (option == "--report") {
      options.reportPath = value;
    } else if (option == "--encoding") {
      if (value != "utf-8" && value != "cp1252") return Usage(err, "encoding must be utf-8 or cp1252");
      options.utf8 = value == "utf-8";
    } else if (option == "--today") {
      options.today = ParseDate(value);
      if (!options.today) return Usage(err, "--today needs a date DD/MM/YYYY");
    } else {
      return Usage(err, "unknown option '" + std::string(option) + "'");
    }
  }
  return Run(options, out, err);
}

}  // namespace verilote
