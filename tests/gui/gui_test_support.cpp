#include "gui_test_support.hpp"

#include <QAction>
#include <QApplication>
#include <QFile>
#include <QFileDialog>
#include <QInputDialog>
#include <QMessageBox>
#include <QSignalSpy>
#include <QTest>
#include <QTimer>

#include "gui/main_window.hpp"

namespace verilote::gui::testing {

namespace {
constexpr const char* kHandled = "verilote_test_handled";
}

ModalScript::ModalScript(std::deque<Step> steps) : steps_(std::move(steps)), timer_(new QTimer(this)) {
  connect(timer_, &QTimer::timeout, this, &ModalScript::Poll);
  timer_->start(10);
}

ModalScript::~ModalScript() = default;

void ModalScript::Poll() {
  QWidget* modal = QApplication::activeModalWidget();
  if (modal == nullptr || steps_.empty() || modal->property(kHandled).toBool() || !modal->isVisible()) return;
  modal->setProperty(kHandled, true);
  if (auto* box = qobject_cast<QMessageBox*>(modal)) {
    seen << box->windowTitle() + QLatin1Char('|') + box->text();
  } else if (auto* input = qobject_cast<QInputDialog*>(modal)) {
    seen << input->windowTitle() + QLatin1Char('|') + input->labelText() + QLatin1Char('|') + input->textValue();
  } else if (auto* files = qobject_cast<QFileDialog*>(modal)) {
    seen << files->windowTitle() + QLatin1Char('|') + files->selectedNameFilter();
  }
  Step step = std::move(steps_.front());
  steps_.pop_front();
  step(modal);
}

ModalScript::Step Answer(const QString& text) {
  return [text](QWidget* w) {
    auto* input = qobject_cast<QInputDialog*>(w);
    QVERIFY2(input != nullptr, "expected an input box");
    input->setTextValue(text);
    input->accept();
  };
}

ModalScript::Step Reject() {
  return [](QWidget* w) { qobject_cast<QDialog*>(w)->reject(); };
}

ModalScript::Step Accept() {
  return [](QWidget* w) { qobject_cast<QDialog*>(w)->accept(); };
}

ModalScript::Step ChooseFile(const QString& path) {
  return [path](QWidget* w) {
    auto* files = qobject_cast<QFileDialog*>(w);
    QVERIFY2(files != nullptr, "expected a file dialog");
    files->selectFile(path);
    static_cast<QDialog*>(files)->accept();
  };
}

std::optional<int> RunToEnd(MainWindow& window, Handler handler, int timeoutMs) {
  QSignalSpy finished(&window, &MainWindow::CommandFinished);
  if (!window.StartCommand(handler)) return std::nullopt;
  if (!finished.wait(timeoutMs)) return std::nullopt;
  return finished.at(0).at(0).toInt();
}

std::optional<int> TriggerToEnd(MainWindow& window, std::string_view handler, int timeoutMs) {
  QAction* action = window.ActionOf(handler);
  if (action == nullptr || !action->isEnabled()) return std::nullopt;
  QSignalSpy finished(&window, &MainWindow::CommandFinished);
  action->trigger();
  if (!finished.wait(timeoutMs)) return std::nullopt;
  return finished.at(0).at(0).toInt();
}

ShownWindow::ShownWindow() {
  window = std::make_unique<MainWindow>(WindowOptions{programDirectory.path()});
  window->show();
}

ShownWindow::~ShownWindow() = default;

std::string ReadBytes(const QString& path) {
  QFile file(path);
  if (!file.open(QIODevice::ReadOnly)) return "<cannot open " + path.toStdString() + ">";
  return file.readAll().toStdString();
}

void WriteBytes(const QString& path, const std::string& bytes) {
  QFile file(path);
  if (file.open(QIODevice::WriteOnly | QIODevice::Truncate))
    file.write(bytes.data(), static_cast<qint64>(bytes.size()));
}

std::map<std::string, TestFactory>& TestRegistry() {
  static std::map<std::string, TestFactory> registry;
  return registry;
}

}  // namespace verilote::gui::testing
