#include "app/errors.hpp"

#include <cstring>

namespace verilote {

namespace {

// The offending text as the message echoes it: at most 200 characters, and
// control bytes other than the tab written as \xNN so that a NUL or a carriage return cannot cut
// or garble the message.
std::string Echo(std::string_view text) {
  constexpr std::size_t kMaxEcho = 200;
  std::string echo;
  const std::size_t n = text.size() < kMaxEcho ? text.size() : kMaxEcho;
  for (std::size_t i = 0; i < n; ++i) {
    const auto c = static_cast<unsigned char>(text[i]);
    if ((c < 0x20 && c != '\t') || c == 0x7F) {
      static constexpr char kHex[] = "0123456789ABCDEF";
      echo += "\\x";
      echo += kHex[c >> 4];
      echo += kHex[c & 15];
    } else {
      echo += static_cast<char>(c);
    }
  }
  if (text.size() > kMaxEcho) echo += "...";
  return echo;
}

// The message is appended piece by piece: GCC 12 warns falsely (-Wrestrict)
// on a literal prepended to a string with operator+.
std::string Quoted(std::string_view text, std::string_view what) {
  std::string message = "'";
  message += Echo(text);
  message += "' ";
  message += what;
  return message;
}

}  // namespace

ConversionError ConversionError::Integer(std::string_view text) {
  return ConversionError(Quoted(text, "is not a valid integer value"));
}

ConversionError ConversionError::Date(std::string_view text) {
  return ConversionError(Quoted(text, "is not a valid date"));
}

Place& CurrentPlace() {
  thread_local Place place;
  return place;
}

std::string DescribePlace(const Place& place) {
  if (place.promptLast) return "Answer to the prompt \"" + Echo(place.prompt) + "\".";
  if (place.file.empty()) return {};
  return "File '" + place.file + "', record " + std::to_string(place.record) + ".";
}

FileError::FileError(std::string_view path, std::string_view cause)
    : std::runtime_error("I/O error: '" + std::string(path) + "': " + std::string(cause)) {}

FileError FileError::FromErrno(std::string_view path, std::string_view action, int err) {
  return FileError(path, std::string(action) + " (" + std::strerror(err) + ")");
}

}  // namespace verilote
