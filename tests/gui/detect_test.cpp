// "Validar arquivo (detectar layout)" from the menu (Ctrl+O) and by a file
// dropped on the report.
#include <QAction>
#include <QMimeData>
#include <QPlainTextEdit>
#include <QSignalSpy>
#include <QTest>
#include <QUrl>

#include "app/cp1252.hpp"
#include "detect/layout_detection.hpp"
#include "gui/main_window.hpp"
#include "gui/qt_text.hpp"
#include "gui_test_support.hpp"

namespace verilote::gui::testing {
namespace {

const QString kExamples = QStringLiteral(VERILOTE_SOURCE_DIR "/examples/");

// Drops `path` on the report area, as the user would from a file manager.
std::optional<int> DropToEnd(MainWindow& window, const QString& path) {
  QSignalSpy finished(&window, &MainWindow::CommandFinished);
  QMimeData data;
  data.setUrls({QUrl::fromLocalFile(path)});
  QWidget* target = window.Report()->viewport();
  QDragEnterEvent enter(QPoint(10, 10), Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
  QCoreApplication::sendEvent(target, &enter);
  if (!enter.isAccepted()) return std::nullopt;
  QDropEvent drop(QPointF(10, 10), Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
  QCoreApplication::sendEvent(target, &drop);
  if (!finished.wait(20000)) return std::nullopt;
  return finished.at(0).at(0).toInt();
}

class DetectTest : public QObject {
  Q_OBJECT

 private slots:
  // The detection line, then the report the validator's own command writes.
  void CtrlOThenTheValidatorsOwnReport() {
    ShownWindow shown;
    MainWindow& window = *shown.window;
    const QString sad = kExamples + "sad/remessa_sad_com_erros.txt";
    QCOMPARE(window.ActionOf("ValidarArquivoDetectarLayout1Click")->shortcut(), QKeySequence(Qt::CTRL | Qt::Key_O));
    ModalScript script({ChooseFile(sad), ChooseFile(sad)});
    QCOMPARE(TriggerToEnd(window, "SadSicob1Click"), std::optional<int>(1));
    const std::vector<std::string> own = window.ReportLines();
    QCOMPARE(TriggerToEnd(window, "ValidarArquivoDetectarLayout1Click"), std::optional<int>(1));
    std::vector<std::string> expected{DetectLayout(sad.toStdString()).Line()};
    expected.insert(expected.end(), own.begin(), own.end());
    QCOMPARE(window.ReportLines(), expected);
    QVERIFY(script.Done());
  }

  void DroppedFileIsValidatedNotPasted() {
    ShownWindow shown;
    MainWindow& window = *shown.window;
    ModalScript notice({Accept()});  // the validator's notice box
    QCOMPARE(DropToEnd(window, kExamples + "sinco/remessa_sinco_ok.rem"), std::optional<int>(0));
    const std::vector<std::string> lines = window.ReportLines();
    QVERIFY(
        lines.front().starts_with("Layout detectado: SINCO CNAB 240: registros de 240 posi\xE7\xF5"
                                  "es"));
    QCOMPARE(lines.back(), std::string("REGISTROS DOS TITULOS TODOS OK !!!"));
  }

  // Several layouts fit: the user picks one from a list.
  void CandidatesArePickedFromAList() {
    ShownWindow shown;
    MainWindow& window = *shown.window;
    const QString title = FromCp1252("CobCaixa 2.x Títulos V 2.2.0"_cp);
    ModalScript script({Answer(title)});
    QCOMPARE(DropToEnd(window, kExamples + "cobcaixa/titulos_ok.txt"), std::optional<int>(0));
    QCOMPARE(script.seen.size(), 1);
    QVERIFY(script.seen[0].startsWith(FromCp1252("Validar arquivo|Layouts possíveis deste arquivo; escolha um:|"_cp)));
    QVERIFY(window.ReportLines().front().starts_with("Layout escolhido: " + ToCp1252(title) + " ("));
  }
};

const RegisterTest kRegistration("DetectTest", [] { return std::make_unique<DetectTest>(); });

}  // namespace
}  // namespace verilote::gui::testing

#include "detect_test.moc"
