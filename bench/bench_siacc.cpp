// "SIACC - Arquivo Remessa" on a generated valid remittance of 1,000,000
// detail records (20 lotes of 25,000 A and B pairs, built from the clean
// example's A and B). Prints the report's outcome, the best of five runs
// (each in its own process, with its peak memory) for that file and one ten
// times smaller, and the time of `wc -l` on the big file.
//
// With BENCH_GENERATE_ONLY set, only the big file is written and kept (for
// bench/run.sh), its path printed.
//
//   bench_siacc [DETAILS] [DIRECTORY]    (default 1000000 and /tmp)
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
#include "app/record_reader.hpp"
#include "bench_common.hpp"
#include "layouts/siacc.hpp"

namespace {

using namespace verilote::bench;

std::string Digits(std::uint64_t value, std::size_t width) {
  std::string text = std::to_string(value);
  return text.size() >= width ? text : std::string(width - text.size(), '0') + text;
}

void Put(std::string& rec, std::size_t pos, const std::string& value) { rec.replace(pos - 1, value.size(), value); }

// A valid file of `details` detail records (rounded up to whole lotes of
// 50,000). Returns the number of records.
std::uint64_t Generate(const std::string& path, std::uint64_t details) {
  std::vector<std::string> clean;
  verilote::RecordReader reader(std::string(VERILOTE_SOURCE_DIR) + "/examples/siacc/remessa_siacc_ok.rem");
  for (std::string rec; reader.Next(rec);) clean.push_back(rec);
  constexpr std::uint64_t kPairs = 25000;  // each A pays R$ 1.500,00
  std::ofstream out(path, std::ios::binary);
  std::uint64_t records = 0;
  const auto write = [&](const std::string& rec) {
    out << rec << "\r\n";
    ++records;
  };
  write(clean[0]);
  const std::uint64_t lotes = (details + 2 * kPairs - 1) / (2 * kPairs);
  for (std::uint64_t lote = 1; lote <= lotes; ++lote) {
    std::string rec = clean[1];
    Put(rec, 4, Digits(lote, 4));
    write(rec);
    for (std::uint64_t seq = 1; seq <= 2 * kPairs; ++seq) {
      rec = clean[2 + (seq + 1) % 2];  // A, B, A, B...
      Put(rec, 4, Digits(lote, 4));
      Put(rec, 9, Digits(seq, 5));
      write(rec);
    }
    rec = clean[9];
    Put(rec, 4, Digits(lote, 4));
    Put(rec, 18, Digits(2 * kPairs + 2, 6) + Digits(kPairs * 150000, 18));
    write(rec);
  }
  std::string trailer = clean[14];
  Put(trailer, 18, Digits(lotes, 6) + Digits((records + 1) % 1000000, 6));
  write(trailer);
  return records;
}

Run Measure(const std::string& path, std::uint64_t records) {
  Best(1, [&] {
    BenchHost host(path);
    const verilote::Verdict verdict = verilote::CaixaProgramado1Click(host);
    std::printf("%10llu records: report of %llu lines, %s, last \"%s\"\n", static_cast<unsigned long long>(records),
                static_cast<unsigned long long>(host.lines), verdict == verilote::Verdict::Clean ? "clean" : "faulty",
                host.last.c_str());
  });
  const Run best = Best(5, [&] {
    BenchHost host(path);
    verilote::CaixaProgramado1Click(host);
  });
  std::printf("%10s best of 5: wall %.3f s, cpu %.3f s, %.2f M records/s (cpu), peak memory %ld KB\n", "", best.wall,
              best.cpu, records / best.cpu / 1e6, best.peakKb);
  return best;
}

}  // namespace

int main(int argc, char** argv) {
  const std::uint64_t details = argc > 1 ? std::strtoull(argv[1], nullptr, 10) : 1000000;
  const std::string dir = argc > 2 ? argv[2] : "/tmp";
  const std::string small = dir + "/bench_siacc_small.rem", big = dir + "/bench_siacc_big.rem";
  if (std::getenv("BENCH_GENERATE_ONLY") != nullptr) {
    Generate(big, details);
    std::printf("%s\n", big.c_str());
    return 0;
  }
  const std::uint64_t smallRecords = Generate(small, details / 10), bigRecords = Generate(big, details);
  std::printf("SIACC - Arquivo Remessa, valid files (%llu and %llu detail records)\n",
              static_cast<unsigned long long>(details / 10), static_cast<unsigned long long>(details));
  std::system(("cat " + big + " > /dev/null").c_str());  // a warm page cache for every run
  Measure(small, smallRecords);
  const Run validate = Measure(big, bigRecords);
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
