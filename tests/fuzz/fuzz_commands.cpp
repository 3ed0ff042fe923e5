// Runs every command the menu has built on random input. The input picks the
// command, the answers to its input boxes, and the bytes of the file its
// dialogs open:
//   command:  a handler name and a NUL ("SIGCBRemessa1Click\0"), as the seed
//             corpus writes it, or else one byte (index into the built commands);
//   answers:  one byte n, then n % 4 answers, each ended by a line feed;
//   file:     the rest.
// Conversion and file errors are the commands' documented way to stop;
// anything else (another exception, a crash, a sanitizer report, a hang) is a
// fault.
#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <string_view>
#include <vector>

#include "app/command_table.hpp"
#include "support/fake_host.hpp"

namespace {

struct Command {
  std::string_view name;
  verilote::Handler handler;
};

std::vector<Command> BuiltCommands() {
  std::vector<Command> commands;
  for (const verilote::MenuRow& row : verilote::MenuRows())
    if (const verilote::Handler handler = verilote::FindHandler(row.handler)) commands.push_back({row.handler, handler});
  return commands;
}

verilote::Handler PickCommand(const std::vector<Command>& commands, std::string_view& input) {
  if (const std::size_t nul = input.find('\0'); nul != std::string_view::npos && nul <= 80)
    for (const Command& command : commands)
      if (input.substr(0, nul) == command.name) {
        input.remove_prefix(nul + 1);
        return command.handler;
      }
  const auto index = static_cast<unsigned char>(input[0]);
  input.remove_prefix(1);
  return commands[index % commands.size()].handler;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  static const std::vector<Command> commands = BuiltCommands();
  static const std::filesystem::path workDir = [] {
    auto dir = std::filesystem::temp_directory_path() / "verilote-fuzz-program-dir";
    std::filesystem::create_directories(dir);
    return dir;
  }();
  if (size == 0 || commands.empty()) return 0;
  std::string_view input(reinterpret_cast<const char*>(data), size);
  const verilote::Handler handler = PickCommand(commands, input);

  verilote::testing::FakeHost host;
  if (!input.empty()) {
    const int count = static_cast<unsigned char>(input[0]) % 4;
    input.remove_prefix(1);
    for (int i = 0; i < count; ++i) {
      const std::size_t end = input.find('\n');
      host.answers.emplace_back(input.substr(0, end));
      input.remove_prefix(end == std::string_view::npos ? input.size() : end + 1);
    }
  }
  verilote::testing::TempFile file(input, ".rem");
  host.programDirectory = workDir.string();
  for (int i = 0; i < 4; ++i) host.files.push_back(file.path());
  if (verilote::RunCommand(handler, host).internalError) std::abort();
  return 0;
}
