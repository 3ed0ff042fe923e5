// "Construgiro" end to end through verilote-cli on the examples, today fixed.
#include <gtest/gtest.h>

#include <sstream>
#include <string>
#include <vector>

#include "app/cp1252.hpp"
#include "cli/cli.hpp"
#include "layouts/construgiro_builder.hpp"
#include "support/fake_host.hpp"

namespace verilote {
namespace {

const std::string kDir = std::string(VERILOTE_SOURCE_DIR) + "/examples/construgiro/";

// The report as the CLI prints it (UTF-8, one line each) and its exit status.
void ExpectRun(const std::string& file, const std::vector<std::string>& report, int status) {
  std::ostringstream out, err;
  const std::string_view args[] = {"run", "Construgiro1Click", "--file", file, "--today", "06/12/2026"};
  EXPECT_EQ(CliMain(args, out, err), status) << err.str();
  std::string printed;
  for (const std::string& line : report) printed += ToUtf8(line) + "\n";
  EXPECT_EQ(out.str(), printed);
}

TEST(ConstrugiroCli, CleanExampleExitsZero) {
  ExpectRun(kDir + "remessa_construgiro_ok.rem", testing::CleanConstrugiroReport(), kExitClean);
}

TEST(ConstrugiroCli, FaultyExampleExitsOne) {
  std::vector<std::string> expected = testing::CleanConstrugiroReport();
  expected.back() = "1 Parcelas vencidas no valor total de R$ 1.000,00 e 2 a vencer no valor total de R$ 2.000,00.";
  expected[13] =
      std::string("Linha 13 Total de registros do lote de MARIA SOUZA não confere !! informado 5 calculado 4"_cp);
  const std::vector<std::string> lote2 = testing::Lines(
      {"Linha 10 Advertencia: Data da assinatura do contrato com mais de 3 anos."_cp,
       "Linha 11  Nosso Número inválido."_cp, "Linha 11 Data do vencimento não pode ser antes da data de emissão."_cp});
  expected.insert(expected.begin() + 13, lote2.begin(), lote2.end());
  const std::vector<std::string> lote1 =
      testing::Lines({"Linha 3  Posição 37 dígito invalido"_cp,
                      "Linha 3 Tem Parcela de 10/01/2027 que não será antecipada no empréstimo."_cp,
                      "Linha 4 com Caracter inválido nas posições: 50(ç)"_cp,
                      "Linha 4  Advertencia: 15/05/2010 Data Nascimento provavelmente de comprador menor de 18 anos.",
                      "Linha 5 Data da multa não pode ser antes do vencimento."_cp});
  expected.insert(expected.begin() + 12, lote1.begin(), lote1.end());
  ExpectRun(kDir + "remessa_construgiro_com_erros.rem", expected, kExitFaulty);
}

}  // namespace
}  // namespace verilote
