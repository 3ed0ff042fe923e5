#include "app/spool.hpp"

#include "app/errors.hpp"
#include "app/platform.hpp"

namespace verilote {

Spool::Spool() {
  platform::SystemError error;
  file_.reset(platform::TemporaryFile(folder_, error));
  if (!file_) throw platform::Failure(folder_, "cannot make a temporary file in", error);
}

void Spool::Fail(const char* action) const { throw platform::Failure(folder_, action, platform::LastError()); }

// Each text as its length (8 bytes, native order) and its bytes.
void Spool::Append(std::string_view text) {
  const std::uint64_t size = text.size();
  if (std::fwrite(&size, sizeof size, 1, file_.get()) != 1 ||
      std::fwrite(text.data(), 1, text.size(), file_.get()) != text.size())
    Fail("cannot write a temporary file in");
}

void Spool::Rewind() {
  if (std::fflush(file_.get()) != 0) Fail("cannot write a temporary file in");
  std::rewind(file_.get());
}

bool Spool::Next(std::string& text) {
  std::uint64_t size = 0;
  if (std::fread(&size, sizeof size, 1, file_.get()) != 1) {
    if (std::ferror(file_.get())) Fail("cannot read a temporary file in");
    return false;
  }
  text.resize(size);
  if (std::fread(text.data(), 1, size, file_.get()) != size) Fail("cannot read a temporary file in");
  return true;
}

}  // namespace verilote
