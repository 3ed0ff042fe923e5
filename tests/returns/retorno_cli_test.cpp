// verilote-cli retorno, check and show on return files built as the bank
// writes them: the JSON's keys and values, the CSV a spreadsheet opens, the
// reconciliation with the remittance, the exit statuses.
#include <gtest/gtest.h>

#include "cli/cli.hpp"
#include "returns/return_files.hpp"
#include "support/cli_run.hpp"
#include "support/fake_host.hpp"

namespace verilote::testing {
namespace {

const std::string kZero15(15, '0');

// Entry confirmed (NN ...123), liquidation (...124), rejection (...125) and a
// tariff record; the remittance sent ...123, ...124, ...125 and ...126.
std::string Return240() {
  return Joined({Header240(), LoteHeader240(), T("02", "14000000000000123", "DOC1", "000000000008000", kZero15, ""),
                 U("02", kZero15, kZero15, "06012014", "00000000"),
                 T("06", "14000000000000124", "DOC2", "000000000008000", "000000000000150", "040101"),
                 U("06", "000000000008000", "000000000007850", "06012014", "07012014"),
                 T("03", "14000000000000125", "DOC3", "000000000008000", kZero15, "4851"),
                 U("03", kZero15, kZero15, "06012014", "00000000"),
                 T("06", "14000000000000999", "DOC9", "000000000001000", kZero15, "040101"),
                 U("06", "000000000001000", "000000000001000", "06012014", "07012014"), Trailer240('5', "000010"),
                 Trailer240('9', "000012")},
                "\r\n");
}

std::string P(std::string_view nn, std::string_view seu) {
  return Record(240, {{1, "10400013"}, {14, "P 01"}, {41, nn}, {63, seu}});
}

std::string Remittance240() {
  return Joined({Header240('1', "101", ""), LoteHeader240(), P("14000000000000123", "DOC1"),
                 P("14000000000000124", "DOC2"), P("14000000000000125", "DOC3"), P("14000000000000126", "DOC4"),
                 Trailer240('5', "000006"), Trailer240('9', "000008")},
                "\r\n");
}

TEST(CliRetorno, JsonCarriesTheTitlesAsTheLayoutWritesThem) {
  const TempFile file(Return240(), ".ret");
  const CliRun run = Cli({"retorno", file.path(), "--format", "json"});
  EXPECT_EQ(run.status, kExitFaulty) << run.err;  // a rejection
  for (const char* expected : {
           "\"layout\": \"sigcb240-retorno\"",
           "{\"record\": 5, \"nosso_numero\": \"14000000000000124\", \"seu_numero\": \"DOC2\", \"movimento\": \"06\", "
           "\"movimento_texto\": \"Liquida\u00E7\u00E3o\"",
           "\"valor_titulo\": \"80.00\", \"valor_pago\": \"80.00\", \"tarifa\": \"1.50\"",
           "\"valor_liquido\": \"78.50\", \"vencimento\": \"2014-01-31\", \"data_ocorrencia\": \"2014-01-06\", "
           "\"data_credito\": \"2014-01-07\"",
           "\"data_credito\": null",
           "\"motivos\": [{\"codigo\": \"48\", \"texto\": \"CEP Inv\u00E1lido\"}",
           "\"rejeitado\": true",
           "\"errors\": []",
           "\"tarifas\": \"1.50\"",
           "\"status\": 1",
       })
    EXPECT_NE(run.out.find(expected), std::string::npos) << expected << "\n" << run.out;
}

TEST(CliRetorno, CsvOpensInABrazilianSpreadsheet) {
  const TempFile file(Return240(), ".ret");
  const CliRun run = Cli({"retorno", file.path(), "--format", "csv"});
  EXPECT_EQ(run.out.substr(0, 3), "\xEF\xBB\xBF");
  EXPECT_EQ(run.out.substr(3, run.out.find("\r\n") - 3).substr(0, 34), "Registro;Nosso n\u00FAmero;Seu n\u00FAmero");
  EXPECT_NE(run.out.find("\r\n5;=\"14000000000000124\";DOC2;06;Liquida\u00E7\u00E3o;"), std::string::npos) << run.out;
  EXPECT_NE(run.out.find(";80,00;80,00;1,50;0,00;0,00;0,00;78,50;31/01/2014;06/01/2014;07/01/2014;104;00123\r\n"),
            std::string::npos)
      << run.out;
}

TEST(CliRetorno, ReconciliationGivesEachTitleOfTheRemittanceItsOutcome) {
  const TempFile file(Return240(), ".ret");
  const TempFile remittance(Remittance240(), ".rem");
  const CliRun run = Cli({"retorno", file.path(), "--remessa", remittance.path()});
  EXPECT_EQ(run.status, kExitFaulty);
  for (const char* expected : {
           "Registro 3 da remessa: nosso n\u00FAmero 14000000000000123, seu n\u00FAmero DOC1: entrada confirmada",
           "Registro 4 da remessa: nosso n\u00FAmero 14000000000000124, seu n\u00FAmero DOC2: liquidada",
           "Registro 5 da remessa: nosso n\u00FAmero 14000000000000125, seu n\u00FAmero DOC3: rejeitada (registro 7 do "
           "retorno, movimento 03 Entrada Rejeitada): motivos 48 CEP Inv\u00E1lido, 51 CEP incompat\u00EDvel",
           "Registro 6 da remessa: nosso n\u00FAmero 14000000000000126, seu n\u00FAmero DOC4: sem resposta",
           "Registro 9 do retorno: nosso n\u00FAmero 14000000000000999, seu n\u00FAmero DOC9, movimento 06 "
           "Liquida\u00E7\u00E3o: t\u00EDtulo que esta remessa n\u00E3o enviou",
       })
    EXPECT_NE(run.out.find(expected), std::string::npos) << expected << "\n" << run.out;
}

// W 18-23 names the remittance's record; the pair "18.0"/88 of a real file
// is the header's NSA at 158-163, shown with the bytes the remittance holds.
TEST(CliRetorno, PreValidationErrorsPointAtTheRemittancesBytes) {
  std::string header = Header240('2', "101", "RET PRE CRI-PRODUCAO");
  const std::string w = Record(240, {{1, "10400003"}, {9, "00001W 03000001 18.088 NUMERO DA REMESSA"}});
  const TempFile file(Joined({header, LoteHeader240("0000"), w}, "\n"), ".ret");
  const TempFile remittance(Remittance240(), ".rem");
  const CliRun run = Cli({"retorno", file.path(), "--remessa", remittance.path()});
  EXPECT_EQ(run.status, kExitFaulty);
  EXPECT_NE(run.out.find("Registro 3: registro 1 da remessa, campo 18.0 (posi\u00E7\u00F5es 158-163, N\u00FAmero "
                         "Sequencial do Arquivo; campo 19.0 no manual) \"000123\": "
                         "erro 88, N\u00FAmero da remessa menor/igual remessa anterior"),
            std::string::npos)
      << run.out;
  EXPECT_NE(run.out.find("texto ap\u00F3s os pares campo/erro"), std::string::npos);
  EXPECT_NE(run.out.find("c\u00F3digo remessa/retorno '2' (posi\u00E7\u00E3o 143"), std::string::npos);
  const CliRun json = Cli({"retorno", file.path(), "--format", "json"});
  EXPECT_NE(json.out.find("\"errors\": [\n    {\"record\": 3, \"registro_da_remessa\": 1, \"campo\": \"18.0\", "
                          "\"campo_manual\": \"19.0\", \"posicoes\": \"158-163\""),
            std::string::npos)
      << json.out;
}

TEST(CliRetorno, ExitStatuses) {
  std::string clean = Return240();
  const TempFile fine(
      Joined({Header240(), LoteHeader240(), T("02", "14000000000000123", "DOC1", "000000000008000", kZero15, ""),
              U("02", kZero15, kZero15, "06012014", "00000000")},
             "\r\n"),
      ".ret");
  const TempFile remittance(Remittance240(), ".rem");
  EXPECT_EQ(Cli({"retorno", fine.path()}).status, kExitClean);
  EXPECT_EQ(Cli({"retorno", remittance.path()}).status, kExitAborted);
  EXPECT_EQ(Cli({"retorno", "/nonexistent/file.ret"}).status, kExitAborted);
  EXPECT_EQ(Cli({"retorno", fine.path(), "--format", "xml"}).status, kExitUsage);
}

TEST(CliRetorno, CheckAndShowKnowAReturn) {
  const TempFile file(Return240(), ".ret");
  const CliRun check = Cli({"check", file.path()});
  EXPECT_EQ(check.status, kExitFaulty);
  EXPECT_NE(check.out.find("sigcb240-retorno"), std::string::npos) << check.out;
  EXPECT_EQ(check.out.find("SINCO"), std::string::npos) << check.out;
  EXPECT_NE(check.out.find("Registro 7 (rejeitado)"), std::string::npos);
  EXPECT_EQ(check.out.find("Registro 3:"), std::string::npos);  // the summary leaves fine titles out
  const CliRun show = Cli({"show", file.path(), "--record", "7"});
  EXPECT_NE(show.out.find("Record 7: Segmento T"), std::string::npos) << show.out << show.err;
  EXPECT_NE(show.out.find("214-223    Motivo da ocorr\u00EAncia"), std::string::npos) << show.out;
}

}  // namespace
}  // namespace verilote::testing
