// Drives the window offscreen on one file, as a user would, and prints
// "seconds peak_MB": the wall time from the start of "SIGCB - Remessa 240
// ( Valida Tudo )" on the file to its verdict on screen (every line in the
// report area), or to the end of the step after it, and the process's peak
// memory. bench/window.sh runs it beside verilote-cli on the same file.
//
//   QT_QPA_PLATFORM=offscreen bench_window FILE [resize] [copy | selectcopy | stop]
//
// resize: the window changes size every 100 ms while the command runs.
// copy: then "Copia tela para arquivo novo" to a file beside FILE (timed too).
// selectcopy: then Ctrl+A, Ctrl+C in the report area (timed too).
// stop: "Parar" is pressed 0.5 s into the run; the time after it is how long
// the command took to end.
#include <sys/resource.h>

#include <QAction>
#include <QApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFileInfo>
#include <QInputDialog>
#include <QKeyEvent>
#include <QMessageBox>
#include <QPushButton>
#include <QTimer>
#include <cstdio>
#include <cstring>

#include "gui/main_window.hpp"
#include "remittance/sigcb240.hpp"

namespace {

double PeakMegabytes() {
  rusage usage{};
  getrusage(RUSAGE_SELF, &usage);
  return static_cast<double>(usage.ru_maxrss) / 1024.0;
}

void Key(QWidget* target, int key) {
  QKeyEvent press(QEvent::KeyPress, key, Qt::ControlModifier);
  QApplication::sendEvent(target, &press);
  QKeyEvent release(QEvent::KeyRelease, key, Qt::ControlModifier);
  QApplication::sendEvent(target, &release);
}

}  // namespace

int main(int argc, char** argv) {
  if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
  QApplication app(argc, argv);
  QApplication::setApplicationName(QStringLiteral("Verilote"));
  if (argc < 2) {
    std::fprintf(stderr, "usage: bench_window FILE [resize] [copy | selectcopy]\n");
    return 2;
  }
  bool resize = false, copy = false, selectCopy = false, stop = false;
  for (int i = 2; i < argc; ++i) {
    resize |= std::strcmp(argv[i], "resize") == 0;
    copy |= std::strcmp(argv[i], "copy") == 0;
    selectCopy |= std::strcmp(argv[i], "selectcopy") == 0;
    stop |= std::strcmp(argv[i], "stop") == 0;
  }
  const QString file = QString::fromLocal8Bit(argv[1]);
  verilote::gui::MainWindow window(verilote::gui::WindowOptions{QFileInfo(file).absolutePath()});
  window.show();

  // The command's boxes are answered at once: its notice box, and the name
  // "Copia tela para arquivo novo" asks for.
  QTimer answer;
  QObject::connect(&answer, &QTimer::timeout, [] {
    QWidget* modal = QApplication::activeModalWidget();
    if (auto* input = qobject_cast<QInputDialog*>(modal)) {
      input->setTextValue(QStringLiteral("bench_window_copy.txt"));
      input->accept();
    } else if (auto* box = qobject_cast<QMessageBox*>(modal)) {
      box->accept();
    }
  });
  answer.start(5);

  QTimer resizer;
  int step = 0;
  QObject::connect(&resizer, &QTimer::timeout, [&] {
    static const QSize kSizes[] = {{957, 666}, {1400, 900}, {700, 500}, {1200, 1000}};
    window.resize(kSizes[step++ % 4]);
  });

  QElapsedTimer clock, stopClock;
  double verdict = 0, after = 0;
  QObject::connect(&window, &verilote::gui::MainWindow::CommandFinished, [&](int status, const QString& message) {
    if (verdict == 0) {
      verdict = static_cast<double>(clock.nsecsElapsed()) / 1e9;
      resizer.stop();
      if (stop) after = static_cast<double>(stopClock.nsecsElapsed()) / 1e9;
      if (status == 2 && !stop) std::fprintf(stderr, "aborted: %s\n", qPrintable(message));
      if (copy) {
        clock.restart();
        window.ActionOf("Copiaparaarquivonovo1Click")->trigger();
        return;
      }
      if (selectCopy) {
        QWidget* memo = window.findChild<QWidget*>(QStringLiteral("Memo1"));
        clock.restart();
        Key(memo, Qt::Key_A);
        Key(memo, Qt::Key_C);
        after = static_cast<double>(clock.nsecsElapsed()) / 1e9;
      }
      QApplication::quit();
      return;
    }
    after = static_cast<double>(clock.nsecsElapsed()) / 1e9;
    QDir().remove(QFileInfo(file).absolutePath() + QStringLiteral("/bench_window_copy.txt"));
    QApplication::quit();
  });

  QTimer::singleShot(0, [&] {
    if (resize) resizer.start(100);
    clock.start();
    if (stop)
      QTimer::singleShot(500, [&] {
        stopClock.start();
        window.StopButton()->click();
      });
    window.StartCommand(verilote::SIGCBRemessa1Click, QFile::encodeName(file).toStdString());
  });
  QApplication::exec();
  if (stop && !stopClock.isValid())
    std::printf("%.3f %.1f -\n", verdict, PeakMegabytes());  // the command ended before the 0.5 s
  else if (copy || selectCopy || stop)
    std::printf("%.3f %.1f %.3f\n", verdict, PeakMegabytes(), after);
  else
    std::printf("%.3f %.1f\n", verdict, PeakMegabytes());
  return 0;
}
