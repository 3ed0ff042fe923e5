// The temporary files of verilote-cli check: the JUnit document's body and
// each file's report lines or issues, kept out of memory however many files
// a run checks.
#pragma once

#include <algorithm>
#include <cerrno>
#include <cstdint>
#include <cstdio>
#include <memory>
#include <ostream>
#include <string>
#include <string_view>

#include "app/platform.hpp"

namespace verilote {

// A temporary file that goes when the run ends (named apart from app/spool.hpp's
// Spool, a different piece): the JUnit document's body
// and each file's report lines or issues. A write or read that fails (the
// temporary folder full) is kept until the next Reset: the file whose bytes
// were lost is given as not checked, with the cause.
class CheckSpool {
 public:
  // Says why there is no file, when there is none.
  bool Missing(std::ostream& err) const {
    if (!file_)
      err << "verilote-cli: " << platform::Failure(folder_, "cannot make a temporary file in", error_).what() << '\n';
    return !file_;
  }
  void Write(std::string_view bytes) {
    if (failed_) return;
    if (std::fwrite(bytes.data(), 1, bytes.size(), file_.get()) != bytes.size()) Fail();
    size_ += bytes.size();
  }
  // Starts again from an empty spool. After a failure a new temporary file
  // takes the old one's place: the old one's buffer holds bytes that can no
  // longer be written, and the next file's bytes may fit.
  void Reset() {
    size_ = 0;
    if (!failed_) {
      if (std::fseek(file_.get(), 0, SEEK_SET) != 0) Fail();
      return;
    }
    error_ = {};
    file_.reset(platform::TemporaryFile(folder_, error_));
    failed_ = file_ == nullptr;
    if (failed_ && !error_) error_ = {EIO};
  }
  // Writes out what waits in memory; false when bytes were lost.
  bool Flush() {
    if (!failed_ && std::fflush(file_.get()) != 0) Fail();
    return !failed_;
  }
  // Hands the bytes written since the last Reset to `to`, then goes on
  // writing after them.
  template <typename To>
  void CopyTo(To to) {
    if (failed_ || std::fflush(file_.get()) != 0 || std::fseek(file_.get(), 0, SEEK_SET) != 0) return Fail();
    char buffer[1 << 14];
    for (std::uint64_t left = size_; left > 0;) {
      const std::size_t n =
          std::fread(buffer, 1, static_cast<std::size_t>(std::min<std::uint64_t>(left, sizeof buffer)), file_.get());
      if (n == 0) return Fail();
      to(std::string_view(buffer, n));
      left -= n;
    }
    if (std::fseek(file_.get(), 0, SEEK_END) != 0) Fail();
  }
  bool Failed() const { return failed_; }
  // Why the spool lost bytes.
  std::string Why() const { return platform::Failure(folder_, "cannot write a temporary file there", error_).what(); }

 private:
  void Fail() {
    if (!failed_) error_ = platform::LastError();
    if (!error_) error_ = {EIO};
    failed_ = true;
  }

  std::string folder_;
  platform::SystemError error_;
  struct Closer {
    void operator()(std::FILE* f) const { std::fclose(f); }
  };
  std::unique_ptr<std::FILE, Closer> file_{platform::TemporaryFile(folder_, error_)};
  std::uint64_t size_ = 0;
  bool failed_ = false;
};

}  // namespace verilote
