#include "barcodes/boleto.hpp"

#include <random>

#include "barcodes/boleto_builder.hpp"
#include "barcodes/boleto_commands.hpp"

namespace verilote {
namespace {

using testing::Assemble;

// SIGCB cedente 123456, registered (1), issuer 4, sequence ...123, due
// 06/12/2026 (factor 1652), R$ 123,45.
constexpr std::string_view kSigcb = "10493165200000123451234560000100040000001230";
constexpr std::string_view kPrinted = "10491.23456  60000.100044  00000.012302  3  16520000012345";

std::string RandomDigits(std::mt19937& rng, std::size_t n) {
  std::string out;
  for (std::size_t i = 0; i < n; ++i) out += static_cast<char>('0' + rng() % 10);
  return out;
}

TEST(Boleto, HandCheckedBarcodeAndItsTypeableLine) {
  EXPECT_EQ(testing::SigcbBarcode("123456", '1', '4', "000000000000123"), kSigcb);
  EXPECT_EQ(PrintedTypeableLine(kSigcb), kPrinted);
  EXPECT_EQ(PrintedTypeableLine(kSigcb, "    "), "10491.23456    60000.100044    00000.012302    3    16520000012345");
  EXPECT_EQ(LabelledTypeableLine(kSigcb), Cat("Representação Numérica: "_cp, kPrinted));
}

TEST(Boleto, RoundTripOverGeneratedBarcodes) {
  std::mt19937 rng(20261206);
  bool remainderSeen[2] = {false, false};
  for (int i = 0; i < 2000; ++i) {
    const std::string barcode =
        Assemble({"104", "9", RandomDigits(rng, 4), RandomDigits(rng, 10)}, RandomDigits(rng, 25));
    const std::string line = TypeableLineDigits(barcode);
    ASSERT_EQ(line, testing::TypeableDigits(barcode));
    ASSERT_EQ(TypeableLineToBarcode(line), barcode);
    ASSERT_EQ(TypeableLineToBarcode(testing::PrintedLine(barcode)), barcode) << "points and blanks";
    ASSERT_EQ(TypeableLineToBarcodeNewDv(line), barcode) << "the recomputed general digit is the barcode's";
    ASSERT_TRUE(HasValidGeneralDv(barcode));
    ASSERT_FALSE(HasValidGeneralDv(With(barcode, 5, Other(barcode[4]))));
    // Remainders 0 and 1 give general digit 1.
    const int remainder = testing::WeightedSum2To9(GeneralDvBase(barcode)) % 11;
    if (remainder <= 1) {
      remainderSeen[remainder] = true;
      EXPECT_EQ(BarcodeGeneralDv(barcode), '1') << barcode;
    }
  }
  EXPECT_TRUE(remainderSeen[0] && remainderSeen[1]);
}

TEST(BoletoConverters, BothDirections) {
  FakeHost host;
  host.report = {"earlier line"};
  host.answers = {std::string(kSigcb), "10491.23456 60000.100044 00000.012302 3 16520000012345"};
  EXPECT_EQ(ConverteCdBarraRepresentao1Click(host), kClean);
  EXPECT_EQ(ConverteRepresentaoCdBarra1Click(host), kClean);
  ASSERT_EQ(host.prompts.size(), 2u);
  EXPECT_EQ(host.prompts[0].caption, "Código de Barras"_cp);
  EXPECT_EQ(host.prompts[0].prompt, "Passe o leitor no Código de Barras"_cp);
  EXPECT_EQ(host.prompts[1].caption, "Representação Numérica"_cp);
  EXPECT_EQ(host.prompts[1].prompt, "Digite a representação numérica"_cp);
  const std::string barcodeLine = Cat("Código de Barras: "_cp, kSigcb);
  EXPECT_EQ(host.report, L({"earlier line", barcodeLine, Cat("Representação Numérica: "_cp, kPrinted), barcodeLine,
                            "Representação Numérica: 10491234566000010004400000012302316520000012345"_cp}));
}

TEST(BoletoConverters, GenericCheckLooksAtPositionFourOnly) {
  // Modulo 10 of positions 1-3 and 5-44, weights 2,1,... from the right.
  const std::string body = "8160000001234567890123456789012345678901234";
  const std::string valid = body.substr(0, 3) + testing::FieldDigit(body) + body.substr(3);
  const struct {
    std::string barcode;
    Verdict verdict;
    std::string_view message;
  } cases[] = {{valid, kClean, "DV Geral correto."},
               {With(valid, 4, Other(valid[3])), kFaulty, "Dígito geral verificador INVÁLIDO !!!!!"_cp}};
  for (const auto& c : cases) {
    FakeHost host;
    host.answers = {c.barcode};
    EXPECT_EQ(Cdigodebarras1Click(host), c.verdict);
    EXPECT_EQ(host.messages, L({c.message}));
    EXPECT_TRUE(host.report.empty());
  }
  FakeHost letters;
  letters.answers = {"1049X"};
  EXPECT_THROW(Cdigodebarras1Click(letters), ConversionError);
}

}  // namespace
}  // namespace verilote
