// "Imprimir a tela" printed for real: Wine's PostScript driver on a printer
// added to the prefix, its job written to a file whose pages and text
// positions the tests read back.
#include "win/report_print.hpp"

#include <gtest/gtest.h>
#include <windows.h>
#include <winspool.h>

#include <algorithm>
#include <cmath>
#include <fstream>
#include <regex>
#include <string>
#include <vector>

#include "desk/report_store.hpp"

namespace verilote::win {
namespace {

struct Text {
  int x, y;
  std::string glyphs;  // a letter as such, any other glyph as <name>
};
using Pages = std::vector<std::vector<Text>>;

// Prints `lines` on a PostScript printer, added to the prefix for the job,
// that writes to a file, and reads the pages back.
Pages Print(const std::vector<std::string>& lines, int* column, int* row) {
  static const wchar_t kPrinter[] = L"Verilote PostScript";
  const std::string source = VERILOTE_SOURCE_DIR "/tests/win/generic.ppd";
  std::wstring ppd(source.begin(), source.end());
  std::replace(ppd.begin(), ppd.end(), L'/', L'\\');
  DRIVER_INFO_3W driver{};
  driver.cVersion = 3;
  driver.pName = const_cast<wchar_t*>(L"Wine PostScript Driver");
  driver.pEnvironment = const_cast<wchar_t*>(L"Windows x64");
  driver.pDriverPath = driver.pConfigFile = const_cast<wchar_t*>(L"wineps.drv");
  driver.pDataFile = ppd.data();
  EXPECT_TRUE(AddPrinterDriverExW(nullptr, 3, reinterpret_cast<BYTE*>(&driver), APD_COPY_NEW_FILES));
  // Wine's driver reads its data file from the driver folder, by its name.
  wchar_t folder[MAX_PATH];
  DWORD size = 0;
  GetPrinterDriverDirectoryW(nullptr, nullptr, 1, reinterpret_cast<BYTE*>(folder), sizeof folder, &size);
  EXPECT_TRUE(CopyFileW(ppd.c_str(), (std::wstring(folder) + L"\\3\\generic.ppd").c_str(), FALSE));
  wchar_t output[MAX_PATH];
  GetFullPathNameW(L"report_print_test.ps", MAX_PATH, output, nullptr);
  DeleteFileW(output);  // a job adds to the port's file
  PRINTER_INFO_2W info{};
  info.pPrinterName = const_cast<wchar_t*>(kPrinter);
  info.pPortName = output;
  info.pDriverName = driver.pName;
  info.pPrintProcessor = const_cast<wchar_t*>(L"WinPrint");
  info.pDatatype = const_cast<wchar_t*>(L"RAW");
  // A printer left by an earlier run may write elsewhere: it goes first.
  PRINTER_DEFAULTSW all{nullptr, nullptr, PRINTER_ALL_ACCESS};
  if (HANDLE old = nullptr; OpenPrinterW(const_cast<wchar_t*>(kPrinter), &old, &all)) {
    DeletePrinter(old);
    ClosePrinter(old);
  }
  HANDLE printer = AddPrinterW(nullptr, 2, reinterpret_cast<BYTE*>(&info));
  EXPECT_NE(printer, nullptr) << GetLastError();

  HDC dc = CreateDCW(L"WINSPOOL", kPrinter, nullptr, nullptr);
  EXPECT_NE(dc, nullptr);
  *column = static_cast<int>(std::lround(GetDeviceCaps(dc, HORZRES) / 100.0));
  *row = static_cast<int>(std::lround(GetDeviceCaps(dc, VERTRES) / 60.0));
  ReportStore store;
  for (const std::string& line : lines) store.Append(line);
  EXPECT_TRUE(PrintReport(dc, store, PrintFont(), L"Verilote"));
  DeleteDC(dc);
  DeletePrinter(printer);
  ClosePrinter(printer);

  Pages pages;
  std::ifstream in(output);
  const std::regex move(R"((\d+) (\d+) moveto)"), glyph(R"(/(\S+) glyphshow)");
  std::smatch m;
  for (std::string line; std::getline(in, line);) {
    if (line.starts_with("%%Page: ")) pages.emplace_back();
    if (std::regex_match(line, m, move)) pages.back().push_back({std::stoi(m[1]), std::stoi(m[2]), ""});
    if (std::regex_match(line, m, glyph)) {
      const std::string name = m[1];
      pages.back().back().glyphs += name == "space" || name == "uni00A0" ? " "
                                    : name.size() == 1                   ? name
                                                                         : "<" + name + ">";
    }
  }
  return pages;
}

TEST(ReportPrint, FiftySixLinesAPageFromRowTwoAtColumnThree) {
  std::vector<std::string> lines;
  for (char i = 0; i < 57; ++i) lines.push_back({'L', char('a' + i / 26), char('a' + i % 26)});
  int column = 0, row = 0;
  const Pages pages = Print(lines, &column, &row);
  ASSERT_EQ(pages.size(), 2u);
  ASSERT_EQ(pages[0].size(), 56u);
  ASSERT_EQ(pages[1].size(), 1u);
  for (int i = 0; i < 56; ++i) {
    EXPECT_EQ(pages[0][i].glyphs, lines[i]);
    EXPECT_EQ(pages[0][i].x, 3 * column);
    EXPECT_EQ(pages[0][i].y - pages[0][0].y, i * row);
  }
  EXPECT_EQ(pages[1][0].glyphs, lines[56]);
  EXPECT_EQ(pages[1][0].y, pages[0][0].y);
}

TEST(ReportPrint, Windows1252TextAndALineCutAtThePageEdge) {
  int column = 0, row = 0;
  const Pages pages = Print({"A\xE7\xE3o", std::string(5000, 'x'), ""}, &column, &row);
  ASSERT_EQ(pages.size(), 1u);
  ASSERT_EQ(pages[0].size(), 2u);  // the empty line prints nothing
  EXPECT_EQ(pages[0][0].glyphs, "A<ccedilla><atilde>o");
  // The test printer's page is 559 points wide at 300 dpi: after the margin of
  // 3 columns, 2260 pixels, some 113 characters of 8-point Courier (0.6 em).
  EXPECT_GE(pages[0][1].glyphs.size(), 105u);
  EXPECT_LE(pages[0][1].glyphs.size(), 125u);
}

}  // namespace
}  // namespace verilote::win
