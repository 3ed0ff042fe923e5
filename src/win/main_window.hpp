// The Win32 main window: the report area Memo1 (an owner-data list over the
// report's store), the help label Label1, the version label Label2 and the
// menu bar built from the command table. Core commands run on the worker
// thread of desk/command_runner.hpp while the window stays live and shows
// their progress and a Stop button; their questions come to this thread by a
// private message; window commands (printing, colours, web pages, the about
// box, closing) run here.
#pragma once

#include <windows.h>
// After windows.h:
#include <shellapi.h>

#include <atomic>
#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <thread>
#include <vector>

#include "app/command_table.hpp"
#include "desk/command_runner.hpp"
#include "desk/report_store.hpp"
#include "win/asker.hpp"
#include "win/questions.hpp"
#include "win/record_inspector.hpp"
#include "win/report_list.hpp"

namespace verilote::win {

// The menu id of the command table's row `index`; ids of the window's own
// controls and of the "&Validar" shortcut stay below it.
inline constexpr int kFirstCommandId = 1000;

struct WindowOptions {
  // The directory that holds the program (UTF-8); empty for the executable's own.
  std::string programDirectory;
  // Where the file dialog's last folder is kept between runs; empty for
  // Verilote\pasta.txt in the user's application data.
  std::string settingsFile;
  // The program ends when the window is destroyed (not in the tests).
  bool quitOnDestroy = false;
  // Where the report keeps its bytes; empty for the system's temporary folder.
  TemporaryFileMaker temporaryFiles = {};
  // Where "Salvar relatório como…" keeps the last folder it saved in; empty
  // for Verilote\pasta-relatorio.txt beside settingsFile's default.
  std::string reportFolderFile;
};

class MainWindow {
 public:
  MainWindow(HINSTANCE instance, WindowOptions options, std::unique_ptr<Asker> asker);
  ~MainWindow();
  MainWindow(const MainWindow&) = delete;
  MainWindow& operator=(const MainWindow&) = delete;

  HWND Handle() const { return window_; }
  HACCEL Accelerators() const { return accelerators_; }
  bool Closed() const { return window_ == nullptr; }

  // Starts a core command on the worker thread; false while another runs.
  // With `answeredFile`, the command's first file dialog is answered with it.
  bool StartCommand(Handler handler, std::optional<std::string> answeredFile = std::nullopt);
  // A file dropped on the window: "Validar arquivo (detectar layout)" on it.
  bool ValidateDroppedFile(std::wstring_view path);
  bool IsRunning() const { return runner_->Alive(); }

  // The handler of a menu id, empty for none.
  static std::string_view HandlerOf(int id);

  // Opens the record inspector on report line `line` when it is a finding;
  // false, opening nothing, when it is not.
  bool InspectLine(std::uint64_t line);
  // The inspector, once first opened (then hidden and shown again); else nullptr.
  RecordInspector* Inspector() const { return inspector_.get(); }

  ReportList& Report() { return *memo1_; }
  const ReportStore& Store() const { return *store_; }
  CommandRunner& Runner() { return *runner_; }
  // The handler the last run started with.
  Handler LastHandler() const { return lastHandler_; }
  // How many commands have ended, and how the last one did.
  int Finished() const { return finished_; }
  const Outcome& LastOutcome() const { return lastOutcome_; }
  // The progress row's text ("56%"), empty before a run has measured any.
  std::wstring ProgressText() const;

  // The worker's questions and its end, on this thread (WinQuestions).
  std::wstring AskText(const std::wstring& caption, const std::wstring& prompt, const std::wstring& defaultText);
  std::optional<std::wstring> AskFile(const std::wstring& title, FileFilter filter);
  std::optional<int> AskItem(const std::wstring& caption, const std::wstring& prompt,
                             const std::vector<std::wstring>& items);
  void Tell(const std::wstring& text);
  void FinishCommand(const Outcome& outcome);

 private:
  static LRESULT CALLBACK Proc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
  LRESULT Handle(UINT message, WPARAM wParam, LPARAM lParam);
  void Build();
  void BuildMenus();
  void MakeFonts();
  void Layout();
  int Scale(int pixels) const;
  void StartUp();
  void Command(int id);
  void Pump();
  void EnableMenus(bool enabled);
  void ShowProgress(bool shown);
  void Close();
  void BeforeQuestion();
  void ShowError(const std::wstring& text);
  void OpenPage(const std::wstring& address);
  void DeleteLeftovers(std::initializer_list<const char*> names) const;
  void DropFiles(HDROP drop);
  void SelectionTooBig();
  void PrimeLocator();
  void StopPriming();
  std::wstring Caption() const;

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
  void SalvarRelatorioComo1Click();
  using WindowCommand = void (MainWindow::*)();
  static WindowCommand WindowCommandOf(std::string_view handler);

  HINSTANCE instance_;
  WindowOptions options_;
  std::unique_ptr<Asker> asker_;
  std::string lastFolder_;        // UTF-8
  std::string lastReportFolder_;  // UTF-8, "Salvar relatório como…"'s
  // The report outlives every run; the runner writes into it.
  std::unique_ptr<ReportStore> store_;
  WinQuestions questions_{*this};
  std::unique_ptr<CommandRunner> runner_;
  HWND window_ = nullptr;
  std::unique_ptr<ReportList> memo1_;
  std::unique_ptr<RecordInspector> inspector_;
  // After a run, a thread of its own reads the findings' file once to mark
  // where its records start, while the file is still in the system's cache:
  // the inspector then opens a record near the end of a file of millions at
  // once, not after reading the file up to it.
  std::shared_ptr<SharedLocator> locator_ = std::make_shared<SharedLocator>();
  std::thread primer_;
  std::atomic<bool> stopPriming_{false};
  HWND label1_ = nullptr;
  HWND label2_ = nullptr;
  HWND progressBar_ = nullptr;
  HWND progressText_ = nullptr;
  int progressShownPercent_ = -1;
  HWND stopButton_ = nullptr;
  HACCEL accelerators_ = nullptr;
  HFONT reportFont_ = nullptr;
  HFONT labelFont_ = nullptr;
  HFONT versionFont_ = nullptr;
  HFONT uiFont_ = nullptr;
  HBRUSH background_ = nullptr;
  HGLOBAL devMode_ = nullptr;  // the printer as the set-up dialogs left it
  HGLOBAL devNames_ = nullptr;
  COLORREF lastColour_ = RGB(0, 0, 0);
  ULONGLONG runStart_ = 0;
  bool progressShown_ = false;
  bool closeWhenDone_ = false;
  bool destroying_ = false;
  int finished_ = 0;
  Handler lastHandler_ = nullptr;
  Outcome lastOutcome_{Outcome::Status::Clean, {}};
};

}  // namespace verilote::win
