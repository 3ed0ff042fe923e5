// The window speaks Portuguese: the program's own English texts in its error
// boxes (the file errors and the second line of a conversion error, which
// the command line keeps in English) are put in Portuguese here, and Qt's own
// dialogs take Qt's Portuguese translations.
#pragma once

#include <QString>

namespace verilote::gui {

// `message` with every known English phrase in Portuguese; the names and
// values it quotes stay as they are.
QString InPortuguese(QString message);

// Installs Qt's Portuguese (Brazil) translations for its dialogs and buttons;
// false when the system has none.
bool InstallPortugueseTranslations();

}  // namespace verilote::gui
