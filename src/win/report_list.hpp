// The report area Memo1: an owner-data list view over the window's
// ReportStore. The list holds no text: each line is read from the store when
// it is drawn, so a report of millions of lines costs the window no more than
// a short one. The user selects any range (mouse, Shift+keys, Ctrl+A) and
// copies it (Ctrl+C) as text with CR LF between the lines.
#pragma once

#include <windows.h>
// After windows.h:
#include <commctrl.h>

#include <cstdint>
#include <optional>
#include <string>

namespace verilote {
class ReportStore;
}

namespace verilote::win {

class ReportList {
 public:
  ReportList(HWND parent, int id, const ReportStore& store);
  HWND Handle() const { return list_; }

  void SetFont(HFONT font);
  void SetColours(COLORREF text, COLORREF background);
  COLORREF TextColour() const { return text_; }
  COLORREF BackgroundColour() const { return background_; }

  // Takes in what the store holds now: a cleared report starts over at its
  // top; while following, a view that showed the end keeps showing it.
  void Sync();
  void SetFollowing(bool following) { following_ = following; }
  // Shows `line` at the top, or as near as the report's end allows.
  void ShowFrom(std::uint64_t line);
  std::uint64_t TopLine() const;
  int VisibleLines() const;

  // Selects `line` alone, gives it the focus and scrolls it into view.
  void Reveal(std::uint64_t line);
  // The line a notification opens (a double-click on it, Enter on the
  // focused one), if it is one.
  std::optional<std::uint64_t> ActivatedLine(const NMHDR& header) const;

  void SelectAll();
  void Select(std::uint64_t first, std::uint64_t last);
  // The selected lines, CR LF between them.
  std::wstring SelectedText() const;
  bool CopySelection() const;

  // The list's notifications to its parent; true when handled, with `result`.
  bool OnNotify(const NMHDR& header, LRESULT& result);

 private:
  LRESULT Draw(NMLVCUSTOMDRAW& draw) const;
  int Count() const;

  HWND list_;
  const ReportStore& store_;
  HFONT font_ = nullptr;
  int charWidth_ = 8;
  COLORREF text_ = RGB(0, 0, 128);
  COLORREF background_ = RGB(255, 255, 255);
  std::uint64_t generation_ = 0;
  std::uint64_t lines_ = 0;
  std::uint64_t longest_ = 0;
  bool following_ = false;
};

}  // namespace verilote::win
