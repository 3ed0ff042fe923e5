#include "gui/main_window.hpp"

#include <QAbstractButton>
#include <QAction>
#include <QCloseEvent>
#include <QColorDialog>
#include <QComboBox>
#include <QCoreApplication>
#include <QDesktopServices>
#include <QDialog>
#include <QDragEnterEvent>
#include <QDropEvent>
#include <QElapsedTimer>
#include <QFile>
#include <QFileDialog>
#include <QFileInfo>
#include <QFontDatabase>
#include <QFontInfo>
#include <QGuiApplication>
#include <QHBoxLayout>
#include <QInputDialog>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QMessageBox>
#include <QMimeData>
#include <QPageSetupDialog>
#include <QPainter>
#include <QPrintDialog>
#include <QProgressBar>
#include <QPushButton>
#include <QScopeGuard>
#include <QScreen>
#include <QScrollBar>
#include <QSettings>
#include <QTextBrowser>
#include <QTimer>
#include <QUrl>
#include <QVBoxLayout>

#include "app/report.hpp"
#include "app/shell.hpp"
#include "desk/window_texts.hpp"
#include "detect/detect_command.hpp"
#include "gui/messages_pt.hpp"
#include "gui/qt_text.hpp"
#include "gui/report_printer.hpp"

namespace verilote::gui {

namespace {

constexpr int kPumpMilliseconds = 50;
constexpr int kProgressDelayMilliseconds = 300;
const QString kLastDirectoryKey = QStringLiteral("lastDirectory");

QColor Navy() { return {0, 0, 128}; }

QUrl HomePage() { return QUrl(FromCp1252(kHomePage)); }

// The one local file a drag carries, if it carries exactly one.
std::optional<QString> DraggedFile(const QMimeData* data) {
  if (data == nullptr || !data->hasUrls() || data->urls().size() != 1 || !data->urls().constFirst().isLocalFile())
    return std::nullopt;
  return data->urls().constFirst().toLocalFile();
}

// "Courier New" when the system has it, else the system's fixed-pitch font.
QFont FixedFont(int pixels, bool bold) {
  QFont font(QStringLiteral("Courier New"));
  font.setStyleHint(QFont::TypeWriter);
  font.setPixelSize(pixels);
  font.setBold(bold);
  if (!QFontInfo(font).fixedPitch()) {
    font = QFontDatabase::systemFont(QFontDatabase::FixedFont);
    font.setPixelSize(pixels);
    font.setBold(bold);
  }
  return font;
}

QIcon ProgramIcon() {
  QPixmap pixmap(64, 64);
  pixmap.fill(Qt::transparent);
  QPainter painter(&pixmap);
  painter.setRenderHint(QPainter::Antialiasing);
  painter.setBrush(Navy());
  painter.setPen(Qt::NoPen);
  painter.drawRoundedRect(QRectF(2, 2, 60, 60), 10, 10);
  QFont font;
  font.setPixelSize(44);
  font.setBold(true);
  painter.setFont(font);
  painter.setPen(Qt::white);
  painter.drawText(pixmap.rect(), Qt::AlignCenter, QStringLiteral("V"));
  return QIcon(pixmap);
}

// An input box wide enough for a typeable line of 48 digits with its blanks
// and dots, and for its whole title.
void FitQuestion(QInputDialog& dialog, const QString& caption) {
  const QFontMetrics metrics(dialog.font());
  const int edit = metrics.horizontalAdvance(QString(60, QLatin1Char('0')));
  const int title = metrics.horizontalAdvance(caption) + 160;  // beside the frame's buttons
  // The dialog sizes itself from its layout: the field sets the width.
  QWidget* field = dialog.findChild<QLineEdit*>();
  if (field == nullptr) field = dialog.findChild<QComboBox*>();
  if (field != nullptr) field->setMinimumWidth(std::max(edit, title));
}

// A message box text: a carriage return breaks the line.
QString MessageText(QString text) {
  text.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
  text.replace(QLatin1Char('\r'), QLatin1Char('\n'));
  return text;
}

}  // namespace

MainWindow::MainWindow(WindowOptions options, QWidget* parent)
    : QMainWindow(parent),
      programDirectory_(std::move(options.programDirectory)),
      store_(std::make_unique<ReportStore>(options.temporaryFiles ? std::move(options.temporaryFiles)
                                                                  : TemporaryFileMaker(platform::TemporaryFile))),
      printer_(QPrinter::HighResolution) {
  if (programDirectory_.isEmpty()) programDirectory_ = QCoreApplication::applicationDirPath();
  runner_ = std::make_unique<CommandRunner>(*store_, questions_, PathBytes(programDirectory_));
  setObjectName(QStringLiteral("TForm1"));
  setWindowTitle(FromCp1252(kProgramName));
  setWindowIcon(ProgramIcon());
  chooseColor = [this](const QColor& initial) { return QColorDialog::getColor(initial, this); };

  lastDirectory_ = QSettings().value(kLastDirectoryKey).toString();
  BuildReportArea();
  BuildMenus();
  setAcceptDrops(true);

  pumpTimer_ = new QTimer(this);
  pumpTimer_->setInterval(kPumpMilliseconds);
  connect(pumpTimer_, &QTimer::timeout, this, &MainWindow::Pump);

  resize(957, 666);
  if (const QScreen* screen = QGuiApplication::primaryScreen())
    move(screen->availableGeometry().center() - rect().center());
}

MainWindow::~MainWindow() {
  if (runner_->Alive()) {
    // The worker may be waiting for an answer from this thread: keep serving
    // it until it has seen the stop.
    destroying_ = true;
    runner_->RequestStop();
    while (!runner_->Done()) QCoreApplication::processEvents(QEventLoop::AllEvents, 10);
    runner_->Join();
  }
}

void MainWindow::BuildReportArea() {
  auto* central = new QWidget(this);
  auto* layout = new QVBoxLayout(central);
  layout->setContentsMargins(16, 8, 16, 4);

  memo1_ = new ReportView(*store_, central);
  connect(memo1_, &ReportView::CopyToFileAsked, this, [this] {
    if (const Handler handler = FindHandler("Copiaparaarquivonovo1Click"); handler != nullptr && !IsRunning())
      StartCommand(handler);
  });
  memo1_->setObjectName(QStringLiteral("Memo1"));
  memo1_->setFont(FixedFont(12, false));
  memo1_->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
  memo1_->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
  memo1_->viewport()->installEventFilter(this);  // a file dropped on the report is validated
  connect(memo1_, &ReportView::LineActivated, this, [this](quint64 line) { InspectLine(line); });
  QPalette palette = memo1_->palette();
  palette.setColor(QPalette::Text, Navy());
  memo1_->setPalette(palette);
  layout->addWidget(memo1_, 1);

  label1_ = new QLabel(central);
  label1_->setObjectName(QStringLiteral("Label1"));
  label1_->setFont(FixedFont(13, true));
  label1_->setStyleSheet(QStringLiteral("color: red;"));
  label1_->setCursor(Qt::PointingHandCursor);
  label1_->installEventFilter(this);
  layout->addWidget(label1_);

  progressRow_ = new QWidget(central);
  auto* row = new QHBoxLayout(progressRow_);
  row->setContentsMargins(0, 0, 0, 0);
  progressBar_ = new QProgressBar(progressRow_);
  stopButton_ = new QPushButton(QStringLiteral("Parar"), progressRow_);
  connect(stopButton_, &QPushButton::clicked, this, [this] {
    stopButton_->setEnabled(false);
    runner_->RequestStop();
  });
  row->addWidget(progressBar_, 1);
  row->addWidget(stopButton_);
  progressRow_->hide();
  layout->addWidget(progressRow_);

  label2_ = new QLabel(central);
  label2_->setObjectName(QStringLiteral("Label2"));
  QFont font(QStringLiteral("Comic Sans MS"));
  font.setStyleHint(QFont::Cursive);
  font.setPixelSize(12);
  label2_->setFont(font);
  label2_->setStyleSheet(QStringLiteral("color: silver;"));
  layout->addWidget(label2_);

  setCentralWidget(central);
}

void MainWindow::BuildMenus() {
  // Submenus are created where the table first names them, so their place
  // among the items and separators of their parent follows the table.
  std::map<std::string, QMenu*, std::less<>> menus;
  std::function<QMenu*(std::string_view)> menuFor = [&](std::string_view path) -> QMenu* {
    if (path.empty()) return nullptr;
    if (const auto it = menus.find(path); it != menus.end()) return it->second;
    const std::size_t cut = path.rfind(kPathSeparator);
    QMenu* parent = cut == std::string_view::npos ? nullptr : menuFor(path.substr(0, cut));
    const std::string_view title = cut == std::string_view::npos ? path : path.substr(cut + kPathSeparator.size());
    QMenu* menu = parent != nullptr ? parent->addMenu(FromCp1252(title)) : menuBar()->addMenu(FromCp1252(title));
    menus.emplace(std::string(path), menu);
    return menu;
  };

  for (const MenuRow& row : MenuRows()) {
    QMenu* menu = menuFor(row.path);
    if (row.IsSeparator()) {
      if (menu != nullptr) menu->addSeparator();
      continue;
    }
    auto* action = new QAction(FromCp1252(row.caption), this);
    action->setObjectName(FromCp1252(row.handler));
    action->setShortcut(KeySequenceOf(row.shortcut));
    const bool built =
        row.scope == Scope::Core ? FindHandler(row.handler) != nullptr : WindowCommands().contains(row.handler);
    action->setEnabled(built);
    connect(action, &QAction::triggered, this, [this, &row] { Dispatch(row); });
    if (menu != nullptr)
      menu->addAction(action);
    else
      menuBar()->addAction(action);
    actions_.emplace(std::string(row.handler), action);
  }

  // Shift+F1 belongs to "&Validar" itself: it opens that menu.
  validarMenu_ = menus.at("&Validar");
  QAction* validar = validarMenu_->menuAction();
  validar->setShortcut(KeySequenceOf(kValidarMenuShortcut));
  connect(validar, &QAction::triggered, this, [this] { menuBar()->setActiveAction(validarMenu_->menuAction()); });
}

QAction* MainWindow::ActionOf(std::string_view handler) const {
  const auto it = actions_.find(handler);
  return it == actions_.end() ? nullptr : it->second;
}

const std::map<std::string_view, MainWindow::WindowCommand>& MainWindow::WindowCommands() {
  static const std::map<std::string_view, WindowCommand> kCommands = {
      {"Sair1Click", &MainWindow::Sair1Click},
      {"Sobre1Click", &MainWindow::Sobre1Click},
      {"Ajuda1Click", &MainWindow::Ajuda1Click},
      {"SuporteTcnico1Click", &MainWindow::SuporteTcnico1Click},
      {"AtualizaVersodesteaplicativo1Click", &MainWindow::AtualizaVersodesteaplicativo1Click},
      {"ImprimirMemoLines1Click", &MainWindow::ImprimirMemoLines1Click},
      {"ConfiguraImpresso1Click", &MainWindow::ConfiguraImpresso1Click},
      {"ConfiguraImpressora1Click", &MainWindow::ConfiguraImpressora1Click},
      {"ConfiguraFonte1Click", &MainWindow::ConfiguraFonte1Click},
      {"ConfiguraCorFundo1Click", &MainWindow::ConfiguraCorFundo1Click},
      {"SalvarRelatorioComo1Click", &MainWindow::SalvarRelatorioComo1Click},
  };
  return kCommands;
}

void MainWindow::Dispatch(const MenuRow& row) {
  if (IsRunning()) return;  // one command at a time, as the menu shows
  if (row.scope == Scope::Core) {
    if (const Handler handler = FindHandler(row.handler)) StartCommand(handler);
    return;
  }
  if (const auto it = WindowCommands().find(row.handler); it != WindowCommands().end()) (this->*(it->second))();
}

// Start-up, once, when the window first shows.
void MainWindow::showEvent(QShowEvent* event) {
  QMainWindow::showEvent(event);
  if (started_) return;
  started_ = true;
  label2_->setText(FromCp1252(Cat(kProgramName, "  ", kVersion)));
  label1_->setText(FromCp1252(Cat(kReleaseBefore, kReleaseDate, kReleaseAfter)));
  setWindowTitle(FromCp1252(Cat(kProgramName, " Versão "_cp, kVersion)));
  store_->Append(kNoticeLine);
  memo1_->Sync();
  memo1_->setFocus();                              // Ctrl+A and Ctrl+C work without a click
  DeleteLeftovers({"versao2.exe", "versao.txt"});  // left by an update
}

void MainWindow::closeEvent(QCloseEvent* event) {
  if (IsRunning()) {
    // Ask first; on yes, stop the command, and the window closes when it has ended.
    event->ignore();
    if (closeWhenDone_ || !ConfirmStopAndClose()) return;
    if (IsRunning()) {
      closeWhenDone_ = true;
      runner_->RequestStop();
      return;
    }
  }
  DeleteLeftovers({"suporte.bat", "versao.bat", "email.txt"});
  event->accept();
}

bool MainWindow::eventFilter(QObject* watched, QEvent* event) {
  if (watched == memo1_->viewport()) {
    if (event->type() == QEvent::DragEnter || event->type() == QEvent::DragMove) {
      auto* drag = static_cast<QDragMoveEvent*>(event);
      if (DraggedFile(drag->mimeData()) && !IsRunning()) {
        drag->acceptProposedAction();
        return true;
      }
    } else if (event->type() == QEvent::Drop) {
      auto* drop = static_cast<QDropEvent*>(event);
      if (const auto file = DraggedFile(drop->mimeData())) {
        drop->acceptProposedAction();
        ValidateDroppedFile(*file);
        return true;
      }
    }
    return QMainWindow::eventFilter(watched, event);
  }
  if (watched == label1_ && event->type() == QEvent::MouseButtonRelease) {
    OpenPage(HomePage());
    return true;
  }
  return QMainWindow::eventFilter(watched, event);
}

bool MainWindow::ConfirmStopAndClose() {
  QMessageBox box(QMessageBox::Question, QCoreApplication::applicationName(), FromCp1252(kStopAndClose),
                  QMessageBox::Yes | QMessageBox::No, this);
  box.setDefaultButton(QMessageBox::No);
  box.button(QMessageBox::Yes)->setText(QStringLiteral("Sim"));
  box.button(QMessageBox::No)->setText(FromCp1252("Não"_cp));
  box.exec();
  return box.clickedButton() == box.button(QMessageBox::Yes);
}

void MainWindow::dragEnterEvent(QDragEnterEvent* event) {
  if (DraggedFile(event->mimeData()) && !IsRunning()) event->acceptProposedAction();
}

void MainWindow::dropEvent(QDropEvent* event) {
  if (const auto file = DraggedFile(event->mimeData())) {
    event->acceptProposedAction();
    ValidateDroppedFile(*file);
  }
}

bool MainWindow::InspectLine(std::uint64_t line) {
  if (!runner_->Findings().Of(store_->Generation(), line)) return false;
  if (inspector_ == nullptr) {
    inspector_ = new RecordInspector(*store_, runner_->Findings(), this);
    connect(inspector_, &RecordInspector::LineShown, memo1_, [this](quint64 shown) { memo1_->Reveal(shown); });
  }
  inspector_->ShowLine(line);
  inspector_->show();
  inspector_->raise();
  inspector_->activateWindow();
  return true;
}

bool MainWindow::ValidateDroppedFile(const QString& path) {
  return StartCommand(ValidarArquivoDetectarLayout1Click, PathBytes(path));
}

void MainWindow::DeleteLeftovers(std::initializer_list<const char*> names) const {
  for (const char* name : names) QFile::remove(programDirectory_ + QLatin1Char('/') + QLatin1String(name));
}

bool MainWindow::StartCommand(Handler handler, std::optional<std::string> answeredFile) {
  if (!runner_->Start(handler, std::move(answeredFile))) return false;
  menuBar()->setEnabled(false);
  progressBar_->setRange(0, 0);
  stopButton_->setEnabled(true);
  memo1_->SetFollowing(true);  // new output comes into view, wherever the user clicked
  runClock_.start();
  pumpTimer_->start();
  return true;
}

void MainWindow::FinishCommand(Outcome outcome) {
  runner_->Join();
  if (destroying_) return;
  pumpTimer_->stop();
  progressRow_->hide();
  menuBar()->setEnabled(true);
  memo1_->Sync();  // the last lines, followed as the others were
  memo1_->SetFollowing(false);
  // What the command wrote, from its start when it does not all fit.
  const std::uint64_t first = runner_->FirstLine(), size = store_->Size();
  if (size - std::min(first, size) > static_cast<std::uint64_t>(memo1_->VisibleLines())) memo1_->ShowFrom(first);
  if (inspector_ != nullptr) inspector_->UpdateButtons();
  if (closeWhenDone_) {
    close();
    return;
  }
  if (outcome.status == Outcome::Status::Aborted) ShowError(InPortuguese(FromCp1252(outcome.message)));
  emit CommandFinished(static_cast<int>(outcome.status), FromCp1252(outcome.message));
}

// Shows the lines the command wrote so far and how far it has read. The
// progress row shows only while the command works, not while it waits for
// the user, and not for a command that ends before it would only flicker.
void MainWindow::Pump() {
  memo1_->Sync();
  const bool working = !runner_->Asking() && runClock_.elapsed() >= kProgressDelayMilliseconds;
  if (working != progressRow_->isVisible()) progressRow_->setVisible(working);
  const std::uint64_t total = runner_->BytesTotal();
  if (total == 0) {
    progressBar_->setRange(0, 0);
  } else {
    progressBar_->setRange(0, 1000);
    progressBar_->setValue(static_cast<int>(std::min<std::uint64_t>(runner_->BytesRead(), total) * 1000 / total));
  }
}

// A question of the command: the report shows what it wrote so far, and the
// progress row goes until the command works again.
void MainWindow::BeforeQuestion() {
  memo1_->Sync();
  progressRow_->hide();
}

void MainWindow::AfterQuestion() { runClock_.restart(); }

std::vector<std::string> MainWindow::ReportLines() const {
  std::vector<std::string> lines;
  store_->ForEach(0, UINT64_MAX, [&lines](std::uint64_t, std::string_view line) {
    lines.emplace_back(line);
    return true;
  });
  return lines;
}

QString MainWindow::AskText(const QString& caption, const QString& prompt, const QString& defaultText) {
  if (destroying_ || closeWhenDone_) return defaultText;  // the command is being stopped
  BeforeQuestion();
  const auto after = qScopeGuard([this] { AfterQuestion(); });
  QInputDialog dialog(this);
  dialog.setInputMode(QInputDialog::TextInput);
  dialog.setWindowTitle(caption);
  dialog.setLabelText(prompt);
  dialog.setTextValue(defaultText);
  FitQuestion(dialog, caption);
  // Cancel gives the default text, and the command goes on with it.
  return dialog.exec() == QDialog::Accepted ? dialog.textValue() : defaultText;
}

std::optional<QString> MainWindow::AskFile(const QString& title, FileFilter filter) {
  if (destroying_ || closeWhenDone_) return std::nullopt;
  BeforeQuestion();
  const auto after = qScopeGuard([this] { AfterQuestion(); });
  const QStringList filters = {QStringLiteral("Remessa (*.REM)"), QStringLiteral("Retorno (*.RET)"),
                               QStringLiteral("Texto (*.TXT)"), QStringLiteral("Todos (*)")};
  // Qt's own dialog, whose filters ignore case: a.rem shows under Remessa.
  QFileDialog dialog(this, title, lastDirectory_);
  dialog.setOption(QFileDialog::DontUseNativeDialog);
  dialog.setFileMode(QFileDialog::ExistingFile);
  dialog.setAcceptMode(QFileDialog::AcceptOpen);
  dialog.setNameFilters(filters);
  dialog.selectNameFilter(filters.at(static_cast<int>(filter) - 1));
  if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) return std::nullopt;
  const QString path = dialog.selectedFiles().constFirst();
  lastDirectory_ = QFileInfo(path).absolutePath();
  QSettings().setValue(kLastDirectoryKey, lastDirectory_);  // kept for the next run of the program
  return path;
}

std::optional<int> MainWindow::AskItem(const QString& caption, const QString& prompt, const QStringList& items) {
  if (destroying_ || closeWhenDone_) return std::nullopt;
  BeforeQuestion();
  const auto after = qScopeGuard([this] { AfterQuestion(); });
  QInputDialog dialog(this);
  dialog.setWindowTitle(caption);
  dialog.setLabelText(prompt);
  dialog.setComboBoxItems(items);
  FitQuestion(dialog, caption);
  dialog.setComboBoxEditable(false);
  dialog.setTextValue(items.value(0));
  if (dialog.exec() != QDialog::Accepted) return std::nullopt;
  const int chosen = static_cast<int>(items.indexOf(dialog.textValue()));
  if (chosen < 0) return std::nullopt;
  return chosen;
}

void MainWindow::Tell(const QString& text) {
  if (destroying_ || closeWhenDone_) return;
  BeforeQuestion();
  const auto after = qScopeGuard([this] { AfterQuestion(); });
  QMessageBox box(QMessageBox::NoIcon, QCoreApplication::applicationName(), MessageText(text), QMessageBox::Ok, this);
  box.exec();
}

void MainWindow::ShowError(const QString& text) {
  QMessageBox box(QMessageBox::Critical, QCoreApplication::applicationName(), MessageText(text), QMessageBox::Ok, this);
  box.exec();
}

void MainWindow::OpenPage(const QUrl& url) {
  if (!QDesktopServices::openUrl(url)) Tell(FromCp1252(kCannotOpenPage) + url.toDisplayString() + QLatin1Char('.'));
}

void MainWindow::Sair1Click() { close(); }

void MainWindow::Sobre1Click() {
  QMessageBox box(this);
  box.setWindowTitle(windowTitle());
  box.setIconPixmap(windowIcon().pixmap(48, 48));
  box.setText(FromCp1252(Cat(kProgramName, " Versão: "_cp, kVersion)));
  box.exec();
}

void MainWindow::Ajuda1Click() {
  const QString path = programDirectory_ + QLatin1Char('/') + FromCp1252(kHelpFile);
  if (!QFileInfo::exists(path)) {
    Tell(FromCp1252(kHelpNotFound) + path);
    return;
  }
  // Where no browser can be opened, the guide shows in a window of its own.
  if (!QDesktopServices::openUrl(QUrl::fromLocalFile(path))) ShowGuide(path);
}

void MainWindow::ShowGuide(const QString& path) {
  if (guide_ == nullptr) {
    guide_ = new QDialog(this);
    guide_->setWindowTitle(QStringLiteral("Ajuda"));
    auto* layout = new QVBoxLayout(guide_);
    auto* browser = new QTextBrowser(guide_);
    browser->setObjectName(QStringLiteral("Guide"));
    browser->setOpenExternalLinks(true);
    browser->setSource(QUrl::fromLocalFile(path));
    layout->addWidget(browser);
    guide_->resize(820, 640);
  }
  guide_->show();
  guide_->raise();
}

void MainWindow::SuporteTcnico1Click() { OpenPage(HomePage()); }

void MainWindow::AtualizaVersodesteaplicativo1Click() {
  Tell(FromCp1252(kUpdateNotice));
  OpenPage(HomePage());
}

void MainWindow::ImprimirMemoLines1Click() {
  QString error;
  if (!PrintReport(printer_, *store_, &error)) {
    ShowError(error);
    return;
  }
  Tell(FromCp1252(kPrintDone));
}

void MainWindow::ConfiguraImpresso1Click() {
  QPageSetupDialog dialog(&printer_, this);
  dialog.exec();
}

void MainWindow::ConfiguraImpressora1Click() {
  QPrintDialog dialog(&printer_, this);
  dialog.exec();
}

void MainWindow::ChooseReportColour(QPalette::ColorRole role) {
  const QColor chosen = chooseColor(lastColor_);
  if (!chosen.isValid()) return;  // Cancel
  lastColor_ = chosen;
  QPalette palette = memo1_->palette();
  palette.setColor(role, chosen);
  memo1_->setPalette(palette);
}

void MainWindow::ConfiguraFonte1Click() { ChooseReportColour(QPalette::Text); }

void MainWindow::ConfiguraCorFundo1Click() { ChooseReportColour(QPalette::Base); }

}  // namespace verilote::gui
