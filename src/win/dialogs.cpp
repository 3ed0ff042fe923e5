// The system's side of every question: the input box, the list and the
// yes/no question are dialog templates built in memory (no resource script),
// the rest are the common dialogs.
#include <windows.h>
// After windows.h:
#include <commdlg.h>

#include <algorithm>
#include <cstring>
#include <cwchar>

#include "win/asker.hpp"
#include "win/win_text.hpp"

namespace verilote::win {

namespace {

constexpr WORD kPromptId = 100, kFieldId = 101;

// While a question is open, every window it opens over `owner` (the dialog,
// the message box, the common dialogs' frames) comes up centred on the owner
// and with the owner's icon, the program's: Wine puts the common dialogs at
// the screen's top-left corner, and a message box carries the system's icon.
// A CBT hook of this thread sees each one as it is first activated.
class Placement {
 public:
  explicit Placement(HWND owner) : saved_(current_) {
    current_ = {owner, IconOf(owner), SetWindowsHookExW(WH_CBT, &Placement::Hook, nullptr, GetCurrentThreadId()),
                nullptr};
  }
  ~Placement() {
    if (current_.hook != nullptr) UnhookWindowsHookEx(current_.hook);
    current_ = saved_;
  }
  Placement(const Placement&) = delete;
  Placement& operator=(const Placement&) = delete;

 private:
  struct State {
    HWND owner;
    HICON icon;
    HHOOK hook;
    HWND placed;
  };
  static LRESULT CALLBACK Hook(int code, WPARAM wParam, LPARAM lParam) {
    const auto window = reinterpret_cast<HWND>(wParam);
    if (code == HCBT_ACTIVATE && window != current_.placed && window != current_.owner &&
        GetWindow(window, GW_OWNER) == current_.owner) {
      current_.placed = window;
      Centre(window, current_.owner);
      if (current_.icon != nullptr) {
        SendMessageW(window, WM_SETICON, ICON_SMALL, reinterpret_cast<LPARAM>(current_.icon));
        SendMessageW(window, WM_SETICON, ICON_BIG, reinterpret_cast<LPARAM>(current_.icon));
      }
    }
    return CallNextHookEx(current_.hook, code, wParam, lParam);
  }
  // The program's icon, as its window carries it.
  static HICON IconOf(HWND owner) {
    HWND root = owner != nullptr ? GetAncestor(owner, GA_ROOT) : nullptr;
    if (root == nullptr) return nullptr;
    if (auto icon = reinterpret_cast<HICON>(SendMessageW(root, WM_GETICON, ICON_BIG, 0))) return icon;
    return reinterpret_cast<HICON>(GetClassLongPtrW(root, GCLP_HICON));
  }
  static void Centre(HWND window, HWND owner) {
    RECT box{}, over{};
    if (!GetWindowRect(window, &box) || !GetWindowRect(owner, &over)) return;
    MONITORINFO monitor{};
    monitor.cbSize = sizeof monitor;
    GetMonitorInfoW(MonitorFromWindow(owner, MONITOR_DEFAULTTONEAREST), &monitor);
    const RECT& work = monitor.rcWork;
    const int width = box.right - box.left, height = box.bottom - box.top;
    const int x =
        std::clamp<int>((over.left + over.right - width) / 2, work.left, std::max<int>(work.left, work.right - width));
    const int y =
        std::clamp<int>((over.top + over.bottom - height) / 2, work.top, std::max<int>(work.top, work.bottom - height));
    SetWindowPos(window, nullptr, x, y, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
  }
  static thread_local State current_;
  State saved_;
};

thread_local Placement::State Placement::current_ = {nullptr, nullptr, nullptr, nullptr};

// A dialog template in memory: DLGTEMPLATE, then its items, each aligned to
// a DWORD as DialogBoxIndirectParamW wants them. Sizes in dialog units, which
// the system scales with the dialog font and the screen's DPI.
class Template {
 public:
  Template(const std::wstring& caption, short width, short height) {
    Add(DLGTEMPLATE{DS_SETFONT | DS_MODALFRAME | DS_CENTER | WS_POPUP | WS_CAPTION | WS_SYSMENU, 0, 0, 0, 0, width,
                    height});
    Word(0);  // no menu
    Word(0);  // the standard class
    Text(caption);
    Word(8);  // point size
    Text(L"MS Shell Dlg");
  }

  void Item(DWORD style, short x, short y, short cx, short cy, WORD id, WORD atom, const std::wstring& text) {
    Align();
    Add(DLGITEMTEMPLATE{style | WS_CHILD | WS_VISIBLE, 0, x, y, cx, cy, id});
    Word(0xFFFF);
    Word(atom);  // 0x0080 button, 0x0081 edit, 0x0082 static, 0x0083 list box
    Text(text);
    Word(0);  // no creation data
    ++reinterpret_cast<DLGTEMPLATE*>(bytes_.data())->cdit;
  }

  const DLGTEMPLATE* Get() const { return reinterpret_cast<const DLGTEMPLATE*>(bytes_.data()); }

 private:
  template <typename T>
  void Add(const T& value) {
    const std::size_t at = bytes_.size();
    bytes_.resize(at + sizeof(T) / sizeof(WORD));
    std::memcpy(bytes_.data() + at, &value, sizeof(T));
  }
  void Word(WORD w) { bytes_.push_back(w); }
  void Text(const std::wstring& text) {
    for (const wchar_t c : text) Word(static_cast<WORD>(c));
    Word(0);
  }
  void Align() {
    if (bytes_.size() % 2 != 0) Word(0);
  }
  std::vector<WORD> bytes_;  // WORDs from a DWORD-aligned start
};

struct Question {
  std::wstring prompt;
  std::wstring text;                // the edit's text, in and out
  std::vector<std::wstring> items;  // the list's, when it has one
  int chosen = -1;
};

INT_PTR CALLBACK QuestionProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam) {
  auto* q = reinterpret_cast<Question*>(GetWindowLongPtrW(dialog, DWLP_USER));
  switch (message) {
    case WM_INITDIALOG: {
      q = reinterpret_cast<Question*>(lParam);
      SetWindowLongPtrW(dialog, DWLP_USER, lParam);
      SetDlgItemTextW(dialog, kPromptId, q->prompt.c_str());
      if (q->items.empty()) {
        SetDlgItemTextW(dialog, kFieldId, q->text.c_str());
        SendDlgItemMessageW(dialog, kFieldId, EM_SETSEL, 0, -1);
      } else {
        for (const std::wstring& item : q->items)
          SendDlgItemMessageW(dialog, kFieldId, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(item.c_str()));
        SendDlgItemMessageW(dialog, kFieldId, LB_SETCURSEL, 0, 0);
      }
      SetFocus(GetDlgItem(dialog, kFieldId));
      return FALSE;  // the focus is set
    }
    case WM_COMMAND: {
      const WORD id = LOWORD(wParam);
      const bool picked = id == kFieldId && HIWORD(wParam) == LBN_DBLCLK;
      if (id == IDOK || picked) {
        if (q->items.empty()) {
          const int length = GetWindowTextLengthW(GetDlgItem(dialog, kFieldId));
          std::wstring text(static_cast<std::size_t>(length) + 1, L'\0');
          GetDlgItemTextW(dialog, kFieldId, text.data(), length + 1);
          text.resize(static_cast<std::size_t>(length));
          q->text = std::move(text);
        } else {
          q->chosen = static_cast<int>(SendDlgItemMessageW(dialog, kFieldId, LB_GETCURSEL, 0, 0));
        }
        EndDialog(dialog, IDOK);
        return TRUE;
      }
      if (id == IDCANCEL || id == IDYES || id == IDNO) {
        EndDialog(dialog, id);
        return TRUE;
      }
      return FALSE;
    }
    default:
      return FALSE;
  }
}

// Wide enough for a typeable line of 48 digits with its blanks and dots (60
// characters of 4 units), and for the whole caption.
short WidthFor(const std::wstring& caption) {
  const std::size_t title = caption.size() * 4 + 60;
  return static_cast<short>(std::max<std::size_t>(260, std::min<std::size_t>(title, 600)));
}

class DialogAsker final : public Asker {
 public:
  DialogAsker(HINSTANCE instance, std::wstring programName)
      : instance_(instance), programName_(std::move(programName)) {}

  std::wstring AskText(HWND owner, const std::wstring& caption, const std::wstring& prompt,
                       const std::wstring& defaultText) override {
    const short w = WidthFor(caption);
    Template t(caption, static_cast<short>(w + 14), 62);
    t.Item(SS_LEFT | SS_NOPREFIX, 7, 7, w, 10, kPromptId, 0x0082, L"");
    t.Item(ES_AUTOHSCROLL | WS_BORDER | WS_TABSTOP, 7, 20, w, 13, kFieldId, 0x0081, L"");
    t.Item(BS_DEFPUSHBUTTON | WS_TABSTOP, static_cast<short>(w - 101), 41, 50, 14, IDOK, 0x0080, L"OK");
    t.Item(BS_PUSHBUTTON | WS_TABSTOP, static_cast<short>(w - 43), 41, 50, 14, IDCANCEL, 0x0080, L"Cancelar");
    Question q{prompt, defaultText, {}, -1};
    const Placement placed(owner);
    const INT_PTR result =
        DialogBoxIndirectParamW(instance_, t.Get(), owner, QuestionProc, reinterpret_cast<LPARAM>(&q));
    return result == IDOK ? q.text : defaultText;
  }

  std::optional<std::wstring> AskFile(HWND owner, const std::wstring& title, FileFilter filter,
                                      const std::wstring& folder) override {
    static const wchar_t kFilter[] = L"Remessa\0*.REM\0Retorno\0*.RET\0Texto\0*.TXT\0Todos\0*.*\0";
    std::wstring path(32768, L'\0');
    OPENFILENAMEW ofn{};
    ofn.lStructSize = sizeof ofn;
    ofn.hwndOwner = owner;
    ofn.lpstrFilter = kFilter;
    ofn.nFilterIndex = static_cast<DWORD>(filter);
    ofn.lpstrFile = path.data();
    ofn.nMaxFile = static_cast<DWORD>(path.size());
    ofn.lpstrInitialDir = folder.empty() ? nullptr : folder.c_str();
    ofn.lpstrTitle = title.c_str();
    ofn.Flags = OFN_EXPLORER | OFN_FILEMUSTEXIST | OFN_PATHMUSTEXIST | OFN_HIDEREADONLY | OFN_NOCHANGEDIR;
    const Placement placed(owner);
    if (!GetOpenFileNameW(&ofn)) return std::nullopt;
    path.resize(wcslen(path.c_str()));
    return path;
  }
  std::optional<std::wstring> AskSaveFile(HWND owner, const std::wstring& title, const std::wstring& folder,
                                          const std::wstring& name) override {
    static const wchar_t kFilter[] = L"Texto\0*.TXT\0Todos\0*.*\0";
    std::wstring path(32768, L'\0');
    std::copy_n(name.c_str(), std::min<std::size_t>(name.size(), path.size() - 1), path.data());
    OPENFILENAMEW ofn{};
    ofn.lStructSize = sizeof ofn;
    ofn.hwndOwner = owner;
    ofn.lpstrFilter = kFilter;
    ofn.nFilterIndex = 1;
    ofn.lpstrFile = path.data();
    ofn.nMaxFile = static_cast<DWORD>(path.size());
    ofn.lpstrInitialDir = folder.empty() ? nullptr : folder.c_str();
    ofn.lpstrTitle = title.c_str();
    ofn.lpstrDefExt = L"txt";
    ofn.Flags = OFN_EXPLORER | OFN_OVERWRITEPROMPT | OFN_PATHMUSTEXIST | OFN_HIDEREADONLY | OFN_NOCHANGEDIR;
    const Placement placed(owner);
    if (!GetSaveFileNameW(&ofn)) return std::nullopt;
    path.resize(wcslen(path.c_str()));
    return path;
  }

  std::optional<int> AskItem(HWND owner, const std::wstring& caption, const std::wstring& prompt,
                             const std::vector<std::wstring>& items) override {
    const short w = WidthFor(caption);
    Template t(caption, static_cast<short>(w + 14), 150);
    t.Item(SS_LEFT | SS_NOPREFIX, 7, 7, w, 10, kPromptId, 0x0082, L"");
    t.Item(LBS_NOTIFY | WS_VSCROLL | WS_BORDER | WS_TABSTOP, 7, 20, w, 104, kFieldId, 0x0083, L"");
    t.Item(BS_DEFPUSHBUTTON | WS_TABSTOP, static_cast<short>(w - 101), 129, 50, 14, IDOK, 0x0080, L"OK");
    t.Item(BS_PUSHBUTTON | WS_TABSTOP, static_cast<short>(w - 43), 129, 50, 14, IDCANCEL, 0x0080, L"Cancelar");
    Question q{prompt, {}, items, -1};
    const Placement placed(owner);
    const INT_PTR result =
        DialogBoxIndirectParamW(instance_, t.Get(), owner, QuestionProc, reinterpret_cast<LPARAM>(&q));
    if (result != IDOK || q.chosen < 0) return std::nullopt;
    return q.chosen;
  }

  void Tell(HWND owner, const std::wstring& text, bool error) override {
    const Placement placed(owner);
    MessageBoxW(owner, MessageText(text).c_str(), programName_.c_str(), MB_OK | (error ? MB_ICONERROR : 0));
  }

  bool Confirm(HWND owner, const std::wstring& text) override {
    // Built here rather than by MessageBoxW, whose buttons speak the system's language.
    Template t(programName_, 260, 66);
    t.Item(SS_LEFT | SS_NOPREFIX, 7, 7, 246, 30, kPromptId, 0x0082, L"");
    t.Item(BS_PUSHBUTTON | WS_TABSTOP, 146, 45, 50, 14, IDYES, 0x0080, L"Sim");
    t.Item(BS_DEFPUSHBUTTON | WS_TABSTOP, 203, 45, 50, 14, IDNO, 0x0080, L"N\u00e3o");
    Question q{MessageText(text), {}, {}, -1};
    const Placement placed(owner);
    return DialogBoxIndirectParamW(instance_, t.Get(), owner, ConfirmProc, reinterpret_cast<LPARAM>(&q)) == IDYES;
  }

  std::optional<COLORREF> AskColor(HWND owner, COLORREF initial) override {
    static COLORREF custom[16] = {};
    CHOOSECOLORW cc{};
    cc.lStructSize = sizeof cc;
    cc.hwndOwner = owner;
    cc.rgbResult = initial;
    cc.lpCustColors = custom;
    cc.Flags = CC_RGBINIT | CC_FULLOPEN;
    const Placement placed(owner);
    if (!ChooseColorW(&cc)) return std::nullopt;
    return cc.rgbResult;
  }

 private:
  static INT_PTR CALLBACK ConfirmProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_INITDIALOG) {
      SetDlgItemTextW(dialog, kPromptId, reinterpret_cast<Question*>(lParam)->prompt.c_str());
      SetFocus(GetDlgItem(dialog, IDNO));
      return FALSE;
    }
    if (message == WM_COMMAND && (LOWORD(wParam) == IDYES || LOWORD(wParam) == IDNO || LOWORD(wParam) == IDCANCEL)) {
      EndDialog(dialog, LOWORD(wParam) == IDYES ? IDYES : IDNO);
      return TRUE;
    }
    return FALSE;
  }

  HINSTANCE instance_;
  std::wstring programName_;
};

}  // namespace

std::unique_ptr<Asker> MakeDialogAsker(HINSTANCE instance, std::wstring programName) {
  return std::make_unique<DialogAsker>(instance, std::move(programName));
}

}  // namespace verilote::win
