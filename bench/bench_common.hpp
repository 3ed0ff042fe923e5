// What the bench programs share: a host that answers the file dialog with the
// benchmark's file and counts the report lines, and the measurement of a piece
// of work in a child process (wall and CPU time, peak memory), best of N.
#pragma once

#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "app/host.hpp"

namespace verilote::bench {

// A host that answers the file dialog and counts the report lines.
class BenchHost final : public verilote::Host {
 public:
  explicit BenchHost(std::string path) : path_(std::move(path)) {}
  std::string InputBox(std::string_view, std::string_view, std::string_view d) override { return std::string(d); }
  std::optional<std::string> OpenFile(std::string_view, verilote::FileFilter) override { return path_; }
  void ShowMessage(std::string_view) override {}
  void ReportClear() override { lines = 0; }
  void ReportAppend(std::string_view line) override {
    ++lines;
    last = line;
  }
  std::vector<std::string> ReportLines() override { return {}; }
  std::string ProgramDirectory() override { return "/tmp"; }
  verilote::CivilDate Today() override { return {2026, 12, 6}; }
  void Sleep(int) override {}
  std::uint64_t lines = 0;
  std::string last;

 private:
  std::string path_;
};

inline double Seconds(std::chrono::steady_clock::duration d) { return std::chrono::duration<double>(d).count(); }

inline double CpuSeconds(const rusage& usage) {
  return usage.ru_utime.tv_sec + usage.ru_stime.tv_sec + (usage.ru_utime.tv_usec + usage.ru_stime.tv_usec) / 1e6;
}

struct Run {
  double wall, cpu;  // cpu: user + system of the child, steadier than wall time on a busy machine
  long peakKb;
};

// Runs `work` in a child process and measures it.
template <typename Work>
Run InChild(Work work) {
  std::fflush(stdout);
  const auto start = std::chrono::steady_clock::now();
  const pid_t child = fork();
  if (child == 0) {
    work();
    std::fflush(stdout);
    std::_Exit(0);
  }
  int status = 0;
  rusage usage{};
  wait4(child, &status, 0, &usage);
  return {Seconds(std::chrono::steady_clock::now() - start), CpuSeconds(usage), usage.ru_maxrss};
}

// The best of `times` runs (the machine may be busy with other work).
template <typename Work>
Run Best(int times, Work work) {
  Run best = InChild(work);
  for (int i = 1; i < times; ++i) {
    const Run run = InChild(work);
    if (run.cpu < best.cpu) best = run;
  }
  return best;
}

}  // namespace verilote::bench
