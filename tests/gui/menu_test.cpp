// The menu bar equals the command table: the same tree, captions, separators
// and shortcuts; commands not built yet are greyed out.
#include <QAction>
#include <QMenu>
#include <QMenuBar>
#include <QTest>
#include <map>
#include <vector>

#include "app/command_table.hpp"
#include "app/cp1252.hpp"
#include "gui/main_window.hpp"
#include "gui/qt_text.hpp"
#include "gui_test_support.hpp"

namespace verilote::gui::testing {
namespace {

struct Item {
  QString caption;  // "-" for a separator
  QKeySequence shortcut;
  QString handler;
  bool enabled = true;
};

// Items of every menu under its path ("&Validar › Cobrança"), in menu order.
void Walk(const QList<QAction*>& actions, const QString& path, std::map<QString, std::vector<Item>>& out) {
  for (QAction* action : actions) {
    if (action->isSeparator()) {
      out[path].push_back({QStringLiteral("-"), {}, {}, true});
    } else if (QMenu* menu = action->menu()) {
      Walk(menu->actions(), path.isEmpty() ? menu->title() : path + FromCp1252(" › "_cp) + menu->title(), out);
    } else {
      out[path].push_back({action->text(), action->shortcut(), action->objectName(), action->isEnabled()});
    }
  }
}

// Captions of a menu's entries, submenus and separators included.
QStringList Entries(const QList<QAction*>& actions) {
  QStringList entries;
  for (QAction* action : actions)
    entries << (action->isSeparator() ? QStringLiteral("-")
                : action->menu()      ? action->menu()->title()
                                      : action->text());
  return entries;
}

QMenu* Submenu(const QList<QAction*>& actions, const QString& title) {
  for (QAction* action : actions)
    if (action->menu() != nullptr && action->menu()->title() == title) return action->menu();
  return nullptr;
}

QString T(std::string_view cp1252) { return FromCp1252(cp1252); }

class MenuTest : public QObject {
  Q_OBJECT

 private slots:
  void EveryTableRowIsAMenuItemInItsPlace() {
    ShownWindow shown;
    std::map<QString, std::vector<Item>> menus;
    Walk(shown.window->menuBar()->actions(), QString(), menus);

    std::map<QString, std::vector<Item>> expected;
    for (const MenuRow& row : MenuRows()) expected[T(row.path)].push_back({T(row.caption), {}, T(row.handler), true});
    QCOMPARE(menus.size(), expected.size());
    for (const auto& [path, items] : expected) {
      const auto& actual = menus[path];
      QCOMPARE(actual.size(), items.size());
      for (std::size_t i = 0; i < items.size(); ++i) {
        QCOMPARE(actual[i].caption, items[i].caption);
        QCOMPARE(actual[i].handler, items[i].handler);
      }
    }
  }

  void SubmenusStandWhereTheTableFirstNamesThem() {
    ShownWindow shown;
    const QList<QAction*> bar = shown.window->menuBar()->actions();
    QCOMPARE(Entries(bar), (QStringList{"&Validar", "&Acertos", "Outros", "Ferramentas", "Sobre", "Ajuda"}));

    QMenu* validar = Submenu(bar, "&Validar");
    QVERIFY(validar != nullptr);
    QCOMPARE(Entries(validar->actions()),
             (QStringList{T("Cobrança"_cp), T("Arrecadação"_cp), "Outros", "Limpar Tela", "-", "&Sair"}));
    QMenu* cobranca = Submenu(validar->actions(), T("Cobrança"_cp));
    QVERIFY(cobranca != nullptr);
    QCOMPARE(Entries(cobranca->actions()),
             (QStringList{"SIGCB", "SICOB", "SINCO", "Construgiro", "-", T("Relatório de Homologação"_cp), "-",
                          T("Montar código de barras e representação Numérica"_cp),
                          T("Código de barras 44 posições ( Genérico )"_cp), T("Nosso Número"_cp),
                          "Fator de vencimento", "-", T("Gerar relação de NN com 10 Posições + DV"_cp),
                          T("Gerar relação de NN com 15 Posições + DV"_cp),
                          T("Gerar relação de NN com 18 Posições + DV"_cp), T("Gerar relação de NN  do SIGCB"_cp)}));
    QMenu* sigcb = Submenu(cobranca->actions(), "SIGCB");
    QVERIFY(sigcb != nullptr);
    QCOMPARE(
        Entries(sigcb->actions()),
        (QStringList{"SIGCB - Remessa 240 ( Valida Tudo )", "SIGCB - Remessa 240 ( Valida Parcial )",
                     "SIGCB - Remessa 400 ( Valida Tudo )", "-", "Boletos Antigos", "Boletos Cedente 7 Digitos", "-",
                     T("Converte CódBarra -> Representação"_cp), T("Converte Representação -> CódBarra"_cp)}));
    QMenu* arrecadacao = Submenu(validar->actions(), T("Arrecadação"_cp));
    QVERIFY(arrecadacao != nullptr);
    QCOMPARE(
        Entries(arrecadacao->actions()),
        (QStringList{"SIACC - Arquivo Remessa", T("SIEMD - Arquivo Remessa do Contra-Cheque - Versão do layout 01"_cp),
                     T("SIEMD - Arquivo Remessa do Contra-Cheque - Versão do layout 03"_cp), "-",
                     T("SITCS - Código de Barras - Vários boletos (Antigo SICAS-CapCAIXA)"_cp),
                     T("SITCS - Código de Barras - Via arquivo"_cp), "SICAP", "-", T("Relatorio de Homologação"_cp),
                     "Antigos"}));
    QMenu* outros = Submenu(bar, "Outros");
    QVERIFY(outros != nullptr);
    QCOMPARE(Entries(outros->actions()),
             (QStringList{"Copia tela para arquivo novo", T("Copia tela para arquivo já existente"_cp),
                          "Imprimir a tela", "-", T("Configura Impressão"_cp), "Configura Impressora",
                          "Configura Fonte", "Configura Cor Fundo"}));
  }

  void ShortcutsAsTheTableGivesThem() {
    ShownWindow shown;
    const std::map<QString, QKeySequence> expected = {{"CdigodebarrasSIGCBVriosboletos1Click", QKeySequence("Ctrl+B")},
                                                      {"Umdocumento1Click", QKeySequence("F5")},
                                                      {"Digitandoosdados1Click", QKeySequence("F6")},
                                                      {"Cdigodebarras12posies1Click", QKeySequence("Ctrl+Q")},
                                                      {"LimparTela1Click", QKeySequence("F10")},
                                                      {"ImprimirMemoLines1Click", QKeySequence("Ctrl+I")}};
    std::map<QString, std::vector<Item>> menus;
    Walk(shown.window->menuBar()->actions(), QString(), menus);
    int withShortcut = 0;
    for (const auto& [path, items] : menus)
      for (const Item& item : items) {
        if (item.caption == "-") continue;
        const auto it = expected.find(item.handler);
        QCOMPARE(item.shortcut, it == expected.end() ? QKeySequence() : it->second);
        withShortcut += !item.shortcut.isEmpty();
      }
    QCOMPARE(withShortcut, 6);
    QCOMPARE(shown.window->ValidarMenu()->menuAction()->shortcut(), QKeySequence("Shift+F1"));
  }

  void ShiftF1OpensTheValidarMenu() {
    ShownWindow shown;
    QVERIFY(QTest::qWaitForWindowExposed(shown.window.get()));
    QVERIFY(!shown.window->ValidarMenu()->isVisible());
    QTest::keyClick(shown.window.get(), Qt::Key_F1, Qt::ShiftModifier);
    QTRY_VERIFY(shown.window->ValidarMenu()->isVisible());
    shown.window->ValidarMenu()->close();
  }

  void CommandsNotBuiltAreGreyedOut() {
    ShownWindow shown;
    for (const MenuRow& row : MenuRows()) {
      if (row.IsSeparator()) continue;
      QAction* action = shown.window->ActionOf(row.handler);
      QVERIFY(action != nullptr);
      const bool built = row.scope == Scope::Window || FindHandler(row.handler) != nullptr;
      QVERIFY2(action->isEnabled() == built, row.handler.data());
    }
    QVERIFY(shown.window->ActionOf("LimparTela1Click")->isEnabled());
    QVERIFY(shown.window->ActionOf("Copiaparaarquivonovo1Click")->isEnabled());
  }
};

const RegisterTest kRegistration("MenuTest", [] { return std::make_unique<MenuTest>(); });

}  // namespace
}  // namespace verilote::gui::testing

#include "menu_test.moc"
