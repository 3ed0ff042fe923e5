#include "win/record_inspector.hpp"

#include <algorithm>
#include <cwchar>
#include <stdexcept>
#include <string>

#include "app/cp1252.hpp"
#include "desk/report_store.hpp"
#include "win/report_list.hpp"
#include "win/resource.h"
#include "win/win_text.hpp"

namespace verilote::win {

namespace {

constexpr int kHeadingId = 101, kLineId = 102, kMessageId = 103, kFieldsId = 104, kRawId = 105, kPreviousId = 106,
              kNextId = 107;
constexpr wchar_t kClassName[] = L"VeriloteRecordInspector";
constexpr wchar_t kRawClassName[] = L"VeriloteRecordView";
constexpr COLORREF kFailing = RGB(255, 205, 205);  // the named fields, in the list and the record
constexpr COLORREF kChosen = RGB(190, 215, 255);   // the field chosen in the list, in the record
constexpr COLORREF kNavy = RGB(0, 0, 128), kRed = RGB(192, 0, 0);
constexpr int kColumnWidths[] = {70, 80, 260, 200, 250};  // at 96 DPI
// Fitted to their texts, the columns keep at least this much, so that
// "Esperado" comes into view whole where the window is wide enough.
constexpr int kLeastWidths[] = {50, 60, 100, 80, 100};

HINSTANCE InstanceOf(HWND window) { return reinterpret_cast<HINSTANCE>(GetWindowLongPtrW(window, GWLP_HINSTANCE)); }

HWND Child(HWND parent, DWORD exStyle, const wchar_t* cls, const wchar_t* text, DWORD style, int id,
           void* param = nullptr) {
  return CreateWindowExW(exStyle, cls, text, WS_CHILD | WS_VISIBLE | style, 0, 0, 10, 10, parent,
                         reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)), InstanceOf(parent), param);
}

void Register(HINSTANCE instance, const wchar_t* name, WNDPROC proc, int background) {
  WNDCLASSEXW cls{};
  cls.cbSize = sizeof cls;
  cls.lpfnWndProc = proc;
  cls.hInstance = instance;
  cls.hIcon = LoadIconW(instance, MAKEINTRESOURCEW(IDI_VERILOTE));  // none in a test program
  cls.hIconSm = cls.hIcon;
  cls.hCursor = LoadCursorW(nullptr, IDC_ARROW);
  cls.hbrBackground = reinterpret_cast<HBRUSH>(static_cast<INT_PTR>(background + 1));
  cls.lpszClassName = name;
  if (RegisterClassExW(&cls) == 0 && GetLastError() != ERROR_CLASS_ALREADY_EXISTS)
    throw std::runtime_error("cannot register the inspector's window class");
}

}  // namespace

RecordInspector::RecordInspector(HWND owner, const ReportStore& store, const FindingIndex& findings, ReportList& report,
                                 std::shared_ptr<SharedLocator> locator)
    : store_(store), findings_(findings), report_(report), locator_(std::move(locator)) {
  const HINSTANCE instance = InstanceOf(owner);
  Register(instance, kClassName, &RecordInspector::Proc, COLOR_BTNFACE);
  Register(instance, kRawClassName, &RecordInspector::RawProc, COLOR_WINDOW);
  if (HDC screen = GetDC(nullptr)) {
    dpi_ = std::max(96, GetDeviceCaps(screen, LOGPIXELSY));
    ReleaseDC(nullptr, screen);
  }
  CreateWindowExW(WS_EX_CONTROLPARENT, kClassName, L"", WS_OVERLAPPEDWINDOW | WS_CLIPCHILDREN, CW_USEDEFAULT,
                  CW_USEDEFAULT, Scale(960), Scale(600), owner, nullptr, instance, this);
  if (window_ == nullptr) throw std::runtime_error("cannot create the inspector's window");
  PlaceOver(owner);

  NONCLIENTMETRICSW metrics{};
  metrics.cbSize = sizeof metrics;
  SystemParametersInfoW(SPI_GETNONCLIENTMETRICS, sizeof metrics, &metrics, 0);
  uiFont_ = CreateFontIndirectW(&metrics.lfMessageFont);
  metrics.lfMessageFont.lfWeight = FW_BOLD;
  boldFont_ = CreateFontIndirectW(&metrics.lfMessageFont);
  fixedFont_ = CreateFontW(-Scale(13), 0, 0, 0, FW_NORMAL, FALSE, FALSE, FALSE, DEFAULT_CHARSET, OUT_DEFAULT_PRECIS,
                           CLIP_DEFAULT_PRECIS, CLEARTYPE_QUALITY, FIXED_PITCH | FF_MODERN, L"Courier New");
  if (HDC dc = GetDC(window_)) {
    const HGDIOBJ old = SelectObject(dc, fixedFont_);
    TEXTMETRICW text{};
    GetTextMetricsW(dc, &text);
    charWidth_ = std::max<int>(1, text.tmAveCharWidth);
    lineHeight_ = std::max<int>(1, text.tmHeight);
    SelectObject(dc, old);
    ReleaseDC(window_, dc);
  }

  heading_ = Child(window_, 0, L"STATIC", L"", SS_NOPREFIX | SS_LEFTNOWORDWRAP, kHeadingId);
  findingLine_ = Child(window_, 0, L"EDIT", L"", ES_READONLY | ES_AUTOHSCROLL | WS_TABSTOP, kLineId);
  message_ = Child(window_, 0, L"STATIC", L"", SS_NOPREFIX, kMessageId);
  fields_ = Child(window_, WS_EX_CLIENTEDGE, WC_LISTVIEWW, L"",
                  LVS_REPORT | LVS_SINGLESEL | LVS_SHOWSELALWAYS | WS_TABSTOP, kFieldsId);
  ListView_SetExtendedListViewStyle(fields_, LVS_EX_FULLROWSELECT | LVS_EX_DOUBLEBUFFER);
  const std::wstring headers[] = {L"Campo", FromCp1252("Posições"_cp), L"Nome", L"Encontrado", L"Esperado"};
  for (int column = 0; column < 5; ++column) {
    LVCOLUMNW header{};
    header.mask = LVCF_TEXT | LVCF_WIDTH;
    header.cx = Scale(kColumnWidths[column]);
    header.pszText = const_cast<wchar_t*>(headers[column].c_str());
    ListView_InsertColumn(fields_, column, &header);
  }
  raw_ = Child(window_, WS_EX_CLIENTEDGE, kRawClassName, L"", WS_HSCROLL, kRawId, this);
  previous_ = Child(window_, 0, L"BUTTON", L"&Anterior", BS_PUSHBUTTON | WS_TABSTOP, kPreviousId);
  next_ = Child(window_, 0, L"BUTTON", FromCp1252("&Próximo"_cp).c_str(), BS_PUSHBUTTON | WS_TABSTOP, kNextId);
  close_ = Child(window_, 0, L"BUTTON", L"&Fechar", BS_PUSHBUTTON | WS_TABSTOP, IDCANCEL);
  for (HWND control : {findingLine_, message_, fields_, previous_, next_, close_})
    SendMessageW(control, WM_SETFONT, reinterpret_cast<WPARAM>(uiFont_), FALSE);
  SendMessageW(heading_, WM_SETFONT, reinterpret_cast<WPARAM>(boldFont_), FALSE);
  SendMessageW(findingLine_, WM_SETFONT, reinterpret_cast<WPARAM>(fixedFont_), FALSE);
  Layout();
}

RecordInspector::~RecordInspector() {
  if (window_ != nullptr) DestroyWindow(window_);
  for (HFONT font : {uiFont_, boldFont_, fixedFont_})
    if (font != nullptr) DeleteObject(font);
}

int RecordInspector::Scale(int pixels) const { return MulDiv(pixels, dpi_, 96); }

// Over the main window, as near its centre as the screen allows; not where
// the system puts a new window (the screen's top-left corner under Wine).
void RecordInspector::PlaceOver(HWND owner) {
  RECT box{}, over{};
  if (!GetWindowRect(window_, &box) || !GetWindowRect(owner, &over)) return;
  MONITORINFO monitor{};
  monitor.cbSize = sizeof monitor;
  GetMonitorInfoW(MonitorFromWindow(owner, MONITOR_DEFAULTTONEAREST), &monitor);
  const RECT& work = monitor.rcWork;
  const int width = std::min<int>(box.right - box.left, work.right - work.left);
  const int height = std::min<int>(box.bottom - box.top, work.bottom - work.top);
  const int x = std::clamp<int>((over.left + over.right - width) / 2, work.left, work.right - width);
  const int y = std::clamp<int>((over.top + over.bottom - height) / 2, work.top, work.bottom - height);
  SetWindowPos(window_, nullptr, x, y, width, height, SWP_NOZORDER | SWP_NOACTIVATE);
}

bool RecordInspector::ShowLine(std::uint64_t line) {
  const std::optional<FindingIndex::Entry> entry = findings_.Of(store_.Generation(), line);
  if (!entry) return false;
  Show(*entry);
  return true;
}

bool RecordInspector::Previous() {
  if (!line_) return false;
  const std::optional<std::uint64_t> line = findings_.PreviousLine(store_.Generation(), *line_);
  return line && ShowLine(*line);
}

bool RecordInspector::Next() {
  if (!line_) return false;
  const std::optional<std::uint64_t> line = findings_.NextLine(store_.Generation(), *line_);
  return line && ShowLine(*line);
}

void RecordInspector::UpdateButtons() {
  const std::uint64_t generation = store_.Generation();
  const HWND focus = GetFocus();
  EnableWindow(previous_, line_ && findings_.PreviousLine(generation, *line_).has_value());
  EnableWindow(next_, line_ && findings_.NextLine(generation, *line_).has_value());
  // A button that has just gone grey leaves the keyboard to the list.
  if ((focus == previous_ || focus == next_) && !IsWindowEnabled(focus)) SetFocus(fields_);
}

void RecordInspector::Show(const FindingIndex::Entry& entry) {
  line_ = entry.line;
  {
    // While the primer marks the file, this waits for its step and goes on
    // from its last mark.
    const std::lock_guard lock(locator_->mutex);
    shown_ = Inspect(entry, store_.Read(entry.line, 0, RecordInspection::kShownBytes), locator_->locator);
  }
  std::wstring title = FromCp1252(shown_.heading);
  if (!shown_.fileName.empty()) title += L" - " + WidePath(shown_.fileName);
  SetWindowTextW(window_, title.c_str());
  SetWindowTextW(heading_, title.c_str());
  SetWindowTextW(findingLine_, FromCp1252(shown_.findingLine).c_str());
  const std::string_view message = shown_.message;
  std::wstring said = FromCp1252(message);
  if (shown_.fileAt != std::string::npos)
    said =
        FromCp1252(message.substr(0, shown_.fileAt)) + WidePath(entry.file) + FromCp1252(message.substr(shown_.fileAt));
  SetWindowTextW(message_, said.c_str());
  ShowWindow(message_, shown_.Shown() ? SW_HIDE : SW_SHOWNA);

  SendMessageW(fields_, WM_SETREDRAW, FALSE, 0);
  ListView_DeleteAllItems(fields_);
  chosen_ = -1;
  for (std::size_t i = 0; i < shown_.rows.size(); ++i) {
    const InspectionRow& row = shown_.rows[i];
    // The bytes found without their trailing blanks, which show as nothing
    // anyway: a long blank field would make the column as wide as the record
    // and push "Esperado" out of sight (the raw record below keeps them).
    const std::string_view found(row.found);
    std::wstring cells[] = {FromCp1252(row.code), FromCp1252(row.positions), FromCp1252(row.name),
                            FromCp1252(found.substr(0, found.find_last_not_of(' ') + 1)), FromCp1252(row.expected)};
    LVITEMW item{};
    item.mask = LVIF_TEXT;
    item.iItem = static_cast<int>(i);
    item.pszText = cells[0].data();
    const int at = ListView_InsertItem(fields_, &item);
    for (int column = 1; column < 5; ++column) ListView_SetItemText(fields_, at, column, cells[column].data());
  }
  // Every column as wide as its longest text (never narrower than
  // kLeastWidths): "Esperado" is read whole, with the list's scroll bar where
  // the window is narrow, never cut with an ellipsis.
  // The named rows are drawn in bold, which the list's own measure ignores.
  int boldWidths[5] = {};
  if (HDC dc = GetDC(fields_)) {
    const HGDIOBJ old = SelectObject(dc, boldFont_);
    for (int row = 0; row < static_cast<int>(shown_.rows.size()); ++row) {
      if (!shown_.rows[static_cast<std::size_t>(row)].named) continue;
      for (int column = 0; column < 5; ++column) {
        wchar_t text[1024] = {};
        ListView_GetItemText(fields_, row, column, text, 1024);
        SIZE size{};
        GetTextExtentPoint32W(dc, text, static_cast<int>(wcslen(text)), &size);
        boldWidths[column] = std::max<int>(boldWidths[column], size.cx + Scale(14));
      }
    }
    SelectObject(dc, old);
    ReleaseDC(fields_, dc);
  }
  for (int column = 0; column < 5; ++column) {
    ListView_SetColumnWidth(fields_, column, LVSCW_AUTOSIZE);
    const int least = std::max(Scale(kLeastWidths[column]), boldWidths[column]);
    if (ListView_GetColumnWidth(fields_, column) < least) ListView_SetColumnWidth(fields_, column, least);
  }
  SendMessageW(fields_, WM_SETREDRAW, TRUE, 0);
  if (shown_.firstNamed >= 0) ListView_EnsureVisible(fields_, shown_.firstNamed, FALSE);
  InvalidateRect(fields_, nullptr, TRUE);

  // The first named field comes into view in the raw record, with some of
  // what comes before it.
  rawFirst_ = 0;
  if (!shown_.marks.empty()) rawFirst_ = static_cast<int>(shown_.marks.front().first) - 1;
  Layout();
  SizeRawScroll();
  ScrollRaw(rawFirst_ - 10);
  InvalidateRect(raw_, nullptr, TRUE);
  UpdateButtons();
  report_.Reveal(entry.line);
}

void RecordInspector::Layout() {
  RECT client{};
  GetClientRect(window_, &client);
  const int margin = Scale(8), gap = Scale(6), row = Scale(22), button = Scale(26), buttonWidth = Scale(96);
  const int width = std::max(0, static_cast<int>(client.right) - 2 * margin);
  int top = margin;
  MoveWindow(heading_, margin, top, width, row, TRUE);
  top += row;
  MoveWindow(findingLine_, margin, top, width, row, TRUE);
  top += row + gap;
  if ((GetWindowLongPtrW(message_, GWL_STYLE) & WS_VISIBLE) != 0) {
    MoveWindow(message_, margin, top, width, 2 * row, TRUE);
    top += 2 * row + gap;
  }
  const int buttonsTop = client.bottom - margin - button;
  MoveWindow(previous_, margin, buttonsTop, buttonWidth, button, TRUE);
  MoveWindow(next_, margin + buttonWidth + gap, buttonsTop, buttonWidth, button, TRUE);
  MoveWindow(close_, client.right - margin - buttonWidth, buttonsTop, buttonWidth, button, TRUE);
  // Ruler, record and a scroll bar.
  const int raw = 3 * lineHeight_ + GetSystemMetrics(SM_CYHSCROLL) + Scale(12);
  const int rawTop = buttonsTop - gap - raw;
  MoveWindow(raw_, margin, rawTop, width, raw, TRUE);
  MoveWindow(fields_, margin, top, width, std::max(0, rawTop - gap - top), TRUE);
  SizeRawScroll();
}

// --- the raw record ---------------------------------------------------------

void RecordInspector::SizeRawScroll() {
  RECT client{};
  GetClientRect(raw_, &client);
  SCROLLINFO info{};
  info.cbSize = sizeof info;
  info.fMask = SIF_RANGE | SIF_PAGE | SIF_POS;
  info.nMin = 0;
  info.nMax = std::max(0, static_cast<int>(shown_.record.size()) + 1);  // a blank cell each side
  info.nPage = static_cast<UINT>(std::max(1, static_cast<int>(client.right) / charWidth_));
  info.nPos = rawFirst_;
  SetScrollInfo(raw_, SB_HORZ, &info, TRUE);
  ScrollRaw(rawFirst_);
}

void RecordInspector::ScrollRaw(int to) {
  SCROLLINFO info{};
  info.cbSize = sizeof info;
  info.fMask = SIF_RANGE | SIF_PAGE;
  GetScrollInfo(raw_, SB_HORZ, &info);
  const int last = std::max(0, info.nMax - static_cast<int>(info.nPage) + 1);
  to = std::clamp(to, 0, last);
  if (to == rawFirst_ && GetScrollPos(raw_, SB_HORZ) == to) return;
  rawFirst_ = to;
  SetScrollPos(raw_, SB_HORZ, to, TRUE);
  InvalidateRect(raw_, nullptr, TRUE);
}

void RecordInspector::PaintRaw() {
  PAINTSTRUCT paint;
  HDC dc = BeginPaint(raw_, &paint);
  RECT client{};
  GetClientRect(raw_, &client);
  FillRect(dc, &client, GetSysColorBrush(COLOR_WINDOW));
  if (shown_.Shown()) {
    const HGDIOBJ old = SelectObject(dc, fixedFont_);
    const int x = charWidth_ * (1 - rawFirst_), y = Scale(4);
    SetBkMode(dc, OPAQUE);
    // One run of text, from position `from` (1-based) on, in a colour.
    const auto draw = [&](const std::string& text, int top, std::size_t from, std::size_t to, COLORREF back,
                          COLORREF fore) {
      if (from < 1 || to < from || from > text.size()) return;
      to = std::min(to, text.size());
      const std::wstring run = FromCp1252(std::string_view(text).substr(from - 1, to - from + 1));
      SetBkColor(dc, back);
      SetTextColor(dc, fore);
      TextOutW(dc, x + static_cast<int>(from - 1) * charWidth_, top, run.c_str(), static_cast<int>(run.size()));
    };
    const COLORREF grey = GetSysColor(COLOR_GRAYTEXT), ink = GetSysColor(COLOR_WINDOWTEXT);
    const COLORREF paper = GetSysColor(COLOR_WINDOW);
    draw(shown_.rulerTens, y, 1, SIZE_MAX, paper, grey);
    draw(shown_.rulerUnits, y + lineHeight_, 1, SIZE_MAX, paper, grey);
    const int recordTop = y + 2 * lineHeight_;
    draw(shown_.record, recordTop, 1, SIZE_MAX, paper, ink);
    for (const auto& [from, to] : shown_.marks) {
      draw(shown_.rulerUnits, y + lineHeight_, from, to, kFailing, grey);
      draw(shown_.record, recordTop, from, to, kFailing, ink);
    }
    if (chosen_ >= 0 && static_cast<std::size_t>(chosen_) < shown_.rows.size()) {
      const InspectionRow& row = shown_.rows[static_cast<std::size_t>(chosen_)];
      draw(shown_.record, recordTop, row.from, row.to, kChosen, ink);
    }
    SelectObject(dc, old);
  }
  EndPaint(raw_, &paint);
}

LRESULT CALLBACK RecordInspector::RawProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_NCCREATE)
    SetWindowLongPtrW(window, GWLP_USERDATA,
                      reinterpret_cast<LONG_PTR>(reinterpret_cast<CREATESTRUCTW*>(lParam)->lpCreateParams));
  auto* self = reinterpret_cast<RecordInspector*>(GetWindowLongPtrW(window, GWLP_USERDATA));
  if (self == nullptr || self->raw_ != window) return DefWindowProcW(window, message, wParam, lParam);
  switch (message) {
    case WM_PAINT:
      self->PaintRaw();
      return 0;
    case WM_HSCROLL: {
      SCROLLINFO info{};
      info.cbSize = sizeof info;
      info.fMask = SIF_ALL;
      GetScrollInfo(window, SB_HORZ, &info);
      const int page = static_cast<int>(info.nPage);
      switch (LOWORD(wParam)) {
        case SB_LINELEFT:
          self->ScrollRaw(self->rawFirst_ - 1);
          break;
        case SB_LINERIGHT:
          self->ScrollRaw(self->rawFirst_ + 1);
          break;
        case SB_PAGELEFT:
          self->ScrollRaw(self->rawFirst_ - page);
          break;
        case SB_PAGERIGHT:
          self->ScrollRaw(self->rawFirst_ + page);
          break;
        case SB_LEFT:
          self->ScrollRaw(0);
          break;
        case SB_RIGHT:
          self->ScrollRaw(info.nMax);
          break;
        case SB_THUMBTRACK:
        case SB_THUMBPOSITION:
          self->ScrollRaw(info.nTrackPos);
          break;
        default:
          break;
      }
      return 0;
    }
    case WM_SIZE:
      self->SizeRawScroll();
      return 0;
    default:
      return DefWindowProcW(window, message, wParam, lParam);
  }
}

// --- the window -------------------------------------------------------------

LRESULT CALLBACK RecordInspector::Proc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  auto* self = reinterpret_cast<RecordInspector*>(GetWindowLongPtrW(window, GWLP_USERDATA));
  if (message == WM_NCCREATE) {
    self = static_cast<RecordInspector*>(reinterpret_cast<CREATESTRUCTW*>(lParam)->lpCreateParams);
    self->window_ = window;
    SetWindowLongPtrW(window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(self));
  }
  if (self == nullptr) return DefWindowProcW(window, message, wParam, lParam);
  if (message == WM_NCDESTROY) {  // with its owner, the main window
    SetWindowLongPtrW(window, GWLP_USERDATA, 0);
    self->window_ = nullptr;
    return DefWindowProcW(window, message, wParam, lParam);
  }
  return self->Handle(message, wParam, lParam);
}

LRESULT RecordInspector::DrawRow(NMLVCUSTOMDRAW& draw) const {
  switch (draw.nmcd.dwDrawStage) {
    case CDDS_PREPAINT:
      return CDRF_NOTIFYITEMDRAW;
    case CDDS_ITEMPREPAINT: {
      const std::size_t row = draw.nmcd.dwItemSpec;
      if (row >= shown_.rows.size() || !shown_.rows[row].named) return CDRF_DODEFAULT;
      draw.clrTextBk = kFailing;
      draw.clrText = RGB(0, 0, 0);
      SelectObject(draw.nmcd.hdc, boldFont_);
      return CDRF_NEWFONT;
    }
    default:
      return CDRF_DODEFAULT;
  }
}

LRESULT RecordInspector::Handle(UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_COMMAND:
      if (HIWORD(wParam) != BN_CLICKED) break;
      if (LOWORD(wParam) == kPreviousId) Previous();
      if (LOWORD(wParam) == kNextId) Next();
      if (LOWORD(wParam) == IDCANCEL) ShowWindow(window_, SW_HIDE);  // Escape too
      return 0;
    case WM_NOTIFY: {
      auto& header = *reinterpret_cast<NMHDR*>(lParam);
      if (header.hwndFrom != fields_) break;
      if (header.code == static_cast<UINT>(NM_CUSTOMDRAW)) return DrawRow(reinterpret_cast<NMLVCUSTOMDRAW&>(header));
      if (header.code == static_cast<UINT>(LVN_ITEMCHANGED)) {
        const int selected = ListView_GetNextItem(fields_, -1, LVNI_SELECTED);
        if (selected != chosen_) {
          chosen_ = selected;
          if (chosen_ >= 0 && static_cast<std::size_t>(chosen_) < shown_.rows.size()) {
            const InspectionRow& row = shown_.rows[static_cast<std::size_t>(chosen_)];
            RECT client{};
            GetClientRect(raw_, &client);
            const int visible = static_cast<int>(client.right) / charWidth_ - 2;
            if (row.from >= 1 &&
                (static_cast<int>(row.from) <= rawFirst_ || static_cast<int>(row.to) > rawFirst_ + visible))
              ScrollRaw(static_cast<int>(row.from) - 10);
          }
          InvalidateRect(raw_, nullptr, TRUE);
        }
      }
      break;
    }
    case WM_CTLCOLORSTATIC: {
      // The finding's line in the report's navy, the message in red.
      const auto control = reinterpret_cast<HWND>(lParam);
      if (control != message_ && control != findingLine_) break;
      HDC dc = reinterpret_cast<HDC>(wParam);
      SetTextColor(dc, control == message_ ? kRed : kNavy);
      SetBkColor(dc, GetSysColor(COLOR_BTNFACE));
      return reinterpret_cast<LRESULT>(GetSysColorBrush(COLOR_BTNFACE));
    }
    case WM_SIZE:
      Layout();
      return 0;
    case WM_CLOSE:
      ShowWindow(window_, SW_HIDE);
      return 0;
    default:
      break;
  }
  return DefWindowProcW(window_, message, wParam, lParam);
}

}  // namespace verilote::win
