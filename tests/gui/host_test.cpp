// The window's host: a command runs on a worker thread, its input box
// appears on the window, report lines arrive in order, and the Stop button or
// closing the window ends it as a failure would. What the screen shows goes to
// a file byte for byte.
#include "app/host.hpp"

#include <QPushButton>
#include <QSignalSpy>
#include <QTest>
#include <atomic>

#include "app/cp1252.hpp"
#include "app/report.hpp"
#include "banking/text.hpp"
#include "gui/main_window.hpp"
#include "gui/qt_text.hpp"
#include "gui_test_support.hpp"

namespace verilote::gui::testing {
namespace {

constexpr int kAborted = static_cast<int>(Outcome::Status::Aborted);
constexpr int kClean = static_cast<int>(Outcome::Status::Clean);

std::atomic<int> gRecordsRead{0};
// Asks where to start, then reads until stopped.
Verdict ReadsForever(Host& host) {
  for (std::uint64_t n = StrToInt(host.InputBox("Início"_cp, "Primeiro registro", "1"));; ++n) {
    host.Progress(n, 1000000);
    host.ReportAppend(Cat("Registro numero ", n));
    gRecordsRead = static_cast<int>(n);
    host.Sleep(1);
  }
}

// An accented line with every other byte but the two line ends, as a
// validator may echo a record.
std::string Accented() {
  std::string line("Código do sacado inválido: ÁÉÍÓÚ ç ã õ ü € ›"_cp);
  for (int b = 0; b < 256; ++b)
    if (b != '\r' && b != '\n') line += static_cast<char>(b);
  return line;
}

// The screen: the notice line of start-up, then the accented line.
std::string Screen() {
  return Cat("****  Este aplicativo não pode ser utilizado como única forma de validação ****"_cp, "\r\n", Accented(),
             "\r\n");
}

Verdict WritesAccentedLine(Host& host) {
  host.ReportAppend(Accented());
  return Verdict::Clean;
}

class HostTest : public QObject {
  Q_OBJECT

 private slots:
  void StopAndCloseEndTheCommand() {
    ShownWindow shown;
    MainWindow& window = *shown.window;
    ModalScript script({Answer(QStringLiteral("7")), Accept(), Answer(QStringLiteral("1"))});
    QSignalSpy finished(&window, &MainWindow::CommandFinished);
    gRecordsRead = 0;
    QVERIFY(window.StartCommand(ReadsForever));
    QTRY_VERIFY(window.StopButton()->isVisible());
    QVERIFY(!window.StartCommand(ReadsForever));  // one command at a time
    QTRY_VERIFY(gRecordsRead > 20);
    QTest::mouseClick(window.StopButton(), Qt::LeftButton);
    QVERIFY(finished.wait(10000));
    QCOMPARE(finished.at(0).at(0).toInt(), kAborted);
    QCOMPARE(script.seen.mid(0, 2), (QStringList{FromCp1252("Início|Primeiro registro|1"_cp),
                                                 FromCp1252("Verilote|Interrompido pelo usuário."_cp)}));
    QVERIFY(!window.StopButton()->isVisible());
    const std::vector<std::string> report = window.ReportLines();
    QVERIFY(report.size() > 20);  // the lines written stay, in order, from the answer on
    for (std::size_t n = 1; n < report.size(); ++n) QCOMPARE(report[n], Cat("Registro numero ", n + 6));
    // Closing the window stops a running command first.
    gRecordsRead = 0;
    QVERIFY(window.StartCommand(ReadsForever));
    QTRY_VERIFY(gRecordsRead > 0);
    window.close();
    QVERIFY(window.isVisible());
    QTRY_VERIFY(!window.IsRunning());
    QTRY_VERIFY(!window.isVisible());
  }

  // What the screen shows reaches the file byte for byte; the copy and
  // append commands themselves are checked in the core's tests.
  void CopyIsByteExact() {
    ShownWindow shown;
    QCOMPARE(RunToEnd(*shown.window, WritesAccentedLine), std::optional<int>(kClean));
    ModalScript script({Answer("copia.txt"), Accept()});
    QCOMPARE(TriggerToEnd(*shown.window, "Copiaparaarquivonovo1Click"), std::optional<int>(kClean));
    QCOMPARE(QByteArray::fromStdString(ReadBytes(shown.programDirectory.filePath(QStringLiteral("copia.txt")))),
             QByteArray::fromStdString(Screen()));
  }
};

const RegisterTest kRegistration("HostTest", [] { return std::make_unique<HostTest>(); });

}  // namespace
}  // namespace verilote::gui::testing

#include "host_test.moc"
