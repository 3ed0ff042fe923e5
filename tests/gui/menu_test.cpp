// The menu bar equals the command table: the same tree, captions, separators
// and shortcuts; commands not built yet are greyed out.
#include <QAction>
#include <QMenu>
#include <QMenuBar>
#include <QTest>
#include <map>

#include "app/command_table.hpp"
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

class MenuTest : public QObject {
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
    QVERIFY(shown.window->ActionOf("Copiaparaarquivonovo1Click")->isEnabled());
  }

  void ShiftF1OpensTheValidarMenu() {
    ShownWindow shown;
    QVERIFY(QTest::qWaitForWindowExposed(shown.window.get()));
    QVERIFY(!shown.window->ValidarMenu()->isVisible());
    QTest::keyClick(shown.window.get(), Qt::Key_F1, Qt::ShiftModifier);
    QTRY_VERIFY(shown.window->ValidarMenu()->isVisible());
    shown.window->ValidarMenu()->close();
  }
};

const RegisterTest kRegistration("MenuTest", [] { return std::make_unique<MenuTest>(); });

}  // namespace
}  // namespace verilote::gui::testing

#include "menu_test.moc"
