#include "barcodes/boleto_builder.hpp"
#include "barcodes/boleto_commands.hpp"

namespace verilote {
namespace {

// SIGCB cedente 123456, registered (1), issuer 4, sequence ...123, due
// 06/12/2026 (factor 1652), R$ 123,45: checked by hand, and so the builder's.
constexpr std::string_view kSigcb = "10493165200000123451234560000100040000001230";

TEST(BoletoConverters, BothDirections) {
  EXPECT_EQ(testing::SigcbBarcode("123456", '1', '4', "000000000000123"), kSigcb);
  FakeHost host;
  host.report = {"earlier line"};
  host.answers = {std::string(kSigcb), "10491.23456 60000.100044 00000.012302 3 16520000012345"};
  EXPECT_EQ(ConverteCdBarraRepresentao1Click(host), kClean);
  EXPECT_EQ(ConverteRepresentaoCdBarra1Click(host), kClean);
  EXPECT_EQ(host.prompts.at(1).caption, "Representação Numérica"_cp);
  const std::string barcodeLine = Cat("Código de Barras: "_cp, kSigcb);
  EXPECT_EQ(host.report,
            L({"earlier line", barcodeLine,
               "Representação Numérica: 10491.23456  60000.100044  00000.012302  3  16520000012345"_cp, barcodeLine,
               "Representação Numérica: 10491234566000010004400000012302316520000012345"_cp}));
}

TEST(BoletoAssembly, SigcbReportOfTheLayoutsExample) {
  // Cedente 123456, Nosso Número 1 4 000000000000123, R$ 1,00, due ten days
  // after 07/10/1997.
  FakeHost host;
  host.answers = {"123456", "14000000000000123", "100", "17/10/1997"};
  EXPECT_EQ(Montarcdigodebarras1Click(host), kClean);
  EXPECT_EQ(host.prompts.at(3).prompt, "Digite a data do vencimento no formato dd/mm/aaaa");
  const std::string withFactor =
      testing::SigcbBarcode("123456", '1', '4', "000000000000123", {"104", "9", "0010", "0000000100"});
  const std::string withoutFactor =
      testing::SigcbBarcode("123456", '1', '4', "000000000000123", {"104", "9", "0000", "0000000100"});
  EXPECT_EQ(host.report,
            L({"Dados de entrada:", "Código do cedente: 123456-0"_cp, "Nosso Número     : 14000000000000123-1"_cp,
               "Valor do título  : 1,00"_cp, "Data de venc.    : 17/10/1997", " ",
               "--------- Barra com fator de vencimento ------------", " ",
               Cat("Representação Numérica: "_cp, testing::PrintedLine(withFactor, "  ")), " ",
               Cat("Conteúdo da barra: "_cp, withFactor), " ", "--------- Barra sem fator de vencimento ------------",
               " ", Cat("Representação Numérica: "_cp, testing::PrintedLine(withoutFactor, "  ")), " ",
               Cat("Conteúdo da barra: "_cp, withoutFactor), " ",
               "===================== fim da validação ========================================= "_cp}));
}

}  // namespace
}  // namespace verilote
