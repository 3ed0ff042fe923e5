#include "app/record_reader.hpp"

#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

#include "app/errors.hpp"
#include "support/fake_host.hpp"

namespace verilote {
namespace {

using testing::TempFile;

std::vector<std::string> ReadAll(const std::string& path) {
  RecordReader reader(path);
  std::vector<std::string> records;
  std::string record;
  while (reader.Next(record)) records.push_back(record);
  EXPECT_FALSE(reader.Next(record)) << "end of file must stay the end";
  return records;
}

struct ReadingCase {
  const char* name;
  std::string bytes;
  std::vector<std::string> records;
};

class ReadingRule : public ::testing::TestWithParam<ReadingCase> {};

TEST_P(ReadingRule, SplitsRecords) {
  TempFile file(GetParam().bytes);
  EXPECT_EQ(ReadAll(file.path()), GetParam().records);
}

INSTANTIATE_TEST_SUITE_P(Files, ReadingRule,
                         ::testing::Values(ReadingCase{"Empty", "", {}},
                                           ReadingCase{"CrLf", "AB\r\nCD\r\n", {"AB", "CD"}},
                                           ReadingCase{"LastLineWithoutTerminator", "AB\r\nCD", {"AB", "CD"}},
                                           ReadingCase{"LfOnlyIsOneRecord", "AB\nCD\nEF\n", {"AB\nCD\nEF\n"}},
                                           ReadingCase{"CrOnly", "AB\rCD\r", {"AB", "CD"}},
                                           ReadingCase{"OnlyOneLfSkipped", "AB\r\n\nCD", {"AB", "\nCD"}},
                                           ReadingCase{"BlankLineInTheMiddle", "AB\r\n\r\nCD\r\n", {"AB", "", "CD"}},
                                           ReadingCase{"OnlyTerminators", "\r\n\r\n", {"", ""}},
                                           ReadingCase{"CtrlZInTheMiddle",
                                                       "AB\r\nC\x1a"
                                                       "D\r\nEF\r\n",
                                                       {"AB", "C"}},
                                           ReadingCase{"CtrlZAfterLastTerminator", "AB\r\n\x1a", {"AB"}},
                                           ReadingCase{"CtrlZFirst",
                                                       "\x1a"
                                                       "AB\r\n",
                                                       {}},
                                           ReadingCase{"LfBeforeCr", "A\n\r\nB", {"A\n", "B"}},
                                           ReadingCase{"NulAndHighBytesKept",
                                                       std::string("A\0\xE9\xFF\r\n", 6),
                                                       {std::string("A\0\xE9\xFF", 4)}}),
                         [](const auto& info) { return info.param.name; });

TEST(RecordReader, TerminatorSplitAcrossBufferRefills) {
  // The reader refills its buffer every 256 KiB: put a CR as the last byte of
  // the first block and its LF as the first byte of the next, and a Ctrl+Z
  // right at the start of a later block.
  constexpr std::size_t kBlock = 1 << 18;
  std::string bytes(kBlock - 1, 'A');
  bytes += "\r\nB";
  bytes += std::string(kBlock - bytes.size() % kBlock, 'C');
  bytes +=
      "\x1a"
      "D\r\n";
  TempFile file(bytes);
  const auto records = ReadAll(file.path());
  ASSERT_EQ(records.size(), 2u);
  EXPECT_EQ(records[0], std::string(kBlock - 1, 'A'));
  EXPECT_EQ(records[1].size(), 2 * kBlock - (kBlock + 1));
  EXPECT_EQ(records[1].front(), 'B');
  EXPECT_EQ(records[1].back(), 'C');
}

TEST(RecordReader, FiftyMegabyteRecord) {
  const std::string big(50u << 20, 'X');
  TempFile file(big + "\r\nY");
  const auto records = ReadAll(file.path());
  ASSERT_EQ(records.size(), 2u);
  EXPECT_EQ(records[0].size(), big.size());
  EXPECT_EQ(records[1], "Y");
}

TEST(RecordReader, MissingFileAndDirectoryAreFileErrors) {
  EXPECT_THROW(RecordReader("/nonexistent/verilote/file.rem"), FileError);
  EXPECT_THROW(RecordReader(std::filesystem::temp_directory_path().string()), FileError);
  try {
    RecordReader("/nonexistent/file.rem");
  } catch (const FileError& e) {
    EXPECT_NE(std::string(e.what()).find("/nonexistent/file.rem"), std::string::npos) << e.what();
  }
}

TEST(RecordReader, ReportsProgressToTheHost) {
  struct CountingHost : testing::FakeHost {
    std::uint64_t lastRead = 0, total = 0;
    void Progress(std::uint64_t read, std::uint64_t all) override {
      lastRead = read;
      total = all;
    }
  } host;
  TempFile file("AB\r\nCD\r\n");
  RecordReader reader(file.path(), &host);
  std::string record;
  while (reader.Next(record)) {
  }
  EXPECT_EQ(host.lastRead, 8u);
  EXPECT_EQ(host.total, 8u);
}

}  // namespace
}  // namespace verilote
