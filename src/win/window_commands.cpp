// The commands of the command table that exist only in the window: closing,
// the About box, web pages, printing and its set-up, the report's colours.
#include <windows.h>
// After windows.h:
#include <commdlg.h>
#include <shellapi.h>

#include "app/errors.hpp"
#include "app/report.hpp"
#include "app/shell.hpp"
#include "desk/report_save.hpp"
#include "desk/window_texts.hpp"
#include "win/main_window.hpp"
#include "win/report_print.hpp"
#include "win/settings.hpp"
#include "win/win_text.hpp"

namespace verilote::win {

namespace {

// A printer's device context for the settings the set-up dialogs left,
// landscape and one copy as the print command wants.
HDC PrinterDc(HGLOBAL devMode, HGLOBAL devNames) {
  const auto* names = static_cast<const DEVNAMES*>(GlobalLock(devNames));
  if (names == nullptr) return nullptr;
  const auto* base = reinterpret_cast<const wchar_t*>(names);
  auto* mode = static_cast<DEVMODEW*>(devMode != nullptr ? GlobalLock(devMode) : nullptr);
  if (mode != nullptr) {
    mode->dmOrientation = DMORIENT_LANDSCAPE;
    mode->dmCopies = 1;
    mode->dmFields |= DM_ORIENTATION | DM_COPIES;
  }
  HDC dc = CreateDCW(base + names->wDriverOffset, base + names->wDeviceOffset, nullptr, mode);
  if (mode != nullptr) GlobalUnlock(devMode);
  GlobalUnlock(devNames);
  return dc;
}

}  // namespace

MainWindow::WindowCommand MainWindow::WindowCommandOf(std::string_view handler) {
  static const std::pair<std::string_view, WindowCommand> kCommands[] = {
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
  for (const auto& [name, command] : kCommands)
    if (name == handler) return command;
  return nullptr;
}

void MainWindow::Sair1Click() { PostMessageW(window_, WM_CLOSE, 0, 0); }

void MainWindow::Sobre1Click() {
  // The shell's own About box, titled with the window's caption.
  const std::wstring text = FromCp1252(Cat(kProgramName, " Versão: "_cp, kVersion));
  ShellAboutW(window_, Caption().c_str(), text.c_str(), reinterpret_cast<HICON>(GetClassLongPtrW(window_, GCLP_HICON)));
}

void MainWindow::Ajuda1Click() {
  const std::wstring path = WidePath(options_.programDirectory + "\\" + std::string(kHelpFile));
  if (GetFileAttributesW(path.c_str()) == INVALID_FILE_ATTRIBUTES) {
    asker_->Tell(window_, FromCp1252(kHelpNotFound) + path, false);
    return;
  }
  OpenPage(path);
}

void MainWindow::SuporteTcnico1Click() { OpenPage(FromCp1252(kHomePage)); }

void MainWindow::AtualizaVersodesteaplicativo1Click() {
  asker_->Tell(window_, FromCp1252(kUpdateNotice), false);
  OpenPage(FromCp1252(kHomePage));
}

void MainWindow::ImprimirMemoLines1Click() {
  if (devNames_ == nullptr) {
    // No set-up yet: the system's default printer, without a dialog.
    PRINTDLGW pd{};
    pd.lStructSize = sizeof pd;
    pd.hwndOwner = window_;
    pd.Flags = PD_RETURNDEFAULT;
    if (PrintDlgW(&pd)) {
      devMode_ = pd.hDevMode;
      devNames_ = pd.hDevNames;
    }
  }
  HDC dc = devNames_ != nullptr ? PrinterDc(devMode_, devNames_) : nullptr;
  if (dc == nullptr) {
    ShowError(L"Nenhuma impressora dispon\u00edvel.");
    return;
  }
  bool printed = false;
  try {
    printed = PrintReport(dc, *store_, PrintFont(), FromCp1252(kProgramName));
  } catch (const FileError& e) {  // the report's own files
    DeleteDC(dc);
    ShowError(FromCp1252(InPortuguese(e.what())));
    return;
  }
  DeleteDC(dc);
  if (!printed) {
    ShowError(L"N\u00e3o foi poss\u00edvel imprimir.");
    return;
  }
  asker_->Tell(window_, FromCp1252(kPrintDone), false);
}

void MainWindow::ConfiguraImpresso1Click() {
  PAGESETUPDLGW dialog{};
  dialog.lStructSize = sizeof dialog;
  dialog.hwndOwner = window_;
  dialog.hDevMode = devMode_;
  dialog.hDevNames = devNames_;
  PageSetupDlgW(&dialog);
  devMode_ = dialog.hDevMode;
  devNames_ = dialog.hDevNames;
}

void MainWindow::ConfiguraImpressora1Click() {
  PRINTDLGW dialog{};
  dialog.lStructSize = sizeof dialog;
  dialog.hwndOwner = window_;
  dialog.hDevMode = devMode_;
  dialog.hDevNames = devNames_;
  dialog.Flags = PD_NOPAGENUMS | PD_NOSELECTION | PD_USEDEVMODECOPIESANDCOLLATE;
  PrintDlgW(&dialog);
  devMode_ = dialog.hDevMode;
  devNames_ = dialog.hDevNames;
}

// Both colours open on the colour last chosen in either (black at first).
void MainWindow::ConfiguraFonte1Click() {
  if (const auto colour = asker_->AskColor(window_, lastColour_)) {
    lastColour_ = *colour;
    memo1_->SetColours(*colour, memo1_->BackgroundColour());
  }
}

void MainWindow::ConfiguraCorFundo1Click() {
  if (const auto colour = asker_->AskColor(window_, lastColour_)) {
    lastColour_ = *colour;
    memo1_->SetColours(memo1_->TextColour(), *colour);
  }
}

// The report to a file the user names in the system's save dialog, opening
// in the folder saved in last; written by the core (SaveReport) as both
// windows write it: beside the target and put in its place whole, so that a
// failure leaves the file that was there, and "done" is said only once the
// report is in.
void MainWindow::SalvarRelatorioComo1Click() {
  const std::optional<std::wstring> path = asker_->AskSaveFile(window_, FromCp1252("Salvar relatório como"_cp),
                                                               WidePath(lastReportFolder_), L"relatorio.txt");
  if (!path) return;
  lastReportFolder_ = PathBytes(path->substr(0, path->find_last_of(L"\\/")));
  WriteSetting(options_.reportFolderFile, lastReportFolder_);
  const HCURSOR cursor = SetCursor(LoadCursorW(nullptr, IDC_WAIT));
  const std::string error = SaveReport(*store_, PathBytes(*path));
  SetCursor(cursor);
  if (!error.empty()) {
    ShowError(FromCp1252(InPortuguese(error)));
    return;
  }
  asker_->Tell(window_, FromCp1252("Relatório salvo com sucesso !!\r"_cp) + *path, false);
}

}  // namespace verilote::win
