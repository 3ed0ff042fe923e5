#include "tools/barcode_repair.hpp"

#include <random>

#include "barcodes/boleto_builder.hpp"

namespace verilote {
namespace {

struct RepairCommand {
  const char* name;
  Handler command;
};

void PrintTo(const RepairCommand& c, std::ostream* os) { *os << c.name; }

class BarcodeRepair : public ::testing::TestWithParam<RepairCommand> {
 protected:
  // Runs the command on the typed text; expects the message box showing the
  // typed and the computed barcode, or none when `computed` is empty.
  void Expect(const std::string& typed, const std::string& computed, Outcome::Status status) {
    FakeHost host;
    host.answers.push_back(typed);
    EXPECT_EQ(RunCommand(GetParam().command, host).status, status) << typed;
    ASSERT_EQ(host.prompts.size(), 1u);
    EXPECT_EQ(host.prompts[0].caption, "Entre com a barra");
    EXPECT_EQ(host.prompts[0].prompt, "Digite a barra com 44 posições:"_cp);
    EXPECT_TRUE(host.report.empty());
    if (computed.empty())
      EXPECT_TRUE(host.messages.empty()) << typed;
    else
      EXPECT_EQ(host.messages, L({"Barra digitada: \r" + typed + "\rBarra Calculada\r" + computed}));
  }
};

TEST_P(BarcodeRepair, RightDigitStaysAndEveryWrongDigitIsCorrected) {
  std::mt19937 random(3);
  for (const char id : {'6', '7', '8', '9'}) {
    for (int i = 0; i < 20; ++i) {
      std::string body(40, '0');
      for (char& c : body) c = static_cast<char>('0' + random() % 10);
      const std::string valid = Collection(static_cast<char>('1' + i % 9), id, body);
      Expect(valid, valid, kRunClean);
      for (char wrong = '0'; wrong <= '9'; ++wrong)
        if (wrong != valid[3]) Expect(With(valid, 4, wrong), valid, kRunFaulty);
    }
  }
}

TEST_P(BarcodeRepair, BoletoBarcodeGetsTheModuloTenDigit) {
  // Position 3 of a bank-104 boleto is "4": the digit at position 4 is
  // recomputed by modulo 10 like any barcode that is not product 8.
  const std::string typed = "10490150000000123459712345717700000000010143";
  const std::string body = typed.substr(0, 3) + typed.substr(4);
  Expect(typed, With(typed, 4, testing::FieldDigit(body)), kRunFaulty);
}

INSTANTIATE_TEST_SUITE_P(BothCommands, BarcodeRepair,
                         ::testing::Values(RepairCommand{"AnyBarcode", Acertardigitodeumcdigodebarras1Click},
                                           RepairCommand{"Collection", Acertadgitodocodbarradacobrana1Click}),
                         [](const ::testing::TestParamInfo<RepairCommand>& info) { return info.param.name; });

}  // namespace
}  // namespace verilote
