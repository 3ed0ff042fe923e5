#include "gui/messages_pt.hpp"

#include <QCoreApplication>
#include <QLibraryInfo>
#include <QLocale>
#include <QTranslator>

#include "desk/window_texts.hpp"
#include "gui/qt_text.hpp"

namespace verilote::gui {

QString InPortuguese(QString message) { return FromCp1252(verilote::InPortuguese(ToCp1252(message))); }

bool InstallPortugueseTranslations() {
  auto* translator = new QTranslator(QCoreApplication::instance());
  const QLocale brazil(QLocale::Portuguese, QLocale::Brazil);
  // Where Qt keeps them on Linux, or a "translations" folder beside the program (Windows).
  for (const QString& dir : {QLibraryInfo::path(QLibraryInfo::TranslationsPath),
                             QCoreApplication::applicationDirPath() + QStringLiteral("/translations")}) {
    if (translator->load(brazil, QStringLiteral("qtbase"), QStringLiteral("_"), dir)) {
      QCoreApplication::installTranslator(translator);
      return true;
    }
  }
  delete translator;
  return false;
}

}  // namespace verilote::gui
