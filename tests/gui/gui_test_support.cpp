#include "gui_test_support.hpp"

#include <QAbstractButton>
#include <QAction>
#include <QApplication>
#include <QFile>
#include <QInputDialog>
#include <QMessageBox>
#include <QSignalSpy>
#include <QTest>
#include <QTimer>

namespace verilote::gui::testing {

namespace {

constexpr const char* kHandled = "verilote_test_handled";

std::optional<int> WaitForEnd(MainWindow& window, const std::function<bool()>& start) {
  QSignalSpy finished(&window, &MainWindow::CommandFinished);
  if (!start() || !finished.wait(20000)) return std::nullopt;
  return finished.at(0).at(0).toInt();
}

}  // namespace

ModalScript::ModalScript(std::deque<Step> steps) : steps_(std::move(steps)) {
  auto* timer = new QTimer(this);
  connect(timer, &QTimer::timeout, this, &ModalScript::Poll);
  timer->start(10);
}

void ModalScript::Poll() {
  QWidget* modal = QApplication::activeModalWidget();
  if (modal == nullptr || steps_.empty() || modal->property(kHandled).toBool() || !modal->isVisible()) return;
  modal->setProperty(kHandled, true);
  if (auto* box = qobject_cast<QMessageBox*>(modal)) {
    seen << box->windowTitle() + QLatin1Char('|') + box->text();
  } else if (auto* input = qobject_cast<QInputDialog*>(modal)) {
    seen << input->windowTitle() + QLatin1Char('|') + input->labelText() + QLatin1Char('|') + input->textValue();
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

ModalScript::Step Accept() {
  return [](QWidget* w) { qobject_cast<QDialog*>(w)->accept(); };
}

ModalScript::Step Click(int button) {
  return [button](QWidget* w) {
    auto* box = qobject_cast<QMessageBox*>(w);
    QVERIFY2(box != nullptr && box->button(QMessageBox::StandardButton(button)) != nullptr, "expected that button");
    box->button(QMessageBox::StandardButton(button))->click();
  };
}

std::optional<int> RunToEnd(MainWindow& window, Handler handler) {
  return WaitForEnd(window, [&] { return window.StartCommand(handler); });
}

std::optional<int> TriggerToEnd(MainWindow& window, std::string_view handler) {
  QAction* action = window.ActionOf(handler);
  return WaitForEnd(window, [&] {
    if (action == nullptr || !action->isEnabled()) return false;
    action->trigger();
    return true;
  });
}

std::string ReadBytes(const QString& path) {
  QFile file(path);
  if (!file.open(QIODevice::ReadOnly)) return "<cannot open " + path.toStdString() + ">";
  return file.readAll().toStdString();
}

void Touch(const QString& path) {
  QFile file(path);
  if (file.open(QIODevice::WriteOnly | QIODevice::Truncate)) file.write("x");
}

}  // namespace verilote::gui::testing
