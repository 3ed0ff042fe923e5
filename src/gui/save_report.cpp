// "Salvar relatório como…" (Ctrl+S): the system's save dialog, then the
// report written by the core (SaveReport), the same bytes "Copia tela para
// arquivo novo" writes, beside the chosen file and put in its place whole.
#include <QDir>
#include <QFileDialog>
#include <QFileInfo>
#include <QScopeGuard>
#include <QSettings>

#include "app/cp1252.hpp"
#include "desk/report_save.hpp"
#include "gui/main_window.hpp"
#include "gui/messages_pt.hpp"
#include "gui/qt_text.hpp"

namespace verilote::gui {

namespace {

// Reports go where the last one went; until then, where the last input came
// from.
const QString kReportDirectoryKey = QStringLiteral("lastReportDirectory");

}  // namespace

void MainWindow::SalvarRelatorioComo1Click() {
  if (destroying_ || closeWhenDone_) return;
  QSettings settings;
  const QString folder = settings.value(kReportDirectoryKey, lastDirectory_).toString();
  QString path;
  {
    BeforeQuestion();
    const auto after = qScopeGuard([this] { AfterQuestion(); });
    path = QFileDialog::getSaveFileName(this, FromCp1252("Salvar relatório como"_cp),
                                        QDir(folder).filePath(QStringLiteral("relatorio.txt")),
                                        QStringLiteral("Texto (*.txt);;Todos (*)"));
  }
  if (path.isEmpty()) return;
  settings.setValue(kReportDirectoryKey, QFileInfo(path).absolutePath());
  if (const std::string error = SaveReport(*store_, PathBytes(path)); !error.empty()) {
    ShowError(InPortuguese(PathText(error)));
    return;
  }
  Tell(FromCp1252("Relatório salvo com sucesso !!\r"_cp) + QDir::toNativeSeparators(path));
}

}  // namespace verilote::gui
