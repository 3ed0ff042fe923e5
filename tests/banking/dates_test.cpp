#include "banking/dates.hpp"

#include <gtest/gtest.h>

#include <random>
#include <string>

#include "app/cp1252.hpp"
#include "app/errors.hpp"

namespace verilote {
namespace {

constexpr CivilDate kToday{2026, 12, 6};

TEST(Dates, IsValidDate) {
  const std::pair<std::string_view, bool> cases[] = {
      {"29022024", true},     {"29022023", false},   {"31042024", false},   {"31/12/1999", true},
      {"31-12-1999", false},  {"311299", false},     {" 31/12/1999", true}, {"31/12/1999 ", true},
      {"\t31121999\r", true}, {"01/02/20", false},   {"00/01/2020", false}, {"01/13/2020", false},
      {"01/00/2020", false},  {"29/02/1900", false}, {"29/02/2000", true},  {"", false},
      {"1/02/2020 ", false},  {"31/12/9999", true},  {"01/01/0000", false}, {"0a/01/2020", false},
      {"01/01/+020", false},  {"010120201", false},  {"31/01/2024", true},  {"30/02/2024", false},
  };
  for (const auto& [text, expected] : cases) EXPECT_EQ(IsValidDate(text), expected) << "'" << text << "'";
}

TEST(Dates, DateToFactor) {
  // 21/02/2025 is the last day of the first cycle, 13/10/2049 of the second.
  const std::pair<std::string_view, std::string_view> cases[] = {
      {"07/10/1997", "0000"}, {"08/10/1997", "0001"}, {"03/07/2000", "1000"}, {"21/02/2025", "9999"},
      {"22/02/2025", "1000"}, {"12/03/2025", "1018"}, {"06/12/2026", "1652"}, {"13/10/2049", "9999"},
      {"14/10/2049", "1000"}, {"29/02/2028", "2102"}, {"01/03/2028", "2103"}, {" 6/12/26 ", "1652"},
  };
  for (const auto& [date, factor] : cases) EXPECT_EQ(DateToFactor(date), factor) << date;
  EXPECT_EQ(ParseDate("06/12/40"), (CivilDate{1940, 12, 6}));
  // The day before the base has no factor; texts that are no d/m/yy or dd/mm/yyyy date fail.
  std::string error;
  try {
    DateToFactor("06/10/1997");
  } catch (const ConversionError& e) {
    error = e.what();
  }
  EXPECT_EQ(error, "A data '06/10/1997' é anterior a 07/10/1997 e não tem fator de vencimento"_cp);
  for (const std::string_view bad : {"", "abc", "06122026", "06/12", "06-12-2026", "06/12/202", "006/12/2026",
                                     "06/12/2026x", "29/02/2025", "31/02/2025", "06/12/20260", "/12/2026"}) {
    try {
      DateToFactor(bad);
      ADD_FAILURE() << bad;
    } catch (const ConversionError& e) {
      EXPECT_EQ(std::string(e.what()), "'" + std::string(bad) + "' is not a valid date");
    }
  }
}

TEST(Dates, FactorToDateTakesTheDateTheBoletoMeansToday) {
  // clang-format off
  struct Case { std::string_view factor; CivilDate today; std::string_view expected; };
  // Below 1000 only the first cycle, whatever today is; past 9999 or below 0 no
  // date. Factor 1000 means 03/07/2000 or 22/02/2025 (9000 days later); the
  // window runs from 3000 days before today to 5500 after it, else the nearest:
  // 19/09/2008 is 3000 days after 03/07/2000, 20/09/2008 3001; 31/01/2010 is 5501
  // days before 22/02/2025, 01/02/2010 5500. In 1985 no window holds any.
  // Factors 1652 and 9999 today are the calculator command's cases.
  const Case cases[] = {
      {"1000", kToday, "22/02/2025"},
      {"1000", {2005, 1, 1}, "03/07/2000"},
      {"0000", kToday, "07/10/1997"},
      {"0", kToday, "07/10/1997"},
      {"0999", kToday, "02/07/2000"},
      {"0999", {2060, 1, 1}, "02/07/2000"},
      {" 1652", kToday, "06/12/2026"},
      {"10000", kToday, "99/99/9999"},
      {"-1", kToday, "99/99/9999"},
      {"1000", {2008, 9, 19}, "03/07/2000"},
      {"1000", {2008, 9, 20}, "03/07/2000"},
      {"1000", {2010, 1, 31}, "03/07/2000"},
      {"1000", {2010, 2, 1}, "22/02/2025"},
      {"1000", {1985, 1, 1}, "03/07/2000"},
      {"1000", {2060, 1, 1}, "05/06/2074"}};  // the fourth cycle
  // clang-format on
  for (const Case& c : cases)
    EXPECT_EQ(FactorToDate(c.factor, c.today), c.expected)
        << c.factor << " on " << c.today.day << "/" << c.today.month << "/" << c.today.year;
  for (const std::string_view bad : {"abc", "", "1652 "}) EXPECT_THROW(FactorToDate(bad, kToday), ConversionError);
}

}  // namespace
}  // namespace verilote
