#include "app/spool.hpp"

#include <algorithm>

#include "app/errors.hpp"
#include "app/platform.hpp"

namespace verilote {

namespace {

constexpr std::size_t kBlock = 64 * 1024;

}  // namespace

Spool::Spool() {
  platform::SystemError error;
  file_.reset(platform::TemporaryFile(folder_, error));
  if (!file_) throw platform::Failure(folder_, "cannot make a temporary file in", error);
}

void Spool::Fail(const char* action) const { throw platform::Failure(folder_, action, platform::LastError()); }

void Spool::WriteBuffer() {
  if (std::fwrite(buffer_.data(), 1, buffer_.size(), file_.get()) != buffer_.size())
    Fail("cannot write a temporary file in");
  buffer_.clear();
}

// Each text as its length (8 bytes, native order) and its bytes.
void Spool::Append(std::string_view text) {
  const std::uint64_t size = text.size();
  buffer_.append(reinterpret_cast<const char*>(&size), sizeof size);
  buffer_ += text;
  if (buffer_.size() >= kBlock) WriteBuffer();
}

void Spool::Rewind() {
  if (!reading_) WriteBuffer();
  if (std::fflush(file_.get()) != 0) Fail("cannot write a temporary file in");
  std::rewind(file_.get());
  buffer_.clear();
  position_ = 0;
  reading_ = true;
}

// Makes `count` bytes from position_ on available in buffer_; false when the
// file ends before.
bool Spool::Fill(std::size_t count) {
  if (buffer_.size() - position_ >= count) return true;
  buffer_.erase(0, position_);
  position_ = 0;
  const std::size_t held = buffer_.size(), wanted = std::max(count - held, kBlock);
  buffer_.resize(held + wanted);
  const std::size_t got = std::fread(buffer_.data() + held, 1, wanted, file_.get());
  buffer_.resize(held + got);
  if (got < wanted && std::ferror(file_.get())) Fail("cannot read a temporary file in");
  return buffer_.size() >= count;
}

bool Spool::Next(std::string& text) {
  std::uint64_t size = 0;
  if (!Fill(sizeof size)) return false;
  std::copy_n(buffer_.data() + position_, sizeof size, reinterpret_cast<char*>(&size));
  if (!Fill(sizeof size + size)) Fail("cannot read a temporary file in");
  text.assign(buffer_, position_ + sizeof size, size);
  position_ += sizeof size + size;
  return true;
}

}  // namespace verilote
