#include "support/fake_host.hpp"

#include <atomic>
#include <fstream>
#include <sstream>

#include "app/platform.hpp"

namespace verilote::testing {

std::string FakeHost::InputBox(std::string_view caption, std::string_view prompt, std::string_view defaultText) {
  prompts.push_back({std::string(caption), std::string(prompt), std::string(defaultText)});
  if (answers.empty()) return std::string(defaultText);
  std::string answer = std::move(answers.front());
  answers.pop_front();
  return answer;
}

std::optional<std::string> FakeHost::OpenFile(std::string_view title, FileFilter filter) {
  dialogs.push_back({std::string(title), filter});
  if (files.empty()) return std::nullopt;
  std::string path = std::move(files.front());
  files.pop_front();
  return path;
}

void FakeHost::ReportClear() {
  report.clear();
  ++clears;
}

TempFile::TempFile(std::string_view bytes, std::string_view suffix) {
  static std::atomic<int> counter{0};
  path_ = (std::filesystem::temp_directory_path() / ("verilote-test-" + std::to_string(platform::ProcessId()) + "-" +
                                                     std::to_string(counter++) + std::string(suffix)))
              .string();
  std::ofstream(path_, std::ios::binary) << bytes;
}

TempFile::~TempFile() {
  std::error_code ignored;
  std::filesystem::remove(path_, ignored);
}

std::string ReadBytes(const std::string& path) {
  std::ifstream file(path, std::ios::binary);
  std::ostringstream bytes;
  bytes << file.rdbuf();
  return bytes.str();
}

std::vector<std::string> Lines(std::initializer_list<std::string_view> lines) { return {lines.begin(), lines.end()}; }

std::string CrLfFile(const std::vector<std::string>& lines) {
  std::string out;
  for (const std::string& line : lines) out += line + "\r\n";
  return out;
}

}  // namespace verilote::testing
