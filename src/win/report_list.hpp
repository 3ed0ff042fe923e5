// The report area Memo1: an owner-data list view over the window's
// ReportStore. The list holds no text: each line is read from the store when
// it is drawn, so a report of millions of lines costs the window no more than
// a short one. The user selects a range of lines (mouse, Shift+keys, Ctrl+A)
// and copies it (Ctrl+C) as text with CR LF between the lines.
//
// The selection is this class's, an anchor and a caret, not the list view's:
// the list view keeps one state per item, and selecting or clearing a few
// million of them (Ctrl+A, or a click after it) walks every one. The copy is
// the clipboard's delayed kind: Ctrl+C only says which lines, and they are
// streamed from the store when another program pastes them.
#pragma once

#include <windows.h>
// After windows.h:
#include <commctrl.h>

#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <utility>

namespace verilote {
class ReportStore;
}

namespace verilote::win {

class ReportList {
 public:
  ReportList(HWND parent, int id, const ReportStore& store);
  ~ReportList();
  ReportList(const ReportList&) = delete;
  ReportList& operator=(const ReportList&) = delete;
  HWND Handle() const { return list_; }

  void SetFont(HFONT font);
  void SetColours(COLORREF text, COLORREF background);
  COLORREF TextColour() const { return text_; }
  COLORREF BackgroundColour() const { return background_; }

  // Takes in what the store holds now: a cleared report starts over at its
  // top with nothing selected; while following, a view that showed the end
  // keeps showing it.
  void Sync();
  void SetFollowing(bool following) { following_ = following; }
  // Shows `line` at the top, or as near as the report's end allows.
  void ShowFrom(std::uint64_t line);
  std::uint64_t TopLine() const;
  int VisibleLines() const;

  // Selects `line` alone, puts the caret on it and scrolls it into view.
  void Reveal(std::uint64_t line);
  // The line a notification opens (a double-click on it, Enter on the
  // caret's), if it is one.
  std::optional<std::uint64_t> ActivatedLine(const NMHDR& header) const;

  void SelectAll();
  void Select(std::uint64_t first, std::uint64_t last);
  // The first and last selected lines; nothing when none is.
  std::optional<std::pair<std::uint64_t, std::uint64_t>> Selection() const;
  std::uint64_t Caret() const { return caret_; }

  enum class Copy { Done, Nothing, TooBig };
  // Offers the selected lines to the clipboard, rendered when pasted; a
  // selection of more than `ClipboardBound()` bytes is refused (TooBig).
  Copy CopySelection();
  void SetClipboardBound(std::uint64_t bytes) { bound_ = bytes; }
  std::uint64_t ClipboardBound() const { return bound_; }
  // Ctrl+C on a selection too big for the clipboard calls this.
  void OnTooBig(std::function<void()> said) { tooBig_ = std::move(said); }
  // Before the report is cleared: a copy not yet pasted is rendered now,
  // while its lines are still there.
  void KeepCopy();

  // The list's notifications to its parent; true when handled, with `result`.
  bool OnNotify(const NMHDR& header, LRESULT& result);

 private:
  static LRESULT CALLBACK SubclassProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam, UINT_PTR id,
                                       DWORD_PTR self);
  bool OnKey(WPARAM key);
  void OnMouse(UINT message, LPARAM lParam);
  void MoveCaret(std::int64_t to, bool extend);
  std::uint64_t LineAt(int y) const;
  void Activate(UINT code, std::uint64_t line);
  HGLOBAL RenderCopy() const;
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
  std::optional<std::uint64_t> followedTop_;  // the top line the last follow left
  // The selection runs from the anchor to the caret, both included.
  bool selected_ = false;
  std::uint64_t anchor_ = 0, caret_ = 0;
  bool dragging_ = false;
  // The lines the clipboard holds a promise of, until another copy takes it.
  struct Copied {
    std::uint64_t generation = 0, first = 0, count = 0, units = 0;
  };
  std::optional<Copied> copied_;
  std::uint64_t bound_;
  std::function<void()> tooBig_;
};

}  // namespace verilote::win
