// The main window: the report area Memo1 (a view over the report's store), the
// help label Label1, the version label Label2 and the menu bar built from the
// command table. Core commands run on a worker thread (desk/command_runner.hpp)
// while the window stays live and shows their progress and a Stop button;
// window commands (printing, colours, web pages, the about box, closing) run
// here.
#pragma once

#include <QColor>
#include <QElapsedTimer>
#include <QMainWindow>
#include <QPalette>
#include <QPrinter>
#include <QString>
#include <QStringList>
#include <functional>
#include <map>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "desk/command_runner.hpp"
#include "app/command_table.hpp"
#include "app/host.hpp"
#include "desk/report_store.hpp"
#include "gui/gui_host.hpp"
#include "gui/record_inspector.hpp"
#include "gui/report_view.hpp"

class QAction;
class QDialog;
class QLabel;
class QMenu;
class QProgressBar;
class QPushButton;
class QTimer;
class QUrl;

namespace verilote::gui {

struct WindowOptions {
  // The directory that holds the program; empty for the executable's own.
  QString programDirectory;
  // Where the report keeps its bytes; empty for the system's temporary folder.
  TemporaryFileMaker temporaryFiles = {};
};

class MainWindow : public QMainWindow {
  Q_OBJECT

 public:
  explicit MainWindow(WindowOptions options = {}, QWidget* parent = nullptr);
  ~MainWindow() override;

  // Starts a core command on the worker thread; false while another runs.
  // With `answeredFile`, the command's first file dialog is answered with it.
  bool StartCommand(Handler handler, std::optional<std::string> answeredFile = std::nullopt);

  // A file dropped on the window: "Validar arquivo (detectar layout)" on it.
  bool ValidateDroppedFile(const QString& path);
  bool IsRunning() const { return runner_->Alive(); }

  // Opens the record inspector on report line `line` when it is a finding;
  // false, and nothing opens, when it is not.
  bool InspectLine(std::uint64_t line);
  RecordInspector* Inspector() const { return inspector_; }
  const FindingIndex& Findings() const { return runner_->Findings(); }

  // The report's lines as Windows-1252 bytes (for the tests: all in memory).
  std::vector<std::string> ReportLines() const;
  const ReportStore& Store() const { return *store_; }

  // Modal questions of a running command (window thread).
  QString AskText(const QString& caption, const QString& prompt, const QString& defaultText);
  std::optional<QString> AskFile(const QString& title, FileFilter filter);
  std::optional<int> AskItem(const QString& caption, const QString& prompt, const QStringList& items);
  void Tell(const QString& text);
  // The run has ended (called on the window's thread by GuiQuestions).
  void FinishCommand(Outcome outcome);

  // The window's parts, for the tests and the screenshot.
  ReportView* Report() const { return memo1_; }
  QWidget* ProgressRow() const { return progressRow_; }
  QLabel* HelpLabel() const { return label1_; }
  QLabel* VersionLabel() const { return label2_; }
  QPushButton* StopButton() const { return stopButton_; }
  QAction* ActionOf(std::string_view handler) const;
  QMenu* ValidarMenu() const { return validarMenu_; }
  QPrinter& Printer() { return printer_; }
  const QString& ProgramDirectory() const { return programDirectory_; }

  // The colour dialog, replaceable where no one can click it (tests). Returns
  // an invalid colour on Cancel.
  std::function<QColor(const QColor& initial)> chooseColor;

 signals:
  // A core command ended; `status` is an Outcome::Status.
  void CommandFinished(int status, const QString& message);

 protected:
  void showEvent(QShowEvent* event) override;
  void closeEvent(QCloseEvent* event) override;
  bool eventFilter(QObject* watched, QEvent* event) override;
  void dragEnterEvent(QDragEnterEvent* event) override;
  void dropEvent(QDropEvent* event) override;

 private:
  void BuildReportArea();
  void BuildMenus();
  void Dispatch(const MenuRow& row);
  void Pump();
  bool ConfirmStopAndClose();
  void BeforeQuestion();
  void AfterQuestion();
  void ShowError(const QString& text);
  void OpenPage(const QUrl& url);
  void ShowGuide(const QString& path);
  void ChooseReportColour(QPalette::ColorRole role);
  void DeleteLeftovers(std::initializer_list<const char*> names) const;

  // Window commands, named as the command table names them.
  void Sair1Click();
  void Sobre1Click();
  void Ajuda1Click();
  void SuporteTcnico1Click();
  void AtualizaVersodesteaplicativo1Click();
  void ImprimirMemoLines1Click();
  void ConfiguraImpresso1Click();
  void ConfiguraImpressora1Click();
  void ConfiguraFonte1Click();
  void ConfiguraCorFundo1Click();
  void SalvarRelatorioComo1Click();  // in save_report.cpp
  using WindowCommand = void (MainWindow::*)();
  static const std::map<std::string_view, WindowCommand>& WindowCommands();

  QString programDirectory_;
  // The report outlives every run; the runner writes into it.
  std::unique_ptr<ReportStore> store_;
  GuiQuestions questions_{*this};
  std::unique_ptr<CommandRunner> runner_;
  ReportView* memo1_ = nullptr;
  QLabel* label1_ = nullptr;
  QLabel* label2_ = nullptr;
  QProgressBar* progressBar_ = nullptr;
  QPushButton* stopButton_ = nullptr;
  QWidget* progressRow_ = nullptr;
  QMenu* validarMenu_ = nullptr;
  QTimer* pumpTimer_ = nullptr;
  QDialog* guide_ = nullptr;
  RecordInspector* inspector_ = nullptr;  // made when first opened, then shown again
  QElapsedTimer runClock_;
  std::map<std::string, QAction*, std::less<>> actions_;

  QPrinter printer_;
  QColor lastColor_ = Qt::black;
  bool started_ = false;
  bool closeWhenDone_ = false;
  bool destroying_ = false;
  QString lastDirectory_;
};

}  // namespace verilote::gui
