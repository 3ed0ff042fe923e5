// The window's host: commands run on a worker thread, their input boxes,
// file dialogs and messages appear on the window, report lines arrive in
// order, and the Stop button ends a command as a failure would.
#include "app/host.hpp"

#include <QApplication>
#include <QDir>
#include <QFileDialog>
#include <QListView>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QSignalSpy>
#include <QSortFilterProxyModel>
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

Verdict AskQuantity(Host& host) {
  host.ReportAppend(host.InputBox("Quantidade", "Quantos números?"_cp, "10"));
  return Verdict::Clean;
}

Verdict AskTextFile(Host& host) {
  const auto path = host.OpenFile("Selecione o arquivo texto", FileFilter::Texto);
  host.ReportAppend(path ? *path : "<cancelado>");
  return Verdict::Clean;
}

Verdict TwoLineMessage(Host& host) {
  host.ShowMessage("Primeira linha\rSegunda linha");
  return Verdict::Clean;
}

Verdict FailsAfterOneLine(Host& host) {
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

constexpr int kManyLines = 300000;
Verdict WritesManyLines(Host& host) {
  host.ReportAppend("descartada");
  host.ReportClear();
  for (int n = 1; n <= kManyLines; ++n) host.ReportAppend(Cat("Linha ", n));
  return Verdict::Clean;
}

// Every byte but the two line ends, as a validator may echo a record.
std::string AllBytes() {
  std::string bytes;
  for (int b = 0; b < 256; ++b)
    if (b != '\r' && b != '\n') bytes += static_cast<char>(b);
  return bytes;
}
Verdict EchoesAllBytes(Host& host) {
  host.ReportClear();
  host.ReportAppend(AllBytes());
  host.ReportAppend("");
  host.ReportAppend("Código inválido"_cp);
  return Verdict::Clean;
}

class HostTest : public QObject {
  Q_OBJECT

 private slots:
  void InputBoxCancelGivesTheDefault() {
    ShownWindow shown;
    ModalScript script({Reject(), Answer("7"), Answer(FromCp1252("número"_cp))});
    QCOMPARE(RunToEnd(*shown.window, AskQuantity), std::optional<int>(kClean));
    QCOMPARE(RunToEnd(*shown.window, AskQuantity), std::optional<int>(kClean));
    QCOMPARE(RunToEnd(*shown.window, AskQuantity), std::optional<int>(kClean));
    const std::vector<std::string> report = shown.window->ReportLines();
    QCOMPARE(report.size(), std::size_t{4});
    QCOMPARE(report[1], std::string("10"));
    QCOMPARE(report[2], std::string("7"));
    QCOMPARE(report[3], std::string("número"_cp));
    QCOMPARE(script.seen.at(0), "Quantidade|" + FromCp1252("Quantos números?"_cp) + "|10");
  }

  void FileDialogTitleFilterAndCancel() {
    ShownWindow shown;
    QTemporaryDir dir;
    WriteBytes(dir.filePath("dados.txt"), "x");
    ModalScript script({ChooseFile(dir.filePath("dados.txt")), Reject()});
    QCOMPARE(RunToEnd(*shown.window, AskTextFile), std::optional<int>(kClean));
    QCOMPARE(RunToEnd(*shown.window, AskTextFile), std::optional<int>(kClean));
    const std::vector<std::string> report = shown.window->ReportLines();
    QCOMPARE(report.at(1), QFile::encodeName(dir.filePath("dados.txt")).toStdString());
    QCOMPARE(report.at(2), std::string("<cancelado>"));
    QCOMPARE(script.seen.at(0), QStringLiteral("Selecione o arquivo texto|Texto (*.TXT)"));
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

  void CarriageReturnBreaksTheMessage() {
    ShownWindow shown;
    ModalScript script({Accept()});
    QCOMPARE(RunToEnd(*shown.window, TwoLineMessage), std::optional<int>(kClean));
    QCOMPARE(script.seen, QStringList{"Verilote|Primeira linha\nSegunda linha"});
  }

  void FailureShowsTheErrorBoxAndKeepsTheLines() {
    ShownWindow shown;
    ModalScript script({Accept()});
    QCOMPARE(RunToEnd(*shown.window, FailsAfterOneLine), std::optional<int>(kAborted));
    QCOMPARE(script.seen, QStringList{"Verilote|'12a' is not a valid integer value"});
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

  void ManyLinesArriveInOrderAfterAClear() {
    ShownWindow shown;
    QCOMPARE(RunToEnd(*shown.window, WritesManyLines, 120000), std::optional<int>(kClean));
    const std::vector<std::string> report = shown.window->ReportLines();
    QCOMPARE(report.size(), std::size_t{kManyLines});
    QCOMPARE(report.front(), std::string("Linha 1"));
    QCOMPARE(report[12345], std::string("Linha 12346"));
    QCOMPARE(report.back(), Cat("Linha ", kManyLines));
  }

  void ReportKeepsEveryByteThroughTheScreen() {
    ShownWindow shown;
    QCOMPARE(RunToEnd(*shown.window, EchoesAllBytes), std::optional<int>(kClean));
    QCOMPARE(shown.window->ReportLines(),
             (std::vector<std::string>{AllBytes(), "", std::string("Código inválido"_cp)}));
  }
};

const RegisterTest kRegistration("HostTest", [] { return std::make_unique<HostTest>(); });

}  // namespace
}  // namespace verilote::gui::testing

#include "host_test.moc"
