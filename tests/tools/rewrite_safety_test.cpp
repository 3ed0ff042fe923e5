// The safety checks of the in-place rewrite, each where it alone stands
// between the user's file and its loss: every case starts from a valid SICOV
// remittance that the repair would rewrite (nothing refuses it for its
// layout), and takes away one reason to rewrite it safely, so that removing
// the check it names loses data.
#include <gtest/gtest.h>
#ifndef _WIN32
#include <sys/stat.h>
#endif
#ifdef __linux__
#include <linux/filter.h>
#include <linux/seccomp.h>
#include <sys/prctl.h>
#include <sys/syscall.h>
#endif

#include <cstddef>

#include "app/platform.hpp"
#include "app/report.hpp"
#include "tools/rewrite_scratch.hpp"
#include "tools/sicov_repair.hpp"

namespace verilote {
namespace {

namespace fs = std::filesystem;
using testing::CrLfFile;
using testing::ReadBytes;
using testing::Scratch;

// A header with its NSA at positions 74-79, two details and the trailer, each
// blank where "Acerta campos Brancos" blanks it (header 9-22 and 99-150,
// detail 130-149, trailer 42-150); and the file once "Altera NSA" has set
// the NSA to 555555.
const std::string kA = Cat("A", std::string(7, 'h'), std::string(14, ' '), std::string(51, 'h'), "000001",
                           std::string(19, 'h'), std::string(52, ' '));
const std::string kE = Cat("E", std::string(128, 'e'), std::string(20, ' '), "0");
const std::string kZ = Cat("Z", std::string(40, '0'), std::string(109, ' '));
const std::string kValid = CrLfFile({kA, kE, kE, kZ});
const std::string kRepaired = CrLfFile({kA.substr(0, 73) + "555555" + kA.substr(79), kE, kE, kZ});
const std::string kLineFeeds = kA + "\n" + kE + "\n" + kZ + "\n";
const std::string kAnotherProgram = "OUTRO PROGRAMA\r\n";

// Scripted as the user would answer "Altera NSA".
Outcome Repair(Scratch& host, Handler command = AlteraNSA1Click) {
  host.answers = {"555555"};
  return RunCommand(command, host);
}

// The fixtures are repaired when nothing stands in the way: whatever refuses
// them below is the check the case names.
TEST(RewriteSafety, FixturesAreRepairedWhenNothingStandsInTheWay) {
  const struct {
    Handler command;
    std::string before, after;
  } cases[] = {
      {AlteraNSA1Click, kValid, kRepaired},
      {AlteraNSA1Click, kValid + "\x1a", kRepaired + "\x1a"},
      {AcertacamposBrancos1Click, kValid, kValid},
  };
  for (const auto& c : cases) {
    Scratch host(c.before);
    EXPECT_EQ(Repair(host, c.command).status, Outcome::Status::Clean);
    EXPECT_EQ(ReadBytes(host.file), c.after);
    EXPECT_EQ(host.Entries(), 1u) << "no work file left";
  }
}

struct Guarded {
  const char* check;
  std::function<bool(Scratch&)> inject;  // false: it cannot be made here
  std::string cause;                     // in the error that names the file
  std::string bytes = kValid;
  std::string kept = bytes;  // the file afterwards
  Handler command = AlteraNSA1Click;
};

TEST(RewriteSafety, EachCheckAloneKeepsTheFile) {
  // Another program that writes without taking the hold, once, while the
  // file is read.
  const auto unlocked = [](std::function<void(Scratch&)> write) {
    return [write](Scratch& h) {
      return h.onProgress =
                 [&h, write, done = false]() mutable {
                   if (!std::exchange(done, true)) write(h);
                 },
             true;
    };
  };
  const auto append =
      unlocked([](Scratch& h) { std::ofstream(h.file, std::ios::binary | std::ios::app) << kAnotherProgram; });
  const auto replace = unlocked([](Scratch& h) {
    std::ofstream(h.file + ".new", std::ios::binary) << kAnotherProgram;
    fs::rename(h.file + ".new", h.file);
  });
  const std::string changed = "was changed by another program meanwhile: it was not replaced";
  const Guarded cases[] = {
      // clang-format off
      {"the hold of another run", [](Scratch& h) { platform::SystemError e;  // held until the host goes
         return h.onProgress = [held = std::make_shared<platform::File>(platform::File::Hold(h.file, e))] {}, !e; },
       "is in use by another program or another run of this one: it was not changed"},
      {"one name of two (a hard link)", [](Scratch& h) { return fs::create_hard_link(h.file, h.dir / "copy"), true; },
       "has 2 names (hard links)"},
      {"bytes after the Ctrl+Z", nullptr, "bytes follow the Ctrl+Z (byte 26) after record 4", kValid + "\x1a" + kE},
      {"lines ended by a line feed alone", nullptr, "record 1 holds a line feed", kLineFeeds, kLineFeeds,
       AcertacamposBrancos1Click},
#ifndef _WIN32  // permission bits, devices, FIFOs; Windows keeps every other writer out while the file is held
      {"a device", [](Scratch& h) { return h.files = {"/dev/null"}, true; }, "is not a regular file"},
      {"read-only, even for root", [](Scratch& h) { return chmod(h.file.c_str(), 0444) == 0; },
       "is read-only (no write permission): it was not changed"},
      {"a FIFO", [](Scratch& h) { return mkfifo((h.file + ".fifo").c_str(), 0600) == 0 && (h.files = {h.file + ".fifo"}, true); },
       "is not a regular file"},
      {"a writer that ignores the hold and appends", append, changed, kValid, kValid + kAnotherProgram},
      {"a writer that ignores the hold and puts a new file in its place", replace, changed, kValid, kAnotherProgram},
#endif
      // clang-format on
  };
  for (const auto& c : cases) {
    Scratch host(c.bytes);
    if (c.inject && !c.inject(host)) {
      std::cout << "skipped: " << c.check << " cannot be made here\n";
      continue;
    }
    const std::size_t entries = host.Entries();
    const Outcome outcome = Repair(host, c.command);
    EXPECT_EQ(outcome.status, Outcome::Status::Aborted) << c.check;
    EXPECT_NE(outcome.message.find(c.cause), std::string::npos) << c.check << ": " << outcome.message;
    EXPECT_EQ(ReadBytes(host.file), c.kept) << c.check;
    EXPECT_EQ(host.Entries(), entries) << c.check << ": no work file left";
    EXPECT_TRUE(host.messages.empty()) << c.check;
  }
}

#ifndef _WIN32  // owners, groups, processes, fork and exec
// An owner or a group that differs from those of the one who rewrites, the
// other the same, and the set-user-ID and set-group-ID bits that giving a
// file its owner clears: all kept. Only root may give a file away.
TEST(RewriteSafety, KeepsOwnerGroupAndMode) {
  const bool root = geteuid() == 0;
  const struct {
    uid_t owner;
    gid_t group;
    mode_t mode;
  } cases[] = {{0, 5678, 06750}, {1234, 0, 04750}, {geteuid(), getegid(), 0640}};
  for (const auto& c : cases) {
    if (!root && c.owner != geteuid()) continue;
    Scratch host(kValid);
    ASSERT_EQ(chown(host.file.c_str(), c.owner, c.group), 0);
    ASSERT_EQ(chmod(host.file.c_str(), c.mode), 0);
    ASSERT_EQ(Repair(host).status, Outcome::Status::Clean);
    EXPECT_EQ(ReadBytes(host.file), kRepaired);
    struct stat info {};
    ASSERT_EQ(stat(host.file.c_str(), &info), 0);
    EXPECT_EQ(Cat(info.st_uid, ':', info.st_gid, ' ', info.st_mode & 07777), Cat(c.owner, ':', c.group, ' ', c.mode));
  }
}

// The work files that killed runs left beside the file go with the next
// rewrite there; that of a run still going stays, or that run would fail.
TEST(RewriteSafety, RemovesOnlyTheWorkFilesOfEndedRuns) {
  Scratch host(kValid);
  const pid_t running = fork();  // sleeps until it is killed
  if (running == 0) pause(), _exit(0);
  const pid_t gone = fork();  // a pid that no process holds any more
  if (gone == 0) _exit(0);
  waitpid(gone, nullptr, 0);
  const auto workFile = [&host](pid_t pid) { return host.dir / Cat(".~vl", pid, "-0.tmp"); };
  std::ofstream(workFile(running)) << "half a file";
  std::ofstream(workFile(gone)) << "half a file";
  EXPECT_EQ(Repair(host).status, Outcome::Status::Clean);
  EXPECT_TRUE(fs::exists(workFile(running)));
  EXPECT_FALSE(fs::exists(workFile(gone)));
  kill(running, SIGKILL);
  waitpid(running, nullptr, 0);
}

#ifdef __linux__
// Every fsync of the process fails with EIO, as on a failing disk.
bool FailEverySync() {
  sock_filter filter[] = {
      BPF_STMT(BPF_LD | BPF_W | BPF_ABS, offsetof(seccomp_data, nr)),
      BPF_JUMP(BPF_JMP | BPF_JEQ | BPF_K, __NR_fsync, 1, 0),
      BPF_JUMP(BPF_JMP | BPF_JEQ | BPF_K, __NR_fdatasync, 0, 1),
      BPF_STMT(BPF_RET | BPF_K, SECCOMP_RET_ERRNO | EIO),
      BPF_STMT(BPF_RET | BPF_K, SECCOMP_RET_ALLOW),
  };
  sock_fprog program{static_cast<unsigned short>(std::size(filter)), filter};
  return prctl(PR_SET_NO_NEW_PRIVS, 1, 0, 0, 0) == 0 && prctl(PR_SET_SECCOMP, SECCOMP_MODE_FILTER, &program) == 0;
}

// The owner, who may not write the file (its group may), in a folder anyone
// may write to: the rename would go through.
bool BecomeOwnerWhoMayNotWrite(Scratch& host) {
  return geteuid() == 0 && chown(host.file.c_str(), 65534, 65534) == 0 && chmod(host.file.c_str(), 0464) == 0 &&
         chmod(host.dir.c_str(), 0777) == 0;
}

// verilote-cli in a child process that a failing disk or the user it runs as
// keeps from rewriting the file: it says why, exits 3 and the file stays.
TEST(RewriteSafety, ChecksThatOnlyAChildProcessCanMeet) {
  const struct {
    const char* check;
    std::function<bool(Scratch&)> setUp;
    std::function<bool()> inChild;
    std::string cause;
  } cases[] = {
      {"a failing sync", nullptr, FailEverySync, "cannot write the file (Input/output error)"},
      {"the owner's own write bit", BecomeOwnerWhoMayNotWrite, [] { return setgid(65534) == 0 && setuid(65534) == 0; },
       "is read-only (no write permission): it was not changed"},
  };
  for (const auto& c : cases) {
    Scratch host(kValid);
    if (c.setUp && !c.setUp(host)) {
      std::cout << "skipped: " << c.check << " cannot be made here\n";
      continue;
    }
    const std::string err = host.dir.string() + ".err";
    int status = 0;
    waitpid(testing::StartCli({"run", "AlteraNSA1Click", "--file", host.file, "--answer", "555555"}, VERILOTE_CLI_PATH,
                              err, c.inChild),
            &status, 0);
    const std::string said = ReadBytes(err);
    fs::remove(err);
    if (WEXITSTATUS(status) == 126) {
      std::cout << "skipped: " << c.check << " cannot be made here\n";
      continue;
    }
    EXPECT_EQ(WEXITSTATUS(status), 3) << c.check << ": " << said;
    EXPECT_NE(said.find(Cat("'", host.file, "': ", c.cause)), std::string::npos) << c.check << ": " << said;
    EXPECT_EQ(ReadBytes(host.file), kValid) << c.check;
    EXPECT_EQ(host.Entries(), 1u) << c.check << ": no work file left";
  }
}
#endif

#endif

}  // namespace
}  // namespace verilote
