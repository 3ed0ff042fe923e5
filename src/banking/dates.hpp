// Dates of the layouts (ddmmyyyy fields, dd/mm/yyyy display) and the boleto's
// due-date factor ("fator de vencimento").
//
// The factor counts days from 07/10/1997: factor 1000 is 03/07/2000 and 9999
// is 21/02/2025. Since 22/02/2025 the banks restart it at 1000 and count one a
// day again, so every 9000 days the same factor comes back (9999 on
// 13/10/2049, then 1000 again). A factor below 1000 only ever meant a date of
// the first cycle; "0000" on a boleto means "no due date" (callers test it).
//
// Routines that need today's date take it as an argument: commands pass
// host.Today().
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "app/host.hpp"
#include "banking/text.hpp"

namespace verilote {

// ---- Calendar (proleptic Gregorian, years 1 to 9999).

// Days since 01/01/1970 of a date; the date must exist.
std::int64_t DaysFromCivil(CivilDate date);
// The date of a day number.
CivilDate CivilFromDays(std::int64_t days);
bool IsLeapYear(int year);
// True for a date that exists in years 1 to 9999.
bool IsRealDate(CivilDate date);

// dd/mm/yyyy, zero-filled.
std::string FormatDate(CivilDate date);

// A date as a user types it: blanks and control characters trimmed, then day,
// month and year separated by "/" (day and month of one or two digits, year of
// four, or of two by the two-digit-year rule: below 40 is 20yy, else 19yy).
// Nothing when it does not parse or names no real day.
std::optional<CivilDate> ParseDate(std::string_view text);

// Two-digit years: below 40 mean 20yy, 40 and above mean 19yy.
int ExpandTwoDigitYear(std::int64_t yy);

// ---- Date texts.

namespace detail {
bool IsValidDateText(std::string_view text);

// The day, month and year of eight digits ddmmyyyy at p.
VERILOTE_INLINE CivilDate DdmmyyyyDate(const char* p) {
  const auto digit = [p](int i) { return p[i] - '0'; };
  return {digit(4) * 1000 + digit(5) * 100 + digit(6) * 10 + digit(7), digit(2) * 10 + digit(3),
          digit(0) * 10 + digit(1)};
}

// IsRealDate of a date of years 0 to 9999; days up to 28 need no calendar.
VERILOTE_INLINE bool IsRealDdmmyyyy(CivilDate date) {
  if (date.year < 1 || date.month < 1 || date.month > 12 || date.day < 1) return false;
  return date.day <= 28 || IsRealDate(date);
}
}  // namespace detail

// Trimmed; 8 characters are read as ddmmyyyy, 10 as dd/mm/yyyy; true when the
// text has exactly that form and names a real day. Never fails. The layouts'
// eight-digit fields take the inline path.
VERILOTE_INLINE bool IsValidDate(std::string_view text) {
  if (text.size() == 8 && !detail::AnyLaneFails<detail::NonDigitLanes>(text.data(), 8))
    return detail::IsRealDdmmyyyy(detail::DdmmyyyyDate(text.data()));
  return detail::IsValidDateText(text);
}

// A layout date field of exactly eight digits ddmmyyyy naming a real day
// (what IsValidDate accepts of an untrimmed eight-character field) as the
// number yyyymmdd, which orders dates as the calendar does. Nothing otherwise.
// The validators' date-order rules read their fields with it, straight from
// the record.
VERILOTE_INLINE std::optional<std::int64_t> DdmmyyyyOrder(std::string_view field) {
  if (field.size() != 8 || detail::AnyLaneFails<detail::NonDigitLanes>(field.data(), 8)) return std::nullopt;
  const CivilDate date = detail::DdmmyyyyDate(field.data());
  if (!detail::IsRealDdmmyyyy(date)) return std::nullopt;
  return std::int64_t{date.year} * 10000 + date.month * 100 + date.day;
}

// A text of exactly 8 characters becomes dd/mm/yyyy; anything else is
// returned unchanged. Never fails.
std::string SlashDate(std::string_view text);

// What a user types at a date prompt, as dd/mm/yyyy or the invalid-date
// marker "99/99/9999". Accepts dd/mm/yyyy, ddmm and dd/mm (the year of
// `today`), ddmmyy and dd/mm/yy (two-digit-year rule) and ddmmyyyy. Fails
// (ConversionError) only on a non-numeric two-digit year.
std::string NormalizeDate(std::string_view text, CivilDate today);

inline constexpr std::string_view kInvalidDate = "99/99/9999";

// ---- Due-date factor.

// The factor of a date: 0 to 9999 up to 21/02/2025, then 1000 + (days since
// 22/02/2025) mod 9000. Nothing for a date before 07/10/1997.
std::optional<int> FactorOfDate(CivilDate date);

// The date a factor means on `today`'s boleto. Below 1000: the first cycle
// (07/10/1997 + factor). From 1000 to 9999: of the dates the factor denotes
// (one per 9000-day cycle), the one from 3000 days before to 5500 days after
// today (FEBRABAN's window); when none lies there, the nearest to today.
// Nothing for a factor outside 0 to 9999.
std::optional<CivilDate> DateOfFactor(std::int64_t factor, CivilDate today);

// The four-digit factor text of a date text (parsed as ParseDate reads it).
// Throws ConversionError "'x' is not a valid date" when the text does not
// parse, and a ConversionError naming the date when it lies before
// 07/10/1997 (such a date has no factor).
std::string DateToFactor(std::string_view dateText);

// The dd/mm/yyyy date of a factor text, decoded with DateOfFactor around
// `today`. The text is converted with StrToInt (a non-numeric text throws
// ConversionError); a number outside 0 to 9999 gives "99/99/9999".
std::string FactorToDate(std::string_view factorText, CivilDate today);

}  // namespace verilote
