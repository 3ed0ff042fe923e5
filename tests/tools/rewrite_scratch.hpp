// What the tests of the commands that write files share: a scratch directory
// holding the file, the failures a rewrite must survive with the file as it
// was, and verilote-cli run in a child process (killed at random moments).
#pragma once

#include <gtest/gtest.h>
#ifndef _WIN32
#include <signal.h>
#include <sys/mount.h>
#include <sys/wait.h>
#include <unistd.h>
#endif

#include <chrono>
#include <filesystem>
#include <fstream>
#include <functional>
#include <iostream>
#include <random>
#include <thread>

#include "app/command_table.hpp"
#include "app/errors.hpp"
#include "app/platform.hpp"
#include "app/report.hpp"
#include "support/fake_host.hpp"

namespace verilote::testing {

namespace fs = std::filesystem;

// The file to repair, alone in its directory. The program's directory is one
// that nobody may write to, so a repair that wrote there would fail.
struct Scratch : FakeHost {
  ScratchDir scratch{"verilote-rewrite-"};
  fs::path dir = scratch.path;
  std::string file = (dir / "remessa.rem").string();
  std::function<void()> onProgress;
  explicit Scratch(const std::string& bytes) {
    std::ofstream(file, std::ios::binary) << bytes;
    files = {file};
    programDirectory = "/proc";
  }
#ifndef _WIN32
  ~Scratch() override { umount2(dir.c_str(), MNT_DETACH); }  // before the directory goes
#endif
  void Progress(std::uint64_t, std::uint64_t) override {
    if (onProgress) onProgress();
  }
  std::size_t Entries() const { return scratch.Entries().size(); }
};

// A failure made while a command rewrites a file: `inject` makes it (false:
// it cannot be made here).
struct RewriteFailure {
  const char* name;
  std::string bytes;
  std::function<bool(Scratch&)> inject;
  Handler command;
  std::vector<std::string> answers = {};
};

// The failure ends the command with a file error naming the file (or the
// Stop), and leaves the file as it was, with no work file beside it.
inline void ExpectFileLeftAsItWas(const RewriteFailure& c) {
  Scratch host(c.bytes);
  host.answers.assign(c.answers.begin(), c.answers.end());
  if (c.inject && !c.inject(host)) {
    std::cout << "skipped: " << c.name << " cannot be made here\n";
    return;
  }
  const std::string chosen = host.files[0];
  const std::size_t entries = host.Entries();
  const Outcome outcome = RunCommand(c.command, host);
  const bool moved = fs::is_directory(host.file);
  EXPECT_EQ(outcome.status, Outcome::Status::Aborted) << c.name;
  EXPECT_TRUE(outcome.message.find(chosen) != std::string::npos || outcome.message == CommandStopped().what())
      << c.name << ": " << outcome.message;
  EXPECT_EQ(ReadBytes(moved ? host.file + ".kept" : host.file), c.bytes) << c.name;
  EXPECT_EQ(host.Entries(), entries + moved) << c.name;
  EXPECT_TRUE(host.messages.empty()) << c.name;
}

#ifndef _WIN32  // fork, exec, SIGKILL
// verilote-cli `args` in a child process, its stderr sent to `err`. The child
// first calls `prepare`, when given, and ends with status 126 when that fails.
inline pid_t StartCli(const std::vector<std::string>& args, const std::string& program = VERILOTE_CLI_PATH,
                      const std::string& err = "/dev/null", const std::function<bool()>& prepare = nullptr) {
  const pid_t child = fork();
  if (child == 0 && prepare && !prepare()) _exit(126);
  if (child == 0 && freopen(err.c_str(), "w", stderr) != nullptr && freopen("/dev/null", "w", stdout) != nullptr) {
    std::vector<char*> argv{const_cast<char*>("verilote-cli")};
    for (const std::string& arg : args) argv.push_back(const_cast<char*>(arg.c_str()));
    argv.push_back(nullptr);
    execv(program.c_str(), argv.data());
    _exit(127);
  }
  return child;
}

// verilote-cli repairing host.file: run whole it turns `before` into `after`;
// killed at random moments the file is always one or the other, whole.
// VERILOTE_KILL_ROUNDS=n makes a longer run.
inline void ExpectKillsLeaveOldOrNew(Scratch& host, const std::vector<std::string>& args, const std::string& before,
                                     const std::string& after, int rounds = 10) {
  std::ofstream(host.file, std::ios::binary) << before;
  int status = 0;
  const auto start = std::chrono::steady_clock::now();
  waitpid(StartCli(args), &status, 0);
  const auto whole = std::chrono::steady_clock::now() - start;
  EXPECT_EQ(ReadBytes(host.file), after) << status;
  std::mt19937 random(std::random_device{}());
  for (int round = getenv("VERILOTE_KILL_ROUNDS") ? std::atoi(getenv("VERILOTE_KILL_ROUNDS")) : rounds; round > 0;
       --round) {
    std::ofstream(host.file, std::ios::binary) << before;
    const pid_t child = StartCli(args);
    std::this_thread::sleep_for(whole * std::uniform_real_distribution(0.0, 1.2)(random));
    kill(child, SIGKILL);
    waitpid(child, &status, 0);
    const std::string now = ReadBytes(host.file);
    EXPECT_TRUE(now == before || now == after) << "round " << round << ": " << now.size() << " bytes";
    for (const auto& entry : fs::directory_iterator(host.dir))  // the work file a kill leaves
      if (entry.path() != host.file) fs::remove(entry.path());
  }
}

#endif

}  // namespace verilote::testing
