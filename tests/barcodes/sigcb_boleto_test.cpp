#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "app/cp1252.hpp"
#include "app/errors.hpp"
#include "app/report.hpp"
#include "banking/text.hpp"
#include "barcodes/boleto_builder.hpp"
#include "barcodes/boleto_commands.hpp"
#include "support/fake_host.hpp"

namespace verilote {
namespace {

using testing::BarcodeHead;
using testing::CrLfFile;
using testing::FakeHost;
using testing::Lines;
using testing::SigcbBarcode;
using testing::TempFile;
using testing::WithDigit;

const std::string kSequence = "000000000000123";
const std::string kValid = SigcbBarcode("123456", '1', '4', kSequence);

const std::string kRule = "====================================================";

std::vector<std::string> RunCommandOn(Verdict (*command)(Host&), std::vector<std::string> answers, Verdict expected) {
  FakeHost host;
  host.answers.assign(answers.begin(), answers.end());
  EXPECT_EQ(command(host), expected);
  return host.report;
}

TEST(SigcbOneBoleto, ValidBarcodeReportsEveryLineAndChecklistA) {
  FakeHost host;
  host.report = {"earlier"};
  host.answers = {kValid};
  EXPECT_EQ(CdigodebarrasSIGCB1Click(host), Verdict::Clean);
  EXPECT_EQ(host.prompts[0].caption, "Código de Barras"_cp);
  EXPECT_EQ(host.prompts[0].prompt, "Passe o leitor no Código de Barras"_cp);
  EXPECT_EQ(host.prompts[0].defaultText, "");
  ASSERT_EQ(host.report.size(), 1u + 14u + 46u);
  const std::vector<std::string> head(host.report.begin(), host.report.begin() + 15);
  EXPECT_EQ(head, Lines({
                      "earlier",
                      "Esta validação não pode ser utilizada como única fonte para conferência"_cp,
                      "Verifique os dados, conferindo com o boleto.",
                      "--------------------------------------------",
                      "Representação Numérica: 10491.23456  60000.100044  00000.012302  3  16520000012345"_cp,
                      "Data do vencimento: 06/12/2026 ( Confirme a data no boleto )",
                      "CÓDIGO DO CEDENTE = 123456-0 Dígito OK."_cp,
                      "Nosso Número      = 14/000000000000123-1 ( Confirme o DV no boleto )"_cp,
                      "Valor do título:  R$ 123,45 ( Confirme o valor no boleto )"_cp,
                      "Cobrança Registrada."_cp,
                      "Dígito do campo livre OK."_cp,
                      "Valor de entrada: 10493165200000123451234560000100040000001230 Tamanho: 44",
                      "====================================================",
                      "BARRA CORRETA, VERIFIQUE OS DADOS ACIMA",
                      "====================================================",
                  }));
  EXPECT_EQ(host.report[15], "Verifique os seguintes itens:");
  EXPECT_EQ(host.report[17], "(   ) O papel é adequado."_cp);
  EXPECT_EQ(
      host.report.back(),
      "(   ) Quantidade de campos: a Representação Numérica é dividida em cinco segmentos, separados por espaço "_cp
      "equivalente a um caractere."_cp);
}

// The findings the one-boleto command must write for a barcode, worked out
// with the builder's own digit rules and the messages of the layout.
struct Expected {
  std::string cedenteLine, freeFieldLine;
  std::vector<std::string> findings;
};

Expected ExpectedFor(const std::string& b) {
  Expected e;
  const char cedenteDv = testing::SigcbDigit(b.substr(19, 6));
  e.cedenteLine = b[25] == cedenteDv
                      ? Cat("CÓDIGO DO CEDENTE = "_cp, b.substr(19, 6), "-", b[25], " Dígito OK."_cp)
                      : Cat("CÓDIGO DO CEDENTE = "_cp, b.substr(19, 6), "-", b[25],
                            " Dígito do código de cedente inválido. Encontrado "_cp, b[25], " Calculado ", cedenteDv);
  const char freeDv = testing::SigcbDigit(b.substr(19, 24));
  e.freeFieldLine = b[43] == freeDv
                        ? std::string("Dígito do campo livre OK."_cp)
                        : Cat("Dígito do campo livre inválido. Encontrado "_cp, b[43], " Esperado ", freeDv);
  if (b.substr(0, 3) != "104") e.findings.emplace_back("Banco não é 104 - CAIXA"_cp);
  if (b[3] != '9') e.findings.emplace_back("Moeda não é REAL na posição 4"_cp);
  const char general = testing::FebrabanGeneralDigit(b.substr(0, 4) + b.substr(5));
  if (b[4] != general) e.findings.push_back(Cat("Dígito Geral inválido, esperado "_cp, general, " encontrado ", b[4]));
  return e;
}

TEST(SigcbOneBoleto, EverySingleDigitCorruptionGivesItsFindings) {
  int invalid = 0;
  for (std::size_t p = 1; p <= 44; ++p) {
    if (p >= 6 && p <= 9) continue;  // the factor: other digits give other dates, checked elsewhere
    for (char d = '0'; d <= '9'; ++d) {
      if (d == kValid[p - 1]) continue;
      const std::string b = WithDigit(kValid, p, d);
      const Expected e = ExpectedFor(b);
      const bool correct = e.findings.empty() && e.cedenteLine.ends_with(" OK.") && e.freeFieldLine.ends_with(" OK.");
      FakeHost host;
      host.answers = {b};
      ASSERT_EQ(CdigodebarrasSIGCB1Click(host), correct ? Verdict::Clean : Verdict::Faulty) << b;
      const std::vector<std::string>& r = host.report;
      ASSERT_GE(r.size(), 14u);
      EXPECT_EQ(r[5], e.cedenteLine) << b;
      EXPECT_EQ(r[9], e.freeFieldLine) << b;
      EXPECT_EQ(std::vector<std::string>(r.begin() + 10, r.begin() + 10 + e.findings.size()), e.findings) << b;
      EXPECT_EQ(r[10 + e.findings.size()], Cat("Valor de entrada: ", b, " Tamanho: 44")) << b;
      EXPECT_EQ(r[12 + e.findings.size()], correct ? "BARRA CORRETA, VERIFIQUE OS DADOS ACIMA"
                                                   : "BARRA INVÁLIDA. NÃO SERÁ ACEITA. VERIFIQUE OS ERROS."_cp)
          << b;
      invalid += !correct;
    }
  }
  EXPECT_GT(invalid, 300);
}

TEST(SigcbOneBoleto, NamedCorruptions) {
  // General digit 3 -> 7.
  auto r = RunCommandOn(CdigodebarrasSIGCB1Click, {WithDigit(kValid, 5, '7')}, Verdict::Faulty);
  EXPECT_EQ(r[10], "Dígito Geral inválido, esperado 3 encontrado 7"_cp);
  // Bank 204.
  r = RunCommandOn(CdigodebarrasSIGCB1Click, {WithDigit(kValid, 1, '2')}, Verdict::Faulty);
  EXPECT_EQ(r[10], "Banco não é 104 - CAIXA"_cp);
  // Currency 0.
  r = RunCommandOn(CdigodebarrasSIGCB1Click, {WithDigit(kValid, 4, '0')}, Verdict::Faulty);
  EXPECT_EQ(r[10], "Moeda não é REAL na posição 4"_cp);
  // Cedente digit 0 -> 5.
  r = RunCommandOn(CdigodebarrasSIGCB1Click, {WithDigit(kValid, 26, '5')}, Verdict::Faulty);
  EXPECT_EQ(r[5], "CÓDIGO DO CEDENTE = 123456-5 Dígito do código de cedente inválido. Encontrado 5 Calculado 0"_cp);
  // Free-field digit 0 -> 8.
  r = RunCommandOn(CdigodebarrasSIGCB1Click, {WithDigit(kValid, 44, '8')}, Verdict::Faulty);
  EXPECT_EQ(r[9], "Dígito do campo livre inválido. Encontrado 8 Esperado 0"_cp);
}

TEST(SigcbOneBoleto, EdgeCases) {
  // A cedente whose weighted total is below 11: 000001 weighs 2, digit 9.
  EXPECT_EQ(RunCommandOn(CdigodebarrasSIGCB1Click, {SigcbBarcode("000001", '2', '4', kSequence)}, Verdict::Clean)[5],
            "CÓDIGO DO CEDENTE = 000001-9 Dígito OK."_cp);
  // Type 3 is reported but is no error.
  auto r = RunCommandOn(CdigodebarrasSIGCB1Click, {SigcbBarcode("123456", '3', '4', kSequence)}, Verdict::Clean);
  EXPECT_EQ(r[8], "Erro: Tipo da cobrança não identificado, deveria ser 1 ou 2 encontrei 3"_cp);
  EXPECT_EQ(r[12], "BARRA CORRETA, VERIFIQUE OS DADOS ACIMA");
  // Unregistered.
  EXPECT_EQ(RunCommandOn(CdigodebarrasSIGCB1Click, {SigcbBarcode("123456", '2', '4', kSequence)}, Verdict::Clean)[8],
            "Cobrança Sem Registro."_cp);
  // No due date.
  BarcodeHead noFactor;
  noFactor.factor = "0000";
  r = RunCommandOn(CdigodebarrasSIGCB1Click, {SigcbBarcode("123456", '1', '4', kSequence, noFactor)}, Verdict::Clean);
  EXPECT_EQ(r[4], "Barra sem FATOR DE VENCIMENTO.");
  EXPECT_EQ(std::count_if(r.begin(), r.end(), [](const std::string& l) { return l.starts_with("Data do"); }), 0);
  // Zero value.
  BarcodeHead zero;
  zero.value = "0000000000";
  EXPECT_EQ(
      RunCommandOn(CdigodebarrasSIGCB1Click, {SigcbBarcode("123456", '1', '4', kSequence, zero)}, Verdict::Clean)[7],
      "Valor do título:  R$ 0,00 ( Confirme o valor no boleto )"_cp);
}

TEST(SigcbOneBoleto, InputIsUsedAsRead) {
  // 43 characters: cut as they stand; position 44 is missing.
  auto r = RunCommandOn(CdigodebarrasSIGCB1Click, {kValid.substr(0, 43)}, Verdict::Faulty);
  EXPECT_EQ(r[9], "Dígito do campo livre inválido. Encontrado  Esperado 0"_cp);
  EXPECT_EQ(r[10], Cat("Dígito Geral inválido, esperado "_cp,
                       testing::FebrabanGeneralDigit(kValid.substr(0, 4) + kValid.substr(5, 38)), " encontrado 3"));
  EXPECT_EQ(r[11], Cat("Valor de entrada: ", kValid.substr(0, 43), " Tamanho: 43"));
  // A blank before the scanned digits shifts every position.
  r = RunCommandOn(CdigodebarrasSIGCB1Click, {" " + kValid}, Verdict::Faulty);
  EXPECT_NE(std::find(r.begin(), r.end(), Cat("Valor de entrada:  ", kValid, " Tamanho: 45")), r.end());
  // An empty answer (Cancel) stops at the factor, after the lines before it.
  FakeHost host;
  EXPECT_THROW(CdigodebarrasSIGCB1Click(host), ConversionError);
  EXPECT_EQ(host.report.size(), 4u);
}

TEST(SigcbTypeableLine, ChecksTheBarcodeOfTheLineWithChecklistB) {
  FakeHost host;
  host.answers = {testing::TypeableWithPoints(kValid)};
  EXPECT_EQ(RepresentaoNumricaSIGCB1Click(host), Verdict::Clean);
  EXPECT_EQ(host.prompts[0].caption, "Representação Numérica"_cp);
  EXPECT_EQ(host.prompts[0].prompt, "Digite a representação numérica"_cp);
  ASSERT_EQ(host.report.size(), 14u + 21u);
  EXPECT_EQ(host.report[3], "Representação Numérica: 10491.23456  60000.100044  00000.012302  3  16520000012345"_cp);
  EXPECT_EQ(host.report[10], Cat("Valor de entrada: ", kValid, " Tamanho: 44"));
  EXPECT_EQ(host.report[14], "Se algum item abaixo estiver marcado, o boleto não estará pré-homologado"_cp);
  EXPECT_EQ(host.report.back(), "(   ) Outras ocorrências descritas abaixo:"_cp);

  // The typed general digit is the barcode's: a wrong one is reported.
  std::string line = testing::TypeableDigits(kValid);
  line[32] = '8';
  const auto r = RunCommandOn(RepresentaoNumricaSIGCB1Click, {line}, Verdict::Faulty);
  EXPECT_EQ(r[10], "Dígito Geral inválido, esperado 3 encontrado 8"_cp);
}

TEST(SigcbSevenDigitCedente, NoCedenteDigitIsChecked) {
  // Positions 20-26 hold the cedente 1234567; the free-field digit still counts.
  std::string free = "1234567" + kSequence.substr(0, 3) + "1" + kSequence.substr(3, 3) + "4" + kSequence.substr(6);
  free += testing::SigcbDigit(free);
  const std::string b = testing::Assemble({}, free);
  auto r = RunCommandOn(Cdigodebarrasumboleto1Click, {b}, Verdict::Clean);
  EXPECT_EQ(r[5], "CÓDIGO DO CEDENTE = 1234567"_cp);
  EXPECT_EQ(r.size(), 14u + 46u);
  r = RunCommandOn(Cdigodebarrasumboleto1Click, {WithDigit(b, 44, b[43] == '9' ? '0' : static_cast<char>(b[43] + 1))},
                   Verdict::Faulty);
  EXPECT_TRUE(r[9].starts_with("Dígito do campo livre inválido. Encontrado "_cp));
}

// ---- Several boletos and via file.

// A valid SIGCB barcode of cedente 123456 with the given general digit.
std::string WithGeneral(char general, char type = '1') {
  for (int n = 0;; ++n) {
    const std::string b = SigcbBarcode("123456", type, '4', PadZeroLeft(std::to_string(n), 15));
    if (b[4] == general) return b;
  }
}

std::vector<std::string> ChecklistRows(const std::vector<std::string>& r) {
  const auto it = std::find(r.begin(), r.end(), "Resumo dos boletos para conferência:"_cp);
  return std::vector<std::string>(it, r.end());
}

TEST(SigcbSeveral, ReportsEachBarcodeMissingDigitsAndTheSummary) {
  const std::string b1 = WithGeneral('1'), b2 = WithGeneral('1', '2'), b3 = WithGeneral('5');
  FakeHost host;
  host.answers = {"3", "123456", b1, b2, b3};
  EXPECT_EQ(CdigodebarrasSIGCBVriosboletos1Click(host), Verdict::Clean);
  ASSERT_EQ(host.prompts.size(), 5u);
  EXPECT_EQ(host.prompts[0].caption, "Quantidade");
  EXPECT_EQ(host.prompts[0].prompt, "Entre com a quantidade de boletos");
  EXPECT_EQ(host.prompts[0].defaultText, "2");
  EXPECT_EQ(host.prompts[1].caption, "Código do Cedente"_cp);
  EXPECT_EQ(host.prompts[1].prompt, "Digite o código do cedente"_cp);
  EXPECT_EQ(host.prompts[1].defaultText, "XXXXXX");
  const std::vector<std::string> head(host.report.begin(), host.report.begin() + 10);
  EXPECT_EQ(head, Lines({
                      Cat("Lendo barra 01 -> ", b1, " Tamanho: 44 Registrada. Barra OK"),
                      Cat("Lendo barra 02 -> ", b2, " Tamanho: 44 Sem Registro. Barra OK"),
                      Cat("Lendo barra 03 -> ", b3, " Tamanho: 44 Registrada. Barra OK"),
                      "Faltou boleto com dígito 2"_cp,
                      "Faltou boleto com dígito 3"_cp,
                      "Faltou boleto com dígito 4"_cp,
                      "Faltou boleto com dígito 6"_cp,
                      "Faltou boleto com dígito 7"_cp,
                      "Faltou boleto com dígito 8"_cp,
                      "Faltou boleto com dígito 9"_cp,
                  }));
  const std::vector<std::string> checklist = ChecklistRows(host.report);
  ASSERT_EQ(checklist.size(), 4u + 3u + 43u);
  EXPECT_EQ(checklist[2], "DT VENC    COD CED  CT NOSSO NÚMERO       VALOR    REPRESENTAÇÃO NUMÉRICA"_cp);
  EXPECT_EQ(checklist[4].substr(0, 21), "06/12/2026 123456-0 1");
  EXPECT_EQ(checklist[4].substr(40, 14), "     123,45 [1");
  EXPECT_TRUE(checklist[4].ends_with("    " + b1.substr(4, 1) + "    16520000012345]"));
  EXPECT_EQ(checklist[7], "------------------------------------------------------------------------");
  EXPECT_EQ(checklist.back(),
            "(   ) Termo: AUTENTICAÇÃO MECÂNICA - FICHA DE COMPENSAÇÃO  ( altura de 2 mm e traços de 0,3 mm)"_cp);
}

TEST(SigcbSeveral, SummaryRowOfAKnownBarcode) {
  const auto r = RunCommandOn(CdigodebarrasSIGCBVriosboletos1Click, {"1", "123456", kValid}, Verdict::Clean);
  const std::vector<std::string> checklist = ChecklistRows(r);
  EXPECT_EQ(checklist[4],
            "06/12/2026 123456-0 14/000000000000123-1     123,45 [10491.23456    60000.100044    00000.012302    3    "
            "16520000012345]");
}

TEST(SigcbSeveral, FindingsOfTheCheckingPass) {
  const std::string wrongGeneral = WithDigit(WithGeneral('5'), 5, '6');
  const std::string otherCedente = SigcbBarcode("654321", '1', '4', kSequence);
  BarcodeHead noFactor;
  noFactor.factor = "0000";
  const std::string undated = SigcbBarcode("123456", '1', '4', kSequence, noFactor);
  const auto r = RunCommandOn(CdigodebarrasSIGCBVriosboletos1Click,
                              {"4", "123456", kValid, wrongGeneral, otherCedente, undated}, Verdict::Faulty);
  EXPECT_EQ(r[0], ">>>>>> ATENÇÃO: CODIGO DO CEDENTE INVÁLIDO, deveria ser 123456 encontrado 654321"_cp);
  EXPECT_EQ(r[1], Cat("Lendo barra 01 -> ", kValid, " Tamanho: 44 Registrada. Barra OK"));
  EXPECT_EQ(r[2], " Dígito Geral inválido, esperado 5 encontrado 6"_cp);
  EXPECT_EQ(r[3], Cat("Lida barra 2 -> ", wrongGeneral, " Tamanho: 44 Registrada. ERRO: Barra Inválida"_cp));
  EXPECT_EQ(r[4], " Atenção: Este boleto tem código de cedente diferente dos outros"_cp);
  EXPECT_EQ(r[5], Cat("Lendo barra 03 -> ", otherCedente, " Tamanho: 44 Registrada. Barra OK"));
  EXPECT_EQ(r[6],
            " Barra sem FATOR DE VENCIMENTO. Informe que o banco recebedor está isento de resposabilidade sobre o "_cp
            "valor recebido."_cp);
  EXPECT_EQ(r[7], Cat("Lendo barra 04 -> ", undated, " Tamanho: 44 Registrada. Barra OK"));
  // The wrong general digit 6 covers nothing (the valid ones are 3, 8 and 5).
  EXPECT_NE(std::find(r.begin(), r.end(), "Faltou boleto com dígito 6"_cp), r.end());
  EXPECT_EQ(std::find(r.begin(), r.end(), "Faltou boleto com dígito 3"_cp), r.end());
  // The summary row of a boleto without factor shows the factor's date all the same.
  EXPECT_TRUE(ChecklistRows(r)[7].starts_with("07/10/1997 123456-0 "));

  const auto bad =
      RunCommandOn(CdigodebarrasSIGCBVriosboletos1Click,
                   {"1", "123456", WithDigit(WithDigit(WithDigit(kValid, 1, '2'), 4, '1'), 26, '5')}, Verdict::Faulty);
  EXPECT_EQ(bad[0], " Dígito do código de cedente inválido. Encontrado 5 Calculado 0"_cp);
  EXPECT_EQ(bad[1], " Dígito do campo livre inválido. Encontrado 0 Esperado 7"_cp);
  EXPECT_EQ(bad[2], " Banco não é 104 - CAIXA"_cp);
  EXPECT_EQ(bad[3], " Moeda não é REAL na posição 4"_cp);
  EXPECT_EQ(bad[4], " Dígito Geral inválido, esperado 7 encontrado 3"_cp);
  EXPECT_TRUE(bad[5].starts_with("Lida barra 1 -> 2041"));
}

TEST(SigcbSeveral, AnyByteAtPositionFiveWithABlankFreeField) {
  // Blanks weigh -16 each, so the computed general "digit" is no digit at
  // all; a barcode carrying that very character must not mark any digit.
  for (int byte = 1; byte < 256; ++byte) {
    const std::string b = "1049" + std::string(1, static_cast<char>(byte)) + "16520000012345" + std::string(25, ' ');
    FakeHost host;
    host.answers = {"1", "123456", b};
    CdigodebarrasSIGCBVriosboletos1Click(host);
    const auto missing = std::count_if(host.report.begin(), host.report.end(),
                                       [](const std::string& l) { return l.starts_with("Faltou boleto"); });
    EXPECT_EQ(missing, 9) << byte;
  }
}

TEST(SigcbSeveral, QuantityPrompt) {
  FakeHost twelve;
  twelve.answers = {"123", "123456"};
  for (int i = 0; i < 13; ++i) twelve.answers.push_back(kValid);
  EXPECT_EQ(CdigodebarrasSIGCBVriosboletos1Click(twelve), Verdict::Clean);
  EXPECT_EQ(twelve.prompts.size(), 2u + 12u) << "123 is read as 12";
  EXPECT_EQ(twelve.answers.size(), 1u);

  for (const std::string quantity : {"", "abc", "0"}) {
    FakeHost none;
    none.answers = {quantity};
    EXPECT_EQ(CdigodebarrasSIGCBVriosboletos1Click(none), Verdict::Clean);
    EXPECT_TRUE(none.report.empty()) << quantity;
  }
}

TEST(SigcbSeveral, CarteiraRowFollowsTheLastBarcode) {
  const std::string registered = std::string(
      "(   ) Carteira RG. Informe sobre os juros e multas que devem ser informados em campos "
      "específicos na remessa."_cp);
  const std::string unregistered = "(   ) Carteira SR";
  auto r = RunCommandOn(CdigodebarrasSIGCBVriosboletos1Click,
                        {"2", "123456", SigcbBarcode("123456", '2', '4', kSequence), kValid}, Verdict::Clean);
  EXPECT_NE(std::find(r.begin(), r.end(), registered), r.end());
  EXPECT_EQ(std::find(r.begin(), r.end(), unregistered), r.end());
  r = RunCommandOn(CdigodebarrasSIGCBVriosboletos1Click,
                   {"2", "123456", kValid, SigcbBarcode("123456", '2', '4', kSequence)}, Verdict::Clean);
  EXPECT_EQ(std::find(r.begin(), r.end(), registered), r.end());
  EXPECT_NE(std::find(r.begin(), r.end(), unregistered), r.end());
  EXPECT_EQ(ChecklistRows(r).size(), 4u + 2u + 43u);
}

std::vector<std::string> RunFile(const std::string& bytes, std::vector<std::string> answers, Verdict expected) {
  TempFile file(bytes);
  FakeHost host;
  host.files = {file.path()};
  host.answers.assign(answers.begin(), answers.end());
  EXPECT_EQ(CdigodebarrasSIGCBviaarquivo1Click(host), expected);
  EXPECT_EQ(host.dialogs.size(), 1u);
  EXPECT_EQ(host.dialogs[0].title, "Selecione o arquivo");
  EXPECT_EQ(host.dialogs[0].filter, FileFilter::Texto);
  return host.report;
}

TEST(SigcbFile, UnregisteredCollectionAboveTheCedenteLimit) {
  const std::string unregistered = SigcbBarcode("604381", '2', '4', kSequence);
  auto r = RunFile(CrLfFile({unregistered}), {"604381"}, Verdict::Clean);
  EXPECT_EQ(r[0], "ATENÇÃO: NÃO É PERMITIDO COBRANÇA SEM REGISTRO PARA ESTE CEDENTE."_cp);
  r = RunFile(CrLfFile({SigcbBarcode("604380", '2', '4', kSequence)}), {"604380"}, Verdict::Clean);
  EXPECT_TRUE(r[0].starts_with("Lendo barra 01"));
  // The several-barcode command has no such rule.
  r = RunCommandOn(CdigodebarrasSIGCBVriosboletos1Click, {"1", "604381", unregistered}, Verdict::Clean);
  EXPECT_TRUE(r[0].starts_with("Lendo barra 01"));
}

TEST(SigcbFile, CedentePlaceholderStopsAfterTheFirstLine) {
  TempFile file(CrLfFile({kValid, kValid}));
  FakeHost host;
  host.files = {file.path()};
  EXPECT_THROW(CdigodebarrasSIGCBviaarquivo1Click(host), ConversionError);
  EXPECT_EQ(host.report,
            Lines({">>>>>> ATENÇÃO: CODIGO DO CEDENTE INVÁLIDO, deveria ser XXXXXX encontrado 123456"_cp}));
}

TEST(SigcbFile, EmptyFileAndCancel) {
  const auto r = RunFile("", {"XXXXXX"}, Verdict::Clean);
  ASSERT_EQ(r.size(), 9u + 4u + 43u);
  EXPECT_EQ(r[0], "Faltou boleto com dígito 1"_cp);
  EXPECT_EQ(r[9], "Resumo dos boletos para conferência:"_cp);
  EXPECT_EQ(r[13], "------------------------------------------------------------------------");

  FakeHost cancelled;
  EXPECT_EQ(CdigodebarrasSIGCBviaarquivo1Click(cancelled), Verdict::Clean);
  EXPECT_TRUE(cancelled.prompts.empty());
  EXPECT_TRUE(cancelled.report.empty());
}

TEST(SigcbFile, TenThousandBarcodesAreCheckedWhole) {
  std::vector<std::string> lines;
  for (char d = '1'; d <= '9'; ++d) lines.push_back(WithGeneral(d));
  while (lines.size() < 10000) lines.push_back(kValid);
  lines[9999] = WithDigit(kValid, 5, '9');
  const auto r = RunFile(CrLfFile(lines), {"123456"}, Verdict::Faulty);
  EXPECT_EQ(r[0], Cat("Lendo barra 01 -> ", lines[0], " Tamanho: 44 Registrada. Barra OK"));
  EXPECT_EQ(r[99], Cat("Lendo barra 100 -> ", kValid, " Tamanho: 44 Registrada. Barra OK"));
  EXPECT_EQ(r[9998], Cat("Lendo barra 9999 -> ", kValid, " Tamanho: 44 Registrada. Barra OK"));
  EXPECT_EQ(r[9999], " Dígito Geral inválido, esperado 3 encontrado 9"_cp);
  EXPECT_EQ(r[10000], Cat("Lida barra 10000 -> ", lines[9999], " Tamanho: 44 Registrada. ERRO: Barra Inválida"_cp));
  const std::vector<std::string> checklist = ChecklistRows(r);
  ASSERT_EQ(checklist.size(), 4u + 10000u + 43u);
  EXPECT_TRUE(checklist[4 + 9999].ends_with("    9    16520000012345]"));
}

}  // namespace
}  // namespace verilote
