#include "app/spool.hpp"

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <string>
#include <vector>

namespace verilote {
namespace {

// Any bytes come back as written, in order, as often as the spool is rewound,
// and the spool leaves no file behind in the temporary folder.
TEST(Spool, GivesBackEveryTextInOrderAndLeavesNoFile) {
  const std::filesystem::path folder = std::filesystem::temp_directory_path() / "verilote-spool-test";
  std::filesystem::create_directories(folder);
  setenv("TMPDIR", folder.c_str(), 1);
  const std::vector<std::string> texts = {"", std::string("a\0b\r\n\x1a\xff", 7), std::string(100000, 'x'), "z"};
  {
    Spool spool;
    for (const std::string& text : texts) spool.Append(text);
    EXPECT_TRUE(std::filesystem::is_empty(folder));
    for (int pass = 0; pass < 2; ++pass) {
      spool.Rewind();
      std::vector<std::string> read;
      for (std::string text; spool.Next(text);) read.push_back(text);
      EXPECT_EQ(read, texts);
    }
  }
  unsetenv("TMPDIR");
  EXPECT_TRUE(std::filesystem::is_empty(folder));
  std::filesystem::remove_all(folder);
}

}  // namespace
}  // namespace verilote
