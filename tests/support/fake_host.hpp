// A scripted host for tests: answers input boxes and file dialogs from queues,
// records every prompt, dialog and message, and keeps the report in memory.
#pragma once

#include <cstdint>
#include <deque>
#include <filesystem>
#include <initializer_list>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "app/host.hpp"

namespace verilote::testing {

class FakeHost : public Host {
 public:
  struct Prompt {
    std::string caption, prompt, defaultText;
  };
  struct Dialog {
    std::string title;
    FileFilter filter;
  };

  // Scripted answers: input boxes take `answers` in order (then their
  // default); file dialogs take `files` in order (then cancel).
  std::deque<std::string> answers;
  std::deque<std::string> files;

  // What the command did.
  std::vector<Prompt> prompts;
  std::vector<Dialog> dialogs;
  std::vector<std::string> messages;
  std::vector<std::string> report;
  int clears = 0;

  CivilDate today{2026, 12, 6};
  std::string programDirectory = std::filesystem::temp_directory_path().string();

  std::string InputBox(std::string_view caption, std::string_view prompt, std::string_view defaultText) override;
  std::optional<std::string> OpenFile(std::string_view title, FileFilter filter) override;
  void ShowMessage(std::string_view text) override { messages.emplace_back(text); }
  void ReportClear() override;
  void ReportAppend(std::string_view line) override { report.emplace_back(line); }
  std::vector<std::string> ReportLines() override { return report; }
  std::string ProgramDirectory() override { return programDirectory; }
  CivilDate Today() override { return today; }
  void Sleep(int) override {}
};

// A file with the given bytes in the temporary directory, removed when the
// object goes.
class TempFile {
 public:
  explicit TempFile(std::string_view bytes, std::string_view suffix = ".txt");
  ~TempFile();
  TempFile(const TempFile&) = delete;
  TempFile& operator=(const TempFile&) = delete;
  const std::string& path() const { return path_; }

 private:
  std::string path_;
};

// A fresh directory in the temporary directory (its name begins with
// `prefix`, UTF-8), removed with all it holds when the object goes.
struct ScratchDir {
  explicit ScratchDir(std::string_view prefix = "verilote-dir-");
  ~ScratchDir();
  ScratchDir(const ScratchDir&) = delete;
  ScratchDir& operator=(const ScratchDir&) = delete;
  std::filesystem::path path;
  std::string operator/(std::string_view name) const;  // a name in it, UTF-8
  std::vector<std::string> Entries() const;            // the names it holds, sorted
};

// The whole content of a file, as bytes.
std::string ReadBytes(const std::string& path);

// Report lines from literals (the _cp ones are string_views).
std::vector<std::string> Lines(std::initializer_list<std::string_view> lines);

// The first line of an error message: the layout's own text, before the line
// that says where it happened.
inline std::string FirstLine(const std::string& message) { return message.substr(0, message.find('\n')); }

// Lines joined by `end` ("\r\n", "\r" or "\n"), with a final one.
std::string Joined(const std::vector<std::string>& lines, std::string_view end);
// Lines joined by CR LF with a final CR LF: a file as the bank's programs write it.
inline std::string CrLfFile(const std::vector<std::string>& lines) { return Joined(lines, "\r\n"); }

}  // namespace verilote::testing
