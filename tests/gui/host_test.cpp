// The window's host: commands run on a worker thread, their input boxes,
// file dialogs and messages appear on the window, report lines arrive in
// order, and the Stop button ends a command as a failure would.
#include "app/host.hpp"

#include <QFileDialog>
#include <QListView>
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

Verdict AskQuantityAndFile(Host& host) {
  host.ReportAppend(host.InputBox("Quantidade", "Quantos números?"_cp, "10"));
  const auto path = host.OpenFile("Selecione o arquivo texto", FileFilter::Texto);
  host.ReportAppend(path ? *path : "<cancelado>");
  return Verdict::Clean;
}

Verdict MessageThenFailure(Host& host) {
  host.ShowMessage("Primeira linha\rSegunda linha");
  host.ReportAppend("antes do erro");
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

// Every byte but the two line ends, as a validator may echo a record, then
// many lines, after a clear.
std::string AllBytes() {
  std::string bytes;
  for (int b = 0; b < 256; ++b)
    if (b != '\r' && b != '\n') bytes += static_cast<char>(b);
  return bytes;
}
constexpr int kManyLines = 300000;
Verdict WritesManyLines(Host& host) {
  host.ReportAppend("descartada");
  host.ReportClear();
  host.ReportAppend(AllBytes());
  host.ReportAppend("");
  host.ReportAppend("Código inválido"_cp);
  for (int n = 1; n <= kManyLines; ++n) host.ReportAppend(Cat("Linha ", n));
  return Verdict::Clean;
}

class HostTest : public QObject {
  Q_OBJECT

 private slots:
  // Cancel in the input box gives its default; in the file dialog, no file.
  void CancelSemantics() {
    ShownWindow shown;
    QTemporaryDir dir;
    const QString file = dir.filePath("dados.txt");
    WriteBytes(file, "x");
    ModalScript script({Reject(), ChooseFile(file), Answer(FromCp1252("número"_cp)), Reject()});
    QCOMPARE(RunToEnd(*shown.window, AskQuantityAndFile), std::optional<int>(kClean));
    QCOMPARE(RunToEnd(*shown.window, AskQuantityAndFile), std::optional<int>(kClean));
    const std::vector<std::string> report = shown.window->ReportLines();
    QCOMPARE(std::vector<std::string>(report.begin() + 1, report.end()),
             (std::vector<std::string>{"10", QFile::encodeName(file).toStdString(), std::string("número"_cp),
                                       "<cancelado>"}));
    QCOMPARE(script.seen.mid(0, 2), (QStringList{"Quantidade|" + FromCp1252("Quantos números?"_cp) + "|10",
                                                 "Selecione o arquivo texto|Texto (*.TXT)"}));
  }

  // Extensions are matched without regard to case: a.rem shows under Remessa.
  void FileFilterIgnoresCase() {
    ShownWindow shown;
    QTemporaryDir dir;
    for (const char* name : {"a.rem", "B.REM", "c.Rem", "d.txt", "e.ret"}) WriteBytes(dir.filePath(name), "x");
    QStringList visible;
    ModalScript script({[&](QWidget* w) {
      auto* dialog = qobject_cast<QFileDialog*>(w);
      dialog->setDirectory(dir.path());
      auto* view = dialog->findChild<QListView*>(QStringLiteral("listView"));
      QVERIFY(view != nullptr);
      QTRY_COMPARE(view->model()->rowCount(view->rootIndex()), 3);
      for (int row = 0; row < 3; ++row) visible << view->model()->index(row, 0, view->rootIndex()).data().toString();
      dialog->reject();
    }});
    shown.window->AskFile(QStringLiteral("Selecione"), FileFilter::Remessa);
    visible.sort();
    QCOMPARE(visible, (QStringList{"B.REM", "a.rem", "c.Rem"}));
  }

  void MessageLinesAndFailureBox() {
    ShownWindow shown;
    ModalScript script({Accept(), Accept()});
    QCOMPARE(RunToEnd(*shown.window, MessageThenFailure), std::optional<int>(kAborted));
    QCOMPARE(script.seen,
             (QStringList{"Verilote|Primeira linha\nSegunda linha", "Verilote|'12a' is not a valid integer value"}));
    QCOMPARE(shown.window->ReportLines().back(), std::string("antes do erro"));
    QCOMPARE(shown.window->ReportLines().size(), std::size_t{2});
  }

  void StopEndsTheCommandAsAFailure() {
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
    QVERIFY(report.size() > 20);  // the lines written stay
    QCOMPARE(report[1], std::string("Registro numero 1"));
  }

  void ClosingStopsTheCommandFirst() {
    ShownWindow shown;
    QVERIFY(shown.window->StartCommand(ReadsForever));
    shown.window->close();
    QVERIFY(shown.window->isVisible());
    QTRY_VERIFY(!shown.window->IsRunning());
    QTRY_VERIFY(!shown.window->isVisible());
  }

  void LinesArriveInOrderWithEveryByte() {
    ShownWindow shown;
    QCOMPARE(RunToEnd(*shown.window, WritesManyLines, 120000), std::optional<int>(kClean));
    const std::vector<std::string> report = shown.window->ReportLines();
    QCOMPARE(report.size(), std::size_t{kManyLines + 3});
    QCOMPARE(std::vector<std::string>(report.begin(), report.begin() + 4),
             (std::vector<std::string>{AllBytes(), "", std::string("Código inválido"_cp), "Linha 1"}));
    QCOMPARE(report[12345 + 2], std::string("Linha 12345"));
    QCOMPARE(report.back(), Cat("Linha ", kManyLines));
  }
};

const RegisterTest kRegistration("HostTest", [] { return std::make_unique<HostTest>(); });

}  // namespace
}  // namespace verilote::gui::testing

#include "host_test.moc"
