// The report store: lines come back byte for byte from the temporary files,
// whatever bytes they hold and across the blocks of its index and its reads;
// a run on the worker thread writes into it and a stopped run says so.
#include "desk/report_store.hpp"

#include <gtest/gtest.h>

#include <condition_variable>
#include <mutex>
#include <thread>

#include "desk/command_runner.hpp"
#include "detect/detect_command.hpp"
#include "app/errors.hpp"
#include "app/report.hpp"
#include "support/filling_files.hpp"

namespace verilote {
namespace {

std::vector<std::string> All(const ReportStore& store, std::uint64_t first = 0, std::uint64_t count = UINT64_MAX) {
  std::vector<std::string> lines;
  store.ForEach(first, count, [&](std::uint64_t index, std::string_view line) {
    EXPECT_EQ(index, first + lines.size());
    lines.emplace_back(line);
    return true;
  });
  return lines;
}

TEST(ReportStoreTest, LinesComeBackByteForByte) {
  std::string everyByte;
  for (int b = 0; b < 256; ++b) everyByte += static_cast<char>(b);  // CR LF inside a line too
  const std::vector<std::string> lines = {"", "Registro numero 1", everyByte, std::string(3 << 20, 'x'), "", "fim"};
  ReportStore store;
  for (const std::string& line : lines) store.Append(line);
  EXPECT_EQ(All(store), lines);
  EXPECT_EQ(store.Size(), lines.size());
  EXPECT_EQ(store.LongestLine(), 3u << 20);
  EXPECT_EQ(store.LineLength(2), 256u);
  EXPECT_EQ(store.Read(1, 9, 6), "numero");
  EXPECT_EQ(store.Read(1, 16), "1");
  EXPECT_EQ(store.Read(1, 17), "");  // past the line's end
  EXPECT_EQ(store.Read(6), "");      // past the report's end
  EXPECT_EQ(All(store, 4, 10), (std::vector<std::string>{"", "fim"}));
}

TEST(ReportStoreTest, RangesAcrossIndexBlocksAndClear) {
  ReportStore store;
  for (int n = 0; n < 200000; ++n) store.Append(Cat("Registro numero ", n, std::string(n % 7, ' ')));
  EXPECT_EQ(store.Read(65536), "Registro numero 65536" + std::string(65536 % 7, ' '));
  const std::vector<std::string> range = All(store, 65530, 20);
  ASSERT_EQ(range.size(), 20u);
  for (int i = 0; i < 20; ++i)
    EXPECT_EQ(range[i], Cat("Registro numero ", 65530 + i, std::string((65530 + i) % 7, ' ')));
  int seen = 0;
  store.ForEach(0, UINT64_MAX, [&](std::uint64_t, std::string_view) { return ++seen < 3; });
  EXPECT_EQ(seen, 3);  // the sink stops early

  const std::uint64_t generation = store.Generation();
  store.Clear();
  EXPECT_NE(store.Generation(), generation);
  EXPECT_EQ(store.Size(), 0u);
  EXPECT_EQ(store.LongestLine(), 0u);
  store.Append("novo");
  EXPECT_EQ(All(store), std::vector<std::string>{"novo"});
}

// Appends numbered lines of 100 bytes until the store fails; returns how many
// it took (the one that met the failure included).
std::uint64_t AppendUntilFull(ReportStore& store) {
  for (std::uint64_t n = 0;; ++n) {
    try {
      store.Append(Cat("Linha ", n, std::string(100 - Cat("Linha ", n).size(), '.')));
    } catch (const FileError&) {
      return n + 1;
    }
  }
}

// A temporary folder that fills up: the lines taken read back byte for byte,
// from the files and from memory alike, every reader stays within them, the
// store says why it stopped, and it takes no more lines while it is full.
TEST(ReportStoreTest, AFullFolderKeepsTheLinesTakenAndSaysWhy) {
  struct Case {
    const char* name;
    TemporaryFileMaker files;
    std::uint64_t upTo;  // bytes of lines taken: they go to the files 1 MiB at a time
  };
  std::vector<Case> cases = {{"refusing every write", verilote::testing::RefusingFiles(), 1 << 20}};
#ifdef VERILOTE_HAS_FILLING_FILES
  // Room for 2.5 MiB: the third block is written in part.
  cases.push_back({"filling up", verilote::testing::FillingFiles(5 << 19).Maker(), 3 << 20});
#endif
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    ReportStore store(c.files);
    const std::uint64_t taken = AppendUntilFull(store);
    EXPECT_GE(taken * 102, c.upTo);  // each block goes once it passes 1 MiB
    EXPECT_LT(taken * 102, c.upTo + 3 * 102);
    EXPECT_NE(store.Failure().find("cannot write a temporary file"), std::string::npos) << store.Failure();
    ASSERT_EQ(store.Size(), taken);
    const std::vector<std::string> lines = All(store);
    ASSERT_EQ(lines.size(), taken);
    for (std::uint64_t n = 0; n < taken; ++n)
      ASSERT_EQ(lines[n].substr(0, Cat("Linha ", n, '.').size()), Cat("Linha ", n, '.'));
    EXPECT_EQ(store.Read(taken - 1), lines.back());
    EXPECT_EQ(store.LineLength(taken - 1), 100u);
    EXPECT_EQ(store.Read(taken), "");
    EXPECT_EQ(store.LineLength(taken), 0u);

    EXPECT_THROW(store.Append("mais uma"), FileError);
    EXPECT_EQ(store.Size(), taken);  // memory stays flat while the folder is full
    store.AppendKept("fim");
    EXPECT_EQ(store.Read(taken), "fim");
    EXPECT_EQ(All(store, taken - 1), (std::vector<std::string>{lines.back(), "fim"}));
    store.Clear();
    EXPECT_EQ(store.Failure(), "");
  }
}

// A folder where no new file can be made: Clear fails and the report it
// would have cleared stays whole and readable.
TEST(ReportStoreTest, AClearThatCannotMakeItsFileLeavesTheReport) {
  int made = 0;
  ReportStore store([&made](std::string& folder, platform::SystemError& error) -> std::FILE* {
    if (made++ == 0) return platform::TemporaryFile(folder, error);
    error.code = 1;  // whatever the cause
    return nullptr;
  });
  for (int n = 0; n < 20000; ++n) store.Append(Cat("Registro numero ", n, std::string(80, ' ')));
  const std::uint64_t generation = store.Generation();
  EXPECT_THROW(store.Clear(), FileError);
  EXPECT_EQ(store.Generation(), generation);
  ASSERT_EQ(store.Size(), 20000u);
  EXPECT_EQ(store.Read(0, 0, 17), "Registro numero 0");
  EXPECT_EQ(store.Read(19999, 0, 21), "Registro numero 19999");
  EXPECT_EQ(All(store).size(), 20000u);
}

// A window whose questions are never asked: it only hears the end.
class Window final : public WindowQuestions {
 public:
  std::string InputBox(std::string_view, std::string_view, std::string_view d) override { return std::string(d); }
  std::optional<std::string> OpenFile(std::string_view, FileFilter) override { return std::nullopt; }
  std::optional<std::size_t> ChooseItem(std::string_view, std::string_view, const std::vector<std::string>&) override {
    return std::nullopt;
  }
  void ShowMessage(std::string_view) override {}
  void Finished(const Outcome& outcome) override {
    const std::lock_guard lock(mutex);
    ended = outcome;
    done.notify_all();
  }
  Outcome Wait() {
    std::unique_lock lock(mutex);
    done.wait(lock, [this] { return ended.has_value(); });
    return *ended;
  }
  std::mutex mutex;
  std::condition_variable done;
  std::optional<Outcome> ended;
};

Verdict WritesUntilStopped(Host& host) {
  for (int n = 1;; ++n) host.ReportAppend(Cat("Registro numero ", n));
}

TEST(CommandRunnerTest, WritesIntoTheStoreAndSaysWhenStopped) {
  ReportStore store;
  store.Append("antes");
  Window window;
  CommandRunner runner(store, window, ".");
  ASSERT_TRUE(runner.Start(WritesUntilStopped));
  EXPECT_FALSE(runner.Start(WritesUntilStopped));  // one run at a time
  while (store.Size() < 1000) std::this_thread::yield();
  runner.RequestStop();
  const Outcome outcome = window.Wait();
  EXPECT_TRUE(runner.Join());
  EXPECT_EQ(outcome.status, Outcome::Status::Aborted);
  const std::vector<std::string> lines = All(store);
  EXPECT_EQ(runner.FirstLine(), 1u);  // the run's lines follow the one it found
  EXPECT_EQ(lines[1], "Registro numero 1");
  EXPECT_EQ(lines.back(), "Interrompido pelo usuário."_cp);
  EXPECT_EQ(lines[lines.size() - 2], Cat("Registro numero ", lines.size() - 2));
}

// A run whose report the temporary folder cannot hold ends as a failure, on
// the line that says the report is cut, every line it wrote before kept.
TEST(CommandRunnerTest, AReportCutByAFullFolderEndsOnALineThatSaysSo) {
  ReportStore store(verilote::testing::RefusingFiles());
  store.Append("antes");
  Window window;
  CommandRunner runner(store, window, ".");
  ASSERT_TRUE(runner.Start(WritesUntilStopped));
  const Outcome outcome = window.Wait();
  EXPECT_TRUE(runner.Join());
  EXPECT_EQ(outcome.status, Outcome::Status::Aborted);
  const std::string cut(
      "Relatório incompleto: não foi possível guardar o relatório inteiro na pasta temporária. As linhas acima foram mantidas."_cp);
  EXPECT_EQ(outcome.message.substr(0, cut.size() + 1), cut + "\n");
  EXPECT_NE(outcome.message.find("cannot write a temporary file"), std::string::npos) << outcome.message;
  const std::vector<std::string> lines = All(store);
  ASSERT_GT(lines.size(), 3u);
  EXPECT_EQ(lines[0], "antes");
  EXPECT_EQ(lines.back(), cut);
  EXPECT_EQ(lines[lines.size() - 2], Cat("Registro numero ", lines.size() - 2));
}

// A dropped file's report starts with the detection's lines, the verdict and
// one layout a line: each finding line below them still opens its own record.
TEST(CommandRunnerTest, FindingsBelowTheDetectionLinesOpenTheirRecords) {
  ReportStore store;
  Window window;
  CommandRunner runner(store, window, ".");
  const std::string sigcb = std::string(VERILOTE_SOURCE_DIR) + "/examples/sigcb240/remessa_sigcb240_com_erros.rem";
  ASSERT_TRUE(runner.Start(FindHandler("ValidarArquivoDetectarLayout1Click"), sigcb));
  EXPECT_EQ(window.Wait().status, Outcome::Status::Faulty);
  runner.Join();
  const std::vector<std::string> lines = All(store);
  ASSERT_EQ(lines[0], "Layout detectado: SIGCB CNAB 240");
  ASSERT_TRUE(lines[2].starts_with("descartado ")) << lines[2];
  std::uint64_t findings = 0;
  for (std::uint64_t i = 0; i < lines.size(); ++i) {
    const std::optional<FindingIndex::Entry> entry = runner.Findings().Of(store.Generation(), i);
    // The record a finding line names: "Linha 6 ...", "Registro numero 6 ...".
    std::string_view line = lines[i];
    const bool names = line.starts_with("Linha ") || line.starts_with("Registro numero ");
    if (!names) continue;
    line.remove_prefix(line.find_first_of("0123456789"));
    ASSERT_TRUE(entry) << i << ": " << lines[i];
    EXPECT_EQ(Cat(entry->record, " "), line.substr(0, line.find(' ') + 1)) << lines[i];
    EXPECT_EQ(entry->file, sigcb);
    ++findings;
  }
  EXPECT_EQ(findings, 9u);
}

}  // namespace
}  // namespace verilote
