// Reads one record of a file again by its number, under RecordReader's
// reading rule (a record ends at a CR, one LF after it is skipped, a Ctrl+Z
// ends the file), for a window that shows the record of a finding. The byte
// offset of every kStride-th record met is remembered per file, so that going
// from finding to finding in a file of millions of records reads a few
// hundred kilobytes, not the file again; the marks are dropped when the
// file's size or time changes.
#pragma once

#include <cstdint>
#include <map>
#include <string>
#include <vector>

#include "app/platform.hpp"

namespace verilote {

class RecordLocator {
 public:
  enum class Status {
    Found,
    Missing,   // the file cannot be opened (gone, renamed, no access, not a regular file)
    TooShort,  // the file has fewer records now
    TooLong,   // the record is longer than RecordReader::kMaxRecord
  };
  struct Result {
    Status status = Status::Missing;
    std::string record;  // the record's bytes (Found)
  };

  static constexpr std::uint64_t kStride = 512;

  // Record `number` (from 1) of `path`.
  Result Read(const std::string& path, std::uint64_t number);

 private:
  struct Marks {
    std::int64_t size = -1, modified = 0;
    std::vector<std::uint64_t> starts;  // starts[i]: the offset of record i * kStride + 1
    bool complete = false;              // the file's end was met: starts holds every mark
  };
  std::map<std::string, Marks, std::less<>> files_;
};

}  // namespace verilote
