#include "app/report_output.hpp"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <atomic>
#include <cerrno>
#include <cstdio>
#include <cstdlib>
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

}  // namespace

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

ReplacingFile::ReplacingFile(std::string target) : target_(std::move(target)) {
  std::error_code error;
  if (fs::is_symlink(target_, error)) {
    const fs::path real = fs::canonical(target_, error);
    if (!error) target_ = real.string();
  }
  struct stat info {};
  const bool exists = stat(target_.c_str(), &info) == 0;
  if (exists && S_ISDIR(info.st_mode)) throw FileError(target_, "is a directory, not a file");
  if (!target_.empty() && target_.back() == '/') throw FileError(target_, "no file name was given");

  // The work file sits in the target's directory so that the rename stays on
  // one file system and is atomic.
  static std::atomic<unsigned> counter{0};
  for (int attempt = 0; fd_ < 0; ++attempt) {
    work_ = target_ + ".~vl" + std::to_string(getpid()) + "-" + std::to_string(counter++);
    fd_ = open(work_.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
    if (fd_ < 0 && (errno != EEXIST || attempt > 100)) {
      const int err = errno;
      work_.clear();
      throw FileError::FromErrno(target_, "cannot create the file", err);
    }
  }
  if (exists && S_ISREG(info.st_mode)) (void)fchmod(fd_, info.st_mode & 07777);
  buffer_.reserve(kWriteChunk);
}

ReplacingFile::~ReplacingFile() {
  if (fd_ >= 0) close(fd_);
  if (!work_.empty()) unlink(work_.c_str());
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
  const std::string& path = *chosen;

  // The new content is the old one followed by the report, written beside
  // the file and put in its place: a failure half way leaves the file as it was.
  std::unique_ptr<std::FILE, int (*)(std::FILE*)> old(std::fopen(path.c_str(), "rb"), std::fclose);
  if (!old) throw FileError::FromErrno(path, "cannot open the file", errno);
  struct stat info {};
  if (fstat(fileno(old.get()), &info) == 0 && S_ISDIR(info.st_mode))
    throw FileError(path, "is a directory, not a file");
  ReplacingFile file(path);
  std::string chunk(kWriteChunk, '\0');
  while (const std::size_t n = std::fread(chunk.data(), 1, chunk.size(), old.get())) file.Write({chunk.data(), n});
  if (std::ferror(old.get())) throw FileError::FromErrno(path, "cannot read the file", errno);
  old.reset();
  file.WriteLines(host.ReportLines());
  file.Commit();
  host.ShowMessage(Cat("Incluido no arquivo ", path, " com sucesso !!"));
  return Verdict::Clean;
}

}  // namespace verilote
