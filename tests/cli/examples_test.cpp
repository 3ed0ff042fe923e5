// Every example that a command only reads, end to end through verilote-cli:
// report, messages and exit status byte for byte against the expected output
// under tests/examples (listed in tests/examples/runs.txt), and the layouts
// detection finds in it (the faulty examples too). After a deliberate
// change of a report, VERILOTE_UPDATE_EXAMPLES=1 rewrites the expected files;
// review their diff before committing them.
#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "cli/cli.hpp"
#include "detect/layout_detection.hpp"
#include "support/fake_host.hpp"

namespace verilote {
namespace {

namespace fs = std::filesystem;

struct ExampleRun {
  std::string example;
  int status;
  std::string layouts;  // "sigcb240", "cobcaixa-titulos-233,cobcaixa-titulos-220", "-" for none
  std::vector<std::string> args;
};

std::vector<ExampleRun> Runs() {
  std::ifstream manifest(VERILOTE_SOURCE_DIR "/tests/examples/runs.txt");
  std::vector<ExampleRun> runs;
  for (std::string line; std::getline(manifest, line);) {
    if (line.empty() || line[0] == '#') continue;
    std::istringstream words(line);
    ExampleRun run;
    std::string handler;
    words >> run.example >> run.status >> run.layouts >> handler;
    run.args = {"run", handler, "--file", "examples/" + run.example};
    for (std::string word; words >> word;) run.args.push_back(word);
    run.args.insert(run.args.end(), {"--today", "06/12/2026"});
    runs.push_back(run);
  }
  return runs;
}

// What a file holds; empty when it does not exist.
std::string Expected(const fs::path& path) { return fs::exists(path) ? testing::ReadBytes(path.string()) : ""; }

void Update(const fs::path& path, const std::string& bytes) {
  fs::create_directories(path.parent_path());
  if (bytes.empty())
    fs::remove(path);
  else
    std::ofstream(path, std::ios::binary) << bytes;
}

TEST(Examples, ReportsAsExpected) {
  const fs::path top = VERILOTE_SOURCE_DIR, before = fs::current_path();
  fs::current_path(top);  // the reports name the examples by their path from here
  const bool update = std::getenv("VERILOTE_UPDATE_EXAMPLES") != nullptr;
  const std::vector<ExampleRun> runs = Runs();
  std::size_t examples = 0;
  // Each example is listed, but the inputs of the rebuilding tools and the
  // bank's return files, which their own tests read.
  for (const auto& entry : fs::recursive_directory_iterator(top / "examples")) {
    const std::string folder = entry.path().parent_path().filename().string();
    examples += entry.is_regular_file() && entry.path().extension() != ".sh" && folder != "recupera_bd" &&
                folder != "sicob_conciliacao" && folder != "retorno";
  }
  EXPECT_EQ(runs.size(), examples) << "an example is missing from tests/examples/runs.txt";
  for (const ExampleRun& run : runs) {
    const std::vector<std::string_view> args(run.args.begin(), run.args.end());
    std::ostringstream out, err;
    const int status = CliMain(args, out, err);
    const fs::path expected = top / "tests/examples" / run.example;
    if (update) {
      Update(expected.string() + ".out", out.str());
      Update(expected.string() + ".err", err.str());
    }
    EXPECT_EQ(status, run.status) << run.example << ": " << err.str();
    EXPECT_EQ(out.str(), Expected(expected.string() + ".out")) << run.example;
    EXPECT_EQ(err.str(), Expected(expected.string() + ".err")) << run.example;
    std::string detected;
    for (const LayoutRow* row : DetectLayout("examples/" + run.example).layouts)
      detected += (detected.empty() ? "" : ",") + std::string(row->name);
    EXPECT_EQ(detected.empty() ? "-" : detected, run.layouts) << run.example;
  }
  fs::current_path(before);
}

}  // namespace
}  // namespace verilote
