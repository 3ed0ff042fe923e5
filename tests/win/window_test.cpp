// The Win32 window under Wine, driven by its messages with a scripted hand
// for its questions: its menus follow the command table item by item and
// every built command runs from its menu id; each example gives the same
// report as verilote-cli; a dropped file is validated; Stop ends a run and
// says so in the report, the bar saying how far in percent; closing waits
// for the command to stop; Ctrl+C promises the selected lines to the
// clipboard, up to its bound, and a new run clears the selection; "Salvar
// relatório como…" replaces its file whole; a report cut by a full temporary
// folder is said so, in a box and a last line.
#include <gtest/gtest.h>
#include <windows.h>
// After windows.h:
#include <shlobj.h>

#include <atomic>
#include <cstdio>
#include <deque>
#include <filesystem>
#include <fstream>
#include <functional>
#include <iterator>
#include <map>
#include <set>
#include <sstream>
#include <utility>

#include "app/command_table.hpp"
#include "app/cp1252.hpp"
#include "app/report.hpp"
#include "banking/text.hpp"
#include "desk/window_texts.hpp"
#include "support/filling_files.hpp"
#include "win/main_window.hpp"
#include "win/record_inspector.hpp"
#include "win/win_text.hpp"

namespace verilote::win {
namespace {

class FakeAsker final : public Asker {
 public:
  std::deque<std::wstring> answers;  // input boxes, in order; then their defaults
  bool confirm = true;
  std::vector<std::wstring> told;  // messages; errors begin with "!"
  int confirmations = 0;

  std::wstring AskText(HWND, const std::wstring&, const std::wstring&, const std::wstring& defaultText) override {
    if (answers.empty()) return defaultText;
    std::wstring answer = answers.front();
    answers.pop_front();
    return answer;
  }
  std::optional<std::wstring> AskFile(HWND, const std::wstring&, FileFilter, const std::wstring&) override {
    return std::nullopt;
  }
  std::optional<std::wstring> saveAs;  // the save dialog's answer; nothing is Cancel
  std::wstring saveFolder;             // where it opened
  std::optional<std::wstring> AskSaveFile(HWND, const std::wstring&, const std::wstring& folder,
                                          const std::wstring&) override {
    saveFolder = folder;
    return saveAs;
  }
  std::optional<int> AskItem(HWND, const std::wstring&, const std::wstring&,
                             const std::vector<std::wstring>&) override {
    return std::nullopt;
  }
  void Tell(HWND, const std::wstring& text, bool error) override { told.push_back((error ? L"!" : L"") + text); }
  bool Confirm(HWND, const std::wstring&) override {
    ++confirmations;
    return confirm;
  }
  std::optional<COLORREF> colour;  // the colour dialog's answer; nothing is Cancel
  COLORREF offered = 0;            // what it opened on
  std::optional<COLORREF> AskColor(HWND, COLORREF initial) override {
    offered = initial;
    return colour;
  }
};

// Serves the window's messages until `done`, for at most 20 seconds.
bool PumpUntil(const std::function<bool()>& done) {
  const ULONGLONG until = GetTickCount64() + 20000;
  for (MSG msg; !done();) {
    if (GetTickCount64() > until) return false;
    while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
      TranslateMessage(&msg);
      DispatchMessageW(&msg);
    }
    MsgWaitForMultipleObjects(0, nullptr, FALSE, 5, QS_ALLINPUT);
  }
  return true;
}

// A window on a scratch program directory, with a scripted asker.
struct Shown {
  std::string directory;
  FakeAsker* asker = new FakeAsker;
  std::unique_ptr<MainWindow> window;

  explicit Shown(TemporaryFileMaker temporaryFiles = {}) {
    wchar_t temp[MAX_PATH];
    GetTempPathW(MAX_PATH, temp);
    directory = PathBytes(temp) + "verilote-win-" + std::to_string(GetCurrentProcessId()) + "-" +
                std::to_string(GetTickCount64());
    CreateDirectoryW(WidePath(directory).c_str(), nullptr);
    window = std::make_unique<MainWindow>(GetModuleHandleW(nullptr),
                                          WindowOptions{directory, directory + "\\pasta.txt", false,
                                                        std::move(temporaryFiles), directory + "\\pasta-relatorio.txt"},
                                          std::unique_ptr<Asker>(asker));
  }
  // Runs `start` and waits for the command's end.
  bool RunToEnd(const std::function<bool()>& start) {
    const int before = window->Finished();
    return start() && PumpUntil([&] { return window->Finished() > before; });
  }
  std::vector<std::string> LinesFrom(std::uint64_t first) const {
    std::vector<std::string> lines;
    window->Store().ForEach(first, UINT64_MAX, [&](std::uint64_t, std::string_view line) {
      lines.emplace_back(line);
      return true;
    });
    return lines;
  }
};

// Every menu's entries under its path, in menu order: "caption|handler|on"
// for a command, "-" for a separator, "> title" for a submenu.
using Tree = std::map<std::wstring, std::vector<std::wstring>>;

void Walk(HMENU menu, const std::wstring& path, Tree& out) {
  for (int i = 0; i < GetMenuItemCount(menu); ++i) {
    wchar_t text[512] = {};
    MENUITEMINFOW info{};
    info.cbSize = sizeof info;
    info.fMask = MIIM_FTYPE | MIIM_ID | MIIM_SUBMENU | MIIM_STRING | MIIM_STATE;
    info.dwTypeData = text;
    info.cch = 511;
    GetMenuItemInfoW(menu, static_cast<UINT>(i), TRUE, &info);
    if ((info.fType & MFT_SEPARATOR) != 0) {
      out[path].push_back(L"-");
    } else if (info.hSubMenu != nullptr) {
      out[path].push_back(std::wstring(L"> ") + text);
      Walk(info.hSubMenu, path.empty() ? text : path + FromCp1252(kPathSeparator) + text, out);
    } else {
      const std::wstring caption(text, wcscspn(text, L"\t"));
      out[path].push_back(caption + L"|" + FromCp1252(MainWindow::HandlerOf(static_cast<int>(info.wID))) + L"|" +
                          ((info.fState & MFS_GRAYED) != 0 ? L"off" : L"on"));
    }
  }
}

// The same tree from the table: every window command must be there.
Tree TableTree() {
  Tree tree;
  std::set<std::string_view> made;
  const std::function<void(std::string_view)> ensure = [&](std::string_view path) {
    if (path.empty() || !made.insert(path).second) return;
    const std::size_t cut = path.rfind(kPathSeparator);
    const std::string_view parent = cut == std::string_view::npos ? "" : path.substr(0, cut);
    ensure(parent);
    tree[FromCp1252(parent)].push_back(L"> " + FromCp1252(cut == std::string_view::npos ? path : path.substr(cut + 3)));
  };
  for (const MenuRow& row : MenuRows()) {
    ensure(row.path);
    const bool on = row.scope == Scope::Window || FindHandler(row.handler) != nullptr;
    tree[FromCp1252(row.path)].push_back(row.IsSeparator() ? L"-"
                                                           : FromCp1252(row.caption) + L"|" + FromCp1252(row.handler) +
                                                                 L"|" + (on ? L"on" : L"off"));
  }
  return tree;
}

TEST(WinWindow, MenusFollowTheTableAndEveryCommandRunsFromItsId) {
  Shown shown;
  Tree menus;
  Walk(GetMenu(shown.window->Handle()), L"", menus);
  EXPECT_EQ(menus, TableTree());
  // Shortcuts show beside their captions and reach their command.
  std::vector<ACCEL> keys(static_cast<std::size_t>(CopyAcceleratorTableW(shown.window->Accelerators(), nullptr, 0)));
  CopyAcceleratorTableW(shown.window->Accelerators(), keys.data(), static_cast<int>(keys.size()));
  std::map<std::string_view, std::pair<int, int>> shortcuts;  // handler: key, flags
  for (const ACCEL& key : keys) shortcuts[MainWindow::HandlerOf(key.cmd)] = {key.key, key.fVirt & ~FNOINVERT};
  EXPECT_EQ(shortcuts["ImprimirMemoLines1Click"], std::make_pair(int{'I'}, FVIRTKEY | FCONTROL));
  EXPECT_EQ(shortcuts["LimparTela1Click"], std::make_pair(int{VK_F10}, int{FVIRTKEY}));
  wchar_t text[128] = {};
  const auto rows = MenuRows();
  for (std::size_t i = 0; i < rows.size(); ++i) {
    if (rows[i].handler == "ImprimirMemoLines1Click")
      GetMenuStringW(GetMenu(shown.window->Handle()), kFirstCommandId + static_cast<UINT>(i), text, 128, MF_BYCOMMAND);
  }
  EXPECT_STREQ(text, L"Imprimir a tela\tCtrl+I");

  // F10 comes as a system key: its accelerator still clears the report.
  MSG f10{shown.window->Handle(), WM_SYSKEYDOWN, VK_F10, 1, 0, {}};
  EXPECT_TRUE(shown.RunToEnd([&] { return TranslateAcceleratorW(f10.hwnd, shown.window->Accelerators(), &f10) != 0; }));
  EXPECT_EQ(shown.window->LastHandler(), FindHandler("LimparTela1Click"));

  // Each built command, from its menu id, with every question cancelled.
  for (std::size_t i = 0; i < rows.size(); ++i) {
    const Handler handler = rows[i].scope == Scope::Core ? FindHandler(rows[i].handler) : nullptr;
    if (handler == nullptr) continue;
    const bool ended = shown.RunToEnd([&] {
      return PostMessageW(shown.window->Handle(), WM_COMMAND, kFirstCommandId + static_cast<WPARAM>(i), 0) != 0;
    });
    EXPECT_TRUE(ended) << rows[i].handler;
    EXPECT_EQ(shown.window->LastHandler(), handler) << rows[i].handler;
  }
}

// A window command runs from its menu id too.
void Trigger(Shown& shown, std::string_view handler) {
  const auto rows = MenuRows();
  for (std::size_t i = 0; i < rows.size(); ++i)
    if (rows[i].handler == handler) SendMessageW(shown.window->Handle(), WM_COMMAND, kFirstCommandId + i, 0);
}

// Both colour commands open on the colour last chosen in either; Cancel
// leaves both colours as they were.
TEST(WinWindow, ReportColours) {
  Shown shown;
  ReportList& report = shown.window->Report();
  const COLORREF background = report.BackgroundColour();
  EXPECT_EQ(report.TextColour(), RGB(0, 0, 128));  // navy
  shown.asker->colour = RGB(200, 0, 0);
  Trigger(shown, "ConfiguraFonte1Click");
  EXPECT_EQ(shown.asker->offered, RGB(0, 0, 0));  // black before the first choice
  shown.asker->colour.reset();
  Trigger(shown, "ConfiguraCorFundo1Click");
  EXPECT_EQ(shown.asker->offered, RGB(200, 0, 0));
  EXPECT_EQ(report.TextColour(), RGB(200, 0, 0));
  EXPECT_EQ(report.BackgroundColour(), background);
}

// The system's own dialogs, answered by a timer on the dialog's own loop:
// `act` gets the dialog titled `caption` once it shows.
std::function<void(HWND)> gAct;
std::wstring gCaption;
void CALLBACK ActOnDialog(HWND, UINT, UINT_PTR timer, DWORD) {
  if (HWND dialog = FindWindowW(L"#32770", gCaption.c_str()); dialog != nullptr && gAct) {
    KillTimer(nullptr, timer);
    std::exchange(gAct, nullptr)(dialog);
  }
}
void WhenShown(const std::wstring& caption, std::function<void(HWND)> act) {
  gCaption = caption;
  gAct = std::move(act);
  SetTimer(nullptr, 0, 20, ActOnDialog);
}
std::wstring TextOf(HWND control) {
  wchar_t text[256] = {};
  GetWindowTextW(control, text, 256);
  return text;
}

// The input box, the list and the yes/no question, built in memory: what
// they show, and what OK, Cancel and "Sim" give back; a question comes up
// over its owner and with its icon.
TEST(WinDialogs, AnswerAsTheUserChooses) {
  const std::unique_ptr<Asker> asker = MakeDialogAsker(GetModuleHandleW(nullptr), L"Verilote");
  int editWidth = 0, digitsWidth = 0;
  std::wstring shown;
  WhenShown(L"Linha digit\u00e1vel", [&](HWND dialog) {
    HWND edit = FindWindowExW(dialog, nullptr, L"Edit", nullptr);
    shown = TextOf(edit);
    RECT box{};
    GetClientRect(edit, &box);
    editWidth = box.right;
    HDC dc = GetDC(edit);
    SelectObject(dc, reinterpret_cast<HFONT>(SendMessageW(edit, WM_GETFONT, 0, 0)));
    SIZE size{};
    GetTextExtentPoint32W(dc, std::wstring(54, L'0').c_str(), 54, &size);  // 48 digits, 4 blanks, 2 dots
    ReleaseDC(edit, dc);
    digitsWidth = size.cx;
    SetWindowTextW(edit, L"104");
    SendMessageW(dialog, WM_COMMAND, IDOK, 0);
  });
  EXPECT_EQ(asker->AskText(nullptr, L"Linha digit\u00e1vel", L"Entre com a linha", L"0"), L"104");
  EXPECT_EQ(shown, L"0");
  EXPECT_GE(editWidth, digitsWidth);

  WhenShown(L"Quantidade", [](HWND dialog) { SendMessageW(dialog, WM_COMMAND, IDCANCEL, 0); });
  EXPECT_EQ(asker->AskText(nullptr, L"Quantidade", L"Quantos?", L"10"), L"10");  // Cancel: the default

  int count = 0;
  WhenShown(L"Layout", [&](HWND dialog) {
    HWND list = FindWindowExW(dialog, nullptr, L"ListBox", nullptr);
    count = static_cast<int>(SendMessageW(list, LB_GETCOUNT, 0, 0));
    SendMessageW(list, LB_SETCURSEL, 1, 0);
    SendMessageW(dialog, WM_COMMAND, IDOK, 0);
  });
  EXPECT_EQ(asker->AskItem(nullptr, L"Layout", L"Qual?", {L"SIGCB 240", L"SICOB 240", L"SINCO"}), 1);
  EXPECT_EQ(count, 3);

  // Over its owner, away from the screen's centre, and with the owner's icon.
  WNDCLASSEXW cls{};
  cls.cbSize = sizeof cls;
  cls.lpfnWndProc = DefWindowProcW;
  cls.hInstance = GetModuleHandleW(nullptr);
  cls.hIcon = LoadIconW(nullptr, IDI_WARNING);
  cls.lpszClassName = L"VeriloteTestOwner";
  RegisterClassExW(&cls);
  HWND owner = CreateWindowExW(0, cls.lpszClassName, L"", WS_POPUP | WS_CAPTION, 40, 30, 500, 300, nullptr, nullptr,
                               cls.hInstance, nullptr);
  POINT offset{};
  HICON icon = nullptr;
  WhenShown(L"Verilote", [&](HWND dialog) {
    shown = TextOf(FindWindowExW(dialog, nullptr, L"Button", L"Sim")) + L"/" +
            TextOf(FindWindowExW(dialog, nullptr, L"Button", L"N\u00e3o"));
    RECT box{};
    GetWindowRect(dialog, &box);
    offset = {(box.left + box.right) / 2 - 290, (box.top + box.bottom) / 2 - 180};
    icon = reinterpret_cast<HICON>(SendMessageW(dialog, WM_GETICON, ICON_SMALL, 0));
    SendMessageW(dialog, WM_COMMAND, IDYES, 0);
  });
  EXPECT_TRUE(asker->Confirm(owner, L"Fechar?"));
  EXPECT_EQ(shown, L"Sim/N\u00e3o");
  EXPECT_LE(std::abs(offset.x) + std::abs(offset.y), 2) << offset.x << "," << offset.y;
  EXPECT_EQ(icon, cls.hIcon);
  DestroyWindow(owner);
}

struct ExampleRun {
  std::string example;
  int status = 0;
  std::string handler;
  std::deque<std::wstring> answers;
};

std::vector<ExampleRun> Runs() {
  std::ifstream manifest(VERILOTE_SOURCE_DIR "/tests/examples/runs.txt", std::ios::binary);
  std::vector<ExampleRun> runs;
  for (std::string line; std::getline(manifest, line);) {
    if (line.empty() || line[0] == '#') continue;
    std::istringstream words(line);
    ExampleRun run;
    std::string layouts;
    words >> run.example >> run.status >> layouts >> run.handler;
    for (std::string option, value; words >> option >> value;)
      if (option == "--answer") run.answers.push_back(FromCp1252(FromUtf8(value)));
    runs.push_back(run);
  }
  return runs;
}

std::string ReadAll(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(in), {});
}

// Each example through the window gives verilote-cli's report (its expected
// output, UTF-8) byte for byte, and its verdict; the table is printed.
TEST(WinWindow, ExamplesReportAsTheCommandLine) {
  ASSERT_TRUE(SetCurrentDirectoryW(WidePath(VERILOTE_SOURCE_DIR).c_str()));  // reports name examples/...
  Shown shown;
  shown.window->Runner().SetToday(CivilDate{2026, 12, 6});
  const std::vector<ExampleRun> runs = Runs();
  ASSERT_FALSE(runs.empty());
  std::printf("%-55s %-7s %s\n", "example", "status", "window report vs verilote-cli");
  for (const ExampleRun& run : runs) {
    shown.asker->answers = run.answers;
    const bool ended =
        shown.RunToEnd([&] { return shown.window->StartCommand(FindHandler(run.handler), "examples/" + run.example); });
    std::string report;
    for (const std::string& line : shown.LinesFrom(shown.window->Runner().FirstLine())) report += ToUtf8(line) + "\n";
    const int status = shown.window->LastOutcome().status == Outcome::Status::Clean ? 0 : 1;
    const bool same = ended && report == ReadAll(VERILOTE_SOURCE_DIR "/tests/examples/" + run.example + ".out");
    std::printf("%-55s %d/%d     %s\n", run.example.c_str(), status, run.status, same ? "same" : "DIFFERENT");
    EXPECT_TRUE(same) << run.example << ":\n" << report;
    EXPECT_EQ(status, run.status) << run.example;
  }
}

std::wstring ItemText(HWND list, int row, int column) {
  wchar_t text[512] = {};
  LVITEMW item{};
  item.iSubItem = column;
  item.pszText = text;
  item.cchTextMax = 512;
  SendMessageW(list, LVM_GETITEMTEXTW, static_cast<WPARAM>(row), reinterpret_cast<LPARAM>(&item));
  return text;
}

// Enter on a report line, as the user presses it there.
void PressEnterOn(Shown& shown, std::uint64_t line) {
  shown.window->Report().Reveal(line);
  SetFocus(shown.window->Report().Handle());
  SendMessageW(shown.window->Report().Handle(), WM_KEYDOWN, VK_RETURN, 0);
}

// A finding line opens the record inspector on its record, the fields it
// names highlighted; "Próximo" goes to the next finding and the report
// list follows; a line that is no finding opens nothing.
TEST(WinWindow, FindingLineOpensTheRecordInspector) {
  ASSERT_TRUE(SetCurrentDirectoryW(WidePath(VERILOTE_SOURCE_DIR).c_str()));
  Shown shown;
  ASSERT_TRUE(shown.RunToEnd([&] {
    return shown.window->StartCommand(FindHandler("SIGCBRemessa1Click"),
                                      "examples/sigcb240/remessa_sigcb240_com_erros.rem");
  }));
  const std::vector<std::string> lines = shown.LinesFrom(0);
  const auto r = std::find_if(lines.begin(), lines.end(),
                              [](const std::string& l) { return l.starts_with("Linha 5 SEGMENTO R"); });
  ASSERT_TRUE(r != lines.end() && r + 1 != lines.end() && (r + 1)->starts_with("Linha 6 Tipo de impress"));
  const auto line = static_cast<std::uint64_t>(r - lines.begin());
  PressEnterOn(shown, 1);  // "Validando arquivo: ..."
  EXPECT_EQ(shown.window->Inspector(), nullptr);

  PressEnterOn(shown, line);
  const RecordInspector* inspector = shown.window->Inspector();
  ASSERT_NE(inspector, nullptr);
  EXPECT_TRUE(IsWindowVisible(inspector->Handle()));
  wchar_t title[256] = {};
  GetWindowTextW(inspector->Handle(), title, 256);
  EXPECT_STREQ(title, L"Registro 5 (Segmento R) - remessa_sigcb240_com_erros.rem");
  const auto named = [&] {
    std::vector<std::wstring> rows;
    for (int row = 0; row < ListView_GetItemCount(inspector->Fields()); ++row)
      if (inspector->Shown().rows.at(static_cast<std::size_t>(row)).named)
        rows.push_back(ItemText(inspector->Fields(), row, 0) + L"|" + ItemText(inspector->Fields(), row, 3));
    return rows;
  };
  EXPECT_EQ(named(), std::vector<std::wstring>{L"15.3R|10012027"});

  SendMessageW(inspector->NextButton(), BM_CLICK, 0, 0);
  EXPECT_EQ(inspector->Line(), std::optional<std::uint64_t>(line + 1));
  EXPECT_EQ(named(), std::vector<std::wstring>{L"08.3S|7"});  // position 18 of record 6
  EXPECT_EQ(shown.window->Report().Selection(), std::optional(std::pair(line + 1, line + 1)));
  EXPECT_TRUE(IsWindowEnabled(inspector->PreviousButton()));
  // Every cell whole: no column narrower than its widest text.
  for (int column = 0; column < 5; ++column)
    for (int row = 0; row < ListView_GetItemCount(inspector->Fields()); ++row)
      EXPECT_GE(ListView_GetColumnWidth(inspector->Fields(), column),
                ListView_GetStringWidth(inspector->Fields(), ItemText(inspector->Fields(), row, column).c_str()))
          << row << "," << column;
  // Over the main window, not at the screen's corner.
  RECT over{}, box{};
  GetWindowRect(shown.window->Handle(), &over);
  GetWindowRect(inspector->Handle(), &box);
  EXPECT_NEAR((box.left + box.right) / 2, (over.left + over.right) / 2, 2);
  EXPECT_NEAR((box.top + box.bottom) / 2, (over.top + over.bottom) / 2, 2);
}

// A finding a line, about record n, until the report can take no more.
Verdict FindsForever(Host& host) {
  host.ReportClear();
  for (std::uint64_t n = 1;; ++n) host.ReportFinding(Finding{Cat("Linha ", n, " Codigos de erro: (01.0)"), n});
}

// The temporary folder refuses the findings' first block: the box and the
// last line say the report is cut, every line before stays, and the keys and
// the inspector stay within what was kept.
TEST(WinWindow, AFullTemporaryFolderCutsTheReportVisibly) {
  Shown shown(verilote::testing::RefusingFiles());
  ASSERT_TRUE(shown.RunToEnd([&] { return shown.window->StartCommand(FindsForever); }));
  const std::wstring cut =
      L"Relat\u00f3rio incompleto: n\u00e3o foi poss\u00edvel guardar o relat\u00f3rio inteiro na pasta "
      L"tempor\u00e1ria. As linhas acima foram mantidas.";
  EXPECT_EQ(shown.window->LastOutcome().status, Outcome::Status::Aborted);
  ASSERT_EQ(shown.asker->told.size(), 1u);
  EXPECT_EQ(shown.asker->told[0].substr(0, cut.size() + 2), L"!" + cut + L"\n") << PathBytes(shown.asker->told[0]);
  const std::vector<std::string> lines = shown.LinesFrom(0);
  ASSERT_EQ(lines.size(), 4097u);  // the 4,096 findings of the block, the cut line
  EXPECT_EQ(lines[4095], "Linha 4096 Codigos de erro: (01.0)");
  EXPECT_EQ(FromCp1252(lines.back()), cut);

  PressEnterOn(shown, 4095);
  const RecordInspector* inspector = shown.window->Inspector();
  ASSERT_NE(inspector, nullptr);
  EXPECT_EQ(inspector->Line(), std::optional<std::uint64_t>(4095));
  EXPECT_FALSE(IsWindowEnabled(inspector->NextButton()));
  SendMessageW(shown.window->Report().Handle(), WM_KEYDOWN, VK_END, 0);
  EXPECT_EQ(shown.window->Report().Caret(), 4096u);
  SendMessageW(shown.window->Report().Handle(), WM_KEYDOWN, VK_RETURN, 0);  // the cut line is no finding
  EXPECT_EQ(inspector->Line(), std::optional<std::uint64_t>(4095));
}

// Dropped from an accented folder: the name reaches the core as the command
// line's arguments do, and the file opens.
TEST(WinWindow, DroppedFileIsValidated) {
  Shown shown;
  const std::wstring folder = WidePath(shown.directory) + L"\\Remessas de mar\u00e7o";
  const std::wstring path = folder + L"\\remessa_sad_ok.txt";
  ASSERT_TRUE(CreateDirectoryW(folder.c_str(), nullptr));
  ASSERT_TRUE(CopyFileW(WidePath(VERILOTE_SOURCE_DIR "/examples/sad/remessa_sad_ok.txt").c_str(), path.c_str(), TRUE));
  // The HDROP a file manager gives: DROPFILES, then the wide names, then an empty one.
  const std::size_t size = sizeof(DROPFILES) + (path.size() + 2) * sizeof(wchar_t);
  HGLOBAL drop = GlobalAlloc(GHND, size);
  auto* files = static_cast<DROPFILES*>(GlobalLock(drop));
  files->pFiles = sizeof(DROPFILES);
  files->fWide = TRUE;
  std::copy(path.begin(), path.end(), reinterpret_cast<wchar_t*>(files + 1));
  GlobalUnlock(drop);
  ASSERT_TRUE(shown.RunToEnd([&] {
    SendMessageW(shown.window->Handle(), WM_DROPFILES, reinterpret_cast<WPARAM>(drop), 0);
    return shown.window->IsRunning() || shown.window->Finished() > 0;
  }));
  const std::vector<std::string> lines = shown.LinesFrom(0);
  ASSERT_GE(lines.size(), 2u);
  EXPECT_TRUE(lines.front().starts_with("Layout detectado: SAD/SICOB lay-out antigo")) << lines.front();
  EXPECT_EQ(lines.back(), "Fim do arquivo. Lidos 5 registros.");
}

// The window itself stays hidden in the tests: Wine maps a shown one slowly.
bool Shows(HWND control) { return (GetWindowLongPtrW(control, GWL_STYLE) & WS_VISIBLE) != 0; }

std::atomic<int> gRecords{0};
// Asks where to start, then reads until stopped.
Verdict ReadsForever(Host& host) {
  for (int n = StrToInt(host.InputBox("Início"_cp, "Primeiro registro", "1"));; ++n) {
    host.Progress(static_cast<std::uint64_t>(n), 1000000);
    host.ReportAppend(Cat("Registro numero ", n));
    gRecords = n;
    host.Sleep(1);
  }
}

TEST(WinWindow, StopEndsTheRunAndSaysSo) {
  Shown shown;
  shown.asker->answers = {L"7"};
  ASSERT_TRUE(shown.window->StartCommand(ReadsForever));
  HWND stop = FindWindowExW(shown.window->Handle(), nullptr, L"BUTTON", L"Parar");
  ASSERT_TRUE(PumpUntil([&] { return Shows(stop) && gRecords > 50; }));
  // The bar says how far in words too: 7 and more of a million is 0%.
  EXPECT_EQ(shown.window->ProgressText(), L"0%");
  ASSERT_TRUE(shown.RunToEnd([&] { return SendMessageW(stop, BM_CLICK, 0, 0) == 0; }));
  const std::vector<std::string> lines = shown.LinesFrom(0);
  EXPECT_EQ(lines.at(1), "Registro numero 7");
  EXPECT_EQ(lines.back(), "Interrompido pelo usuário."_cp);
  EXPECT_EQ(shown.window->LastOutcome().status, Outcome::Status::Aborted);
  EXPECT_EQ(shown.asker->told, std::vector<std::wstring>{L"!Interrompido pelo usu\u00e1rio."});
  EXPECT_FALSE(Shows(stop));
}

TEST(WinWindow, ClosingWaitsForTheCommandToStop) {
  Shown shown;
  const std::wstring leftover = WidePath(shown.directory + "\\email.txt");
  CloseHandle(CreateFileW(leftover.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr));
  ASSERT_TRUE(shown.window->StartCommand(ReadsForever));
  shown.asker->confirm = false;  // "Não": the command goes on
  SendMessageW(shown.window->Handle(), WM_CLOSE, 0, 0);
  EXPECT_TRUE(shown.window->IsRunning());
  shown.asker->confirm = true;
  SendMessageW(shown.window->Handle(), WM_CLOSE, 0, 0);
  EXPECT_FALSE(shown.window->Closed());  // not before the command has stopped
  ASSERT_TRUE(PumpUntil([&] { return shown.window->Closed(); }));
  EXPECT_FALSE(shown.window->IsRunning());
  EXPECT_EQ(shown.asker->confirmations, 2);
  EXPECT_EQ(GetFileAttributesW(leftover.c_str()), INVALID_FILE_ATTRIBUTES);
}

Verdict WritesAccentedLines(Host& host) {
  host.ReportClear();
  host.ReportAppend("Linha 1");
  host.ReportAppend("Código do sacado inválido: ç € ›"_cp);
  host.ReportAppend("Linha 3");
  return Verdict::Clean;
}

// Ctrl+C on the report list, as the user presses it.
void PressCtrlC(Shown& shown) {
  BYTE keys[256] = {}, saved[256] = {};
  GetKeyboardState(saved);
  keys[VK_CONTROL] = 0x80;
  SetKeyboardState(keys);
  SendMessageW(shown.window->Report().Handle(), WM_KEYDOWN, 'C', 1);
  SetKeyboardState(saved);
}

// What another program pastes.
std::wstring Pasted() {
  if (!OpenClipboard(nullptr)) return L"<no clipboard>";
  HANDLE data = GetClipboardData(CF_UNICODETEXT);
  const auto* text = static_cast<const wchar_t*>(data != nullptr ? GlobalLock(data) : nullptr);
  const std::wstring pasted = text != nullptr ? text : L"<no text>";
  if (text != nullptr) GlobalUnlock(data);
  CloseClipboard();
  return pasted;
}

// The copy is rendered when pasted, CR LF between the lines, and survives
// the next run's clearing of the report; a selection over the bound is
// refused with the offer of a file, at the bound it is copied.
TEST(WinWindow, CtrlCCopiesTheSelectedLinesUpToTheBound) {
  const std::wstring two = L"Linha 1\r\nC\u00f3digo do sacado inv\u00e1lido: \u00e7 \u20ac \u203a";
  const struct {
    std::uint64_t bound;
    std::wstring pasted;
    int offers;
  } cases[] = {
      {kClipboardMostBytes, two, 0},
      {two.size(), two, 0},
      {two.size() - 1, L"<no text>", 1},
  };
  for (const auto& c : cases) {
    Shown shown;
    ASSERT_TRUE(shown.RunToEnd([&] { return shown.window->StartCommand(WritesAccentedLines); }));
    ASSERT_TRUE(OpenClipboard(nullptr));
    EmptyClipboard();
    CloseClipboard();
    shown.window->Report().SetClipboardBound(c.bound);
    shown.window->Report().Select(0, 1);
    shown.asker->confirm = false;
    PressCtrlC(shown);
    EXPECT_EQ(shown.asker->confirmations, c.offers) << c.bound;
    ASSERT_TRUE(shown.RunToEnd([&] { return shown.window->StartCommand(WritesAccentedLines); }));
    EXPECT_FALSE(shown.window->Report().Selection().has_value());  // the new report starts with none
    EXPECT_EQ(Pasted(), c.pasted) << c.bound;
  }
}

// "Salvar relatório como…": the report whole in the named file, which it
// replaces; the folder is offered again next time; a folder that is not
// there leaves nothing and says why, never "done".
TEST(WinWindow, SaveAsWritesTheReportAndRemembersTheFolder) {
  Shown shown;
  ASSERT_TRUE(shown.RunToEnd([&] { return shown.window->StartCommand(WritesAccentedLines); }));
  const auto rows = MenuRows();
  const auto row =
      std::find_if(rows.begin(), rows.end(), [](const MenuRow& r) { return r.handler == "SalvarRelatorioComo1Click"; });
  ASSERT_NE(row, rows.end());
  const auto saveAs = [&] {
    SendMessageW(shown.window->Handle(), WM_COMMAND, static_cast<WPARAM>(kFirstCommandId + (row - rows.begin())), 0);
  };
  const std::wstring folder = WidePath(shown.directory) + L"\\sa\u00edda";
  ASSERT_TRUE(CreateDirectoryW(folder.c_str(), nullptr));
  const std::wstring target = folder + L"\\relat\u00f3rio.txt";
  std::ofstream(std::filesystem::path(target), std::ios::binary) << "old";
  shown.asker->saveAs = target;
  saveAs();
  std::ifstream saved(std::filesystem::path(target), std::ios::binary);
  EXPECT_EQ(std::string(std::istreambuf_iterator<char>(saved), {}),
            "Linha 1\r\n" + std::string("Código do sacado inválido: ç € ›"_cp) + "\r\nLinha 3\r\n");
  EXPECT_EQ(shown.asker->told, std::vector<std::wstring>{L"Relat\u00f3rio salvo com sucesso !!\r" + target});
  // The report alone: no work file left beside it.
  EXPECT_EQ(std::distance(std::filesystem::directory_iterator(folder), {}), 1);

  shown.asker->saveAs = WidePath(shown.directory) + L"\\nenhuma\\r.txt";
  saveAs();
  EXPECT_EQ(shown.asker->saveFolder, folder);
  ASSERT_EQ(shown.asker->told.size(), 2u);
  EXPECT_EQ(shown.asker->told[1].substr(0, 1), L"!");
  EXPECT_EQ(GetFileAttributesW(shown.asker->saveAs->c_str()), INVALID_FILE_ATTRIBUTES);
}

}  // namespace
}  // namespace verilote::win
