// "Validar arquivo (detectar layout)": the file is chosen once (or dropped on
// the window), its layout detected, and the validator of that layout run on
// it; the report starts with the detection line, then the validator's report
// as its own command writes it.
#pragma once

#include <optional>
#include <string>
#include <vector>

#include "app/command_table.hpp"
#include "app/host.hpp"
#include "detect/layout_detection.hpp"

namespace verilote {

Verdict ValidarArquivoDetectarLayout1Click(Host& host);

// Runs the validator of `layout` on `path` through `host`: the validator's file
// dialog is answered with `path`, and `headLines` are the report's first lines,
// also when the validator clears the report.
Verdict RunValidatorOn(const LayoutRow& layout, const std::string& path, const std::vector<std::string>& headLines,
                       Host& host);

// The host as a command sees it when its first file dialog is answered ahead:
// a file dropped on the window, or the file a detection chose.
class AnsweredFileHost final : public Host {
 public:
  AnsweredFileHost(Host& host, std::string path) : host_(host), path_(std::move(path)) {}
  std::string InputBox(std::string_view caption, std::string_view prompt, std::string_view defaultText) override {
    return host_.InputBox(caption, prompt, defaultText);
  }
  std::optional<std::string> OpenFile(std::string_view title, FileFilter filter) override;
  std::optional<std::size_t> ChooseItem(std::string_view caption, std::string_view prompt,
                                        const std::vector<std::string>& items) override {
    return host_.ChooseItem(caption, prompt, items);
  }
  void ShowMessage(std::string_view text) override { host_.ShowMessage(text); }
  void ReportClear() override;
  void ReportAppend(std::string_view line) override;
  void ReportFinding(const Finding& finding) override;
  std::vector<std::string> ReportLines() override { return host_.ReportLines(); }
  void ForEachReportLine(const std::function<void(std::string_view)>& line) override { host_.ForEachReportLine(line); }
  std::string ProgramDirectory() override { return host_.ProgramDirectory(); }
  CivilDate Today() override { return host_.Today(); }
  void Sleep(int milliseconds) override { host_.Sleep(milliseconds); }
  void Progress(std::uint64_t bytesRead, std::uint64_t bytesTotal) override { host_.Progress(bytesRead, bytesTotal); }

  // Lines that head the report: written before the first line the command
  // appends after each clear, or at the end when it appends none.
  void HeadWith(std::vector<std::string> lines) { head_ = std::move(lines); }
  void WriteHeadIfPending();

 private:
  Host& host_;
  std::string path_;
  bool answered_ = false;
  std::vector<std::string> head_;
  bool headWritten_ = false;
};

}  // namespace verilote
