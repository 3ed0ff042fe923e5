// Reading a SIGCB CNAB 240 return of many titles (default 1,000,000 T/U
// pairs: liquidations, entries confirmed, rejections and tariff records in
// turn, CR LF as the bank writes them): the reading's time and peak memory
// against `wc -l` on the same file, best of 5, each in a child process. The
// reading is the one `verilote-cli retorno` makes: every title visited, its
// words looked up, running totals per movement kept; the text report is
// formatted too and thrown away, as the terminal would take it.
//
//   bench_returns [TITLES] [DIRECTORY]    (default 1000000, /tmp)
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <string>

#include "bench_common.hpp"
#include "returns/return_file.hpp"
#include "returns/return_report.hpp"

namespace {

std::string Record(std::initializer_list<std::pair<std::size_t, std::string_view>> fields) {
  std::string rec(240, ' ');
  for (const auto& [from, text] : fields) rec.replace(from - 1, text.size(), text);
  return rec;
}

std::string Digits(unsigned long long value, std::size_t width) {
  std::string text = std::to_string(value);
  return std::string(width > text.size() ? width - text.size() : 0, '0') + text;
}

void WriteReturn(const std::string& path, unsigned long long titles) {
  std::FILE* out = std::fopen(path.c_str(), "wb");
  if (out == nullptr) std::exit(2);
  const auto put = [out](const std::string& rec) {
    std::fwrite(rec.data(), 1, rec.size(), out);
    std::fwrite("\r\n", 1, 2, out);
  };
  put(Record({{1, "10400000"},
              {18, "212345678000199"},
              {53, "012345123456"},
              {73, "EMPRESA TESTE LTDA"},
              {103, "C ECON FEDERAL"},
              {143, "20601201410150000012304000000"},
              {192, "RETORNO-PRODUCAO"}}));
  put(Record({{1, "10400011T0100030"}, {18, "2012345678000199"}, {54, "012345123456"}, {184, "00000001"}}));
  static constexpr std::string_view kMovements[] = {"06", "02", "03", "28"};
  static constexpr std::string_view kMotives[] = {"020101", "", "4816", "20"};
  const std::string zeros(15, '0');
  for (unsigned long long i = 0; i < titles; ++i) {
    const std::size_t kind = i % 4;
    const std::string_view mov = kMovements[kind];
    const std::string nn = kind == 3 ? std::string(17, ' ') : "14" + Digits(i + 1, 15);
    const std::string seq = Digits((2 * i) % 99999 + 1, 5);
    put(Record({{1, "10400013"},
                {9, seq},
                {14, "T "},
                {16, mov},
                {24, "123456"},
                {40, nn},
                {58, "1"},
                {59, Digits(i + 1, 11)},
                {74, "31012014"},
                {82, "000000000008000"},
                {97, "104001234"},
                {131, "09"},
                {199, kind == 0 || kind == 3 ? "000000000000150" : zeros},
                {214, kMotives[kind]}}));
    put(Record({{1, "10400013"},
                {9, seq},
                {14, "U "},
                {16, mov},
                {18, zeros},
                {33, zeros},
                {48, zeros},
                {63, zeros},
                {78, kind == 0 ? "000000000008000" : zeros},
                {93, kind == 0 ? "000000000007850" : zeros},
                {108, zeros},
                {123, zeros},
                {138, "06012014"},
                {146, kind == 0 ? "07012014" : "00000000"}}));
  }
  put(Record({{1, "10400015"}, {18, Digits((2 * titles + 2) % 1000000, 6)}}));
  put(Record({{1, "10499999"}, {18, "000001"}, {24, Digits((2 * titles + 4) % 1000000, 6)}}));
  std::fclose(out);
}

}  // namespace

int main(int argc, char** argv) {
  using namespace verilote;
  const unsigned long long titles = argc > 1 ? std::strtoull(argv[1], nullptr, 10) : 1000000;
  const std::string directory = argc > 2 ? argv[2] : "/tmp";
  const std::string path = directory + "/bench_returns_" + std::to_string(getpid()) + ".ret";
  WriteReturn(path, titles);
  std::system(("cat " + path + " > /dev/null").c_str());  // a warm page cache for every run

  // The reading itself: every title visited, its words looked up, the
  // totals per movement kept.
  struct Totalling final : returns::ReturnVisitor {
    returns::Totals totals;
    void Title(const returns::ReturnTitle& title) override { totals.Add(title); }
  };
  const bench::Run read = bench::Best(5, [&] {
    Totalling visitor;
    returns::ReadReturn(path, returns::ReturnKind::Sigcb240Retorno, visitor);
    std::printf("titles read %llu\n", static_cast<unsigned long long>(visitor.totals.Titles()));
  });
  std::uint64_t lines = 0;
  const bench::Run report = bench::Best(3, [&] {
    const std::function<void(std::string_view)> line = [&lines](std::string_view text) { lines += !text.empty(); };
    const returns::Totals totals = returns::WriteReport(path, returns::ReturnKind::Sigcb240Retorno, nullptr, line, {});
    std::printf("titles read %llu, rejected %llu, report lines %llu\n",
                static_cast<unsigned long long>(totals.Titles()), static_cast<unsigned long long>(totals.Rejected()),
                static_cast<unsigned long long>(lines));
  });
  const std::string wcCommand = "wc -l < " + path + " > /dev/null";
  const bench::Run wc =
      bench::Best(5, [&] { execl("/bin/sh", "sh", "-c", wcCommand.c_str(), static_cast<char*>(nullptr)); });
  std::printf("return of %llu titles (%llu records), best of 5:\n", titles, 2 * titles + 4);
  std::printf("  reading: wall %.3f s, cpu %.3f s, peak %.1f MB\n", read.wall, read.cpu, read.peakKb / 1024.0);
  std::printf("  text report (best of 3): wall %.3f s, cpu %.3f s, peak %.1f MB\n", report.wall, report.cpu,
              report.peakKb / 1024.0);
  std::printf("  wc -l:   wall %.3f s, cpu %.3f s\n", wc.wall, wc.cpu);
  std::printf("  reading / wc -l: %.2f (cpu), %.2f (wall)\n", read.cpu / wc.cpu, read.wall / wc.wall);
  std::printf("  text report / wc -l: %.2f (cpu), %.2f (wall)\n", report.cpu / wc.cpu, report.wall / wc.wall);
  if (std::getenv("BENCH_KEEP") == nullptr) std::remove(path.c_str());
  return 0;
}
