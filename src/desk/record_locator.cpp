#include "desk/record_locator.hpp"

#include <algorithm>
#include <cstring>

#include "app/record_reader.hpp"

namespace verilote {

namespace {
constexpr std::size_t kChunk = std::size_t{1} << 16;
constexpr char kCtrlZ = 26;
}  // namespace

RecordLocator::Result RecordLocator::Read(const std::string& path, std::uint64_t number) {
  platform::Kind kind = platform::Kind::Missing;
  std::uint64_t size = 0;
  platform::SystemError error;
  platform::File file = platform::File::OpenExisting(path, platform::File::Access::Read, kind, size, error);
  if (error || kind != platform::Kind::Regular || !file.IsOpen()) return {Status::Missing, {}};
  if (number == 0) return {Status::TooShort, {}};

  const std::optional<platform::FileIdentity> identity = file.Identity();
  const std::int64_t nowSize = identity ? identity->size : static_cast<std::int64_t>(size);
  const std::int64_t nowModified = identity ? identity->modified : 0;
  Marks& marks = files_[path];
  if (marks.starts.empty() || marks.size != nowSize || marks.modified != nowModified)
    marks = Marks{nowSize, nowModified, {0}, false};

  const std::uint64_t wanted = (number - 1) / kStride;
  if (wanted >= marks.starts.size() && marks.complete) return {Status::TooShort, {}};
  const std::uint64_t from = std::min<std::uint64_t>(wanted, marks.starts.size() - 1);
  std::uint64_t current = from * kStride + 1;  // the record being read
  std::uint64_t at = marks.starts[from];       // the file offset of the chunk
  bool afterCr = false, startPending = false, hasBytes = false;
  std::string record;
  std::vector<char> chunk(kChunk);
  for (bool ended = false; !ended;) {
    std::size_t got = 0;
    if (file.ReadAt(at, chunk.data(), chunk.size(), got)) return {Status::Missing, {}};
    if (got == 0) break;
    const char *p = chunk.data(), *end = p + got;
    while (p < end) {
      if (afterCr) {
        afterCr = false;
        if (*p == '\n') {
          ++p;
          continue;
        }
      }
      if (startPending) {
        // Record `current` starts here: mark it when it opens a stride.
        startPending = false;
        if ((current - 1) % kStride == 0 && (current - 1) / kStride == marks.starts.size())
          marks.starts.push_back(at + static_cast<std::uint64_t>(p - chunk.data()));
      }
      const char* cr = static_cast<const char*>(std::memchr(p, '\r', static_cast<std::size_t>(end - p)));
      const char* limit = cr != nullptr ? cr : end;
      const char* ctrlZ = static_cast<const char*>(std::memchr(p, kCtrlZ, static_cast<std::size_t>(limit - p)));
      const char* stop = ctrlZ != nullptr ? ctrlZ : limit;
      if (current == number) {
        if (record.size() + static_cast<std::size_t>(stop - p) > RecordReader::kMaxRecord) return {Status::TooLong, {}};
        record.append(p, stop);
      }
      hasBytes = hasBytes || stop != p;
      if (stop == end) break;
      if (*stop == kCtrlZ) {  // the file's end: nothing after it is read
        ended = true;
        break;
      }
      if (current == number) return {Status::Found, std::move(record)};
      ++current;
      hasBytes = false;
      afterCr = startPending = true;
      p = stop + 1;
    }
    at += got;
  }
  if (current == number && hasBytes) return {Status::Found, std::move(record)};
  marks.complete = true;
  return {Status::TooShort, {}};
}

}  // namespace verilote
