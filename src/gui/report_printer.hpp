// "Imprimir a tela": the report on the printer, landscape, "Courier New" 8
// points, on a grid of 100 columns by 60 rows of the printable area; each line
// starts at column 3, and a page holds rows 2 to 57 (56 lines).
#pragma once

#include <QString>

class QPrinter;

namespace verilote {
class ReportStore;
}

namespace verilote::gui {

inline constexpr int kGridColumns = 100;
inline constexpr int kGridRows = 60;
inline constexpr int kFirstRow = 2;
inline constexpr int kLastRow = 57;
inline constexpr int kLeftColumn = 3;

// Prints the report's lines as one job of one copy, read from the store a
// block at a time. Returns false, with the reason in `error`, when the job
// cannot start or end.
bool PrintReport(QPrinter& printer, const ReportStore& lines, QString* error);

}  // namespace verilote::gui
