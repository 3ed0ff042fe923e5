#include "app/spool.hpp"

#include <fcntl.h>
#include <stdlib.h>
#include <unistd.h>

#include <cerrno>
#include <filesystem>
#include <system_error>

#include "app/errors.hpp"

namespace verilote {

Spool::Spool() {
  std::error_code error;
  folder_ = std::filesystem::temp_directory_path(error).string();
  if (error) folder_ = "/tmp";
  std::string name = folder_ + "/verilote-spool-XXXXXX";
  const int fd = mkostemp(name.data(), O_CLOEXEC);
  if (fd < 0) Fail("cannot make a temporary file in");
  unlink(name.c_str());
  file_.reset(fdopen(fd, "w+b"));
  if (!file_) {
    const int err = errno;
    close(fd);
    errno = err;
    Fail("cannot make a temporary file in");
  }
}

void Spool::Fail(const char* action) const { throw FileError::FromErrno(folder_, action, errno); }

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
