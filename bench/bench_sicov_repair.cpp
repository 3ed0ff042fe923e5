// "Acerta campos Brancos" and "Altera NSA" rewriting a generated SICOV
// remittance of 1,000,000 details in place, and "Verificar se dois arquivos
// são iguais" comparing the result with a copy of it. Each run in its own process:
// wall and cpu seconds, peak memory; then `wc -l` on the same file.
//
//   bench_sicov_repair [DETAILS] [DIRECTORY]    (default 1000000 and /tmp)
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <optional>
#include <string>

#include "app/host.hpp"
#include "bench_common.hpp"
#include "tools/file_utilities.hpp"
#include "tools/sicov_repair.hpp"

namespace {

using verilote::bench::InChild;
using verilote::bench::Run;

// Answers the file dialogs with the given paths and keeps nothing.
class BenchHost final : public verilote::Host {
 public:
  BenchHost(std::string first, std::string second) : paths_{std::move(first), std::move(second)} {}
  std::string InputBox(std::string_view, std::string_view, std::string_view) override { return "42"; }
  std::optional<std::string> OpenFile(std::string_view, verilote::FileFilter) override {
    return next_ < 2 ? std::optional(paths_[next_++]) : std::nullopt;
  }
  void ShowMessage(std::string_view) override {}
  void ReportClear() override {}
  void ReportAppend(std::string_view) override { ++lines; }
  std::vector<std::string> ReportLines() override { return {}; }
  std::string ProgramDirectory() override { return "/nonexistent"; }
  verilote::CivilDate Today() override { return {2026, 12, 6}; }
  void Sleep(int) override {}
  unsigned long lines = 0;

 private:
  std::string paths_[2];
  int next_ = 0;
};

void Print(const char* what, const Run& run) {
  std::printf("%-40s wall %.3f s, cpu %.3f s, peak memory %ld KB\n", what, run.wall, run.cpu, run.peakKb);
}

}  // namespace

int main(int argc, char** argv) {
  const unsigned long details = argc > 1 ? std::strtoul(argv[1], nullptr, 10) : 1000000;
  const std::string dir = argc > 2 ? argv[2] : "/tmp";
  const std::string file = dir + "/bench_sicov.rem", copy = dir + "/bench_sicov_copy.rem";
  {
    std::ofstream out(file, std::ios::binary);
    out << "A1" << std::string(71, 'H') << "000001" << std::string(71, ' ') << "\r\n";
    const std::string detail = "E" + std::string(128, 'D') + std::string(20, 'x') + "0\r\n";
    for (unsigned long i = 0; i < details; ++i) out << detail;
    out << "Z" << std::string(23, '9') << std::string(126, ' ') << "\r\n";
  }
  std::printf("SICOV repairs on %lu details (%s)\n", details, file.c_str());
  Print("Acerta campos Brancos", InChild([&] {
          BenchHost host(file, "");
          verilote::AcertacamposBrancos1Click(host);
        }));
  Print("Altera NSA", InChild([&] {
          BenchHost host(file, "");
          verilote::AlteraNSA1Click(host);
        }));
  std::system(("cp " + file + " " + copy).c_str());  // the repaired file against its copy: no difference
  Print("Verificar se dois arquivos sao iguais", InChild([&] {
          BenchHost host(file, copy);
          verilote::VerificarsedoisarquivossoiguaisAt2000registros1Click(host);
          std::printf("  (%lu report lines)\n", host.lines);
        }));
  const std::string wc = "wc -l < " + file + " > /dev/null";
  Print(wc.c_str(), InChild([&] { execl("/bin/sh", "sh", "-c", wc.c_str(), static_cast<char*>(nullptr)); }));
  if (std::getenv("BENCH_KEEP") == nullptr) std::remove(file.c_str()), std::remove(copy.c_str());
}
