// The window's host: commands run on a worker thread, their input boxes,
// file dialogs and messages appear on the window, report lines arrive in
// order, and the Stop button or closing the window ends a command as a
// failure would.
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

// Asks a number and a file, says two lines in one box, then fails converting.
Verdict AsksThenFails(Host& host) {
  host.ReportAppend(host.InputBox("Quantidade", "Quantos números?"_cp, "10"));
  const auto path = host.OpenFile("Selecione o arquivo texto", FileFilter::Texto);
  host.ReportAppend(path ? *path : "<cancelado>");
  host.ShowMessage("Primeira linha\rSegunda linha");
  host.ReportAppend(Cat("valor ", StrToInt("12a")));
  host.ReportAppend("nunca escrita");
  return Verdict::Clean;
}

std::atomic<int> gRecordsRead{0};
Verdict ReadsForever(Host& host) {
  for (std::uint64_t n = 1;; ++n) {
    host.Progress(n, 1000000);
    host.ReportAppend(Cat("Registro numero ", n));
    gRecordsRead = static_cast<int>(n);
    host.Sleep(1);
  }
}

class HostTest : public QObject {
  Q_OBJECT

 private slots:
  // Cancel in the input box gives its default, in the file dialog no file; a
  // carriage return breaks a message's line; a conversion error shows in a box
  // and ends the command as a failure, the lines written before it kept.
  void DialogsMessagesAndFailure() {
    ShownWindow shown;
    QTemporaryDir dir;
    const QString file = dir.filePath("dados.txt");
    WriteBytes(file, "x");
    ModalScript script({Reject(), ChooseFile(file), Accept(), Accept(), Answer(FromCp1252("número"_cp)), Reject(),
                        Accept(), Accept()});
    QCOMPARE(RunToEnd(*shown.window, AsksThenFails), std::optional<int>(kAborted));
    QCOMPARE(RunToEnd(*shown.window, AsksThenFails), std::optional<int>(kAborted));
    const std::vector<std::string> report = shown.window->ReportLines();
    QCOMPARE(std::vector<std::string>(report.begin() + 1, report.end()),
             (std::vector<std::string>{"10", QFile::encodeName(file).toStdString(), std::string("número"_cp),
                                       "<cancelado>"}));
    QCOMPARE(script.seen.mid(0, 3),
             (QStringList{"Quantidade|" + FromCp1252("Quantos números?"_cp) + "|10",
                          "Selecione o arquivo texto|Texto (*.TXT)", "Verilote|Primeira linha\nSegunda linha"}));
    QVERIFY(script.seen[3].startsWith("Verilote|'12a' is not a valid integer value"));
  }

  void StopAndCloseEndTheCommand() {
    ShownWindow shown;
    MainWindow& window = *shown.window;
    ModalScript script({Accept()});
    QSignalSpy finished(&window, &MainWindow::CommandFinished);
    gRecordsRead = 0;
    QVERIFY(window.StartCommand(ReadsForever));
    QTRY_VERIFY(window.StopButton()->isVisible());
    QVERIFY(!window.StartCommand(ReadsForever));  // one command at a time
    QTRY_VERIFY(gRecordsRead > 20);
    QTest::mouseClick(window.StopButton(), Qt::LeftButton);
    QVERIFY(finished.wait(10000));
    QCOMPARE(finished.at(0).at(0).toInt(), kAborted);
    QCOMPARE(script.seen, QStringList{FromCp1252("Verilote|Interrompido pelo usuário."_cp)});
    QVERIFY(!window.StopButton()->isVisible());
    const std::vector<std::string> report = window.ReportLines();
    QVERIFY(report.size() > 20);  // the lines written stay, in order
    for (std::size_t n = 1; n < report.size(); ++n) QCOMPARE(report[n], Cat("Registro numero ", n));
    // Closing the window stops a running command first.
    QVERIFY(window.StartCommand(ReadsForever));
    window.close();
    QVERIFY(window.isVisible());
    QTRY_VERIFY(!window.IsRunning());
    QTRY_VERIFY(!window.isVisible());
  }
};

const RegisterTest kRegistration("HostTest", [] { return std::make_unique<HostTest>(); });

}  // namespace
}  // namespace verilote::gui::testing

#include "host_test.moc"
