// How the return readers take a file apart: records end at a line feed, a
// carriage return before it is dropped (the bank's files come CR LF, and
// LF alone once they have passed through other hands), a Ctrl+Z ends the
// file. A record longer than any layout's is cut: the reader says so and
// goes on at the next line, so a binary file costs no memory. Also the
// readings of numbers and dates that every return record shares.
#pragma once

#include <cstdint>
#include <cstdio>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "app/host.hpp"

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

// A digit field as cents (or any whole number); nothing when it holds
// anything but digits. `blankIsZero` takes an all-blank field as zero (the
// tariff records leave amounts blank).
std::optional<std::int64_t> NumberAt(std::string_view rec, std::size_t from, std::size_t to, bool blankIsZero);

// DDMMAAAA (`digits` 8) or DDMMAA (6) at `from`; nothing for zeros, blanks
// or no real date. `bad` is set when the field held something that is not
// zeros, blanks or a real date.
std::optional<CivilDate> DateAt(std::string_view rec, std::size_t from, std::size_t digits, bool& bad);

// The bytes at from-to, blanks trimmed at the right.
std::string_view TextAt(std::string_view rec, std::size_t from, std::size_t to);

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

}  // namespace verilote::returns
