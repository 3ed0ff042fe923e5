// The boleto file commands run end to end through verilote-cli on the sample
// files of examples/boletos.
#include <gtest/gtest.h>

#include <sstream>
#include <string>
#include <vector>

#include "app/cp1252.hpp"
#include "cli/cli.hpp"

namespace verilote {
namespace {

const std::string kExamples = std::string(VERILOTE_SOURCE_DIR) + "/examples/boletos/";

struct CliRun {
  int status;
  std::vector<std::string> lines;
  std::string err;
};

CliRun Cli(std::vector<std::string> args) {
  args.insert(args.end(), {"--today", "06/12/2026", "--encoding", "cp1252"});
  const std::vector<std::string_view> views(args.begin(), args.end());
  std::ostringstream out, err;
  CliRun run{CliMain(views, out, err), {}, err.str()};
  std::istringstream lines(out.str());
  for (std::string line; std::getline(lines, line);) run.lines.push_back(line);
  return run;
}

TEST(BoletoCli, SincoFileReportByteForByte) {
  const CliRun run = Cli({"run", "CdigodebarrasSINCOViaarquivo1Click", "--file", kExamples + "sinco_barras.txt"});
  EXPECT_EQ(run.status, kExitClean) << run.err;
  const std::string rule(52, '=');
  const std::string ok = "BARRA CORRETA, VERIFIQUE OS DADOS ACIMA";
  const std::vector<std::string> expected = {
      std::string("COBRANÇA SINCO"_cp),
      std::string("Representação Numérica: 10491.65432  21000.000006  00000.007898  4  16580000045678"_cp),
      "Data do vencimento: 12/12/2026 CODCED = 654321 NN = 000000000000000789 Valor: 456,78",
      std::string("Seq 1 Tam barra = 44 Conteúdo 10494165800000456781654321000000000000000789"_cp),
      "Barra lida formatada 104.9.4.1658.0000045678.1.654321.000000000000000789",
      rule,
      ok,
      rule,
      std::string("COBRANÇA SINCO"_cp),
      std::string("Representação Numérica: 10491.65432  21000.000006  00000.007906  1  17370000001999"_cp),
      "Data do vencimento: 01/03/2027 CODCED = 654321 NN = 000000000000000790 Valor: 19,99",
      std::string("Seq 2 Tam barra = 44 Conteúdo 10491173700000019991654321000000000000000790"_cp),
      "Barra lida formatada 104.9.1.1737.0000001999.1.654321.000000000000000790",
      rule,
      ok,
      rule,
      std::string("COBRANÇA SINCO"_cp),
      std::string("Representação Numérica: 10491.65432  21000.000006  00000.007914  2  00000000120000"_cp),
      "Barra sem FATOR DE VENCIMENTO. CODCED = 654321 NN = 000000000000000791 Valor: 1.200,00",
      std::string("Seq 3 Tam barra = 44 Conteúdo 10492000000001200001654321000000000000000791"_cp),
      "Barra lida formatada 104.9.2.0000.0000120000.1.654321.000000000000000791",
      rule,
      ok,
      rule,
  };
  EXPECT_EQ(run.lines, expected);
}

TEST(BoletoCli, SigcbFileWithErrorsExitsWithStatusOne) {
  const CliRun run = Cli({"run", "CdigodebarrasSIGCBviaarquivo1Click", "--file",
                          kExamples + "sigcb_barras_com_erros.txt", "--answer", "123456"});
  EXPECT_EQ(run.status, kExitFaulty) << run.err;
  const std::vector<std::string> expected = {
      "Lendo barra 01 -> 10491166600000104111234560000200040000010039 Tamanho: 44 Sem Registro. Barra OK",
      std::string(" Dígito Geral inválido, esperado 1 encontrado 7"_cp),
      std::string(
          "Lida barra 2 -> 10497166600000104111234560000200040000010039 Tamanho: 44 Sem Registro. ERRO: Barra Inválida"_cp),
      std::string(" Dígito do código de cedente inválido. Encontrado 3 Calculado 0"_cp),
      std::string(" Dígito do campo livre inválido. Encontrado 1 Esperado 3"_cp),
      std::string(" Dígito Geral inválido, esperado 4 encontrado 5"_cp),
      std::string(
          "Lida barra 3 -> 10495166600000999901234563000100040000055551 Tamanho: 44 Registrada. ERRO: Barra Inválida"_cp),
      std::string("Faltou boleto com dígito 2"_cp),
      std::string("Faltou boleto com dígito 3"_cp),
      std::string("Faltou boleto com dígito 4"_cp),
      std::string("Faltou boleto com dígito 5"_cp),
      std::string("Faltou boleto com dígito 6"_cp),
      std::string("Faltou boleto com dígito 7"_cp),
      std::string("Faltou boleto com dígito 8"_cp),
      std::string("Faltou boleto com dígito 9"_cp),
      std::string("Resumo dos boletos para conferência:"_cp),
      "========== ======== == ================= ========= "
      "==================================================================",
      std::string("DT VENC    COD CED  CT NOSSO NÚMERO       VALOR    REPRESENTAÇÃO NUMÉRICA"_cp),
      "========== ======== == ================= ========= "
      "==================================================================",
      "20/12/2026 123456-0 24/000000000001003-4     104,11 [10491.23456    60000.200042    00000.100396    1    "
      "16660000010411]",
      "20/12/2026 123456-0 24/000000000001003-4     104,11 [10491.23456    60000.200042    00000.100396    7    "
      "16660000010411]",
      "20/12/2026 123456-3 14/000000000005555-2     999,90 [10491.23456    63000.100048    00000.555516    5    "
      "16660000099990]",
      "------------------------------------------------------------------------",
      "Verifique os seguintes itens:",
  };
  ASSERT_EQ(run.lines.size(), expected.size() - 2 + 43);
  EXPECT_EQ(std::vector<std::string>(run.lines.begin(), run.lines.begin() + expected.size()), expected);
  EXPECT_EQ(run.lines[expected.size() - 2 + 29],
            "(   ) Carteira RG. Informe sobre os juros e multas que devem ser informados em campos específicos na "_cp
            "remessa."_cp)
      << "the last boleto is registered collection";
  EXPECT_EQ(run.lines.back(),
            "(   ) Termo: AUTENTICAÇÃO MECÂNICA - FICHA DE COMPENSAÇÃO  ( altura de 2 mm e traços de 0,3 mm)"_cp);
}

TEST(BoletoCli, ExitStatusesOfTheSampleFiles) {
  EXPECT_EQ(
      Cli({"run", "CdigodebarrasSIGCBviaarquivo1Click", "--file", kExamples + "sigcb_barras.txt", "--answer", "123456"})
          .status,
      kExitClean);
  EXPECT_EQ(Cli({"run", "CdigodebarrasSICOBViaarquivo1Click", "--file", kExamples + "sicob_barras.txt"}).status,
            kExitClean);
  // The cedente left at its placeholder "XXXXXX" is not a number.
  const CliRun placeholder =
      Cli({"run", "CdigodebarrasSIGCBviaarquivo1Click", "--file", kExamples + "sigcb_barras.txt"});
  EXPECT_EQ(placeholder.status, kExitAborted);
  EXPECT_NE(placeholder.err.find("'XXXXXX' is not a valid integer value"), std::string::npos) << placeholder.err;
}

}  // namespace
}  // namespace verilote
