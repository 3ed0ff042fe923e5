#include "gui/report_view.hpp"

#include <QAbstractButton>
#include <QApplication>
#include <QClipboard>
#include <QContextMenuEvent>
#include <QFontMetricsF>
#include <QKeyEvent>
#include <QMenu>
#include <QMessageBox>
#include <QMimeData>
#include <QPainter>
#include <QScrollBar>
#include <algorithm>
#include <climits>
#include <cmath>
#include <memory>

#include "app/cp1252.hpp"
#include "desk/report_store.hpp"
#include "desk/window_texts.hpp"
#include "gui/messages_pt.hpp"
#include "gui/qt_text.hpp"

namespace verilote::gui {

namespace {

// A selection of up to this many lines goes to the clipboard as text at once;
// a longer one is copied to a temporary file and read from it when pasted.
constexpr std::uint64_t kInlineCopyLines = 20000;

int ClampToInt(std::uint64_t value) { return static_cast<int>(std::min<std::uint64_t>(value, INT_MAX)); }

// The text of a line as the screen shows it: a tab or another control byte
// takes one blank cell, so that columns stay aligned.
QString Shown(std::string_view bytes) {
  QString text = FromCp1252(bytes);
  for (QChar& c : text)
    if (c.unicode() < 0x20) c = QLatin1Char(' ');
  return text;
}

// Where cell `cells` of a shown line starts, in pixels: the width the text
// before it takes as drawn (a font's advance is seldom a whole pixel, and a
// count of cells times one cell's width falls short over a long line).
// Cells past the text's end, the line end's own among them, take one
// `cellWidth` each.
int XOf(const QFontMetricsF& metrics, const QString& shown, std::uint64_t cells, int cellWidth) {
  const qsizetype inText =
      static_cast<qsizetype>(std::min<std::uint64_t>(cells, static_cast<std::uint64_t>(shown.size())));
  const double x = metrics.horizontalAdvance(shown.left(inText)) +
                   static_cast<double>(cells - static_cast<std::uint64_t>(inText)) * cellWidth;
  return static_cast<int>(std::min<double>(std::ceil(x), INT_MAX));
}

// Hands `each` the selected part of every line of [from, to) in order.
void ForEachSelected(const ReportStore& store, ReportView::Position from, ReportView::Position to,
                     const std::function<void(std::string_view)>& each) {
  store.ForEach(from.line, to.line - from.line + 1, [&](std::uint64_t index, std::string_view line) {
    const std::size_t begin = index == from.line ? std::min<std::size_t>(from.column, line.size()) : 0;
    const std::size_t end = index == to.line ? std::min<std::size_t>(to.column, line.size()) : line.size();
    each(line.substr(begin, end > begin ? end - begin : 0));
    return true;
  });
}

// A large selection on the clipboard: its lines wait in a file of their own
// (the report may be cleared meanwhile) until a program asks for the text.
class SpooledText : public QMimeData {
 public:
  explicit SpooledText(std::unique_ptr<ReportStore> lines) : lines_(std::move(lines)) {}
  QStringList formats() const override { return {QStringLiteral("text/plain")}; }
  bool hasFormat(const QString& mimeType) const override { return mimeType == QLatin1String("text/plain"); }

 protected:
  QVariant retrieveData(const QString& mimeType, QMetaType type) const override {
    if (mimeType != QLatin1String("text/plain")) return {};
    QString text;
    lines_->ForEach(0, UINT64_MAX, [&text](std::uint64_t index, std::string_view line) {
      if (index > 0) text += QLatin1Char('\n');
      text += FromCp1252(line);
      return true;
    });
    if (type.id() == QMetaType::QString) return text;
    return text.toUtf8();
  }

 private:
  std::unique_ptr<ReportStore> lines_;
};

}  // namespace

ReportView::ReportView(const ReportStore& store, QWidget* parent)
    : QAbstractScrollArea(parent), store_(store), bound_(kClipboardMostBytes) {
  setFocusPolicy(Qt::ClickFocus);  // not a tab stop
  viewport()->setCursor(Qt::IBeamCursor);
  viewport()->setBackgroundRole(QPalette::Base);
  changeEvent(nullptr);
  generation_ = store_.Generation();
}

void ReportView::changeEvent(QEvent* event) {
  if (event != nullptr) QAbstractScrollArea::changeEvent(event);
  if (event == nullptr || event->type() == QEvent::FontChange) {
    const QFontMetrics metrics(font());
    lineHeight_ = std::max(1, metrics.lineSpacing());
    charWidth_ = std::max(1, metrics.horizontalAdvance(QLatin1Char('0')));
    UpdateScrollBars();
  }
  viewport()->update();
}

int ReportView::VisibleLines() const { return std::max(1, viewport()->height() / lineHeight_); }

std::uint64_t ReportView::TopLine() const { return static_cast<std::uint64_t>(verticalScrollBar()->value()); }

std::uint64_t ReportView::LastLine() const { return lines_ > 0 ? lines_ - 1 : 0; }

void ReportView::UpdateScrollBars() {
  const int rows = VisibleLines(), columns = std::max(1, viewport()->width() / charWidth_);
  syncing_ = true;
  verticalScrollBar()->setRange(0, ClampToInt(lines_ > static_cast<std::uint64_t>(rows) ? lines_ - rows : 0));
  verticalScrollBar()->setPageStep(rows);
  const std::uint64_t longest = store_.LongestLine() + 1;
  horizontalScrollBar()->setRange(0, ClampToInt(longest > static_cast<std::uint64_t>(columns) ? longest - columns : 0));
  horizontalScrollBar()->setPageStep(columns);
  syncing_ = false;
}

void ReportView::Sync() {
  const std::uint64_t generation = store_.Generation();
  lines_ = store_.Size();
  if (generation != generation_) {
    generation_ = generation;
    anchor_ = cursor_ = {};
    followPaused_ = false;
    syncing_ = true;
    verticalScrollBar()->setValue(0);
    horizontalScrollBar()->setValue(0);
    syncing_ = false;
  }
  UpdateScrollBars();
  if (following_ && !followPaused_) ScrollToEnd();
  viewport()->update();
}

void ReportView::SetFollowing(bool following) {
  following_ = following;
  followPaused_ = false;
}

void ReportView::ScrollToEnd() {
  syncing_ = true;
  verticalScrollBar()->setValue(verticalScrollBar()->maximum());
  syncing_ = false;
}

void ReportView::ShowFrom(std::uint64_t line) {
  syncing_ = true;
  verticalScrollBar()->setValue(ClampToInt(line));
  horizontalScrollBar()->setValue(0);
  syncing_ = false;
  viewport()->update();
}

void ReportView::scrollContentsBy(int, int) {
  // Only the user moves the bars outside Sync: up pauses following, the end resumes it.
  if (!syncing_ && following_) followPaused_ = verticalScrollBar()->value() < verticalScrollBar()->maximum();
  viewport()->update();
}

void ReportView::resizeEvent(QResizeEvent* event) {
  QAbstractScrollArea::resizeEvent(event);
  UpdateScrollBars();
  if (following_ && !followPaused_) ScrollToEnd();
}

void ReportView::paintEvent(QPaintEvent*) {
  QPainter painter(viewport());
  painter.fillRect(viewport()->rect(), palette().color(QPalette::Base));
  painter.setFont(font());
  const int ascent = QFontMetrics(font()).ascent();
  const std::uint64_t top = TopLine(), left = static_cast<std::uint64_t>(horizontalScrollBar()->value());
  const int rows = viewport()->height() / lineHeight_ + 1;
  const std::uint64_t columns = static_cast<std::uint64_t>(viewport()->width() / charWidth_ + 2);
  const Position from = std::min(anchor_, cursor_), to = std::max(anchor_, cursor_);
  const QColor text = palette().color(QPalette::Text), highlighted = palette().color(QPalette::HighlightedText);
  const QFontMetricsF metrics(font());
  for (int row = 0; row < rows && top + row < lines_; ++row) {
    const std::uint64_t index = top + row;
    const int y = row * lineHeight_;
    const QString shown = Shown(store_.Read(index, left, columns));
    painter.setPen(text);
    painter.drawText(0, y + ascent, shown);
    if (HasSelection() && index >= from.line && index <= to.line) {
      // The line's end counts as one cell of a selection that goes on below it.
      const std::uint64_t start = index == from.line ? from.column : 0;
      const std::uint64_t end = index == to.line ? to.column : store_.LineLength(index) + 1;
      if (end > left && end > start) {
        const int x0 = XOf(metrics, shown, std::max(start, left) - left, charWidth_);
        const int x1 = XOf(metrics, shown, std::min(end, left + columns) - left, charWidth_);
        const QRect band(x0, y, x1 - x0, lineHeight_);
        painter.fillRect(band, palette().color(QPalette::Highlight));
        painter.save();
        painter.setClipRect(band);
        painter.setPen(highlighted);
        painter.drawText(0, y + ascent, shown);
        painter.restore();
      }
    }
  }
  if (hasFocus() && cursor_.line >= top && cursor_.line < top + rows && cursor_.column >= left) {
    const int x = XOf(metrics, Shown(store_.Read(cursor_.line, left, columns)), cursor_.column - left, charWidth_);
    const int y = static_cast<int>(cursor_.line - top) * lineHeight_;
    painter.fillRect(QRect(x, y, 1, lineHeight_), text);
  }
}

ReportView::Position ReportView::Clamp(Position position) const {
  if (lines_ == 0) return {};
  position.line = std::min(position.line, LastLine());
  position.column = std::min(position.column, store_.LineLength(position.line));
  return position;
}

ReportView::Position ReportView::PositionAt(const QPoint& point) const {
  const std::int64_t row = point.y() < 0 ? -1 : point.y() / lineHeight_;
  const std::int64_t line = std::max<std::int64_t>(0, static_cast<std::int64_t>(TopLine()) + row);
  if (lines_ == 0) return {};
  // The cell boundary nearest the point, measured as the line is drawn.
  const std::uint64_t left = static_cast<std::uint64_t>(horizontalScrollBar()->value());
  const std::uint64_t shownLine = std::min(static_cast<std::uint64_t>(line), LastLine());
  const QString shown =
      Shown(store_.Read(shownLine, left, static_cast<std::uint64_t>(viewport()->width() / charWidth_ + 2)));
  const QFontMetricsF metrics(font());
  const int x = std::max(0, point.x());
  std::uint64_t low = 0, high = static_cast<std::uint64_t>(shown.size()) + 1;
  while (low < high) {  // the first cell whose middle lies right of the point
    const std::uint64_t mid = (low + high) / 2;
    if ((XOf(metrics, shown, mid, charWidth_) + XOf(metrics, shown, mid + 1, charWidth_)) / 2 > x)
      high = mid;
    else
      low = mid + 1;
  }
  return Clamp({static_cast<std::uint64_t>(line), left + low});
}

void ReportView::Select(Position anchor, Position cursor) {
  anchor_ = Clamp(anchor);
  cursor_ = Clamp(cursor);
  viewport()->update();
}

void ReportView::Reveal(std::uint64_t line) {
  if (lines_ == 0) return;
  const Position start = Clamp({line, 0});
  Select({start.line, store_.LineLength(start.line)}, start);
  const std::uint64_t top = TopLine(), rows = static_cast<std::uint64_t>(VisibleLines());
  // A line out of view comes to the middle of the screen, with its neighbours.
  if (start.line < top || start.line >= top + rows)
    verticalScrollBar()->setValue(ClampToInt(start.line > rows / 2 ? start.line - rows / 2 : 0));
  horizontalScrollBar()->setValue(0);
}

void ReportView::SelectAll() {
  if (lines_ == 0) return;
  Select({0, 0}, {LastLine(), store_.LineLength(LastLine())});
}

void ReportView::EnsureVisible(Position position) {
  const std::uint64_t top = TopLine(), rows = static_cast<std::uint64_t>(VisibleLines());
  if (position.line < top) verticalScrollBar()->setValue(ClampToInt(position.line));
  if (position.line >= top + rows) verticalScrollBar()->setValue(ClampToInt(position.line - rows + 1));
  const std::uint64_t left = static_cast<std::uint64_t>(horizontalScrollBar()->value());
  const std::uint64_t columns = static_cast<std::uint64_t>(std::max(1, viewport()->width() / charWidth_));
  if (position.column < left) horizontalScrollBar()->setValue(ClampToInt(position.column));
  if (position.column >= left + columns) horizontalScrollBar()->setValue(ClampToInt(position.column - columns + 1));
}

void ReportView::MoveCursor(Position to, bool extend) {
  cursor_ = Clamp(to);
  if (!extend) anchor_ = cursor_;
  EnsureVisible(cursor_);
  viewport()->update();
}

void ReportView::keyPressEvent(QKeyEvent* event) {
  if (event->matches(QKeySequence::SelectAll)) return SelectAll();
  if (event->matches(QKeySequence::Copy)) return CopySelection();
  const bool extend = event->modifiers() & Qt::ShiftModifier;
  const bool whole = event->modifiers() & Qt::ControlModifier;
  if (event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter) {
    if (lines_ > 0) emit LineActivated(cursor_.line);
    return;
  }
  const std::uint64_t page = static_cast<std::uint64_t>(VisibleLines());
  Position to = cursor_;
  switch (event->key()) {
    case Qt::Key_Up:
      to.line = to.line > 0 ? to.line - 1 : 0;
      break;
    case Qt::Key_Down:
      ++to.line;
      break;
    case Qt::Key_PageUp:
      to.line = to.line > page ? to.line - page : 0;
      break;
    case Qt::Key_PageDown:
      to.line += page;
      break;
    case Qt::Key_Left:
      if (to.column > 0)
        --to.column;
      else if (to.line > 0)
        to = {to.line - 1, UINT64_MAX};
      break;
    case Qt::Key_Right:
      if (to.column < store_.LineLength(to.line))
        ++to.column;
      else if (to.line < LastLine())
        to = {to.line + 1, 0};
      break;
    case Qt::Key_Home:
      to = whole ? Position{} : Position{to.line, 0};
      break;
    case Qt::Key_End:
      to = whole ? Position{LastLine(), UINT64_MAX} : Position{to.line, UINT64_MAX};
      break;
    default:
      return QAbstractScrollArea::keyPressEvent(event);
  }
  MoveCursor(to, extend);
}

void ReportView::mousePressEvent(QMouseEvent* event) {
  if (event->button() != Qt::LeftButton) return QAbstractScrollArea::mousePressEvent(event);
  MoveCursor(PositionAt(event->position().toPoint()), event->modifiers() & Qt::ShiftModifier);
}

void ReportView::mouseMoveEvent(QMouseEvent* event) {
  if (!(event->buttons() & Qt::LeftButton)) return;
  // Dragging past an edge scrolls a line at a time.
  const QPoint point = event->position().toPoint();
  if (point.y() < 0) verticalScrollBar()->setValue(verticalScrollBar()->value() - 1);
  if (point.y() > viewport()->height()) verticalScrollBar()->setValue(verticalScrollBar()->value() + 1);
  cursor_ = PositionAt(point);
  viewport()->update();
}

void ReportView::mouseDoubleClickEvent(QMouseEvent* event) {
  // A word: the run of non-blank characters under the pointer.
  const Position at = PositionAt(event->position().toPoint());
  const std::string line = store_.Read(at.line);
  std::size_t begin = std::min<std::size_t>(at.column, line.size()), end = begin;
  while (begin > 0 && line[begin - 1] != ' ') --begin;
  while (end < line.size() && line[end] != ' ') ++end;
  Select({at.line, begin}, {at.line, end});
  if (lines_ > 0) emit LineActivated(at.line);
}

void ReportView::contextMenuEvent(QContextMenuEvent* event) {
  QMenu menu(this);
  QAction* copy = menu.addAction(QStringLiteral("Copiar"), QKeySequence::Copy, this, &ReportView::CopySelection);
  copy->setEnabled(HasSelection());
  menu.addSeparator();
  menu.addAction(QStringLiteral("Selecionar tudo"), QKeySequence::SelectAll, this, &ReportView::SelectAll);
  menu.exec(event->globalPos());
}

QString ReportView::SelectedText() const {
  QString text;
  if (!HasSelection()) return text;
  bool first = true;
  ForEachSelected(store_, std::min(anchor_, cursor_), std::max(anchor_, cursor_), [&](std::string_view part) {
    if (!first) text += QLatin1Char('\n');
    first = false;
    text += FromCp1252(part);
  });
  return text;
}

void ReportView::CopySelection() {
  if (!HasSelection()) return;
  const Position from = std::min(anchor_, cursor_), to = std::max(anchor_, cursor_);
  // Pasting a few million lines would cost the pasting program and the
  // system a gigabyte: past the bound, the report goes to a file instead.
  // Counted by whole lines.
  if (store_.JoinedSize(from.line, to.line, 1) > bound_) {
    const QString text = FromCp1252(kSelectionTooBig).replace(QLatin1Char('\r'), QLatin1Char('\n'));
    QMessageBox box(QMessageBox::Question, QCoreApplication::applicationName(), text,
                    QMessageBox::Yes | QMessageBox::No, this);
    box.button(QMessageBox::Yes)->setText(QStringLiteral("Sim"));
    box.button(QMessageBox::No)->setText(FromCp1252("Não"_cp));
    box.setDefaultButton(QMessageBox::No);
    if (box.exec() == QMessageBox::Yes) emit CopyToFileAsked();
    return;
  }
  try {
    if (to.line - from.line < kInlineCopyLines) {
      QGuiApplication::clipboard()->setText(SelectedText());
      return;
    }
    auto lines = std::make_unique<ReportStore>(store_.FileMaker());
    ForEachSelected(store_, from, to, [&lines](std::string_view part) { lines->Append(part); });
    QGuiApplication::clipboard()->setMimeData(new SpooledText(std::move(lines)));
  } catch (const std::exception& e) {  // no room for the temporary file, or the report's cannot be read
    QMessageBox::critical(this, QCoreApplication::applicationName(), InPortuguese(FromCp1252(e.what())));
  }
}

}  // namespace verilote::gui
