#include "app/record_pieces.hpp"

#include <algorithm>
#include <cerrno>

#include "app/errors.hpp"
#include "app/host.hpp"
#include "app/platform.hpp"
#include "app/record_reader.hpp"

namespace verilote {

namespace {
constexpr char kCtrlZ = 26;
}  // namespace

RecordPieces::RecordPieces(std::string path, Host* host) : path_(std::move(path)), host_(host) {
  platform::Kind kind = platform::Kind::Missing;
  platform::SystemError error;
  platform::File file = platform::File::OpenExisting(path_, platform::File::Access::Read, kind, total_, error);
  if (!error && kind == platform::Kind::Directory) throw FileError(path_, "is a directory, not a file");
  if (!error && kind != platform::Kind::Regular)
    throw FileError(path_, "is not a regular file (a device, FIFO or socket): refused");
  if (!error) file_.reset(file.ToStdio(error));
  if (error) throw platform::Failure(path_, "cannot open the file", error);
}

bool RecordPieces::Fill() {
  end_ = std::fread(buffer_.data(), 1, buffer_.size(), file_.get());
  pos_ = 0;
  if (end_ == 0 && std::ferror(file_.get())) throw FileError::FromErrno(path_, "cannot read the file", errno);
  read_ += end_;
  if (host_ != nullptr) host_->Progress(read_, total_);
  return end_ != 0;
}

bool RecordPieces::NextRecord() {
  std::string_view rest;
  while (inRecord_ && Next(rest)) {
  }
  // A record exists once it has a byte or a terminator: the file's end or a
  // Ctrl+Z right here begins none.
  while (!done_) {
    if (pos_ == end_ && !Fill()) break;
    if (skipLineFeed_) {
      skipLineFeed_ = false;
      if (buffer_[pos_] == '\n') ++pos_;
      continue;
    }
    if (buffer_[pos_] == kCtrlZ) break;
    inRecord_ = true;
    length_ = 0;
    ++records_;
    return true;
  }
  done_ = true;
  return false;
}

bool RecordPieces::Next(std::string_view& piece) {
  while (inRecord_ && !done_) {
    if (pos_ == end_ && !Fill()) break;
    const char* begin = buffer_.data() + pos_;
    const char* const last = buffer_.data() + end_;
    const char* stop = std::find_if(begin, last, [](char c) { return c == '\r' || c == kCtrlZ; });
    if (stop != begin) {
      piece = std::string_view(begin, static_cast<std::size_t>(stop - begin));
      pos_ += piece.size();
      length_ += piece.size();
      if (length_ > RecordReader::kMaxRecord)
        throw FileError(path_, "record " + std::to_string(records_) +
                                   " is longer than 32 MiB: no layout has such records; is this the right file?");
      return true;
    }
    ++pos_;
    done_ = *stop == kCtrlZ;
    skipLineFeed_ = !done_;
    inRecord_ = false;
    return false;
  }
  if (inRecord_) done_ = true;
  inRecord_ = false;
  return false;
}

}  // namespace verilote
