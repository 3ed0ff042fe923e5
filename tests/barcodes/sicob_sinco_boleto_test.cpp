#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "app/cp1252.hpp"
#include "app/errors.hpp"
#include "app/report.hpp"
#include "barcodes/boleto_builder.hpp"
#include "barcodes/boleto_commands.hpp"
#include "support/fake_host.hpp"

namespace verilote {
namespace {

using testing::BarcodeHead;
using testing::CrLfFile;
using testing::FakeHost;
using testing::Lines;
using testing::NossoNumeroDigit;
using testing::SicobBarcode11;
using testing::SicobBarcode16;
using testing::SicobCedenteDigit;
using testing::SincoBarcode;
using testing::TempFile;
using testing::WithDigit;

const std::string kRule52(52, '=');

// A SICOB cedente 0123 870 00012345 with its account digit, as the commands
// format it.
std::string Cedente(std::string_view agency, std::string_view operation, std::string_view code) {
  const std::string digits = Cat(agency, operation, code);
  return Cat(agency, ".", operation, ".", code, "-", SicobCedenteDigit(digits));
}

std::string Nn10(std::string_view nn) { return Cat(nn, "-", NossoNumeroDigit(nn)); }

std::string Printed(const std::string& b) {
  const std::string d = testing::TypeableDigits(b);
  return d.substr(0, 5) + "." + d.substr(5, 5) + "  " + d.substr(10, 5) + "." + d.substr(15, 6) + "  " +
         d.substr(21, 5) + "." + d.substr(26, 6) + "  " + d.substr(32, 1) + "  " + d.substr(33);
}

// One case of the SICOB layout table: a barcode of that case and what the
// commands show for it.
struct SicobCase {
  std::string name;
  std::string barcode;
  std::string typed;  // the cedente typed in the several-barcode command
  std::string_view shortType, longType, fileType;
  std::string nnLabel, nossoNumero, cedente;
};

std::vector<SicobCase> SicobCases() {
  const std::string ced870 = "012387000012345", ced001 = "012300100012345";
  return {
      {"SixteenPositions", SicobBarcode16("12345", "0123", "00000000000456"), "012387000012345", "SR NN 16P",
       "TÍTULO SEM REGISTRO E NN COM 16 POSIÇÕES"_cp, "TÍTULO SEM REGISTRO E NN COM 16 POSIÇÕES"_cp,
       "NN= ", "800000000000456", "0123.870.00012345-" + std::string(1, SicobCedenteDigit("012387000012345"))},
      {"RapidaSevenAt35", SicobBarcode11("9000000001", ced870), ced870, "CR NN 11P",
       "TÍTULO COM REGISTRO - RÁPIDA E NN COM 11 POSIÇÕES"_cp, "TÍTULO COM REGISTRO - RÁPIDA E NN COM 11 POSIÇÕES"_cp,
       "NN=", Nn10("9000000001"), Cedente("0123", "870", "00012345")},
      {"Rapida", SicobBarcode11("9000000001", ced001), ced001, "CR NN 11P",
       "TÍTULO COM REGISTRO - RÁPIDA E NN COM 11 POSIÇÕES"_cp, "TÍTULO COM REGISTRO - RÁPIDA E NN COM 11 POSIÇÕES"_cp,
       "NN= ", Nn10("9000000001"), Cedente("0123", "001", "00012345")},
      {"Simples", SicobBarcode11("3000000001", ced001), ced001, "CR NN 11P",
       "TÍTULO COM REGISTRO - SIMPLES E NN COM 11 POSIÇÕES"_cp, "NN COM CARTEIRA INVÁLIDA !!!"_cp,
       "NN= ", Nn10("3000000001"), Cedente("0123", "001", "00012345")},
      {"Unregistered", SicobBarcode11("8000000001", ced001), ced001, "SR NN 11P",
       "TÍTULO SEM REGISTRO E NN COM 11 POSIÇÕES"_cp, "TÍTULO SEM REGISTRO E NN COM 11 POSIÇÕES"_cp,
       "NN= ", Nn10("8000000001"), Cedente("0123", "001", "00012345")},
      {"InvalidCarteira", SicobBarcode11("1000000001", ced001), ced001, "NN COM CARTEIRA INVÁLIDA !!!"_cp,
       "NN COM CARTEIRA INVÁLIDA !!!"_cp, "NN COM CARTEIRA INVÁLIDA !!!"_cp, "NN= ", Nn10("1000000001"),
       Cedente("0123", "001", "00012345")},
  };
}

void PrintTo(const SicobCase& c, std::ostream* os) { *os << c.name; }

class SicobLayout : public ::testing::TestWithParam<SicobCase> {};

TEST_P(SicobLayout, SeveralBarcodesCommand) {
  const SicobCase& c = GetParam();
  FakeHost host;
  host.answers = {"1", c.typed, c.barcode};
  const bool valid = c.shortType != "NN COM CARTEIRA INVÁLIDA !!!"_cp;
  EXPECT_EQ(CdigodebarrasCobCaixa1Click(host), valid ? Verdict::Clean : Verdict::Faulty);
  ASSERT_GE(host.report.size(), 3u);
  EXPECT_EQ(host.report[0], valid ? "BARRA 1 CORRETA" : "BARRA  1 INVÁLIDA. NÃO SERÁ ACEITA. VERIFIQUE OS ERROS."_cp);
  EXPECT_EQ(host.report[1], std::string(62, '='));
  EXPECT_EQ(host.report[2], Cat(Printed(c.barcode), " ", c.shortType, " DTVenc: 06/12/2026 ", c.cedente, " ", c.nnLabel,
                                c.nossoNumero, " Valor R$ 123,45"));
}

TEST_P(SicobLayout, TypeableLineCommand) {
  const SicobCase& c = GetParam();
  FakeHost host;
  const std::string digits = testing::TypeableDigits(c.barcode);
  host.answers = {testing::TypeableWithPoints(c.barcode)};
  const bool valid = c.longType != "NN COM CARTEIRA INVÁLIDA !!!"_cp;
  EXPECT_EQ(Representaonumricacobcaixacobranacaixa1Click(host), valid ? Verdict::Clean : Verdict::Faulty);
  EXPECT_EQ(host.prompts[0].caption, "Código de Barras"_cp);
  EXPECT_EQ(host.prompts[0].prompt, "Digite a representação numérica"_cp);
  EXPECT_EQ(host.report, Lines({
                             c.longType,
                             Cat("Representação Numérica Calculada: "_cp, Printed(c.barcode)),
                             Cat("Representação Numérica Digitada: "_cp, digits),
                             "Data do vencimento: 06/12/2026",
                             Cat("CÓDIGO DO CEDENTE = "_cp, c.cedente),
                             Cat("Nosso Número      = "_cp, c.nossoNumero),
                             "Valor do título:  R$ 123,45"_cp,
                             Cat("Valor de entrada: ", digits, " Tamanho: 47"),
                             kRule52,
                             valid ? "BARRA CORRETA, VERIFIQUE OS DADOS ACIMA"
                                   : "BARRA INVÁLIDA. NÃO SERÁ ACEITA. VERIFIQUE OS ERROS."_cp,
                             kRule52,
                         }));
}

TEST_P(SicobLayout, FileCommand) {
  const SicobCase& c = GetParam();
  TempFile file(CrLfFile({c.barcode}));
  FakeHost host;
  host.files = {file.path()};
  const bool valid = c.fileType != "NN COM CARTEIRA INVÁLIDA !!!"_cp;
  EXPECT_EQ(CdigodebarrasSICOBViaarquivo1Click(host), valid ? Verdict::Clean : Verdict::Faulty);
  ASSERT_EQ(host.report.size(), 11u + 30u);
  const std::string nn =
      c.name == "SixteenPositions" ? Cat(c.nossoNumero, "-", NossoNumeroDigit(c.nossoNumero)) : c.nossoNumero;
  const std::string& b = c.barcode;
  EXPECT_EQ(
      std::vector<std::string>(host.report.begin(), host.report.begin() + 12),
      Lines({
          c.fileType,
          Cat("Representação Numérica: "_cp, Printed(b)),
          "Data do vencimento: 06/12/2026",
          Cat("CÓDIGO DO CEDENTE = "_cp, c.cedente),
          Cat("Nosso Número = "_cp, nn),
          "Valor do título:  R$ 123,45"_cp,
          Cat("Seq 1 Tam barra = 44 Conteúdo "_cp, b),
          Cat("Barra com separação:"_cp, b.substr(0, 5), ".", b.substr(5, 5), ".", b.substr(10, 5), ".",
              b.substr(15, 5), ".", b.substr(20, 5), ".", b.substr(25, 5), ".", b.substr(30, 5), ".", b.substr(35, 5),
              ".", b.substr(40, 4)),
          kRule52,
          valid ? "BARRA CORRETA, VERIFIQUE OS DADOS ACIMA" : "BARRA INVÁLIDA. NÃO SERÁ ACEITA. VERIFIQUE OS ERROS."_cp,
          kRule52,
          "Verifique os seguintes itens nos boletos:",
      }));
}

INSTANTIATE_TEST_SUITE_P(Cases, SicobLayout, ::testing::ValuesIn(SicobCases()),
                         [](const ::testing::TestParamInfo<SicobCase>& info) { return info.param.name; });

TEST(SicobSeveral, SixteenPositionCaseWhateverPosition20Holds) {
  for (const std::string code : {"92345", "32345", "82345", "12345"}) {
    const std::string b = SicobBarcode16(code, "0123", "00000000000456");
    const auto r = [&] {
      FakeHost host;
      host.answers = {"1", "012387000012345", b};
      host.answers[1] = Cat("0123870000", code);
      CdigodebarrasCobCaixa1Click(host);
      return host.report;
    }();
    EXPECT_EQ(r[0], "BARRA 1 CORRETA") << code;
    EXPECT_NE(r[2].find(" SR NN 16P DTVenc: "), std::string::npos) << code;
  }
}

TEST(SicobSeveral, FindingsPerBarcode) {
  const std::string ced = "012300100012345";
  const std::string b = SicobBarcode11("9000000001", ced);
  const char general = b[4];
  const char wrong = general == '9' ? '2' : static_cast<char>(general + 1);
  FakeHost host;
  host.answers = {"3", ced, WithDigit(b, 5, wrong), WithDigit(b, 1, '2'), WithDigit(b, 4, '0')};
  EXPECT_EQ(CdigodebarrasCobCaixa1Click(host), Verdict::Faulty);
  EXPECT_EQ(host.prompts[0].defaultText, "1");
  EXPECT_EQ(host.prompts[1].caption, "Digite o código do cedente"_cp);
  EXPECT_EQ(host.prompts[1].prompt, "Digite sem o DV e sem separador");
  EXPECT_EQ(host.prompts[1].defaultText, "AAAA870CCCCCCCC");
  const std::vector<std::string>& r = host.report;
  EXPECT_EQ(r[0], Cat("Dígito inválido esperado "_cp, general, " encontrado ", wrong));
  EXPECT_EQ(r[1], "BARRA  1 INVÁLIDA. NÃO SERÁ ACEITA. VERIFIQUE OS ERROS."_cp);
  EXPECT_EQ(r[2], "Banco não é 104 - CAIXA"_cp);
  EXPECT_TRUE(r[3].starts_with("Dígito inválido esperado "_cp)) << r[3];
  EXPECT_EQ(r[4], "BARRA  2 INVÁLIDA. NÃO SERÁ ACEITA. VERIFIQUE OS ERROS."_cp);
  EXPECT_EQ(r[5], "Moeda não é REAL na posição 4"_cp);
}

TEST(SicobSeveral, CedentePlaceholderLeftAsItIs) {
  const std::string b = SicobBarcode11("9000000001", "012300100012345");
  FakeHost host;
  host.answers = {"2", "AAAA870CCCCCCCC", b, b};
  EXPECT_EQ(CdigodebarrasCobCaixa1Click(host), Verdict::Faulty);
  const std::string informed("Código do cedente inválido: Informado:AAAA.870.CCCCCCCC-"_cp);
  const std::string read = Cat(" Lido:", Cedente("0123", "001", "00012345"));
  ASSERT_GE(host.report.size(), 4u);
  for (const int i : {0, 2}) {
    EXPECT_TRUE(host.report[i].starts_with(informed)) << host.report[i];
    EXPECT_TRUE(host.report[i].ends_with(read)) << host.report[i];
  }
  EXPECT_EQ(host.report[3], "BARRA  2 INVÁLIDA. NÃO SERÁ ACEITA. VERIFIQUE OS ERROS."_cp);
}

TEST(SicobSeveral, ChecklistOfTheSicobBatch) {
  const std::string ced = "012300100012345";
  BarcodeHead noFactor;
  noFactor.factor = "0000";
  const std::string undated = SicobBarcode11("9000000001", ced, noFactor);
  FakeHost host;
  host.answers = {"1", ced, undated};
  EXPECT_EQ(CdigodebarrasCobCaixa1Click(host), Verdict::Clean);
  const std::vector<std::string>& r = host.report;
  ASSERT_EQ(r.size(), 3u + 46u);
  EXPECT_EQ(r[2], Cat(Printed(undated),
                      " CR NN 11P Barra sem FATOR DE VENCIMENTO. Informe que o banco recebedor está isento de "_cp
                      "resposabilidade sobre o valor recebido. "_cp,
                      Cedente("0123", "001", "00012345"), " NN= ", Nn10("9000000001"), " Valor R$ 123,45"));
  const std::vector<std::string> checklist(r.begin() + 3, r.end());
  EXPECT_EQ(checklist[0], "------------------------------------------------------------------------");
  EXPECT_EQ(checklist[5], "Acesse o SICOB e confira com o boleto os seguntes dados");
  const auto after = [&](std::string_view row) {
    const auto it = std::find(checklist.begin(), checklist.end(), row);
    return it == checklist.end() || it + 1 == checklist.end() ? std::string() : *(it + 1);
  };
  EXPECT_EQ(after("(   ) Local de pagamento;"), "(   ) Vencimento;");
  EXPECT_EQ(after("(   ) Data processamento"), "(   ) Nosso número"_cp);
  const auto rg = std::find(checklist.begin(), checklist.end(), "(   ) Data processamento") + 2;
  ASSERT_LT(rg, checklist.end());
  EXPECT_EQ(*rg,
            "(   ) Carteira RG. Informe sobre os juros e multas que devem ser informados em campos específicos na "_cp
            "remessa."_cp);
  EXPECT_EQ(std::count(checklist.begin(), checklist.end(), "(   ) Nosso número"_cp), 2);
  EXPECT_EQ(after("(   ) Moeda R$"), "(   ) (=)Valor do documento;");
  EXPECT_EQ(std::count(checklist.begin(), checklist.end(), "(   ) Carteira SR"), 0);

  // The last barcode not "CR NN 11P": row 35 instead.
  FakeHost sr;
  sr.answers = {"1", ced, SicobBarcode11("8000000001", ced)};
  CdigodebarrasCobCaixa1Click(sr);
  EXPECT_EQ(std::count(sr.report.begin(), sr.report.end(), "(   ) Carteira SR"), 1);
}

TEST(SicobTypeableLine, TypedGeneralDigitIsNotUsed) {
  const std::string b = SicobBarcode11("9000000001", "012300100012345");
  std::string line = testing::TypeableDigits(b);
  line[32] = b[4] == '9' ? '1' : static_cast<char>(b[4] + 1);
  FakeHost host;
  host.answers = {line};
  EXPECT_EQ(Representaonumricacobcaixacobranacaixa1Click(host), Verdict::Clean);
  EXPECT_EQ(host.report[1], Cat("Representação Numérica Calculada: "_cp, Printed(b)));
  EXPECT_EQ(host.report[2], Cat("Representação Numérica Digitada: "_cp, line));
}

TEST(SicobFile, EmptyFileWritesOnlyTheClosingLinesAndCancelNothing) {
  TempFile file("");
  FakeHost host;
  host.files = {file.path()};
  EXPECT_EQ(CdigodebarrasSICOBViaarquivo1Click(host), Verdict::Clean);
  EXPECT_EQ(host.dialogs[0].title, "Selecione o arquivo com as barras lidas");
  EXPECT_EQ(host.dialogs[0].filter, FileFilter::Retorno);
  ASSERT_EQ(host.report.size(), 30u);
  EXPECT_EQ(host.report[2], "1) Verifique comparando FICHA e RECIBO se são os mesmos: "_cp);
  EXPECT_EQ(host.report[26], "7) Para código 870 codced=20,5 codpv=25,4 fixo(87)=29,2 NN=31,14"_cp);
  EXPECT_EQ(host.report[29], "  ");

  FakeHost cancelled;
  EXPECT_EQ(CdigodebarrasSICOBViaarquivo1Click(cancelled), Verdict::Clean);
  EXPECT_TRUE(cancelled.report.empty());
}

TEST(SicobFile, RunningNumbersAndANonNumericFreeField) {
  const std::string b = SicobBarcode11("9000000001", "012300100012345");
  TempFile file(CrLfFile({b, b, "1049X"}));
  FakeHost host;
  host.files = {file.path()};
  EXPECT_THROW(CdigodebarrasSICOBViaarquivo1Click(host), ConversionError);
  ASSERT_EQ(host.report.size(), 22u);
  EXPECT_EQ(host.report[17], Cat("Seq 2 Tam barra = 44 Conteúdo "_cp, b));
}

// ---- SINCO.

const std::string kSinco = SincoBarcode("654321", "000000000000000789");

TEST(SincoOne, ValidBarcode) {
  FakeHost host;
  host.answers = {kSinco};
  EXPECT_EQ(CdigodebarrasSINCO1Click(host), Verdict::Clean);
  EXPECT_EQ(host.prompts[0].caption, "Código de Barras"_cp);
  EXPECT_EQ(host.prompts[0].prompt, "Passe o leitor no Código de Barras"_cp);
  EXPECT_EQ(host.report, Lines({
                             "COBRANÇA SINCO"_cp,
                             Cat("Representação Numérica: "_cp, Printed(kSinco)),
                             "Data do vencimento: 06/12/2026",
                             "CÓDIGO DO CEDENTE = 654321"_cp,
                             "Nosso Número      = 000000000000000789"_cp,
                             "Valor do título:  R$ 123,45"_cp,
                             Cat("Valor de entrada: ", kSinco, " Tamanho: 44"),
                             kRule52,
                             "BARRA CORRETA, VERIFIQUE OS DADOS ACIMA",
                             kRule52,
                         }));
}

TEST(SincoOne, Corruptions) {
  struct Case {
    std::size_t position;
    char digit;
    std::string finding;
  };
  const char general = kSinco[4];
  const char wrong = general == '9' ? '1' : static_cast<char>(general + 1);
  for (const Case& c : {Case{1, '2', std::string("Banco não é 104 - CAIXA"_cp)},
                        Case{4, '0', std::string("Moeda não é REAL na posição 4"_cp)},
                        Case{5, wrong, Cat("Dígito inválido esperado "_cp, general, " encontrado ", wrong)}}) {
    FakeHost host;
    host.answers = {WithDigit(kSinco, c.position, c.digit)};
    EXPECT_EQ(CdigodebarrasSINCO1Click(host), Verdict::Faulty);
    EXPECT_EQ(host.report[6], c.finding);
    EXPECT_EQ(host.report.back(), kRule52);
    EXPECT_EQ(host.report[host.report.size() - 2], "BARRA INVÁLIDA. NÃO SERÁ ACEITA. VERIFIQUE OS ERROS."_cp);
  }
  // A free-field digit changes only the general digit.
  FakeHost host;
  const std::string b = WithDigit(kSinco, 44, '0');
  host.answers = {b};
  EXPECT_EQ(CdigodebarrasSINCO1Click(host), Verdict::Faulty);
  EXPECT_EQ(host.report[6], Cat("Dígito inválido esperado "_cp,
                                testing::FebrabanGeneralDigit(b.substr(0, 4) + b.substr(5)), " encontrado ", general));
}

TEST(SincoOne, OtherMarkerKeepsThePlaceholders) {
  std::string free = "2654321000000000000000789";
  const std::string b = testing::Assemble({}, free);
  FakeHost host;
  host.answers = {b};
  EXPECT_EQ(CdigodebarrasSINCO1Click(host), Verdict::Clean);
  EXPECT_EQ(host.report[0], "Tipo inválido"_cp);
  EXPECT_EQ(host.report[3], "Código do cedente inválido"_cp);
  EXPECT_EQ(host.report[4], "Nosso Número inválido"_cp);
  EXPECT_EQ(host.report[8], "BARRA CORRETA, VERIFIQUE OS DADOS ACIMA");
}

TEST(SincoTypeableLine, LineIsCutAsTyped) {
  std::string line = testing::TypeableDigits(kSinco);
  line[32] = kSinco[4] == '9' ? '1' : static_cast<char>(kSinco[4] + 1);
  FakeHost host;
  host.answers = {line};
  EXPECT_EQ(RepresentaoNumricadocdigodebarrasSINCO1Click(host), Verdict::Clean)
      << "the typed general digit is not used";
  EXPECT_EQ(host.report[1], Cat("Representação Numérica: "_cp, Printed(kSinco)));
  EXPECT_EQ(host.report[6], Cat("Valor de entrada: ", line, " Tamanho: 47"));

  // Points and blanks are not dropped: the pieces shift.
  FakeHost dotted;
  const std::string typed = testing::TypeableWithPoints(kSinco);
  dotted.answers = {typed};
  RepresentaoNumricadocdigodebarrasSINCO1Click(dotted);
  EXPECT_NE(dotted.report[1], Cat("Representação Numérica: "_cp, Printed(kSinco)));
  EXPECT_EQ(dotted.report[6], Cat("Valor de entrada: ", typed, " Tamanho: 54"));
}

TEST(SincoFile, LinesPerBarcode) {
  BarcodeHead noFactor;
  noFactor.factor = "0000";
  const std::string undated = SincoBarcode("654321", "000000000000000789", noFactor);
  const std::string other = testing::Assemble({}, "2654321000000000000000789");
  const std::string badBank = WithDigit(kSinco, 3, '5');
  TempFile file(CrLfFile({kSinco, undated, other, badBank}));
  FakeHost host;
  host.files = {file.path()};
  EXPECT_EQ(CdigodebarrasSINCOViaarquivo1Click(host), Verdict::Faulty);
  EXPECT_EQ(host.dialogs[0].title, "Selecione o arquivo com as barras");
  EXPECT_EQ(host.dialogs[0].filter, FileFilter::Retorno);
  const std::vector<std::string>& r = host.report;
  EXPECT_EQ(std::vector<std::string>(r.begin(), r.begin() + 8),
            Lines({
                "COBRANÇA SINCO"_cp,
                Cat("Representação Numérica: "_cp, Printed(kSinco)),
                "Data do vencimento: 06/12/2026 CODCED = 654321 NN = 000000000000000789 Valor: 123,45",
                Cat("Seq 1 Tam barra = 44 Conteúdo "_cp, kSinco),
                Cat("Barra lida formatada 104.9.", kSinco.substr(4, 1), ".1652.0000012345.1.654321.000000000000000789"),
                kRule52,
                "BARRA CORRETA, VERIFIQUE OS DADOS ACIMA",
                kRule52,
            }));
  EXPECT_EQ(r[10], "Barra sem FATOR DE VENCIMENTO. CODCED = 654321 NN = 000000000000000789 Valor: 123,45");
  EXPECT_EQ(r[16], "Tipo inválido na posição 20,1 conteúdo = 2 Deveria ser 1"_cp);
  EXPECT_EQ(r[18], "Data do vencimento: 06/12/2026 CODCED = 654321 NN = 000000000000000789 Valor: 123,45");
  EXPECT_EQ(r[22], "BARRA CORRETA, VERIFIQUE OS DADOS ACIMA");
  EXPECT_EQ(r[27], "Banco não é 104 - CAIXA o conteúdo é 105"_cp);
  EXPECT_TRUE(r[28].starts_with("Dígito inválido esperado "_cp));
  EXPECT_EQ(r[29], Cat("Seq 4 Tam barra = 44 Conteúdo "_cp, badBank));
  EXPECT_EQ(r.size(), 34u);

  FakeHost currency;
  TempFile one(CrLfFile({WithDigit(kSinco, 4, '7')}));
  currency.files = {one.path()};
  CdigodebarrasSINCOViaarquivo1Click(currency);
  EXPECT_EQ(currency.report[3], "Moeda não é REAL na posição 4 deveria ser 9 e tem 7"_cp);
}

TEST(SincoFile, EmptyFileWritesNothing) {
  TempFile file("");
  FakeHost host;
  host.files = {file.path()};
  EXPECT_EQ(CdigodebarrasSINCOViaarquivo1Click(host), Verdict::Clean);
  EXPECT_TRUE(host.report.empty());
}

}  // namespace
}  // namespace verilote
