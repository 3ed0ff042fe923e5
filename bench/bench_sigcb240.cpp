// "SIGCB - Remessa 240 ( Valida Tudo )" on a generated valid remittance of
// 1,000,000 detail records (20 lotes of titles with P, Q, R, S and Y53
// segments). Prints records per second and the peak memory of the run, and the
// same for a file ten times smaller, each in its own process, so that memory
// growing with the file would show; then the time of `wc -l` on the big file.
// With a layout of "sicob" or "sinco", the same for "CobCAIXA - Remessa padrão
// 240" or "SINCO - Remessa" on their clean example file's titles (P Q R S and
// P Q) repeated.
//
//   bench_sigcb240 [DETAILS] [DIRECTORY] [sigcb|sicob|sinco]    (default 1000000, /tmp, sigcb)
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
#include <string_view>
#include <vector>

#include "app/host.hpp"
#include "bench_common.hpp"
#include "remittance/sicob240.hpp"
#include "remittance/sigcb240.hpp"
#include "remittance/sigcb240_builder.hpp"
#include "remittance/sinco.hpp"

namespace {

using namespace verilote::bench;

using verilote::testing::Put;

std::string Digits(std::uint64_t value, std::size_t width) {
  std::string text = std::to_string(value);
  return text.size() >= width ? text : std::string(width - text.size(), '0') + text;
}

// A valid file as records: the file header, a lote header, the details of
// one lote (`unit` repeated `units` times, then `fill`), its trailer and the
// file trailer; the generator numbers lotes, sequences and counts.
struct Template {
  std::string header, lote;
  std::vector<std::string> unit;
  std::uint64_t units;
  std::vector<std::string> fill;
  std::string loteTrailer, fileTrailer;
};

// Titles A (P Q R S) and B (P Q Y53) of the SIGCB builder's clean file: 7142
// pairs, A, and P Q of B make 50,000 details a lote.
Template SigcbTemplate() {
  const std::vector<std::string> clean = verilote::testing::CleanSigcbFile("101").Lines();
  std::vector<std::string> fill(clean.begin() + 2, clean.begin() + 6);
  fill.insert(fill.end(), {clean[6], clean[7]});
  return {clean[0], clean[1], {clean.begin() + 2, clean.begin() + 9}, 7142, fill, clean[9], clean[17]};
}

// The clean example of SICOB 240 or SINCO (records 3-6 title A, 7-8 title B):
// 8333 times both titles and B once more make 50,000 details a lote.
Template ExampleTemplate(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  std::vector<std::string> clean;
  for (std::string line; std::getline(in, line);) clean.push_back(line.substr(0, line.find('\r')));
  if (clean.size() != 10) {
    std::fprintf(stderr, "%s: expected the 10 records of the clean example\n", path.c_str());
    std::exit(2);
  }
  return {clean[0], clean[1], {clean.begin() + 2, clean.begin() + 8}, 8333, {clean[6], clean[7]}, clean[8], clean[9]};
}

// Writes a valid file of `details` detail records (a multiple of 50,000 is
// exact; otherwise rounded up to whole lotes), streaming. Returns the number of
// records written.
std::uint64_t Generate(const std::string& path, std::uint64_t details, const Template& t) {
  constexpr std::uint64_t kPerLote = 50000;
  const bool faulty = std::getenv("BENCH_FAULTY") != nullptr;
  const bool everySegment = faulty && std::string_view(std::getenv("BENCH_FAULTY")) == "3";
  std::ofstream out(path, std::ios::binary);
  std::uint64_t records = 0;
  const auto write = [&](const std::string& rec) {
    out << rec << "\r\n";
    ++records;
  };
  write(t.header);
  const std::uint64_t lotes = (details + kPerLote - 1) / kPerLote;
  for (std::uint64_t lote = 1; lote <= lotes; ++lote) {
    const std::string number = Digits(lote, 4);
    std::string rec = t.lote;
    Put(rec, 4, number);
    write(rec);
    std::uint64_t sequence = 0;
    const auto detail = [&](std::string rec) {
      if (faulty && rec.size() >= 105 && rec[13] == 'P') Put(rec, 101, "00001");
      // BENCH_FAULTY=3: three findings a title (its P, its Q, and its S or Y).
      if (everySegment && rec.size() >= 240 && rec[13] == 'Q') Put(rec, 129, "ABCDE");
      if (everySegment && rec.size() >= 240 && (rec[13] == 'S' || rec[13] == 'Y')) Put(rec, 15, "X");
      Put(rec, 4, number);
      Put(rec, 9, Digits(++sequence, 5));
      write(rec);
    };
    for (std::uint64_t i = 0; i < t.units; ++i)
      for (const std::string& d : t.unit) detail(d);
    for (const std::string& d : t.fill) detail(d);
    rec = t.loteTrailer;
    Put(rec, 4, number);
    Put(rec, 18, Digits(sequence + 2, 6));
    write(rec);
  }
  std::string trailer = t.fileTrailer;
  Put(trailer, 18, Digits(lotes, 6));
  Put(trailer, 24, Digits(records + 1, 6));
  write(trailer);
  return records;
}

// Validates `path` `times` times, each in its own process; prints the report's
// outcome once and the best figures.
Run Measure(verilote::Handler handler, const std::string& path, std::uint64_t records, int times) {
  InChild([&] {
    BenchHost host(path);
    const verilote::Verdict verdict = handler(host);
    std::printf("%10llu records: report of %llu lines, %s, last \"%s\"\n", static_cast<unsigned long long>(records),
                static_cast<unsigned long long>(host.lines), verdict == verilote::Verdict::Clean ? "clean" : "faulty",
                host.last.c_str());
  });
  const Run best = Best(times, [&] {
    BenchHost host(path);
    handler(host);
  });
  std::printf("%10s best of %d: wall %.3f s, cpu %.3f s, %.2f M records/s (cpu), peak memory %ld KB\n", "", times,
              best.wall, best.cpu, records / best.cpu / 1e6, best.peakKb);
  return best;
}

}  // namespace

int main(int argc, char** argv) {
  const std::uint64_t details = argc > 1 ? std::strtoull(argv[1], nullptr, 10) : 1000000;
  const std::string dir = argc > 2 ? argv[2] : "/tmp";
  const std::string layout = argc > 3 ? argv[3] : "sigcb";
  const std::string examples = std::string(VERILOTE_SOURCE_DIR) + "/examples/";
  const Template t = layout == "sicob"   ? ExampleTemplate(examples + "sicob240/remessa_sicob240_ok.rem")
                     : layout == "sinco" ? ExampleTemplate(examples + "sinco/remessa_sinco_ok.rem")
                                         : SigcbTemplate();
  const verilote::Handler handler = layout == "sicob"   ? verilote::CobranaRemessapadro2401Click
                                    : layout == "sinco" ? verilote::SINCO1Click
                                                        : verilote::SIGCBRemessa1Click;
  const std::string faulty = std::getenv("BENCH_FAULTY") != nullptr ? "_faulty" : "";
  const std::string small = dir + "/bench_" + layout + "240" + faulty + "_small.rem",
                    big = dir + "/bench_" + layout + "240" + faulty + "_big.rem";
  if (std::getenv("BENCH_GENERATE_ONLY") != nullptr) {
    Generate(big, details, t);
    std::printf("%s\n", big.c_str());
    return 0;
  }
  const std::uint64_t smallRecords = Generate(small, details / 10, t), bigRecords = Generate(big, details, t);
  std::printf("%s, valid files (%llu and %llu detail records)\n",
              layout == "sicob"   ? "CobCAIXA - Remessa padrao 240"
              : layout == "sinco" ? "SINCO - Remessa"
                                  : "SIGCB 240 Valida Tudo",
              static_cast<unsigned long long>(details / 10), static_cast<unsigned long long>(details));
  std::system(("cat " + big + " > /dev/null").c_str());  // every run starts from a warm page cache
  Measure(handler, small, smallRecords, 5);
  const Run validate = Measure(handler, big, bigRecords, 5);
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
