// Temporary files in a folder that fills up, for the report's store and its
// finding index (ReportStore takes the maker): a full temporary folder cannot
// be made by an unprivileged test, so the files are made to behave as one.
//
// FillingFiles(room): the files take `room` bytes between them, then a write
// takes what still fits and fails with ENOSPC, as on a full tmpfs; the bytes
// written read back as written. Needs glibc's fopencookie (Linux).
// RefusingFiles(): every write fails from the first byte (the null device
// opened for reading); on every system.
#pragma once

#include <algorithm>
#include <cerrno>
#include <cstdint>
#include <cstdio>
#include <memory>
#include <string>

#include "app/platform.hpp"
#include "desk/report_store.hpp"

namespace verilote::testing {

#if defined(_WIN32)
inline constexpr const char* kNullDevice = "NUL";
#else
inline constexpr const char* kNullDevice = "/dev/null";
#endif

inline TemporaryFileMaker RefusingFiles() {
  return [](std::string& folder, platform::SystemError& error) {
    folder = kNullDevice;
    std::FILE* file = std::fopen(kNullDevice, "rb");
    if (file == nullptr) error = platform::LastError();
    return file;
  };
}

#if defined(__GLIBC__)
#define VERILOTE_HAS_FILLING_FILES 1

class FillingFiles {
 public:
  explicit FillingFiles(std::uint64_t room) : room_(std::make_shared<Room>(Room{room, 0})) {}

  // Bytes the files took so far.
  std::uint64_t Used() const { return room_->used; }

  TemporaryFileMaker Maker() const {
    return [room = room_](std::string& folder, platform::SystemError& error) -> std::FILE* {
      std::FILE* real = platform::TemporaryFile(folder, error);
      if (real == nullptr) return nullptr;
      auto* cookie = new Cookie{real, room};
      const cookie_io_functions_t io = {Read, Write, Seek, Close};
      std::FILE* file = fopencookie(cookie, "w+b", io);
      if (file == nullptr) {
        error = platform::LastError();
        Close(cookie);
      }
      return file;
    };
  }

 private:
  struct Room {
    std::uint64_t room, used;
  };
  struct Cookie {
    std::FILE* real;
    std::shared_ptr<Room> room;
  };

  static ssize_t Read(void* c, char* buffer, size_t size) {
    auto* cookie = static_cast<Cookie*>(c);
    const std::size_t got = std::fread(buffer, 1, size, cookie->real);
    return got == 0 && std::ferror(cookie->real) ? -1 : static_cast<ssize_t>(got);
  }
  static ssize_t Write(void* c, const char* buffer, size_t size) {
    auto* cookie = static_cast<Cookie*>(c);
    Room& room = *cookie->room;
    const std::size_t fits = static_cast<std::size_t>(std::min<std::uint64_t>(size, room.room - room.used));
    const std::size_t put = std::fwrite(buffer, 1, fits, cookie->real);
    room.used += put;
    if (put < size) errno = ENOSPC;
    return static_cast<ssize_t>(put);
  }
  static int Seek(void* c, off64_t* offset, int whence) {
    auto* cookie = static_cast<Cookie*>(c);
    if (fseeko64(cookie->real, *offset, whence) != 0) return -1;
    *offset = ftello64(cookie->real);
    return 0;
  }
  static int Close(void* c) {
    auto* cookie = static_cast<Cookie*>(c);
    const int result = std::fclose(cookie->real);
    delete cookie;
    return result;
  }

  std::shared_ptr<Room> room_;
};
#endif

}  // namespace verilote::testing
