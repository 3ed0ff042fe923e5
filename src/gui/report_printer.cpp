#include "gui/report_printer.hpp"

#include <QFont>
#include <QFontMetrics>
#include <QPainter>
#include <QPrinter>
#include <cmath>

#include "app/cp1252.hpp"
#include "app/errors.hpp"
#include "desk/report_store.hpp"
#include "gui/messages_pt.hpp"
#include "gui/qt_text.hpp"

namespace verilote::gui {

bool PrintReport(QPrinter& printer, const ReportStore& lines, QString* error) {
  // These two override whatever the setup dialogs chose.
  printer.setCopyCount(1);
  printer.setPageOrientation(QPageLayout::Landscape);

  QPainter painter;
  if (!printer.isValid() || !painter.begin(&printer)) {
    const QString name =
        printer.outputFormat() == QPrinter::PdfFormat ? printer.outputFileName() : printer.printerName();
    *error = FromCp1252("Não foi possível iniciar a impressão em \""_cp) + name + QStringLiteral("\".");
    return false;
  }
  // The painter's origin is the top left corner of the printable area.
  const QRectF area = printer.pageRect(QPrinter::DevicePixel);
  const int column = static_cast<int>(std::lround(area.width() / kGridColumns));
  const int row = static_cast<int>(std::lround(area.height() / kGridRows));
  QFont font(QStringLiteral("Courier New"), 8);
  font.setStyleHint(QFont::TypeWriter);
  painter.setFont(font);
  const int ascent = QFontMetrics(painter.font(), painter.device()).ascent();

  int current = kFirstRow - 1;
  try {
    lines.ForEach(0, UINT64_MAX, [&](std::uint64_t, std::string_view line) {
      if (++current > kLastRow) {
        printer.newPage();
        current = kFirstRow;
      }
      // A line stands with its top at its row, as on the printer's canvas.
      painter.drawText(kLeftColumn * column, current * row + ascent, FromCp1252(line));
      return true;
    });
  } catch (const FileError& e) {  // the report's temporary files could not be read back
    painter.end();
    *error = InPortuguese(FromCp1252(e.what()));
    return false;
  }
  if (painter.end()) return true;
  *error = FromCp1252("A impressão não pôde ser concluída."_cp);
  return false;
}

}  // namespace verilote::gui
