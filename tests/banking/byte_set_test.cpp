#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "banking/record_rules.hpp"

namespace verilote {
namespace {

// The block scans (SSE2, AVX2) and the word-at-a-time tests of short fields
// agree with the byte tables: every byte value, at every position of texts of
// every length up to one block and past it, and in the overlapping last block,
// is found outside the set exactly when the set does not hold it.
TEST(ByteSet, ScansAgreeWithTheTableForEveryByteAndPosition) {
  struct Row {
    const char* name;
    bool (*anyOutside)(std::string_view);
    bool (*holds)(unsigned char);
    char filler;
  };
  const Row rows[] = {
      {"CnabBytes", CnabBytes::AnyOutside, CnabBytes::Holds, 'A'},
      {"PlainBytes", PlainBytes::AnyOutside, PlainBytes::Holds, '0'},
      {"BlankBytes", BlankBytes::AnyOutside, BlankBytes::Holds, ' '},
      {"DigitBytes", DigitBytes::AnyOutside, DigitBytes::Holds, '9'},
      {"IsAllDigits", [](std::string_view t) { return !IsAllDigits(t); }, DigitBytes::Holds, '7'},
      {"IsBlankField", [](std::string_view t) { return !IsBlankField(t); }, BlankBytes::Holds, ' '},
  };
  std::vector<std::size_t> lengths = {31, 32, 33, 40, 64, 65, 240};
  for (std::size_t length = 1; length <= 17; ++length) lengths.push_back(length);
  for (const Row& row : rows) {
    EXPECT_FALSE(row.anyOutside("")) << row.name;
    for (const std::size_t length : lengths)
      for (std::size_t at = 0; at < length; ++at)
        for (int byte = 0; byte < 256; ++byte) {
          std::string text(length, row.filler);
          text[at] = static_cast<char>(byte);
          ASSERT_EQ(row.anyOutside(text), !row.holds(static_cast<unsigned char>(byte)))
              << row.name << ": length " << length << ", position " << at << ", byte " << byte;
        }
  }
}

// The sets name the bytes the layouts list (the CNAB 400 set: its character
// check of every byte).
TEST(ByteSet, LayoutSetsHoldTheListedBytes) {
  for (int c = 0; c < 256; ++c) {
    const auto b = static_cast<unsigned char>(c);
    const bool letterOrDigit = (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9');
    EXPECT_EQ(CnabBytes::Holds(b),
              letterOrDigit || std::string(" .,+-*/\\$#!%&()=[]{}?;:<>@").find(char(c)) != std::string::npos)
        << c;
  }
}

}  // namespace
}  // namespace verilote
