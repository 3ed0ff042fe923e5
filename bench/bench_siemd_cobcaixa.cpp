// The SIEMD layout 01 validator on a valid file of 1,000,000 statement lines,
// and the CobCaixa 2.3.3 bill validator on 1,000,000 valid bills. Prints the
// best of five runs of each (each in its own process: cpu time and peak
// memory) and the time of `wc -l` on the same file.
//
//   bench_siemd_cobcaixa [RECORDS] [DIRECTORY]    (default 1000000 and /tmp)
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <string>

#include "app/host.hpp"
#include "bench_common.hpp"
#include "layouts/cobcaixa.hpp"
#include "layouts/siemd.hpp"

namespace {

using verilote::bench::BenchHost;
using verilote::bench::InChild;
using verilote::bench::Run;

std::string Digits(std::uint64_t value, std::size_t width) {
  std::string text = std::to_string(value);
  return text.size() >= width ? text : std::string(width - text.size(), '0') + text;
}

std::string Record(std::size_t size, std::initializer_list<std::pair<std::size_t, std::string>> fields) {
  std::string rec(size, ' ');
  for (const auto& [pos, value] : fields) rec.replace(pos - 1, value.size(), value);
  return rec;
}

// A valid SIEMD layout 01 file of one lote of `statements` statement lines.
// Its six-digit counts cannot hold a million records: the trailers' two findings.
void SiemdFile(const std::string& path, std::uint64_t statements) {
  std::ofstream out(path, std::ios::binary);
  out << Record(150,
                {{1, "0101123456010001202601050000012026010520260101"}, {125, "EMISSAO DOCUMENTO"}, {142, "000000000"}})
      << "\r\n"
      << Record(150, {{1, "10T"}, {24, "1234300100012345911222333000181"}, {142, "000000001"}}) << "\r\n";
  std::uint64_t sequence = 1;
  std::string line = Record(150, {{1, "30101SALARIO"}, {96, "1.000,00"}, {131, "+0"}});
  for (std::uint64_t i = 0; i < statements; ++i) out << line.replace(141, 9, Digits(++sequence, 9)) << "\r\n";
  ++sequence;
  out << Record(150, {{1, "4" + Digits(sequence, 6)}, {142, Digits(sequence, 9)}}) << "\r\n"
      << Record(150, {{1, "9000001" + Digits(sequence + 2, 6)}, {142, "999999999"}}) << "\r\n";
}

void BillFile(const std::string& path, std::uint64_t bills) {
  const std::string z15(15, '0');
  const std::string bill = Record(
      449, {{1, "CLIENTE0001"},
            {16, "DOC001"},
            {31, "80000000017"},
            {42, "0014N0210030"},
            {54, "1100220260501202609000000000010000" + z15 + "05022026" + z15 + z15 + "11022026" + z15 + "1S000"},
            {169, "MARIA AVALISTA      152998224725"},
            {210, "PAGAVEL EM QUALQUER BANCO"}});
  std::ofstream out(path, std::ios::binary);
  for (std::uint64_t i = 0; i < bills; ++i) out << bill << "\r\n";
}

void Measure(const char* name, verilote::Handler handler, const std::string& path, std::uint64_t records) {
  std::system(("cat " + path + " > /dev/null").c_str());  // a warm page cache for every run
  InChild([&] {
    BenchHost host(path);
    const verilote::Verdict verdict = handler(host);
    std::printf("%s, %llu records: report of %llu lines, %s\n", name, static_cast<unsigned long long>(records),
                static_cast<unsigned long long>(host.lines), verdict == verilote::Verdict::Clean ? "clean" : "faulty");
  });
  const Run run = verilote::bench::Best(5, [&] {
    BenchHost host(path);
    handler(host);
  });
  const std::string wcCommand = "wc -l < " + path + " > /dev/null";
  const Run wc =
      verilote::bench::Best(5, [&] { execl("/bin/sh", "sh", "-c", wcCommand.c_str(), static_cast<char*>(nullptr)); });
  std::printf("  best of 5: wall %.3f s, cpu %.3f s, peak memory %ld KB; wc -l: wall %.3f s, cpu %.3f s\n", run.wall,
              run.cpu, run.peakKb, wc.wall, wc.cpu);
}

}  // namespace

int main(int argc, char** argv) {
  const std::uint64_t records = argc > 1 ? std::strtoull(argv[1], nullptr, 10) : 1000000;
  const std::string dir = argc > 2 ? argv[2] : "/tmp";
  const std::string siemd = dir + "/bench_siemd.rem", bills = dir + "/bench_cobcaixa_titulos.txt";
  SiemdFile(siemd, records);
  BillFile(bills, records);
  Measure("SIEMD layout 01", verilote::SIDEMRemessa1Click, siemd, records + 4);
  Measure("CobCaixa bills 2.3.3", verilote::TtulosV2331Click, bills, records);
  if (std::getenv("BENCH_KEEP") == nullptr) {
    std::remove(siemd.c_str());
    std::remove(bills.c_str());
  }
}
