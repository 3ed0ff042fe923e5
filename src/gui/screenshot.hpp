// `verilote --screenshot FILE`: shows the window with its "&Validar" menu
// opened down to the SIGCB commands, saves what the screen shows of it to
// FILE (PNG) and quits. scripts/screenshot.sh runs it under Xvfb.
#pragma once

#include <QString>

namespace verilote::gui {

class MainWindow;

void TakeScreenshotLater(MainWindow& window, const QString& path);

}  // namespace verilote::gui
