// Runs the window's Qt Test suites: `verilote_gui_tests` runs all of them,
// `verilote_gui_tests Name [QTest options]` one.
#include <QApplication>
#include <QTest>
#include <cstring>

#include "app/shell.hpp"
#include "gui_test_support.hpp"

int main(int argc, char* argv[]) {
  if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
  QApplication app(argc, argv);
  QApplication::setApplicationName(QStringLiteral("Verilote"));
  const auto& registry = verilote::gui::testing::TestRegistry();
  int failures = 0;
  if (argc > 1 && argv[1][0] != '-') {
    const auto it = registry.find(argv[1]);
    if (it == registry.end()) {
      qWarning("no test suite named %s", argv[1]);
      return 2;
    }
    auto suite = it->second();
    // The suite name stands where QTest expects the program name.
    return QTest::qExec(suite.get(), argc - 1, argv + 1);
  }
  for (const auto& [name, factory] : registry) {
    auto suite = factory();
    failures += QTest::qExec(suite.get(), argc, argv);
  }
  return failures == 0 ? 0 : 1;
}
