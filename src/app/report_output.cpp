#include "app/report_output.hpp"

#include <dirent.h>
#include <fcntl.h>
#include <signal.h>
#include <sys/stat.h>
#include <unistd.h>

#include <array>
#include <atomic>
#include <cerrno>
#include <climits>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <memory>

#include "app/errors.hpp"
#include "app/host.hpp"
#include "app/report.hpp"

namespace verilote {

namespace fs = std::filesystem;

namespace {

constexpr std::size_t kWriteChunk = 1 << 16;

bool IsWritableDirectory(const std::string& path) { return access(path.c_str(), W_OK | X_OK) == 0; }

// Work files are named "<target>.~vl<pid>-<n>": the pid tells a later run
// whether the process that made one is still alive.
constexpr std::string_view kWorkMark = ".~vl";

// The work files of this process that exist right now, as plain character
// arrays so that a signal handler may unlink them.
constexpr std::size_t kWorkSlots = 16;
std::array<std::array<char, PATH_MAX>, kWorkSlots> activeWork{};
std::array<std::atomic<bool>, kWorkSlots> slotUsed{};

int RegisterWork(const std::string& path) {
  if (path.size() >= PATH_MAX) return -1;
  for (std::size_t i = 0; i < kWorkSlots; ++i) {
    bool expected = false;
    if (slotUsed[i].compare_exchange_strong(expected, true)) {
      std::memcpy(activeWork[i].data(), path.c_str(), path.size() + 1);
      return static_cast<int>(i);
    }
  }
  return -1;
}

void UnregisterWork(int slot) {
  if (slot < 0) return;
  activeWork[static_cast<std::size_t>(slot)][0] = '\0';
  slotUsed[static_cast<std::size_t>(slot)] = false;
}

// Removes the work files that earlier runs, killed before they could clean
// up, left beside `target`: "<name>.~vl<pid>-<n>" whose process is gone.
void RemoveStaleWorkFiles(const std::string& target) {
  const std::size_t slash = target.rfind('/');
  const std::string dir = slash == std::string::npos ? "." : slash == 0 ? "/" : target.substr(0, slash);
  const std::string prefix = (slash == std::string::npos ? target : target.substr(slash + 1)) + std::string(kWorkMark);
  std::unique_ptr<DIR, int (*)(DIR*)> listing(opendir(dir.c_str()), closedir);
  if (!listing) return;
  while (const dirent* entry = readdir(listing.get())) {
    const std::string_view name = entry->d_name;
    if (!name.starts_with(prefix)) continue;
    const std::string_view rest = name.substr(prefix.size());
    const std::size_t dash = rest.find('-');
    const std::string_view digits = rest.substr(0, dash);
    if (dash == std::string_view::npos || digits.empty() || digits.size() > 9 ||
        digits.find_first_not_of("0123456789") != std::string_view::npos)
      continue;
    const pid_t pid = static_cast<pid_t>(std::stol(std::string(digits)));
    if (pid == getpid() || kill(pid, 0) == 0 || errno != ESRCH) continue;
    (void)unlink((dir + "/" + std::string(name)).c_str());
  }
}

// The target a write goes to: a symbolic link is followed to the file it names
// (the link stays a link); a device, FIFO or socket is refused.
std::string ResolveTarget(std::string target) {
  if (target.empty() || target.back() == '/') throw FileError(target, "no file name was given");
  std::error_code error;
  for (int hops = 0; fs::is_symlink(target, error); ++hops) {
    fs::path next = fs::read_symlink(target, error);
    if (error || hops == 40) throw FileError(target, "cannot follow the symbolic link");
    if (next.is_relative()) next = fs::path(target).parent_path() / next;
    target = next.lexically_normal().string();
  }
  struct stat info {};
  if (stat(target.c_str(), &info) == 0) {
    if (S_ISDIR(info.st_mode)) throw FileError(target, "is a directory, not a file");
    if (!S_ISREG(info.st_mode)) throw FileError(target, "is not a regular file (a device, FIFO or socket): refused");
  }
  return target;
}

}  // namespace

void RemoveActiveWorkFiles() {
  for (std::size_t i = 0; i < kWorkSlots; ++i)
    if (slotUsed[i] && activeWork[i][0] != '\0') (void)unlink(activeWork[i].data());
}

std::string UserDataDirectory() {
  std::string base;
  if (const char* xdg = std::getenv("XDG_DATA_HOME"); xdg != nullptr && xdg[0] == '/') {
    base = xdg;
  } else if (const char* home = std::getenv("HOME"); home != nullptr && home[0] != '\0') {
    base = std::string(home) + "/.local/share";
  } else {
    throw FileError("~/.local/share/verilote", "no home directory to keep the user's files in");
  }
  const std::string dir = base + "/verilote";
  std::error_code error;
  fs::create_directories(dir, error);
  if (error) throw FileError(dir, "cannot create the directory (" + error.message() + ")");
  return dir;
}

OutputDirectory ChooseOutputDirectory(Host& host) {
  std::string program = host.ProgramDirectory();
  if (IsWritableDirectory(program)) return {std::move(program), false};
  return {UserDataDirectory(), true};
}

ReplacingFile::ReplacingFile(std::string target) : target_(ResolveTarget(std::move(target))) {
  struct stat info {};
  const bool exists = stat(target_.c_str(), &info) == 0;
  RemoveStaleWorkFiles(target_);

  // The work file sits in the target's directory so that the rename stays on
  // one file system and is atomic.
  static std::atomic<unsigned> counter{0};
  for (int attempt = 0; fd_ < 0; ++attempt) {
    work_ = Cat(target_, kWorkMark, std::to_string(getpid()), '-', std::to_string(counter++));
    fd_ = open(work_.c_str(), O_RDWR | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
    if (fd_ < 0 && (errno != EEXIST || attempt > 100)) {
      const int err = errno;
      work_.clear();
      throw FileError::FromErrno(target_, "cannot create the file", err);
    }
  }
  slot_ = RegisterWork(work_);
  if (exists) (void)fchmod(fd_, info.st_mode & 07777);
  buffer_.reserve(kWriteChunk);
}

ReplacingFile::~ReplacingFile() {
  if (fd_ >= 0) close(fd_);
  if (!work_.empty()) unlink(work_.c_str());
  UnregisterWork(slot_);
}

void ReplacingFile::Fail(std::string_view action, int err) { throw FileError::FromErrno(target_, action, err); }

void ReplacingFile::WriteOut(std::string_view bytes) {
  while (!bytes.empty()) {
    const ssize_t n = write(fd_, bytes.data(), bytes.size());
    if (n < 0 && errno == EINTR) continue;
    if (n <= 0) Fail("cannot write the file", n < 0 ? errno : ENOSPC);
    bytes.remove_prefix(static_cast<std::size_t>(n));
  }
}

void ReplacingFile::Flush() {
  WriteOut(buffer_);
  buffer_.clear();
}

void ReplacingFile::Write(std::string_view bytes) {
  if (buffer_.size() + bytes.size() > kWriteChunk) Flush();
  if (bytes.size() >= kWriteChunk)
    WriteOut(bytes);
  else
    buffer_.append(bytes);
}

void ReplacingFile::WriteLines(const std::vector<std::string>& lines) {
  for (const std::string& line : lines) {
    Write(line);
    Write("\r\n");
  }
}

void ReplacingFile::Commit() {
  Flush();
  if (fsync(fd_) != 0 && errno != EINVAL) Fail("cannot write the file", errno);
  const int fd = fd_;
  fd_ = -1;
  if (close(fd) != 0) Fail("cannot write the file", errno);
  if (std::rename(work_.c_str(), target_.c_str()) != 0) Fail("cannot replace the file", errno);
  work_.clear();
  UnregisterWork(slot_);
  slot_ = -1;
}

void ReplacingFile::Clear() {
  buffer_.clear();
  if (ftruncate(fd_, 0) != 0 || lseek(fd_, 0, SEEK_SET) != 0) Fail("cannot write the file", errno);
}

void ReplacingFile::ReadLines(const std::function<void(std::string_view)>& line) {
  Flush();
  std::string pending;
  std::string chunk(kWriteChunk, '\0');
  for (off_t at = 0;;) {
    const ssize_t n = pread(fd_, chunk.data(), chunk.size(), at);
    if (n < 0 && errno == EINTR) continue;
    if (n < 0) Fail("cannot read the file", errno);
    if (n == 0) break;
    at += n;
    pending.append(chunk.data(), static_cast<std::size_t>(n));
    std::size_t start = 0;
    for (std::size_t end; (end = pending.find("\r\n", start)) != std::string::npos; start = end + 2)
      line(std::string_view(pending).substr(start, end - start));
    pending.erase(0, start);
  }
}

Verdict Copiaparaarquivonovo1Click(Host& host) {
  const std::string name = host.InputBox("Entre com o nome do arquivo", "Nome do arquivo", "");
  const OutputDirectory dir = ChooseOutputDirectory(host);
  // The name is always taken relative to the directory, whatever it holds.
  const std::string path = Cat(dir.path, '/', name);
  if (name.empty()) throw FileError(path, "no file name was given");
  ReplacingFile file(path);
  file.WriteLines(host.ReportLines());
  file.Commit();
  std::string message = Cat("Copiado com sucesso !!\r", path);
  if (dir.userData) message += Cat('\r', kUserDataNotice);
  host.ShowMessage(message);
  return Verdict::Clean;
}

Verdict Copiaparaarquivojexistente1Click(Host& host) {
  const auto chosen = host.OpenFile("Selecione o arquivo para incluir", FileFilter::Remessa);
  if (!chosen) return Verdict::Clean;
  AppendLines(*chosen, host.ReportLines());
  host.ShowMessage(Cat("Incluido no arquivo ", *chosen, " com sucesso !!"));
  return Verdict::Clean;
}

void AppendLines(const std::string& path, const std::vector<std::string>& lines) {
  // Appending never touches the bytes already there: the file keeps its owner,
  // its links and its place; a write that fails half way is cut back off.
  const int fd = open(path.c_str(), O_WRONLY | O_APPEND | O_NONBLOCK | O_CLOEXEC);
  if (fd < 0) throw FileError::FromErrno(path, "cannot open the file", errno);
  const struct Closer {
    int fd;
    ~Closer() { close(fd); }
  } closer{fd};
  struct stat info {};
  if (fstat(fd, &info) != 0) throw FileError::FromErrno(path, "cannot open the file", errno);
  if (S_ISDIR(info.st_mode)) throw FileError(path, "is a directory, not a file");
  if (!S_ISREG(info.st_mode)) throw FileError(path, "is not a regular file (a device, FIFO or socket): refused");
  const off_t oldSize = info.st_size;
  std::string buffer;
  const auto fail = [&](std::string_view action, int err) {
    (void)ftruncate(fd, oldSize);
    throw FileError::FromErrno(path, action, err);
  };
  const auto flush = [&] {
    for (std::string_view rest = buffer; !rest.empty();) {
      const ssize_t n = write(fd, rest.data(), rest.size());
      if (n < 0 && errno == EINTR) continue;
      if (n <= 0) fail("cannot write the file", n < 0 ? errno : ENOSPC);
      rest.remove_prefix(static_cast<std::size_t>(n));
    }
    buffer.clear();
  };
  for (const std::string& line : lines) {
    buffer += line;
    buffer += "\r\n";
    if (buffer.size() >= kWriteChunk) flush();
  }
  flush();
  if (fsync(fd) != 0 && errno != EINVAL) fail("cannot write the file", errno);
}

}  // namespace verilote
