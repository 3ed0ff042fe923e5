// "Capcaixa - Importação de guias" on a generated valid file of 1,000,000
// utility bills (type 2, the longest record: 984 positions), repeating the
// guides of examples/capcaixa/concessionarias_ok.txt. Prints the best of five
// runs (each in its own process: cpu time and peak memory), the same for a file
// ten times smaller, so that memory growing with the file would show, and the
// time of `wc -l` on the big file.
//
//   bench_capcaixa [GUIDES] [DIRECTORY]    (default 1000000 and /tmp)
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <optional>
#include <sstream>
#include <string>
#include <vector>

#include "app/host.hpp"
#include "bench_common.hpp"
#include "layouts/capcaixa.hpp"

namespace {

using verilote::bench::BenchHost;
using verilote::bench::Run;

void Generate(const std::string& path, std::uint64_t guides) {
  std::ifstream example(std::string(VERILOTE_SOURCE_DIR) + "/examples/capcaixa/concessionarias_ok.txt",
                        std::ios::binary);
  std::vector<std::string> lines;
  for (std::string line; std::getline(example, line);) lines.push_back(line + "\n");  // keeps the CR
  std::ofstream out(path, std::ios::binary);
  for (std::uint64_t i = 0; i < guides; ++i) out << lines[i % lines.size()];
}

Run Measure(const std::string& path, std::uint64_t guides) {
  BenchHost once(path);
  const verilote::Verdict verdict = verilote::CapcaixaImportaodeguias1Click(once);
  std::printf("%10llu guides: %s, last line \"%s\"\n", static_cast<unsigned long long>(guides),
              verdict == verilote::Verdict::Clean ? "clean" : "faulty", once.last.c_str());
  const Run best = verilote::bench::Best(5, [&] {
    BenchHost host(path);
    verilote::CapcaixaImportaodeguias1Click(host);
  });
  std::printf("%10s best of 5: cpu %.3f s, %.2f M guides/s, peak memory %ld KB\n", "", best.cpu,
              guides / best.cpu / 1e6, best.peakKb);
  return best;
}

}  // namespace

int main(int argc, char** argv) {
  const std::uint64_t guides = argc > 1 ? std::strtoull(argv[1], nullptr, 10) : 1000000;
  const std::string dir = argc > 2 ? argv[2] : "/tmp";
  const std::string small = dir + "/bench_capcaixa_small.txt", big = dir + "/bench_capcaixa_big.txt";
  Generate(small, guides / 10);
  Generate(big, guides);
  std::system(("cat " + big + " > /dev/null").c_str());  // every run starts from a warm page cache
  Measure(small, guides / 10);
  const Run validate = Measure(big, guides);
  const std::string wc = "wc -l < " + big + " > /dev/null";
  const Run count =
      verilote::bench::Best(5, [&] { execl("/bin/sh", "sh", "-c", wc.c_str(), static_cast<char*>(nullptr)); });
  std::printf("%s, best of 5: cpu %.3f s\nvalidation / wc -l: %.2f (cpu)\n", wc.c_str(), count.cpu,
              validate.cpu / count.cpu);
  if (std::getenv("BENCH_KEEP") == nullptr) {
    std::remove(small.c_str());
    std::remove(big.c_str());
  }
}
