// "SIGCB - Remessa 240" end to end through verilote-cli on the examples.
#include <gtest/gtest.h>

#include <sstream>
#include <string>
#include <vector>

#include "app/cp1252.hpp"
#include "app/report.hpp"
#include "cli/cli.hpp"
#include "remittance/sigcb240_builder.hpp"

namespace verilote {
namespace {

struct CliRun {
  int status;
  std::string out, err;
};

CliRun Cli(std::string_view handler, const std::string& file) {
  std::ostringstream out, err;
  const std::string_view args[] = {"run", handler, "--file", file};
  const int status = CliMain(args, out, err);
  return {status, out.str(), err.str()};
}

const std::string kDir = std::string(VERILOTE_SOURCE_DIR) + "/examples/sigcb240/";
const std::string kOkFile = kDir + "remessa_sigcb240_ok.rem", kFaultyFile = kDir + "remessa_sigcb240_com_erros.rem";

// Windows-1252 report lines as the CLI prints them: UTF-8, one per line.
std::string Printed(const std::vector<std::string>& lines) {
  std::string out;
  for (const std::string& line : lines) out += ToUtf8(line) + "\n";
  return out;
}

TEST(SigcbRemessa240Cli, CleanExampleExitsZero) {
  const CliRun run = Cli("SIGCBRemessa1Click", kOkFile);
  EXPECT_EQ(run.status, kExitClean) << run.err;
  EXPECT_EQ(run.out, Printed(testing::CleanSigcbReport("101", kOkFile)));
  EXPECT_EQ(run.err, ToUtf8("Não está validando valores zerados e do segmento Y, somente valida o Y53."_cp) + "\n");
}

TEST(SigcbRemessa240Cli, FaultyExampleExitsOne) {
  const CliRun run = Cli("SIGCBRemessa1Click", kFaultyFile);
  EXPECT_EQ(run.status, kExitFaulty) << run.err;
  // The clean report with lote 1's count replaced by the findings of lote 1.
  std::vector<std::string> expected = testing::CleanSigcbReport("101", kFaultyFile);
  const std::vector<std::string> lote1 = testing::Lines(
      {"Linha 3 SEGMENTO P. Codigos de erro: (09.3P) Para ->  NN: 14/000000000000001 SeuN: DOC00000001",
       "Registro numero 4 com Caracter inválido nas posições: 37,"_cp,
       "Linha 4 SEGMENTO Q. Codigos de erro: CPF do sacado invalido Para -> JOS\xC9 DA SILVA",
       "Linha 5 SEGMENTO R. Codigos de erro: Data da Multa não pode ser anterior ou igual a data do vencimento."_cp,
       "Linha 6 Tipo de impressão não esperado por este aplicativo !!"_cp,
       "Registro numero 6 08.3S deveria ser 1, 2 ou 3!!!",
       Cat("Linha 7 SEGMENTO P. Codigos de erro: Desconto não pode ser maior ou igual ao valor do título. "_cp,
           " Para ->  NN: 11/000000000000002 SeuN: DOC00000002"),
       "Linha 10 Total de registros do lote não confere !! informado 8 calculado 9"_cp});
  expected.erase(expected.begin() + 12);  // "Total de registros do lote = 9"
  expected.insert(expected.begin() + 12, lote1.begin(), lote1.end());
  expected.back() = std::string("Linha 18 Total de registros do arquivo não confere !!"_cp);
  expected.push_back(std::string("FIM DA VALIDAÇÃO, VERIFIQUE OS ERROS !!!"_cp));
  EXPECT_EQ(run.out, Printed(expected));
}

}  // namespace
}  // namespace verilote
