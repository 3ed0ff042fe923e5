// The main window: the report area Memo1, the help label Label1, the version
// label Label2 and the menu bar built from the command table. Core commands
// run on a worker thread (see gui_host.hpp) while the window stays live and
// shows their progress and a Stop button; window commands (printing, colours,
// web pages, the about box, closing) run here.
#pragma once

#include <QColor>
#include <QElapsedTimer>
#include <QMainWindow>
#include <QPalette>
#include <QPrinter>
#include <QString>
#include <QStringList>
#include <atomic>
#include <functional>
#include <map>
#include <optional>
#include <string>
#include <string_view>
#include <thread>
#include <vector>

#include "app/command_table.hpp"
#include "app/host.hpp"
#include "gui/gui_host.hpp"

class QAction;
class QLabel;
class QMenu;
class QPlainTextEdit;
class QProgressBar;
class QPushButton;
class QTimer;
class QUrl;

namespace verilote::gui {

// The project's home page: "Suporte Técnico", the click on Label1 and the
// download page of "Atualizar Versão deste aplicativo".
inline constexpr const char* kHomePage = "https://github.com/verilote/verilote";

// The user guide that "Ajuda" opens; installed beside the program.
inline constexpr const char* kHelpFile = "verilote-ajuda.html";

struct WindowOptions {
  // The directory that holds the program; empty for the executable's own.
  QString programDirectory;
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
  bool IsRunning() const { return worker_.joinable(); }

  // The report as the user sees it (the report area is editable), with the
  // lines still on their way shown first: the document's raw text, for
  // ReportLinesOf / ReportTextLines, or its lines as Windows-1252 bytes.
  QString ReportText();
  std::vector<std::string> ReportLines();

  // Modal questions of a running command (window thread).
  QString AskText(const QString& caption, const QString& prompt, const QString& defaultText);
  std::optional<QString> AskFile(const QString& title, FileFilter filter);
  std::optional<int> AskItem(const QString& caption, const QString& prompt, const QStringList& items);
  void Tell(const QString& text);

  // The window's parts, for the tests and the screenshot.
  QPlainTextEdit* Report() const { return memo1_; }
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
  void FinishCommand(Outcome outcome);
  void Pump();
  void FlushReport();
  std::size_t MoveLines(std::size_t most);
  void AppendToReport(const std::vector<std::string>& lines);
  void ShowError(const QString& text);
  void OpenPage(const QUrl& url);
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
  using WindowCommand = void (MainWindow::*)();
  static const std::map<std::string_view, WindowCommand>& WindowCommands();

  QString programDirectory_;
  QPlainTextEdit* memo1_ = nullptr;
  QLabel* label1_ = nullptr;
  QLabel* label2_ = nullptr;
  QProgressBar* progressBar_ = nullptr;
  QPushButton* stopButton_ = nullptr;
  QWidget* progressRow_ = nullptr;
  QMenu* validarMenu_ = nullptr;
  QTimer* pumpTimer_ = nullptr;
  QElapsedTimer runClock_;
  std::map<std::string, QAction*, std::less<>> actions_;

  QPrinter printer_;
  QColor lastColor_ = Qt::black;
  bool started_ = false;
  bool closeWhenDone_ = false;
  bool destroying_ = false;
  QString lastDirectory_;

  CommandChannel channel_;
  std::atomic<bool> workerDone_{true};
  std::thread worker_;
};

}  // namespace verilote::gui
