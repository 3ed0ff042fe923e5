// The window: its menu bar built from the command table, the leftover files
// of an update removed, and a file dropped on the report validated.
#include <QAction>
#include <QFile>
#include <QMenu>
#include <QMenuBar>
#include <QMimeData>
#include <QPlainTextEdit>
#include <QSignalSpy>
#include <QTest>
#include <QUrl>
#include <map>

#include "app/command_table.hpp"
#include "app/cp1252.hpp"
#include "app/shell.hpp"
#include "gui/main_window.hpp"
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
                                                           {"ValidarArquivoDetectarLayout1Click", "Ctrl+O"}};
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
    // Several layouts fit: the user picks one from a list.
    const QString title = FromCp1252("CobCaixa 2.x Títulos V 2.2.0"_cp);
    ModalScript script({Answer(title)});
    QCOMPARE(DropToEnd(window, kExamples + "cobcaixa/titulos_ok.txt"), std::optional<int>(0));
    QCOMPARE(script.seen.size(), 1);
    QVERIFY(script.seen[0].startsWith(FromCp1252("Validar arquivo|Layouts possíveis deste arquivo; escolha um:|"_cp)));
    QVERIFY(window.ReportLines().front().starts_with("Layout escolhido: " + ToCp1252(title) + " ("));
  }
};

const RegisterTest kRegistration("WindowTest", [] { return std::make_unique<WindowTest>(); });

}  // namespace
}  // namespace verilote::gui::testing

#include "window_test.moc"
