#include "win/report_list.hpp"

#include <commctrl.h>

#include <algorithm>
#include <climits>

#include "app/errors.hpp"
#include "desk/report_store.hpp"
#include "win/win_text.hpp"

namespace verilote::win {

namespace {

// A line is shown and copied up to this many bytes (a record is at most a
// few hundred; a longer line is some file's whole content read as one).
constexpr std::uint64_t kShownBytes = 4096;

}  // namespace

ReportList::ReportList(HWND parent, int id, const ReportStore& store) : store_(store) {
  list_ = CreateWindowExW(WS_EX_CLIENTEDGE, WC_LISTVIEWW, L"",
                          WS_CHILD | WS_VISIBLE | WS_HSCROLL | WS_VSCROLL | LVS_REPORT | LVS_OWNERDATA |
                              LVS_NOCOLUMNHEADER | LVS_SHOWSELALWAYS,
                          0, 0, 100, 100, parent, reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)),
                          reinterpret_cast<HINSTANCE>(GetWindowLongPtrW(parent, GWLP_HINSTANCE)), nullptr);
  ListView_SetExtendedListViewStyle(list_, LVS_EX_FULLROWSELECT | LVS_EX_DOUBLEBUFFER);
  LVCOLUMNW column{};
  column.mask = LVCF_WIDTH;
  column.cx = 100;
  ListView_InsertColumn(list_, 0, &column);
  SetColours(text_, background_);
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
  const bool atEnd = lines_ == 0 || TopLine() + static_cast<std::uint64_t>(VisibleLines()) >= lines_;
  if (!cleared && size == lines_ && store_.LongestLine() <= longest_) return;
  generation_ = generation;
  lines_ = size;
  if (cleared) longest_ = 0;
  ListView_SetItemCountEx(list_, Count(), cleared ? 0 : LVSICF_NOINVALIDATEALL | LVSICF_NOSCROLL);
  if (store_.LongestLine() > longest_ || cleared) {
    longest_ = store_.LongestLine();
    const auto width = std::min<std::uint64_t>(longest_, kShownBytes) * static_cast<std::uint64_t>(charWidth_);
    ListView_SetColumnWidth(list_, 0, static_cast<int>(width) + 2 * charWidth_);
  }
  if (cleared) InvalidateRect(list_, nullptr, TRUE);
  if (following_ && atEnd && lines_ > 0)
    ListView_EnsureVisible(list_, Count() - 1, FALSE);
  else if (!cleared)
    InvalidateRect(list_, nullptr, FALSE);
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
  const int item = static_cast<int>(line);
  Select(line, line);
  ListView_SetItemState(list_, item, LVIS_FOCUSED, LVIS_FOCUSED);
  ListView_EnsureVisible(list_, item, FALSE);
}

std::optional<std::uint64_t> ReportList::ActivatedLine(const NMHDR& header) const {
  if (header.hwndFrom != list_) return std::nullopt;
  int item = -1;
  if (header.code == static_cast<UINT>(NM_DBLCLK))
    item = reinterpret_cast<const NMITEMACTIVATE&>(header).iItem;
  else if (header.code == static_cast<UINT>(NM_RETURN))
    item = ListView_GetNextItem(list_, -1, LVNI_FOCUSED);
  if (item < 0) return std::nullopt;
  return static_cast<std::uint64_t>(item);
}

void ReportList::SelectAll() { ListView_SetItemState(list_, -1, LVIS_SELECTED, LVIS_SELECTED); }

void ReportList::Select(std::uint64_t first, std::uint64_t last) {
  ListView_SetItemState(list_, -1, 0, LVIS_SELECTED);
  for (std::uint64_t i = first; i <= last && i < lines_; ++i)
    ListView_SetItemState(list_, static_cast<int>(i), LVIS_SELECTED, LVIS_SELECTED);
}

std::wstring ReportList::SelectedText() const {
  // The lines streamed from the first selected one, a block at a time, until
  // every selected line is taken.
  const int first = ListView_GetNextItem(list_, -1, LVNI_SELECTED);
  auto left = static_cast<std::uint64_t>(ListView_GetSelectedCount(list_));
  std::wstring text;
  if (first < 0) return text;
  store_.ForEach(static_cast<std::uint64_t>(first), UINT64_MAX, [&](std::uint64_t index, std::string_view line) {
    if (ListView_GetItemState(list_, static_cast<int>(index), LVIS_SELECTED) == 0) return true;
    text += FromCp1252(line);
    if (--left == 0) return false;
    text += L"\r\n";
    return true;
  });
  return text;
}

bool ReportList::CopySelection() const {
  std::wstring text;
  try {
    text = SelectedText();
  } catch (const FileError&) {  // the report's temporary files could not be read back: no half copy
    return false;
  }
  if (ListView_GetSelectedCount(list_) == 0 || !OpenClipboard(list_)) return false;
  EmptyClipboard();
  bool done = false;
  if (HGLOBAL memory = GlobalAlloc(GMEM_MOVEABLE, (text.size() + 1) * sizeof(wchar_t))) {
    if (void* p = GlobalLock(memory)) {
      std::copy_n(text.c_str(), text.size() + 1, static_cast<wchar_t*>(p));
      GlobalUnlock(memory);
      done = SetClipboardData(CF_UNICODETEXT, memory) != nullptr;
    }
    if (!done) GlobalFree(memory);
  }
  CloseClipboard();
  return done;
}

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
      const bool selected = ListView_GetItemState(list_, item, LVIS_SELECTED) != 0;
      const std::wstring text = FromCp1252(store_.Read(static_cast<std::uint64_t>(item), 0, kShownBytes));
      const HGDIOBJ old = SelectObject(draw.nmcd.hdc, font_);
      SetTextColor(draw.nmcd.hdc, selected ? GetSysColor(COLOR_HIGHLIGHTTEXT) : text_);
      SetBkColor(draw.nmcd.hdc, selected ? GetSysColor(COLOR_HIGHLIGHT) : background_);
      ExtTextOutW(draw.nmcd.hdc, row.left + charWidth_ / 2, row.top, ETO_OPAQUE | ETO_CLIPPED, &row, text.c_str(),
                  static_cast<UINT>(text.size()), nullptr);
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
      // For the list's own uses (type-ahead, accessibility): as much as fits.
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
    case LVN_KEYDOWN: {
      const auto& key = reinterpret_cast<const NMLVKEYDOWN&>(header);
      if ((GetKeyState(VK_CONTROL) & 0x8000) == 0) return false;
      if (key.wVKey == 'A') SelectAll();
      if (key.wVKey == 'C') CopySelection();
      result = 0;
      return key.wVKey == 'A' || key.wVKey == 'C';
    }
    default:
      return false;
  }
}

}  // namespace verilote::win
