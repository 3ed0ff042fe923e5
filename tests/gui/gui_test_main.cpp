// Runs the window's Qt Test suites: `verilote_gui_tests` runs all of them,
// `verilote_gui_tests Name` one.
#include <QApplication>
#include <QTest>

#include "gui_test_support.hpp"

int main(int argc, char* argv[]) {
  if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
  QApplication app(argc, argv);
  QApplication::setApplicationName(QStringLiteral("Verilote"));
  int failures = 0, run = 0;
  for (const auto& [name, factory] : verilote::gui::testing::TestRegistry()) {
    if (argc > 1 && name != argv[1]) continue;
    ++run;
    failures += QTest::qExec(factory().get());
  }
  return failures == 0 && run > 0 ? 0 : 1;
}
