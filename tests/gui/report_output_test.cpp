// The report output through the window: what the screen shows goes to a file
// byte for byte, and printing lays 56 lines on a page.
#include <QPrinter>
#include <QProcess>
#include <QRegularExpression>
#include <QStandardPaths>
#include <QTest>

#include "app/cp1252.hpp"
#include "app/host.hpp"
#include "app/report.hpp"
#include "gui/main_window.hpp"
#include "gui/qt_text.hpp"
#include "gui_test_support.hpp"

namespace verilote::gui::testing {
namespace {

constexpr int kClean = static_cast<int>(Outcome::Status::Clean);

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

class ReportOutputTest : public QObject {
  Q_OBJECT

 private slots:
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

const RegisterTest kRegistration("ReportOutputTest", [] { return std::make_unique<ReportOutputTest>(); });

}  // namespace
}  // namespace verilote::gui::testing

#include "report_output_test.moc"
