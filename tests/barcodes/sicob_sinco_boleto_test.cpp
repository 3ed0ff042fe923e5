#include <gtest/gtest.h>

#include <algorithm>
#include <optional>
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

using testing::CrLfFile;
using testing::FakeHost;
using Lines = std::vector<std::string>;
using testing::NossoNumeroDigit;
using testing::Other;
using testing::SicobBarcode11;
using testing::TempFile;
using testing::With;

const std::string kRule52(52, '=');
const std::string kCorrect = "BARRA CORRETA, VERIFIQUE OS DADOS ACIMA";
const std::string kInvalid("BARRA INVÁLIDA. NÃO SERÁ ACEITA. VERIFIQUE OS ERROS."_cp);
const std::string kInvalidCarteira("NN COM CARTEIRA INVÁLIDA !!!"_cp);
const std::string kCed001 = "012300100012345", kCed870 = "012387000012345";

// A SICOB cedente with its account digit, as the commands format it.
std::string Cedente(std::string_view digits15) {
  return Cat(digits15.substr(0, 4), ".", digits15.substr(4, 3), ".", digits15.substr(7), "-",
             testing::SicobCedenteDigit(digits15));
}

std::string Nn10(std::string_view nn) { return Cat(nn, "-", NossoNumeroDigit(nn)); }

std::string Printed(const std::string& b) { return testing::PrintedLine(b, "  "); }

// The command's report; `file`, when given, is the content of the file chosen.
Lines Report(Verdict (*command)(Host&), std::vector<std::string> answers, Verdict expected,
             std::optional<std::string> file = std::nullopt) {
  TempFile temp(file.value_or(""));
  FakeHost host;
  host.answers.assign(answers.begin(), answers.end());
  if (file) host.files = {temp.path()};
  EXPECT_EQ(command(host), expected);
  return host.report;
}

// One case of the SICOB layout table: a barcode of that case and what the
// commands show for it.
struct SicobCase {
  std::string name, barcode, typed;  // typed: the cedente of the several-barcode command
  std::string shortType, longType, fileType, nnLabel, nossoNumero, cedente;
};

std::vector<SicobCase> SicobCases() {
  const std::string rapida("TÍTULO COM REGISTRO - RÁPIDA E NN COM 11 POSIÇÕES"_cp);
  const std::string unregistered11("TÍTULO SEM REGISTRO E NN COM 11 POSIÇÕES"_cp);
  const std::string sixteen("TÍTULO SEM REGISTRO E NN COM 16 POSIÇÕES"_cp);
  return {
      {"SixteenPositions", testing::SicobBarcode16("12345", "0123", "00000000000456"), kCed870, "SR NN 16P", sixteen,
       sixteen, "NN= ", "800000000000456", Cedente(kCed870)},
      {"RapidaSevenAt35", SicobBarcode11("9000000001", kCed870), kCed870, "CR NN 11P", rapida, rapida,
       "NN=", Nn10("9000000001"), Cedente(kCed870)},
      {"Rapida", SicobBarcode11("9000000001", kCed001), kCed001, "CR NN 11P", rapida, rapida,
       "NN= ", Nn10("9000000001"), Cedente(kCed001)},
      {"Simples", SicobBarcode11("3000000001", kCed001), kCed001, "CR NN 11P",
       std::string("TÍTULO COM REGISTRO - SIMPLES E NN COM 11 POSIÇÕES"_cp), kInvalidCarteira,
       "NN= ", Nn10("3000000001"), Cedente(kCed001)},
      {"Unregistered", SicobBarcode11("8000000001", kCed001), kCed001, "SR NN 11P", unregistered11, unregistered11,
       "NN= ", Nn10("8000000001"), Cedente(kCed001)},
      {"InvalidCarteira", SicobBarcode11("1000000001", kCed001), kCed001, kInvalidCarteira, kInvalidCarteira,
       kInvalidCarteira, "NN= ", Nn10("1000000001"), Cedente(kCed001)},
  };
}

void PrintTo(const SicobCase& c, std::ostream* os) { *os << c.name; }

class SicobLayout : public ::testing::TestWithParam<SicobCase> {};

TEST_P(SicobLayout, SeveralBarcodesCommand) {
  const SicobCase& c = GetParam();
  const bool valid = c.shortType != kInvalidCarteira;
  const Lines r =
      Report(CdigodebarrasCobCaixa1Click, {"1", c.typed, c.barcode}, valid ? Verdict::Clean : Verdict::Faulty);
  ASSERT_GE(r.size(), 3u);
  EXPECT_EQ(r[0], valid ? "BARRA 1 CORRETA" : "BARRA  1 INVÁLIDA. NÃO SERÁ ACEITA. VERIFIQUE OS ERROS."_cp);
  EXPECT_EQ(r[1], std::string(62, '='));
  EXPECT_EQ(r[2], Cat(Printed(c.barcode), " ", c.shortType, " DTVenc: 06/12/2026 ", c.cedente, " ", c.nnLabel,
                      c.nossoNumero, " Valor R$ 123,45"));
}

TEST_P(SicobLayout, TypeableLineCommand) {
  const SicobCase& c = GetParam();
  const std::string digits = testing::TypeableDigits(c.barcode);
  const bool valid = c.longType != kInvalidCarteira;
  FakeHost host;
  host.answers = {testing::PrintedLine(c.barcode)};
  EXPECT_EQ(Representaonumricacobcaixacobranacaixa1Click(host), valid ? Verdict::Clean : Verdict::Faulty);
  EXPECT_EQ(host.prompts[0].caption, "Código de Barras"_cp);
  EXPECT_EQ(host.prompts[0].prompt, "Digite a representação numérica"_cp);
  EXPECT_EQ(host.report,
            testing::Lines({c.longType, Cat("Representação Numérica Calculada: "_cp, Printed(c.barcode)),
                            Cat("Representação Numérica Digitada: "_cp, digits), "Data do vencimento: 06/12/2026",
                            Cat("CÓDIGO DO CEDENTE = "_cp, c.cedente), Cat("Nosso Número      = "_cp, c.nossoNumero),
                            "Valor do título:  R$ 123,45"_cp, Cat("Valor de entrada: ", digits, " Tamanho: 47"),
                            kRule52, valid ? kCorrect : kInvalid, kRule52}));
}

TEST_P(SicobLayout, FileCommand) {
  const SicobCase& c = GetParam();
  const std::string& b = c.barcode;
  const bool valid = c.fileType != kInvalidCarteira;
  const Lines r =
      Report(CdigodebarrasSICOBViaarquivo1Click, {}, valid ? Verdict::Clean : Verdict::Faulty, CrLfFile({b}));
  ASSERT_EQ(r.size(), 11u + 30u);
  const std::string nn =
      c.name == "SixteenPositions" ? Cat(c.nossoNumero, "-", NossoNumeroDigit(c.nossoNumero)) : c.nossoNumero;
  EXPECT_EQ(
      Lines(r.begin(), r.begin() + 12),
      testing::Lines({c.fileType, Cat("Representação Numérica: "_cp, Printed(b)), "Data do vencimento: 06/12/2026",
                      Cat("CÓDIGO DO CEDENTE = "_cp, c.cedente), Cat("Nosso Número = "_cp, nn),
                      "Valor do título:  R$ 123,45"_cp, Cat("Seq 1 Tam barra = 44 Conteúdo "_cp, b),
                      Cat("Barra com separação:"_cp, b.substr(0, 5), ".", b.substr(5, 5), ".", b.substr(10, 5), ".",
                          b.substr(15, 5), ".", b.substr(20, 5), ".", b.substr(25, 5), ".", b.substr(30, 5), ".",
                          b.substr(35, 5), ".", b.substr(40, 4)),
                      kRule52, valid ? kCorrect : kInvalid, kRule52, "Verifique os seguintes itens nos boletos:"}));
}

INSTANTIATE_TEST_SUITE_P(Cases, SicobLayout, ::testing::ValuesIn(SicobCases()),
                         [](const ::testing::TestParamInfo<SicobCase>& info) { return info.param.name; });

TEST(SicobSeveral, SixteenPositionCaseWhateverPosition20Holds) {
  for (const std::string code : {"92345", "32345", "82345", "12345"}) {
    const std::string b = testing::SicobBarcode16(code, "0123", "00000000000456");
    const Lines r = Report(CdigodebarrasCobCaixa1Click, {"1", Cat("0123870000", code), b}, Verdict::Clean);
    EXPECT_EQ(r[0], "BARRA 1 CORRETA") << code;
    EXPECT_NE(r[2].find(" SR NN 16P DTVenc: "), std::string::npos) << code;
  }
}

TEST(SicobSeveral, FindingsPerBarcodeAndPrompts) {
  const std::string b = SicobBarcode11("9000000001", kCed001);
  const char wrong = Other(b[4]);
  FakeHost host;
  host.answers = {"3", kCed001, With(b, 5, wrong), With(b, 1, '2'), With(b, 4, '0')};
  EXPECT_EQ(CdigodebarrasCobCaixa1Click(host), Verdict::Faulty);
  EXPECT_EQ(host.prompts[0].defaultText, "1");
  EXPECT_EQ(host.prompts[1].caption, "Digite o código do cedente"_cp);
  EXPECT_EQ(host.prompts[1].prompt, "Digite sem o DV e sem separador");
  EXPECT_EQ(host.prompts[1].defaultText, "AAAA870CCCCCCCC");
  const Lines& r = host.report;
  EXPECT_EQ(r[0], Cat("Dígito inválido esperado "_cp, b[4], " encontrado ", wrong));
  EXPECT_EQ(r[1], "BARRA  1 INVÁLIDA. NÃO SERÁ ACEITA. VERIFIQUE OS ERROS."_cp);
  EXPECT_EQ(r[2], "Banco não é 104 - CAIXA"_cp);
  EXPECT_TRUE(r[3].starts_with("Dígito inválido esperado "_cp)) << r[3];
  EXPECT_EQ(r[5], "Moeda não é REAL na posição 4"_cp);

  // The cedente left at its placeholder matches no barcode.
  const Lines placeholder = Report(CdigodebarrasCobCaixa1Click, {"1", "AAAA870CCCCCCCC", b}, Verdict::Faulty);
  EXPECT_TRUE(placeholder[0].starts_with("Código do cedente inválido: Informado:AAAA.870.CCCCCCCC-"_cp));
  EXPECT_TRUE(placeholder[0].ends_with(Cat(" Lido:", Cedente(kCed001))));
}

TEST(SicobSeveral, ChecklistOfTheSicobBatch) {
  const std::string undated = SicobBarcode11("9000000001", kCed001, {"104", "9", "0000"});
  const Lines r = Report(CdigodebarrasCobCaixa1Click, {"1", kCed001, undated}, Verdict::Clean);
  ASSERT_EQ(r.size(), 3u + 46u);
  EXPECT_EQ(r[2], Cat(Printed(undated),
                      " CR NN 11P Barra sem FATOR DE VENCIMENTO. Informe que o banco recebedor está isento de "_cp
                      "resposabilidade sobre o valor recebido. "_cp,
                      Cedente(kCed001), " NN= ", Nn10("9000000001"), " Valor R$ 123,45"));
  const Lines checklist(r.begin() + 3, r.end());
  EXPECT_EQ(checklist[0], std::string(72, '-'));
  EXPECT_EQ(checklist[5], "Acesse o SICOB e confira com o boleto os seguntes dados");
  // The rows the SICOB list adds after rows 28, 33 and 36, and row 34.
  const auto after = [&](std::string_view row) { return *(std::find(checklist.begin(), checklist.end(), row) + 1); };
  EXPECT_EQ(after("(   ) Local de pagamento;"), "(   ) Vencimento;");
  const auto processing = std::find(checklist.begin(), checklist.end(), "(   ) Data processamento");
  ASSERT_LT(processing + 2, checklist.end());
  EXPECT_EQ(processing[1], "(   ) Nosso número"_cp);
  EXPECT_EQ(processing[2],
            "(   ) Carteira RG. Informe sobre os juros e multas que devem ser informados em campos específicos na "_cp
            "remessa."_cp);
  EXPECT_EQ(after("(   ) Moeda R$"), "(   ) (=)Valor do documento;");
  // The last barcode not "CR NN 11P": row 35 instead.
  const Lines sr =
      Report(CdigodebarrasCobCaixa1Click, {"1", kCed001, SicobBarcode11("8000000001", kCed001)}, Verdict::Clean);
  EXPECT_EQ(std::count(sr.begin(), sr.end(), "(   ) Carteira SR"), 1);
}

TEST(SicobTypeableLine, TypedGeneralDigitIsNotUsed) {
  const std::string b = SicobBarcode11("9000000001", kCed001);
  const std::string line = With(testing::TypeableDigits(b), 33, Other(b[4]));
  const Lines r = Report(Representaonumricacobcaixacobranacaixa1Click, {line}, Verdict::Clean);
  EXPECT_EQ(r[1], Cat("Representação Numérica Calculada: "_cp, Printed(b)));
  EXPECT_EQ(r[2], Cat("Representação Numérica Digitada: "_cp, line));
}

TEST(SicobFile, ClosingLinesRunningNumbersAndANonNumericFreeField) {
  FakeHost cancelled;
  EXPECT_EQ(CdigodebarrasSICOBViaarquivo1Click(cancelled), Verdict::Clean);
  EXPECT_EQ(cancelled.dialogs[0].title, "Selecione o arquivo com as barras lidas");
  EXPECT_EQ(cancelled.dialogs[0].filter, FileFilter::Retorno);
  EXPECT_TRUE(cancelled.report.empty());

  const Lines closing = Report(CdigodebarrasSICOBViaarquivo1Click, {}, Verdict::Clean, "");
  ASSERT_EQ(closing.size(), 30u);
  EXPECT_EQ(closing[2], "1) Verifique comparando FICHA e RECIBO se são os mesmos: "_cp);
  EXPECT_EQ(closing[26], "7) Para código 870 codced=20,5 codpv=25,4 fixo(87)=29,2 NN=31,14"_cp);
  EXPECT_EQ(closing[29], "  ");

  const std::string b = SicobBarcode11("9000000001", kCed001);
  TempFile file(CrLfFile({b, b, "1049X"}));
  FakeHost host;
  host.files = {file.path()};
  EXPECT_THROW(CdigodebarrasSICOBViaarquivo1Click(host), ConversionError);
  ASSERT_EQ(host.report.size(), 22u);
  EXPECT_EQ(host.report[17], Cat("Seq 2 Tam barra = 44 Conteúdo "_cp, b));
}

// ---- SINCO.

const std::string kSinco = testing::SincoBarcode("654321", "000000000000000789");

TEST(SincoOne, ValidBarcodeAndOtherMarker) {
  FakeHost host;
  host.answers = {kSinco};
  EXPECT_EQ(CdigodebarrasSINCO1Click(host), Verdict::Clean);
  EXPECT_EQ(host.prompts[0].caption, "Código de Barras"_cp);
  EXPECT_EQ(host.prompts[0].prompt, "Passe o leitor no Código de Barras"_cp);
  EXPECT_EQ(host.report,
            testing::Lines({"COBRANÇA SINCO"_cp, Cat("Representação Numérica: "_cp, Printed(kSinco)),
                            "Data do vencimento: 06/12/2026", "CÓDIGO DO CEDENTE = 654321"_cp,
                            "Nosso Número      = 000000000000000789"_cp, "Valor do título:  R$ 123,45"_cp,
                            Cat("Valor de entrada: ", kSinco, " Tamanho: 44"), kRule52, kCorrect, kRule52}));
  // Another marker at 20 keeps the placeholders.
  const Lines r =
      Report(CdigodebarrasSINCO1Click, {testing::Assemble({}, "2654321000000000000000789")}, Verdict::Clean);
  EXPECT_EQ(r[0], "Tipo inválido"_cp);
  EXPECT_EQ(r[3], "Código do cedente inválido"_cp);
  EXPECT_EQ(r[4], "Nosso Número inválido"_cp);
  EXPECT_EQ(r[8], kCorrect);
}

TEST(SincoOne, Corruptions) {
  const char general = kSinco[4];
  const std::string freeFieldChanged = With(kSinco, 44, '0');
  const struct {
    std::string barcode, finding;
  } cases[] = {
      {With(kSinco, 1, '2'), std::string("Banco não é 104 - CAIXA"_cp)},
      {With(kSinco, 4, '0'), std::string("Moeda não é REAL na posição 4"_cp)},
      {With(kSinco, 5, Other(general)), Cat("Dígito inválido esperado "_cp, general, " encontrado ", Other(general))},
      // A free-field digit changes only the general digit.
      {freeFieldChanged, Cat("Dígito inválido esperado "_cp,
                             testing::FebrabanGeneralDigit(freeFieldChanged.substr(0, 4) + freeFieldChanged.substr(5)),
                             " encontrado ", general)},
  };
  for (const auto& c : cases) {
    const Lines r = Report(CdigodebarrasSINCO1Click, {c.barcode}, Verdict::Faulty);
    EXPECT_EQ(r[6], c.finding);
    EXPECT_EQ(Lines(r.end() - 3, r.end()), testing::Lines({kRule52, kInvalid, kRule52}));
  }
}

TEST(SincoTypeableLine, LineIsCutAsTyped) {
  const std::string line = With(testing::TypeableDigits(kSinco), 33, Other(kSinco[4]));
  Lines r = Report(RepresentaoNumricadocdigodebarrasSINCO1Click, {line}, Verdict::Clean);
  EXPECT_EQ(r[1], Cat("Representação Numérica: "_cp, Printed(kSinco))) << "the typed general digit is not used";
  EXPECT_EQ(r[6], Cat("Valor de entrada: ", line, " Tamanho: 47"));
  // Points and blanks are not dropped: the pieces shift.
  const std::string typed = testing::PrintedLine(kSinco);
  FakeHost dotted;
  dotted.answers = {typed};
  RepresentaoNumricadocdigodebarrasSINCO1Click(dotted);
  EXPECT_NE(dotted.report[1], Cat("Representação Numérica: "_cp, Printed(kSinco)));
  EXPECT_EQ(dotted.report[6], Cat("Valor de entrada: ", typed, " Tamanho: 54"));
}

TEST(SincoFile, LinesPerBarcode) {
  const std::string undated = testing::SincoBarcode("654321", "000000000000000789", {"104", "9", "0000"});
  const std::string other = testing::Assemble({}, "2654321000000000000000789");
  const std::string badBank = With(kSinco, 3, '5');
  TempFile file(CrLfFile({kSinco, undated, other, badBank}));
  FakeHost host;
  host.files = {file.path()};
  EXPECT_EQ(CdigodebarrasSINCOViaarquivo1Click(host), Verdict::Faulty);
  EXPECT_EQ(host.dialogs[0].title, "Selecione o arquivo com as barras");
  EXPECT_EQ(host.dialogs[0].filter, FileFilter::Retorno);
  const Lines& r = host.report;
  ASSERT_EQ(r.size(), 34u);
  EXPECT_EQ(
      Lines(r.begin(), r.begin() + 5),
      testing::Lines({"COBRANÇA SINCO"_cp, Cat("Representação Numérica: "_cp, Printed(kSinco)),
                      "Data do vencimento: 06/12/2026 CODCED = 654321 NN = 000000000000000789 Valor: 123,45",
                      Cat("Seq 1 Tam barra = 44 Conteúdo "_cp, kSinco),
                      Cat("Barra lida formatada 104.9.", kSinco[4], ".1652.0000012345.1.654321.000000000000000789")}));
  EXPECT_EQ(r[10], "Barra sem FATOR DE VENCIMENTO. CODCED = 654321 NN = 000000000000000789 Valor: 123,45");
  EXPECT_EQ(r[16], "Tipo inválido na posição 20,1 conteúdo = 2 Deveria ser 1"_cp);
  EXPECT_EQ(r[22], kCorrect);
  EXPECT_EQ(r[27], "Banco não é 104 - CAIXA o conteúdo é 105"_cp);
  EXPECT_TRUE(r[28].starts_with("Dígito inválido esperado "_cp));
  EXPECT_EQ(r[29], Cat("Seq 4 Tam barra = 44 Conteúdo "_cp, badBank));
  EXPECT_EQ(Report(CdigodebarrasSINCOViaarquivo1Click, {}, Verdict::Faulty, CrLfFile({With(kSinco, 4, '7')}))[3],
            "Moeda não é REAL na posição 4 deveria ser 9 e tem 7"_cp);
  EXPECT_TRUE(Report(CdigodebarrasSINCOViaarquivo1Click, {}, Verdict::Clean, "").empty()) << "an empty file";
}

}  // namespace
}  // namespace verilote
