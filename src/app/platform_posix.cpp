// The platform layer on Linux and other POSIX systems.
#include <fcntl.h>
#include <signal.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>
#include <cstring>

#include "app/platform.hpp"

namespace verilote::platform {

namespace fs = std::filesystem;

SystemError LastError() { return {errno}; }

bool IsAlreadyExists(SystemError error) { return error.code == EEXIST; }

bool IsHeldElsewhere(SystemError error) { return error.code == EWOULDBLOCK; }

FileError Failure(std::string_view path, std::string_view action, SystemError error) {
  return FileError::FromErrno(path, action, error.code);
}

bool IsSeparator(char c) { return c == '/'; }

std::vector<std::string> Arguments(int argc, char** argv) { return {argv, argv + argc}; }

std::string ProgramDirectory() {
  std::string exe(4096, '\0');
  const ssize_t n = readlink("/proc/self/exe", exe.data(), exe.size());
  if (n <= 0) return ".";
  exe.resize(static_cast<std::size_t>(n));
  const std::size_t slash = exe.rfind('/');
  return slash == 0 ? "/" : exe.substr(0, slash);
}

std::string UserDataDirectory() {
  if (const char* xdg = std::getenv("XDG_DATA_HOME"); xdg != nullptr && xdg[0] == '/')
    return std::string(xdg) + "/verilote";
  if (const char* home = std::getenv("HOME"); home != nullptr && home[0] != '\0')
    return std::string(home) + "/.local/share/verilote";
  throw FileError("~/.local/share/verilote", "no home directory to keep the user's files in");
}

bool IsWritableDirectory(const std::string& path) { return access(path.c_str(), W_OK | X_OK) == 0; }

std::uint64_t ProcessId() { return static_cast<std::uint64_t>(getpid()); }

bool ProcessGone(std::uint64_t pid) {
  if (pid == 0 || pid > static_cast<std::uint64_t>(INT32_MAX)) return false;
  return kill(static_cast<pid_t>(pid), 0) != 0 && errno == ESRCH;
}

std::tm LocalTime(std::time_t when) {
  std::tm local{};
  localtime_r(&when, &local);
  return local;
}

namespace {
Kind KindOfMode(mode_t mode) { return S_ISREG(mode) ? Kind::Regular : S_ISDIR(mode) ? Kind::Directory : Kind::Other; }
}  // namespace

Kind KindOf(const std::string& path, SystemError* error) {
  struct stat info {};
  if (stat(path.c_str(), &info) != 0) {
    if (error != nullptr) *error = LastError();
    return Kind::Missing;
  }
  return KindOfMode(info.st_mode);
}

namespace {
std::int64_t Nanoseconds(const timespec& time) {
  return static_cast<std::int64_t>(time.tv_sec) * 1000000000 + time.tv_nsec;
}

FileIdentity IdentityOfStat(const struct stat& info) {
  return FileIdentity{static_cast<std::uint64_t>(info.st_dev),
                      static_cast<std::uint64_t>(info.st_ino),
                      info.st_size,
                      Nanoseconds(info.st_mtim),
                      Nanoseconds(info.st_ctim),
                      static_cast<std::uint64_t>(info.st_nlink)};
}
}  // namespace

std::optional<FileIdentity> IdentityOf(const std::string& path) {
  struct stat info {};
  if (stat(path.c_str(), &info) != 0) return std::nullopt;
  return IdentityOfStat(info);
}

bool IsWriteProtected(const std::string& path) {
  struct stat info {};
  if (stat(path.c_str(), &info) != 0) return false;  // missing: nothing to protect
  return (info.st_mode & 0222) == 0 || faccessat(AT_FDCWD, path.c_str(), W_OK, AT_EACCESS) != 0;
}

bool SameFile(const std::string& a, const std::string& b) {
  const auto ia = IdentityOf(a), ib = IdentityOf(b);
  if (ia && ib) return ia->SameFile(*ib);
  std::error_code ea, eb;
  const auto ca = fs::weakly_canonical(a, ea), cb = fs::weakly_canonical(b, eb);
  return !ea && !eb && ca == cb;
}

SystemError RemoveFile(const std::string& path) { return unlink(path.c_str()) == 0 ? SystemError{} : LastError(); }

void RemoveFileFromHandler(const char* path) { (void)unlink(path); }

SystemError MoveIntoPlace(const std::string& from, const std::string& to, File& held) {
  if (std::rename(from.c_str(), to.c_str()) != 0) return LastError();
  // The rename lives in the folder: until the folder reaches the disk, a power
  // cut may bring the old file back.
  const std::size_t slash = to.rfind('/');
  const std::string folder = slash == std::string::npos ? "." : slash == 0 ? "/" : to.substr(0, slash);
  const int fd = open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
  SystemError error = fd < 0 ? LastError() : SystemError{};
  if (fd >= 0 && fsync(fd) != 0 && errno != EINVAL) error = LastError();
  if (fd >= 0) close(fd);
  if (held.IsOpen()) (void)held.Close();
  return error;
}

std::FILE* TemporaryFile(std::string& folder, SystemError& error) {
  std::error_code failed;
  folder = fs::temp_directory_path(failed).string();
  if (failed) folder = "/tmp";
  std::string name = folder + "/verilote-spool-XXXXXX";
  const int fd = mkostemp(name.data(), O_CLOEXEC);
  if (fd < 0) {
    error = LastError();
    return nullptr;
  }
  unlink(name.c_str());  // nothing left behind, whatever ends the run
  std::FILE* stream = fdopen(fd, "w+b");
  if (stream == nullptr) {
    error = LastError();
    close(fd);
  }
  return stream;
}

File::~File() {
  if (fd_ >= 0) close(fd_);
}

File::File(File&& other) noexcept : fd_(other.fd_) { other.fd_ = -1; }

File& File::operator=(File&& other) noexcept {
  if (this != &other) {
    if (fd_ >= 0) close(fd_);
    fd_ = other.fd_;
    other.fd_ = -1;
  }
  return *this;
}

File File::CreateNew(const std::string& path, const std::string& like, SystemError& error) {
  File file;
  struct stat info {};
  const bool copyMode = !like.empty() && stat(like.c_str(), &info) == 0;
  // A work file that will take the place of a private file is private from
  // its first byte: no other user can open it before it gets the mode.
  file.fd_ = open(path.c_str(), O_RDWR | O_CREAT | O_EXCL | O_CLOEXEC, copyMode ? 0600 : 0666);
  error = file.fd_ < 0 ? LastError() : SystemError{};
  if (file.fd_ >= 0 && copyMode) (void)fchmod(file.fd_, info.st_mode & 07777);
  return file;
}

File File::Hold(const std::string& path, SystemError& error) {
  // flock, not fcntl: a record lock goes as soon as any descriptor of the file
  // in this process is closed, as the reader's is.
  File file;
  file.fd_ = open(path.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
  if (file.fd_ < 0) {
    error = LastError();
    return File();
  }
  int result = 0;
  do result = flock(file.fd_, LOCK_EX | LOCK_NB);
  while (result != 0 && errno == EINTR);
  // A file system without locks (ENOLCK, EOPNOTSUPP: some network shares)
  // still gets the last look before the replacement.
  if (result != 0 && errno == EWOULDBLOCK) {
    error = LastError();
    return File();
  }
  error = {};
  return file;
}

File File::Duplicate(SystemError& error) const {
  File copy;
  copy.fd_ = fcntl(fd_, F_DUPFD_CLOEXEC, 0);
  error = copy.fd_ < 0 ? LastError() : SystemError{};
  return copy;
}

Kind File::Type() const {
  struct stat info {};
  return fstat(fd_, &info) != 0 ? Kind::Missing : KindOfMode(info.st_mode);
}

std::optional<FileIdentity> File::Identity() const {
  struct stat info {};
  if (fstat(fd_, &info) != 0) return std::nullopt;
  return IdentityOfStat(info);
}

SystemError File::TakeOwnerAndModeOf(const std::string& like) {
  struct stat old {
  }, now{};
  if (stat(like.c_str(), &old) != 0 || fstat(fd_, &now) != 0) return LastError();
  if ((old.st_uid != now.st_uid || old.st_gid != now.st_gid) && fchown(fd_, old.st_uid, old.st_gid) != 0)
    return LastError();
  // After fchown, which may clear the set-user and set-group bits.
  return fchmod(fd_, old.st_mode & 07777) == 0 ? SystemError{} : LastError();
}

File File::OpenExisting(const std::string& path, Access access, Kind& kind, std::uint64_t& size, SystemError& error) {
  // O_NONBLOCK: a FIFO would hold the open until a writer came.
  File file;
  const int flags = access == Access::Read ? O_RDONLY : O_WRONLY | O_APPEND;
  file.fd_ = open(path.c_str(), flags | O_NONBLOCK | O_CLOEXEC);
  struct stat info {};
  if (file.fd_ < 0 || fstat(file.fd_, &info) != 0) {
    error = LastError();
    kind = Kind::Missing;
    return File();
  }
  error = {};
  kind = KindOfMode(info.st_mode);
  size = static_cast<std::uint64_t>(info.st_size);
  if (kind == Kind::Directory) return File();
  (void)fcntl(file.fd_, F_SETFL, fcntl(file.fd_, F_GETFL) & ~O_NONBLOCK);
  return file;
}

bool File::IsOpen() const { return fd_ >= 0; }

SystemError File::Write(std::string_view bytes) {
  while (!bytes.empty()) {
    const ssize_t n = write(fd_, bytes.data(), bytes.size());
    if (n < 0 && errno == EINTR) continue;
    if (n <= 0) return {n < 0 ? errno : ENOSPC};
    bytes.remove_prefix(static_cast<std::size_t>(n));
  }
  return {};
}

SystemError File::ReadAt(std::uint64_t offset, char* data, std::size_t size, std::size_t& got) {
  for (;;) {
    const ssize_t n = pread(fd_, data, size, static_cast<off_t>(offset));
    if (n < 0 && errno == EINTR) continue;
    if (n < 0) return LastError();
    got = static_cast<std::size_t>(n);
    return {};
  }
}

SystemError File::Truncate(std::uint64_t size) {
  if (ftruncate(fd_, static_cast<off_t>(size)) != 0) return LastError();
  if (lseek(fd_, static_cast<off_t>(size), SEEK_SET) < 0) return LastError();
  return {};
}

SystemError File::Sync() {
  // Some file systems (pipes, a few network ones) cannot sync: nothing to wait for.
  return fsync(fd_) != 0 && errno != EINVAL ? LastError() : SystemError{};
}

SystemError File::Close() {
  const int fd = fd_;
  fd_ = -1;
  return close(fd) != 0 ? LastError() : SystemError{};
}

std::FILE* File::ToStdio(SystemError& error) {
  std::FILE* stream = fdopen(fd_, "rb");
  if (stream == nullptr) {
    error = LastError();
    return nullptr;
  }
  fd_ = -1;
  return stream;
}

void UseBinaryStandardStreams() {}

void SetConsoleEncoding(bool) {}

bool IsTerminal(int stream) { return isatty(stream) == 1; }

namespace {
void (*interruptCleanup)() = nullptr;

extern "C" void CleanUpAndDie(int signal) {
  if (interruptCleanup != nullptr) interruptCleanup();
  ::signal(signal, SIG_DFL);
  ::raise(signal);
}
}  // namespace

void OnInterrupt(void (*cleanup)()) {
  interruptCleanup = cleanup;
  for (const int signal : {SIGINT, SIGTERM, SIGHUP}) ::signal(signal, CleanUpAndDie);
}

std::string ExecutablePath() {
  std::string exe(4096, '\0');
  const ssize_t n = readlink("/proc/self/exe", exe.data(), exe.size());
  exe.resize(n > 0 ? static_cast<std::size_t>(n) : 0);
  return exe;
}

void OccupyClosedStandardStreams() {
  for (int fd = 0; fd <= 2; ++fd) {
    if (fcntl(fd, F_GETFD) != -1 || errno != EBADF) continue;
    const int null = open("/dev/null", O_RDONLY);  // the lowest free descriptor: fd itself
    if (null >= 0 && null != fd) {
      (void)dup2(null, fd);
      (void)close(null);
    }
  }
}

}  // namespace verilote::platform
