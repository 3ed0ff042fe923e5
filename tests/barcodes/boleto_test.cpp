#include "barcodes/boleto.hpp"

#include <gtest/gtest.h>

#include <random>
#include <string>

#include "app/cp1252.hpp"
#include "app/errors.hpp"
#include "barcodes/boleto_builder.hpp"
#include "barcodes/boleto_commands.hpp"
#include "support/fake_host.hpp"

namespace verilote {
namespace {

using testing::BarcodeHead;
using testing::FakeHost;

// SIGCB cedente 123456, registered (1), issuer 4, sequence ...123, due
// 06/12/2026 (factor 1652), R$ 123,45.
constexpr std::string_view kSigcb = "10493165200000123451234560000100040000001230";

std::string RandomDigits(std::mt19937& rng, std::size_t n) {
  std::uniform_int_distribution<int> digit(0, 9);
  std::string out;
  for (std::size_t i = 0; i < n; ++i) out += static_cast<char>('0' + digit(rng));
  return out;
}

TEST(Boleto, BuilderAgreesWithAHandCheckedBarcode) {
  EXPECT_EQ(testing::SigcbBarcode("123456", '1', '4', "000000000000123"), kSigcb);
}

TEST(Boleto, PrintedTypeableLine) {
  EXPECT_EQ(PrintedTypeableLine(kSigcb), "10491.23456  60000.100044  00000.012302  3  16520000012345");
  EXPECT_EQ(PrintedTypeableLine(kSigcb, "    "), "10491.23456    60000.100044    00000.012302    3    16520000012345");
  EXPECT_EQ(LabelledTypeableLine(kSigcb),
            "Representação Numérica: 10491.23456  60000.100044  00000.012302  3  16520000012345"_cp);
  EXPECT_EQ(TypeableLineDigits(kSigcb), "10491234566000010004400000012302316520000012345");
}

TEST(Boleto, RoundTripOverManyGeneratedBarcodes) {
  std::mt19937 rng(20261206);
  for (int i = 0; i < 500; ++i) {
    BarcodeHead head;
    head.factor = RandomDigits(rng, 4);
    head.value = RandomDigits(rng, 10);
    const std::string barcode = testing::Assemble(head, RandomDigits(rng, 25));
    const std::string line = TypeableLineDigits(barcode);
    ASSERT_EQ(line, testing::TypeableDigits(barcode));
    ASSERT_EQ(TypeableLineToBarcode(line), barcode);
    ASSERT_EQ(TypeableLineToBarcode(testing::TypeableWithPoints(barcode)), barcode) << "points and blanks";
    ASSERT_EQ(TypeableLineToBarcodeNewDv(line), barcode) << "the recomputed general digit is the barcode's";
    ASSERT_TRUE(HasValidGeneralDv(barcode));
  }
}

TEST(Boleto, GeneralDigitIsOneForRemainderZeroAndOne) {
  std::mt19937 rng(7);
  bool seen[2] = {false, false};
  for (int i = 0; i < 2000 && !(seen[0] && seen[1]); ++i) {
    BarcodeHead head;
    head.value = RandomDigits(rng, 10);
    const std::string barcode = testing::Assemble(head, RandomDigits(rng, 25));
    const int remainder = testing::WeightedSum2To9(GeneralDvBase(barcode)) % 11;
    if (remainder > 1) continue;
    seen[remainder] = true;
    EXPECT_EQ(BarcodeGeneralDv(barcode), '1') << barcode;
    EXPECT_TRUE(HasValidGeneralDv(barcode));
    EXPECT_FALSE(HasValidGeneralDv(testing::WithDigit(barcode, 5, '0')));
  }
  EXPECT_TRUE(seen[0] && seen[1]);
}

TEST(Boleto, ValuesAndDueDates) {
  BarcodeHead head;
  head.value = "0000000000";
  EXPECT_EQ(BarcodeValue(testing::Assemble(head, std::string(25, '0'))), "0,00");
  head.value = "0000000005";
  EXPECT_EQ(BarcodeValue(testing::Assemble(head, std::string(25, '0'))), "0,05");
  head.value = "0123456789";
  EXPECT_EQ(BarcodeValue(testing::Assemble(head, std::string(25, '0'))), "1.234.567,89");
  // A boleto issued today is due today, not one cycle of 9000 days earlier.
  EXPECT_EQ(BarcodeDueDate(kSigcb, {2026, 12, 6}), "06/12/2026");
  head.factor = "1000";
  EXPECT_EQ(BarcodeDueDate(testing::Assemble(head, std::string(25, '0')), {2026, 12, 6}), "22/02/2025");
  head.factor = "0000";
  EXPECT_TRUE(HasNoDueFactor(testing::Assemble(head, std::string(25, '0'))));
  EXPECT_THROW(BarcodeDueDate("10491A2B0", {2026, 12, 6}), ConversionError);
}

TEST(Boleto, ShortAndEmptyTextsAreCutAsTheyStand) {
  EXPECT_EQ(PrintedTypeableLine(""), std::string(".0  .0  .0    "));
  const std::string short43(kSigcb.substr(0, 43));
  EXPECT_EQ(PrintedTypeableLine(short43).substr(0, 28), PrintedTypeableLine(kSigcb).substr(0, 28));
  EXPECT_EQ(PrintedTypeableLine(short43).substr(27),
            "00000.0123" + std::string(1, testing::FieldDigit("000000123")) + "  3  16520000012345");
  EXPECT_EQ(TypeableLineToBarcode("123"), "123");
  EXPECT_FALSE(IsCaixaBank("10"));
  EXPECT_FALSE(HasValidGeneralDv("1049"));
}

// ---- The converters and the generic 44-position check.

TEST(BoletoConverters, BarcodeToTypeableLine) {
  FakeHost host;
  host.report = {"earlier line"};
  host.answers = {std::string(kSigcb)};
  EXPECT_EQ(ConverteCdBarraRepresentao1Click(host), Verdict::Clean);
  ASSERT_EQ(host.prompts.size(), 1u);
  EXPECT_EQ(host.prompts[0].caption, "Código de Barras"_cp);
  EXPECT_EQ(host.prompts[0].prompt, "Passe o leitor no Código de Barras"_cp);
  EXPECT_EQ(
      host.report,
      (testing::Lines({"earlier line", "Código de Barras: 10493165200000123451234560000100040000001230"_cp,
                       "Representação Numérica: 10491.23456  60000.100044  00000.012302  3  16520000012345"_cp})));
}

TEST(BoletoConverters, TypeableLineToBarcode) {
  FakeHost host;
  host.answers = {"10491.23456 60000.100044 00000.012302 3 16520000012345"};
  EXPECT_EQ(ConverteRepresentaoCdBarra1Click(host), Verdict::Clean);
  EXPECT_EQ(host.prompts[0].caption, "Representação Numérica"_cp);
  EXPECT_EQ(host.prompts[0].prompt, "Digite a representação numérica"_cp);
  EXPECT_EQ(host.report,
            (testing::Lines({"Código de Barras: 10493165200000123451234560000100040000001230"_cp,
                             "Representação Numérica: 10491234566000010004400000012302316520000012345"_cp})));
}

TEST(BoletoConverters, GenericCheckLooksAtPositionFourOnly) {
  // Modulo 10 of positions 1-3 and 5-44, weights 2,1,... from the right.
  const std::string body = "8160000001234567890123456789012345678901234";
  ASSERT_EQ(body.size(), 43u);
  const char dv = testing::FieldDigit(body);
  const std::string valid = body.substr(0, 3) + dv + body.substr(3);
  FakeHost ok;
  ok.answers = {valid};
  EXPECT_EQ(Cdigodebarras1Click(ok), Verdict::Clean);
  EXPECT_EQ(ok.messages, testing::Lines({"DV Geral correto."}));
  EXPECT_TRUE(ok.report.empty());

  FakeHost bad;
  bad.answers = {testing::WithDigit(valid, 4, dv == '9' ? '0' : static_cast<char>(dv + 1))};
  EXPECT_EQ(Cdigodebarras1Click(bad), Verdict::Faulty);
  EXPECT_EQ(bad.messages, testing::Lines({"Dígito geral verificador INVÁLIDO !!!!!"_cp}));

  FakeHost letters;
  letters.answers = {"1049X"};
  EXPECT_THROW(Cdigodebarras1Click(letters), ConversionError);
}

// ---- Any bytes.

TEST(BoletoRobustness, FileCommandsSurviveRandomBytes) {
  std::mt19937 rng(2026);
  std::uniform_int_distribution<int> byte(0, 255), length(0, 60);
  for (int round = 0; round < 200; ++round) {
    std::string bytes;
    for (int line = 0; line < 5; ++line) {
      // Digits mostly, so that runs get past the factor and check digits.
      for (int n = length(rng); n > 0; --n) {
        const int b = byte(rng);
        bytes += static_cast<char>(b < 200 ? '0' + b % 10 : b);
      }
      bytes += "\r\n";
    }
    testing::TempFile file(bytes);
    for (const Handler command :
         {CdigodebarrasSIGCBviaarquivo1Click, CdigodebarrasSICOBViaarquivo1Click, CdigodebarrasSINCOViaarquivo1Click}) {
      FakeHost host;
      host.files = {file.path()};
      host.answers = {"123456"};
      try {
        command(host);
      } catch (const ConversionError&) {
        // A factor or check-digit position that is not a number stops the command.
      }
    }
  }
}

// ---- The homologation form.

TEST(BoletoHomologation, AppendsTheDatedFormEachTime) {
  FakeHost host;
  host.report = {"before"};
  EXPECT_EQ(RelatriodeHomologao1Click(host), Verdict::Clean);
  ASSERT_EQ(host.report.size(), 63u);
  EXPECT_EQ(host.report[0], "before");
  EXPECT_EQ(host.report[1], " ");
  EXPECT_EQ(host.report[4], "CAIXA ECONÔMICA FEDERAL               NCOSB001 - GERADO EM 06/12/2026"_cp);
  EXPECT_EQ(host.report[5], "RELATÓRIO DE HOMOLOGAÇÃO DOS BLOQUETOS            CEDENTE: "_cp);
  EXPECT_EQ(host.report[16], "(   ) O código do cedente              e o campo agência/código do cedente conferem"_cp);
  EXPECT_EQ(host.report[62], " Local ________________       HOMOLOGADOR ______________________________");
  EXPECT_EQ(RelatriodeHomologao1Click(host), Verdict::Clean);
  ASSERT_EQ(host.report.size(), 125u);
  EXPECT_EQ(std::vector<std::string>(host.report.begin() + 1, host.report.begin() + 63),
            std::vector<std::string>(host.report.begin() + 63, host.report.end()));
  EXPECT_EQ(host.clears, 0);
}

}  // namespace
}  // namespace verilote
