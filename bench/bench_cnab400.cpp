// "SIGCB - Remessa 400 ( Valida Tudo )" and "CobCAIXA - Remessa padrão 400"
// on generated valid remittances of 1,000,000 titles (the builder's two
// titles repeated, each with its own sequence number). For each: the report's
// outcome, the best of five runs (wall, cpu, peak memory), each in its own
// process, also for a file ten times smaller so that memory growing with the
// file would show; then the time of `wc -l` on the big file.
//
// With BENCH_GENERATE_ONLY set, only the big files are written and kept (for
// bench/run.sh), their paths printed.
//
//   bench_cnab400 [TITLES] [DIRECTORY]    (default 1000000 and /tmp)
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <optional>
#include <string>
#include <vector>

#include "app/host.hpp"
#include "bench_common.hpp"
#include "remittance/cnab400_builder.hpp"
#include "remittance/sicob400.hpp"
#include "remittance/sigcb400.hpp"

namespace {

using namespace verilote::bench;

using verilote::testing::Put;

std::string Digits(std::uint64_t value, std::size_t width) {
  std::string text = std::to_string(value);
  return text.size() >= width ? text : std::string(width - text.size(), '0') + text;
}

// Header, `titles` titles (A and B of the clean file in turn), trailer.
void Generate(const std::string& path, const std::vector<std::string>& clean, std::uint64_t titles) {
  std::ofstream out(path, std::ios::binary);
  out << clean[0] << "\r\n";
  for (std::uint64_t i = 0; i < titles; ++i) {
    std::string rec = clean[i % 2 == 0 ? 1 : 3];
    Put(rec, 395, Digits((i + 2) % 1000000, 6));
    out << rec << "\r\n";
  }
  std::string trailer = clean[4];
  Put(trailer, 395, Digits((titles + 2) % 1000000, 6));
  out << trailer << "\r\n";
}

Run Measure(verilote::Handler handler, const std::string& path, std::uint64_t titles) {
  InChild([&] {
    BenchHost host(path);
    const verilote::Verdict verdict = handler(host);
    std::printf("%10llu titles: report of %llu lines, %s, last \"%s\"\n", static_cast<unsigned long long>(titles),
                static_cast<unsigned long long>(host.lines), verdict == verilote::Verdict::Clean ? "clean" : "faulty",
                host.last.c_str());
  });
  const Run best = Best(5, [&] {
    BenchHost host(path);
    handler(host);
  });
  std::printf("%10s best of 5: wall %.3f s, cpu %.3f s, %.2f M titles/s (cpu), peak memory %ld KB\n", "", best.wall,
              best.cpu, titles / best.cpu / 1e6, best.peakKb);
  return best;
}

}  // namespace

int main(int argc, char** argv) {
  const std::uint64_t titles = argc > 1 ? std::strtoull(argv[1], nullptr, 10) : 1000000;
  const std::string dir = argc > 2 ? argv[2] : "/tmp";
  const struct {
    const char* name;
    verilote::Handler handler;
    std::vector<std::string> clean;
  } layouts[] = {
      {"sigcb400", verilote::SIGCBRemessa400ValidaTudo1Click, verilote::testing::CleanSigcb400("   ")},
      {"sicob400", verilote::CobranaRemessapadro4001Click, verilote::testing::CleanSicob400()},
  };
  for (const auto& layout : layouts) {
    const std::string small = dir + "/bench_" + layout.name + "_small.rem",
                      big = dir + "/bench_" + layout.name + "_big.rem";
    if (std::getenv("BENCH_GENERATE_ONLY") != nullptr) {
      Generate(big, layout.clean, titles);
      std::printf("%s\n", big.c_str());
      continue;
    }
    Generate(small, layout.clean, titles / 10);
    Generate(big, layout.clean, titles);
    std::printf("%s, valid files of %llu and %llu titles\n", layout.name, static_cast<unsigned long long>(titles / 10),
                static_cast<unsigned long long>(titles));
    std::system(("cat " + big + " > /dev/null").c_str());  // every run starts from a warm page cache
    Measure(layout.handler, small, titles / 10);
    const Run validate = Measure(layout.handler, big, titles);
    const std::string wcCommand = "wc -l < " + big + " > /dev/null";
    const Run wc = Best(5, [&] { execl("/bin/sh", "sh", "-c", wcCommand.c_str(), static_cast<char*>(nullptr)); });
    std::printf("%s, best of 5: wall %.3f s, cpu %.3f s\n", wcCommand.c_str(), wc.wall, wc.cpu);
    std::printf("validation / wc -l: %.2f (cpu), %.2f (wall)\n\n", validate.cpu / wc.cpu, validate.wall / wc.wall);
    if (std::getenv("BENCH_KEEP") == nullptr) {
      std::remove(small.c_str());
      std::remove(big.c_str());
    }
  }
}
