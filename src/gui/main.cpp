// verilote: the desktop window.
#include <QApplication>
#include <QMessageBox>
#include <memory>

#include "app/errors.hpp"
#include "app/shell.hpp"
#include "gui/main_window.hpp"
#include "gui/messages_pt.hpp"
#include "gui/qt_text.hpp"
#include "gui/screenshot.hpp"

int main(int argc, char* argv[]) {
  QApplication app(argc, argv);
  QApplication::setApplicationName(
      QString::fromLatin1(verilote::kProgramName.data(), static_cast<qsizetype>(verilote::kProgramName.size())));
  QApplication::setOrganizationName(QStringLiteral("Verilote"));
  QApplication::setApplicationVersion(
      QString::fromLatin1(verilote::kVersion.data(), static_cast<qsizetype>(verilote::kVersion.size())));
  verilote::gui::InstallPortugueseTranslations();  // Qt's own dialogs and buttons
  std::unique_ptr<verilote::gui::MainWindow> made;
  try {
    made = std::make_unique<verilote::gui::MainWindow>();
  } catch (const verilote::FileError& e) {  // no temporary file for the report
    QMessageBox::critical(nullptr, QApplication::applicationName(),
                          verilote::gui::InPortuguese(verilote::gui::FromCp1252(e.what())));
    return 1;
  }
  verilote::gui::MainWindow& window = *made;
  window.show();
  const QStringList args = QApplication::arguments();
  const qsizetype at = args.indexOf(QStringLiteral("--screenshot"));
  const qsizetype validate = args.indexOf(QStringLiteral("--validate"));
  const qsizetype inspect = args.indexOf(QStringLiteral("--inspect"));
  const qsizetype finding = args.indexOf(QStringLiteral("--finding"));
  if (at > 0 && at + 1 < args.size() && inspect > 0 && inspect + 1 < args.size())
    verilote::gui::TakeInspectorScreenshot(window, args.at(at + 1), args.at(inspect + 1),
                                           finding > 0 && finding + 1 < args.size() ? args.at(finding + 1) : QString());
  else if (at > 0 && at + 1 < args.size() && validate > 0 && validate + 1 < args.size())
    verilote::gui::TakeScreenshotAfterRun(window, args.at(at + 1), args.at(validate + 1));
  else if (at > 0 && at + 1 < args.size())
    verilote::gui::TakeScreenshotLater(window, args.at(at + 1));
  return QApplication::exec();
}
