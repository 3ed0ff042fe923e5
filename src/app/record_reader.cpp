#include "app/record_reader.hpp"

#include <sys/stat.h>

#include <cerrno>
#include <cstring>

#include "app/errors.hpp"
#include "app/host.hpp"

namespace verilote {

namespace {
constexpr std::size_t kBufferSize = 1 << 18;
constexpr char kCtrlZ = 26;
}  // namespace

RecordReader::RecordReader(std::string path, Host* host)
    : path_(std::move(path)), host_(host), file_(std::fopen(path_.c_str(), "rb")) {
  if (!file_) throw FileError::FromErrno(path_, "cannot open the file", errno);
  struct stat info {};
  if (fstat(fileno(file_.get()), &info) == 0 && S_ISDIR(info.st_mode))
    throw FileError(path_, "is a directory, not a file");
  if (S_ISREG(info.st_mode)) bytesTotal_ = static_cast<std::uint64_t>(info.st_size);
  buffer_.resize(kBufferSize);
}

bool RecordReader::Fill() {
  end_ = std::fread(buffer_.data(), 1, buffer_.size(), file_.get());
  pos_ = 0;
  if (end_ == 0 && std::ferror(file_.get())) throw FileError::FromErrno(path_, "cannot read the file", errno);
  bytesRead_ += end_;
  if (host_ != nullptr) host_->Progress(bytesRead_, bytesTotal_);
  return end_ != 0;
}

bool RecordReader::Next(std::string_view& record) {
  spill_.clear();
  bool spilled = false;  // the record began in an earlier buffer
  bool started = false;  // a record exists once it has a byte or a terminator
  const auto finish = [&](const char* begin, std::size_t size) {
    if (spilled) {
      spill_.append(begin, size);
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
        ++pos_;
        continue;
      }
    }
    const char* begin = buffer_.data() + pos_;
    const std::size_t size = end_ - pos_;
    const auto* cr = static_cast<const char*>(std::memchr(begin, '\r', size));
    const std::size_t span = cr != nullptr ? static_cast<std::size_t>(cr - begin) : size;
    const auto* eof = static_cast<const char*>(std::memchr(begin, kCtrlZ, span));
    if (eof != nullptr) {
      finish(begin, static_cast<std::size_t>(eof - begin));
      done_ = true;
      ctrlZ_ = true;
      bytesAfterCtrlZ_ = eof + 1 != buffer_.data() + end_ || std::fgetc(file_.get()) != EOF;
      return started || eof != begin;
    }
    if (cr != nullptr) {
      finish(begin, span);
      pos_ += span + 1;
      skipLineFeed_ = true;
      return true;
    }
    // No terminator in what is left of the buffer: keep it and refill.
    spill_.append(begin, size);
    spilled = true;
    started = started || size != 0;
    pos_ = end_;
  }
  record = spill_;
  return started;
}

bool RecordReader::Next(std::string& record) {
  std::string_view view;
  const bool found = Next(view);
  record.assign(view);
  return found;
}

}  // namespace verilote
