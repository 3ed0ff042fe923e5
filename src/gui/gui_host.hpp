// How a command runs off the window's thread: the command talks to a GuiHost
// on its worker thread; report lines travel to the window in batches through
// a CommandChannel, and everything modal (input box, file dialog, message) is
// handed to the window's thread, which the worker waits for.
#pragma once

#include <QString>
#include <atomic>
#include <condition_variable>
#include <cstdint>
#include <deque>
#include <mutex>
#include <optional>
#include <string>
#include <vector>

#include "app/host.hpp"

namespace verilote::gui {

// Shared by the worker (producer) and the window (consumer) for one run.
class CommandChannel {
 public:
  // Worker side. Append waits while the window is far behind, so that a
  // command writing a million lines cannot outrun the screen without bound.
  void Append(std::string_view line);
  void Clear();
  void SetProgress(std::uint64_t bytesRead, std::uint64_t bytesTotal);
  bool StopRequested() const { return stop_.load(); }

  // Window side.
  struct Batch {
    bool clearFirst = false;
    std::vector<std::string> lines;
  };
  // The oldest lines waiting, at most `most` of them.
  Batch Take(std::size_t most);
  void RequestStop();
  void Reset();
  std::uint64_t BytesRead() const { return bytesRead_.load(); }
  std::uint64_t BytesTotal() const { return bytesTotal_.load(); }

  static constexpr std::size_t kMaxPending = 50000;

 private:
  std::mutex mutex_;
  std::condition_variable drained_;
  std::deque<std::string> pending_;
  bool clearFirst_ = false;
  std::atomic<bool> stop_{false};
  std::atomic<std::uint64_t> bytesRead_{0};
  std::atomic<std::uint64_t> bytesTotal_{0};
};

class MainWindow;

class GuiHost final : public Host {
 public:
  GuiHost(MainWindow& window, CommandChannel& channel, std::string programDirectory)
      : window_(window), channel_(channel), programDirectory_(std::move(programDirectory)) {}

  std::string InputBox(std::string_view caption, std::string_view prompt, std::string_view defaultText) override;
  std::optional<std::string> OpenFile(std::string_view title, FileFilter filter) override;
  std::optional<std::size_t> ChooseItem(std::string_view caption, std::string_view prompt,
                                        const std::vector<std::string>& items) override;
  void ShowMessage(std::string_view text) override;
  void ReportClear() override;
  void ReportAppend(std::string_view line) override;
  std::vector<std::string> ReportLines() override;
  std::string ProgramDirectory() override { return programDirectory_; }
  CivilDate Today() override;
  void Sleep(int milliseconds) override;
  void Progress(std::uint64_t bytesRead, std::uint64_t bytesTotal) override;

 private:
  void ThrowIfStopped() const;

  MainWindow& window_;
  CommandChannel& channel_;
  std::string programDirectory_;
};

}  // namespace verilote::gui
