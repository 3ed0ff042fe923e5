// Start-up, shutdown and the window's own commands.
#include <QAction>
#include <QDesktopServices>
#include <QFile>
#include <QLabel>
#include <QPlainTextEdit>
#include <QSignalSpy>
#include <QTest>
#include <QUrl>

#include "app/shell.hpp"
#include "gui/main_window.hpp"
#include "gui/qt_text.hpp"
#include "gui_test_support.hpp"

namespace verilote::gui::testing {
namespace {

// Stands in for the web browser.
class Browser : public QObject {
  Q_OBJECT
 public:
  Browser() {
    QDesktopServices::setUrlHandler(QStringLiteral("https"), this, "Open");
    QDesktopServices::setUrlHandler(QStringLiteral("file"), this, "Open");
  }
  ~Browser() override {
    QDesktopServices::unsetUrlHandler(QStringLiteral("https"));
    QDesktopServices::unsetUrlHandler(QStringLiteral("file"));
  }
  QList<QUrl> opened;
 public slots:
  void Open(const QUrl& url) { opened << url; }
};

std::vector<std::string> Lines(std::initializer_list<std::string_view> lines) { return {lines.begin(), lines.end()}; }
constexpr std::string_view kNotice =
    "****  Este aplicativo não pode ser utilizado como única forma de validação ****"_cp;

class WindowTest : public QObject {
  Q_OBJECT

 private slots:
  void StartUpNoticeLineAndF10() {
    ShownWindow shown;
    MainWindow& window = *shown.window;
    QCOMPARE(window.windowTitle(), FromCp1252("Verilote Versão 10.03"_cp));
    QCOMPARE(window.VersionLabel()->text(), QStringLiteral("Verilote  10.03"));
    QCOMPARE(window.HelpLabel()->text(),
             FromCp1252("Essa versão é de 14/12/2021 - A cada 10 meses tem versão nova."_cp));
    QCOMPARE(window.ReportLines(), Lines({kNotice}));
    QCOMPARE(window.size(), QSize(957, 666));
    // Showing again (after a minimise, say) does not write the line twice.
    window.hide();
    window.show();
    QCOMPARE(window.ReportLines().size(), std::size_t{1});
    // F10 clears the report but for that line.
    QVERIFY(QTest::qWaitForWindowExposed(&window));
    window.Report()->setPlainText(QStringLiteral("a\nb\nc\n"));
    QSignalSpy finished(&window, &MainWindow::CommandFinished);
    QTest::keyClick(&window, Qt::Key_F10);
    QVERIFY(finished.wait(10000));
    QCOMPARE(window.ReportLines(), Lines({kNotice}));
  }

  void LeftoverFilesGoAtStartUpAndClosing() {
    QTemporaryDir dir;
    for (const char* name : {"versao2.exe", "versao.txt", "suporte.bat", "versao.bat", "email.txt", "keep.txt"})
      WriteBytes(dir.filePath(name), "x");
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

  // Support and update open the home page, the help label too; Ajuda opens the
  // guide beside the program, or says it is missing; Sobre names the version.
  void WebPagesHelpAndAbout() {
    Browser browser;
    ShownWindow shown;
    MainWindow& window = *shown.window;
    const QUrl home(QString::fromLatin1(kHomePage));
    const QString page = shown.programDirectory.filePath(QString::fromLatin1(kHelpFile));
    ModalScript script({Accept(), Accept(), Accept()});
    window.ActionOf("SuporteTcnico1Click")->trigger();
    QTest::mouseClick(window.HelpLabel(), Qt::LeftButton);
    window.ActionOf("AtualizaVersodesteaplicativo1Click")->trigger();
    window.ActionOf("Ajuda1Click")->trigger();
    QCOMPARE(browser.opened, (QList<QUrl>{home, home, home}));
    WriteBytes(page, "<html></html>");
    window.ActionOf("Ajuda1Click")->trigger();
    QCOMPARE(browser.opened.back(), QUrl::fromLocalFile(page));
    window.ActionOf("Sobre1Click")->trigger();
    QCOMPARE(script.seen.size(), 3);  // the update notice, the missing guide, the about box
    QCOMPARE(script.seen.back(), FromCp1252("Verilote Versão 10.03|Verilote Versão: 10.03"_cp));
  }
};

const RegisterTest kRegistration("WindowTest", [] { return std::make_unique<WindowTest>(); });

}  // namespace
}  // namespace verilote::gui::testing

#include "window_test.moc"
