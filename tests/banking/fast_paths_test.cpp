#include <gtest/gtest.h>

#include <string>

#include "banking/dates.hpp"
#include "banking/record_rules.hpp"

namespace verilote {
namespace {

// Digit fields of every length a conversion takes whole, short and long, with
// and without leading zeros.
TEST(FastPaths, DigitFieldsConvertToTheirValue) {
  for (const std::string digits : {"918273645546372819", "000000000000000107", "999999999999999999"})
    for (std::size_t length = 1; length <= digits.size(); ++length) {
      const std::string text = digits.substr(0, length);
      ASSERT_EQ(StrToInt(text), std::stoll(text)) << text;
    }
}

// A run of one character of every length up to three words, broken at each
// position in turn.
TEST(FastPaths, AllOfOneCharacterAtEveryPosition) {
  for (std::size_t length = 1; length <= 24; ++length) {
    const std::string run(length, '0');
    ASSERT_TRUE(IsAll(run, length, '0')) << length;
    ASSERT_FALSE(IsAll(run, length + 1, '0')) << length;
    for (std::size_t at = 0; at < length; ++at) {
      std::string broken = run;
      broken[at] = '1';
      ASSERT_FALSE(IsAll(broken, length, '0')) << length << ' ' << at;
    }
  }
}

// Trim skips long runs of blanks and control bytes at either end, and stops
// at the first byte above the blank.
TEST(FastPaths, TrimAcrossWordBoundaries) {
  for (std::size_t left = 0; left < 20; ++left)
    for (std::size_t right = 0; right < 20; ++right) {
      const std::string text = std::string(left, ' ') + "A\x01 B" + std::string(right, '\t');
      ASSERT_EQ(Trim(text), "A\x01 B") << left << ' ' << right;
    }
  EXPECT_EQ(Trim(std::string(40, ' ')), "");
}

// An eight-digit ddmmyyyy field is valid exactly when dd/mm/yyyy names a real
// day, and its order number is that day's yyyymmdd.
TEST(FastPaths, EightDigitDatesAgreeWithTheCalendar) {
  for (const char* year : {"0000", "0001", "1900", "2000", "2023", "2024", "2100", "9999"})
    for (int month = 0; month < 20; ++month)
      for (int day = 0; day < 40; ++day) {
        const std::string dd = std::to_string(100 + day).substr(1), mm = std::to_string(100 + month).substr(1);
        const std::optional<CivilDate> real = ParseDate(dd + "/" + mm + "/" + year);
        const std::string field = dd + mm + year;
        ASSERT_EQ(IsValidDate(field), real.has_value()) << field;
        const std::optional<std::int64_t> order =
            real ? std::optional<std::int64_t>(real->year * 10000 + real->month * 100 + real->day) : std::nullopt;
        ASSERT_EQ(DdmmyyyyOrder(field), order) << field;
      }
}

}  // namespace
}  // namespace verilote
