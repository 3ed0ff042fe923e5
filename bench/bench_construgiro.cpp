// "Construgiro" on a generated valid remittance of 1,000,000 titles (each a P
// and a Q segment; 25 lotes of 40,000). Prints records per second and the
// peak memory of the run, and the same for a file ten times smaller, each in
// its own process, so that memory growing with the file would show; then the
// time of `wc -l` on the big file.
//
//   bench_construgiro [TITLES] [DIRECTORY]    (default 1000000 and /tmp)
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
#include "layouts/construgiro.hpp"
#include "layouts/construgiro_builder.hpp"
#include "remittance/sigcb240_builder.hpp"

namespace {

using namespace verilote::bench;

using verilote::testing::Put;

std::string Digits(std::uint64_t value, std::size_t width) {
  std::string text = std::to_string(value);
  return text.size() >= width ? text : std::string(width - text.size(), '0') + text;
}

// Writes a valid file of `titles` titles (rounded up to whole lotes of
// 40,000), streaming. Returns the number of records written.
std::uint64_t Generate(const std::string& path, std::uint64_t titles) {
  const std::vector<std::string> clean = verilote::testing::CleanConstrugiroFile().Lines();
  const std::string p = verilote::testing::ConstrugiroP(), q = verilote::testing::ConstrugiroQ();
  constexpr std::uint64_t kPerLote = 40000;
  std::ofstream out(path, std::ios::binary);
  std::uint64_t records = 0;
  const auto write = [&](const std::string& rec) {
    out << rec << "\r\n";
    ++records;
  };
  write(clean[0]);
  const std::uint64_t lotes = (titles + kPerLote - 1) / kPerLote;
  for (std::uint64_t lote = 1; lote <= lotes; ++lote) {
    const std::string number = Digits(lote, 4);
    std::string rec = clean[1];
    Put(rec, 4, number);
    write(rec);
    std::uint64_t sequence = 0;
    for (std::uint64_t i = 0; i < kPerLote; ++i)
      for (std::string detail : {p, q}) {
        Put(detail, 4, number);
        Put(detail, 9, Digits(++sequence, 5));
        write(detail);
      }
    rec = clean[8];
    Put(rec, 4, number);
    Put(rec, 18, Digits(sequence + 2, 6));
    write(rec);
  }
  std::string trailer = clean[13];
  Put(trailer, 18, Digits(lotes, 6));
  Put(trailer, 24, Digits(records + 1, 6));
  write(trailer);
  return records;
}

// A host that answers the file dialog and counts the report lines.
Run Measure(const std::string& path, std::uint64_t records, int times) {
  Best(1, [&] {
    BenchHost host(path);
    const verilote::Verdict verdict = verilote::Construgiro1Click(host);
    std::printf("%10llu records: report of %llu lines, %s, last \"%s\"\n", static_cast<unsigned long long>(records),
                static_cast<unsigned long long>(host.lines), verdict == verilote::Verdict::Clean ? "clean" : "faulty",
                host.last.c_str());
  });
  const Run best = Best(times, [&] {
    BenchHost host(path);
    verilote::Construgiro1Click(host);
  });
  std::printf("%10s best of %d: wall %.3f s, cpu %.3f s, %.2f M records/s (cpu), peak memory %ld KB\n", "", times,
              best.wall, best.cpu, records / best.cpu / 1e6, best.peakKb);
  return best;
}

}  // namespace

int main(int argc, char** argv) {
  const std::uint64_t titles = argc > 1 ? std::strtoull(argv[1], nullptr, 10) : 1000000;
  const std::string dir = argc > 2 ? argv[2] : "/tmp";
  const std::string small = dir + "/bench_construgiro_small.rem", big = dir + "/bench_construgiro_big.rem";
  const std::uint64_t smallRecords = Generate(small, titles / 10), bigRecords = Generate(big, titles);
  std::printf("Construgiro, valid files (%llu and %llu titles)\n", static_cast<unsigned long long>(titles / 10),
              static_cast<unsigned long long>(titles));
  std::system(("cat " + big + " > /dev/null").c_str());  // every run starts from a warm page cache
  Measure(small, smallRecords, 5);
  const Run validate = Measure(big, bigRecords, 5);
  const std::string wcCommand = "wc -l < " + big + " > /dev/null";
  const Run wc = Best(5, [&] { execl("/bin/sh", "sh", "-c", wcCommand.c_str(), static_cast<char*>(nullptr)); });
  std::printf("%s, best of 5: wall %.3f s, cpu %.3f s\n", wcCommand.c_str(), wc.wall, wc.cpu);
  std::printf("validation / wc -l: %.2f (cpu), %.2f (wall)\n", validate.cpu / wc.cpu, validate.wall / wc.wall);
  std::printf("(the file trailer's six-digit record count cannot hold %llu records: its one finding)\n",
              static_cast<unsigned long long>(bigRecords));
  if (std::getenv("BENCH_KEEP") == nullptr) {
    std::remove(small.c_str());
    std::remove(big.c_str());
  }
}
