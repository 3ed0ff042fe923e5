// Everything the core needs from the operating system beyond standard C++:
// where the program and the user's files live, opening, replacing and
// identifying files, processes, the local clock, the console and interrupts.
// One implementation per system: platform_posix.cpp and platform_windows.cpp.
//
// Paths are UTF-8 strings everywhere in the program. Files are always opened
// in binary mode: no system translates line ends or stops at a Ctrl+Z for us.
#pragma once

#include <cstdint>
#include <cstdio>
#include <ctime>
#include <filesystem>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "app/errors.hpp"

namespace verilote::platform {

// The cause of a failed system call (errno on POSIX, GetLastError() on
// Windows); zero is success.
struct SystemError {
  int code = 0;
  explicit operator bool() const { return code != 0; }
};
SystemError LastError();
bool IsAlreadyExists(SystemError error);
// The file is held by another program or run (File::Hold).
bool IsHeldElsewhere(SystemError error);
// FileError naming `path`: "<action> (<the system's reason>)".
FileError Failure(std::string_view path, std::string_view action, SystemError error);

// UTF-8 text to a std::filesystem path and back, on every system.
inline std::filesystem::path PathOf(std::string_view utf8) {
  return std::filesystem::path(std::u8string(utf8.begin(), utf8.end()));
}
inline std::string Utf8Of(const std::filesystem::path& path) {
  const std::u8string text = path.u8string();
  return std::string(text.begin(), text.end());
}
// '/' everywhere; '\' too on Windows.
bool IsSeparator(char c);

// The command line as UTF-8 texts, the program's name first.
std::vector<std::string> Arguments(int argc, char** argv);

// The directory that holds the running program, "." when it cannot be told.
std::string ProgramDirectory();
// The per-user data directory, not created: $XDG_DATA_HOME/verilote or
// ~/.local/share/verilote on POSIX, %LOCALAPPDATA%\Verilote on Windows.
// Throws FileError when the system names no such place.
std::string UserDataDirectory();
// Whether this process may create files in `path`.
bool IsWritableDirectory(const std::string& path);

std::uint64_t ProcessId();
// True only when no running process has this id (a work file's maker is gone).
bool ProcessGone(std::uint64_t pid);

std::tm LocalTime(std::time_t when);

enum class Kind { Missing, Regular, Directory, Other };  // Other: a device, FIFO or socket
// What `path` names once symbolic links are followed; `error` says why it
// counts as missing.
Kind KindOf(const std::string& path, SystemError* error = nullptr);

// What tells one file from another, and a changed file from itself.
struct FileIdentity {
  std::uint64_t device = 0, index = 0;
  std::int64_t size = -1, modified = 0;  // modification time in nanoseconds
  std::int64_t changed = 0;              // status change time (POSIX), which no program can set back
  std::uint64_t links = 1;               // names (hard links) of the file
  bool SameFile(const FileIdentity& other) const { return device == other.device && index == other.index; }
  friend bool operator==(const FileIdentity&, const FileIdentity&) = default;
};
std::optional<FileIdentity> IdentityOf(const std::string& path);
// One file, whatever names or links lead to it; for a file not there yet,
// the same path once links and ".." are resolved.
bool SameFile(const std::string& a, const std::string& b);

// The user set the file read-only: no write bit (even root is refused, who
// could write it anyway), or this process may not write it.
bool IsWriteProtected(const std::string& path);

// Removes a file.
SystemError RemoveFile(const std::string& path);
// Removes a file; safe to call from a signal or console-interrupt handler.
void RemoveFileFromHandler(const char* path);
class File;
// Puts `from` in place of `to` in one step, replacing an existing `to`, and
// makes the change durable (the folder too is flushed to the disk). `held`,
// the hold (File::Hold) on the old `to`, is let go as late as the system
// allows: after the rename on POSIX, so that a program waiting for the lock
// finds the new file; just before it on Windows, which replaces no open file.
SystemError MoveIntoPlace(const std::string& from, const std::string& to, File& held);

// A new file in the system's temporary folder, open for reading and writing
// in binary mode, that goes when it is closed or the process ends, however it
// ends. `folder` names the folder, for messages. Null on failure.
std::FILE* TemporaryFile(std::string& folder, SystemError& error);

// An open file, closed when the object goes.
class File {
 public:
  enum class Access { Read, Append };

  File() = default;
  ~File();
  File(File&& other) noexcept;
  File& operator=(File&& other) noexcept;

  // Creates `path` for reading and writing; fails when it exists
  // (IsAlreadyExists). It takes the permission bits of `like` when that names
  // a file.
  static File CreateNew(const std::string& path, const std::string& like, SystemError& error);
  // Holds the existing regular file `path` against other writers until the
  // object goes: an exclusive advisory lock (flock) on POSIX, which other runs
  // of this program and every program that locks before writing respect; on
  // Windows a handle that lets nobody else open the file for writing. Never
  // waits: a file another program holds fails with IsHeldElsewhere(error).
  static File Hold(const std::string& path, SystemError& error);
  // Opens an existing file without waiting on a FIFO or a device; `kind` and
  // `size` describe what was opened. A directory gives Kind::Directory and no
  // open file.
  static File OpenExisting(const std::string& path, Access access, Kind& kind, std::uint64_t& size, SystemError& error);

  bool IsOpen() const;
  // Another handle on this open file (it shares the read position), so that
  // the file can be read apart from the object that holds it; a hold (Hold)
  // stays until every handle on the file is closed.
  File Duplicate(SystemError& error) const;
  // What the open file is, and its identity, whatever its name leads to now.
  Kind Type() const;
  std::optional<FileIdentity> Identity() const;
  // Gives this new file the owner, group and permission bits of the file
  // `like`; fails when the system does not let this process give them.
  SystemError TakeOwnerAndModeOf(const std::string& like);
  // Writes all of `bytes` (at the end, for Access::Append).
  SystemError Write(std::string_view bytes);
  // Reads up to `size` bytes at `offset` without moving the write position.
  SystemError ReadAt(std::uint64_t offset, char* data, std::size_t size, std::size_t& got);
  // Cuts the file to `size` bytes; the next write goes there.
  SystemError Truncate(std::uint64_t size);
  // Flushes the file to the disk.
  SystemError Sync();
  SystemError Close();
  // Hands the file over to a binary-mode stdio stream for reading.
  std::FILE* ToStdio(SystemError& error);

 private:
#ifdef _WIN32
  void* handle_ = nullptr;
#else
  int fd_ = -1;
#endif
};

// Standard output and error carry bytes unchanged (no CR added on Windows).
void UseBinaryStandardStreams();
// Whether standard output (1) or standard error (2) is a terminal (a console
// on Windows), where control bytes in a text would act instead of showing.
bool IsTerminal(int stream);
// Makes a console show report text right: UTF-8, or Windows-1252 bytes as
// they are. Does nothing where the terminal decides (POSIX) or when output
// goes to a file or pipe; the console's setting comes back at exit.
void SetConsoleEncoding(bool utf8);
// Calls `cleanup` when the user interrupts the process (Ctrl+C, SIGTERM,
// SIGHUP, the console closing); the process then ends as it would have.
void OnInterrupt(void (*cleanup)());

// The file of the running program, empty when it cannot be told.
std::string ExecutablePath();
// Standard input, output or error closed when the process starts are opened
// read-only on the null device: a file the program opens later never takes
// their place, and a write to them fails as it would have.
void OccupyClosedStandardStreams();

}  // namespace verilote::platform
