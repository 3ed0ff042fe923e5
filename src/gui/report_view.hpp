// The report area Memo1: a view over the window's ReportStore that reads only
// the lines on screen, so that a report of millions of lines costs the window
// no more than a short one. The user scrolls, selects any range (mouse,
// Shift+keys, Ctrl+A) and copies it (Ctrl+C); a large selection goes to the
// clipboard through a temporary file and is read only when pasted. A
// double-click or Enter on a line asks the window to open it (a finding).
#pragma once

#include <QAbstractScrollArea>
#include <QString>
#include <cstdint>

namespace verilote {
class ReportStore;
}

namespace verilote::gui {

class ReportView : public QAbstractScrollArea {
  Q_OBJECT

 public:
  // A place in the report: a line and a byte (= character) of it.
  struct Position {
    std::uint64_t line = 0;
    std::uint64_t column = 0;
    friend auto operator<=>(const Position&, const Position&) = default;
  };

  ReportView(const ReportStore& store, QWidget* parent = nullptr);

  // Takes in what the store holds now: a cleared report starts over at its
  // top; with following on, the view shows the report's end.
  void Sync();
  // While a command runs, the view follows its new lines; the user scrolling
  // up pauses that until the run ends or they scroll back to the end.
  void SetFollowing(bool following);
  // Shows `line` at the top, or as near as the report's end allows.
  void ShowFrom(std::uint64_t line);
  std::uint64_t TopLine() const;
  int VisibleLines() const;

  // Selects line `line` whole, with the cursor at its start, and scrolls it
  // into view.
  void Reveal(std::uint64_t line);
  // The line of the cursor.
  std::uint64_t CursorLine() const { return cursor_.line; }

  void SelectAll();
  void Select(Position anchor, Position cursor);
  bool HasSelection() const { return anchor_ != cursor_; }
  // The selected text, lines joined by "\n" (for small selections and tests).
  QString SelectedText() const;
  void CopySelection();
  // A selection of more than this many bytes is refused (kClipboardMostBytes).
  void SetClipboardBound(std::uint64_t bytes) { bound_ = bytes; }

 signals:
  // The user double-clicked a line or pressed Enter on it: the window opens
  // the finding it is, if it is one.
  void LineActivated(quint64 line);
  // A selection too big for the clipboard was refused, and the user asked
  // for the report in a file instead ("Copia tela para arquivo novo").
  void CopyToFileAsked();

 protected:
  void paintEvent(QPaintEvent* event) override;
  void resizeEvent(QResizeEvent* event) override;
  void keyPressEvent(QKeyEvent* event) override;
  void mousePressEvent(QMouseEvent* event) override;
  void mouseMoveEvent(QMouseEvent* event) override;
  void mouseDoubleClickEvent(QMouseEvent* event) override;
  void contextMenuEvent(QContextMenuEvent* event) override;
  void scrollContentsBy(int dx, int dy) override;
  void changeEvent(QEvent* event) override;

 private:
  void UpdateScrollBars();
  void ScrollToEnd();
  Position PositionAt(const QPoint& point) const;
  Position Clamp(Position position) const;
  void MoveCursor(Position to, bool extend);
  void EnsureVisible(Position position);
  std::uint64_t LastLine() const;  // 0 for an empty report

  const ReportStore& store_;
  std::uint64_t bound_;
  std::uint64_t generation_ = 0;
  std::uint64_t lines_ = 0;
  int lineHeight_ = 1;
  int charWidth_ = 1;
  Position anchor_;
  Position cursor_;
  bool following_ = false;
  bool followPaused_ = false;
  bool syncing_ = false;
};

}  // namespace verilote::gui
