// `verilote --screenshot FILE`: shows the window with its "&Validar" menu
// opened down to the SIGCB commands, saves what the screen shows of it to
// FILE (PNG) and quits. scripts/screenshot.sh runs it under Xvfb.
#pragma once

#include <QString>

namespace verilote::gui {

class MainWindow;

void TakeScreenshotLater(MainWindow& window, const QString& path);

// `verilote --screenshot FILE --validate REMITTANCE`: runs "SIGCB - Remessa
// 240 ( Valida Tudo )" on REMITTANCE (its boxes answered), shows the report's
// end with the verdict, saves the window to FILE and quits.
void TakeScreenshotAfterRun(MainWindow& window, const QString& path, const QString& remittance);

// `verilote --screenshot FILE --inspect REMITTANCE [--finding TEXT]`: runs the
// same command on REMITTANCE, opens the record inspector on its first finding
// whose line holds TEXT (any finding without it), saves the inspector to FILE
// and quits; exits with 1 when no finding matches.
void TakeInspectorScreenshot(MainWindow& window, const QString& path, const QString& remittance, const QString& text);

}  // namespace verilote::gui
