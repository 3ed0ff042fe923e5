#include <algorithm>

#include "banking/text.hpp"
#include "barcodes/boleto_builder.hpp"
#include "barcodes/boleto_commands.hpp"

namespace verilote {
namespace {

using testing::SigcbBarcode;

const std::string kSequence = "000000000000123";
const std::string kValid = SigcbBarcode("123456", '1', '4', kSequence);
const std::string kCorrect = "BARRA CORRETA, VERIFIQUE OS DADOS ACIMA";
const std::string kInvalid("BARRA INVÁLIDA. NÃO SERÁ ACEITA. VERIFIQUE OS ERROS."_cp);
const std::string kCarteiraRg(
    "(   ) Carteira RG. Informe sobre os juros e multas que devem ser informados em campos específicos na remessa."_cp);

Lines Report(Verdict (*command)(Host&), std::vector<std::string> answers, Verdict expected) {
  FakeHost host;
  host.answers.assign(answers.begin(), answers.end());
  EXPECT_EQ(command(host), expected);
  return host.report;
}
Lines One(const std::string& b, Verdict expected) { return Report(CdigodebarrasSIGCB1Click, {b}, expected); }
Lines Several(std::vector<std::string> answers, Verdict expected) {
  return Report(CdigodebarrasSIGCBVriosboletos1Click, std::move(answers), expected);
}

std::string Sigcb(char type, const testing::BarcodeHead& head = {}) {
  return SigcbBarcode("123456", type, '4', kSequence, head);
}
std::string Reading(int n, const std::string& b, std::string_view tail = "Registrada. Barra OK") {
  return Cat("Lendo barra ", n < 10 ? "0" : "", n, " -> ", b, " Tamanho: 44 ", tail);
}
std::string GeneralDv(char expected, char found) {
  return Cat("Dígito Geral inválido, esperado "_cp, expected, " encontrado ", found);
}
std::string Missing(char d) { return Cat("Faltou boleto com dígito "_cp, d); }

TEST(SigcbOneBoleto, ValidBarcodeReportsEveryLineAndChecklistA) {
  FakeHost host;
  host.report = {"earlier"};
  host.answers = {kValid};
  EXPECT_EQ(CdigodebarrasSIGCB1Click(host), kClean);
  EXPECT_EQ(host.prompts[0].caption, "Código de Barras"_cp);
  EXPECT_EQ(host.prompts[0].prompt, "Passe o leitor no Código de Barras"_cp);
  ASSERT_EQ(host.report.size(), 1u + 14u + 46u);
  EXPECT_EQ(
      Slice(host.report, 0, 15),
      L({"earlier", "Esta validação não pode ser utilizada como única fonte para conferência"_cp,
         "Verifique os dados, conferindo com o boleto.", "--------------------------------------------",
         "Representação Numérica: 10491.23456  60000.100044  00000.012302  3  16520000012345"_cp,
         "Data do vencimento: 06/12/2026 ( Confirme a data no boleto )", "CÓDIGO DO CEDENTE = 123456-0 Dígito OK."_cp,
         "Nosso Número      = 14/000000000000123-1 ( Confirme o DV no boleto )"_cp,
         "Valor do título:  R$ 123,45 ( Confirme o valor no boleto )"_cp, "Cobrança Registrada."_cp,
         "Dígito do campo livre OK."_cp, "Valor de entrada: 10493165200000123451234560000100040000001230 Tamanho: 44",
         std::string(52, '='), kCorrect, std::string(52, '=')}));
  EXPECT_EQ(host.report[15], "Verifique os seguintes itens:");
  EXPECT_EQ(host.report.back(),
            "(   ) Quantidade de campos: a Representação Numérica é dividida em cinco segmentos, "_cp
            "separados por espaço equivalente a um caractere."_cp);
}

// Every single-digit change but the factor's, against the findings worked out
// with the builder's own digit rules and the messages of the layout.
TEST(SigcbOneBoleto, EverySingleDigitCorruptionGivesItsFindings) {
  int invalid = 0;
  for (std::size_t p = 1; p <= 44; ++p) {
    if (p >= 6 && p <= 9) continue;  // the factor: other digits give other dates
    for (char d = '0'; d <= '9'; ++d) {
      if (d == kValid[p - 1]) continue;
      const std::string b = With(kValid, p, d), cedente = b.substr(19, 6);
      const char cedenteDv = testing::SigcbDigit(cedente), freeDv = testing::SigcbDigit(b.substr(19, 24));
      const char general = testing::FebrabanGeneralDigit(b.substr(0, 4) + b.substr(5));
      Lines findings;
      if (b.substr(0, 3) != "104") findings.emplace_back("Banco não é 104 - CAIXA"_cp);
      if (b[3] != '9') findings.emplace_back("Moeda não é REAL na posição 4"_cp);
      if (b[4] != general) findings.push_back(GeneralDv(general, b[4]));
      const bool correct = findings.empty() && b[25] == cedenteDv && b[43] == freeDv;
      const Lines r = One(b, correct ? kClean : kFaulty);
      ASSERT_GE(r.size(), 14u);
      EXPECT_EQ(r[5], b[25] == cedenteDv ? Cat("CÓDIGO DO CEDENTE = "_cp, cedente, "-", b[25], " Dígito OK."_cp)
                                         : Cat("CÓDIGO DO CEDENTE = "_cp, cedente, "-", b[25],
                                               " Dígito do código de cedente inválido. Encontrado "_cp, b[25],
                                               " Calculado ", cedenteDv))
          << b;
      EXPECT_EQ(r[9], b[43] == freeDv
                          ? std::string("Dígito do campo livre OK."_cp)
                          : Cat("Dígito do campo livre inválido. Encontrado "_cp, b[43], " Esperado ", freeDv))
          << b;
      const auto n = static_cast<std::ptrdiff_t>(findings.size());
      EXPECT_EQ(Slice(r, 10, 10 + n), findings) << b;
      EXPECT_EQ(r[10 + n], Cat("Valor de entrada: ", b, " Tamanho: 44")) << b;
      EXPECT_EQ(r[12 + n], correct ? kCorrect : kInvalid) << b;
      invalid += !correct;
    }
  }
  EXPECT_GT(invalid, 300);
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

TEST(SigcbSeveral, ReportsEachBarcodeMissingDigitsAndTheSummary) {
  const std::string b1 = WithGeneral('1'), b2 = WithGeneral('1', '2');
  FakeHost host;
  host.answers = {"3", "123456", b1, b2, kValid};
  EXPECT_EQ(CdigodebarrasSIGCBVriosboletos1Click(host), kClean);
  ASSERT_EQ(host.prompts.size(), 5u);
  EXPECT_EQ(host.prompts[0].prompt, "Entre com a quantidade de boletos");
  EXPECT_EQ(host.prompts[0].defaultText, "2");
  EXPECT_EQ(host.prompts[1].caption, "Código do Cedente"_cp);
  EXPECT_EQ(host.prompts[1].prompt, "Digite o código do cedente"_cp);
  EXPECT_EQ(host.prompts[1].defaultText, "XXXXXX");
  Lines head = {Reading(1, b1), Reading(2, b2, "Sem Registro. Barra OK"), Reading(3, kValid)};
  for (const char d : {'2', '4', '5', '6', '7', '8', '9'}) head.push_back(Missing(d));
  EXPECT_EQ(Slice(host.report, 0, 10), head);
  const Lines summary = Summary(host.report);
  ASSERT_EQ(summary.size(), 4u + 3u + 43u);
  EXPECT_EQ(summary[2], "DT VENC    COD CED  CT NOSSO NÚMERO       VALOR    REPRESENTAÇÃO NUMÉRICA"_cp);
  EXPECT_EQ(summary[6],
            "06/12/2026 123456-0 14/000000000000123-1     123,45 "
            "[10491.23456    60000.100044    00000.012302    3    16520000012345]");
  EXPECT_EQ(summary[7], std::string(72, '-'));
  EXPECT_EQ(summary.back(),
            "(   ) Termo: AUTENTICAÇÃO MECÂNICA - FICHA DE COMPENSAÇÃO  ( altura de 2 mm e traços de 0,3 mm)"_cp);
}

TEST(SigcbSeveral, FindingsOfTheCheckingPass) {
  const std::string wrongGeneral = With(WithGeneral('5'), 5, '6');
  const std::string otherCedente = SigcbBarcode("654321", '1', '4', kSequence),
                    undated = Sigcb('1', {"104", "9", "0000"});
  const Lines r = Several({"4", "123456", kValid, wrongGeneral, otherCedente, undated}, kFaulty);
  EXPECT_EQ(Slice(r, 0, 8),
            L({">>>>>> ATENÇÃO: CODIGO DO CEDENTE INVÁLIDO, deveria ser 123456 encontrado 654321"_cp,
               Reading(1, kValid), " " + GeneralDv('5', '6'),
               Cat("Lida barra 2 -> ", wrongGeneral, " Tamanho: 44 Registrada. ERRO: Barra Inválida"_cp),
               " Atenção: Este boleto tem código de cedente diferente dos outros"_cp, Reading(3, otherCedente),
               " Barra sem FATOR DE VENCIMENTO. Informe que o banco recebedor está isento de resposabilidade "_cp
               "sobre o valor recebido."_cp,
               Reading(4, undated)}));
  // The wrong general digit 6 covers nothing (the valid ones are 3, 8 and 5).
  EXPECT_NE(std::find(r.begin(), r.end(), Missing('6')), r.end());
  EXPECT_EQ(std::find(r.begin(), r.end(), Missing('3')), r.end());
  // The summary row of a boleto without factor shows the factor's date all the same.
  EXPECT_TRUE(Summary(r)[7].starts_with("07/10/1997 123456-0 "));

  const Lines bad = Several({"1", "123456", With(With(With(kValid, 1, '2'), 4, '1'), 26, '5')}, kFaulty);
  EXPECT_EQ(Slice(bad, 0, 5),
            L({" Dígito do código de cedente inválido. Encontrado 5 Calculado 0"_cp,
               " Dígito do campo livre inválido. Encontrado 0 Esperado 7"_cp, " Banco não é 104 - CAIXA"_cp,
               " Moeda não é REAL na posição 4"_cp, " " + GeneralDv('7', '3')}));
  EXPECT_TRUE(bad[5].starts_with("Lida barra 1 -> 2041"));
}

Lines RunFile(const std::string& bytes, std::vector<std::string> answers, Verdict expected) {
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
  EXPECT_EQ(RunFile(CrLfFile({unregistered}), {"604381"}, kClean)[0],
            "ATENÇÃO: NÃO É PERMITIDO COBRANÇA SEM REGISTRO PARA ESTE CEDENTE."_cp);
  const std::string limit = SigcbBarcode("604380", '2', '4', kSequence);
  EXPECT_TRUE(RunFile(CrLfFile({limit}), {"604380"}, kClean)[0].starts_with("Lendo barra 01"));
  // The several-barcode command has no such rule.
  EXPECT_TRUE(Several({"1", "604381", unregistered}, kClean)[0].starts_with("Lendo barra 01"));
}

TEST(SigcbFile, TenThousandBarcodesAreCheckedWhole) {
  Lines lines;
  for (char d = '1'; d <= '9'; ++d) lines.push_back(WithGeneral(d));
  while (lines.size() < 10000) lines.push_back(kValid);
  lines[9999] = With(kValid, 5, '9');
  const Lines r = RunFile(CrLfFile(lines), {"123456"}, kFaulty);
  EXPECT_EQ(r[99], Reading(100, kValid));
  EXPECT_EQ(r[9998], Reading(9999, kValid));
  EXPECT_EQ(r[9999], " " + GeneralDv('3', '9'));
  EXPECT_EQ(r[10000], Cat("Lida barra 10000 -> ", lines[9999], " Tamanho: 44 Registrada. ERRO: Barra Inválida"_cp));
  const Lines summary = Summary(r);
  ASSERT_EQ(summary.size(), 4u + 10000u + 43u);
  EXPECT_TRUE(summary[4 + 9999].ends_with("    9    16520000012345]"));
}

}  // namespace
}  // namespace verilote
