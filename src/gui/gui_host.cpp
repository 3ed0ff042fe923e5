#include "gui/gui_host.hpp"

#include <QDate>
#include <QFile>
#include <algorithm>
#include <chrono>
#include <iterator>
#include <thread>

#include "app/errors.hpp"
#include "gui/main_window.hpp"
#include "gui/qt_text.hpp"

namespace verilote::gui {

void CommandChannel::Append(std::string_view line) {
  std::unique_lock lock(mutex_);
  drained_.wait(lock, [this] { return pending_.size() < kMaxPending || stop_.load(); });
  pending_.emplace_back(line);
}

void CommandChannel::Clear() {
  const std::lock_guard lock(mutex_);
  pending_.clear();
  clearFirst_ = true;
}

void CommandChannel::SetProgress(std::uint64_t bytesRead, std::uint64_t bytesTotal) {
  bytesRead_.store(bytesRead);
  bytesTotal_.store(bytesTotal);
}

CommandChannel::Batch CommandChannel::Take(std::size_t most) {
  Batch batch;
  {
    const std::lock_guard lock(mutex_);
    batch.clearFirst = clearFirst_;
    clearFirst_ = false;
    const std::size_t count = std::min(most, pending_.size());
    batch.lines.reserve(count);
    std::move(pending_.begin(), pending_.begin() + static_cast<std::ptrdiff_t>(count), std::back_inserter(batch.lines));
    pending_.erase(pending_.begin(), pending_.begin() + static_cast<std::ptrdiff_t>(count));
  }
  drained_.notify_all();
  return batch;
}

void CommandChannel::RequestStop() {
  {
    const std::lock_guard lock(mutex_);
    stop_.store(true);
  }
  drained_.notify_all();
}

void CommandChannel::Reset() {
  const std::lock_guard lock(mutex_);
  pending_.clear();
  clearFirst_ = false;
  stop_.store(false);
  bytesRead_.store(0);
  bytesTotal_.store(0);
}

// Runs `ask` on the window's thread and waits for its answer.
template <typename Ask>
static auto OnWindowThread(MainWindow& window, Ask ask) {
  decltype(ask()) answer{};
  QMetaObject::invokeMethod(
      &window, [&] { answer = ask(); }, Qt::BlockingQueuedConnection);
  return answer;
}

std::string GuiHost::InputBox(std::string_view caption, std::string_view prompt, std::string_view defaultText) {
  ThrowIfStopped();
  const QString answer = OnWindowThread(
      window_, [&] { return window_.AskText(FromCp1252(caption), FromCp1252(prompt), FromCp1252(defaultText)); });
  ThrowIfStopped();
  return ToCp1252(answer);
}

std::optional<std::string> GuiHost::OpenFile(std::string_view title, FileFilter filter) {
  ThrowIfStopped();
  const std::optional<QString> path =
      OnWindowThread(window_, [&] { return window_.AskFile(FromCp1252(title), filter); });
  ThrowIfStopped();
  // A path names a file of the file system: it goes in the file system's own
  // encoding, not in Windows-1252.
  if (!path) return std::nullopt;
  return PathBytes(*path);
}

std::optional<std::size_t> GuiHost::ChooseItem(std::string_view caption, std::string_view prompt,
                                               const std::vector<std::string>& items) {
  ThrowIfStopped();
  QStringList shown;
  for (const std::string& item : items) shown << FromCp1252(item);
  const std::optional<int> chosen =
      OnWindowThread(window_, [&] { return window_.AskItem(FromCp1252(caption), FromCp1252(prompt), shown); });
  ThrowIfStopped();
  if (!chosen) return std::nullopt;
  return static_cast<std::size_t>(*chosen);
}

void GuiHost::ShowMessage(std::string_view text) {
  ThrowIfStopped();
  OnWindowThread(window_, [&] {
    window_.Tell(FromCp1252(text));
    return 0;
  });
}

void GuiHost::ReportClear() {
  ThrowIfStopped();
  channel_.Clear();
}

void GuiHost::ReportAppend(std::string_view line) {
  ThrowIfStopped();
  channel_.Append(line);
  ThrowIfStopped();
}

std::vector<std::string> GuiHost::ReportLines() {
  // The window only copies its text; cutting and converting it happen here.
  return ReportLinesOf(OnWindowThread(window_, [&] { return window_.ReportText(); }));
}

CivilDate GuiHost::Today() {
  const QDate today = QDate::currentDate();
  return {today.year(), today.month(), today.day()};
}

void GuiHost::Sleep(int milliseconds) {
  std::this_thread::sleep_for(std::chrono::milliseconds(milliseconds));
  ThrowIfStopped();
}

void GuiHost::Progress(std::uint64_t bytesRead, std::uint64_t bytesTotal) {
  channel_.SetProgress(bytesRead, bytesTotal);
  ThrowIfStopped();
}

void GuiHost::ThrowIfStopped() const {
  if (channel_.StopRequested()) throw CommandStopped();
}

}  // namespace verilote::gui
