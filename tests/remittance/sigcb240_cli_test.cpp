// "SIGCB - Remessa 240" end to end through verilote-cli on the examples.
#include <gtest/gtest.h>

#include <sstream>
#include <string>
#include <vector>

#include "app/cp1252.hpp"
#include "cli/cli.hpp"

namespace verilote {
namespace {

struct CliRun {
  int status;
  std::string out, err;
};

CliRun Cli(std::vector<std::string> args) {
  const std::vector<std::string_view> views(args.begin(), args.end());
  std::ostringstream out, err;
  const int status = CliMain(views, out, err);
  return {status, out.str(), err.str()};
}

const std::string kDir = std::string(VERILOTE_SOURCE_DIR) + "/examples/sigcb240/";
const std::string kOkFile = kDir + "remessa_sigcb240_ok.rem";
const std::string kFaultyFile = kDir + "remessa_sigcb240_com_erros.rem";

// Windows-1252 report lines as the CLI prints them: UTF-8, one per line.
std::string Printed(const std::vector<std::string>& lines) {
  std::string out;
  for (const std::string& line : lines) out += ToUtf8(line) + "\n";
  return out;
}

std::string S(std::string_view text) { return std::string(text); }
std::string Equals(std::size_t n) { return std::string(n, '='); }

std::vector<std::string> Opening(const std::string& file) {
  return {S("****  Este aplicativo não pode ser utilizado como única forma de validação ****"_cp),
          "Validando arquivo: " + file,
          Equals(40) + " HEADER " + Equals(40),
          "Cedente centralizador: EMPRESA CENTRALIZADORA LTDA   ",
          "Tipo de remessa: REMESSA-PRODUCAO",
          "Banco: CAIXA ECONOMICA FEDERAL        Geracao: 06/12/2026 as 12:00:00 seq 000123",
          "Convenio: 123456 Inscricao: 11.222.333/0001-81",
          Equals(40) + " HEADER OK " + Equals(37),
          Equals(38) + " CAPA DE LOTE " + Equals(36),
          "Num remessa: 00000123 Gravacao: 06/12/2026",
          "Convenio: 123456 Inscricao: 11.222.333/0001-81",
          Equals(37) + " CAPA DE LOTE OK " + Equals(34)};
}

std::vector<std::string> SecondLote() {
  return {Equals(37) + " FIM DE UM LOTE " + Equals(34),  Equals(38) + " CAPA DE LOTE " + Equals(36),
          "Num remessa: 00000123 Gravacao: 06/12/2026",  "Convenio: 123456 Inscricao: 12.ABC.345/01DE-35",
          Equals(37) + " CAPA DE LOTE OK " + Equals(34), "Total de registros do lote = 7"};
}

std::vector<std::string> Joined(std::vector<std::vector<std::string>> parts) {
  std::vector<std::string> all;
  for (auto& part : parts) all.insert(all.end(), part.begin(), part.end());
  return all;
}

TEST(SigcbRemessa240Cli, CleanExampleExitsZero) {
  const CliRun run = Cli({"run", "SIGCBRemessa1Click", "--file", kOkFile});
  EXPECT_EQ(run.status, kExitClean) << run.err;
  EXPECT_EQ(run.out, Printed(Joined({Opening(kOkFile),
                                     {"Total de registros do lote = 9"},
                                     SecondLote(),
                                     {"REGISTROS DOS TITULOS TODOS OK !!!"}})));
  EXPECT_EQ(run.err, ToUtf8("Não está validando valores zerados e do segmento Y, somente valida o Y53."_cp) + "\n");
}

TEST(SigcbRemessa240Cli, FaultyExampleExitsOne) {
  const CliRun run = Cli({"run", "SIGCBRemessa1Click", "--file", kFaultyFile});
  EXPECT_EQ(run.status, kExitFaulty) << run.err;
  const std::vector<std::string> expected = Joined({
      Opening(kFaultyFile),
      {
          "Linha 3 SEGMENTO P. Codigos de erro: (09.3P) Para ->  NN: 14/000000000000001 SeuN: DOC00000001",
          S("Registro numero 4 com Caracter inválido nas posições: 37,"_cp),
          "Linha 4 SEGMENTO Q. Codigos de erro: CPF do sacado invalido Para -> JOS\xC9 DA SILVA",
          S("Linha 5 SEGMENTO R. Codigos de erro: Data da Multa não pode ser anterior ou igual a data do vencimento."_cp),
          S("Linha 6 Tipo de impressão não esperado por este aplicativo !!"_cp),
          "Registro numero 6 08.3S deveria ser 1, 2 ou 3!!!",
          S("Linha 7 SEGMENTO P. Codigos de erro: Desconto não pode ser maior ou igual ao valor do título. "_cp) +
              " Para ->  NN: 11/000000000000002 SeuN: DOC00000002",
          S("Linha 10 Total de registros do lote não confere !! informado 8 calculado 9"_cp),
      },
      SecondLote(),
      {S("Linha 18 Total de registros do arquivo não confere !!"_cp), S("FIM DA VALIDAÇÃO, VERIFIQUE OS ERROS !!!"_cp)},
  });
  EXPECT_EQ(run.out, Printed(expected));
}

TEST(SigcbRemessa240Cli, PartialValidationOfTheFaultyExample) {
  // "Valida Parcial" leaves segment S alone; the other faults stay.
  const CliRun run = Cli({"run", "SIGCBRemessaValidaserros1Click", "--file", kFaultyFile});
  EXPECT_EQ(run.status, kExitFaulty) << run.err;
  EXPECT_EQ(run.out.find("Tipo de impress"), std::string::npos);
  EXPECT_NE(run.out.find("Esta op\xC3\xA7\xC3\xA3o n\xC3\xA3o valida algumas coisas"), std::string::npos);
  EXPECT_NE(run.out.find("FIM DA VALIDA\xC3\x87\xC3\x83O, VERIFIQUE OS ERROS !!!"), std::string::npos);
  EXPECT_EQ(run.err, ToUtf8("Não está validando Regsitros especiais tipo Y e valores zerados."_cp) + "\n");
}

}  // namespace
}  // namespace verilote
