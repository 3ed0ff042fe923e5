#include "app/errors.hpp"

#include <cstring>

namespace verilote {

ConversionError ConversionError::Integer(std::string_view text) {
  return ConversionError("'" + std::string(text) + "' is not a valid integer value");
}

ConversionError ConversionError::Date(std::string_view text) {
  return ConversionError("'" + std::string(text) + "' is not a valid date");
}

FileError::FileError(std::string_view path, std::string_view cause)
    : std::runtime_error("I/O error: '" + std::string(path) + "': " + std::string(cause)) {}

FileError FileError::FromErrno(std::string_view path, std::string_view action, int err) {
  return FileError(path, std::string(action) + " (" + std::strerror(err) + ")");
}

}  // namespace verilote
