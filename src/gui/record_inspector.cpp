#include "gui/record_inspector.hpp"

#include <QFileInfo>
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
#include <exception>
#include <string>

#include "app/cp1252.hpp"
#include "app/report.hpp"
#include "app/report_store.hpp"
#include "gui/qt_text.hpp"

namespace verilote::gui {

namespace {

enum Column { kCode, kPositions, kName, kFound, kExpected, kColumns };
constexpr int kFromRole = Qt::UserRole + 2;
constexpr int kToRole = Qt::UserRole + 3;

// A record or a report line longer than this (a file of LF-ended lines read
// as one record) shows its beginning: no layout has longer records.
constexpr std::size_t kShownBytes = 4096;

const QColor kFailing(255, 205, 205);  // the named fields, in the table and the record
const QColor kChosen(190, 215, 255);   // the field chosen in the table, in the record

// Record bytes as the screen shows them: a control byte takes one blank cell,
// so that positions stay aligned.
QString Shown(std::string_view bytes) {
  QString text = FromCp1252(bytes);
  for (QChar& c : text)
    if (c.unicode() < 0x20) c = QLatin1Char(' ');
  return text;
}

QString Text(std::string_view cp1252) { return FromCp1252(cp1252); }

// Two lines of positions over a record of `length` bytes: the tens, each
// number ending above its position, and the units.
QString Ruler(std::size_t length) {
  QString tens(static_cast<qsizetype>(length), QLatin1Char(' ')), units;
  for (std::size_t p = 1; p <= length; ++p) {
    units += QChar(u'0' + static_cast<char16_t>(p % 10));
    if (p % 10 == 0) {
      const QString number = QString::number(p);
      tens.replace(static_cast<qsizetype>(p) - number.size(), number.size(), number);
    }
  }
  return tens + QLatin1Char('\n') + units;
}

// A field resolved against the record; a check digit whose routine cannot
// read a short or odd record shows no expected value rather than failing.
ResolvedField Resolve(const FieldSpec& field, std::string_view rec) {
  try {
    return ResolveField(field, rec);
  } catch (const std::exception&) {
    ResolvedField out = ResolveField(FieldSpec{field.code, field.from, field.to, field.name}, rec);
    return out;
  }
}

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
  const QString file = QFileInfo(PathText(entry.file)).fileName();
  const QString kind = entry.kind != nullptr ? Text(entry.kind->name) : QString();
  findingLine_->setText(Shown(store_.Read(entry.line, 0, kShownBytes)));
  findingLine_->setCursorPosition(0);

  // The record as the run read it, or why it cannot be shown.
  QString trouble;
  std::string rec;
  if (entry.record == 0) {
    trouble = FromCp1252("Este achado é sobre o arquivo como um todo."_cp);
  } else if (entry.file.empty()) {
    trouble = FromCp1252("O comando não leu arquivo: não há registro a mostrar."_cp);
  } else {
    RecordLocator::Result read = locator_.Read(entry.file, entry.record);
    const QString number = QString::number(entry.record);
    if (read.status == RecordLocator::Status::Missing) {
      trouble =
          FromCp1252("O arquivo %1 não foi encontrado ou não pode ser aberto: o registro %2 não pode ser mostrado."_cp)
              .arg(PathText(entry.file), number);
    } else if (read.status == RecordLocator::Status::TooLong) {
      trouble = FromCp1252("O registro %1 é longo demais para ser mostrado."_cp).arg(number);
    } else if (read.status == RecordLocator::Status::TooShort ||
               (entry.recordHash != 0 && RecordHash(read.record) != entry.recordHash)) {
      trouble = FromCp1252("O arquivo %1 mudou desde a validação: o registro %2 não é mais o que foi validado."_cp)
                    .arg(PathText(entry.file), number);
    } else {
      rec = std::move(read.record);
    }
  }
  const bool shown = trouble.isEmpty();
  message_->setText(trouble);
  message_->setVisible(!shown);

  QString title = entry.record == 0 ? QStringLiteral("Arquivo") : QStringLiteral("Registro %1").arg(entry.record);
  if (!kind.isEmpty()) title += QStringLiteral(" (%1)").arg(kind);
  if (!file.isEmpty()) title += QStringLiteral(" - ") + file;
  setWindowTitle(title);
  heading_->setText(title);

  // Every field of the kind in order, with the stretches no field names by
  // their positions alone; the named fields highlighted. Without the record,
  // only the named fields, with what the layout expects.
  const std::vector<std::string_view> named = FieldCodes(entry.fields);
  std::vector<std::pair<ResolvedField, bool>> rows;
  const auto isNamed = [&named](std::string_view code) {
    return !code.empty() && std::find(named.begin(), named.end(), code) != named.end();
  };
  std::size_t next = 1;
  const auto gap = [&](std::size_t to) {
    if (!shown || to < next) return;
    ResolvedField stretch;
    stretch.from = next;
    stretch.to = to;
    stretch.found = rec.substr(next - 1, to - next + 1);
    stretch.known = true;
    rows.emplace_back(std::move(stretch), false);
  };
  if (entry.kind != nullptr) {
    for (const FieldSpec& field : entry.kind->fields) {
      if (!shown && !isNamed(field.code)) continue;
      if (field.from > rec.size() && !isNamed(field.code)) continue;
      gap(std::min(field.from - 1, rec.size()));
      rows.emplace_back(Resolve(field, rec), isNamed(field.code));
      if (!shown && field.computed != nullptr) rows.back().first.expected.clear();
      next = std::max(next, field.to + 1);
    }
  }
  gap(std::min(rec.size(), kShownBytes));
  for (std::string_view code : named)
    if (entry.kind == nullptr || entry.kind->Find(code) == nullptr) {
      ResolvedField unknown;
      unknown.code = std::string(code);
      unknown.name = "(campo fora do dicionário do layout)"_cp;
      rows.emplace_back(std::move(unknown), true);
    }

  fields_->clearContents();
  fields_->setRowCount(static_cast<int>(rows.size()));
  QFont bold = fields_->font();
  bold.setBold(true);
  int firstNamed = -1;
  for (int row = 0; row < static_cast<int>(rows.size()); ++row) {
    const auto& [field, failing] = rows[static_cast<std::size_t>(row)];
    const QString positions = !field.known             ? QString()
                              : field.from == field.to ? QString::number(field.from)
                                                       : QStringLiteral("%1-%2").arg(field.from).arg(field.to);
    const QString cells[kColumns] = {Text(field.code), positions, Text(field.name), Shown(field.found),
                                     Text(field.expected)};
    for (int column = 0; column < kColumns; ++column) {
      auto* item = new QTableWidgetItem(cells[column]);
      if (column >= kName) item->setToolTip(cells[column]);  // when the column cuts it
      if (column == kFound) item->setFont(raw_->font());
      if (failing) {
        item->setBackground(kFailing);
        item->setFont(column == kFound ? [&] {
          QFont font = raw_->font();
          font.setBold(true);
          return font;
        }()
                                       : bold);
      }
      fields_->setItem(row, column, item);
    }
    fields_->item(row, kCode)->setData(kFailingRole, failing);
    fields_->item(row, kCode)->setData(kFromRole, static_cast<qulonglong>(field.known ? field.from : 0));
    fields_->item(row, kCode)->setData(kToRole, static_cast<qulonglong>(field.known ? field.to : 0));
    if (failing && firstNamed < 0) firstNamed = row;
  }

  const std::string_view raw = std::string_view(rec).substr(0, kShownBytes);
  raw_->setPlainText(shown ? Ruler(raw.size()) + QLatin1Char('\n') + Shown(raw) : QString());
  // A long stretch of blanks would push what is expected out of sight.
  fields_->resizeColumnToContents(kFound);
  fields_->setColumnWidth(kFound,
                          std::min(fields_->columnWidth(kFound),
                                   QFontMetrics(raw_->font()).horizontalAdvance(QString(32, QLatin1Char('0')))));
  fields_->setCurrentCell(-1, -1);
  MarkRaw(-1);
  // Once laid out, the first named field comes into view, in the table and
  // in the raw record.
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
  const auto mark = [&](int row, const QColor& colour) {
    const QTableWidgetItem* item = fields_->item(row, kCode);
    if (item == nullptr) return;
    const int from = item->data(kFromRole).toInt(), to = std::min(item->data(kToRole).toInt(), length);
    if (from < 1 || to < from) return;
    QTextEdit::ExtraSelection selection;
    selection.format.setBackground(colour);
    selection.cursor = QTextCursor(record);
    selection.cursor.setPosition(record.position() + from - 1);
    selection.cursor.setPosition(record.position() + to, QTextCursor::KeepAnchor);
    marks << selection;
  };
  for (int row = 0; row < fields_->rowCount(); ++row)
    if (fields_->item(row, kCode) != nullptr && fields_->item(row, kCode)->data(kFailingRole).toBool())
      mark(row, kFailing);
  if (selectedRow >= 0) mark(selectedRow, kChosen);
  raw_->setExtraSelections(marks);
}

}  // namespace verilote::gui
