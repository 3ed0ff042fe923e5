#include <algorithm>
#include <optional>

#include "barcodes/boleto_builder.hpp"
#include "barcodes/boleto_commands.hpp"

namespace verilote {
namespace {

using testing::NossoNumeroDigit;
using testing::SicobBarcode11;

const std::string kRule52(52, '=');
const std::string kCorrect = "BARRA CORRETA, VERIFIQUE OS DADOS ACIMA";
const std::string kInvalid("BARRA INVÁLIDA. NÃO SERÁ ACEITA. VERIFIQUE OS ERROS."_cp);
const std::string kBadCart("NN COM CARTEIRA INVÁLIDA !!!"_cp), kBank("Banco não é 104 - CAIXA"_cp);
const std::string kRapida("TÍTULO COM REGISTRO - RÁPIDA E NN COM 11 POSIÇÕES"_cp);
const std::string kSimples("TÍTULO COM REGISTRO - SIMPLES E NN COM 11 POSIÇÕES"_cp);
const std::string kSr11("TÍTULO SEM REGISTRO E NN COM 11 POSIÇÕES"_cp),
    kSr16("TÍTULO SEM REGISTRO E NN COM 16 POSIÇÕES"_cp);
const std::string kCed001 = "012300100012345", kCed870 = "012387000012345";

// A SICOB cedente with its account digit, as the commands format it.
std::string Cedente(std::string_view d15) {
  return Cat(d15.substr(0, 4), ".", d15.substr(4, 3), ".", d15.substr(7), "-", testing::SicobCedenteDigit(d15));
}
std::string Nn10(std::string_view nn) { return Cat(nn, "-", NossoNumeroDigit(nn)); }
std::string B11(std::string_view nn, const std::string& ced) { return SicobBarcode11(nn, ced); }
std::string Printed(const std::string& b) { return testing::PrintedLine(b, "  "); }
std::string WrongDv(char expected, char found) {
  return Cat("Dígito inválido esperado "_cp, expected, " encontrado ", found);
}

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

// One case of the SICOB layout table: a barcode of that case, the cedente
// typed at the several-barcode command and what the commands show for it.
struct SicobCase {
  std::string name, barcode, ced, shortType, longType, fileType, nnLabel, nn;
};

// clang-format off
const SicobCase kSicobCases[] = {
    {"SixteenPositions", testing::SicobBarcode16("12345", "0123", "00000000000456"), kCed870, "SR NN 16P", kSr16, kSr16,
     "NN= ", "800000000000456"},
    {"RapidaSevenAt35", B11("9000000001", kCed870), kCed870, "CR NN 11P", kRapida, kRapida, "NN=", Nn10("9000000001")},
    {"Rapida", B11("9000000001", kCed001), kCed001, "CR NN 11P", kRapida, kRapida, "NN= ", Nn10("9000000001")},
    {"Simples", B11("3000000001", kCed001), kCed001, "CR NN 11P", kSimples, kBadCart, "NN= ", Nn10("3000000001")},
    {"Unregistered", B11("8000000001", kCed001), kCed001, "SR NN 11P", kSr11, kSr11, "NN= ", Nn10("8000000001")},
    {"BadCarteira", B11("1000000001", kCed001), kCed001, kBadCart, kBadCart, kBadCart, "NN= ", Nn10("1000000001")}};
// clang-format on

void PrintTo(const SicobCase& c, std::ostream* os) { *os << c.name; }

class SicobLayout : public ::testing::TestWithParam<SicobCase> {};

TEST_P(SicobLayout, SeveralBarcodesCommand) {
  const SicobCase& c = GetParam();
  const bool valid = c.shortType != kBadCart;
  const Lines r = Report(CdigodebarrasCobCaixa1Click, {"1", c.ced, c.barcode}, valid ? kClean : kFaulty);
  ASSERT_GE(r.size(), 3u);
  EXPECT_EQ(r[0], valid ? "BARRA 1 CORRETA" : "BARRA  1 INVÁLIDA. NÃO SERÁ ACEITA. VERIFIQUE OS ERROS."_cp);
  EXPECT_EQ(r[1], std::string(62, '='));
  EXPECT_EQ(r[2], Cat(Printed(c.barcode), " ", c.shortType, " DTVenc: 06/12/2026 ", Cedente(c.ced), " ", c.nnLabel,
                      c.nn, " Valor R$ 123,45"));
}

TEST_P(SicobLayout, TypeableLineCommand) {
  const SicobCase& c = GetParam();
  const std::string digits = testing::TypeableDigits(c.barcode);
  const bool valid = c.longType != kBadCart;
  FakeHost host;
  host.answers = {testing::PrintedLine(c.barcode)};
  EXPECT_EQ(Representaonumricacobcaixacobranacaixa1Click(host), valid ? kClean : kFaulty);
  EXPECT_EQ(host.prompts[0].caption, "Código de Barras"_cp);
  EXPECT_EQ(host.prompts[0].prompt, "Digite a representação numérica"_cp);
  EXPECT_EQ(host.report, L({c.longType, Cat("Representação Numérica Calculada: "_cp, Printed(c.barcode)),
                            Cat("Representação Numérica Digitada: "_cp, digits), "Data do vencimento: 06/12/2026",
                            Cat("CÓDIGO DO CEDENTE = "_cp, Cedente(c.ced)), Cat("Nosso Número      = "_cp, c.nn),
                            "Valor do título:  R$ 123,45"_cp, Cat("Valor de entrada: ", digits, " Tamanho: 47"),
                            kRule52, valid ? kCorrect : kInvalid, kRule52}));
}

TEST_P(SicobLayout, FileCommand) {
  const SicobCase& c = GetParam();
  const std::string& b = c.barcode;
  const bool valid = c.fileType != kBadCart;
  const Lines r = Report(CdigodebarrasSICOBViaarquivo1Click, {}, valid ? kClean : kFaulty, CrLfFile({b}));
  ASSERT_EQ(r.size(), 11u + 30u);
  const std::string nn = c.name == "SixteenPositions" ? Cat(c.nn, "-", NossoNumeroDigit(c.nn)) : c.nn;
  std::string spaced = b.substr(0, 5);
  for (std::size_t at = 5; at < 44; at += 5) spaced += "." + b.substr(at, 5);
  EXPECT_EQ(Slice(r, 0, 12),
            L({c.fileType, Cat("Representação Numérica: "_cp, Printed(b)), "Data do vencimento: 06/12/2026",
               Cat("CÓDIGO DO CEDENTE = "_cp, Cedente(c.ced)), Cat("Nosso Número = "_cp, nn),
               "Valor do título:  R$ 123,45"_cp, Cat("Seq 1 Tam barra = 44 Conteúdo "_cp, b),
               Cat("Barra com separação:"_cp, spaced), kRule52, valid ? kCorrect : kInvalid, kRule52,
               "Verifique os seguintes itens nos boletos:"}));
}

INSTANTIATE_TEST_SUITE_P(Cases, SicobLayout, ::testing::ValuesIn(kSicobCases),
                         [](const ::testing::TestParamInfo<SicobCase>& info) { return info.param.name; });

TEST(SicobSeveral, FindingsPerBarcodeAndPrompts) {
  const std::string b = SicobBarcode11("9000000001", kCed001);
  const char wrong = Other(b[4]);
  FakeHost host;
  host.answers = {"3", kCed001, With(b, 5, wrong), With(b, 1, '2'), With(b, 4, '0')};
  EXPECT_EQ(CdigodebarrasCobCaixa1Click(host), kFaulty);
  EXPECT_EQ(host.prompts[0].defaultText, "1");
  EXPECT_EQ(host.prompts[1].caption, "Digite o código do cedente"_cp);
  EXPECT_EQ(host.prompts[1].prompt, "Digite sem o DV e sem separador");
  EXPECT_EQ(host.prompts[1].defaultText, "AAAA870CCCCCCCC");
  const Lines& r = host.report;
  EXPECT_EQ(Slice(r, 0, 3),
            L({WrongDv(b[4], wrong), "BARRA  1 INVÁLIDA. NÃO SERÁ ACEITA. VERIFIQUE OS ERROS."_cp, kBank}));
  EXPECT_TRUE(r[3].starts_with("Dígito inválido esperado "_cp)) << r[3];
  EXPECT_EQ(r[5], "Moeda não é REAL na posição 4"_cp);
  // The cedente left at its placeholder matches no barcode.
  const Lines placeholder = Report(CdigodebarrasCobCaixa1Click, {"1", "AAAA870CCCCCCCC", b}, kFaulty);
  EXPECT_TRUE(placeholder[0].starts_with("Código do cedente inválido: Informado:AAAA.870.CCCCCCCC-"_cp));
  EXPECT_TRUE(placeholder[0].ends_with(Cat(" Lido:", Cedente(kCed001))));
}

// ---- SINCO.

const std::string kSinco = testing::SincoBarcode("654321", "000000000000000789");
const std::string kOtherMarker = testing::Assemble({}, "2654321000000000000000789");

TEST(SincoOne, ValidBarcodeAndOtherMarker) {
  FakeHost host;
  host.answers = {kSinco};
  EXPECT_EQ(CdigodebarrasSINCO1Click(host), kClean);
  EXPECT_EQ(host.prompts[0].caption, "Código de Barras"_cp);
  EXPECT_EQ(host.prompts[0].prompt, "Passe o leitor no Código de Barras"_cp);
  EXPECT_EQ(host.report, L({"COBRANÇA SINCO"_cp, Cat("Representação Numérica: "_cp, Printed(kSinco)),
                            "Data do vencimento: 06/12/2026", "CÓDIGO DO CEDENTE = 654321"_cp,
                            "Nosso Número      = 000000000000000789"_cp, "Valor do título:  R$ 123,45"_cp,
                            Cat("Valor de entrada: ", kSinco, " Tamanho: 44"), kRule52, kCorrect, kRule52}));
  // Another marker at 20 keeps the placeholders.
  const Lines r = Report(CdigodebarrasSINCO1Click, {kOtherMarker}, kClean);
  EXPECT_EQ(r[0], "Tipo inválido"_cp);
  EXPECT_EQ(Slice(r, 3, 5), L({"Código do cedente inválido"_cp, "Nosso Número inválido"_cp}));
  EXPECT_EQ(r[8], kCorrect);
}

TEST(SincoOne, Corruptions) {
  const char dv = kSinco[4];
  const std::string freeField = With(kSinco, 44, '0');  // a free-field digit changes only the general digit
  // clang-format off
  const struct { std::string barcode, finding; } cases[] = {
      {With(kSinco, 1, '2'), kBank}, {With(kSinco, 4, '0'), std::string("Moeda não é REAL na posição 4"_cp)},
      {With(kSinco, 5, Other(dv)), WrongDv(dv, Other(dv))},
      {freeField, WrongDv(testing::FebrabanGeneralDigit(freeField.substr(0, 4) + freeField.substr(5)), dv)}};
  // clang-format on
  for (const auto& c : cases) {
    const Lines r = Report(CdigodebarrasSINCO1Click, {c.barcode}, kFaulty);
    EXPECT_EQ(r[6], c.finding);
    EXPECT_EQ(Slice(r, -3, 0), L({kRule52, kInvalid, kRule52}));
  }
}

}  // namespace
}  // namespace verilote
