#include "win/report_list.hpp"

#include <commctrl.h>

#include <algorithm>
#include <climits>

#include "app/errors.hpp"
#include "desk/report_store.hpp"
#include "desk/window_texts.hpp"
#include "win/win_text.hpp"

namespace verilote::win {

namespace {

// A line is shown up to this many bytes (a record is at most a few hundred; a
// longer line is some file's whole content read as one).
constexpr std::uint64_t kShownBytes = 4096;
constexpr UINT_PTR kSubclassId = 1;

bool Held(int key) { return (GetKeyState(key) & 0x8000) != 0; }

}  // namespace

ReportList::ReportList(HWND parent, int id, const ReportStore& store) : store_(store), bound_(kClipboardMostBytes) {
  list_ = CreateWindowExW(WS_EX_CLIENTEDGE, WC_LISTVIEWW, L"",
                          WS_CHILD | WS_VISIBLE | WS_HSCROLL | WS_VSCROLL | WS_CLIPSIBLINGS | WS_TABSTOP | LVS_REPORT |
                              LVS_OWNERDATA | LVS_NOCOLUMNHEADER | LVS_SHOWSELALWAYS | LVS_SINGLESEL,
                          0, 0, 100, 100, parent, reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)),
                          reinterpret_cast<HINSTANCE>(GetWindowLongPtrW(parent, GWLP_HINSTANCE)), nullptr);
  ListView_SetExtendedListViewStyle(list_, LVS_EX_FULLROWSELECT | LVS_EX_DOUBLEBUFFER);
  LVCOLUMNW column{};
  column.mask = LVCF_WIDTH;
  column.cx = 100;
  ListView_InsertColumn(list_, 0, &column);
  SetColours(text_, background_);
  SetWindowSubclass(list_, &ReportList::SubclassProc, kSubclassId, reinterpret_cast<DWORD_PTR>(this));
}

ReportList::~ReportList() {
  if (IsWindow(list_)) RemoveWindowSubclass(list_, &ReportList::SubclassProc, kSubclassId);
}

void ReportList::SetFont(HFONT font) {
  font_ = font;
  SendMessageW(list_, WM_SETFONT, reinterpret_cast<WPARAM>(font), TRUE);
  if (HDC dc = GetDC(list_)) {
    const HGDIOBJ old = SelectObject(dc, font);
    TEXTMETRICW metrics{};
    GetTextMetricsW(dc, &metrics);
    charWidth_ = std::max<int>(1, metrics.tmAveCharWidth);
    SelectObject(dc, old);
    ReleaseDC(list_, dc);
  }
  longest_ = 0;  // the column is sized again for the new font
  Sync();
}

void ReportList::SetColours(COLORREF text, COLORREF background) {
  text_ = text;
  background_ = background;
  ListView_SetBkColor(list_, background);
  ListView_SetTextBkColor(list_, background);
  ListView_SetTextColor(list_, text);
  InvalidateRect(list_, nullptr, TRUE);
}

int ReportList::Count() const { return static_cast<int>(std::min<std::uint64_t>(lines_, INT_MAX)); }

void ReportList::Sync() {
  const std::uint64_t generation = store_.Generation(), size = store_.Size();
  const bool cleared = generation != generation_;
  // At the end: where the last follow left the view (the list's count of
  // rows on a page changes as its horizontal scroll bar comes and goes, so
  // the geometry alone would lose the end), or showing the last line.
  const std::uint64_t top = TopLine();
  const bool atEnd = lines_ == 0 || (followedTop_ && top == *followedTop_) ||
                     top + static_cast<std::uint64_t>(VisibleLines()) >= lines_;
  if (!cleared && size == lines_ && store_.LongestLine() <= longest_) return;
  generation_ = generation;
  lines_ = size;
  if (cleared) {
    longest_ = 0;
    selected_ = false;  // the lines it named are gone
    anchor_ = caret_ = 0;
  }
  ListView_SetItemCountEx(list_, Count(), cleared ? 0 : LVSICF_NOINVALIDATEALL | LVSICF_NOSCROLL);
  if (store_.LongestLine() > longest_ || cleared) {
    longest_ = store_.LongestLine();
    const auto width = std::min<std::uint64_t>(longest_, kShownBytes) * static_cast<std::uint64_t>(charWidth_);
    ListView_SetColumnWidth(list_, 0, static_cast<int>(width) + 2 * charWidth_);
  }
  if (cleared) InvalidateRect(list_, nullptr, TRUE);
  followedTop_.reset();
  if (following_ && atEnd && lines_ > 0) {
    ListView_EnsureVisible(list_, Count() - 1, FALSE);
    followedTop_ = TopLine();
  } else if (!cleared) {
    InvalidateRect(list_, nullptr, FALSE);
  }
}

void ReportList::ShowFrom(std::uint64_t line) {
  if (lines_ == 0) return;
  // To the end, then back to the line: it ends up at the top when it can.
  ListView_EnsureVisible(list_, Count() - 1, FALSE);
  ListView_EnsureVisible(list_, static_cast<int>(std::min<std::uint64_t>(line, INT_MAX)), FALSE);
}

std::uint64_t ReportList::TopLine() const {
  return static_cast<std::uint64_t>(std::max(0, ListView_GetTopIndex(list_)));
}

int ReportList::VisibleLines() const { return std::max(1, ListView_GetCountPerPage(list_)); }

void ReportList::Reveal(std::uint64_t line) {
  if (line >= lines_ || line > INT_MAX) return;
  Select(line, line);
  ListView_EnsureVisible(list_, static_cast<int>(line), FALSE);
}

std::optional<std::uint64_t> ReportList::ActivatedLine(const NMHDR& header) const {
  if (header.hwndFrom != list_) return std::nullopt;
  if (header.code == static_cast<UINT>(NM_DBLCLK)) {
    const int item = reinterpret_cast<const NMITEMACTIVATE&>(header).iItem;
    if (item >= 0 && static_cast<std::uint64_t>(item) < lines_) return static_cast<std::uint64_t>(item);
  } else if (header.code == static_cast<UINT>(NM_RETURN) && selected_) {
    return caret_;
  }
  return std::nullopt;
}

void ReportList::SelectAll() {
  if (lines_ == 0) return;
  Select(0, lines_ - 1);
  caret_ = 0;  // as the list view leaves it: the caret where it was, at the top here
  anchor_ = lines_ - 1;
}

void ReportList::Select(std::uint64_t first, std::uint64_t last) {
  if (lines_ == 0 || first > last || first >= lines_) return;
  anchor_ = first;
  caret_ = std::min(last, lines_ - 1);
  selected_ = true;
  InvalidateRect(list_, nullptr, FALSE);
}

std::optional<std::pair<std::uint64_t, std::uint64_t>> ReportList::Selection() const {
  if (!selected_) return std::nullopt;
  return std::pair{std::min(anchor_, caret_), std::max(anchor_, caret_)};
}

// --- the keyboard and the mouse ---------------------------------------------

void ReportList::MoveCaret(std::int64_t to, bool extend) {
  if (lines_ == 0) return;
  const auto line = static_cast<std::uint64_t>(std::clamp<std::int64_t>(to, 0, static_cast<std::int64_t>(lines_ - 1)));
  if (!extend || !selected_) anchor_ = extend && !selected_ ? caret_ : line;
  caret_ = line;
  selected_ = true;
  ListView_EnsureVisible(list_, static_cast<int>(std::min<std::uint64_t>(line, INT_MAX)), FALSE);
  InvalidateRect(list_, nullptr, FALSE);
}

bool ReportList::OnKey(WPARAM key) {
  const bool shift = Held(VK_SHIFT), control = Held(VK_CONTROL);
  const auto caret = static_cast<std::int64_t>(caret_);
  const std::int64_t page = std::max(1, VisibleLines() - 1);
  switch (key) {
    case VK_UP:
      MoveCaret(caret - 1, shift);
      return true;
    case VK_DOWN:
      MoveCaret(caret + 1, shift);
      return true;
    case VK_PRIOR:
      MoveCaret(caret - page, shift);
      return true;
    case VK_NEXT:
      MoveCaret(caret + page, shift);
      return true;
    case VK_HOME:
      MoveCaret(0, shift);
      return true;
    case VK_END:
      MoveCaret(static_cast<std::int64_t>(lines_) - 1, shift);
      return true;
    case VK_LEFT:
    case VK_RIGHT:
      ListView_Scroll(list_, (key == VK_LEFT ? -4 : 4) * charWidth_, 0);
      return true;
    case VK_RETURN:
      if (selected_) Activate(static_cast<UINT>(NM_RETURN), caret_);
      return true;
    case 'A':
      if (control) SelectAll();
      return control;
    case 'C':
    case VK_INSERT:
      if (control && CopySelection() == Copy::TooBig && tooBig_) tooBig_();
      return control;
    default:
      return false;
  }
}

std::uint64_t ReportList::LineAt(int y) const {
  // Rows are of one height: the top row's place tells every other's.
  RECT top{};
  const int first = ListView_GetTopIndex(list_);
  if (lines_ == 0 || !ListView_GetItemRect(list_, first, &top, LVIR_BOUNDS) || top.bottom <= top.top) return caret_;
  const std::int64_t row = (static_cast<std::int64_t>(y) - top.top) / (top.bottom - top.top) - (y < top.top ? 1 : 0) +
                           static_cast<std::int64_t>(first);
  return static_cast<std::uint64_t>(std::clamp<std::int64_t>(row, 0, static_cast<std::int64_t>(lines_ - 1)));
}

void ReportList::OnMouse(UINT message, LPARAM lParam) {
  const int y = static_cast<short>(HIWORD(lParam));
  switch (message) {
    case WM_LBUTTONDOWN:
      SetFocus(list_);
      if (lines_ == 0) return;
      MoveCaret(static_cast<std::int64_t>(LineAt(y)), Held(VK_SHIFT));
      dragging_ = true;
      SetCapture(list_);
      return;
    case WM_MOUSEMOVE:
      if (dragging_) MoveCaret(static_cast<std::int64_t>(LineAt(y)), true);
      return;
    case WM_LBUTTONUP:
      if (dragging_) ReleaseCapture();
      dragging_ = false;
      return;
    case WM_LBUTTONDBLCLK:
      if (lines_ == 0) return;
      MoveCaret(static_cast<std::int64_t>(LineAt(y)), false);
      Activate(static_cast<UINT>(NM_DBLCLK), caret_);
      return;
    default:
      return;
  }
}

// The parent learns of an activation as it would from the list view itself.
void ReportList::Activate(UINT code, std::uint64_t line) {
  NMITEMACTIVATE note{};
  note.hdr.hwndFrom = list_;
  note.hdr.idFrom = static_cast<UINT_PTR>(GetDlgCtrlID(list_));
  note.hdr.code = code;
  note.iItem = static_cast<int>(std::min<std::uint64_t>(line, INT_MAX));
  SendMessageW(GetParent(list_), WM_NOTIFY, note.hdr.idFrom, reinterpret_cast<LPARAM>(&note));
}

LRESULT CALLBACK ReportList::SubclassProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam, UINT_PTR,
                                          DWORD_PTR data) {
  auto& self = *reinterpret_cast<ReportList*>(data);
  switch (message) {
    case WM_KEYDOWN:
      if (self.OnKey(wParam)) return 0;
      break;
    case WM_CHAR:
      return 0;  // no type-ahead search: it would read every line of the report
    case WM_LBUTTONDOWN:
    case WM_LBUTTONUP:
    case WM_LBUTTONDBLCLK:
    case WM_MOUSEMOVE:
      self.OnMouse(message, lParam);
      return 0;
    case WM_RBUTTONDOWN:
    case WM_RBUTTONUP:
      SetFocus(window);
      return 0;
    case WM_CAPTURECHANGED:
      self.dragging_ = false;
      break;
    case WM_SETFOCUS:
    case WM_KILLFOCUS:
      InvalidateRect(window, nullptr, FALSE);  // the caret's focus rectangle comes and goes
      break;
    case WM_RENDERFORMAT:
      if (wParam == CF_UNICODETEXT)
        if (HGLOBAL text = self.RenderCopy()) SetClipboardData(CF_UNICODETEXT, text);
      return 0;
    case WM_RENDERALLFORMATS:
      // The program ends with its copy not yet pasted.
      self.KeepCopy();
      return 0;
    case WM_DESTROYCLIPBOARD:
      self.copied_.reset();
      return 0;
    default:
      break;
  }
  return DefSubclassProc(window, message, wParam, lParam);
}

// --- the clipboard ----------------------------------------------------------

ReportList::Copy ReportList::CopySelection() {
  const auto range = Selection();
  if (!range) return Copy::Nothing;
  // The size of the text, lines joined by CR LF, known without reading them.
  const Copied copy{generation_, range->first, range->second - range->first + 1,
                    store_.JoinedSize(range->first, range->second, 2)};
  if (copy.units > bound_) return Copy::TooBig;
  if (!OpenClipboard(list_)) return Copy::Nothing;
  EmptyClipboard();  // the list becomes the owner, which WM_RENDERFORMAT reaches
  copied_ = copy;
  SetClipboardData(CF_UNICODETEXT, nullptr);
  CloseClipboard();
  return Copy::Done;
}

void ReportList::KeepCopy() {
  if (!copied_ || !OpenClipboard(list_)) return;
  if (GetClipboardOwner() == list_)
    if (HGLOBAL text = RenderCopy()) SetClipboardData(CF_UNICODETEXT, text);
  CloseClipboard();
}

// The promised lines, CR LF between them: a Windows-1252 byte is one UTF-16
// unit, so the text is written straight into the clipboard's memory.
HGLOBAL ReportList::RenderCopy() const {
  if (!copied_ || copied_->generation != store_.Generation()) return nullptr;
  const Copied copy = *copied_;
  HGLOBAL memory = GlobalAlloc(GMEM_MOVEABLE, (copy.units + 1) * sizeof(wchar_t));
  if (memory == nullptr) return nullptr;
  auto* out = static_cast<wchar_t*>(GlobalLock(memory));
  std::uint64_t at = 0;
  bool whole = out != nullptr;
  try {
    if (whole)
      store_.ForEach(copy.first, copy.count, [&](std::uint64_t index, std::string_view line) {
        const std::wstring text = FromCp1252(line);
        const std::uint64_t room = copy.units - at;
        const std::size_t take = static_cast<std::size_t>(std::min<std::uint64_t>(text.size(), room));
        std::copy_n(text.data(), take, out + at);
        at += take;
        if (index + 1 < copy.first + copy.count && copy.units - at >= 2) {
          out[at++] = L'\r';
          out[at++] = L'\n';
        }
        return true;
      });
  } catch (const FileError&) {  // the report's temporary files could not be read back: no half copy
    whole = false;
  }
  if (out != nullptr) {
    out[at] = L'\0';
    GlobalUnlock(memory);
  }
  if (!whole || at != copy.units) {
    GlobalFree(memory);
    return nullptr;
  }
  return memory;
}

// --- drawing ----------------------------------------------------------------

LRESULT ReportList::Draw(NMLVCUSTOMDRAW& draw) const {
  switch (draw.nmcd.dwDrawStage) {
    case CDDS_PREPAINT:
      return CDRF_NOTIFYITEMDRAW;
    case CDDS_ITEMPREPAINT: {
      // The whole line is drawn here: the list view's own drawing would cut
      // it at 260 characters.
      const auto item = static_cast<int>(draw.nmcd.dwItemSpec);
      RECT row{};
      ListView_GetItemRect(list_, item, &row, LVIR_BOUNDS);
      const auto line = static_cast<std::uint64_t>(item);
      const auto range = Selection();
      const bool selected = range && line >= range->first && line <= range->second;
      const std::wstring text = FromCp1252(store_.Read(line, 0, kShownBytes));
      const HGDIOBJ old = SelectObject(draw.nmcd.hdc, font_);
      SetTextColor(draw.nmcd.hdc, selected ? GetSysColor(COLOR_HIGHLIGHTTEXT) : text_);
      SetBkColor(draw.nmcd.hdc, selected ? GetSysColor(COLOR_HIGHLIGHT) : background_);
      ExtTextOutW(draw.nmcd.hdc, row.left + charWidth_ / 2, row.top, ETO_OPAQUE | ETO_CLIPPED, &row, text.c_str(),
                  static_cast<UINT>(text.size()), nullptr);
      if (selected_ && line == caret_ && GetFocus() == list_) DrawFocusRect(draw.nmcd.hdc, &row);
      SelectObject(draw.nmcd.hdc, old);
      return CDRF_SKIPDEFAULT;
    }
    default:
      return CDRF_DODEFAULT;
  }
}

bool ReportList::OnNotify(const NMHDR& header, LRESULT& result) {
  if (header.hwndFrom != list_) return false;
  switch (header.code) {
    case LVN_GETDISPINFOW: {
      // For the list's own uses (accessibility): as much as fits.
      LVITEMW& item = const_cast<NMLVDISPINFOW&>(reinterpret_cast<const NMLVDISPINFOW&>(header)).item;
      if ((item.mask & LVIF_TEXT) != 0 && item.pszText != nullptr && item.cchTextMax > 0) {
        const std::size_t room = static_cast<std::size_t>(item.cchTextMax) - 1;
        const std::wstring text = FromCp1252(store_.Read(static_cast<std::uint64_t>(item.iItem), 0, room));
        std::copy_n(text.c_str(), text.size() + 1, item.pszText);
      }
      result = 0;
      return true;
    }
    case NM_CUSTOMDRAW:
      result = Draw(const_cast<NMLVCUSTOMDRAW&>(reinterpret_cast<const NMLVCUSTOMDRAW&>(header)));
      return true;
    default:
      return false;
  }
}

}  // namespace verilote::win
