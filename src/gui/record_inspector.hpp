// The record inspector: a finding line of the report opened on its record.
// The title names the file, the record's number and its kind; a table lists
// the record's fields as the layout's dictionary numbers them (code,
// positions, name, the bytes found, what the layout expects), the fields the
// finding names highlighted; the raw record below it, under a ruler of
// positions, with those fields' bytes marked; and the finding's own line.
// "Anterior" and "Próximo" step to the findings before and after it, and the
// report follows. The record is read again from the file by its number: a
// file gone or changed since the run is said so, in the dialog.
#pragma once

#include <QDialog>
#include <cstdint>
#include <optional>
#include <utility>
#include <vector>

#include "desk/finding_index.hpp"
#include "desk/record_locator.hpp"

class QLabel;
class QLineEdit;
class QPlainTextEdit;
class QPushButton;
class QTableWidget;

namespace verilote {
class ReportStore;
}

namespace verilote::gui {

class RecordInspector : public QDialog {
  Q_OBJECT

 public:
  RecordInspector(const ReportStore& store, const FindingIndex& findings, QWidget* parent = nullptr);

  // Shows the finding written as report line `line`; false, with nothing
  // changed, when that line is no finding.
  bool ShowLine(std::uint64_t line);
  // The finding before / after the one shown; false when there is none.
  bool Previous();
  bool Next();
  std::optional<std::uint64_t> Line() const { return line_; }
  // The buttons as the report stands now: a run may have added findings, or
  // cleared the report and every finding with it.
  void UpdateButtons();

  // The parts, for the tests and the screenshot.
  QTableWidget* Fields() const { return fields_; }
  QPlainTextEdit* Raw() const { return raw_; }
  QLabel* Message() const { return message_; }
  QLineEdit* FindingLine() const { return findingLine_; }
  QPushButton* PreviousButton() const { return previous_; }
  QPushButton* NextButton() const { return next_; }
  // Rows of the table the finding names.
  static constexpr int kFailingRole = Qt::UserRole + 1;

 signals:
  // A finding is shown: the report shows its line too.
  void LineShown(quint64 line);

 private:
  void Show(const FindingIndex::Entry& entry);
  void MarkRaw(int selectedRow);

  const ReportStore& store_;
  const FindingIndex& findings_;
  RecordLocator locator_;
  std::vector<std::pair<std::size_t, std::size_t>> marks_;  // the named fields' bytes in the record
  std::optional<std::uint64_t> line_;
  QLabel* heading_ = nullptr;  // the title again: file, record and kind
  QLineEdit* findingLine_ = nullptr;
  QLabel* message_ = nullptr;
  QTableWidget* fields_ = nullptr;
  QPlainTextEdit* raw_ = nullptr;
  QPushButton* previous_ = nullptr;
  QPushButton* next_ = nullptr;
};

}  // namespace verilote::gui
