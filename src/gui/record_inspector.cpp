#include "gui/record_inspector.hpp"

#include <QFontDatabase>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTableWidget>
#include <QTextBlock>
#include <QTimer>
#include <QVBoxLayout>
#include <algorithm>
#include <string>

#include "app/cp1252.hpp"
#include "desk/record_inspection.hpp"
#include "app/report.hpp"
#include "desk/report_store.hpp"
#include "gui/qt_text.hpp"

namespace verilote::gui {

namespace {

enum Column { kCode, kPositions, kName, kFound, kExpected, kColumns };
constexpr int kFromRole = Qt::UserRole + 2;
constexpr int kToRole = Qt::UserRole + 3;

const QColor kFailing(255, 205, 205);  // the named fields, in the table and the record
const QColor kChosen(190, 215, 255);   // the field chosen in the table, in the record

QString Text(std::string_view cp1252) { return FromCp1252(cp1252); }

}  // namespace

RecordInspector::RecordInspector(const ReportStore& store, const FindingIndex& findings, QWidget* parent)
    : QDialog(parent), store_(store), findings_(findings) {
  setObjectName(QStringLiteral("RecordInspector"));
  setModal(false);
  QFont fixed = QFontDatabase::systemFont(QFontDatabase::FixedFont);
  fixed.setPixelSize(12);
  auto* layout = new QVBoxLayout(this);

  heading_ = new QLabel(this);
  QFont headingFont = heading_->font();
  headingFont.setBold(true);
  heading_->setFont(headingFont);
  layout->addWidget(heading_);

  // One line that scrolls, whatever its length: the dialog keeps its width.
  findingLine_ = new QLineEdit(this);
  findingLine_->setFont(fixed);
  findingLine_->setReadOnly(true);
  findingLine_->setFrame(false);
  findingLine_->setStyleSheet(QStringLiteral("color: navy; background: transparent;"));
  layout->addWidget(findingLine_);

  message_ = new QLabel(this);
  message_->setWordWrap(true);
  message_->setStyleSheet(QStringLiteral("color: red; font-weight: bold;"));
  message_->hide();
  layout->addWidget(message_);

  fields_ = new QTableWidget(0, kColumns, this);
  fields_->setHorizontalHeaderLabels({QStringLiteral("Campo"), FromCp1252("Posições"_cp), QStringLiteral("Nome"),
                                      QStringLiteral("Encontrado"), QStringLiteral("Esperado")});
  fields_->verticalHeader()->hide();
  fields_->setEditTriggers(QAbstractItemView::NoEditTriggers);
  fields_->setSelectionBehavior(QAbstractItemView::SelectRows);
  fields_->setSelectionMode(QAbstractItemView::SingleSelection);
  fields_->verticalHeader()->setDefaultSectionSize(fields_->fontMetrics().height() + 6);
  for (const int column : {kCode, kPositions, kName})
    fields_->horizontalHeader()->setSectionResizeMode(column, QHeaderView::ResizeToContents);
  fields_->horizontalHeader()->setSectionResizeMode(kExpected, QHeaderView::Stretch);
  // What the layout expects is read whole: a long rule wraps in its cell and
  // the row grows to hold it, never cut with "…".
  fields_->setWordWrap(true);
  fields_->setTextElideMode(Qt::ElideNone);
  fields_->verticalHeader()->setSectionResizeMode(QHeaderView::ResizeToContents);
  connect(fields_, &QTableWidget::currentCellChanged, this, [this](int row) { MarkRaw(row); });
  layout->addWidget(fields_, 1);

  raw_ = new QPlainTextEdit(this);
  raw_->setReadOnly(true);
  raw_->setLineWrapMode(QPlainTextEdit::NoWrap);
  raw_->setFont(fixed);
  raw_->setFixedHeight(QFontMetrics(fixed).lineSpacing() * 3 + 28);  // ruler, record and a scroll bar
  layout->addWidget(raw_);

  auto* buttons = new QHBoxLayout;
  previous_ = new QPushButton(QStringLiteral("&Anterior"), this);
  next_ = new QPushButton(FromCp1252("&Próximo"_cp), this);
  auto* close = new QPushButton(QStringLiteral("&Fechar"), this);
  previous_->setToolTip(FromCp1252("O achado anterior do relatório (Alt+A)"_cp));
  next_->setToolTip(FromCp1252("O próximo achado do relatório (Alt+P)"_cp));
  connect(previous_, &QPushButton::clicked, this, [this] { Previous(); });
  connect(next_, &QPushButton::clicked, this, [this] { Next(); });
  connect(close, &QPushButton::clicked, this, &QDialog::close);
  buttons->addWidget(previous_);
  buttons->addWidget(next_);
  buttons->addStretch(1);
  buttons->addWidget(close);
  layout->addLayout(buttons);
  resize(960, 600);
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
  previous_->setEnabled(line_ && findings_.PreviousLine(generation, *line_).has_value());
  next_->setEnabled(line_ && findings_.NextLine(generation, *line_).has_value());
}

void RecordInspector::Show(const FindingIndex::Entry& entry) {
  line_ = entry.line;
  const RecordInspection seen = Inspect(entry, store_.Read(entry.line, 0, RecordInspection::kShownBytes), locator_);
  findingLine_->setText(Text(seen.findingLine));
  findingLine_->setCursorPosition(0);
  const QString message = seen.fileAt == std::string::npos
                              ? Text(seen.message)
                              : Text(std::string_view(seen.message).substr(0, seen.fileAt)) + PathText(entry.file) +
                                    Text(std::string_view(seen.message).substr(seen.fileAt));
  message_->setText(message);
  message_->setVisible(!seen.Shown());

  QString title = Text(seen.heading);
  if (!seen.fileName.empty()) title += QStringLiteral(" - ") + PathText(seen.fileName);
  setWindowTitle(title);
  heading_->setText(title);

  fields_->clearContents();
  fields_->setRowCount(static_cast<int>(seen.rows.size()));
  QFont bold = fields_->font();
  bold.setBold(true);
  QFont boldFixed = raw_->font();
  boldFixed.setBold(true);
  for (int row = 0; row < static_cast<int>(seen.rows.size()); ++row) {
    const InspectionRow& field = seen.rows[static_cast<std::size_t>(row)];
    const QString cells[kColumns] = {Text(field.code), Text(field.positions), Text(field.name), Text(field.found),
                                     Text(field.expected)};
    for (int column = 0; column < kColumns; ++column) {
      auto* item = new QTableWidgetItem(cells[column]);
      if (column >= kName) item->setToolTip(cells[column]);  // when the column cuts it
      if (column == kFound) item->setFont(raw_->font());
      if (field.named) {
        item->setBackground(kFailing);
        item->setFont(column == kFound ? boldFixed : bold);
      }
      fields_->setItem(row, column, item);
    }
    fields_->item(row, kCode)->setData(kFailingRole, field.named);
    fields_->item(row, kCode)->setData(kFromRole, static_cast<qulonglong>(field.from));
    fields_->item(row, kCode)->setData(kToRole, static_cast<qulonglong>(field.to));
  }
  marks_ = seen.marks;

  raw_->setPlainText(seen.Shown() ? Text(seen.rulerTens) + QLatin1Char('\n') + Text(seen.rulerUnits) +
                                        QLatin1Char('\n') + Text(seen.record)
                                  : QString());
  // A long stretch of blanks would push what is expected out of sight.
  fields_->resizeColumnToContents(kFound);
  fields_->setColumnWidth(kFound,
                          std::min(fields_->columnWidth(kFound),
                                   QFontMetrics(raw_->font()).horizontalAdvance(QString(32, QLatin1Char('0')))));
  fields_->setCurrentCell(-1, -1);
  MarkRaw(-1);
  // Once laid out, the first named field comes into view, in the table and
  // in the raw record.
  const int firstNamed = seen.firstNamed;
  QTimer::singleShot(0, this, [this, firstNamed] {
    if (firstNamed < 0) return;
    fields_->scrollToItem(fields_->item(firstNamed, kCode), QAbstractItemView::PositionAtCenter);
    const QTextBlock record = raw_->document()->findBlockByNumber(2);
    const int from = fields_->item(firstNamed, kCode)->data(kFromRole).toInt();
    if (!record.isValid() || from < 1) return;
    QTextCursor cursor(record);
    cursor.setPosition(record.position() + std::min(from + 30, record.length() - 1));
    raw_->setTextCursor(cursor);
    raw_->ensureCursorVisible();
  });
  UpdateButtons();
  emit LineShown(entry.line);
}

// The raw record's marks: the named fields' bytes, and the field of the
// table's current row in another colour.
void RecordInspector::MarkRaw(int selectedRow) {
  QList<QTextEdit::ExtraSelection> marks;
  const QTextBlock record = raw_->document()->findBlockByNumber(2);
  if (!record.isValid()) {
    raw_->setExtraSelections(marks);
    return;
  }
  const int length = record.length() - 1;
  const auto mark = [&](int from, int to, const QColor& colour) {
    to = std::min(to, length);
    if (from < 1 || to < from) return;
    QTextEdit::ExtraSelection selection;
    selection.format.setBackground(colour);
    selection.cursor = QTextCursor(record);
    selection.cursor.setPosition(record.position() + from - 1);
    selection.cursor.setPosition(record.position() + to, QTextCursor::KeepAnchor);
    marks << selection;
  };
  for (const auto& [from, to] : marks_) mark(static_cast<int>(from), static_cast<int>(to), kFailing);
  if (const QTableWidgetItem* item = selectedRow >= 0 ? fields_->item(selectedRow, kCode) : nullptr)
    mark(item->data(kFromRole).toInt(), item->data(kToRole).toInt(), kChosen);
  raw_->setExtraSelections(marks);
}

}  // namespace verilote::gui
