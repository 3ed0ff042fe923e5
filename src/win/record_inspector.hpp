// The record inspector of the Win32 window: a finding line of the report
// opened on its record, in a modeless window of its own (one at a time, made
// once and shown again). The title names the record, its kind and the file;
// the finding's line; a report-style list of the record's fields (Campo,
// Posições, Nome, Encontrado, Esperado) with the fields the finding names
// highlighted; the raw record in a fixed-pitch font under a ruler of
// positions, those fields' bytes marked; "Anterior" and "Próximo" step to the
// findings before and after it and the report list follows. What it shows is
// desk/record_inspection.hpp's; this adds the drawing.
#pragma once

#include <windows.h>
// After windows.h:
#include <commctrl.h>

#include <cstdint>
#include <memory>
#include <mutex>
#include <optional>

#include "desk/finding_index.hpp"
#include "desk/record_inspection.hpp"
#include "desk/record_locator.hpp"

namespace verilote {
class ReportStore;
}

namespace verilote::win {

class ReportList;

// The record locator the inspector reads records through, shared with the
// main window's primer thread, which marks a file's records after a run.
struct SharedLocator {
  std::mutex mutex;
  RecordLocator locator;
};

class RecordInspector {
 public:
  RecordInspector(HWND owner, const ReportStore& store, const FindingIndex& findings, ReportList& report,
                  std::shared_ptr<SharedLocator> locator);
  ~RecordInspector();
  RecordInspector(const RecordInspector&) = delete;
  RecordInspector& operator=(const RecordInspector&) = delete;

  HWND Handle() const { return window_; }

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

  // The parts, for the tests.
  const RecordInspection& Shown() const { return shown_; }
  HWND Fields() const { return fields_; }
  HWND Message() const { return message_; }
  HWND PreviousButton() const { return previous_; }
  HWND NextButton() const { return next_; }

 private:
  static LRESULT CALLBACK Proc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
  static LRESULT CALLBACK RawProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
  LRESULT Handle(UINT message, WPARAM wParam, LPARAM lParam);
  LRESULT DrawRow(NMLVCUSTOMDRAW& draw) const;
  void Show(const FindingIndex::Entry& entry);
  void Layout();
  void PlaceOver(HWND owner);
  int Scale(int pixels) const;
  // The raw record's view: painting and its horizontal scroll bar.
  void PaintRaw();
  void ScrollRaw(int to);
  void SizeRawScroll();

  const ReportStore& store_;
  const FindingIndex& findings_;
  ReportList& report_;
  std::shared_ptr<SharedLocator> locator_;
  RecordInspection shown_;
  std::optional<std::uint64_t> line_;
  int chosen_ = -1;   // the list's selected row, marked in the raw record too
  int rawFirst_ = 0;  // the first position the raw view shows, from 0

  HWND window_ = nullptr;
  HWND heading_ = nullptr;
  HWND findingLine_ = nullptr;
  HWND message_ = nullptr;
  HWND fields_ = nullptr;
  HWND raw_ = nullptr;
  HWND previous_ = nullptr;
  HWND next_ = nullptr;
  HWND close_ = nullptr;
  HFONT uiFont_ = nullptr;
  HFONT boldFont_ = nullptr;
  HFONT fixedFont_ = nullptr;
  int charWidth_ = 8;
  int lineHeight_ = 16;
  int dpi_ = 96;
};

}  // namespace verilote::win
