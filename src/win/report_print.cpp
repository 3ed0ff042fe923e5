#include "win/report_print.hpp"

#include <cmath>
#include <cstdint>
#include <string>

#include "desk/report_store.hpp"

namespace verilote::win {

namespace {

constexpr int kTabColumns = 8;

int ScreenPixelsPerInch(int index) {
  HDC screen = GetDC(nullptr);
  const int dpi = screen != nullptr ? GetDeviceCaps(screen, index) : 0;
  if (screen != nullptr) ReleaseDC(nullptr, screen);
  return dpi > 0 ? dpi : USER_DEFAULT_SCREEN_DPI;
}

// The font and the DC's settings for one job; the DC gets its own back.
class PageFont {
 public:
  PageFont(HDC dc, const LOGFONTW& screenFont) : dc_(dc) {
    LOGFONTW scaled = screenFont;
    scaled.lfHeight = MulDiv(screenFont.lfHeight, GetDeviceCaps(dc, LOGPIXELSY), ScreenPixelsPerInch(LOGPIXELSY));
    scaled.lfWidth = MulDiv(screenFont.lfWidth, GetDeviceCaps(dc, LOGPIXELSX), ScreenPixelsPerInch(LOGPIXELSX));
    font_ = CreateFontIndirectW(&scaled);
  }
  ~PageFont() {
    if (old_ != nullptr) SelectObject(dc_, old_);
    if (font_ != nullptr) DeleteObject(font_);
  }
  PageFont(const PageFont&) = delete;
  PageFont& operator=(const PageFont&) = delete;

  // Some drivers reset the DC on every StartPage: the font goes in again.
  bool Select() {
    if (font_ == nullptr) return false;
    HGDIOBJ previous = SelectObject(dc_, font_);
    if (previous == nullptr || previous == HGDI_ERROR) return false;
    if (old_ == nullptr) old_ = previous;
    SetTextAlign(dc_, TA_LEFT | TA_TOP | TA_NOUPDATECP);
    SetBkMode(dc_, TRANSPARENT);
    SetTextColor(dc_, RGB(0, 0, 0));
    return true;
  }

 private:
  HDC dc_;
  HFONT font_ = nullptr;
  HGDIOBJ old_ = nullptr;
};

// The bytes of `line` that reach the page's right edge (a character cut by the
// edge included), so that a line of megabytes costs no more than a full one.
std::string_view VisiblePart(std::string_view line, int room, int charWidth) {
  const std::int64_t columns = charWidth > 0 ? room / charWidth + 1 : 0;
  std::int64_t column = 0;
  std::size_t end = 0;
  while (end < line.size() && column < columns) {
    column = line[end] == '\t' ? (column / kTabColumns + 1) * kTabColumns : column + 1;
    ++end;
  }
  return line.substr(0, end);
}

}  // namespace

LOGFONTW PrintFont() {
  LOGFONTW font{};
  font.lfHeight = -MulDiv(8, ScreenPixelsPerInch(LOGPIXELSY), 72);
  font.lfWeight = FW_NORMAL;
  font.lfCharSet = ANSI_CHARSET;
  font.lfOutPrecision = OUT_TT_PRECIS;
  font.lfQuality = DEFAULT_QUALITY;
  font.lfPitchAndFamily = FIXED_PITCH | FF_MODERN;
  wcscpy_s(font.lfFaceName, LF_FACESIZE, L"Courier New");
  return font;
}

bool PrintReport(HDC printerDc, const ReportStore& store, const LOGFONTW& font, std::wstring_view documentName) {
  PageFont pageFont(printerDc, font);
  const std::wstring name(documentName);
  DOCINFOW doc{};
  doc.cbSize = sizeof doc;
  doc.lpszDocName = name.c_str();
  if (StartDocW(printerDc, &doc) <= 0) return false;

  // The origin of a printer's DC is the top left corner of the printable area.
  const int width = GetDeviceCaps(printerDc, HORZRES);
  const int column = static_cast<int>(std::lround(width / static_cast<double>(kGridColumns)));
  const int row = static_cast<int>(std::lround(GetDeviceCaps(printerDc, VERTRES) / static_cast<double>(kGridRows)));
  const int left = kLeftColumn * column;
  bool ok = StartPage(printerDc) > 0 && pageFont.Select();
  TEXTMETRICW metrics{};
  ok = ok && GetTextMetricsW(printerDc, &metrics);
  const int tabWidth = kTabColumns * metrics.tmAveCharWidth;

  std::wstring wide;
  int current = kFirstRow - 1;
  try {
    if (ok) {
      store.ForEach(0, UINT64_MAX, [&](std::uint64_t, std::string_view line) {
        if (++current > kLastRow) {
          ok = EndPage(printerDc) > 0 && StartPage(printerDc) > 0 && pageFont.Select();
          current = kFirstRow;
        }
        const std::string_view part = VisiblePart(line, width - left, metrics.tmAveCharWidth);
        if (ok && !part.empty()) {
          const int size = static_cast<int>(part.size());  // one UTF-16 unit a byte
          wide.resize(part.size());
          ok = MultiByteToWideChar(1252, 0, part.data(), size, wide.data(), size) == size &&
               TabbedTextOutW(printerDc, left, current * row, wide.data(), size, 1, &tabWidth, left) != 0;
        }
        return ok;
      });
    }
  } catch (...) {
    AbortDoc(printerDc);
    throw;
  }
  if (ok && EndPage(printerDc) > 0 && EndDoc(printerDc) > 0) return true;
  AbortDoc(printerDc);
  return false;
}

}  // namespace verilote::win
