#include "app/record_reader.hpp"

#include <algorithm>
#include <bit>
#include <cerrno>
#include <cstring>

#include "app/errors.hpp"
#include "app/host.hpp"
#include "app/platform.hpp"

namespace verilote {

namespace {
constexpr std::size_t kBufferSize = 1 << 18;
constexpr char kCtrlZ = 26;

// A regular file open for reading as a binary-mode stream. A FIFO would block
// the reading until a writer came, and a device (/dev/zero, NUL) never ends:
// both are refused, without waiting.
std::FILE* RegularStream(const std::string& path, platform::File file, platform::Kind kind) {
  if (kind != platform::Kind::Regular)
    throw FileError(path, kind == platform::Kind::Directory
                              ? "is a directory, not a file"
                              : "is not a regular file (a device, FIFO or socket): refused");
  platform::SystemError error;
  std::FILE* stream = file.ToStdio(error);
  if (stream == nullptr) throw platform::Failure(path, "cannot open the file", error);
  return stream;
}

std::FILE* OpenRegular(const std::string& path, std::uint64_t& size) {
  platform::Kind kind = platform::Kind::Missing;
  platform::SystemError error;
  platform::File file = platform::File::OpenExisting(path, platform::File::Access::Read, kind, size, error);
  if (error) throw platform::Failure(path, "cannot open the file", error);
  return RegularStream(path, std::move(file), kind);
}

}  // namespace

RecordReader::RecordReader(std::string path, Host* host) : path_(std::move(path)), host_(host) {
  file_.reset(OpenRegular(path_, bytesTotal_));
  Start();
}

RecordReader::RecordReader(std::string path, platform::File file, Host* host) : path_(std::move(path)), host_(host) {
  const platform::Kind kind = file.Type();
  const auto identity = file.Identity();
  bytesTotal_ = identity ? static_cast<std::uint64_t>(identity->size) : 0;
  file_.reset(RegularStream(path_, std::move(file), kind));
  std::rewind(file_.get());  // a second handle shares the first one's position
  Start();
}

void RecordReader::Start() {
  buffer_.resize(kBufferSize);
  Place& place = CurrentPlace();
  place.file = path_;
  place.record = 0;
  place.promptLast = false;
}

void RecordReader::Counted() {
  ++record_;
  Place& place = CurrentPlace();
  place.record = record_;
  place.promptLast = false;
}

void RecordReader::Spill(const char* begin, std::size_t size) {
  if (spill_.size() + size > kMaxRecord)
    throw FileError(path_, "record " + std::to_string(record_ + 1) +
                               " is longer than 32 MiB: no layout has such records; is this the right file?");
  // The spill grows through powers of two up to the cap, never past it:
  // doubling a block that began mid-buffer would step from just under 32 MiB
  // to 64, holding both. (The string's own growth doubles what it had, and a
  // fresh string reserves exactly what it is asked.)
  if (spill_.size() + size > spill_.capacity()) {
    std::string grown;
    grown.reserve(std::min(kMaxRecord, std::bit_ceil(std::max(2 * spill_.capacity(), spill_.size() + size))));
    grown.append(spill_);
    spill_.swap(grown);
  }
  spill_.append(begin, size);
}

bool RecordReader::Fill() {
  end_ = std::fread(buffer_.data(), 1, buffer_.size(), file_.get());
  pos_ = 0;
  if (end_ == 0 && std::ferror(file_.get())) throw FileError::FromErrno(path_, "cannot read the file", errno);
  bytesRead_ += end_;
  // Found once per buffer, so that each record is scanned once, for its CR.
  const auto* eof = static_cast<const char*>(std::memchr(buffer_.data(), kCtrlZ, end_));
  ctrlZAt_ = eof != nullptr ? static_cast<std::size_t>(eof - buffer_.data()) : end_;
  if (host_ != nullptr) host_->Progress(bytesRead_, bytesTotal_);
  return end_ != 0;
}

bool RecordReader::Next(std::string_view& record) {
  if (ended_) return false;
  const bool found = NextRecord(record);  // may learn that the last record ended in CR LF
  previousLineEnd_ = lineEnd_;
  lineEnd_ = found ? foundLineEnd_ : 0;
  ended_ = !found;
  return found;
}

bool RecordReader::NextRecord(std::string_view& record) {
  spill_.clear();
  foundLineEnd_ = 0;
  bool spilled = false;  // the record began in an earlier buffer
  bool started = false;  // a record exists once it has a byte or a terminator
  const auto finish = [&](const char* begin, std::size_t size) {
    if (spilled) {
      Spill(begin, size);
      record = spill_;
    } else {
      record = std::string_view(begin, size);
    }
  };
  while (!done_) {
    if (pos_ == end_ && !Fill()) {
      done_ = true;
      break;
    }
    if (skipLineFeed_) {
      skipLineFeed_ = false;
      if (buffer_[pos_] == '\n') {
        lineEnd_ = 2;
        ++pos_;
        continue;
      }
    }
    const char* begin = buffer_.data() + pos_;
    const std::size_t size = end_ - pos_;
    // A CR before the buffer's first Ctrl+Z ends the record; else that Ctrl+Z
    // ends the file.
    const auto* cr = static_cast<const char*>(std::memchr(begin, '\r', ctrlZAt_ - pos_));
    if (cr != nullptr) {
      const auto span = static_cast<std::size_t>(cr - begin);
      finish(begin, span);
      pos_ += span + 1;
      skipLineFeed_ = true;
      foundLineEnd_ = 1;
      Counted();
      return true;
    }
    if (ctrlZAt_ != end_) {
      const char* eof = buffer_.data() + ctrlZAt_;
      finish(begin, static_cast<std::size_t>(eof - begin));
      done_ = true;
      ctrlZ_ = true;
      bytesAfterCtrlZ_ = eof + 1 != buffer_.data() + end_ || std::fgetc(file_.get()) != EOF;
      if (!started && eof == begin) return false;
      Counted();
      return true;
    }
    // No terminator in what is left of the buffer: keep it and refill.
    Spill(begin, size);
    spilled = true;
    started = started || size != 0;
    pos_ = end_;
  }
  record = spill_;
  if (started) Counted();
  return started;
}

void RecordReader::RequireWhole() const {
  const std::optional<platform::FileIdentity> now = platform::IdentityOf(path_);
  const std::uint64_t size = now ? static_cast<std::uint64_t>(now->size) : bytesTotal_;
  if ((!ctrlZ_ && bytesRead_ != bytesTotal_) || size != bytesTotal_)
    throw FileError(path_, "changed while it was read (" + std::to_string(bytesTotal_) + " bytes when opened, " +
                               std::to_string(bytesRead_) + " read, " + std::to_string(size) +
                               " now): another program is writing it; nothing was written");
}

bool RecordReader::Next(std::string& record) {
  std::string_view view;
  const bool found = Next(view);
  record.assign(view);
  return found;
}

}  // namespace verilote
