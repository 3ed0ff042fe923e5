#include "tools/rewrite.hpp"

#include "app/errors.hpp"
#include "app/host.hpp"
#include "app/platform.hpp"
#include "app/report.hpp"

namespace verilote {

namespace {

constexpr std::string_view kUnchanged = "; the file was not changed";

// A missing file is named as such before anything is made beside it.
const std::string& Existing(const std::string& path) {
  platform::SystemError error;
  if (platform::KindOf(path, &error) == platform::Kind::Missing)
    throw platform::Failure(path, "cannot open the file", error);
  return path;
}

}  // namespace

void RequireRegularFile(const std::string& path) {
  platform::SystemError error;
  const platform::Kind kind = platform::KindOf(path, &error);
  if (kind == platform::Kind::Missing) throw platform::Failure(path, "cannot open the file", error);
  if (kind == platform::Kind::Directory) throw FileError(path, "is a directory, not a file");
  if (kind != platform::Kind::Regular) throw FileError(path, "is not a regular file (a FIFO, a device or a socket)");
}

// The work file is made, and the file held against other writers, before the
// first byte is read: what another program writes from then on is either kept
// out by the hold or found by the last look before the replacement. The name
// is resolved once, there (a symbolic link to the file it names), and the
// file is read through the hold itself: were the name read again, a link
// re-pointed meanwhile would hand over another file's records, to be written
// in place of this one.
RecordRewrite::RecordRewrite(const std::string& path, Host& host) : path_(Existing(path)), out_(path_) {
  if (!out_.Held().IsOpen()) Refuse("it was removed or replaced by something else while it was opened");
  platform::SystemError error;
  platform::File file = out_.Held().Duplicate(error);
  if (error) throw platform::Failure(path_, "cannot open the file", error);
  reader_.emplace(path_, std::move(file), &host);
}

void RecordRewrite::Refuse(std::string_view cause) const { throw FileError(path_, Cat(cause, kUnchanged)); }

void RecordRewrite::ExpectHeader(bool (*isHeader)(std::string_view), std::string_view what) {
  isHeader_ = isHeader;
  header_ = what;
}

bool RecordRewrite::Next(std::string_view& record) {
  if (!reader_) return false;
  const bool found = reader_->Next(record);
  EndWritten();
  if (!found) {
    if (records_ == 0 && isHeader_ != nullptr) Refuse("it holds no record");
    return false;
  }
  ++records_;
  if (records_ == 1 && isHeader_ != nullptr && !isHeader_(record)) Refuse(Cat("its first record is not ", header_));
  if (RecordReader::HoldsLineFeed(record))
    Refuse(Cat("record ", records_,
               " holds a line feed: the lines do not end in CR LF, and rewriting the file would cut them"));
  return true;
}

// The line end of the record just replaced is known once the reader has gone
// past it.
void RecordRewrite::EndWritten() {
  if (!endPending_) return;
  out_.Write(reader_->PreviousLineEnd());
  endPending_ = false;
}

void RecordRewrite::Write(std::string_view record) {
  out_.Write(record);
  endPending_ = true;
}

void RecordRewrite::Commit() {
  if (reader_->BytesAfterCtrlZ())
    Refuse(Cat("bytes follow the Ctrl+Z (byte 26) after record ", records_,
               ", which ends the reading; rewriting the file would lose them"));
  EndWritten();
  if (reader_->EndedAtCtrlZ()) out_.Write("\x1a");
  // Windows replaces no file that is open, even by this process.
  reader_.reset();
  out_.Commit();
}

}  // namespace verilote
