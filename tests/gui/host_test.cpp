// The window's host: commands run on a worker thread, their input boxes,
// file dialogs and messages appear on the window, report lines arrive in
// order, and the Stop button or closing the window ends a command as a
// failure would. The report's output: what the screen shows goes to a file
// byte for byte, and printing lays 56 lines on a page.
#include "app/host.hpp"

#include <QPrinter>
#include <QProcess>
#include <QPushButton>
#include <QRegularExpression>
#include <QSignalSpy>
#include <QStandardPaths>
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

Verdict WritesPrintLines(Host& host) {
  host.ReportClear();
  for (int n = 1; n <= 57; ++n) host.ReportAppend(Cat("linha ", n));
  return Verdict::Clean;
}

QString RunTool(const QString& program, const QStringList& arguments) {
  QProcess process;
  process.start(program, arguments);
  if (!process.waitForFinished(30000) || process.exitCode() != 0) return QStringLiteral("<%1 failed>").arg(program);
  return QString::fromUtf8(process.readAllStandardOutput());
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

  // Landscape and one copy whatever was set; 57 lines make two pages, the
  // 57th alone on the second. A printer that fails shows its error, not "Fim".
  void PrintsFiftySixLinesAPage() {
    if (QStandardPaths::findExecutable(QStringLiteral("pdfinfo")).isEmpty()) QSKIP("pdfinfo is not installed");
    ShownWindow shown;
    MainWindow& window = *shown.window;
    QTemporaryDir dir;
    QCOMPARE(RunToEnd(window, WritesPrintLines), std::optional<int>(kClean));
    const QString pdf = dir.filePath(QStringLiteral("r.pdf"));
    window.Printer().setOutputFormat(QPrinter::PdfFormat);
    window.Printer().setOutputFileName(pdf);
    window.Printer().setPageOrientation(QPageLayout::Portrait);
    window.Printer().setCopyCount(3);
    ModalScript script({Accept(), Accept()});
    window.ActionOf("ImprimirMemoLines1Click")->trigger();
    const QString info = RunTool(QStringLiteral("pdfinfo"), {pdf});
    QVERIFY2(info.contains(QRegularExpression(QStringLiteral("Pages:\\s+2\n"))), qPrintable(info));
    const QRegularExpressionMatch size =
        QRegularExpression(QStringLiteral("Page size:\\s+([\\d.]+) x ([\\d.]+)")).match(info);
    QVERIFY2(size.hasMatch() && size.captured(1).toDouble() > size.captured(2).toDouble(), "landscape");
    const QString first = RunTool(QStringLiteral("pdftotext"), {"-f", "1", "-l", "1", pdf, "-"});
    QVERIFY(first.contains(QStringLiteral("linha 1\n")) && first.contains(QStringLiteral("linha 56")));
    QCOMPARE(RunTool(QStringLiteral("pdftotext"), {"-f", "2", "-l", "2", pdf, "-"}).trimmed(),
             QStringLiteral("linha 57"));
    window.Printer().setOutputFileName(dir.filePath("no/such/dir/r.pdf"));
    window.ActionOf("ImprimirMemoLines1Click")->trigger();
    QCOMPARE(script.seen.size(), 2);
    QCOMPARE(script.seen.at(0), FromCp1252("Verilote|Fim da impressão !!!"_cp));
    QVERIFY(!script.seen.at(1).contains(QStringLiteral("Fim da")));
  }
};

const RegisterTest kRegistration("HostTest", [] { return std::make_unique<HostTest>(); });

}  // namespace
}  // namespace verilote::gui::testing

#include "host_test.moc"
