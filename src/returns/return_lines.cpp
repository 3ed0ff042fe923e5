#include "returns/return_lines.hpp"

#include <cerrno>
#include <cstring>

#include "app/errors.hpp"
#include "app/platform.hpp"
#include "app/report.hpp"
#include "banking/dates.hpp"
#include "banking/text.hpp"

namespace verilote::returns {

namespace {
constexpr std::size_t kBufferSize = 1 << 18;
constexpr char kCtrlZ = 26;
}  // namespace

LineReader::LineReader(const std::string& path, Host* host) : path_(path), host_(host) {
  platform::Kind kind = platform::Kind::Missing;
  platform::SystemError error;
  platform::File file = platform::File::OpenExisting(path, platform::File::Access::Read, kind, bytesTotal_, error);
  if (error) throw platform::Failure(path, "cannot open the file", error);
  // A FIFO or a device never ends: refused before anything is read.
  if (kind != platform::Kind::Regular)
    throw FileError(path, kind == platform::Kind::Directory
                              ? "is a directory, not a file"
                              : "is not a regular file (a device, FIFO or socket): refused");
  file_.reset(file.ToStdio(error));
  if (!file_) throw platform::Failure(path, "cannot open the file", error);
  buffer_.resize(kBufferSize);
  line_.reserve(512);
}

bool LineReader::Fill() {
  if (done_) return false;
  end_ = std::fread(buffer_.data(), 1, buffer_.size(), file_.get());
  pos_ = 0;
  if (end_ == 0 && std::ferror(file_.get())) throw FileError::FromErrno(path_, "cannot read the file", errno);
  bytesRead_ += end_;
  if (const void* z = std::memchr(buffer_.data(), kCtrlZ, end_)) {
    end_ = static_cast<std::size_t>(static_cast<const char*>(z) - buffer_.data());
    done_ = true;
  }
  if (end_ == 0) done_ = true;
  if (host_ != nullptr) host_->Progress(bytesRead_, bytesTotal_);
  return end_ != 0;
}

bool LineReader::Next(std::string_view& line) {
  line_.clear();
  cut_ = false;
  crlf_ = false;
  bool any = false;
  for (;;) {
    if (pos_ == end_ && !Fill()) {
      if (!any) return false;
      break;
    }
    any = true;
    const char* begin = buffer_.data() + pos_;
    const auto* lf = static_cast<const char*>(std::memchr(begin, '\n', end_ - pos_));
    const std::size_t size = lf != nullptr ? static_cast<std::size_t>(lf - begin) : end_ - pos_;
    // Most records lie whole in the buffer: handed out in place.
    if (lf != nullptr && line_.empty() && size <= kMaxLine) {
      pos_ += size + 1;
      ++number_;
      line = std::string_view(begin, size);
      if (!line.empty() && line.back() == '\r') {
        line.remove_suffix(1);
        crlf_ = true;
      }
      return true;
    }
    const std::size_t room = line_.size() < kMaxLine ? kMaxLine - line_.size() : 0;
    if (size > room) cut_ = true;
    line_.append(begin, std::min(size, room));
    pos_ += size;
    if (lf != nullptr) {
      ++pos_;
      break;
    }
  }
  ++number_;
  if (!cut_ && !line_.empty() && line_.back() == '\r') {
    line_.pop_back();
    crlf_ = true;
  }
  line = line_;
  return true;
}

namespace {
// Longest: a sign, 18 digits, 5 thousands marks, the decimal mark and two.
constexpr std::size_t kUnitsRoom = 32;

// Written back to front ending at `end`; returns where the text starts.
char* UnitsInto(char* end, std::int64_t cents, char decimal, bool thousands) {
  const bool negative = cents < 0;
  std::uint64_t value = negative ? 0 - static_cast<std::uint64_t>(cents) : static_cast<std::uint64_t>(cents);
  char* p = end;
  *--p = static_cast<char>('0' + value % 10);
  *--p = static_cast<char>('0' + value / 10 % 10);
  *--p = decimal;
  value /= 100;
  for (int n = 0;; ++n) {
    if (thousands && n != 0 && n % 3 == 0) *--p = '.';
    *--p = static_cast<char>('0' + value % 10);
    value /= 10;
    if (value == 0) break;
  }
  if (negative) *--p = '-';
  return p;
}
std::string Units(std::int64_t cents, char decimal, bool thousands) {
  char buffer[kUnitsRoom];
  char* end = buffer + kUnitsRoom;
  return std::string(UnitsInto(end, cents, decimal, thousands), end);
}
std::string Two(int n) { return Cat(static_cast<char>('0' + n / 10 % 10), static_cast<char>('0' + n % 10)); }
}  // namespace

std::string CentsText(std::int64_t cents) { return Units(cents, '.', false); }
std::string CentsBr(std::int64_t cents) { return Units(cents, ',', true); }
void AppendCentsBr(std::string& out, std::int64_t cents) {
  char buffer[kUnitsRoom];
  const char* begin = UnitsInto(buffer + kUnitsRoom, cents, ',', true);
  out.append(begin, static_cast<std::size_t>(buffer + kUnitsRoom - begin));
}
void AppendBrDate(std::string& out, const CivilDate& date) {
  // The dates read from a return have four-digit years; any other keeps
  // BrDate's own reading of its digits.
  if (date.year < 0 || date.year > 9999 || date.month < 0 || date.day < 0) {
    out += BrDate(date);
    return;
  }
  const char text[10] = {static_cast<char>('0' + date.day / 10 % 10),
                         static_cast<char>('0' + date.day % 10),
                         '/',
                         static_cast<char>('0' + date.month / 10 % 10),
                         static_cast<char>('0' + date.month % 10),
                         '/',
                         static_cast<char>('0' + date.year / 1000),
                         static_cast<char>('0' + date.year / 100 % 10),
                         static_cast<char>('0' + date.year / 10 % 10),
                         static_cast<char>('0' + date.year % 10)};
  out.append(text, sizeof text);
}
std::string IsoDate(const CivilDate& date) {
  return Cat(date.year / 1000 % 10, date.year / 100 % 10, Two(date.year % 100), '-', Two(date.month), '-',
             Two(date.day));
}
std::string BrDate(const CivilDate& date) {
  return Cat(Two(date.day), '/', Two(date.month), '/', date.year / 1000 % 10, date.year / 100 % 10,
             Two(date.year % 100));
}

}  // namespace verilote::returns
