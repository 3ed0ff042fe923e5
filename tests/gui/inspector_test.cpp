// The record inspector: a finding line of the report opens on its record,
// the fields the finding names highlighted with what was found against what
// the layout expects; it steps to the next and previous findings and the
// report follows; a line that is no finding opens nothing; a file gone or
// changed since the run is said so; a report cut by a full temporary folder
// is said so, and the inspector stays within what was kept.
#include <QApplication>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QSignalSpy>
#include <QStandardPaths>
#include <QStyle>
#include <QTableWidget>
#include <QTest>
#include <QTextBlock>
#include <climits>

#include "app/cp1252.hpp"
#include "app/record_reader.hpp"
#include "app/report.hpp"
#include "gui/qt_text.hpp"
#include "gui/record_inspector.hpp"
#include "gui_test_support.hpp"
#include "support/filling_files.hpp"

namespace verilote::gui::testing {
namespace {

// A small layout: a header "H", and details "D" with the bank at 2-4, an
// amount at 7-10 and its check digit at 11; 5-6 belong to no field.
std::string AmountDigit(std::string_view rec) {
  int sum = 0;
  for (char c : rec.substr(6, 4)) {
    if (c < '0' || c > '9') return {};
    sum += c - '0';
  }
  return Cat("dígito "_cp, sum % 10);
}
constexpr FieldSpec kDetailFields[] = {
    {"D.01", 1, 1, "Tipo de registro", "D"},
    {"D.02", 2, 4, "Banco", "104"},
    {"D.03", 7, 10, "Valor", "numérico"_cp},
    {"D.04", 11, 11, "DV do valor", {}, AmountDigit},
};
const RecordKind kDetail{"Detalhe", kDetailFields};

// Detail faults as a validator of that layout writes them.
Verdict ValidatesDetails(Host& host) {
  const std::optional<std::string> path = host.OpenFile("Arquivo", FileFilter::Todos);
  if (!path) return Verdict::Clean;
  host.ReportClear();
  host.ReportAppend("Validando o arquivo");
  RecordReader reader(*path);
  for (std::string_view rec; reader.Next(rec);) {
    if (rec.size() < 11 || rec[0] != 'D') continue;
    std::string codes;
    if (rec.substr(1, 3) != "104") codes += "(D.02)";
    if (rec.substr(6, 4).find_first_not_of("0123456789") != std::string_view::npos)
      codes += "(D.03)(D.04)";
    else if (AmountDigit(rec).back() != rec[10])
      codes += "(D.04)(D.03)";
    if (!codes.empty()) {
      const std::string line = Cat("Linha ", reader.RecordCount(), " Codigos de erro: ", codes);
      host.ReportFinding(Finding{line, reader.RecordCount(), rec, &kDetail, codes});
    }
  }
  host.ReportAppend("Fim");
  return Verdict::Faulty;
}

// Report: 0 "Validando", 1 record 3, 2 record 4, 3 record 5, 4 "Fim".
const std::string kFile = "H CABECALHO\r\nD104  00123\r\nD999  00123\r\nD104  00A33\r\nD104  00129\r\n";

QString Cell(QTableWidget* table, int row, int column) { return table->item(row, column)->text(); }

// The rows the finding names, as "code|found|expected".
QStringList Failing(const RecordInspector& inspector) {
  QStringList rows;
  QTableWidget* table = inspector.Fields();
  for (int row = 0; row < table->rowCount(); ++row)
    if (table->item(row, 0)->data(RecordInspector::kFailingRole).toBool())
      rows << Cell(table, row, 0) + '|' + Cell(table, row, 3) + '|' + Cell(table, row, 4);
  return rows;
}

// Whether a cell's whole text fits its cell, wrapped at its width: nothing is
// cut off with "…" or below the row.
bool ShownWhole(QTableWidget* table, int row, int column) {
  const QRect cell = table->visualRect(table->model()->index(row, column));
  const int margin = 2 * (table->style()->pixelMetric(QStyle::PM_FocusFrameHMargin, nullptr, table) + 1);
  const QRect needed = table->fontMetrics().boundingRect(QRect(0, 0, cell.width() - margin, INT_MAX), Qt::TextWordWrap,
                                                         Cell(table, row, column));
  return needed.width() <= cell.width() && needed.height() <= cell.height();
}

class InspectorTest : public QObject {
  Q_OBJECT

  QTemporaryDir folder_;
  QString path_;

  void Run(MainWindow& window) {
    QSignalSpy finished(&window, &MainWindow::CommandFinished);
    QVERIFY(window.StartCommand(ValidatesDetails, PathBytes(path_)));
    QVERIFY(finished.wait(20000));
  }
  void Write(const std::string& bytes) {
    QFile file(path_);
    QVERIFY(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
    file.write(bytes.data(), static_cast<qint64>(bytes.size()));
  }

 private slots:
  void init() {
    path_ = folder_.filePath(QStringLiteral("remessa.rem"));
    Write(kFile);
  }

  void FindingOpensOnItsFieldsAndStepsThroughTheReport() {
    ShownWindow shown;
    MainWindow& window = *shown.window;
    Run(window);
    // Enter on a line that is no finding opens nothing.
    window.Report()->Reveal(0);
    QTest::keyClick(window.Report(), Qt::Key_Return);
    QVERIFY(window.Inspector() == nullptr);

    window.Report()->Reveal(1);
    QTest::keyClick(window.Report(), Qt::Key_Return);
    RecordInspector* inspector = window.Inspector();
    QVERIFY(inspector != nullptr && inspector->isVisible());
    QCOMPARE(inspector->windowTitle(), QStringLiteral("Registro 3 (Detalhe) - remessa.rem"));
    QCOMPARE(inspector->FindingLine()->text(), QStringLiteral("Linha 3 Codigos de erro: (D.02)"));
    QCOMPARE(Failing(*inspector), QStringList{"D.02|999|104"});
    QCOMPARE(inspector->Raw()->document()->findBlockByNumber(2).text(), QStringLiteral("D999  00123"));
    const QList<QTextEdit::ExtraSelection> marks = inspector->Raw()->extraSelections();
    QCOMPARE(marks.size(), 1);
    QCOMPARE(marks[0].cursor.selectedText(), QStringLiteral("999"));
    QVERIFY(!inspector->Message()->isVisible());

    inspector->NextButton()->click();
    QCOMPARE(inspector->windowTitle(), QStringLiteral("Registro 4 (Detalhe) - remessa.rem"));
    QCOMPARE(Failing(*inspector), (QStringList{"D.03|00A3|" + FromCp1252("numérico"_cp), "D.04|3|"}));
    QCOMPARE(window.Report()->CursorLine(), 2u);  // the report follows
    inspector->activateWindow();
    QTRY_VERIFY(QApplication::activeWindow() == inspector);
    QTest::keyClick(inspector, Qt::Key_P, Qt::AltModifier);  // the button's mnemonic clicks it a moment later
    QTRY_COMPARE(Failing(*inspector),
                 (QStringList{"D.03|0012|" + FromCp1252("numérico"_cp), "D.04|9|" + FromCp1252("dígito 3"_cp)}));
    QVERIFY(!inspector->NextButton()->isEnabled());
    QVERIFY(!inspector->Next());
    QVERIFY(inspector->Previous());
    QVERIFY(inspector->Previous());
    QCOMPARE(inspector->Line(), std::optional<std::uint64_t>(1));
    QVERIFY(!inspector->PreviousButton()->isEnabled());
    QCOMPARE(window.Report()->CursorLine(), 1u);
  }

  // A dropped file goes through the layout's detection to its validator:
  // the findings come through every host on the way.
  void DroppedRemittanceFindingOpens() {
    ShownWindow shown;
    MainWindow& window = *shown.window;
    ModalScript script({Accept()});  // the validator's note on what it leaves out
    QSignalSpy finished(&window, &MainWindow::CommandFinished);
    QVERIFY(window.ValidateDroppedFile(
        QStringLiteral(VERILOTE_SOURCE_DIR "/examples/sigcb240/remessa_sigcb240_com_erros.rem")));
    QVERIFY(finished.wait(20000));
    const std::vector<std::string> lines = window.ReportLines();
    const auto r = std::find_if(lines.begin(), lines.end(),
                                [](const std::string& l) { return l.starts_with("Linha 5 SEGMENTO R"); });
    QVERIFY(r != lines.end());
    QVERIFY(window.InspectLine(static_cast<std::uint64_t>(r - lines.begin())));
    QCOMPARE(window.Inspector()->windowTitle(),
             QStringLiteral("Registro 5 (Segmento R) - remessa_sigcb240_com_erros.rem"));
    QCOMPARE(Failing(*window.Inspector()).size(), 1);
    QVERIFY(Failing(*window.Inspector()).at(0).startsWith(QStringLiteral("15.3R|10012027|data ddmmaaaa")));
    // What each field expects is read whole, however long, in a narrow window too.
    QTableWidget* table = window.Inspector()->Fields();
    window.Inspector()->resize(700, 600);
    QTRY_VERIFY(table->isVisible());
    QCOMPARE(table->textElideMode(), Qt::ElideNone);
    bool wraps = false;
    for (int row = 0; row < table->rowCount(); ++row) {
      QTRY_VERIFY2(ShownWhole(table, row, 4), qPrintable(Cell(table, row, 4)));
      wraps = wraps || table->rowHeight(row) > 2 * table->fontMetrics().height();
    }
    QVERIFY2(wraps, "some rule of the R segment is longer than its column");
  }

  void GoneOrChangedFileIsSaid() {
    ShownWindow shown;
    MainWindow& window = *shown.window;
    Run(window);
    Write("H CABECALHO\r\nD104  00123\r\nD998  00123\r\n");
    QVERIFY(window.InspectLine(1));
    QVERIFY(window.Inspector()->Message()->isVisible());
    QVERIFY(window.Inspector()->Message()->text().contains(FromCp1252("mudou desde a validação"_cp)));
    QVERIFY(QFile::remove(path_));
    QVERIFY(window.InspectLine(2));
    QVERIFY(window.Inspector()->Message()->text().contains(FromCp1252("não foi encontrado"_cp)));
    QCOMPARE(window.Inspector()->Raw()->toPlainText(), QString());
    QVERIFY(!window.InspectLine(4));
  }

  // The temporary folder fills up while the findings go to their files: the
  // window says the report is cut, in a box and in its last line, keeps every
  // line, and the inspector and the report's keys stay within what it kept.
  void AFullTemporaryFolderCutsTheReportVisibly() {
    std::string bytes = "H CABECALHO\r\n";
    for (int n = 0; n < 6000; ++n) bytes += "D999  00123\r\n";
    Write(bytes);
    const verilote::testing::FillingFiles full(50'000);  // half the first block of findings
    MainWindow window(WindowOptions{folder_.path(), full.Maker()});
    window.show();
    ModalScript script({Accept()});
    Run(window);
    const QString cut = FromCp1252(
        "Relatório incompleto: não foi possível guardar o relatório inteiro na pasta temporária. As linhas acima foram mantidas."_cp);
    QCOMPARE(script.seen.size(), 1);
    QVERIFY2(script.seen[0].contains(cut + QStringLiteral("\n")), qPrintable(script.seen[0]));
    QVERIFY2(script.seen[0].contains(FromCp1252("sem espaço no dispositivo"_cp)), qPrintable(script.seen[0]));

    // "Validando", the 4,096 findings kept (records 2 to 4097), the cut line.
    const std::vector<std::string> lines = window.ReportLines();
    QCOMPARE(lines.size(), std::size_t{4098});
    QCOMPARE(lines[4096], std::string("Linha 4097 Codigos de erro: (D.02)"));
    QCOMPARE(FromCp1252(lines.back()), cut);

    QVERIFY(window.InspectLine(4096));
    RecordInspector* inspector = window.Inspector();
    QCOMPARE(inspector->FindingLine()->text(), QStringLiteral("Linha 4097 Codigos de erro: (D.02)"));
    QVERIFY(!inspector->NextButton()->isEnabled());
    QVERIFY(!inspector->Next());
    QTest::keyClick(inspector->Fields(), Qt::Key_End, Qt::ControlModifier);
    QTest::keyClick(window.Report(), Qt::Key_End, Qt::ControlModifier);
    QCOMPARE(window.Report()->CursorLine(), 4097u);
    QTest::keyClick(window.Report(), Qt::Key_Return);  // the cut line is no finding
    QCOMPARE(inspector->Line(), std::optional<std::uint64_t>(4096));
    QVERIFY(inspector->Previous());
    QCOMPARE(inspector->FindingLine()->text(), QStringLiteral("Linha 4096 Codigos de erro: (D.02)"));

    // Run again while the folder is still full: cut again, and said again.
    ModalScript again({Accept()});
    Run(window);
    QCOMPARE(again.seen.size(), 1);
    QCOMPARE(window.Store().Size(), 4098u);
    QCOMPARE(FromCp1252(window.Store().Read(4097)), cut);
  }
};

}  // namespace
}  // namespace verilote::gui::testing

int main(int argc, char* argv[]) {
  if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
  QApplication app(argc, argv);
  QApplication::setApplicationName(QStringLiteral("Verilote"));
  QStandardPaths::setTestModeEnabled(true);
  verilote::gui::testing::InspectorTest test;
  return QTest::qExec(&test, argc, argv);
}

#include "inspector_test.moc"
