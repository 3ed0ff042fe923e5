#include "desk/command_runner.hpp"

#include <chrono>
#include <ctime>

#include "app/errors.hpp"
#include "app/platform.hpp"
#include "app/report.hpp"
#include "desk/report_store.hpp"
#include "detect/detect_command.hpp"

namespace verilote {

std::string_view StoppedLine() {
  static const std::string kLine = CommandStopped().what();
  return kLine;
}

std::string_view ReportCutLine() {
  // clang-format off
  static constexpr std::string_view kLine =
      "Relatório incompleto: não foi possível guardar o relatório inteiro na pasta temporária. As linhas acima foram mantidas."_cp;
  // clang-format on
  return kLine;
}

// The host of one run: report lines into the store, questions to the window,
// a stop requested by the user thrown at the next call.
class CommandRunner::RunHost final : public Host {
 public:
  explicit RunHost(CommandRunner& runner) : runner_(runner), file_(runner.findings_.FileNumber("")) {}

  // The file the findings are about: the last one a file dialog gave.
  void NoteFile(std::string_view path) { file_ = runner_.findings_.FileNumber(path); }

  // A question is open from before it is asked until it is answered; a stop
  // requested meanwhile is thrown on both sides of it.
  template <typename Ask>
  auto Asking(Ask ask) {
    ThrowIfStopped();
    struct Open {
      explicit Open(std::atomic<int>& count) : count_(count) { ++count_; }
      ~Open() { --count_; }
      std::atomic<int>& count_;
    } open(runner_.asking_);
    auto answer = ask();
    ThrowIfStopped();
    return answer;
  }

  std::string InputBox(std::string_view caption, std::string_view prompt, std::string_view defaultText) override {
    return Asking([&] { return runner_.window_.InputBox(caption, prompt, defaultText); });
  }
  std::optional<std::string> OpenFile(std::string_view title, FileFilter filter) override {
    auto path = Asking([&] { return runner_.window_.OpenFile(title, filter); });
    if (path) NoteFile(*path);
    return path;
  }
  std::optional<std::size_t> ChooseItem(std::string_view caption, std::string_view prompt,
                                        const std::vector<std::string>& items) override {
    return Asking([&] { return runner_.window_.ChooseItem(caption, prompt, items); });
  }
  void ShowMessage(std::string_view text) override {
    Asking([&] {
      runner_.window_.ShowMessage(text);
      return true;
    });
  }
  void ReportClear() override {
    ThrowIfStopped();
    runner_.store_.Clear();
    runner_.findings_.Clear(runner_.store_.Generation());
  }
  void ReportAppend(std::string_view line) override {
    ThrowIfStopped();
    runner_.store_.Append(line);
  }
  void ReportFinding(const Finding& finding) override {
    ThrowIfStopped();
    const ReportStore::Placed placed = runner_.store_.Append(finding.line);
    runner_.findings_.Add(placed.generation, placed.line, finding, file_);
  }
  std::vector<std::string> ReportLines() override {
    std::vector<std::string> lines;
    ForEachReportLine([&lines](std::string_view line) { lines.emplace_back(line); });
    return lines;
  }
  void ForEachReportLine(const std::function<void(std::string_view)>& line) override {
    runner_.store_.ForEach(0, UINT64_MAX, [&](std::uint64_t, std::string_view text) {
      line(text);
      return !runner_.StopRequested();
    });
    ThrowIfStopped();
  }
  std::string ProgramDirectory() override { return runner_.programDirectory_; }
  CivilDate Today() override {
    if (runner_.today_) return *runner_.today_;
    const std::tm local = platform::LocalTime(std::time(nullptr));
    return {local.tm_year + 1900, local.tm_mon + 1, local.tm_mday};
  }
  void Sleep(int milliseconds) override {
    // In short steps, so that Stop is heard within a tenth of a second.
    const auto until = std::chrono::steady_clock::now() + std::chrono::milliseconds(milliseconds);
    for (auto now = std::chrono::steady_clock::now(); now < until; now = std::chrono::steady_clock::now()) {
      ThrowIfStopped();
      std::this_thread::sleep_for(
          std::min<std::chrono::steady_clock::duration>(until - now, std::chrono::milliseconds(100)));
    }
    ThrowIfStopped();
  }
  void Progress(std::uint64_t bytesRead, std::uint64_t bytesTotal) override {
    runner_.bytesRead_.store(bytesRead);
    runner_.bytesTotal_.store(bytesTotal);
    ThrowIfStopped();
  }

 private:
  void ThrowIfStopped() const {
    if (runner_.StopRequested()) throw CommandStopped();
  }

  CommandRunner& runner_;
  std::uint32_t file_;
};

CommandRunner::CommandRunner(ReportStore& store, WindowQuestions& window, std::string programDirectory)
    : store_(store), window_(window), programDirectory_(std::move(programDirectory)), findings_(store.FileMaker()) {}

CommandRunner::~CommandRunner() {
  RequestStop();
  Join();
}

bool CommandRunner::Start(Handler handler, std::optional<std::string> answeredFile) {
  if (Alive()) return false;
  stop_ = false;
  done_ = false;
  asking_ = 0;
  bytesRead_ = 0;
  bytesTotal_ = 0;
  startGeneration_ = store_.Generation();
  startSize_ = store_.Size();
  worker_ = std::thread([this, handler, answeredFile = std::move(answeredFile)] {
    RunHost host(*this);
    std::optional<AnsweredFileHost> dropped;
    if (answeredFile) {
      host.NoteFile(*answeredFile);
      dropped.emplace(host, *answeredFile);
    }
    const bool wasWhole = FailureCause().empty();
    Outcome outcome = dropped ? RunCommand(handler, *dropped) : RunCommand(handler, host);
    if (StopRequested() && outcome.status == Outcome::Status::Aborted) {
      try {
        store_.Append(StoppedLine());
      } catch (const FileError& e) {
        outcome.message += "\n" + std::string(e.what());
      }
    }
    // A run that could not keep its report whole ends on the line that says
    // so, and as a failure, whatever the command made of the error. A report
    // cut before the run says so already, unless the run cleared it.
    const bool cutHere = wasWhole || store_.Generation() != startGeneration_;
    if (const std::string cause = FailureCause(); cutHere && !cause.empty()) {
      store_.AppendKept(ReportCutLine());
      const std::string why = outcome.status == Outcome::Status::Aborted ? outcome.message : cause;
      outcome = {Outcome::Status::Aborted, Cat(ReportCutLine(), "\n", why)};
    }
    done_ = true;
    window_.Finished(outcome);
  });
  return true;
}

bool CommandRunner::Join() {
  if (!worker_.joinable()) return false;
  worker_.join();
  return true;
}

std::string CommandRunner::FailureCause() const {
  std::string cause = store_.Failure();
  return cause.empty() ? findings_.Failure() : cause;
}

std::uint64_t CommandRunner::FirstLine() const { return store_.Generation() == startGeneration_ ? startSize_ : 0; }

}  // namespace verilote
