#include "barcodes/boleto_builder.hpp"
#include "barcodes/boleto_commands.hpp"

namespace verilote {
namespace {

const std::string kRule52(52, '=');
const std::string kCorrect = "BARRA CORRETA, VERIFIQUE OS DADOS ACIMA";
const std::string kInvalid("BARRA INVÁLIDA. NÃO SERÁ ACEITA. VERIFIQUE OS ERROS."_cp);
const std::string kBadCart("NN COM CARTEIRA INVÁLIDA !!!"_cp), kBank("Banco não é 104 - CAIXA"_cp);
const std::string kRapida("TÍTULO COM REGISTRO - RÁPIDA E NN COM 11 POSIÇÕES"_cp);
const std::string kSimples("TÍTULO COM REGISTRO - SIMPLES E NN COM 11 POSIÇÕES"_cp);
const std::string kSr11("TÍTULO SEM REGISTRO E NN COM 11 POSIÇÕES"_cp),
    kSr16("TÍTULO SEM REGISTRO E NN COM 16 POSIÇÕES"_cp);
const std::string kCed001 = "012300100012345", kCed870 = "012387000012345";
// The cedentes as the commands show them, account digit included.
const std::string kShown001 = "0123.001.00012345-2", kShown870 = "0123.870.00012345-6";

using testing::SicobBarcode11;
std::string Printed(const std::string& b) { return testing::PrintedLine(b, "  "); }
std::string WrongDv(char expected, char found) {
  return Cat("Dígito inválido esperado "_cp, expected, " encontrado ", found);
}

Lines Report(Handler command, std::vector<std::string> answers, Outcome::Status expected) {
  return Execute(command, std::move(answers), expected).report;
}

// One case of the SICOB layout table: a barcode of that case, the cedente
// typed at the several-barcode command and what the commands show for it.
struct SicobCase {
  std::string barcode, ced, shown, shortType, longType, nnLabel, nn;
};

const SicobCase kSicobCases[] = {
    {testing::Assemble({}, "1234501238700000000000456"), kCed870, kShown870, "SR NN 16P", kSr16,
     "NN= ", "800000000000456"},
    {SicobBarcode11("9000000001", kCed870), kCed870, kShown870, "CR NN 11P", kRapida, "NN=", "9000000001-4"},
    {SicobBarcode11("9000000001", kCed001), kCed001, kShown001, "CR NN 11P", kRapida, "NN= ", "9000000001-4"},
    {SicobBarcode11("3000000001", kCed001), kCed001, kShown001, "CR NN 11P", kSimples, "NN= ", "3000000001-0"},
    {SicobBarcode11("8000000001", kCed001), kCed001, kShown001, "SR NN 11P", kSr11, "NN= ", "8000000001-7"},
    {SicobBarcode11("1000000001", kCed001), kCed001, kShown001, kBadCart, kBadCart, "NN= ", "1000000001-6"}};

// The several-barcode and typeable-line commands decode each case alike.
TEST(SicobLayout, EachCommandShowsTheCase) {
  for (const SicobCase& c : kSicobCases) {
    const bool valid = c.longType != kBadCart;
    const Lines several = Report(CdigodebarrasCobCaixa1Click, {"1", c.ced, c.barcode}, valid ? kRunClean : kRunFaulty);
    EXPECT_EQ(several.at(0), valid ? "BARRA 1 CORRETA" : "BARRA  1 INVÁLIDA. NÃO SERÁ ACEITA. VERIFIQUE OS ERROS."_cp);
    EXPECT_EQ(several.at(2), Cat(Printed(c.barcode), " ", c.shortType, " DTVenc: 06/12/2026 ", c.shown, " ", c.nnLabel,
                                 c.nn, " Valor R$ 123,45"));
    const Lines typed = Report(Representaonumricacobcaixacobranacaixa1Click, {testing::PrintedLine(c.barcode)},
                               valid ? kRunClean : kRunFaulty);
    EXPECT_EQ(typed.at(0), c.longType);
  }
}

// The typeable-line command's whole report; the file command takes the
// Simples carteira for an invalid one (its other lines are run on the example
// file end to end).
TEST(SicobLayout, TypeableLineReportAndFileCarteira) {
  const std::string& b = kSicobCases[2].barcode;
  const std::string digits = testing::TypeableDigits(b);
  const FakeHost host = Execute(Representaonumricacobcaixacobranacaixa1Click, {testing::PrintedLine(b)}, kRunClean);
  EXPECT_EQ(host.prompts[0].prompt, "Digite a representação numérica"_cp);
  EXPECT_EQ(host.report, L({kRapida, Cat("Representação Numérica Calculada: "_cp, Printed(b)),
                            Cat("Representação Numérica Digitada: "_cp, digits), "Data do vencimento: 06/12/2026",
                            Cat("CÓDIGO DO CEDENTE = "_cp, kShown001), "Nosso Número      = 9000000001-4"_cp,
                            "Valor do título:  R$ 123,45"_cp, Cat("Valor de entrada: ", digits, " Tamanho: 47"),
                            kRule52, kCorrect, kRule52}));
  const Lines file =
      Execute(CdigodebarrasSICOBViaarquivo1Click, {}, kRunFaulty, CrLfFile({kSicobCases[3].barcode})).report;
  ASSERT_EQ(file.size(), 11u + 30u);
  EXPECT_EQ(file[0], kBadCart);
  EXPECT_EQ(file[9], kInvalid);
}

TEST(SicobSeveral, FindingsPerBarcode) {
  const std::string b = SicobBarcode11("9000000001", kCed001);
  const char wrong = Other(b[4]);
  const FakeHost host = Execute(CdigodebarrasCobCaixa1Click,
                                {"3", kCed001, With(b, 5, wrong), With(b, 1, '2'), With(b, 4, '0')}, kRunFaulty);
  EXPECT_EQ(host.prompts.at(1).defaultText, "AAAA870CCCCCCCC");
  const Lines& r = host.report;
  EXPECT_EQ(Slice(r, 0, 3),
            L({WrongDv(b[4], wrong), "BARRA  1 INVÁLIDA. NÃO SERÁ ACEITA. VERIFIQUE OS ERROS."_cp, kBank}));
  EXPECT_TRUE(r[3].starts_with("Dígito inválido esperado "_cp)) << r[3];
  EXPECT_EQ(r[5], "Moeda não é REAL na posição 4"_cp);
  // The cedente left at its placeholder matches no barcode.
  const Lines placeholder = Report(CdigodebarrasCobCaixa1Click, {"1", "AAAA870CCCCCCCC", b}, kRunFaulty);
  EXPECT_TRUE(placeholder[0].starts_with("Código do cedente inválido: Informado:AAAA.870.CCCCCCCC-"_cp));
  EXPECT_TRUE(placeholder[0].ends_with(Cat(" Lido:", kShown001)));
}

// ---- SINCO.

const std::string kSinco = testing::SincoBarcode("654321", "000000000000000789");
const std::string kOtherMarker = testing::Assemble({}, "2654321000000000000000789");

TEST(SincoOne, ValidBarcodeAndOtherMarker) {
  const FakeHost host = Execute(CdigodebarrasSINCO1Click, {kSinco}, kRunClean);
  EXPECT_EQ(host.prompts[0].caption, "Código de Barras"_cp);
  EXPECT_EQ(host.prompts[0].prompt, "Passe o leitor no Código de Barras"_cp);
  EXPECT_EQ(host.report, L({"COBRANÇA SINCO"_cp, Cat("Representação Numérica: "_cp, Printed(kSinco)),
                            "Data do vencimento: 06/12/2026", "CÓDIGO DO CEDENTE = 654321"_cp,
                            "Nosso Número      = 000000000000000789"_cp, "Valor do título:  R$ 123,45"_cp,
                            Cat("Valor de entrada: ", kSinco, " Tamanho: 44"), kRule52, kCorrect, kRule52}));
  // Another marker at 20 keeps the placeholders.
  const Lines r = Report(CdigodebarrasSINCO1Click, {kOtherMarker}, kRunClean);
  EXPECT_EQ(r[0], "Tipo inválido"_cp);
  EXPECT_EQ(Slice(r, 3, 5), L({"Código do cedente inválido"_cp, "Nosso Número inválido"_cp}));
  EXPECT_EQ(r[8], kCorrect);
}

}  // namespace
}  // namespace verilote
