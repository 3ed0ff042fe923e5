// The report output commands through the window: what the screen shows goes
// to files byte for byte, and printing lays 56 lines on a page.
#include <QPlainTextEdit>
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

std::string Notice() {
  return std::string("****  Este aplicativo não pode ser utilizado como única forma de validação ****"_cp);
}

std::string AccentedLine() {
  return std::string("Registro numero 7 Código do sacado inválido: ÁÉÍÓÚ ç ã õ ü € ›"_cp) + "\xA0\x81\t|";
}

Verdict WritesAccentedLine(Host& host) {
  host.ReportAppend(AccentedLine());
  return Verdict::Clean;
}

int gPrintLines = 0;
Verdict WritesPrintLines(Host& host) {
  host.ReportClear();
  for (int n = 1; n <= gPrintLines; ++n) host.ReportAppend(Cat("linha ", n));
  return Verdict::Clean;
}

QString RunTool(const QString& program, const QStringList& arguments) {
  QProcess process;
  process.start(program, arguments);
  if (!process.waitForFinished(30000) || process.exitCode() != 0) return QStringLiteral("<%1 failed>").arg(program);
  return QString::fromUtf8(process.readAllStandardOutput());
}

int PdfPages(const QString& pdf) {
  const QRegularExpressionMatch match =
      QRegularExpression(QStringLiteral("Pages:\\s+(\\d+)")).match(RunTool(QStringLiteral("pdfinfo"), {pdf}));
  return match.hasMatch() ? match.captured(1).toInt() : -1;
}

class ReportOutputTest : public QObject {
  Q_OBJECT

 private slots:
  void CopyToNewFileIsByteExact() {
    ShownWindow shown;
    MainWindow& window = *shown.window;
    QCOMPARE(RunToEnd(window, WritesAccentedLine), std::optional<int>(kClean));
    ModalScript script({Answer(QStringLiteral("copia.txt")), Accept()});
    QCOMPARE(TriggerToEnd(window, "Copiaparaarquivonovo1Click"), std::optional<int>(kClean));
    const QString path = shown.programDirectory.filePath(QStringLiteral("copia.txt"));
    QCOMPARE(QByteArray::fromStdString(ReadBytes(path)),
             QByteArray::fromStdString(Notice() + "\r\n" + AccentedLine() + "\r\n"));
    QCOMPARE(script.seen,
             (QStringList{"Entre com o nome do arquivo|Nome do arquivo|", "Verilote|Copiado com sucesso !!\n" + path}));
  }

  void CopyTwiceReplacesTheFirstCopy() {
    ShownWindow shown;
    MainWindow& window = *shown.window;
    ModalScript script({Answer(QStringLiteral("r.txt")), Accept(), Answer(QStringLiteral("r.txt")), Accept()});
    QCOMPARE(TriggerToEnd(window, "Copiaparaarquivonovo1Click"), std::optional<int>(kClean));
    window.Report()->clear();
    QCOMPARE(TriggerToEnd(window, "Copiaparaarquivonovo1Click"), std::optional<int>(kClean));
    QCOMPARE(QByteArray::fromStdString(ReadBytes(shown.programDirectory.filePath("r.txt"))), QByteArray());
  }

  void AppendContinuesALastLineWithoutLineEnd() {
    ShownWindow shown;
    MainWindow& window = *shown.window;
    QCOMPARE(RunToEnd(window, WritesAccentedLine), std::optional<int>(kClean));
    QTemporaryDir dir;
    const QString target = dir.filePath(QStringLiteral("existente.REM"));
    WriteBytes(target, "primeira\r\nsem fim");
    ModalScript script({ChooseFile(target), Accept()});
    QCOMPARE(TriggerToEnd(window, "Copiaparaarquivojexistente1Click"), std::optional<int>(kClean));
    QCOMPARE(QByteArray::fromStdString(ReadBytes(target)),
             QByteArray::fromStdString("primeira\r\nsem fim" + Notice() + "\r\n" + AccentedLine() + "\r\n"));
    QCOMPARE(script.seen, (QStringList{"Selecione o arquivo para incluir|Remessa (*.REM)",
                                       "Verilote|Incluido no arquivo " + target + " com sucesso !!"}));
  }

  void PrintsFiftySixLinesAPage() {
    if (QStandardPaths::findExecutable(QStringLiteral("pdfinfo")).isEmpty()) QSKIP("pdfinfo is not installed");
    ShownWindow shown;
    MainWindow& window = *shown.window;
    QTemporaryDir dir;
    for (const int lines : {56, 57}) {
      gPrintLines = lines;
      QCOMPARE(RunToEnd(window, WritesPrintLines), std::optional<int>(kClean));
      const QString pdf = dir.filePath(QStringLiteral("r%1.pdf").arg(lines));
      window.Printer().setOutputFormat(QPrinter::PdfFormat);
      window.Printer().setOutputFileName(pdf);
      window.Printer().setPageOrientation(QPageLayout::Portrait);  // printing turns it to landscape
      window.Printer().setCopyCount(3);                            // and prints one copy
      ModalScript script({Accept()});
      window.ActionOf("ImprimirMemoLines1Click")->trigger();
      QCOMPARE(script.seen, QStringList{FromCp1252("Verilote|Fim da impressão !!!"_cp)});
      QCOMPARE(PdfPages(pdf), lines == 56 ? 1 : 2);
      const QString info = RunTool(QStringLiteral("pdfinfo"), {pdf});
      const QRegularExpressionMatch size =
          QRegularExpression(QStringLiteral("Page size:\\s+([\\d.]+) x ([\\d.]+)")).match(info);
      QVERIFY(size.hasMatch());
      QVERIFY2(size.captured(1).toDouble() > size.captured(2).toDouble(), "landscape");
      const QString first = RunTool(QStringLiteral("pdftotext"), {"-f", "1", "-l", "1", pdf, "-"});
      QVERIFY(first.contains(QStringLiteral("linha 1\n")));
      QVERIFY(first.contains(QStringLiteral("linha 56")));
      if (lines == 57) {
        const QString second = RunTool(QStringLiteral("pdftotext"), {"-f", "2", "-l", "2", pdf, "-"});
        QCOMPARE(second.trimmed(), QStringLiteral("linha 57"));
      }
    }
  }

  void PrintingToAnUnusableOutputShowsTheError() {
    ShownWindow shown;
    MainWindow& window = *shown.window;
    window.Printer().setOutputFormat(QPrinter::PdfFormat);
    window.Printer().setOutputFileName(shown.programDirectory.filePath("no/such/dir/r.pdf"));
    ModalScript script({Accept()});
    window.ActionOf("ImprimirMemoLines1Click")->trigger();
    QCOMPARE(script.seen.size(), 1);
    QVERIFY(!script.seen.at(0).contains(QStringLiteral("Fim da")));
  }
};

const RegisterTest kRegistration("ReportOutputTest", [] { return std::make_unique<ReportOutputTest>(); });

}  // namespace
}  // namespace verilote::gui::testing

#include "report_output_test.moc"
