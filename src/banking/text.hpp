// Text and number helpers shared by every validator and calculator. Texts are
// byte strings; positions are 1-based; a character is one byte. Every function
// returns a new value and never changes its argument. The four padding
// functions keep the left end when they cut: PadZeroLeft("123456", 4) is "1234".
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace verilote {

// The character's code minus 48, unchecked: '7' gives 7, a blank gives -16.
constexpr int CharToDigit(char c) { return static_cast<unsigned char>(c) - 48; }
constexpr char DigitToChar(int n) { return static_cast<char>(n + 48); }

std::string KeepDigits(std::string_view text);
std::string SignedDigits(std::string_view text);
std::string RemoveDots(std::string_view text);
std::string PadZeroLeft(std::string_view text, std::size_t width);
std::string PadZeroRight(std::string_view text, std::size_t width);
std::string PadSpaceLeft(std::string_view text, std::size_t width);
std::string PadSpaceRight(std::string_view text, std::size_t width);
std::string RepeatText(std::size_t count, std::string_view text);
std::string StripLeadingZeros(std::string_view text);
std::string StripTrailingZeros(std::string_view text);
std::string FormatMoney(std::string_view cents);
std::string FormatCpfCnpj(std::string_view text);

// The small helpers below run on most fields of every record: their common
// case is inline, the rest out of line in text.cpp.
namespace detail {
bool IsNumericForm(std::string_view text);
std::int64_t StrToIntChecked(std::string_view text);
std::string_view TrimBoth(std::string_view text);
}  // namespace detail

// Every byte a digit (true for an empty text). No early exit: fields are
// short and nearly always digits, and a loop without branches stays cheap.
inline bool IsAllDigits(std::string_view text) {
  bool digits = true;
  for (const char c : text) digits &= static_cast<unsigned char>(c - '0') < 10;
  return digits;
}

// A floating-point number as the toolkit reads one: optional sign, digits with
// an optional decimal comma and digits, optional exponent; nothing around it.
inline bool IsNumeric(std::string_view text) {
  return (!text.empty() && IsAllDigits(text)) || detail::IsNumericForm(text);  // digits: what layout fields hold
}

bool IsPlainText(std::string_view text);
bool IsMonthText(std::string_view text);

// The integer conversion of every layout rule: leading blanks skipped, an
// optional sign, then decimal digits to the end. Anything else (empty, only
// blanks, a trailing blank, a letter, a value beyond 64 bits) throws
// ConversionError "'text' is not a valid integer value".
inline std::int64_t StrToInt(std::string_view text) {
  // Up to 18 plain digits, the usual field, cannot overflow.
  if (text.empty() || text.size() > 18 || !IsAllDigits(text)) return detail::StrToIntChecked(text);
  std::int64_t value = 0;
  for (const char c : text) value = value * 10 + (c - '0');
  return value;
}

// Blanks and control characters (bytes up to 32) removed at both ends.
inline std::string_view Trim(std::string_view text) {
  const auto kept = [](char c) { return static_cast<unsigned char>(c) > ' '; };
  if (text.empty() || (kept(text.front()) && kept(text.back()))) return text;
  return detail::TrimBoth(text);
}

// Positions `from` to `to` (1-based, inclusive) of a record, clipped: a field
// that lies partly or wholly beyond the end reads as a shorter or empty text.
constexpr std::string_view Field(std::string_view record, std::size_t from, std::size_t to) {
  if (from == 0 || from > record.size() || to < from) return {};
  return record.substr(from - 1, to - from + 1);
}

// `length` characters from position `from` (1-based), clipped the same way.
constexpr std::string_view Copy(std::string_view record, std::size_t from, std::size_t length) {
  if (from == 0 || from > record.size()) return {};
  return record.substr(from - 1, length);
}

}  // namespace verilote
