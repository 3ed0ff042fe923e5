#include "tools/barcode_repair.hpp"

#include "barcodes/boleto_builder.hpp"

namespace verilote {
namespace {

// The collection barcodes of both commands are in the collection commands'
// table; here the prompt, a barcode that is not product 8 and a short text.
TEST(BarcodeRepair, PromptBoletoAndShortText) {
  // Position 3 of a bank-104 boleto is "4": the digit at position 4 is
  // recomputed by modulo 10 like any barcode that is not product 8.
  const std::string boleto = "10490150000000123459712345717700000000010143";
  const std::string computed = With(boleto, 4, testing::FieldDigit(boleto.substr(0, 3) + boleto.substr(4)));
  for (const Handler command : {Acertardigitodeumcdigodebarras1Click, Acertadgitodocodbarradacobrana1Click}) {
    const FakeHost host = Execute(command, {boleto}, kRunFaulty);
    ASSERT_EQ(host.prompts.size(), 1u);
    EXPECT_EQ(Cat(host.prompts[0].caption, '|', host.prompts[0].prompt, '|', host.prompts[0].defaultText),
              "Entre com a barra|Digite a barra com 44 posições:|"_cp);
    EXPECT_TRUE(host.report.empty());
    EXPECT_EQ(host.messages, L({"Barra digitada: \r" + boleto + "\rBarra Calculada\r" + computed}));
    // Positions 5-44 are converted one by one: position 44 missing fails.
    EXPECT_TRUE(Execute(command, {boleto.substr(0, 43)}, kRunAborted).messages.empty());
  }
}

}  // namespace
}  // namespace verilote
