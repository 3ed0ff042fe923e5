#include "win/main_window.hpp"

#include <commctrl.h>
#include <shellapi.h>

#include <algorithm>
#include <map>
#include <stdexcept>

#include "app/errors.hpp"
#include "app/platform.hpp"
#include "app/report.hpp"
#include "app/shell.hpp"
#include "desk/window_texts.hpp"
#include "detect/detect_command.hpp"
#include "win/resource.h"
#include "win/settings.hpp"
#include "win/win_text.hpp"

namespace verilote::win {

namespace {

constexpr int kReportId = 10, kLabel1Id = 11, kLabel2Id = 12, kProgressId = 13, kStopId = 14, kProgressTextId = 15,
              kValidarId = 20;
constexpr UINT_PTR kPumpTimer = 1;
// Ten looks a second at the report while a command runs: each one redraws the
// list's last rows, which under Wine goes through its server and X; at twenty
// a run of 3.5 million report lines took a fifth more processor time.
constexpr UINT kPumpMilliseconds = 100;
constexpr ULONGLONG kProgressDelayMilliseconds = 300;
constexpr wchar_t kClassName[] = L"TForm1";
constexpr COLORREF kNavy = RGB(0, 0, 128), kRed = RGB(255, 0, 0), kSilver = RGB(192, 192, 192);

// GetDpiForWindow where the system has it (Windows 10 1607 on; not every Wine).
UINT DpiOf(HWND window) {
  using GetDpi = UINT(WINAPI*)(HWND);
  static const auto getDpi = reinterpret_cast<GetDpi>(
      reinterpret_cast<void*>(GetProcAddress(GetModuleHandleW(L"user32.dll"), "GetDpiForWindow")));
  if (getDpi != nullptr && window != nullptr) return getDpi(window);
  HDC screen = GetDC(nullptr);
  const int dpi = GetDeviceCaps(screen, LOGPIXELSY);
  ReleaseDC(nullptr, screen);
  return dpi > 0 ? static_cast<UINT>(dpi) : 96;
}

HFONT Font(const wchar_t* face, int pixels, bool bold, BYTE pitch) {
  return CreateFontW(-pixels, 0, 0, 0, bold ? FW_BOLD : FW_NORMAL, FALSE, FALSE, FALSE, DEFAULT_CHARSET,
                     OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS, CLEARTYPE_QUALITY, pitch, face);
}

HWND Child(HWND parent, const wchar_t* cls, DWORD style, int id) {
  return CreateWindowExW(0, cls, L"", WS_CHILD | style, 0, 0, 10, 10, parent,
                         reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)),
                         reinterpret_cast<HINSTANCE>(GetWindowLongPtrW(parent, GWLP_HINSTANCE)), nullptr);
}

HICON ProgramIcon(HINSTANCE instance) {
  // The icon of the resource script, else the system's (a test program has none).
  if (HICON icon = LoadIconW(instance, MAKEINTRESOURCEW(IDI_VERILOTE))) return icon;
  return LoadIconW(nullptr, IDI_APPLICATION);
}

}  // namespace

MainWindow::MainWindow(HINSTANCE instance, WindowOptions options, std::unique_ptr<Asker> asker)
    : instance_(instance),
      options_(std::move(options)),
      asker_(std::move(asker)),
      store_(std::make_unique<ReportStore>(options_.temporaryFiles ? options_.temporaryFiles
                                                                   : TemporaryFileMaker(platform::TemporaryFile))) {
  if (options_.programDirectory.empty()) options_.programDirectory = platform::ProgramDirectory();
  if (options_.settingsFile.empty()) options_.settingsFile = DefaultSettingsFile();
  if (options_.reportFolderFile.empty()) options_.reportFolderFile = DefaultReportFolderFile();
  lastFolder_ = ReadSetting(options_.settingsFile);
  lastReportFolder_ = ReadSetting(options_.reportFolderFile);
  runner_ = std::make_unique<CommandRunner>(*store_, questions_, options_.programDirectory);
  Build();
  StartUp();
}

MainWindow::~MainWindow() {
  StopPriming();
  if (runner_->Alive()) {
    // The worker may be waiting for an answer from this thread: keep serving
    // it until it has seen the stop.
    destroying_ = true;
    runner_->RequestStop();
    for (MSG msg; !runner_->Done();) {
      while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) DispatchMessageW(&msg);
      MsgWaitForMultipleObjects(0, nullptr, FALSE, 10, QS_ALLINPUT);
    }
    runner_->Join();
  }
  for (MSG msg; window_ != nullptr && PeekMessageW(&msg, window_, kFinishedMessage, kFinishedMessage, PM_REMOVE);)
    delete reinterpret_cast<Outcome*>(msg.lParam);
  inspector_.reset();
  if (window_ != nullptr) DestroyWindow(window_);
  if (accelerators_ != nullptr) DestroyAcceleratorTable(accelerators_);
  for (HGDIOBJ object : {static_cast<HGDIOBJ>(reportFont_), static_cast<HGDIOBJ>(labelFont_),
                         static_cast<HGDIOBJ>(versionFont_), static_cast<HGDIOBJ>(uiFont_)})
    if (object != nullptr) DeleteObject(object);
  if (devMode_ != nullptr) GlobalFree(devMode_);
  if (devNames_ != nullptr) GlobalFree(devNames_);
}

void MainWindow::Build() {
  static const ATOM registered = [this] {
    WNDCLASSEXW cls{};
    cls.cbSize = sizeof cls;
    cls.lpfnWndProc = &MainWindow::Proc;
    cls.hInstance = instance_;
    cls.hIcon = ProgramIcon(instance_);
    cls.hIconSm = cls.hIcon;
    cls.hCursor = LoadCursorW(nullptr, IDC_ARROW);
    cls.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
    cls.lpszClassName = kClassName;
    return RegisterClassExW(&cls);
  }();
  if (registered == 0) throw std::runtime_error("cannot register the window class");
  CreateWindowExW(WS_EX_ACCEPTFILES, kClassName, FromCp1252(kProgramName).c_str(),
                  WS_OVERLAPPEDWINDOW | WS_CLIPCHILDREN, CW_USEDEFAULT, CW_USEDEFAULT, 957, 666, nullptr, nullptr,
                  instance_, this);
  if (window_ == nullptr) throw std::runtime_error("cannot create the main window");
  questions_.SetWindow(window_);

  memo1_ = std::make_unique<ReportList>(window_, kReportId, *store_);
  memo1_->SetColours(kNavy, GetSysColor(COLOR_WINDOW));
  memo1_->OnTooBig([this] { SelectionTooBig(); });
  label1_ = Child(window_, L"STATIC", WS_VISIBLE | SS_NOTIFY | SS_NOPREFIX | SS_LEFTNOWORDWRAP, kLabel1Id);
  label2_ = Child(window_, L"STATIC", WS_VISIBLE | SS_NOPREFIX | SS_LEFTNOWORDWRAP, kLabel2Id);
  progressBar_ = Child(window_, PROGRESS_CLASSW, 0, kProgressId);
  progressText_ = Child(window_, L"STATIC", SS_NOPREFIX | SS_RIGHT, kProgressTextId);
  stopButton_ = Child(window_, L"BUTTON", BS_PUSHBUTTON | WS_TABSTOP, kStopId);
  SetWindowTextW(stopButton_, L"Parar");
  BuildMenus();
  MakeFonts();

  // 957 x 666 at 96 DPI, centred on the screen's work area.
  RECT work{};
  SystemParametersInfoW(SPI_GETWORKAREA, 0, &work, 0);
  const int width = std::min<int>(Scale(957), work.right - work.left);
  const int height = std::min<int>(Scale(666), work.bottom - work.top);
  SetWindowPos(window_, nullptr, work.left + (work.right - work.left - width) / 2,
               work.top + (work.bottom - work.top - height) / 2, width, height, SWP_NOZORDER | SWP_NOACTIVATE);
  Layout();
}

void MainWindow::BuildMenus() {
  // Submenus are made where the table first names them, so that their place
  // among the items and separators of their parent follows the table.
  HMENU bar = CreateMenu();
  std::map<std::string_view, HMENU> menus;
  const auto menuFor = [&](std::string_view path, auto& self) -> HMENU {
    if (path.empty()) return bar;
    if (const auto it = menus.find(path); it != menus.end()) return it->second;
    const std::size_t cut = path.rfind(kPathSeparator);
    HMENU parent = cut == std::string_view::npos ? bar : self(path.substr(0, cut), self);
    const std::string_view title = cut == std::string_view::npos ? path : path.substr(cut + kPathSeparator.size());
    HMENU menu = CreatePopupMenu();
    AppendMenuW(parent, MF_POPUP | MF_STRING, reinterpret_cast<UINT_PTR>(menu), FromCp1252(title).c_str());
    menus.emplace(path, menu);
    return menu;
  };
  std::vector<ACCEL> keys;
  const auto rows = MenuRows();
  for (std::size_t i = 0; i < rows.size(); ++i) {
    const MenuRow& row = rows[i];
    HMENU menu = menuFor(row.path, menuFor);
    if (row.IsSeparator()) {
      AppendMenuW(menu, MF_SEPARATOR, 0, nullptr);
      continue;
    }
    const auto id = static_cast<WORD>(kFirstCommandId + i);
    std::wstring text = FromCp1252(row.caption);
    if (const std::wstring keyText = ShortcutText(row.shortcut); !keyText.empty()) text += L"\t" + keyText;
    const bool built =
        row.scope == Scope::Core ? FindHandler(row.handler) != nullptr : WindowCommandOf(row.handler) != nullptr;
    AppendMenuW(menu, MF_STRING | (built ? MF_ENABLED : MF_GRAYED), id, text.c_str());
    if (const auto key = AcceleratorOf(row.shortcut, id)) keys.push_back(*key);
  }
  // Shift+F1 belongs to "&Validar" itself: it opens that menu.
  if (const auto key = AcceleratorOf(kValidarMenuShortcut, kValidarId)) keys.push_back(*key);
  accelerators_ = CreateAcceleratorTableW(keys.data(), static_cast<int>(keys.size()));
  SetMenu(window_, bar);
}

int MainWindow::Scale(int pixels) const { return MulDiv(pixels, static_cast<int>(DpiOf(window_)), 96); }

void MainWindow::MakeFonts() {
  for (HFONT* font : {&reportFont_, &labelFont_, &versionFont_, &uiFont_})
    if (*font != nullptr) DeleteObject(*font);
  reportFont_ = Font(L"Courier New", Scale(12), false, FIXED_PITCH | FF_MODERN);
  labelFont_ = Font(L"Courier New", Scale(13), true, FIXED_PITCH | FF_MODERN);
  versionFont_ = Font(L"Comic Sans MS", Scale(12), false, VARIABLE_PITCH | FF_SCRIPT);
  NONCLIENTMETRICSW metrics{};
  metrics.cbSize = sizeof metrics;
  SystemParametersInfoW(SPI_GETNONCLIENTMETRICS, sizeof metrics, &metrics, 0);
  uiFont_ = CreateFontIndirectW(&metrics.lfMessageFont);
  memo1_->SetFont(reportFont_);
  SendMessageW(label1_, WM_SETFONT, reinterpret_cast<WPARAM>(labelFont_), TRUE);
  SendMessageW(label2_, WM_SETFONT, reinterpret_cast<WPARAM>(versionFont_), TRUE);
  SendMessageW(stopButton_, WM_SETFONT, reinterpret_cast<WPARAM>(uiFont_), TRUE);
  SendMessageW(progressText_, WM_SETFONT, reinterpret_cast<WPARAM>(uiFont_), TRUE);
}

void MainWindow::Layout() {
  RECT client{};
  GetClientRect(window_, &client);
  const int left = Scale(16), right = client.right - Scale(16), width = std::max(0, right - left);
  const int label1 = Scale(20), label2 = Scale(18), row = progressShown_ ? Scale(26) : 0, gap = Scale(4);
  int bottom = client.bottom - gap;
  MoveWindow(label2_, left, bottom - label2, width, label2, TRUE);
  bottom -= label2;
  if (progressShown_) {
    const int button = Scale(80), percent = Scale(44);
    MoveWindow(stopButton_, right - button, bottom - row, button, row - gap, TRUE);
    MoveWindow(progressText_, right - button - gap - percent, bottom - row + gap, percent, row - 2 * gap, TRUE);
    MoveWindow(progressBar_, left, bottom - row + gap, std::max(0, width - button - percent - 2 * gap), row - 3 * gap,
               TRUE);
    bottom -= row;
  }
  MoveWindow(label1_, left, bottom - label1, width, label1, TRUE);
  bottom -= label1 + gap;
  MoveWindow(memo1_->Handle(), left, Scale(8), width, std::max(0, bottom - Scale(8)), TRUE);
}

// Start-up, once: the labels and the caption, the notice line, and the
// leftovers of an update removed.
void MainWindow::StartUp() {
  SetWindowTextW(label2_, FromCp1252(Cat(kProgramName, "  ", kVersion)).c_str());
  SetWindowTextW(label1_, FromCp1252(Cat(kReleaseBefore, kReleaseDate, kReleaseAfter)).c_str());
  SetWindowTextW(window_, Caption().c_str());
  store_->Append(kNoticeLine);
  memo1_->Sync();
  DeleteLeftovers({"versao2.exe", "versao.txt"});
}

std::wstring MainWindow::Caption() const { return FromCp1252(Cat(kProgramName, " Versão "_cp, kVersion)); }

std::string_view MainWindow::HandlerOf(int id) {
  const auto rows = MenuRows();
  if (id < kFirstCommandId || id - kFirstCommandId >= static_cast<int>(rows.size())) return {};
  return rows[static_cast<std::size_t>(id - kFirstCommandId)].handler;
}

LRESULT CALLBACK MainWindow::Proc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  auto* self = reinterpret_cast<MainWindow*>(GetWindowLongPtrW(window, GWLP_USERDATA));
  if (message == WM_NCCREATE) {
    self = static_cast<MainWindow*>(reinterpret_cast<CREATESTRUCTW*>(lParam)->lpCreateParams);
    self->window_ = window;
    SetWindowLongPtrW(window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(self));
  }
  if (self == nullptr) return DefWindowProcW(window, message, wParam, lParam);
  if (message == WM_NCDESTROY) {
    SetWindowLongPtrW(window, GWLP_USERDATA, 0);
    self->window_ = nullptr;
    if (self->options_.quitOnDestroy) PostQuitMessage(0);
    return DefWindowProcW(window, message, wParam, lParam);
  }
  return self->Handle(message, wParam, lParam);
}

LRESULT MainWindow::Handle(UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case kQuestionMessage: {
      auto* question = reinterpret_cast<Question*>(lParam);
      question->ask();
      SetEvent(question->answered);
      return 0;
    }
    case kFinishedMessage: {
      const std::unique_ptr<Outcome> outcome(reinterpret_cast<Outcome*>(lParam));
      FinishCommand(*outcome);
      return 0;
    }
    case WM_COMMAND:
      if (LOWORD(wParam) == kLabel1Id && HIWORD(wParam) == STN_CLICKED) {
        OpenPage(FromCp1252(kHomePage));
      } else if (LOWORD(wParam) == kStopId && HIWORD(wParam) == BN_CLICKED) {
        EnableWindow(stopButton_, FALSE);
        runner_->RequestStop();
      } else {
        Command(LOWORD(wParam));
      }
      return 0;
    case WM_NOTIFY: {
      LRESULT result = 0;
      if (const auto line = memo1_ ? memo1_->ActivatedLine(*reinterpret_cast<const NMHDR*>(lParam)) : std::nullopt) {
        InspectLine(*line);
        return 0;
      }
      if (memo1_ && memo1_->OnNotify(*reinterpret_cast<const NMHDR*>(lParam), result)) return result;
      break;
    }
    case WM_TIMER:
      if (wParam == kPumpTimer) Pump();
      return 0;
    case WM_CTLCOLORSTATIC: {
      const auto control = reinterpret_cast<HWND>(lParam);
      if (control != label1_ && control != label2_) break;
      HDC dc = reinterpret_cast<HDC>(wParam);
      SetTextColor(dc, control == label1_ ? kRed : kSilver);
      SetBkColor(dc, GetSysColor(COLOR_BTNFACE));
      return reinterpret_cast<LRESULT>(GetSysColorBrush(COLOR_BTNFACE));
    }
    case WM_SETCURSOR:
      if (reinterpret_cast<HWND>(wParam) == label1_) {
        SetCursor(LoadCursorW(nullptr, IDC_HAND));
        return TRUE;
      }
      break;
    case WM_SIZE:
      if (memo1_) Layout();
      return 0;
    case WM_DPICHANGED: {
      const auto* suggested = reinterpret_cast<const RECT*>(lParam);
      SetWindowPos(window_, nullptr, suggested->left, suggested->top, suggested->right - suggested->left,
                   suggested->bottom - suggested->top, SWP_NOZORDER | SWP_NOACTIVATE);
      MakeFonts();
      Layout();
      return 0;
    }
    case WM_SETFOCUS:
      if (memo1_) SetFocus(memo1_->Handle());  // Ctrl+A and Ctrl+C work without a click
      return 0;
    case WM_DROPFILES:
      DropFiles(reinterpret_cast<HDROP>(wParam));
      return 0;
    case WM_CLOSE:
      Close();
      return 0;
    default:
      break;
  }
  return DefWindowProcW(window_, message, wParam, lParam);
}

bool MainWindow::InspectLine(std::uint64_t line) {
  if (!runner_->Findings().Of(store_->Generation(), line)) return false;
  if (inspector_ == nullptr)
    inspector_ = std::make_unique<RecordInspector>(window_, *store_, runner_->Findings(), *memo1_, locator_);
  inspector_->ShowLine(line);
  ShowWindow(inspector_->Handle(), SW_SHOW);
  SetForegroundWindow(inspector_->Handle());
  return true;
}

void MainWindow::Command(int id) {
  if (id == kValidarId) {
    // Opens "&Validar" as its mnemonic would.
    PostMessageW(window_, WM_SYSCOMMAND, SC_KEYMENU, 'v');
    return;
  }
  const auto rows = MenuRows();
  if (IsRunning() || id < kFirstCommandId || id - kFirstCommandId >= static_cast<int>(rows.size())) return;
  const MenuRow& row = rows[static_cast<std::size_t>(id - kFirstCommandId)];
  if (row.scope == Scope::Core) {
    if (const Handler handler = FindHandler(row.handler)) StartCommand(handler);
  } else if (const WindowCommand command = WindowCommandOf(row.handler)) {
    (this->*command)();
  }
}

void MainWindow::DropFiles(HDROP drop) {
  std::wstring path;
  if (DragQueryFileW(drop, 0xFFFFFFFF, nullptr, 0) == 1) {
    path.resize(DragQueryFileW(drop, 0, nullptr, 0));
    DragQueryFileW(drop, 0, path.data(), static_cast<UINT>(path.size() + 1));
  }
  DragFinish(drop);
  if (!path.empty() && !IsRunning()) ValidateDroppedFile(path);
}

bool MainWindow::ValidateDroppedFile(std::wstring_view path) {
  return StartCommand(ValidarArquivoDetectarLayout1Click, PathBytes(path));
}

bool MainWindow::StartCommand(Handler handler, std::optional<std::string> answeredFile) {
  if (runner_->Alive()) return false;
  StopPriming();
  memo1_->KeepCopy();  // the command may clear the report a copy not yet pasted reads from
  if (!runner_->Start(handler, std::move(answeredFile))) return false;
  progressShownPercent_ = -1;
  SetWindowTextW(progressText_, L"");
  lastHandler_ = handler;
  EnableMenus(false);
  EnableWindow(stopButton_, TRUE);
  memo1_->SetFollowing(true);  // new output comes into view, wherever the user clicked
  runStart_ = GetTickCount64();
  SetTimer(window_, kPumpTimer, kPumpMilliseconds, nullptr);
  return true;
}

void MainWindow::FinishCommand(const Outcome& outcome) {
  runner_->Join();
  if (destroying_) return;
  KillTimer(window_, kPumpTimer);
  ShowProgress(false);
  EnableMenus(true);
  memo1_->Sync();  // the last lines, followed as the others were
  memo1_->SetFollowing(false);
  // What the command wrote, from its start when it does not all fit.
  const std::uint64_t first = runner_->FirstLine(), size = store_->Size();
  if (size - std::min(first, size) > static_cast<std::uint64_t>(memo1_->VisibleLines())) memo1_->ShowFrom(first);
  if (inspector_ != nullptr) inspector_->UpdateButtons();
  PrimeLocator();
  ++finished_;
  lastOutcome_ = outcome;
  if (closeWhenDone_) {
    Close();
    return;
  }
  if (outcome.status == Outcome::Status::Aborted) ShowError(FromCp1252(InPortuguese(outcome.message)));
}

void MainWindow::PrimeLocator() {
  StopPriming();
  const std::uint64_t generation = store_->Generation();
  const std::optional<std::uint64_t> last = runner_->Findings().PreviousLine(generation, store_->Size());
  const std::optional<FindingIndex::Entry> entry =
      last ? runner_->Findings().Of(generation, *last) : std::optional<FindingIndex::Entry>();
  if (!entry || entry->file.empty() || entry->record == 0) return;
  stopPriming_ = false;
  primer_ = std::thread([this, file = entry->file, record = entry->record] {
    // A step at a time, each going on from the last mark, so that the
    // inspector waits for one step at most, and a new run or the window's
    // end stops it soon.
    constexpr std::uint64_t kStep = 100000;
    for (std::uint64_t upTo = kStep;; upTo += kStep) {
      if (stopPriming_) return;
      const std::uint64_t wanted = std::min(upTo, record);
      const std::lock_guard lock(locator_->mutex);
      if (locator_->locator.Read(file, wanted).status != RecordLocator::Status::Found || wanted == record) return;
    }
  });
}

void MainWindow::StopPriming() {
  stopPriming_ = true;
  if (primer_.joinable()) primer_.join();
}

// Shows the lines the command wrote so far and how far it has read. The
// progress row shows only while the command works, not while it waits for
// the user, and not for a command that ends before it would only flicker.
void MainWindow::Pump() {
  memo1_->Sync();
  ShowProgress(!runner_->Asking() && GetTickCount64() - runStart_ >= kProgressDelayMilliseconds);
  const std::uint64_t total = runner_->BytesTotal();
  const LONG_PTR style = GetWindowLongPtrW(progressBar_, GWL_STYLE);
  if (total == 0) {
    if ((style & PBS_MARQUEE) == 0) {
      SetWindowLongPtrW(progressBar_, GWL_STYLE, style | PBS_MARQUEE);
      SendMessageW(progressBar_, PBM_SETMARQUEE, TRUE, 30);
    }
  } else {
    if ((style & PBS_MARQUEE) != 0) {
      SendMessageW(progressBar_, PBM_SETMARQUEE, FALSE, 0);
      SetWindowLongPtrW(progressBar_, GWL_STYLE, style & ~PBS_MARQUEE);
      SendMessageW(progressBar_, PBM_SETRANGE32, 0, 1000);
    }
    const std::uint64_t read = std::min(runner_->BytesRead(), total);
    SendMessageW(progressBar_, PBM_SETPOS, static_cast<WPARAM>(read * 1000 / total), 0);
    if (const int percent = static_cast<int>(read * 100 / total); percent != progressShownPercent_) {
      progressShownPercent_ = percent;
      SetWindowTextW(progressText_, (std::to_wstring(percent) + L"%").c_str());
    }
  }
}

std::wstring MainWindow::ProgressText() const {
  std::wstring text(static_cast<std::size_t>(GetWindowTextLengthW(progressText_)) + 1, L'\0');
  text.resize(static_cast<std::size_t>(GetWindowTextW(progressText_, text.data(), static_cast<int>(text.size()))));
  return text;
}

// Ctrl+C on more than the clipboard takes: the report can go to a file instead.
void MainWindow::SelectionTooBig() {
  if (IsRunning() || !asker_->Confirm(window_, FromCp1252(kSelectionTooBig))) return;
  if (const Handler handler = FindHandler("Copiaparaarquivonovo1Click")) StartCommand(handler);
}

void MainWindow::ShowProgress(bool shown) {
  if (shown == progressShown_) return;
  progressShown_ = shown;
  ShowWindow(progressBar_, shown ? SW_SHOW : SW_HIDE);
  ShowWindow(progressText_, shown ? SW_SHOW : SW_HIDE);
  ShowWindow(stopButton_, shown ? SW_SHOW : SW_HIDE);
  Layout();
}

void MainWindow::EnableMenus(bool enabled) {
  HMENU bar = GetMenu(window_);
  for (int i = 0, n = GetMenuItemCount(bar); i < n; ++i)
    EnableMenuItem(bar, static_cast<UINT>(i), MF_BYPOSITION | (enabled ? MF_ENABLED : MF_GRAYED));
  DrawMenuBar(window_);
}

void MainWindow::Close() {
  if (IsRunning()) {
    // Ask first; on yes, stop the command, and the window closes when it has ended.
    if (closeWhenDone_ || !asker_->Confirm(window_, FromCp1252(kStopAndClose))) return;
    if (IsRunning()) {
      closeWhenDone_ = true;
      runner_->RequestStop();
      return;
    }
  }
  DeleteLeftovers({"suporte.bat", "versao.bat", "email.txt"});
  DestroyWindow(window_);
}

void MainWindow::DeleteLeftovers(std::initializer_list<const char*> names) const {
  for (const char* name : names) DeleteFileW(WidePath(options_.programDirectory + "\\" + name).c_str());
}

// A question of the command: the report shows what it wrote so far, and the
// progress row goes until the command works again.
void MainWindow::BeforeQuestion() {
  memo1_->Sync();
  ShowProgress(false);
}

std::wstring MainWindow::AskText(const std::wstring& caption, const std::wstring& prompt,
                                 const std::wstring& defaultText) {
  if (destroying_ || closeWhenDone_) return defaultText;  // the command is being stopped
  BeforeQuestion();
  std::wstring answer = asker_->AskText(window_, caption, prompt, defaultText);
  runStart_ = GetTickCount64();
  return answer;
}

std::optional<std::wstring> MainWindow::AskFile(const std::wstring& title, FileFilter filter) {
  if (destroying_ || closeWhenDone_) return std::nullopt;
  BeforeQuestion();
  std::optional<std::wstring> path = asker_->AskFile(window_, title, filter, WidePath(lastFolder_));
  runStart_ = GetTickCount64();
  if (path) {
    // Kept for the next run of the program.
    lastFolder_ = PathBytes(path->substr(0, path->find_last_of(L"\\/")));
    WriteSetting(options_.settingsFile, lastFolder_);
  }
  return path;
}

std::optional<int> MainWindow::AskItem(const std::wstring& caption, const std::wstring& prompt,
                                       const std::vector<std::wstring>& items) {
  if (destroying_ || closeWhenDone_) return std::nullopt;
  BeforeQuestion();
  std::optional<int> chosen = asker_->AskItem(window_, caption, prompt, items);
  runStart_ = GetTickCount64();
  return chosen;
}

void MainWindow::Tell(const std::wstring& text) {
  if (destroying_ || closeWhenDone_) return;
  BeforeQuestion();
  asker_->Tell(window_, text, false);
  runStart_ = GetTickCount64();
}

void MainWindow::ShowError(const std::wstring& text) { asker_->Tell(window_, text, true); }

void MainWindow::OpenPage(const std::wstring& address) {
  const auto result =
      reinterpret_cast<INT_PTR>(ShellExecuteW(window_, L"open", address.c_str(), nullptr, nullptr, SW_SHOW));
  if (result <= 32) asker_->Tell(window_, FromCp1252(kCannotOpenPage) + address + L".", false);
}

}  // namespace verilote::win
