#include "tools/barcode_repair.hpp"

#include <gtest/gtest.h>

#include <random>
#include <string>

#include "app/cp1252.hpp"
#include "banking/check_digits.hpp"
#include "barcodes/collection.hpp"
#include "barcodes/collection_builders.hpp"
#include "support/fake_host.hpp"

namespace verilote {
namespace {

using testing::Collection;
using testing::FakeHost;
using testing::With;

struct Repair {
  Outcome::Status status;
  std::string message;
};

Repair RunRepair(Handler command, const std::string& typed) {
  FakeHost host;
  host.answers.push_back(typed);
  const Outcome outcome = RunCommand(command, host);
  EXPECT_TRUE(host.report.empty());
  EXPECT_EQ(host.prompts.size(), 1u);
  EXPECT_EQ(host.prompts[0].caption, "Entre com a barra");
  EXPECT_EQ(host.prompts[0].prompt, "Digite a barra com 44 posições:"_cp);
  EXPECT_EQ(host.prompts[0].defaultText, "");
  return {outcome.status, host.messages.empty() ? std::string() : host.messages[0]};
}

std::string Shown(const std::string& typed, const std::string& computed) {
  return "Barra digitada: \r" + typed + "\rBarra Calculada\r" + computed;
}

class BarcodeRepair : public ::testing::TestWithParam<Handler> {};

TEST_P(BarcodeRepair, RightDigitComesBackUnchanged) {
  for (const char id : {'6', '7', '8', '9'}) {
    const std::string valid = Collection('2', id, "0000001234512345678901234567890123456789");
    const Repair repair = RunRepair(GetParam(), valid);
    EXPECT_EQ(repair.status, Outcome::Status::Clean);
    EXPECT_EQ(repair.message, Shown(valid, valid));
  }
}

TEST_P(BarcodeRepair, EveryWrongDigitIsCorrected) {
  std::mt19937 random(3);
  for (const char id : {'6', '7', '8', '9'}) {
    for (int i = 0; i < 20; ++i) {
      std::string body(40, '0');
      for (char& c : body) c = static_cast<char>('0' + random() % 10);
      const std::string valid = Collection(static_cast<char>('1' + i % 9), id, body);
      for (char wrong = '0'; wrong <= '9'; ++wrong) {
        if (wrong == valid[3]) continue;
        const std::string typed = With(valid, 4, std::string(1, wrong));
        const Repair repair = RunRepair(GetParam(), typed);
        EXPECT_EQ(repair.status, Outcome::Status::Faulty);
        EXPECT_EQ(repair.message, Shown(typed, valid));
        // The corrected barcode passes the 44-position check of its module.
        EXPECT_TRUE(HasValidCollectionDv(valid));
        if (id == '6' || id == '7') {
          EXPECT_TRUE(CheckBarcodeDvMod10(valid));
        }
      }
    }
  }
}

TEST_P(BarcodeRepair, BoletoBarcodeGetsTheModuloTenDigit) {
  // Position 3 of a bank-104 boleto is "4": the digit at position 4 is
  // recomputed by modulo 10 like any barcode that is not product 8.
  const std::string typed = "10490150000000123459712345717700000000010143";
  const Repair repair = RunRepair(GetParam(), typed);
  const std::string computed = SetBarcodeDvMod10(typed);
  EXPECT_EQ(repair.message, Shown(typed, computed));
  EXPECT_TRUE(CheckBarcodeDvMod10(computed));
}

TEST_P(BarcodeRepair, LongerTextLosesWhatFollowsPosition44) {
  const std::string valid = Collection('1', '6', std::string(40, '3'));
  const Repair repair = RunRepair(GetParam(), valid + "99");
  EXPECT_EQ(repair.message, Shown(valid + "99", valid));
  EXPECT_EQ(repair.status, Outcome::Status::Faulty);
}

TEST_P(BarcodeRepair, ShortOrNonDigitTextEndsWithTheConversionError) {
  const std::string valid = Collection('1', '6', std::string(40, '3'));
  for (const std::string& typed : {valid.substr(0, 43), With(valid, 10, "a"), std::string()}) {
    const Repair repair = RunRepair(GetParam(), typed);
    EXPECT_EQ(repair.status, Outcome::Status::Aborted) << typed;
    EXPECT_EQ(repair.message, "");
  }
  // A wrong character at position 4 itself is replaced.
  EXPECT_EQ(RunRepair(GetParam(), With(valid, 4, "x")).message, Shown(With(valid, 4, "x"), valid));
}

INSTANTIATE_TEST_SUITE_P(BothCommands, BarcodeRepair,
                         ::testing::Values(Acertardigitodeumcdigodebarras1Click, Acertadgitodocodbarradacobrana1Click));

}  // namespace
}  // namespace verilote
