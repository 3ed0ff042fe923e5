// "Imprimir a tela" on Windows: the report on a printer's device context,
// "Courier New" 8 points, on a grid of 100 columns by 60 rows of the printable
// area; each line starts at column 3, and a page holds rows 2 to 57 (56
// lines), as the Qt window prints it.
#pragma once

#include <windows.h>

#include <string_view>

namespace verilote {
class ReportStore;
}

namespace verilote::win {

inline constexpr int kGridColumns = 100;
inline constexpr int kGridRows = 60;
inline constexpr int kFirstRow = 2;
inline constexpr int kLastRow = 57;
inline constexpr int kLeftColumn = 3;

// "Courier New", 8 points, as a font for the screen: PrintReport scales it to
// the printer.
LOGFONTW PrintFont();

// Prints the report's lines as one job named `documentName` on `printerDc`
// (landscape and one copy are the caller's to set in the DEVMODE the DC was
// made with), read from the store a block at a time. `font` is described at
// the screen's resolution and scaled to the printer's. A line wider than the
// page is cut at its right edge; tabs stop every 8 columns. Returns false,
// the job aborted, when the printer refuses a step; the store's own failures
// (FileError) abort the job and pass on.
bool PrintReport(HDC printerDc, const ReportStore& store, const LOGFONTW& font, std::wstring_view documentName);

}  // namespace verilote::win
