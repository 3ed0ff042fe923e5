#include <gmock/gmock.h>

#include <algorithm>

#include "banking/text.hpp"
#include "barcodes/boleto_builder.hpp"
#include "barcodes/boleto_commands.hpp"

namespace verilote {
namespace {

using testing::SigcbBarcode;

const std::string kSequence = "000000000000123";
const std::string kValid = SigcbBarcode("123456", '1', '4', kSequence);
const std::string kInvalid("BARRA INVÁLIDA. NÃO SERÁ ACEITA. VERIFIQUE OS ERROS."_cp);

Lines One(const std::string& b) { return Execute(CdigodebarrasSIGCB1Click, {b}, kRunFaulty).report; }
Lines Several(std::vector<std::string> answers, Outcome::Status expected = kRunFaulty) {
  return Execute(CdigodebarrasSIGCBVriosboletos1Click, std::move(answers), expected).report;
}

std::string Reading(int n, const std::string& b, std::string_view tail = "Registrada. Barra OK") {
  return Cat("Lendo barra ", n < 10 ? "0" : "", n, " -> ", b, " Tamanho: 44 ", tail);
}
std::string GeneralDv(char expected, char found) {
  return Cat("Dígito Geral inválido, esperado "_cp, expected, " encontrado ", found);
}

TEST(SigcbOneBoleto, ValidBarcodeReportsEveryLineAndChecklistA) {
  FakeHost host;
  host.report = {"earlier"};
  host.answers = {kValid};
  EXPECT_EQ(CdigodebarrasSIGCB1Click(host), kClean);
  ASSERT_EQ(host.report.size(), 1u + 14u + 46u);
  EXPECT_EQ(host.report[0], "earlier");
  EXPECT_EQ(host.report[1], "Esta validação não pode ser utilizada como única fonte para conferência"_cp);
  EXPECT_EQ(
      Slice(host.report, 4, 15),
      L({"Representação Numérica: 10491.23456  60000.100044  00000.012302  3  16520000012345"_cp,
         "Data do vencimento: 06/12/2026 ( Confirme a data no boleto )", "CÓDIGO DO CEDENTE = 123456-0 Dígito OK."_cp,
         "Nosso Número      = 14/000000000000123-1 ( Confirme o DV no boleto )"_cp,
         "Valor do título:  R$ 123,45 ( Confirme o valor no boleto )"_cp, "Cobrança Registrada."_cp,
         "Dígito do campo livre OK."_cp, "Valor de entrada: 10493165200000123451234560000100040000001230 Tamanho: 44",
         std::string(52, '='), "BARRA CORRETA, VERIFIQUE OS DADOS ACIMA", std::string(52, '=')}));
  EXPECT_EQ(host.report[15], "Verifique os seguintes itens:");
  EXPECT_EQ(host.report.back(),
            "(   ) Quantidade de campos: a Representação Numérica é dividida em cinco segmentos, "_cp
            "separados por espaço equivalente a um caractere."_cp);
}

// One change each; but for the general digit's own row, the general digit
// is redone, as an issuer's wrong program would print it. The bank and the
// currency are the position tests every boleto command shares (SICOB's).
TEST(SigcbOneBoleto, EachCorruptionGivesItsFinding) {
  using testing::RedoGeneralDigit;
  // clang-format off
  const struct { std::string barcode; std::string_view finding; } cases[] = {
      {With(kValid, 5, '7'), "Dígito Geral inválido, esperado 3 encontrado 7"_cp},
      {RedoGeneralDigit(With(kValid, 26, '5')),
       "CÓDIGO DO CEDENTE = 123456-5 Dígito do código de cedente inválido. Encontrado 5 Calculado 0"_cp},
      {RedoGeneralDigit(With(kValid, 44, '1')), "Dígito do campo livre inválido. Encontrado 1 Esperado 0"_cp},
      {RedoGeneralDigit(With(kValid, 30, '3')),
       "Erro: Tipo da cobrança não identificado, deveria ser 1 ou 2 encontrei 3"_cp}};
  // clang-format on
  for (const auto& c : cases) {
    const Lines r = One(c.barcode);
    EXPECT_THAT(r, ::testing::Contains(std::string(c.finding))) << c.barcode;
    EXPECT_THAT(r, ::testing::Contains(kInvalid)) << c.barcode;
  }
}

// ---- Several boletos and via file.

// A valid SIGCB barcode of cedente 123456 with the given general digit.
std::string WithGeneral(char general, char type = '1') {
  for (int n = 0;; ++n) {
    const std::string b = SigcbBarcode("123456", type, '4', PadZeroLeft(std::to_string(n), 15));
    if (b[4] == general) return b;
  }
}

Lines Summary(const Lines& r) {
  return Lines(std::find(r.begin(), r.end(), "Resumo dos boletos para conferência:"_cp), r.end());
}

// The reading lines, missing digits (a wrong general digit covers none) and
// summary of a batch are the file command's, run on the example files end to
// end; the same batch serves the several-barcode command.
TEST(SigcbSeveral, FindingsOfTheCheckingPass) {
  const std::string otherCedente = SigcbBarcode("654321", '1', '4', kSequence),
                    undated = SigcbBarcode("123456", '1', '4', kSequence, {"104", "9", "0000"});
  const Lines r = Several({"3", "123456", kValid, otherCedente, undated});  // another cedente: faulty
  EXPECT_EQ(
      Slice(r, 0, 6),
      L({">>>>>> ATENÇÃO: CODIGO DO CEDENTE INVÁLIDO, deveria ser 123456 encontrado 654321"_cp, Reading(1, kValid),
         " Atenção: Este boleto tem código de cedente diferente dos outros"_cp, Reading(2, otherCedente),
         " Barra sem FATOR DE VENCIMENTO. Informe que o banco recebedor está isento de resposabilidade "_cp
         "sobre o valor recebido."_cp,
         Reading(3, undated)}));
  // The summary row of a boleto without factor shows the factor's date all the same.
  EXPECT_TRUE(Summary(r)[6].starts_with("07/10/1997 123456-0 "));

  const Lines bad = Several({"1", "123456", With(With(With(kValid, 1, '2'), 4, '1'), 26, '5')});
  EXPECT_EQ(Slice(bad, 0, 5),
            L({" Dígito do código de cedente inválido. Encontrado 5 Calculado 0"_cp,
               " Dígito do campo livre inválido. Encontrado 0 Esperado 7"_cp, " Banco não é 104 - CAIXA"_cp,
               " Moeda não é REAL na posição 4"_cp, " " + GeneralDv('7', '3')}));
  EXPECT_TRUE(bad[5].starts_with("Lida barra 1 -> 2041"));
}

Lines RunFile(const std::string& bytes, std::vector<std::string> answers, Outcome::Status expected) {
  const FakeHost host = Execute(CdigodebarrasSIGCBviaarquivo1Click, std::move(answers), expected, bytes);
  EXPECT_EQ(host.dialogs.at(0).title, "Selecione o arquivo");
  return host.report;
}

// Barcodes the bank refuses, though every digit is right, make the run faulty:
// unregistered collection above the cedente limit, another cedente's barcode.
TEST(SigcbFile, UnregisteredCollectionAboveTheCedenteLimit) {
  const std::string unregistered = SigcbBarcode("604381", '2', '4', kSequence);
  EXPECT_EQ(RunFile(CrLfFile({unregistered}), {"604381"}, kRunFaulty)[0],
            "ATENÇÃO: NÃO É PERMITIDO COBRANÇA SEM REGISTRO PARA ESTE CEDENTE."_cp);
  EXPECT_TRUE(RunFile(CrLfFile({unregistered}), {"604380"}, kRunFaulty)[0].starts_with(">>>>>> ATENÇÃO: CODIGO"_cp));
  const std::string limit = SigcbBarcode("604380", '2', '4', kSequence);
  EXPECT_TRUE(RunFile(CrLfFile({limit}), {"604380"}, kRunClean)[0].starts_with("Lendo barra 01"));
}

// Past 99 the number widens: the two digits are a minimum.
TEST(SigcbFile, ManyBarcodesAreCheckedWhole) {
  Lines lines;
  for (char d = '1'; d <= '9'; ++d) lines.push_back(WithGeneral(d));
  while (lines.size() < 1000) lines.push_back(kValid);
  const Lines r = RunFile(CrLfFile(lines), {"123456"}, kRunClean);
  EXPECT_EQ(r[99], Reading(100, kValid));
  EXPECT_EQ(r[999], Reading(1000, kValid));
  ASSERT_EQ(Summary(r).size(), 4u + 1000u + 43u);
}

// The cedente left at its placeholder "XXXXXX" is not a number: the run aborts.
TEST(SigcbFile, CedentePlaceholderAborts) {
  TempFile file(CrLfFile({kValid}));
  FakeHost host;
  host.files = {file.path()};
  const Outcome outcome = RunCommand(CdigodebarrasSIGCBviaarquivo1Click, host);
  EXPECT_EQ(outcome.status, kRunAborted);
  EXPECT_EQ(testing::FirstLine(outcome.message), "'XXXXXX' is not a valid integer value");
}

}  // namespace
}  // namespace verilote
