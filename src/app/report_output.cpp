#include "app/report_output.hpp"

#include <array>
#include <atomic>
#include <cstring>
#include <filesystem>

#include "app/errors.hpp"
#include "app/host.hpp"
#include "app/platform.hpp"
#include "app/report.hpp"

namespace verilote {

namespace fs = std::filesystem;
using platform::File;
using platform::Kind;

namespace {

constexpr std::size_t kWriteChunk = 1 << 16;

// Work files are named "<target>.~vl<pid>-<n>": the pid tells a later run
// whether the process that made one is still alive.
constexpr std::string_view kWorkMark = ".~vl";

// The work files of this process that exist right now, as plain character
// arrays so that a signal handler may unlink them.
constexpr std::size_t kWorkSlots = 16;
constexpr std::size_t kMaxWorkPath = 4096;
std::array<std::array<char, kMaxWorkPath>, kWorkSlots> activeWork{};
std::array<std::atomic<bool>, kWorkSlots> slotUsed{};

int RegisterWork(const std::string& path) {
  if (path.size() >= kMaxWorkPath) return -1;
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
  const fs::path path = platform::PathOf(target);
  const fs::path dir = path.has_parent_path() ? path.parent_path() : fs::path(".");
  const std::string prefix = platform::Utf8Of(path.filename()) + std::string(kWorkMark);
  std::error_code error;
  for (fs::directory_iterator listing(dir, error), end; !error && listing != end; listing.increment(error)) {
    const std::string name = platform::Utf8Of(listing->path().filename());
    if (!name.starts_with(prefix)) continue;
    const std::string_view rest = std::string_view(name).substr(prefix.size());
    const std::size_t dash = rest.find('-');
    const std::string_view digits = rest.substr(0, dash);
    if (dash == std::string_view::npos || digits.empty() || digits.size() > 9 ||
        digits.find_first_not_of("0123456789") != std::string_view::npos)
      continue;
    const std::uint64_t pid = std::stoull(std::string(digits));
    if (pid == platform::ProcessId() || !platform::ProcessGone(pid)) continue;
    (void)platform::RemoveFile(platform::Utf8Of(listing->path()));
  }
}

// The target a write goes to: a symbolic link is followed to the file it names
// (the link stays a link); a device, FIFO or socket is refused.
std::string ResolveTarget(std::string target) {
  if (target.empty() || platform::IsSeparator(target.back())) throw FileError(target, "no file name was given");
  std::error_code error;
  for (int hops = 0; fs::is_symlink(platform::PathOf(target), error); ++hops) {
    fs::path next = fs::read_symlink(platform::PathOf(target), error);
    if (error || hops == 40) throw FileError(target, "cannot follow the symbolic link");
    if (next.is_relative()) next = platform::PathOf(target).parent_path() / next;
    target = platform::Utf8Of(next.lexically_normal());
  }
  const Kind kind = platform::KindOf(target);
  if (kind == Kind::Directory) throw FileError(target, "is a directory, not a file");
  if (kind == Kind::Other) throw FileError(target, "is not a regular file (a device, FIFO or socket): refused");
  return target;
}

}  // namespace

void RemoveActiveWorkFiles() {
  for (std::size_t i = 0; i < kWorkSlots; ++i)
    if (slotUsed[i] && activeWork[i][0] != '\0') platform::RemoveFileFromHandler(activeWork[i].data());
}

std::string UserDataDirectory() {
  const std::string dir = platform::UserDataDirectory();
  std::error_code error;
  fs::create_directories(platform::PathOf(dir), error);
  if (error) throw FileError(dir, "cannot create the directory (" + error.message() + ")");
  return dir;
}

OutputDirectory ChooseOutputDirectory(Host& host) {
  std::string program = host.ProgramDirectory();
  if (platform::IsWritableDirectory(program)) return {std::move(program), false};
  return {UserDataDirectory(), true};
}

ReplacingFile::ReplacingFile(std::string target) : target_(ResolveTarget(std::move(target))) {
  RemoveStaleWorkFiles(target_);

  // The work file sits in the target's directory so that the rename stays on
  // one file system and is atomic.
  static std::atomic<unsigned> counter{0};
  for (int attempt = 0; !file_.IsOpen(); ++attempt) {
    work_ = Cat(target_, kWorkMark, std::to_string(platform::ProcessId()), '-', std::to_string(counter++));
    platform::SystemError error;
    file_ = File::CreateNew(work_, target_, error);
    if (error && (!platform::IsAlreadyExists(error) || attempt > 100)) {
      work_.clear();
      throw platform::Failure(target_, "cannot create the file", error);
    }
  }
  slot_ = RegisterWork(work_);
  buffer_.reserve(kWriteChunk);
}

ReplacingFile::~ReplacingFile() {
  if (file_.IsOpen()) (void)file_.Close();
  if (!work_.empty()) (void)platform::RemoveFile(work_);
  UnregisterWork(slot_);
}

void ReplacingFile::Fail(std::string_view action, platform::SystemError error) {
  throw platform::Failure(target_, action, error);
}

void ReplacingFile::WriteOut(std::string_view bytes) {
  if (const auto error = file_.Write(bytes)) Fail("cannot write the file", error);
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
  if (const auto error = file_.Sync()) Fail("cannot write the file", error);
  if (const auto error = file_.Close()) Fail("cannot write the file", error);
  if (const auto error = platform::MoveIntoPlace(work_, target_)) Fail("cannot replace the file", error);
  work_.clear();
  UnregisterWork(slot_);
  slot_ = -1;
}

void ReplacingFile::Clear() {
  buffer_.clear();
  if (const auto error = file_.Truncate(0)) Fail("cannot write the file", error);
}

void ReplacingFile::ReadLines(const std::function<void(std::string_view)>& line) {
  Flush();
  std::string pending;
  std::string chunk(kWriteChunk, '\0');
  for (std::uint64_t at = 0;;) {
    std::size_t n = 0;
    if (const auto error = file_.ReadAt(at, chunk.data(), chunk.size(), n)) Fail("cannot read the file", error);
    if (n == 0) break;
    at += n;
    pending.append(chunk.data(), n);
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
  // Streamed from the report, so that a report of any size costs no memory.
  host.ForEachReportLine([&file](std::string_view line) {
    file.Write(line);
    file.Write("\r\n");
  });
  file.Commit();
  std::string message = Cat("Copiado com sucesso !!\r", path);
  if (dir.userData) message += Cat('\r', kUserDataNotice);
  host.ShowMessage(message);
  return Verdict::Clean;
}

Verdict Copiaparaarquivojexistente1Click(Host& host) {
  const auto chosen = host.OpenFile("Selecione o arquivo para incluir", FileFilter::Remessa);
  if (!chosen) return Verdict::Clean;
  AppendLinesFrom(*chosen, [&host](const LineSink& line) { host.ForEachReportLine(line); });
  host.ShowMessage(Cat("Incluido no arquivo ", *chosen, " com sucesso !!"));
  return Verdict::Clean;
}

void AppendLines(const std::string& path, const std::vector<std::string>& lines) {
  AppendLinesFrom(path, [&lines](const LineSink& line) {
    for (const std::string& text : lines) line(text);
  });
}

void AppendLinesFrom(const std::string& path, const std::function<void(const LineSink&)>& lines) {
  // Appending never touches the bytes already there: the file keeps its owner,
  // its links and its place; a write that fails half way is cut back off.
  Kind kind = Kind::Missing;
  std::uint64_t oldSize = 0;
  platform::SystemError error;
  File file = File::OpenExisting(path, File::Access::Append, kind, oldSize, error);
  if (error) throw platform::Failure(path, "cannot open the file", error);
  if (kind == Kind::Directory) throw FileError(path, "is a directory, not a file");
  if (kind != Kind::Regular) throw FileError(path, "is not a regular file (a device, FIFO or socket): refused");
  std::string buffer;
  const auto fail = [&](std::string_view action, platform::SystemError cause) {
    (void)file.Truncate(oldSize);
    throw platform::Failure(path, action, cause);
  };
  const auto flush = [&] {
    if (const auto cause = file.Write(buffer)) fail("cannot write the file", cause);
    buffer.clear();
  };
  lines([&](std::string_view line) {
    buffer += line;
    buffer += "\r\n";
    if (buffer.size() >= kWriteChunk) flush();
  });
  flush();
  if (const auto cause = file.Sync()) fail("cannot write the file", cause);
}

}  // namespace verilote
