#include "banking/dates.hpp"

#include <array>
#include <cstdlib>

#include "app/errors.hpp"
#include "app/report.hpp"
#include "banking/text.hpp"

namespace verilote {

namespace {

constexpr CivilDate kFactorBase{1997, 10, 7};
// The factor's second cycle starts on 22/02/2025 (day 10000 after the base).
constexpr std::int64_t kCycleRestart = 10000;
constexpr std::int64_t kCycleLength = 9000;
// FEBRABAN's decoding window around today.
constexpr std::int64_t kWindowBefore = 3000;
constexpr std::int64_t kWindowAfter = 5500;

bool IsDigit(char c) { return c >= '0' && c <= '9'; }

// A run of 1..maxDigits digits at text[i], or -1.
int ReadNumber(std::string_view text, std::size_t& i, std::size_t maxDigits) {
  const std::size_t start = i;
  int value = 0;
  while (i < text.size() && IsDigit(text[i]) && i - start < maxDigits) value = value * 10 + (text[i++] - '0');
  return i == start ? -1 : value;
}

std::string TwoDigits(int n) { return PadZeroLeft(Cat(n), 2); }

// "ddmm..." as "dd/mm/" followed by the year given.
std::string SlashDayMonth(std::string_view text, std::string_view year) {
  return Cat(text.substr(0, 2), '/', text.substr(2, 2), '/', year);
}

std::int64_t BaseDay() { return DaysFromCivil(kFactorBase); }
std::int64_t LastDay() { return DaysFromCivil({9999, 12, 31}); }

}  // namespace

// Howard Hinnant's days_from_civil / civil_from_days.
std::int64_t DaysFromCivil(CivilDate date) {
  const std::int64_t y = date.year - (date.month <= 2 ? 1 : 0);
  const std::int64_t era = (y >= 0 ? y : y - 399) / 400;
  const std::int64_t yoe = y - era * 400;
  const std::int64_t mp = (date.month + 9) % 12;
  const std::int64_t doy = (153 * mp + 2) / 5 + date.day - 1;
  const std::int64_t doe = yoe * 365 + yoe / 4 - yoe / 100 + doy;
  return era * 146097 + doe - 719468;
}

CivilDate CivilFromDays(std::int64_t days) {
  days += 719468;
  const std::int64_t era = (days >= 0 ? days : days - 146096) / 146097;
  const std::int64_t doe = days - era * 146097;
  const std::int64_t yoe = (doe - doe / 1460 + doe / 36524 - doe / 146096) / 365;
  const std::int64_t doy = doe - (365 * yoe + yoe / 4 - yoe / 100);
  const std::int64_t mp = (5 * doy + 2) / 153;
  const int day = static_cast<int>(doy - (153 * mp + 2) / 5 + 1);
  const int month = static_cast<int>(mp < 10 ? mp + 3 : mp - 9);
  const int year = static_cast<int>(yoe + era * 400 + (month <= 2 ? 1 : 0));
  return {year, month, day};
}

bool IsLeapYear(int year) { return (year % 4 == 0 && year % 100 != 0) || year % 400 == 0; }

bool IsRealDate(CivilDate date) {
  static constexpr int kDays[] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
  if (date.year < 1 || date.year > 9999 || date.month < 1 || date.month > 12 || date.day < 1) return false;
  const int last = kDays[date.month - 1] + (date.month == 2 && IsLeapYear(date.year) ? 1 : 0);
  return date.day <= last;
}

std::string FormatDate(CivilDate date) {
  if (IsRealDate(date)) {  // the usual case, written without temporaries
    const auto two = [](int n) {
      return std::array<char, 2>{static_cast<char>('0' + n / 10), static_cast<char>('0' + n % 10)};
    };
    const auto day = two(date.day), month = two(date.month), high = two(date.year / 100), low = two(date.year % 100);
    const char text[10] = {day[0], day[1], '/', month[0], month[1], '/', high[0], high[1], low[0], low[1]};
    return std::string(text, sizeof text);
  }
  return Cat(TwoDigits(date.day), '/', TwoDigits(date.month), '/', PadZeroLeft(Cat(date.year), 4));
}

int ExpandTwoDigitYear(std::int64_t yy) { return static_cast<int>(yy < 40 ? 2000 + yy : 1900 + yy); }

std::optional<CivilDate> ParseDate(std::string_view text) {
  const std::string_view t = Trim(text);
  std::size_t i = 0;
  const int day = ReadNumber(t, i, 2);
  if (day < 0 || i >= t.size() || t[i++] != '/') return std::nullopt;
  const int month = ReadNumber(t, i, 2);
  if (month < 0 || i >= t.size() || t[i++] != '/') return std::nullopt;
  const std::size_t yearStart = i;
  int year = ReadNumber(t, i, 4);
  if (year < 0 || i != t.size()) return std::nullopt;
  const std::size_t yearDigits = i - yearStart;
  if (yearDigits == 2)
    year = ExpandTwoDigitYear(year);
  else if (yearDigits != 4)
    return std::nullopt;
  const CivilDate date{year, month, day};
  if (!IsRealDate(date)) return std::nullopt;
  return date;
}

bool detail::IsValidDateText(std::string_view text) {
  // dd/mm/yyyy, or ddmmyyyy as the layouts' date fields hold it.
  const std::string_view t = Trim(text);
  const bool slashed = t.size() == 10 && t[2] == '/' && t[5] == '/';
  if (!slashed && t.size() != 8) return false;
  const std::size_t month = slashed ? 3 : 2, year = slashed ? 6 : 4;
  for (const std::size_t i : {std::size_t{0}, std::size_t{1}, month, month + 1, year, year + 1, year + 2, year + 3})
    if (!IsDigit(t[i])) return false;
  const auto number = [&t](std::size_t from, std::size_t digits) {
    int value = 0;
    for (std::size_t i = from; i < from + digits; ++i) value = value * 10 + (t[i] - '0');
    return value;
  };
  return IsRealDate({number(year, 4), number(month, 2), number(0, 2)});
}

std::string SlashDate(std::string_view text) {
  if (text.size() != 8) return std::string(text);
  return SlashDayMonth(text, text.substr(4, 4));
}

std::string NormalizeDate(std::string_view text, CivilDate today) {
  const std::string_view t = Trim(text);
  const std::string year = PadZeroLeft(Cat(today.year), 4);
  // A negative two-digit year ("-1") names no year: the result then has the
  // wrong length and becomes the invalid-date marker.
  const auto expand = [](std::string_view yy) {
    const std::int64_t value = StrToInt(yy);
    return value < 0 ? std::string() : PadZeroLeft(Cat(ExpandTwoDigitYear(value)), 4);
  };
  std::string result;
  switch (t.size()) {
    case 10:
      result = t;
      break;
    case 4:
      result = SlashDayMonth(t, year);
      break;
    case 5:
      result = Cat(t, '/', year);
      break;
    case 6:
      result = SlashDayMonth(t, expand(t.substr(4, 2)));
      break;
    case 8:
      result = t[2] == '/' ? Cat(t.substr(0, 6), expand(t.substr(6, 2))) : SlashDate(t);
      break;
    default:
      result = t;
      break;
  }
  if (result.size() != 10 || !IsValidDate(result)) return std::string(kInvalidDate);
  return result;
}

std::optional<int> FactorOfDate(CivilDate date) {
  const std::int64_t days = DaysFromCivil(date) - BaseDay();
  if (days < 0) return std::nullopt;
  if (days < kCycleRestart) return static_cast<int>(days);
  return static_cast<int>(1000 + (days - kCycleRestart) % kCycleLength);
}

std::optional<CivilDate> DateOfFactor(std::int64_t factor, CivilDate today) {
  if (factor < 0 || factor > 9999) return std::nullopt;
  if (factor < 1000) return CivilFromDays(BaseDay() + factor);
  const std::int64_t now = DaysFromCivil(today);
  // The candidates lie 9000 days apart and the window spans 8501 days, so at
  // most one lies inside it; otherwise the nearest wins (the earlier on a tie).
  // Once a candidate lies after today, the later ones lie further away still.
  std::int64_t best = BaseDay() + factor;
  for (std::int64_t day = best; day <= LastDay(); day += kCycleLength) {
    if (day >= now - kWindowBefore && day <= now + kWindowAfter) return CivilFromDays(day);
    if (std::llabs(day - now) < std::llabs(best - now)) best = day;
    if (day > now) break;
  }
  return CivilFromDays(best);
}

std::string DateToFactor(std::string_view dateText) {
  const std::optional<CivilDate> date = ParseDate(dateText);
  if (!date) throw ConversionError::Date(dateText);
  const std::optional<int> factor = FactorOfDate(*date);
  if (!factor)
    throw ConversionError(Cat("A data '"_cp, dateText, "' é anterior a 07/10/1997 e não tem fator de vencimento"_cp));
  return PadZeroLeft(Cat(*factor), 4);
}

std::string FactorToDate(std::string_view factorText, CivilDate today) {
  const std::optional<CivilDate> date = DateOfFactor(StrToInt(factorText), today);
  return date ? FormatDate(*date) : std::string(kInvalidDate);
}

}  // namespace verilote
