// Everything a command needs from the world outside the core: the window
// implements it with Qt, verilote-cli with its arguments and stdout, the tests
// with a scripted fake. All texts are Windows-1252 bytes.
#pragma once

#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "app/fields.hpp"

namespace verilote {

struct CivilDate {
  int year = 0;
  int month = 0;
  int day = 0;
  friend bool operator==(const CivilDate&, const CivilDate&) = default;
};

// Entries of the file dialog's filter "Remessa|*.REM|Retorno|*.RET|Texto|*.TXT|Todos|*.*",
// numbered from 1 as the commands preselect them.
enum class FileFilter { Remessa = 1, Retorno = 2, Texto = 3, Todos = 4 };

class Host {
 public:
  virtual ~Host() = default;

  // Modal one-line prompt. Returns the edited text on OK and `defaultText` on
  // Cancel; commands never tell the two apart.
  virtual std::string InputBox(std::string_view caption, std::string_view prompt, std::string_view defaultText) = 0;

  // The file-open dialog with its title and preselected filter entry. Returns
  // the chosen path, or nothing when the user cancels.
  virtual std::optional<std::string> OpenFile(std::string_view title, FileFilter filter) = 0;

  // Modal message box with an OK button; a carriage return breaks the line.
  virtual void ShowMessage(std::string_view text) = 0;

  // The report (Memo1): clear, append a line at the end, read all lines.
  virtual void ReportClear() = 0;
  virtual void ReportAppend(std::string_view line) = 0;
  virtual std::vector<std::string> ReportLines() = 0;
  // Every report line in order, each handed to `line` as it is read: the
  // copy commands stream a report of any size this way. By default, the
  // lines of ReportLines().
  virtual void ForEachReportLine(const std::function<void(std::string_view)>& line);

  // A report line that names a record and some of its fields: written as
  // ReportAppend(finding.line) writes it; hosts that show findings (check's
  // JSON, the window's inspector) keep the rest too.
  virtual void ReportFinding(const Finding& finding) { ReportAppend(finding.line); }

  // The directory that holds the running program, with no trailing separator.
  virtual std::string ProgramDirectory() = 0;

  virtual CivilDate Today() = 0;

  virtual void Sleep(int milliseconds) = 0;

  // A choice among `items` (at least one): the index of the chosen one, or
  // nothing on Cancel. The window shows a list; by default it is an input box
  // whose prompt numbers the items and whose answer is a number (empty by
  // default, so that Cancel chooses nothing).
  virtual std::optional<std::size_t> ChooseItem(std::string_view caption, std::string_view prompt,
                                                const std::vector<std::string>& items);

  // Reading progress of the file a command is working through. The window
  // shows it and throws CommandStopped from here when the user presses Stop.
  virtual void Progress(std::uint64_t bytesRead, std::uint64_t bytesTotal) {
    (void)bytesRead;
    (void)bytesTotal;
  }
};

}  // namespace verilote
