#include "cli/cli.hpp"

#include <algorithm>
#include <array>
#include <chrono>
#include <ctime>
#include <deque>
#include <filesystem>
#include <optional>
#include <ostream>
#include <string>
#include <thread>
#include <vector>

#include "app/command_table.hpp"
#include "app/cp1252.hpp"
#include "app/errors.hpp"
#include "app/host.hpp"
#include "app/platform.hpp"
#include "app/record_reader.hpp"
#include "app/report.hpp"
#include "app/report_output.hpp"
#include "banking/dates.hpp"
#include "banking/record_rules.hpp"
#include "banking/text.hpp"
#include "cli/check.hpp"
#include "cli/retorno.hpp"
#include "cli/show.hpp"
#include "layouts/siacc.hpp"

namespace verilote {

std::optional<CivilDate> ParseToday(std::string_view text) {
  if (text.size() != 10 || text[2] != '/' || text[5] != '/') return std::nullopt;
  const std::string_view day = text.substr(0, 2), month = text.substr(3, 2), year = text.substr(6, 4);
  if (!IsAllDigits(day) || !IsAllDigits(month) || !IsAllDigits(year)) return std::nullopt;
  CivilDate date{static_cast<int>(StrToInt(year)), static_cast<int>(StrToInt(month)), static_cast<int>(StrToInt(day))};
  if (!IsRealDate(date)) return std::nullopt;
  return date;
}

int Usage(std::ostream& err, std::string_view problem) {
  err << "verilote-cli: " << problem << "\n(see verilote-cli --help)\n";
  return kExitUsage;
}

std::optional<std::string> TakeOptionValue(std::span<const std::string_view> args, std::size_t& i,
                                           std::string_view& option) {
  if (const std::size_t eq = option.find('='); eq != std::string_view::npos) {
    std::string value(option.substr(eq + 1));
    option = option.substr(0, eq);
    return value;
  }
  if (i + 1 == args.size()) return std::nullopt;
  return std::string(args[++i]);
}

bool SameFile(const std::string& a, const std::string& b) { return platform::SameFile(a, b); }

std::string PathText(std::string_view path) {
  for (std::size_t i = 0; i < path.size();)
    if (!DecodeStrictUtf8(path, i)) return ToUtf8(path);
  return std::string(path);
}

std::string TerminalText(std::string_view cp1252, std::span<const std::string> names) {
  std::string out;
  out.reserve(cp1252.size() + cp1252.size() / 8);
  for (std::size_t at = 0; at < cp1252.size();) {
    // The first quoted name from here; an ASCII name reads the same either way.
    std::size_t next = cp1252.size();
    const std::string* quoted = nullptr;
    for (const std::string& name : names) {
      if (name.empty() || std::all_of(name.begin(), name.end(), [](char c) { return (c & 0x80) == 0; })) continue;
      if (const std::size_t found = cp1252.find(name, at); found < next) {
        next = found;
        quoted = &name;
      }
    }
    AppendUtf8(out, cp1252.substr(at, next - at));
    if (quoted == nullptr) break;
    out += PathText(*quoted);
    at = next + quoted->size();
  }
  return out;
}

namespace {

constexpr std::string_view kUsage = R"(Usage:
  verilote-cli list
  verilote-cli check [--layout NAME] [--format text|json|junit] [--report-dir DIR] FILE...
  verilote-cli show FILE --record N [--layout NAME] [--format text|json]
  verilote-cli retorno FILE [--remessa REMESSA] [--format text|json|csv]
  verilote-cli run HANDLER [--file PATH]... [--answer TEXT]... [--report FILE]
                           [--encoding utf-8|cp1252] [--today DD/MM/YYYY]
  verilote-cli --help

list    prints every command of the menu: whether it is ready, its handler,
        and its menu path and caption.
check   detects the layout of each FILE and runs its validator; see
        verilote-cli check --help.
show    shows record N of FILE field by field (code, positions, name,
        value) through its layout's field dictionary, marking the fields the
        validator's findings name; see verilote-cli show --help.
retorno reads a return file of the bank in words, optionally tied back to
        the remittance it answers; see verilote-cli retorno --help.
run     runs the command named by its handler (as `list` shows it).
  --file PATH      answers the command's next file dialog. A dialog with no
                   file left, or a file no dialog asked for, is a usage error.
  --answer TEXT    answers the command's next input box; an input box with no
                   answer left gets its default, as Cancel does in the window.
                   An answer left unused is warned about on stderr.
  --report FILE    also writes the final report to FILE as the window's
                   "Copia tela para arquivo novo" does (Windows-1252, CR LF);
                   FILE must not be an input, a file the command reads or
                   writes by itself, nor one of the program's own files.
  --encoding E     utf-8 (default): report lines, messages and answers are
                   converted between UTF-8 and Windows-1252; cp1252: bytes
                   pass unchanged.
  --today DATE     the date the command takes as today (default: the clock).
Every option also takes the form --option=VALUE.

Report lines go to stdout as they are written; message boxes and errors go
to stderr. A validator given a file with no record exits 1. On a terminal,
control bytes show as marks (ESC as ^[, BEL as ^G, as cat -v shows them);
files and pipes get the bytes unchanged.

Exit status:
  0  the command ran and found nothing wrong
  1  the command ran and found faults in its input (a validator wrote
     findings, a barcode is invalid)
  2  wrong usage: unknown or unavailable handler, bad option, a file dialog
     with no --file left, a --file no dialog asked for (unless the run was
     aborted), a report file the run reads or writes
  3  the command was aborted by a conversion or file error (the error on
     stderr, the report lines written before it on stdout), or the report
     could not be written
)";

struct Options {
  std::string handler;
  std::deque<std::string> files;
  std::deque<std::string> answers;
  std::optional<std::string> reportPath;
  bool utf8 = true;
  std::optional<CivilDate> today;
  // The file names of the command line and the program's directories that
  // hold other than ASCII, in the system's encoding: quoted in report lines,
  // they are shown unchanged.
  std::vector<std::string> names;
};

// The files a command opens or creates besides those its file dialogs hand
// it, all known before it runs: fixed names beside the program (in the
// directory ChooseOutputDirectory picks: the program's, or the user's data
// directory), a fixed name beside the first file chosen, or the name typed
// in its first input box, beside the program.
struct CommandFiles {
  std::string_view handler;
  std::array<std::string_view, 3> besideProgram{};
  std::string_view besideFirstFile;
  bool typedBesideProgram = false;
};

constexpr CommandFiles kCommandFiles[] = {
    {"ValidaBDcobcaixacolistageCAIXA1Click", {"titu.txt", "tbTitulos.txt", "Titulos.txt"}, {}, false},
    {"Sacados2Click", {"sacados.txt"}, {}, false},
    {"Ttulos2Click", {"titulos.txt"}, {}, false},
    {"GeraarquivoparaImportaoapartirderemessa1Click", {}, kSiaccImportName, false},
    {"Copiaparaarquivonovo1Click", {}, {}, true},
};

// The directories a command may take as "beside the program".
std::vector<std::string> ProgramDirectories() {
  std::vector<std::string> directories = {platform::ProgramDirectory()};
  try {
    directories.push_back(platform::UserDataDirectory());
  } catch (const FileError&) {
    // No user data directory: the program's is the only one.
  }
  return directories;
}

// What the report file would destroy or be read back as: an input, a file the
// command reads or writes by itself, or one of the program's own files.
std::optional<std::string> ReportClash(const Options& options) {
  const std::string& report = *options.reportPath;
  for (const std::string& input : options.files)
    if (platform::SameFile(report, input)) return "the input file '" + input + "'";
  const std::vector<std::string> programDirectories = ProgramDirectories();
  if (IsProgramFile(report, programDirectories.front())) return std::string("one of the program's own files");
  for (const CommandFiles& command : kCommandFiles) {
    if (command.handler != options.handler) continue;
    const std::string what = "a file the command reads or writes";
    for (const std::string& directory : programDirectories) {
      for (const std::string_view name : command.besideProgram)
        if (!name.empty() && IsFileBeside(report, directory, name))
          return Cat(what, " ('", name, "' beside the program)");
      if (command.typedBesideProgram && !options.answers.empty() &&
          IsFileBeside(report, directory, options.answers.front()))
        return Cat(what, " ('", options.answers.front(), "' beside the program)");
    }
    if (!command.besideFirstFile.empty() && !options.files.empty()) {
      const std::filesystem::path folder = platform::PathOf(options.files.front()).parent_path();
      if (IsFileBeside(report, folder.empty() ? "." : platform::Utf8Of(folder), command.besideFirstFile))
        return Cat(what, " ('", command.besideFirstFile, "' beside '", options.files.front(), "')");
    }
  }
  return std::nullopt;
}

using AsciiBytes = ByteSet<ByteRange{0x00, 0x7F}>;

// Report lines go to stdout as they come and, with --report, to the report's
// work file beside its target: nothing of the report stays in memory. The
// report commands that read the report back ("Copia tela...") read that work
// file; without --report a run's report lives on stdout only and they find it
// empty, as every CLI run starts with an empty report.
class CliHost final : public Host {
 public:
  CliHost(Options& options, std::ostream& out, std::ostream& err) : options_(options), out_(out), err_(err) {
    if (options_.reportPath) report_.emplace(*options_.reportPath);
  }

  std::string InputBox(std::string_view, std::string_view, std::string_view defaultText) override {
    if (options_.answers.empty()) return std::string(defaultText);
    std::string answer = std::move(options_.answers.front());
    options_.answers.pop_front();
    return options_.utf8 ? FromUtf8(answer) : answer;
  }

  std::optional<std::string> OpenFile(std::string_view title, FileFilter) override {
    if (options_.files.empty()) {
      if (!unansweredDialog_) unansweredDialog_ = std::string(title);
      return std::nullopt;
    }
    std::string path = std::move(options_.files.front());
    options_.files.pop_front();
    opened_.push_back(path);
    return path;
  }

  void ShowMessage(std::string_view text) override {
    WriteOut();  // the report lines before the message
    std::string shown(text);
    for (char& c : shown)
      if (c == '\r') c = '\n';
    err_ << Encode(shown) << '\n';
  }

  void ReportClear() override {
    if (report_) report_->Clear();
  }

  void ReportAppend(std::string_view line) override {
    // The line and its line feed join the lines not yet written, which go to
    // stdout some 64 KiB at a time; most report lines are ASCII, the same in
    // both encodings, and are copied without conversion.
    if (options_.utf8 && AsciiBytes::AnyOutside(line)) {
      if (options_.names.empty())
        AppendUtf8(encoded_, line);
      else
        encoded_ += TerminalText(line, options_.names);
    } else {
      encoded_ += line;
    }
    encoded_ += '\n';
    if (encoded_.size() >= kOutputBlock) WriteOut();
    if (report_) report_->WriteLine(line);
  }

  std::vector<std::string> ReportLines() override {
    std::vector<std::string> lines;
    if (report_) report_->ReadLines([&lines](std::string_view line) { lines.emplace_back(line); });
    return lines;
  }

  std::string ProgramDirectory() override { return platform::ProgramDirectory(); }

  CivilDate Today() override {
    if (options_.today) return *options_.today;
    const std::tm local = platform::LocalTime(std::time(nullptr));
    return {local.tm_year + 1900, local.tm_mon + 1, local.tm_mday};
  }

  void Sleep(int milliseconds) override { std::this_thread::sleep_for(std::chrono::milliseconds(milliseconds)); }

  // Writes the report lines not yet written to stdout.
  void WriteOut() {
    out_.write(encoded_.data(), static_cast<std::streamsize>(encoded_.size()));
    encoded_.clear();
  }

  std::string Encode(std::string_view bytes) const {
    return options_.utf8 ? TerminalText(bytes, options_.names) : std::string(bytes);
  }

  // The title of the first file dialog that found no --file left.
  const std::optional<std::string>& UnansweredDialog() const { return unansweredDialog_; }
  // The files handed to the command's dialogs.
  const std::vector<std::string>& Opened() const { return opened_; }
  std::optional<ReplacingFile>& Report() { return report_; }

 private:
  Options& options_;
  std::ostream& out_;
  std::ostream& err_;
  static constexpr std::size_t kOutputBlock = 64 * 1024;
  std::string encoded_;  // the report lines not yet written to stdout, as written
  std::optional<ReplacingFile> report_;
  std::optional<std::string> unansweredDialog_;
  std::vector<std::string> opened_;
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

// A file the command opened that holds no record at all (empty, or a Ctrl+Z
// first): a validator given it has checked nothing.
std::optional<std::string> EmptyInput(const std::vector<std::string>& opened) {
  for (const std::string& path : opened) {
    try {
      RecordReader reader(path);
      std::string_view record;
      if (!reader.Next(record)) return path;
    } catch (const FileError&) {
      // Reported by the command itself.
    }
  }
  return std::nullopt;
}

int Run(Options& options, std::ostream& out, std::ostream& err) {
  const MenuRow* row = FindRow(options.handler);
  if (row == nullptr) return Usage(err, "unknown handler '" + options.handler + "'");
  if (row->scope == Scope::Window) return Usage(err, "'" + options.handler + "' runs only in the window");
  const Handler handler = FindHandler(options.handler);
  if (handler == nullptr) return Usage(err, "'" + options.handler + "' is not built yet");
  if (options.reportPath)
    if (const auto clash = ReportClash(options))
      return Usage(err, "the report file '" + *options.reportPath + "' is " + *clash + ": refused, nothing written");

  std::vector<std::string> names(options.files.begin(), options.files.end());
  if (options.reportPath) names.push_back(*options.reportPath);
  for (std::string& directory : ProgramDirectories()) names.push_back(std::move(directory));
  for (std::string& name : names)
    if (AsciiBytes::AnyOutside(name)) options.names.push_back(std::move(name));
  std::optional<CliHost> host;
  try {
    host.emplace(options, out, err);
  } catch (const FileError& e) {
    err << TerminalText(e.what(), options.names) << '\n';
    return kExitAborted;
  }
  const Outcome outcome = RunCommand(handler, *host);
  host->WriteOut();
  out.flush();
  int status = outcome.status == Outcome::Status::Clean    ? kExitClean
               : outcome.status == Outcome::Status::Faulty ? kExitFaulty
                                                           : kExitAborted;
  if (outcome.status == Outcome::Status::Aborted) {
    // The error alone: a --file or --answer left unused is the abort's doing.
    err << host->Encode(outcome.message) << '\n';
  } else if (host->UnansweredDialog()) {
    return Usage(err, "no --file left for the dialog '" + ToUtf8(*host->UnansweredDialog()) + "'");
  } else if (!options.files.empty()) {
    return Usage(err, "--file '" + options.files.front() + "' was not asked for: that file was not checked");
  } else {
    for (const std::string& answer : options.answers)
      err << "verilote-cli: warning: --answer '" << answer << "' was not asked for\n";
  }
  if (status == kExitClean && row->path.starts_with("&Validar"))
    if (const auto empty = EmptyInput(host->Opened())) {
      err << "verilote-cli: '" << *empty << "' holds no record: nothing was checked\n";
      status = kExitFaulty;
    }
  if (!out) {
    err << "verilote-cli: cannot write the report to standard output\n";
    status = kExitAborted;
  }
  if (host->Report()) {
    try {
      host->Report()->Commit();
    } catch (const FileError& e) {
      err << host->Encode(e.what()) << '\n';
      status = kExitAborted;
    }
  }
  return status;
}

}  // namespace

namespace {

int Dispatch(std::span<const std::string_view> args, std::ostream& out, std::ostream& err, ControlMarks* outMarks,
             ControlMarks* errMarks) {
  if (args.empty()) return Usage(err, "missing command");
  if (args[0] == "--help" || args[0] == "-h" || args[0] == "help") {
    out << kUsage;
    return kExitClean;
  }
  if (args[0] == "list") {
    if (args.size() != 1) return Usage(err, "list takes no arguments");
    platform::SetConsoleEncoding(true);
    return List(out);
  }
  if (args[0] == "check") {
    platform::SetConsoleEncoding(true);  // the output is UTF-8 text
    return CheckMain(args.subspan(1), out, err);
  }
  if (args[0] == "retorno") {
    platform::SetConsoleEncoding(true);  // the output is UTF-8 text
    return RetornoMain(args.subspan(1), out, err);
  }
  if (args[0] == "show") {
    platform::SetConsoleEncoding(true);  // the output is UTF-8 text
    return ShowMain(args.subspan(1), out, err);
  }
  if (args[0] != "run") return Usage(err, "unknown command '" + std::string(args[0]) + "'");
  if (args.size() < 2 || args[1].starts_with("--")) return Usage(err, "run needs a handler");

  Options options;
  options.handler = args[1];
  for (std::size_t i = 2; i < args.size(); ++i) {
    std::string_view option = args[i];
    std::string value;
    if (const std::size_t eq = option.find('='); option.starts_with("--") && eq != std::string_view::npos) {
      value = option.substr(eq + 1);
      option = option.substr(0, eq);
    } else if (i + 1 == args.size()) {
      return Usage(err, "option '" + std::string(option) + "' needs a value");
    } else {
      value = args[++i];
    }
    if (option == "--file") {
      options.files.push_back(value);
    } else if (option == "--answer") {
      options.answers.push_back(value);
    } else if (option == "--report") {
      if (value.empty()) return Usage(err, "--report needs a file name");
      options.reportPath = value;
    } else if (option == "--encoding") {
      if (value != "utf-8" && value != "cp1252") return Usage(err, "encoding must be utf-8 or cp1252");
      options.utf8 = value == "utf-8";
    } else if (option == "--today") {
      options.today = ParseToday(value);
      if (!options.today) return Usage(err, "--today needs a date DD/MM/YYYY");
    } else {
      return Usage(err, "unknown option '" + std::string(option) + "'");
    }
  }
  platform::SetConsoleEncoding(options.utf8);
  for (ControlMarks* marks : {outMarks, errMarks})
    if (marks != nullptr) marks->SetUtf8(options.utf8);
  return Run(options, out, err);
}

}  // namespace

int CliMain(std::span<const std::string_view> args, std::ostream& out, std::ostream& err, Terminals terminals) {
  // A record or a file name may hold ESC ]0;...BEL or ESC [2J: on a terminal
  // they would retitle or clear it. Files and pipes get the bytes unchanged.
  std::optional<ControlMarks> outMarks, errMarks;
  std::optional<std::ostream> markedOut, markedErr;
  if (terminals.out) markedOut.emplace(&outMarks.emplace(out.rdbuf(), true));
  if (terminals.err) markedErr.emplace(&errMarks.emplace(err.rdbuf(), true));
  const int status = Dispatch(args, markedOut ? *markedOut : out, markedErr ? *markedErr : err,
                              outMarks ? &*outMarks : nullptr, errMarks ? &*errMarks : nullptr);
  for (std::optional<std::ostream>* marked : {&markedOut, &markedErr})
    if (*marked) (*marked)->flush();
  if (markedOut && !*markedOut) out.setstate(std::ios::badbit);
  return status;
}

void RemoveWorkFilesOnSignals() { platform::OnInterrupt(RemoveActiveWorkFiles); }

}  // namespace verilote
