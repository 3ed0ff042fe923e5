#include "barcodes/boleto.hpp"

#include "barcodes/boleto_builder.hpp"
#include "barcodes/boleto_commands.hpp"

namespace verilote {
namespace {

// SIGCB cedente 123456, registered (1), issuer 4, sequence ...123, due
// 06/12/2026 (factor 1652), R$ 123,45.
constexpr std::string_view kSigcb = "10493165200000123451234560000100040000001230";
constexpr std::string_view kPrinted = "10491.23456  60000.100044  00000.012302  3  16520000012345";

TEST(Boleto, HandCheckedBarcodeAndItsTypeableLine) {
  EXPECT_EQ(testing::SigcbBarcode("123456", '1', '4', "000000000000123"), kSigcb);
  EXPECT_EQ(PrintedTypeableLine(kSigcb), kPrinted);
  EXPECT_EQ(PrintedTypeableLine(kSigcb, "    "), "10491.23456    60000.100044    00000.012302    3    16520000012345");
  EXPECT_EQ(LabelledTypeableLine(kSigcb), Cat("Representação Numérica: "_cp, kPrinted));
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

}  // namespace
}  // namespace verilote
