#include "gui/screenshot.hpp"

#include <QApplication>
#include <QKeyEvent>
#include <QMenu>
#include <QMenuBar>
#include <QMessageBox>
#include <QPixmap>
#include <QScreen>
#include <QTimer>
#include <cstdio>

#include "gui/main_window.hpp"
#include "gui/qt_text.hpp"
#include "remittance/sigcb240.hpp"

namespace verilote::gui {

namespace {

void PressKey(int key) {
  QWidget* popup = QApplication::activePopupWidget();
  if (popup == nullptr) return;
  QKeyEvent press(QEvent::KeyPress, key, Qt::NoModifier);
  QApplication::sendEvent(popup, &press);
}

// Saves what the screen shows of `widget`'s window to `path`, says so and quits.
void SaveAndQuit(QWidget& widget, const QString& path) {
  const QRect frame = widget.frameGeometry();
  const QPixmap shot = widget.screen()->grabWindow(0, frame.x(), frame.y(), frame.width(), frame.height());
  const bool saved = shot.save(path, "PNG");
  std::fprintf(saved ? stdout : stderr, "%s %s\n", saved ? "saved" : "could not save", qPrintable(path));
  QApplication::exit(saved ? 0 : 1);
}

// Accepts the message boxes a command shows, as the user would.
void AcceptMessageBoxes(QObject& owner) {
  auto* answer = new QTimer(&owner);
  QObject::connect(answer, &QTimer::timeout, [] {
    if (auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget())) box->accept();
  });
  answer->start(20);
}

}  // namespace

void TakeScreenshotLater(MainWindow& window, const QString& path) {
  // Each step waits for the window system to map and paint the last one.
  QTimer::singleShot(800, &window, [&window] {
    window.activateWindow();
    window.menuBar()->setActiveAction(window.ValidarMenu()->menuAction());
  });
  QTimer::singleShot(1200, &window, [] {
    PressKey(Qt::Key_Down);   // Cobrança
    PressKey(Qt::Key_Right);  // opens it; SIGCB is its first item
    PressKey(Qt::Key_Right);  // opens SIGCB
  });
  QTimer::singleShot(2000, &window, [&window, path] { SaveAndQuit(window, path); });
}

void TakeScreenshotAfterRun(MainWindow& window, const QString& path, const QString& remittance) {
  AcceptMessageBoxes(window);
  QObject::connect(&window, &MainWindow::CommandFinished, &window, [&window, path] {
    QKeyEvent end(QEvent::KeyPress, Qt::Key_End, Qt::ControlModifier);
    QApplication::sendEvent(window.Report(), &end);
    QTimer::singleShot(1000, &window, [&window, path] { SaveAndQuit(window, path); });
  });
  QTimer::singleShot(800, &window, [&window, remittance] {
    window.activateWindow();
    window.StartCommand(SIGCBRemessa1Click, PathBytes(remittance));
  });
}

void TakeInspectorScreenshot(MainWindow& window, const QString& path, const QString& remittance, const QString& text) {
  AcceptMessageBoxes(window);
  QObject::connect(&window, &MainWindow::CommandFinished, &window, [&window, path, text] {
    const std::string wanted = ToCp1252(text);
    const std::uint64_t generation = window.Store().Generation();
    const FindingIndex& findings = window.Findings();
    std::optional<std::uint64_t> line = findings.Of(generation, 0) ? 0 : findings.NextLine(generation, 0);
    for (; line; line = findings.NextLine(generation, *line))
      if (window.Store().Read(*line).find(wanted) != std::string::npos) break;
    if (!line || !window.InspectLine(*line)) {
      std::fprintf(stderr, "no finding holds \"%s\"\n", qPrintable(text));
      QApplication::exit(1);
      return;
    }
    QTimer::singleShot(1000, &window, [&window, path] { SaveAndQuit(*window.Inspector(), path); });
  });
  QTimer::singleShot(800, &window, [&window, remittance] {
    window.activateWindow();
    window.StartCommand(SIGCBRemessa1Click, PathBytes(remittance));
  });
}

}  // namespace verilote::gui
