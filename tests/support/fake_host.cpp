#include "support/fake_host.hpp"

#include <algorithm>
#include <atomic>
#include <fstream>
#include <sstream>

#include "app/platform.hpp"
#include "app/report.hpp"

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

ScratchDir::ScratchDir(std::string_view prefix) {
  static std::atomic<int> counter{0};
  path = std::filesystem::temp_directory_path() / platform::PathOf(Cat(prefix, platform::ProcessId(), "-", counter++));
  std::filesystem::create_directories(path);
}

ScratchDir::~ScratchDir() {
  std::error_code ignored;
  std::filesystem::permissions(path, std::filesystem::perms::owner_all, ignored);  // a test may have closed it
  std::filesystem::remove_all(path, ignored);
}

std::string ScratchDir::operator/(std::string_view name) const {
  return platform::Utf8Of(path / platform::PathOf(name));
}

std::vector<std::string> ScratchDir::Entries() const {
  std::vector<std::string> names;
  for (const auto& entry : std::filesystem::directory_iterator(path))
    names.push_back(platform::Utf8Of(entry.path().filename()));
  std::sort(names.begin(), names.end());
  return names;
}

std::string ReadBytes(const std::string& path) {
  std::ifstream file(platform::PathOf(path), std::ios::binary);  // a UTF-8 name, wide on Windows
  std::ostringstream bytes;
  bytes << file.rdbuf();
  return bytes.str();
}

std::vector<std::string> Lines(std::initializer_list<std::string_view> lines) { return {lines.begin(), lines.end()}; }

std::string Joined(const std::vector<std::string>& lines, std::string_view end) {
  std::string out;
  for (const std::string& line : lines) (out += line) += end;
  return out;
}

}  // namespace verilote::testing
