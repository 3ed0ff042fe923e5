#include "app/report_output.hpp"

#include <algorithm>
#include <array>
#include <atomic>
#include <cstring>
#include <filesystem>
#include <mutex>
#include <set>

#include "app/cp1252.hpp"
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

// Work files are named ".~vl<pid>-<n>.tmp" in the target's folder: short,
// so that a target whose name is as long as the system allows still gets one,
// and the pid tells a later run whether the process that made one is alive.
constexpr std::string_view kWorkMark = ".~vl", kWorkEnd = ".tmp";

// A decimal number as std::to_string writes it, of at most ten digits.
bool IsWrittenNumber(std::string_view text) {
  return !text.empty() && text.size() <= 10 && text.find_first_not_of("0123456789") == std::string_view::npos &&
         (text[0] != '0' || text.size() == 1);
}

// The pid in a name this program gives its work files; 0 for any other name.
std::uint64_t WorkFileMaker(std::string_view name) {
  if (!name.starts_with(kWorkMark) || !name.ends_with(kWorkEnd)) return 0;
  name = name.substr(kWorkMark.size(), name.size() - kWorkMark.size() - kWorkEnd.size());
  const std::size_t dash = name.find('-');
  if (dash == std::string_view::npos || !IsWrittenNumber(name.substr(0, dash)) ||
      !IsWrittenNumber(name.substr(dash + 1)))
    return 0;
  return std::stoull(std::string(name.substr(0, dash)));
}

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
// up, left in the folder: names of exactly the work files' form whose process
// is gone. A name this program could not have made is never touched. A folder
// is swept once per process: a run that writes thousands of reports into one
// folder lists it once, not once a report.
void RemoveStaleWorkFiles(const fs::path& dir) {
  {
    static std::mutex sweptLock;
    static std::set<std::string> swept;
    const std::lock_guard lock(sweptLock);
    if (!swept.insert(platform::Utf8Of(dir)).second) return;
  }
  std::error_code error;
  for (fs::directory_iterator listing(dir, error), end; !error && listing != end; listing.increment(error)) {
    const std::uint64_t pid = WorkFileMaker(platform::Utf8Of(listing->path().filename()));
    if (pid == 0 || pid == platform::ProcessId() || !platform::ProcessGone(pid)) continue;
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

// ASCII letters compared without their case, as Windows compares file names.
bool EqualIgnoringCase(std::string_view a, std::string_view b) {
  const auto lower = [](char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c; };
  return std::equal(a.begin(), a.end(), b.begin(), b.end(), [&](char x, char y) { return lower(x) == lower(y); });
}

// The file name of `path` when its directory is `directory`; empty otherwise.
std::string NameIn(const std::string& path, const std::string& directory) {
  const fs::path file = platform::PathOf(path);
  const std::string parent = file.has_parent_path() ? platform::Utf8Of(file.parent_path()) : ".";
  return platform::SameFile(parent, directory) ? platform::Utf8Of(file.filename()) : std::string();
}

// The files that ship beside the program (scripts/package.sh, CMakeLists.txt).
constexpr std::string_view kShippedFiles[] = {"verilote", "verilote-cli", "verilote-ajuda.html"};

}  // namespace

bool IsFileBeside(const std::string& path, const std::string& directory, std::string_view name) {
  return platform::SameFile(path, Cat(directory, '/', name)) || EqualIgnoringCase(NameIn(path, directory), name);
}

bool IsProgramFile(const std::string& path, const std::string& programDirectory) {
  if (const std::string self = platform::ExecutablePath(); !self.empty() && platform::SameFile(path, self)) return true;
  const std::string name = NameIn(path, programDirectory);
  if (name.empty()) return false;
  for (const std::string_view shipped : kShippedFiles)
    if (EqualIgnoringCase(name, shipped)) return true;
  // The Windows build ships as .exe files and the libraries they load.
  for (const std::string_view extension : {".exe", ".dll"})
    if (name.size() > extension.size() && EqualIgnoringCase(name.substr(name.size() - extension.size()), extension))
      return true;
  return false;
}

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
  if (platform::KindOf(target_) == Kind::Regular) Hold();
  const fs::path path = platform::PathOf(target_);
  const fs::path dir = path.has_parent_path() ? path.parent_path() : fs::path(".");
  RemoveStaleWorkFiles(dir);

  // The work file sits in the target's directory so that the rename stays on
  // one file system and is atomic.
  static std::atomic<unsigned> counter{0};
  for (int attempt = 0; !file_.IsOpen(); ++attempt) {
    const std::string name = Cat(kWorkMark, std::to_string(platform::ProcessId()), '-', std::to_string(counter++));
    work_ = platform::Utf8Of(dir / platform::PathOf(Cat(name, kWorkEnd)));
    platform::SystemError error;
    file_ = File::CreateNew(work_, target_, error);
    if (error && (!platform::IsAlreadyExists(error) || attempt > 100)) {
      work_.clear();
      throw platform::Failure(target_, "cannot create the file", error);
    }
  }
  if (held_.IsOpen())
    if (const auto error = file_.TakeOwnerAndModeOf(target_)) {
      (void)file_.Close();
      (void)platform::RemoveFile(work_);
      Fail("cannot give a new file the owner and group of this one, so it was not changed", error);
    }
  slot_ = RegisterWork(work_);
  buffer_.reserve(kWriteChunk);
}

// What the user set on the file stays: a read-only file is not replaced, nor
// one of several names that the replacement would part from the others. The
// file is held for the whole run, so that another run of this program waits
// its turn instead of undoing this one.
void ReplacingFile::Hold() {
  if (platform::IsWriteProtected(target_))
    throw FileError(target_, "is read-only (no write permission): it was not changed");
  for (int attempt = 0;; ++attempt) {
    platform::SystemError error;
    held_ = File::Hold(target_, error);
    if (platform::IsHeldElsewhere(error))
      throw FileError(target_,
                      "is in use by another program or another run of this one: it was not changed; "
                      "try again once that one has finished");
    if (error) throw platform::Failure(target_, "cannot open the file", error);
    const auto held = held_.Identity(), named = platform::IdentityOf(target_);
    // Replaced while it was being taken: take the file that now has the name.
    if (!held || !named || !held->SameFile(*named)) {
      if (attempt == 10) throw FileError(target_, "is being replaced over and over by another program");
      continue;
    }
    identity_ = *held;
    break;
  }
  if (identity_.links > 1)
    throw FileError(target_, Cat("has ", identity_.links,
                                 " names (hard links): replacing it would leave the old content under the other "
                                 "names, so it was not changed"));
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

void ReplacingFile::WriteLine(std::string_view line) {
  Write(line);
  Write("\r\n");
}

void ReplacingFile::Commit() {
  Flush();
  if (const auto error = file_.Sync()) Fail("cannot write the file", error);
  if (const auto error = file_.Close()) Fail("cannot write the file", error);
  // Last look, as close to the rename as can be: what another program wrote
  // to the file meanwhile (one that does not lock it first) would be lost.
  if (held_.IsOpen() && platform::IdentityOf(target_) != identity_)
    throw FileError(target_,
                    "was changed by another program meanwhile: it was not replaced, and what the other "
                    "program wrote is kept");
  if (const auto error = platform::MoveIntoPlace(work_, target_, held_)) {
    if (platform::KindOf(work_) == Kind::Missing) {
      work_.clear();
      Fail("the new file is in place, but its folder could not be written to the disk", error);
    }
    Fail("cannot replace the file", error);
  }
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
  // The name is always taken relative to the directory, whatever it holds. It
  // was typed as text (Windows-1252) and goes to the system as a file name
  // ("relatório.txt" is made as such, not as its code-page bytes); the
  // message shows it as typed.
  const std::string path = Cat(dir.path, '/', ToUtf8(name));
  const std::string shown = Cat(dir.path, '/', name);
  if (name.empty()) throw FileError(path, "no file name was given");
  // A name typed by mistake must never put the report in place of the program.
  if (!dir.userData && IsProgramFile(path, dir.path))
    throw FileError(path, "is one of the program's own files: refused, nothing written");
  ReplacingFile file(path);
  // Streamed from the report, so that a report of any size costs no memory.
  host.ForEachReportLine([&file](std::string_view line) { file.WriteLine(line); });
  file.Commit();
  std::string message = Cat("Copiado com sucesso !!\r", shown);
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
