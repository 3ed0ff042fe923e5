// The failures that end a command where they happen. The front ends catch them
// at the command boundary (RunCommand). Their texts are Windows-1252 bytes, as
// report lines are: the window shows the error box, the CLI
// prints the text and exits with status 3. Lines already in the report stay.
#pragma once

#include <cstdint>
#include <stdexcept>
#include <string>
#include <string_view>

#include "app/cp1252.hpp"

namespace verilote {

// A text that the layout converts as a number or a date and that is neither.
class ConversionError : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
  static ConversionError Integer(std::string_view text);  // "'x' is not a valid integer value"
  static ConversionError Date(std::string_view text);     // "'x' is not a valid date"
};

// Where a command was when a conversion failed, for the error's second line:
// the record last read (file and record number) or the prompt last answered,
// whichever came later. Kept per thread; RecordReader and RunCommand note it.
struct Place {
  std::string file;
  std::uint64_t record = 0;
  std::string prompt;
  bool promptLast = false;
};
Place& CurrentPlace();
// "File 'path', record n." or "Answer to the prompt "text".", empty when none.
std::string DescribePlace(const Place& place);

// A file that cannot be opened, read, created, written, renamed or deleted.
class FileError : public std::runtime_error {
 public:
  FileError(std::string_view path, std::string_view cause);
  // Builds the cause from errno.
  static FileError FromErrno(std::string_view path, std::string_view action, int err);
};

// The user stopped a running command (the window's Stop button).
class CommandStopped : public std::runtime_error {
 public:
  CommandStopped() : std::runtime_error(std::string("Interrompido pelo usuário."_cp)) {}
};

}  // namespace verilote
