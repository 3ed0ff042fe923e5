#include "banking/text.hpp"

#include <gtest/gtest.h>

#include <string>

#include "app/errors.hpp"

namespace verilote {
namespace {

TEST(Text, PaddingKeepsTheLeftEndWhenItCuts) {
  // clang-format off
  struct Case { std::string (*pad)(std::string_view, std::size_t); std::string_view text; std::size_t width;
                std::string_view expected; };
  const Case cases[] = {
      {PadZeroLeft, "", 5, "00000"},    {PadZeroLeft, "12345", 5, "12345"}, {PadZeroLeft, "1234567", 5, "12345"},
      {PadZeroLeft, "7", 0, ""},        {PadZeroRight, "12", 5, "12000"},   {PadZeroRight, "123456", 4, "1234"},
      {PadSpaceRight, "AB", 4, "AB  "}, {PadSpaceLeft, "AB", 4, "  AB"},    {PadSpaceLeft, "ABCDEF", 4, "ABCD"}};
  // clang-format on
  for (const Case& c : cases) EXPECT_EQ(c.pad(c.text, c.width), c.expected) << c.text << " to " << c.width;
  EXPECT_EQ(PadZeroLeft("1", 200), std::string(199, '0') + "1") << "wider than the old 8-bit pad count";
}

TEST(Text, TextToText) {
  // clang-format off
  struct Case { std::string (*routine)(std::string_view); std::string_view text, expected; };
  // FormatMoney keeps zeros behind a sign and leaves more than 20 digits as they stand.
  const Case cases[] = {
      {StripLeadingZeros, "000", "0"}, {StripLeadingZeros, "00A0", "A0"}, {StripLeadingZeros, " 012", " 012"},
      {StripLeadingZeros, "", "0"}, {StripTrailingZeros, "1200", "12"}, {StripTrailingZeros, "000", "0"},
      {KeepDigits, "a1-2.3 4\xE9", "1234"}, {SignedDigits, "  -12a3 ", "-123"}, {SignedDigits, "abc", "0"},
      {SignedDigits, "-", "-0"}, {SignedDigits, "\t+45\r", "45"}, {RemoveDots, "1.234,5", "1234,5"},
      {FormatMoney, "", "0,00"}, {FormatMoney, "5", "0,05"}, {FormatMoney, "12", "0,12"}, {FormatMoney, "123", "1,23"},
      {FormatMoney, "-123", "1,23-"}, {FormatMoney, "123-", "1,23-"}, {FormatMoney, "- 0012", "00,12-"},
      {FormatMoney, "123456789", "1.234.567,89"}, {FormatMoney, "00000000012345678901", "123.456.789,01"},
      {FormatMoney, "12345678901234567890", "123.456.789.012.345.678,90"},
      {FormatMoney, "123456789012345678901", "123456789012345678901"},
      {FormatCpfCnpj, "12345678909", "123.456.789-09"}, {FormatCpfCnpj, "123", "000.000.001-23"},
      {FormatCpfCnpj, "11.222.333/0001-81", "11.222.333/0001-81"}, {FormatCpfCnpj, "123456789012", "12.345.678/9012-"},
      {FormatCpfCnpj, "1234567890123456", "12.345.678/9012-34"}};
  // clang-format on
  for (const Case& c : cases) EXPECT_EQ(c.routine(c.text), c.expected) << "'" << c.text << "'";
  EXPECT_EQ(StripLeadingZeros(std::string(300, '0') + "5"), "5") << "beyond the old 8-bit counter";
}

TEST(Text, CharacterClassTests) {
  // clang-format off
  struct Case { bool (*test)(std::string_view); std::string_view text; bool expected; };
  const Case cases[] = {
      {IsAllDigits, "", true}, {IsAllDigits, "0123456789", true}, {IsAllDigits, "12 ", false},
      {IsAllDigits, "-1", false}, {IsNumeric, "", false}, {IsNumeric, " 12", false}, {IsNumeric, "12 ", false},
      {IsNumeric, "000123", true},
      {IsNumeric, "-12", true}, {IsNumeric, "+12", true}, {IsNumeric, "12,50", true}, {IsNumeric, ",5", true},
      {IsNumeric, "1E5", true}, {IsNumeric, "1e-5", true}, {IsNumeric, "1E", false}, {IsNumeric, "-", false},
      {IsNumeric, "12A", false}, {IsNumeric, "1,2,3", false}, {IsNumeric, "\t12", false}, {IsPlainText, "", true},
      {IsPlainText, ".-$%&@,/(): aZ9", true}, {IsPlainText, "JOS\xC9", false}, {IsPlainText, "A*B", false},
      {IsPlainText, "A;B", false}, {IsPlainText, "A\tB", false}, {IsMonthText, "12", true}, {IsMonthText, "01", true},
      {IsMonthText, "13", false}, {IsMonthText, "00", false}, {IsMonthText, "", false}};
  // clang-format on
  for (const Case& c : cases) EXPECT_EQ(c.test(c.text), c.expected) << "'" << c.text << "'";
}

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
