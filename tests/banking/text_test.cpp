#include "banking/text.hpp"

#include <gtest/gtest.h>

#include <string>

#include "app/errors.hpp"

namespace verilote {
namespace {

TEST(Text, PaddingKeepsTheLeftEndWhenItCuts) {
  struct Case {
    std::string (*pad)(std::string_view, std::size_t);
    std::string_view text;
    std::size_t width;
    std::string_view expected;
  };
  const Case cases[] = {
      {PadZeroLeft, "", 5, "00000"},       {PadZeroLeft, "12345", 5, "12345"},  {PadZeroLeft, "1234567", 5, "12345"},
      {PadZeroLeft, "123456", 4, "1234"},  {PadZeroLeft, "7", 0, ""},           {PadZeroRight, "12", 5, "12000"},
      {PadZeroRight, "123456", 4, "1234"}, {PadSpaceRight, "AB", 4, "AB  "},    {PadSpaceRight, "ABCDEF", 4, "ABCD"},
      {PadSpaceLeft, "AB", 4, "  AB"},     {PadSpaceLeft, "ABCDEF", 4, "ABCD"},
  };
  for (const Case& c : cases) EXPECT_EQ(c.pad(c.text, c.width), c.expected) << c.text << " to " << c.width;
  EXPECT_EQ(PadZeroLeft("1", 200), std::string(199, '0') + "1") << "wider than the old 8-bit pad count";
}

TEST(Text, StripZeros) {
  EXPECT_EQ(StripLeadingZeros("000"), "0");
  EXPECT_EQ(StripLeadingZeros("00120"), "120");
  EXPECT_EQ(StripLeadingZeros(" 012"), " 012");
  EXPECT_EQ(StripLeadingZeros(""), "0");
  EXPECT_EQ(StripLeadingZeros("00A0"), "A0");
  EXPECT_EQ(StripTrailingZeros("1200"), "12");
  EXPECT_EQ(StripTrailingZeros("000"), "0");
  EXPECT_EQ(StripTrailingZeros("0102"), "0102");
  const std::string longText = std::string(300, '0') + "5";  // beyond the old 8-bit counter
  EXPECT_EQ(StripLeadingZeros(longText), "5");
}

TEST(Text, FormatMoney) {
  const std::pair<std::string_view, std::string_view> cases[] = {
      {"000000000000000", "0,00"},
      {"", "0,00"},
      {"5", "0,05"},
      {"12", "0,12"},
      {"123", "1,23"},
      {"12345", "123,45"},
      {"123456", "1.234,56"},
      {"123456789", "1.234.567,89"},
      {"00000000012345678901", "123.456.789,01"},
      {"-123", "1,23-"},
      {"123-", "1,23-"},
      {"- 0012", "00,12-"},  // zeros behind a sign are not stripped
      {"12345678901234567890", "123.456.789.012.345.678,90"},
      {"123456789012345678901", "123456789012345678901"},
      {"1234567890123456789012", "1234567890123456789012"},
  };
  for (const auto& [cents, shown] : cases) EXPECT_EQ(FormatMoney(cents), shown) << "'" << cents << "'";
}

TEST(Text, FormatCpfCnpj) {
  EXPECT_EQ(FormatCpfCnpj("12345678909"), "123.456.789-09");
  EXPECT_EQ(FormatCpfCnpj("123"), "000.000.001-23");
  EXPECT_EQ(FormatCpfCnpj(""), "000.000.000-00");
  EXPECT_EQ(FormatCpfCnpj("11222333000181"), "11.222.333/0001-81");
  EXPECT_EQ(FormatCpfCnpj("11.222.333/0001-81"), "11.222.333/0001-81");
  EXPECT_EQ(FormatCpfCnpj("123.456.789-09"), "123.456.789-09");
  EXPECT_EQ(FormatCpfCnpj("123456789012"), "12.345.678/9012-");
  EXPECT_EQ(FormatCpfCnpj("1234567890123456"), "12.345.678/9012-34");
}

TEST(Text, DigitFilters) {
  EXPECT_EQ(KeepDigits("a1-2.3 4\xE9"), "1234");
  EXPECT_EQ(KeepDigits("abc"), "");
  EXPECT_EQ(SignedDigits("  -12a3 "), "-123");
  EXPECT_EQ(SignedDigits("abc"), "0");
  EXPECT_EQ(SignedDigits("-"), "-0");
  EXPECT_EQ(SignedDigits("\t+45\r"), "45");
  EXPECT_EQ(RemoveDots("1.234.567,89"), "1234567,89");
  EXPECT_EQ(RepeatText(3, "ab"), "ababab");
  EXPECT_EQ(RepeatText(0, "ab"), "");
  EXPECT_EQ(CharToDigit('7'), 7);
  EXPECT_EQ(CharToDigit(' '), -16);
  EXPECT_EQ(CharToDigit('A'), 17);
  EXPECT_EQ(DigitToChar(9), '9');
}

TEST(Text, CharacterClassTests) {
  struct Case {
    bool (*test)(std::string_view);
    std::string_view text;
    bool expected;
  };
  const Case cases[] = {
      {IsAllDigits, "", true},
      {IsAllDigits, "0123456789", true},
      {IsAllDigits, "12 ", false},
      {IsAllDigits, "-1", false},
      {IsNumeric, "", false},
      {IsNumeric, " 12", false},
      {IsNumeric, "12 ", false},
      {IsNumeric, "000123", true},
      {IsNumeric, "-12", true},
      {IsNumeric, "+12", true},
      {IsNumeric, "12,50", true},
      {IsNumeric, ",5", true},
      {IsNumeric, "1E5", true},
      {IsNumeric, "1e-5", true},
      {IsNumeric, "1E", false},
      {IsNumeric, "-", false},
      {IsNumeric, "12A", false},
      {IsNumeric, "1,2,3", false},
      {IsNumeric, "\t12", false},
      {IsPlainText, "", true},
      {IsPlainText, "RUA DAS FLORES, 123 - BLOCO A/B", true},
      {IsPlainText, ".-$%&@,/():", true},
      {IsPlainText, "JOS\xC9", false},
      {IsPlainText, "A*B", false},
      {IsPlainText, "A+B", false},
      {IsPlainText, "A#B", false},
      {IsPlainText, "A_B", false},
      {IsPlainText, "A;B", false},
      {IsPlainText, "A\tB", false},
      {IsMonthText, "12", true},
      {IsMonthText, "01", true},
      {IsMonthText, "13", false},
      {IsMonthText, "00", false},
      {IsMonthText, "1,", true},
      {IsMonthText, "", false},
  };
  for (const Case& c : cases) EXPECT_EQ(c.test(c.text), c.expected) << "'" << c.text << "'";
}

TEST(Text, StrToIntFollowsTheLayoutConversion) {
  const std::pair<std::string_view, std::int64_t> good[] = {
      {"0", 0},
      {"000123", 123},
      {"  42", 42},
      {"-7", -7},
      {"+7", 7},
      {"  -0012", -12},
      {"9223372036854775807", INT64_MAX},
      {"-9223372036854775808", INT64_MIN},
      {"70000", 70000},  // beyond the 16-bit counters of old
  };
  for (const auto& [text, value] : good) EXPECT_EQ(StrToInt(text), value) << text;
  for (const std::string_view bad : {"", "   ", "12 ", "1 2", "12a", "-", "+", " -", "1.0", "\t12",
                                     "9223372036854775808", "-9223372036854775809", "99999999999999999999"}) {
    try {
      StrToInt(bad);
      ADD_FAILURE() << "'" << bad << "' converted";
    } catch (const ConversionError& e) {
      EXPECT_EQ(e.what(), "'" + std::string(bad) + "' is not a valid integer value");
    }
  }
}

TEST(Text, FieldsClipAtTheRecordEnd) {
  constexpr std::string_view rec = "ABCDEFGHIJ";
  EXPECT_EQ(Field(rec, 1, 3), "ABC");
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
