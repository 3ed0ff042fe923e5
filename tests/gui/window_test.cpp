// The window: its menu bar built from the command table, the leftover files
// of an update removed, a file dropped on the report validated; its runs: a
// command runs on a worker thread, its input box appears on the window, report
// lines arrive in order, new output comes into view and a finished command is
// shown from its start, the progress row shows only while the command works,
// and the Stop button or closing the window (once the user agrees) ends it as
// a failure would, saying so in the report; the report area selects and
// copies any range; what the screen shows goes to a file byte for byte.
#include <QAction>
#include <QApplication>
#include <QClipboard>
#include <QDialogButtonBox>
#include <QDir>
#include <QFile>
#include <QFileDialog>
#include <QFontMetricsF>
#include <QImage>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QMessageBox>
#include <QMimeData>
#include <QPushButton>
#include <QScrollBar>
#include <QSignalSpy>
#include <QStandardPaths>
#include <QTest>
#include <QUrl>
#include <atomic>
#include <map>

#include "app/command_table.hpp"
#include "app/cp1252.hpp"
#include "app/report.hpp"
#include "app/shell.hpp"
#include "banking/text.hpp"
#include "gui/main_window.hpp"
#include "gui/messages_pt.hpp"
#include "gui/qt_text.hpp"
#include "gui_test_support.hpp"

namespace verilote::gui::testing {
namespace {

// Every menu's entries under its path, in menu order: "caption|handler|shortcut|
// enabled" for a command, "-" for a separator, "> title" for a submenu.
using Tree = std::map<QString, QStringList>;

void Walk(const QList<QAction*>& actions, const QString& path, Tree& out) {
  for (QAction* action : actions) {
    if (action->isSeparator()) {
      out[path] << QStringLiteral("-");
    } else if (QMenu* menu = action->menu()) {
      out[path] << "> " + menu->title();
      Walk(menu->actions(), path.isEmpty() ? menu->title() : path + FromCp1252(kPathSeparator) + menu->title(), out);
    } else {
      out[path] << action->text() + '|' + action->objectName() + '|' + action->shortcut().toString() + '|' +
                       (action->isEnabled() ? "on" : "off");
    }
  }
}

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

Verdict WritesVerdictAndChecklist(Host& host) {
  host.ReportClear();
  host.ReportAppend("CODIGO DE BARRAS OK");
  for (int n = 1; n <= 200; ++n) host.ReportAppend(Cat(n, " - ( ) item da lista"));
  return Verdict::Clean;
}

Verdict WritesVerdictOnly(Host& host) {
  host.ReportAppend("CODIGO DE BARRAS OK");
  return Verdict::Clean;
}

Verdict WorksThenAsks(Host& host) {
  host.Sleep(700);
  host.InputBox("Entrada", "Valor", "");
  return Verdict::Clean;
}

Verdict WritesManyLines(Host& host) {
  for (int n = 1; n <= 30000; ++n) host.ReportAppend(Cat("Linha ", n, " do relatório"_cp));
  return Verdict::Clean;
}

Verdict AsksTextThenFile(Host& host) {
  host.InputBox("Código de barras"_cp, "Digite a representação numérica"_cp, "");
  host.OpenFile("Selecione o arquivo", FileFilter::Remessa);
  return Verdict::Clean;
}

Verdict WritesAccentedLine(Host& host) {
  host.ReportAppend(Accented());
  return Verdict::Clean;
}

// Letters wider and narrower than a digit, and a line of digits.
const std::vector<std::string> kWidths = {"WWWWW MMMMM WWWWW MMMMM", "iiiii lllll ..... iiiii",
                                          "0123456789 0123456789"};
Verdict WritesWidths(Host& host) {
  host.ReportClear();
  for (const std::string& line : kWidths) host.ReportAppend(line);
  return Verdict::Clean;
}

// The right edge of the highlight on a line of the view: one past its last pixel.
int HighlightEnd(ReportView& view, std::uint64_t line) {
  const QImage image = view.viewport()->grab().toImage();
  const QRgb highlight = view.palette().color(QPalette::Highlight).rgb();
  const int height = view.fontMetrics().lineSpacing();
  const int top = static_cast<int>(line - view.TopLine()) * height;
  int end = 0;
  for (int y = top; y < top + height && y < image.height(); ++y)
    for (int x = 0; x < image.width(); ++x)
      if (image.pixel(x, y) == highlight) end = std::max(end, x + 1);
  return end;
}

class WindowTest : public QObject {
  Q_OBJECT

 private slots:
  void MenuBarIsTheCommandTable() {
    ShownWindow shown;
    Tree menus;
    Walk(shown.window->menuBar()->actions(), QString(), menus);

    // The shortcuts, typed as the keys the user presses.
    const std::map<std::string_view, QString> shortcuts = {{"CdigodebarrasSIGCBVriosboletos1Click", "Ctrl+B"},
                                                           {"Umdocumento1Click", "F5"},
                                                           {"Digitandoosdados1Click", "F6"},
                                                           {"Cdigodebarras12posies1Click", "Ctrl+Q"},
                                                           {"LimparTela1Click", "F10"},
                                                           {"ImprimirMemoLines1Click", "Ctrl+I"},
                                                           {"ValidarArquivoDetectarLayout1Click", "Ctrl+O"},
                                                           {"SalvarRelatorioComo1Click", "Ctrl+S"}};
    Tree expected;
    for (const MenuRow& row : MenuRows()) {
      // A submenu stands where the table first names it.
      QString parent;
      std::string_view rest = row.path;
      while (!rest.empty()) {
        const std::size_t cut = rest.find(kPathSeparator);
        const QString title = FromCp1252(rest.substr(0, cut));
        if (!expected[parent].contains("> " + title)) expected[parent] << "> " + title;
        parent = parent.isEmpty() ? title : parent + FromCp1252(kPathSeparator) + title;
        rest = cut == std::string_view::npos ? std::string_view() : rest.substr(cut + kPathSeparator.size());
      }
      if (row.IsSeparator()) {
        expected[parent] << QStringLiteral("-");
        continue;
      }
      const auto key = shortcuts.find(row.handler);
      const bool built = row.scope == Scope::Window || FindHandler(row.handler) != nullptr;
      expected[parent] << FromCp1252(row.caption) + '|' + FromCp1252(row.handler) + '|' +
                              (key == shortcuts.end() ? QString() : key->second) + '|' + (built ? "on" : "off");
    }
    QCOMPARE(menus, expected);
  }
  void LeftoverFilesGoAtStartUpAndClosing() {
    QTemporaryDir dir;
    for (const char* name : {"versao2.exe", "versao.txt", "suporte.bat", "versao.bat", "email.txt", "keep.txt"})
      Touch(dir.filePath(name));
    MainWindow window(WindowOptions{dir.path()});
    window.show();
    QVERIFY(!QFile::exists(dir.filePath("versao2.exe")));
    QVERIFY(!QFile::exists(dir.filePath("versao.txt")));
    QVERIFY(QFile::exists(dir.filePath("suporte.bat")));
    QTRY_VERIFY(window.ActionOf("Sair1Click")->isEnabled());
    window.ActionOf("Sair1Click")->trigger();
    QVERIFY(!window.isVisible());
    for (const char* name : {"suporte.bat", "versao.bat", "email.txt"}) QVERIFY(!QFile::exists(dir.filePath(name)));
    QVERIFY(QFile::exists(dir.filePath("keep.txt")));
  }

  void DroppedFileIsDetectedAndValidated() {
    ShownWindow shown;
    MainWindow& window = *shown.window;
    // Both client versions fit a bill file without booklets: the newer one is checked, unasked.
    ModalScript script({});
    QCOMPARE(DropToEnd(window, kExamples + "cobcaixa/titulos_ok.txt"), std::optional<int>(0));
    QVERIFY(script.seen.isEmpty());
    const std::vector<std::string> lines = window.ReportLines();
    QCOMPARE(lines.at(0), std::string("Layout detectado: CobCaixa 2.x Títulos V 2.3.3"_cp));
    QVERIFY(lines.at(1).starts_with("CobCaixa 2.x Títulos V 2.3.3: "_cp));
    QVERIFY(lines.at(2).starts_with("também confere: CobCaixa 2.x Títulos V 2.2.0"_cp));
  }

  void StopAndCloseEndTheCommand() {
    ShownWindow shown;
    MainWindow& window = *shown.window;
    ModalScript script({Answer(QStringLiteral("7")), Accept(), Answer(QStringLiteral("1")), Click(QMessageBox::No),
                        Click(QMessageBox::Yes)});
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
    for (std::size_t n = 1; n + 1 < report.size(); ++n) QCOMPARE(report[n], Cat("Registro numero ", n + 6));
    QCOMPARE(report.back(), "Interrompido pelo usuário."_cp);  // a saved copy says it is not whole
    // Closing the window asks first: "Não" goes on, "Sim" stops the command and closes.
    gRecordsRead = 0;
    QVERIFY(window.StartCommand(ReadsForever));
    QTRY_VERIFY(gRecordsRead > 0);
    window.close();
    QVERIFY(window.isVisible());
    QVERIFY(window.IsRunning());
    const int before = gRecordsRead;
    QTRY_VERIFY(gRecordsRead > before);
    window.close();
    QTRY_VERIFY(!window.IsRunning());
    QTRY_VERIFY(!window.isVisible());
    QCOMPARE(script.seen.size(), 5);
  }

  void NewOutputComesIntoViewAndAFinishedCommandShowsItsStart() {
    ShownWindow shown;
    MainWindow& window = *shown.window;
    ReportView& view = *window.Report();
    QCOMPARE(RunToEnd(window, WritesVerdictAndChecklist), std::optional<int>(kClean));
    QCOMPARE(view.TopLine(), 0u);  // the verdict first, not the checklist's end
    QTest::mouseClick(view.viewport(), Qt::LeftButton, {}, QPoint(5, 5));
    QCOMPARE(RunToEnd(window, WritesVerdictOnly), std::optional<int>(kClean));
    QCOMPARE(view.TopLine() + view.VisibleLines(), window.Store().Size());  // the end, where the verdict is
    // A long run is followed while it writes, after a click too.
    QTest::mouseClick(view.viewport(), Qt::LeftButton, {}, QPoint(5, 5));
    ModalScript script({Answer(QStringLiteral("1")), Accept()});
    gRecordsRead = 0;
    QVERIFY(window.StartCommand(ReadsForever));
    QTRY_VERIFY(gRecordsRead > view.VisibleLines() + 20);
    const std::uint64_t seen = window.Store().Size();
    QTRY_VERIFY(view.TopLine() + view.VisibleLines() >= seen);
    window.StopButton()->click();
    QTRY_VERIFY(!window.IsRunning());
  }

  void ProgressShowsOnlyWhileTheCommandWorks() {
    ShownWindow shown;
    MainWindow& window = *shown.window;
    bool shownWhileAsking = true;
    ModalScript script({[&](QWidget* box) {
      QTest::qWait(500);  // longer than the progress row's delay
      shownWhileAsking = window.ProgressRow()->isVisible();
      Answer(QStringLiteral("x"))(box);
    }});
    QSignalSpy finished(&window, &MainWindow::CommandFinished);
    QVERIFY(window.StartCommand(WorksThenAsks));
    QTRY_VERIFY(window.ProgressRow()->isVisible());
    QVERIFY(finished.wait(20000));
    QVERIFY(!shownWhileAsking);
  }

  // A selection over the clipboard's bound leaves the clipboard as it was and
  // offers the report in a file: "Não" does nothing more, "Sim" starts "Copia
  // tela para arquivo novo" (which is then given no name). At the bound, the
  // selection is copied.
  void CopyOverTheBoundIsRefused() {
    ShownWindow shown;
    MainWindow& window = *shown.window;
    ReportView& view = *window.Report();
    QCOMPARE(RunToEnd(window, WritesVerdictOnly), std::optional<int>(kClean));
    const QString whole = FromCp1252(kNoticeLine) + QStringLiteral("\nCODIGO DE BARRAS OK");
    QSignalSpy asked(&view, &ReportView::CopyToFileAsked);
    QSignalSpy finished(&window, &MainWindow::CommandFinished);
    const auto copy = [&](std::uint64_t bound) {
      QGuiApplication::clipboard()->setText(QStringLiteral("before"));
      view.SetClipboardBound(bound);
      QTest::keyClick(&view, Qt::Key_A, Qt::ControlModifier);
      QTest::keyClick(&view, Qt::Key_C, Qt::ControlModifier);
      return QGuiApplication::clipboard()->text();
    };
    QCOMPARE(copy(static_cast<std::uint64_t>(whole.size())), whole);
    {
      ModalScript script({Click(QMessageBox::No)});
      QCOMPARE(copy(static_cast<std::uint64_t>(whole.size()) - 1), QStringLiteral("before"));
    }
    QCOMPARE(asked.size(), 0);
    ModalScript script({Click(QMessageBox::Yes), Answer(QString()), Accept()});
    QCOMPARE(copy(static_cast<std::uint64_t>(whole.size()) - 1), QStringLiteral("before"));
    QCOMPARE(asked.size(), 1);
    QVERIFY(finished.wait(20000));
  }

  // Ctrl+A, Ctrl+C copies the whole report; a range selected with the mouse
  // copies that range; a long selection reaches the clipboard through a file.
  void SelectAndCopyAnyRange() {
    ShownWindow shown;
    MainWindow& window = *shown.window;
    ReportView& view = *window.Report();
    QCOMPARE(RunToEnd(window, WritesManyLines), std::optional<int>(kClean));
    QTest::keyClick(&view, Qt::Key_A, Qt::ControlModifier);
    QTest::keyClick(&view, Qt::Key_C, Qt::ControlModifier);
    const QStringList copied = QGuiApplication::clipboard()->text().split(QLatin1Char('\n'));
    QCOMPARE(copied.size(), 30001);
    QCOMPARE(copied.front(), FromCp1252(kNoticeLine));
    QCOMPARE(copied.back(), FromCp1252("Linha 30000 do relatório"_cp));
    view.ShowFrom(100);
    const int row = view.fontMetrics().lineSpacing(), column = view.fontMetrics().horizontalAdvance(QLatin1Char('0'));
    QTest::mouseClick(view.viewport(), Qt::LeftButton, {}, QPoint(6 * column + 1, row / 2));
    QTest::mouseClick(view.viewport(), Qt::LeftButton, Qt::ShiftModifier, QPoint(5 * column + 1, row + row / 2));
    QCOMPARE(view.SelectedText(), FromCp1252("100 do relatório\nLinha"_cp));
  }

  // A line selected whole is highlighted to its text's last pixel, in a font
  // whose letters differ in width and in one whose advance is no whole pixel.
  void HighlightCoversTheLinesText() {
    ShownWindow shown;
    MainWindow& window = *shown.window;
    ReportView& view = *window.Report();
    QCOMPARE(RunToEnd(window, WritesWidths), std::optional<int>(kClean));
    QFont sans(QStringLiteral("DejaVu Sans"));
    sans.setPixelSize(15);
    QFont mono(QStringLiteral("DejaVu Sans Mono"));
    mono.setPixelSize(13);
    for (const QFont& font : {sans, mono}) {
      view.setFont(font);
      for (std::uint64_t line = 0; line < kWidths.size(); ++line) {
        view.Reveal(line);
        const double text = QFontMetricsF(font).horizontalAdvance(FromCp1252(kWidths[line]));
        const int end = HighlightEnd(view, line);
        QVERIFY2(end >= text && end <= text + 2, qPrintable(QStringLiteral("%1: line %2 ends at %3, its text at %4")
                                                                .arg(font.family())
                                                                .arg(line)
                                                                .arg(end)
                                                                .arg(text)));
      }
    }
  }

  // Ctrl+S: the system's save dialog; the report lands whole, Windows-1252
  // and CR LF, and the next save opens in its folder; a file that cannot be
  // replaced (read-only) stays as it was, and an error box says why.
  void SaveReportAsWithCtrlS() {
    ShownWindow shown;
    MainWindow& window = *shown.window;
    QCOMPARE(RunToEnd(window, WritesAccentedLine), std::optional<int>(kClean));
    QTemporaryDir folder;
    const QString target = folder.filePath(QString::fromUtf8("relat\xC3\xB3rio.txt"));
    // The shortcut reaches the window while it is the active one.
    const auto pressCtrlS = [&window] {
      window.activateWindow();
      QTRY_VERIFY(QApplication::activeWindow() == &window);
      QTest::keyClick(window.Report(), Qt::Key_S, Qt::ControlModifier);
    };
    // Accepted once the step has returned: the box the dialog asks then (replace
    // it?) comes to the script's next step.
    const auto typed = [](const QString& path) {
      return [path](QWidget* w) {
        w->findChild<QLineEdit*>(QStringLiteral("fileNameEdit"))->setText(path);
        QMetaObject::invokeMethod(w, "accept", Qt::QueuedConnection);
      };
    };
    ModalScript script({typed(target), Accept()});
    pressCtrlS();
    QCOMPARE(QByteArray::fromStdString(ReadBytes(target)), QByteArray::fromStdString(Screen()));
    QCOMPARE(script.seen.size(), 1);
    QVERIFY2(script.seen[0].endsWith(QDir::toNativeSeparators(target)), qPrintable(script.seen[0]));

    const QString locked = folder.filePath(QStringLiteral("locked.txt"));
    Touch(locked);
    QVERIFY(QFile::setPermissions(locked, QFile::ReadOwner));
    QString opened;
    ModalScript again({[&](QWidget* w) {
                         opened = qobject_cast<QFileDialog*>(w)->directory().absolutePath();
                         typed(locked)(w);
                       },
                       Click(QMessageBox::Yes), Accept()});
    pressCtrlS();
    QCOMPARE(opened, QDir(folder.path()).absolutePath());
    QCOMPARE(ReadBytes(locked), std::string("x"));
    QCOMPARE(again.seen.size(), 2);  // replace it?, then the error
    QVERIFY2(again.seen[1].contains(QStringLiteral("locked.txt")), qPrintable(again.seen[1]));
    QCOMPARE(QDir(folder.path()).entryList(QDir::Files | QDir::Hidden).size(), 2);  // no work file left
  }

  // Qt's dialogs and our own error texts in Portuguese; an input box that
  // holds a typeable line; the last folder kept for the next run; the report
  // takes the keyboard at start.
  void SpeaksPortugueseAndRemembers() {
    QCOMPARE(InPortuguese(QStringLiteral("I/O error: '/d/a.txt': cannot open the file (No such file or directory)")),
             FromCp1252("Erro de E/S: '/d/a.txt': não foi possível abrir o arquivo (arquivo ou pasta inexistente)"_cp));
    QCOMPARE(InPortuguese(QStringLiteral("'1x' is not a valid integer value\nFile '/r.rem', record 7.")),
             QStringLiteral("'1x' is not a valid integer value\nArquivo '/r.rem', registro 7."));
    QVERIFY(InstallPortugueseTranslations());
    ShownWindow shown;
    MainWindow& window = *shown.window;
    QTRY_COMPARE(QApplication::focusWidget(), static_cast<QWidget*>(window.Report()));
    QTemporaryDir folder;
    Touch(folder.filePath("a.rem"));
    QString cancel;
    int width = 0;
    ModalScript script({[&](QWidget* w) {
                          cancel = w->findChild<QDialogButtonBox*>()->button(QDialogButtonBox::Cancel)->text();
                          width = w->width();
                          Answer(QString())(w);
                        },
                        [&](QWidget* w) {
                          // Typed as a user types it: selectFile leaves a name field that has
                          // the focus as it was (on a first run, with no folder remembered).
                          w->findChild<QLineEdit*>(QStringLiteral("fileNameEdit"))->setText(folder.filePath("a.rem"));
                          Accept()(w);
                        }});
    QCOMPARE(RunToEnd(window, AsksTextThenFile), std::optional<int>(kClean));
    QCOMPARE(cancel, QStringLiteral("Cancelar"));
    QVERIFY2(width > window.fontMetrics().horizontalAdvance(QString(48, QLatin1Char('0'))),
             qPrintable(QString::number(width)));
    MainWindow again(WindowOptions{shown.programDirectory.path()});
    QString opened;
    ModalScript next({Answer(QString()), [&](QWidget* w) {
                        opened = qobject_cast<QFileDialog*>(w)->directory().absolutePath();
                        qobject_cast<QDialog*>(w)->reject();
                      }});
    QCOMPARE(RunToEnd(again, AsksTextThenFile), std::optional<int>(kClean));
    QCOMPARE(opened, QDir(folder.path()).absolutePath());
  }

  // What the screen shows reaches the file byte for byte, under the accented
  // name as typed; the copy and append commands themselves are checked in the
  // core's tests.
  void CopyIsByteExact() {
    ShownWindow shown;
    QCOMPARE(RunToEnd(*shown.window, WritesAccentedLine), std::optional<int>(kClean));
    const QString name = QString::fromUtf8("c\xC3\xB3pia.txt");
    ModalScript script({Answer(name), Accept()});
    QCOMPARE(TriggerToEnd(*shown.window, "Copiaparaarquivonovo1Click"), std::optional<int>(kClean));
    QCOMPARE(QByteArray::fromStdString(ReadBytes(shown.programDirectory.filePath(name))),
             QByteArray::fromStdString(Screen()));
  }
};

}  // namespace
}  // namespace verilote::gui::testing

int main(int argc, char* argv[]) {
  if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
  QApplication app(argc, argv);
  QApplication::setApplicationName(QStringLiteral("Verilote"));
  QStandardPaths::setTestModeEnabled(true);  // settings go to a test folder
  verilote::gui::testing::WindowTest test;
  return QTest::qExec(&test, argc, argv);
}

#include "window_test.moc"
