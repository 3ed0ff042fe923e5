// The findings of a report and their records read again: the index answers
// which lines are findings and steps between them within one report only;
// the locator hands out record N exactly as RecordReader did on the run.
#include "desk/finding_index.hpp"

#include <gtest/gtest.h>

#include <fstream>
#include <vector>

#include "desk/record_locator.hpp"
#include "app/record_reader.hpp"
#include "support/fake_host.hpp"
#include "support/filling_files.hpp"

namespace verilote {
namespace {

using testing::TempFile;

std::vector<std::string> ReaderRecords(const std::string& path) {
  RecordReader reader(path);
  std::vector<std::string> records;
  for (std::string record; reader.Next(record);) records.push_back(record);
  return records;
}

TEST(RecordLocator, ReadsEveryRecordAsTheReaderDoes) {
  std::string many;
  for (int n = 1; n <= 1300; ++n) many += (n % 7 == 0 ? "" : "linha " + std::to_string(n)) + (n % 3 ? "\r\n" : "\r");
  const std::string cases[] = {
      "A\r\nB\rC\nD\r\n\r\nE",  // CR alone, LF inside a record, an empty line, no last terminator
      "A\r\n\x1a"
      "after",                         // Ctrl+Z after a line end: no record more
      "A\r\nB\x1a\r\nC",               // Ctrl+Z inside a record ends it
      "A\r\r\nB\r\n",                  // an empty record ended by CR alone
      "",                              //
      many + std::string(70000, 'x'),  // a last record past one read's size, marks past a stride
  };
  for (const std::string& bytes : cases) {
    TempFile file(bytes);
    const std::vector<std::string> expected = ReaderRecords(file.path());
    RecordLocator locator;
    // From the far end back, then forth: marks made on the way serve both.
    for (std::size_t n = expected.size() + 1; n >= 1; --n) {
      const RecordLocator::Result read = locator.Read(file.path(), n);
      if (n > expected.size()) {
        EXPECT_EQ(read.status, RecordLocator::Status::TooShort) << n;
      } else {
        EXPECT_EQ(read.status, RecordLocator::Status::Found) << n;
        EXPECT_EQ(read.record, expected[n - 1]) << n;
      }
    }
    for (std::size_t n = 1; n <= expected.size(); n += 97)
      EXPECT_EQ(locator.Read(file.path(), n).record, expected[n - 1]);
  }
}

TEST(RecordLocator, FollowsAFileThatChangedAndSaysWhenItIsGone) {
  RecordLocator locator;
  std::string path;
  {
    TempFile file(std::string(2000, 'a') + "\r\nB\r\n");
    path = file.path();
    EXPECT_EQ(locator.Read(path, 2).record, "B");
    std::ofstream(path, std::ios::binary) << "X\r\nYY\r\nZ";
    EXPECT_EQ(locator.Read(path, 2).record, "YY");
    EXPECT_EQ(locator.Read(path, 3).record, "Z");
  }
  EXPECT_EQ(locator.Read(path, 1).status, RecordLocator::Status::Missing);
}

TEST(FindingIndex, TellsFindingLinesAndStepsBetweenThemWithinOneReport) {
  static constexpr FieldSpec kFields[] = {{"01.0", 1, 3, "Banco"}};
  static const RecordKind kKind{"Header", kFields};
  FindingIndex index;
  const std::uint32_t file = index.FileNumber("a.rem");
  EXPECT_EQ(index.FileNumber("b.rem"), file + 1);
  index.Add(4, 2, Finding{"Linha 1", 1, "999", &kKind, "(01.0)"}, file);
  index.Add(4, 5, Finding{"Arquivo", 0}, file + 1);
  index.Add(4, 9, Finding{"Linha 3", 3, "998", &kKind, "(01.0)"}, file);
  index.Add(4, 9, Finding{"again", 4}, file);  // not a new line: ignored

  const auto first = index.Of(4, 2);
  ASSERT_TRUE(first);
  EXPECT_EQ(first->record, 1u);
  EXPECT_EQ(first->kind, &kKind);
  EXPECT_EQ(first->fields, "(01.0)");
  EXPECT_EQ(first->file, "a.rem");
  EXPECT_NE(first->recordHash, RecordHash("998"));
  EXPECT_EQ(index.Of(4, 5)->file, "b.rem");
  EXPECT_EQ(index.Of(4, 9)->recordHash, RecordHash("998"));
  EXPECT_FALSE(index.Of(4, 3));
  EXPECT_FALSE(index.Of(5, 2));  // another report

  EXPECT_EQ(index.NextLine(4, 0), 2u);
  EXPECT_EQ(index.NextLine(4, 6), 9u);
  EXPECT_FALSE(index.NextLine(4, 9));
  EXPECT_EQ(index.PreviousLine(4, 4), 2u);
  EXPECT_FALSE(index.PreviousLine(4, 2));

  index.Add(6, 0, Finding{"Linha 1", 1, "999", &kKind, "(01.0)"}, file);  // a cleared report starts over
  EXPECT_EQ(index.Size(), 1u);
  EXPECT_FALSE(index.Of(4, 2));
  index.Clear(7);
  EXPECT_EQ(index.Size(), 0u);
  EXPECT_FALSE(index.NextLine(7, 0));
}

// Past the few thousand findings kept in memory the rest are read back from
// the index's files: lookups and steps across the blocks, and a report
// cleared after a spill starts over.
TEST(FindingIndex, FindsFindingsKeptInItsFiles) {
  FindingIndex index;
  const std::uint32_t file = index.FileNumber("big.rem");
  constexpr std::uint64_t kFindings = 10'000;  // more than two blocks
  for (std::uint64_t i = 0; i < kFindings; ++i) index.Add(1, 3 * i + 1, Finding{"Linha", i + 1}, file);
  index.Add(1, 3 * (kFindings - 1), Finding{"earlier", 1}, file);  // not a new line: ignored
  ASSERT_EQ(index.Size(), kFindings);
  for (const std::uint64_t i : std::vector<std::uint64_t>{0, 4095, 4096, 8191, 8192, kFindings - 1}) {
    SCOPED_TRACE(i);
    const auto entry = index.Of(1, 3 * i + 1);
    ASSERT_TRUE(entry);
    EXPECT_EQ(entry->record, i + 1);
    EXPECT_EQ(entry->file, "big.rem");
    EXPECT_FALSE(index.Of(1, 3 * i + 2));
    EXPECT_EQ(index.NextLine(1, 3 * i + 1), i + 1 < kFindings ? std::optional(3 * i + 4) : std::nullopt);
    EXPECT_EQ(index.PreviousLine(1, 3 * i + 1), i > 0 ? std::optional(3 * i - 2) : std::nullopt);
  }
  index.Clear(2);
  index.Add(2, 7, Finding{"Linha", 9}, file);
  EXPECT_EQ(index.Size(), 1u);
  EXPECT_EQ(index.Of(2, 7)->record, 9u);
  EXPECT_FALSE(index.NextLine(2, 7));
}

// A full temporary folder: every finding added before the failure stays
// found, in the files and in memory, and every step stays within them; the
// index says why it took no more, and takes no more while the folder is full.
TEST(FindingIndex, AFullFolderKeepsTheFindingsAddedAndSaysWhy) {
  constexpr std::uint64_t kBlock = 4096;
  struct Case {
    const char* name;
    TemporaryFileMaker files;
    std::uint64_t blocksWritten;
  };
  std::vector<Case> cases = {{"refusing every write", verilote::testing::RefusingFiles(), 0}};
#ifdef VERILOTE_HAS_FILLING_FILES
  // Room for two blocks and half a third: the third is written in part.
  cases.push_back(
      {"filling up", verilote::testing::FillingFiles(kBlock * FindingIndex::kBytesPerFinding * 5 / 2).Maker(), 2});
#endif
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    FindingIndex index(c.files);
    const std::uint32_t file = index.FileNumber("cheio.rem");
    std::uint64_t added = 0;
    try {
      for (; added < 100 * kBlock; ++added) index.Add(1, 2 * added, Finding{"Linha", added + 1}, file);
    } catch (const FileError&) {
      ++added;  // the finding that met the full folder is kept
    }
    const std::uint64_t kept = (c.blocksWritten + 1) * kBlock;
    ASSERT_EQ(added, kept);
    EXPECT_EQ(index.Size(), kept);
    EXPECT_NE(index.Failure().find("cannot write a temporary file"), std::string::npos) << index.Failure();
    for (const std::uint64_t i : {std::uint64_t{0}, c.blocksWritten * kBlock - (c.blocksWritten > 0), kept - 1}) {
      SCOPED_TRACE(i);
      ASSERT_TRUE(index.Of(1, 2 * i));
      EXPECT_EQ(index.Of(1, 2 * i)->record, i + 1);
    }
    const std::uint64_t last = 2 * (kept - 1);
    EXPECT_FALSE(index.NextLine(1, last));
    EXPECT_EQ(index.PreviousLine(1, UINT64_MAX), last);
    EXPECT_EQ(index.PreviousLine(1, last), last - 2);
    EXPECT_FALSE(index.Of(1, last + 2));

    EXPECT_THROW(index.Add(1, last + 2, Finding{"Linha", kept + 1}, file), FileError);
    EXPECT_EQ(index.Size(), kept);  // memory stays flat while the folder is full
    index.Clear(2);
    EXPECT_EQ(index.Failure(), "");
    EXPECT_EQ(index.Size(), 0u);
  }
}

}  // namespace
}  // namespace verilote
