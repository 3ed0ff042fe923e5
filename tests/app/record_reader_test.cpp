#include "app/record_reader.hpp"

#include <gtest/gtest.h>
#ifndef _WIN32
#include <sys/stat.h>
#endif

#include <filesystem>
#include <string>
#include <vector>

#include "app/errors.hpp"
#include "app/platform.hpp"
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

// A record of 32 MiB is read whole; one byte more is refused, naming the file
// and the record, before it can take memory without bound.
TEST(RecordReader, RecordsUpTo32MiB) {
  const std::string big(RecordReader::kMaxRecord, 'X');
  TempFile file(big + "\r\nY");
  const auto records = ReadAll(file.path());
  ASSERT_EQ(records.size(), 2u);
  EXPECT_EQ(records[0].size(), big.size());
  EXPECT_EQ(records[1], "Y");
  TempFile tooLong("first\r\n" + big + "X");
  try {
    ReadAll(tooLong.path());
    ADD_FAILURE() << "a record over 32 MiB was read";
  } catch (const FileError& e) {
    EXPECT_EQ(std::string(e.what()), "I/O error: '" + tooLong.path() +
                                         "': record 2 is longer than 32 MiB: no layout has such records; is this the "
                                         "right file?");
  }
}

// Only regular files are read: a FIFO would block the open and /dev/zero (NUL
// on Windows) never ends; both are refused at once with the file's name.
TEST(RecordReader, RefusesWhatIsNotARegularFile) {
  const std::string fifo = (std::filesystem::temp_directory_path() /
                            ("verilote-fifo-" + std::to_string(platform::ProcessId())))
                               .string(),
                    folder = std::filesystem::temp_directory_path().string();
#ifdef _WIN32
  const std::string device = "NUL";
  std::filesystem::create_directory(fifo);  // no FIFO here: a second folder
  const std::string fifoError = "': is a directory, not a file";
#else
  const std::string device = "/dev/zero";
  ASSERT_EQ(mkfifo(fifo.c_str(), 0600), 0);
  const std::string fifoError = "': is not a regular file (a device, FIFO or socket): refused";
#endif
  const std::string refused = "': is not a regular file (a device, FIFO or socket): refused";
  const struct {
    std::string path, error;
  } cases[] = {
      {"/nonexistent/file.rem", "I/O error: '/nonexistent/file.rem': cannot open the file (No such file or directory)"},
      {folder, "I/O error: '" + folder + "': is a directory, not a file"},
      {fifo, "I/O error: '" + fifo + fifoError},
      {device, "I/O error: '" + device + refused},
  };
  for (const auto& c : cases) {
    try {
      RecordReader reader(c.path);
      ADD_FAILURE() << c.path << " was opened";
    } catch (const FileError& e) {
      EXPECT_EQ(std::string(e.what()), c.error);
    }
  }
  std::filesystem::remove(fifo);
}

}  // namespace
}  // namespace verilote
