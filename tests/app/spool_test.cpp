#include "app/spool.hpp"

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
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

}  // namespace
}  // namespace verilote
