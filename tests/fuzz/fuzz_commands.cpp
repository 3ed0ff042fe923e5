// Runs every command the menu has built on random bytes: the first byte picks
// the command, the rest is the file its dialogs open (input boxes keep their
// defaults). Conversion and file errors are the commands' documented way to
// stop; anything else (another exception, a crash, a sanitizer report, a
// hang) is a fault.
#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <string_view>
#include <vector>

#include "app/command_table.hpp"
#include "support/fake_host.hpp"

namespace {

std::vector<verilote::Handler> BuiltCommands() {
  std::vector<verilote::Handler> handlers;
  for (const verilote::MenuRow& row : verilote::MenuRows())
    if (const verilote::Handler handler = verilote::FindHandler(row.handler)) handlers.push_back(handler);
  return handlers;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  static const std::vector<verilote::Handler> handlers = BuiltCommands();
  static const std::filesystem::path workDir = [] {
    auto dir = std::filesystem::temp_directory_path() / "verilote-fuzz-program-dir";
    std::filesystem::create_directories(dir);
    return dir;
  }();
  if (size == 0 || handlers.empty()) return 0;
  const std::string_view content(reinterpret_cast<const char*>(data) + 1, size - 1);
  verilote::testing::TempFile file(content, ".rem");
  verilote::testing::FakeHost host;
  host.programDirectory = workDir.string();
  for (int i = 0; i < 4; ++i) host.files.push_back(file.path());
  if (verilote::RunCommand(handlers[data[0] % handlers.size()], host).internalError) std::abort();
  return 0;
}
