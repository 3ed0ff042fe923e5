#include <gtest/gtest.h>

#include <string>

#include "banking/record_rules.hpp"

namespace verilote {
namespace {

// The block scans (SSE2, AVX2) and the table agree: every byte value, at every
// position of texts shorter than, equal to and longer than one block, and in
// the overlapping last block, is found outside the set exactly when the set
// does not hold it.
template <typename Set>
void ExpectScanAgreesWithTable(char filler) {
  for (const std::size_t length : {1, 15, 16, 17, 31, 32, 33, 40, 64, 65, 240}) {
    for (std::size_t at = 0; at < length; ++at) {
      for (int byte = 0; byte < 256; ++byte) {
        std::string text(length, filler);
        text[at] = static_cast<char>(byte);
        ASSERT_EQ(Set::AnyOutside(text), !Set::Holds(static_cast<unsigned char>(byte)))
            << "length " << length << ", position " << at << ", byte " << byte;
      }
    }
  }
  EXPECT_FALSE(Set::AnyOutside(""));
}

TEST(ByteSet, ScanAgreesWithTheTableForEveryByteAndPosition) {
  ExpectScanAgreesWithTable<CnabBytes>('A');
  ExpectScanAgreesWithTable<PlainBytes>('0');
  ExpectScanAgreesWithTable<BlankBytes>(' ');
  ExpectScanAgreesWithTable<DigitBytes>('9');
}

// The sets name the bytes the layouts list.
TEST(ByteSet, LayoutSetsHoldTheListedBytes) {
  for (int c = 0; c < 256; ++c) {
    const auto b = static_cast<unsigned char>(c);
    const bool letterOrDigit = (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9');
    EXPECT_EQ(PlainBytes::Holds(b), letterOrDigit || std::string(" .-$%&@,/():").find(char(c)) != std::string::npos)
        << c;
    EXPECT_EQ(CnabBytes::Holds(b),
              letterOrDigit || std::string(" .,+-*/\\$#!%&()=[]{}?;:<>@").find(char(c)) != std::string::npos)
        << c;
  }
}

}  // namespace
}  // namespace verilote
