// "Retira segmento Y" and "Altera Número da Remessa" rewriting a generated
// SIGCB booklet remittance in place (TITLES titles, each a P and a Y segment,
// in lotes of 50,000), then "Títulos" on a listing of TITLES items and the
// SICOB reconciliation of TITLES database lines with as many bank lines. Each
// run in its own process: wall and cpu seconds, peak memory; then `wc -l`.
//
//   bench_sigcb_repair [TITLES] [DIRECTORY]    (default 450000 and /tmp)
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <deque>
#include <fstream>
#include <optional>
#include <string>

#include "app/host.hpp"
#include "app/report.hpp"
#include "banking/text.hpp"
#include "bench_common.hpp"
#include "tools/database_rebuild.hpp"
#include "tools/sicob_reconciliation.hpp"
#include "tools/sigcb_repair.hpp"

namespace {

using verilote::bench::InChild;
using verilote::bench::Run;

class BenchHost final : public verilote::Host {
 public:
  BenchHost(std::string directory, std::deque<std::string> files)
      : directory_(std::move(directory)), files_(std::move(files)) {}
  std::string InputBox(std::string_view, std::string_view, std::string_view) override { return "42"; }
  std::optional<std::string> OpenFile(std::string_view, verilote::FileFilter) override {
    if (files_.empty()) return std::nullopt;
    std::string path = files_.front();
    files_.pop_front();
    return path;
  }
  void ShowMessage(std::string_view) override {}
  void ReportClear() override {}
  void ReportAppend(std::string_view) override {}
  std::vector<std::string> ReportLines() override { return {}; }
  std::string ProgramDirectory() override { return directory_; }
  verilote::CivilDate Today() override { return {2026, 12, 6}; }
  void Sleep(int) override {}

 private:
  std::string directory_;
  std::deque<std::string> files_;
};

void Print(const std::string& what, const Run& run) {
  std::printf("%-48s wall %.3f s, cpu %.3f s, peak memory %ld KB\n", what.c_str(), run.wall, run.cpu, run.peakKb);
}

void WordCount(const std::string& file) {
  const std::string wc = "wc -l < " + file + " > /dev/null";
  Print(wc, InChild([&] { execl("/bin/sh", "sh", "-c", wc.c_str(), static_cast<char*>(nullptr)); }));
}

}  // namespace

int main(int argc, char** argv) {
  using verilote::Cat;
  using verilote::PadZeroLeft;
  const unsigned long titles = argc > 1 ? std::strtoul(argv[1], nullptr, 10) : 450000;
  const std::string dir = argc > 2 ? argv[2] : "/tmp";
  const std::string remessa = dir + "/bench_sigcb_carne.rem", payers = dir + "/bench_sacados.txt",
                    items = dir + "/bench_listagem.txt", bank = dir + "/titu.txt", database = dir + "/tbTitulos.txt";
  {
    std::ofstream out(remessa, std::ios::binary);
    out << "10400000" << std::string(232, 'h') << "\r\n";
    const std::string p = "10400013xxxxxP" + std::string(226, 'd') + "\r\n", y = p.substr(0, 13) + "Y" + p.substr(14);
    for (unsigned long i = 0; i < titles; ++i) {
      if (i % 50000 == 0)
        out << (i ? "10400015" + std::string(232, 't') + "\r\n" : "") << "10400011" << std::string(232, 'l') << "\r\n";
      out << p << y;
    }
    out << "10400015" << std::string(232, 't') << "\r\n10499999" << std::string(232, 'f') << "\r\n";
    std::ofstream(payers, std::ios::binary) << std::string(53, ' ') << "PAGADOR" << std::string(33, ' ') << "\r\n";
    std::ofstream listing(items, std::ios::binary), titu(bank, std::ios::binary), tb(database, std::ios::binary);
    for (unsigned long i = 0; i < titles; ++i) {
      const std::string n = PadZeroLeft(Cat(i), 10);
      listing << "14" << PadZeroLeft(n, 15) << " PAGADOR          R$ 1.234,56   15/01/2019\r\n";
      titu << "    " << n << "-0" << std::string(21, ' ') << "61  15/01/2019 R$ 1.234,56 PAGADOR\r\n";
      tb << std::string(41, ' ') << "11" << std::string(239, ' ') << n << "0" << std::string(16, ' ') << "\r\n";
    }
  }
  std::printf("SIGCB repairs on %lu titles with Y segments (%s)\n", titles, remessa.c_str());
  Print("Remessa Com Registro Carne ( Retira segmento Y )", InChild([&] {
          BenchHost host(dir, {remessa});
          verilote::RemessaComRegistroCarnRetirasegmentoY1Click(host);
        }));
  Print("Altera Numero da Remessa", InChild([&] {
          BenchHost host(dir, {remessa});
          verilote::AlteraNmerodaRemessa1Click(host);
        }));
  WordCount(remessa);
  Print("Titulos (listing of " + std::to_string(titles) + " items)", InChild([&] {
          BenchHost host(dir, {payers, items});
          verilote::Ttulos2Click(host);
        }));
  WordCount(items);
  Print("SICOB - Valida BD cobcaixa com listagem CAIXA", InChild([&] {
          BenchHost host(dir, {});
          verilote::ValidaBDcobcaixacolistageCAIXA1Click(host);
        }));
  WordCount(database);
  if (std::getenv("BENCH_KEEP") == nullptr)
    for (const std::string& f : {remessa, payers, items, bank, database, dir + "/titulos.txt", dir + "/Titulos.txt"})
      std::remove(f.c_str());
}
