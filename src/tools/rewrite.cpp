#include "tools/rewrite.hpp"

#include "app/errors.hpp"
#include "app/host.hpp"
#include "app/platform.hpp"
#include "app/report.hpp"

namespace verilote {

namespace {

constexpr std::string_view kUnchanged = "; the file was not changed";

const std::string& CheckedPath(const std::string& path) {
  RequireRegularFile(path);
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

platform::FileIdentity RecordRewrite::IdentityOf(const std::string& path) {
  return platform::IdentityOf(path).value_or(platform::FileIdentity{});
}

// The reader opens the file before the work file is created: a file that
// cannot be read leaves nothing behind.
RecordRewrite::RecordRewrite(const std::string& path, Host& host)
    : path_(path), reader_(std::in_place, CheckedPath(path), &host), out_(path), identity_(IdentityOf(path)) {}

void RecordRewrite::Refuse(std::string_view cause) const { throw FileError(path_, Cat(cause, kUnchanged)); }

bool RecordRewrite::Next(std::string_view& record) {
  if (!reader_ || !reader_->Next(record)) return false;
  ++records_;
  if (RecordReader::HoldsLineFeed(record))
    Refuse(Cat("record ", records_,
               " holds a line feed: the lines do not end in CR LF, and rewriting the file would cut them"));
  return true;
}

void RecordRewrite::Write(std::string_view record) {
  out_.Write(record);
  out_.Write("\r\n");
}

void RecordRewrite::Commit() {
  if (reader_->BytesAfterCtrlZ())
    Refuse(Cat("bytes follow the Ctrl+Z (byte 26) after record ", records_,
               ", which ends the reading; rewriting the file would lose them"));
  // What another program wrote to the file meanwhile would be lost.
  if (IdentityOf(path_) != identity_) Refuse("another program changed the file while it was being repaired");
  if (reader_->EndedAtCtrlZ()) out_.Write("\x1a");
  // Windows replaces no file that is open, even by this process.
  reader_.reset();
  out_.Commit();
}

}  // namespace verilote
