#include "banking/text.hpp"

#include <array>
#include <limits>

#include "app/errors.hpp"

namespace verilote {

namespace {

constexpr bool IsDigit(char c) { return c >= '0' && c <= '9'; }
constexpr bool IsBlankOrControl(char c) { return static_cast<unsigned char>(c) <= ' '; }

std::string Pad(std::string_view text, std::size_t width, char filler, bool left) {
  if (text.size() >= width) return std::string(text.substr(0, width));
  std::string out;
  out.reserve(width);
  if (left) out.append(width - text.size(), filler);
  out += text;
  if (!left) out.append(width - text.size(), filler);
  return out;
}

// Padded fields end in long runs of blanks: those are skipped eight bytes at
// a time, the rest one byte at a time.
bool EightBlanks(const char* p) { return detail::NonBlankLanes::Of(detail::LoadWord<std::uint64_t>(p)) == 0; }

std::string_view TrimLeft(std::string_view text) {
  std::size_t i = 0;
  while (i + 8 <= text.size() && EightBlanks(text.data() + i)) i += 8;
  while (i < text.size() && IsBlankOrControl(text[i])) ++i;
  return text.substr(i);
}

std::string_view TrimRight(std::string_view text) {
  std::size_t n = text.size();
  while (n >= 8 && EightBlanks(text.data() + n - 8)) n -= 8;
  while (n > 0 && IsBlankOrControl(text[n - 1])) --n;
  return text.substr(0, n);
}

}  // namespace

std::string KeepDigits(std::string_view text) {
  std::string out;
  for (const char c : text)
    if (IsDigit(c)) out += c;
  return out;
}

std::string SignedDigits(std::string_view text) {
  const std::string_view trimmed = Trim(text);
  std::string digits = KeepDigits(trimmed);
  if (digits.empty()) digits.push_back('0');
  if (!trimmed.empty() && trimmed.front() == '-') digits.insert(digits.begin(), '-');
  return digits;
}

std::string RemoveDots(std::string_view text) {
  std::string out;
  for (const char c : text)
    if (c != '.') out += c;
  return out;
}

std::string PadZeroLeft(std::string_view text, std::size_t width) { return Pad(text, width, '0', true); }
std::string PadZeroRight(std::string_view text, std::size_t width) { return Pad(text, width, '0', false); }
std::string PadSpaceLeft(std::string_view text, std::size_t width) { return Pad(text, width, ' ', true); }
std::string PadSpaceRight(std::string_view text, std::size_t width) { return Pad(text, width, ' ', false); }

std::string RepeatText(std::size_t count, std::string_view text) {
  std::string out;
  out.reserve(count * text.size());
  for (std::size_t i = 0; i < count; ++i) out += text;
  return out;
}

std::string StripLeadingZeros(std::string_view text) {
  const std::size_t first = text.find_first_not_of('0');
  if (first == std::string_view::npos) return "0";
  return std::string(text.substr(first));
}

std::string StripTrailingZeros(std::string_view text) {
  const std::size_t last = text.find_last_not_of('0');
  if (last == std::string_view::npos) return "0";
  return std::string(text.substr(0, last + 1));
}

std::string FormatMoney(std::string_view cents) {
  const bool negative = !cents.empty() && (cents.front() == '-' || cents.back() == '-');
  // Zeros are stripped before the non-digits go, so zeros behind a leading
  // blank or sign stay: "- 0012" shows as 00,12-.
  const std::string digits = KeepDigits(StripLeadingZeros(cents));
  const std::size_t n = digits.size();
  std::string out;
  if (n == 0) {
    out = "0,00";
  } else if (n == 1) {
    out = "0,0" + digits;
  } else if (n == 2) {
    out = "0," + digits;
  } else if (n > 20) {
    out = digits;
  } else {
    const std::size_t whole = n - 2;
    for (std::size_t i = 0; i < whole; ++i) {
      if (i != 0 && (whole - i) % 3 == 0) out += '.';
      out += digits[i];
    }
    out += ',';
    out += digits.substr(whole);
  }
  if (negative) out += '-';
  return out;
}

std::string FormatCpfCnpj(std::string_view text) {
  std::string d = KeepDigits(text);
  if (d.size() < 11) d = PadZeroLeft(d, 11);
  const auto part = [&d](std::size_t from, std::size_t to) { return std::string(Field(d, from, to)); };
  if (d.size() > 11) return part(1, 2) + "." + part(3, 5) + "." + part(6, 8) + "/" + part(9, 12) + "-" + part(13, 14);
  return part(1, 3) + "." + part(4, 6) + "." + part(7, 9) + "-" + part(10, 11);
}

namespace detail {

// IsNumeric beyond plain digits.
bool IsNumericForm(std::string_view text) {
  std::size_t i = 0;
  const auto digits = [&] {
    const std::size_t start = i;
    while (i < text.size() && IsDigit(text[i])) ++i;
    return i - start;
  };
  if (i < text.size() && (text[i] == '+' || text[i] == '-')) ++i;
  std::size_t mantissa = digits();
  if (i < text.size() && text[i] == ',') {
    ++i;
    mantissa += digits();
  }
  if (mantissa == 0) return false;
  if (i < text.size() && (text[i] == 'e' || text[i] == 'E')) {
    ++i;
    if (i < text.size() && (text[i] == '+' || text[i] == '-')) ++i;
    if (digits() == 0) return false;
  }
  return i == text.size();
}

}  // namespace detail

bool IsMonthText(std::string_view text) {
  constexpr std::string_view kMonths = "01,02,03,04,05,06,07,08,09,10,11,12";
  return !text.empty() && kMonths.find(text) != std::string_view::npos;
}

namespace detail {

// StrToInt for any text: blanks, a sign, long or wrong texts.
std::int64_t StrToIntChecked(std::string_view text) {
  std::size_t i = 0;
  while (i < text.size() && text[i] == ' ') ++i;
  bool negative = false;
  if (i < text.size() && (text[i] == '+' || text[i] == '-')) negative = text[i++] == '-';
  if (i == text.size()) throw ConversionError::Integer(text);
  // Accumulate as a negative number so that the most negative value fits.
  constexpr std::int64_t kMin = std::numeric_limits<std::int64_t>::min();
  std::int64_t value = 0;
  for (; i < text.size(); ++i) {
    if (!IsDigit(text[i])) throw ConversionError::Integer(text);
    const int digit = text[i] - '0';
    if (value < (kMin + digit) / 10) throw ConversionError::Integer(text);
    value = value * 10 - digit;
  }
  if (!negative) {
    if (value == kMin) throw ConversionError::Integer(text);
    value = -value;
  }
  return value;
}

std::string_view TrimBoth(std::string_view text) { return TrimRight(TrimLeft(text)); }

}  // namespace detail

}  // namespace verilote
