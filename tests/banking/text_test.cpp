#include "banking/text.hpp"

#include <gtest/gtest.h>

#include <string>

#include "app/errors.hpp"

namespace verilote {
namespace {

TEST(Text, StrToIntFollowsTheLayoutConversion) {
  // 70000 lies beyond the 16-bit counters of old.
  // clang-format off
  const std::pair<std::string_view, std::int64_t> good[] = {{"000123", 123}, {"  -0012", -12}, {"+7", 7},
      {"70000", 70000}, {"9223372036854775807", INT64_MAX}, {"-9223372036854775808", INT64_MIN}};
  // clang-format on
  for (const auto& [text, value] : good) EXPECT_EQ(StrToInt(text), value) << text;
  for (const std::string_view bad :
       {"", "   ", "12 ", "1 2", "12a", "-", " -", "1.0", "\t12", "9223372036854775808", "-9223372036854775809"}) {
    try {
      StrToInt(bad);
      ADD_FAILURE() << "'" << bad << "' converted";
    } catch (const ConversionError& e) {
      EXPECT_EQ(e.what(), "'" + std::string(bad) + "' is not a valid integer value");
    }
  }  // The echo never cuts the message: a NUL or CR shows as \xNN, a long text
  // stops at 200 characters.
  EXPECT_STREQ(ConversionError::Integer(std::string("1\0\r2", 4)).what(),
               "'1\\x00\\x0D2' is not a valid integer value");
  EXPECT_EQ(std::string(ConversionError::Date(std::string(300, '9')).what()),
            "'" + std::string(200, '9') + "...' is not a valid date");
}

TEST(Text, FieldsClipAtTheRecordEnd) {
  constexpr std::string_view rec = "ABCDEFGHIJ";
  EXPECT_EQ(Field(rec, 8, 12), "HIJ");
  EXPECT_EQ(Field(rec, 10, 10), "J");
  EXPECT_EQ(Field(rec, 11, 20), "");
  EXPECT_EQ(Field("", 1, 5), "");
  EXPECT_EQ(Copy(rec, 9, 5), "IJ");
  EXPECT_EQ(Copy(rec, 0, 5), "");
  EXPECT_EQ(Trim(" \t A B \r\n"), "A B");
  EXPECT_EQ(Trim("   "), "");
}

}  // namespace
}  // namespace verilote
