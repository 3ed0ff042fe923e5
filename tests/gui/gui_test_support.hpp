// Helpers for the window's Qt Test suites: a scripted hand for the modal
// dialogs no one can click under the offscreen platform, scratch directories,
// and running a command to its end.
#pragma once

#include <QObject>
#include <QString>
#include <QStringList>
#include <QTemporaryDir>
#include <deque>
#include <functional>
#include <memory>
#include <optional>
#include <string>

#include "app/command_table.hpp"
#include "gui/main_window.hpp"

namespace verilote::gui::testing {

// Acts on the modal dialogs as they open, one step per dialog, in order, and
// records what each showed: "title|text" of message boxes, "title|label|default"
// of input boxes.
class ModalScript : public QObject {
 public:
  using Step = std::function<void(QWidget*)>;
  explicit ModalScript(std::deque<Step> steps);
  QStringList seen;

 private:
  void Poll();
  std::deque<Step> steps_;
};

ModalScript::Step Answer(const QString& text);  // input box: type and OK
ModalScript::Step Accept();                     // any dialog: OK
ModalScript::Step Click(int button);            // message box: that QMessageBox::StandardButton

// Runs a command in the window, or the one behind a menu action, and waits
// for its end. Returns its status (Outcome::Status as int), or nothing when it
// did not end in time.
std::optional<int> RunToEnd(MainWindow& window, Handler handler);
std::optional<int> TriggerToEnd(MainWindow& window, std::string_view handler);

// A window on a scratch program directory, shown, with its start-up done.
struct ShownWindow {
  QTemporaryDir programDirectory;
  std::unique_ptr<MainWindow> window = std::make_unique<MainWindow>(WindowOptions{programDirectory.path()});
  ShownWindow() { window->show(); }
};

// The whole content of a file, as bytes; a new file of one byte.
std::string ReadBytes(const QString& path);
void Touch(const QString& path);

}  // namespace verilote::gui::testing
