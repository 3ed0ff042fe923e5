#include "app/spool.hpp"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <optional>
#include <random>
#include <string>
#include <vector>

namespace verilote {
namespace {

// The folder temporary files go to; empty: the system's own.
void SetTemporaryFolder(const std::string& folder) {
#ifdef _WIN32
  _putenv_s("TMP", folder.c_str());
#else
  folder.empty() ? unsetenv("TMPDIR") : setenv("TMPDIR", folder.c_str(), 1);
#endif
}

// Any bytes come back as written, in order, as often as the spool is rewound,
// and the spool leaves no file behind in the temporary folder.
TEST(Spool, GivesBackEveryTextInOrderAndLeavesNoFile) {
  const std::filesystem::path folder = std::filesystem::temp_directory_path() / "verilote-spool-test";
  std::filesystem::create_directories(folder);
  SetTemporaryFolder(folder.string());
  const std::vector<std::string> texts = {"", std::string("a\0b\r\n\x1a\xff", 7), std::string(100000, 'x'), "z"};
  {
    Spool spool;
    for (const std::string& text : texts) spool.Append(text);
#ifndef _WIN32  // there the file goes when it is closed
    EXPECT_TRUE(std::filesystem::is_empty(folder));
#endif
    for (int pass = 0; pass < 2; ++pass) {
      spool.Rewind();
      std::vector<std::string> read;
      for (std::string text; spool.Next(text);) read.push_back(text);
      EXPECT_EQ(read, texts);
    }
  }
  SetTemporaryFolder("");
  EXPECT_TRUE(std::filesystem::is_empty(folder));
  std::filesystem::remove_all(folder);
}

// Entries of 20 MB (three runs), keys of any bytes: empty, repeated, sharing
// the first 64 bytes and more, one a prefix of another. Read from the start
// or from a key, they come in key order, then in the order they were added.
TEST(SortedSpool, GivesBackEveryEntryInKeyOrderFromAnyKey) {
  std::mt19937 random(7);
  const std::string shared(70, '\xFF');
  std::vector<std::pair<std::string, std::uint64_t>> added;
  SortedSpool spool;
  for (std::uint64_t i = 0; i < 20000; ++i) {
    std::string key = i % 3 == 0 ? shared : "";
    for (std::uint32_t n = random() % 4; n > 0; --n) key += static_cast<char>(random() % 3 * 127);
    spool.Add(key, std::string(1000, static_cast<char>(i)));
    added.emplace_back(key, i);
  }
  spool.Seal();
  std::sort(added.begin(), added.end());
  for (const std::string& from : {std::string(), shared, shared + '\x7F', std::string("\x7F"), shared + shared}) {
    auto expected = std::lower_bound(added.begin(), added.end(), std::make_pair(from, std::uint64_t{0}));
    SortedSpool::Cursor cursor = from.empty() ? spool.Begin() : spool.From(from);
    for (SortedSpool::Entry entry; cursor.Next(entry); ++expected) {
      ASSERT_NE(expected, added.end());
      ASSERT_EQ(std::make_pair(std::string(entry.key), entry.sequence), *expected);
      ASSERT_EQ(entry.value, std::string(1000, static_cast<char>(entry.sequence)));
    }
    EXPECT_EQ(expected, added.end());
  }
  // The value of the latest entry among those a prefix begins.
  for (const std::string& prefix : {std::string(), shared.substr(0, 9), shared, shared + '\x7F', std::string("\x7F")}) {
    std::optional<std::uint64_t> latest;
    for (const auto& [key, sequence] : added)
      if (key.starts_with(prefix)) latest = std::max(latest.value_or(0), sequence);
    std::optional<std::string> value;
    if (latest) value = std::string(1000, static_cast<char>(*latest));
    EXPECT_EQ(spool.LastWithPrefix(prefix), value) << prefix.size();
  }
}

}  // namespace
}  // namespace verilote
