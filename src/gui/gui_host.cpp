#include "gui/gui_host.hpp"

#include <QMetaObject>

#include "gui/main_window.hpp"
#include "gui/qt_text.hpp"

namespace verilote::gui {

namespace {

// Runs `ask` on the window's thread and waits for its answer.
template <typename Ask>
auto OnWindowThread(MainWindow& window, Ask ask) {
  decltype(ask()) answer{};
  QMetaObject::invokeMethod(
      &window, [&] { answer = ask(); }, Qt::BlockingQueuedConnection);
  return answer;
}

}  // namespace

std::string GuiQuestions::InputBox(std::string_view caption, std::string_view prompt, std::string_view defaultText) {
  const QString answer = OnWindowThread(
      window_, [&] { return window_.AskText(FromCp1252(caption), FromCp1252(prompt), FromCp1252(defaultText)); });
  return ToCp1252(answer);
}

std::optional<std::string> GuiQuestions::OpenFile(std::string_view title, FileFilter filter) {
  const std::optional<QString> path =
      OnWindowThread(window_, [&] { return window_.AskFile(FromCp1252(title), filter); });
  // A path names a file of the file system: it goes in the file system's own
  // encoding, not in Windows-1252.
  if (!path) return std::nullopt;
  return PathBytes(*path);
}

std::optional<std::size_t> GuiQuestions::ChooseItem(std::string_view caption, std::string_view prompt,
                                                    const std::vector<std::string>& items) {
  QStringList shown;
  for (const std::string& item : items) shown << FromCp1252(item);
  const std::optional<int> chosen =
      OnWindowThread(window_, [&] { return window_.AskItem(FromCp1252(caption), FromCp1252(prompt), shown); });
  if (!chosen) return std::nullopt;
  return static_cast<std::size_t>(*chosen);
}

void GuiQuestions::ShowMessage(std::string_view text) {
  OnWindowThread(window_, [&] {
    window_.Tell(FromCp1252(text));
    return 0;
  });
}

void GuiQuestions::Finished(const Outcome& outcome) {
  QMetaObject::invokeMethod(
      &window_, [this, outcome] { window_.FinishCommand(outcome); }, Qt::QueuedConnection);
}

}  // namespace verilote::gui
