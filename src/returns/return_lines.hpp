// How the return readers take a file apart: records end at a line feed, a
// carriage return before it is dropped (the bank's files come CR LF, and
// LF alone once they have passed through other hands), a Ctrl+Z ends the
// file. A record longer than any layout's is cut: the reader says so and
// goes on at the next line, so a binary file costs no memory. Also the
// readings of numbers and dates that every return record shares.
#pragma once

#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "app/host.hpp"
#include "banking/dates.hpp"
#include "banking/text.hpp"

namespace verilote::returns {

class LineReader {
 public:
  // A record longer than this is cut here: the longest layout has 400 bytes.
  static constexpr std::size_t kMaxLine = 4096;

  // Opens a regular file; throws FileError when it cannot.
  explicit LineReader(const std::string& path, Host* host = nullptr);

  // The next record, without its line end; false at the end. The view stays
  // valid until the next call.
  bool Next(std::string_view& line);

  std::uint64_t Number() const { return number_; }
  // The record just handed out was longer than kMaxLine and is cut.
  bool Cut() const { return cut_; }
  // The record just handed out ended in CR LF.
  bool CrLf() const { return crlf_; }

 private:
  bool Fill();
  struct Closer {
    void operator()(std::FILE* f) const { std::fclose(f); }
  };
  std::string path_;
  Host* host_;
  std::unique_ptr<std::FILE, Closer> file_;
  std::vector<char> buffer_;
  std::string line_;
  std::size_t pos_ = 0, end_ = 0;
  std::uint64_t bytesRead_ = 0, bytesTotal_ = 0, number_ = 0;
  bool done_ = false, cut_ = false, crlf_ = false;
};

// "80.00", "-1.50": cents with a point and two decimals.
std::string CentsText(std::int64_t cents);
// "1.234,56": as a Brazilian reads it, thousands marked.
std::string CentsBr(std::int64_t cents);
// ISO "2014-01-06" / "06/01/2014".
std::string IsoDate(const CivilDate& date);
std::string BrDate(const CivilDate& date);
// CentsBr and BrDate appended to `out`: a report of millions of titles
// builds each line in one reused buffer, with no text of its own per field.
void AppendCentsBr(std::string& out, std::int64_t cents);
void AppendBrDate(std::string& out, const CivilDate& date);

// The three below are inline: a return's reader calls them some twenty times
// a title, with positions the compiler then knows.

// A digit field as cents (or any whole number); nothing when it holds
// anything but digits. `blankIsZero` takes an all-blank field as zero (the
// tariff records leave amounts blank).
VERILOTE_INLINE std::optional<std::int64_t> NumberAt(std::string_view rec, std::size_t from, std::size_t to,
                                                     bool blankIsZero) {
  if (to > rec.size() || from > to || to - from >= 18) return std::nullopt;
  const std::string_view field = rec.substr(from - 1, to - from + 1);
  // Most of a title's amounts are zeros (no interest, discount, rebate,
  // IOF): two word compares tell them.
  if (field.size() >= 8 && field.size() <= 16) {
    constexpr auto kZeros = detail::EveryByte<std::uint64_t>('0');
    if (detail::LoadWord<std::uint64_t>(field.data()) == kZeros &&
        detail::LoadWord<std::uint64_t>(field.data() + field.size() - 8) == kZeros)
      return 0;
  }
  // Word-wide digit test and value: a return holds millions of amounts.
  if (IsAllDigits(field)) return detail::DigitsValue(field.data(), field.size());
  if (blankIsZero && field.find_first_not_of(' ') == std::string_view::npos) return 0;
  return std::nullopt;
}

// The bytes at from-to, blanks trimmed at the right.
VERILOTE_INLINE std::string_view TextAt(std::string_view rec, std::size_t from, std::size_t to) {
  if (from > rec.size()) return {};
  std::string_view field = rec.substr(from - 1, std::min(to, rec.size()) - from + 1);
  while (!field.empty() && field.back() == ' ') field.remove_suffix(1);
  return field;
}

// DDMMAAAA (`digits` 8) or DDMMAA (6) at `from`; nothing for zeros, blanks
// or no real date. `bad` is set when the field held something that is not
// zeros, blanks or a real date.
VERILOTE_INLINE std::optional<CivilDate> DateAt(std::string_view rec, std::size_t from, std::size_t digits, bool& bad) {
  bad = false;
  if (from + digits - 1 > rec.size()) return std::nullopt;
  const std::string_view field = rec.substr(from - 1, digits);
  // A date left unset (zeros) is the most common date of a return.
  if (digits == 8 && detail::LoadWord<std::uint64_t>(field.data()) == detail::EveryByte<std::uint64_t>('0'))
    return std::nullopt;
  if (IsAllDigits(field)) {
    const char* p = field.data();
    const auto yy = detail::DigitsValue(p + 4, digits - 4);
    const CivilDate date{digits == 8 ? static_cast<int>(yy) : ExpandTwoDigitYear(yy),
                         static_cast<int>(detail::DigitsValue(p + 2, 2)), static_cast<int>(detail::DigitsValue(p, 2))};
    if (IsRealDate(date)) return date;
    if (field.find_first_not_of('0') == std::string_view::npos) return std::nullopt;
  } else if (field.find_first_not_of(' ') == std::string_view::npos) {
    return std::nullopt;
  }
  bad = true;
  return std::nullopt;
}

}  // namespace verilote::returns
