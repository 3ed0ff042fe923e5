// What every window does the same way when it runs a core command: the command
// runs on a worker thread and writes its lines straight into the window's
// ReportStore; its progress and the user's Stop travel through atomics; its
// modal questions (input box, file dialog, message) go to the window, which
// answers them on its own thread while the worker waits. A window adds the
// drawing and the dialogs, nothing else.
#pragma once

#include <atomic>
#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <thread>
#include <vector>

#include "app/command_table.hpp"
#include "desk/finding_index.hpp"
#include "app/host.hpp"

namespace verilote {

class ReportStore;

// The modal side of a window. Called on the worker thread; each call returns
// once the window has asked the user on its own thread.
class WindowQuestions {
 public:
  virtual ~WindowQuestions() = default;
  virtual std::string InputBox(std::string_view caption, std::string_view prompt, std::string_view defaultText) = 0;
  virtual std::optional<std::string> OpenFile(std::string_view title, FileFilter filter) = 0;
  virtual std::optional<std::size_t> ChooseItem(std::string_view caption, std::string_view prompt,
                                                const std::vector<std::string>& items) = 0;
  virtual void ShowMessage(std::string_view text) = 0;
  // The command has ended (worker thread): the window calls Join() on its own
  // thread, then shows the outcome.
  virtual void Finished(const Outcome& outcome) = 0;
};

// Written at the end of the report of a run the user stopped, as the box says,
// so that a saved copy is never taken for a whole report.
std::string_view StoppedLine();

// Written at the end of a report that the temporary folder could not hold
// whole (its files could not be written): the lines above it are all kept,
// and the box says why, so that a saved copy is never taken for a whole one.
std::string_view ReportCutLine();

class CommandRunner {
 public:
  CommandRunner(ReportStore& store, WindowQuestions& window, std::string programDirectory);
  ~CommandRunner();  // stops and joins; the window must go on answering until then
  CommandRunner(const CommandRunner&) = delete;
  CommandRunner& operator=(const CommandRunner&) = delete;

  // Starts `handler` on the worker thread; false while another run is alive.
  // With `answeredFile`, the command's first file dialog is answered with it.
  bool Start(Handler handler, std::optional<std::string> answeredFile = std::nullopt);
  // Waits for the worker after Finished; true when there was one to wait for.
  bool Join();
  bool Alive() const { return worker_.joinable(); }
  bool Done() const { return done_.load(); }

  void RequestStop() { stop_.store(true); }
  bool StopRequested() const { return stop_.load(); }
  // True while the command waits for the user: the window shows no progress then.
  bool Asking() const { return asking_.load() > 0; }
  std::uint64_t BytesRead() const { return bytesRead_.load(); }
  std::uint64_t BytesTotal() const { return bytesTotal_.load(); }

  // The date the commands take as today, as the command line's --today
  // gives it; the clock's date when unset. Set it between runs only.
  void SetToday(std::optional<CivilDate> today) { today_ = today; }

  // The first line this run wrote: the window shows from there when the run
  // ends and its lines do not fit.
  std::uint64_t FirstLine() const;

  // The findings among the report's lines, as the runs wrote them.
  const FindingIndex& Findings() const { return findings_; }

 private:
  class RunHost;
  // Whether the report or its findings could not be kept whole.
  std::string FailureCause() const;

  ReportStore& store_;
  WindowQuestions& window_;
  std::string programDirectory_;
  std::thread worker_;
  std::atomic<bool> stop_{false};
  std::atomic<bool> done_{true};
  std::atomic<int> asking_{0};
  std::atomic<std::uint64_t> bytesRead_{0};
  std::atomic<std::uint64_t> bytesTotal_{0};
  std::optional<CivilDate> today_;
  std::uint64_t startGeneration_ = 0;
  std::uint64_t startSize_ = 0;
  FindingIndex findings_;
};

}  // namespace verilote
