#include <gtest/gtest.h>

#include <random>
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

using testing::BarcodeHead;
using testing::CrLfFile;
using testing::FakeHost;
using testing::Lines;
using testing::TempFile;

struct Assembly {
  Verdict verdict;
  FakeHost host;
};

Assembly Assemble(std::string cedente, std::string nossoNumero, std::string value, std::string date) {
  Assembly a{Verdict::Clean, {}};
  a.host.answers = {cedente, nossoNumero, value, date};
  a.verdict = Montarcdigodebarras1Click(a.host);
  return a;
}

// The barcode of a "Conteúdo da barra: " line.
std::vector<std::string> BuiltBarcodes(const std::vector<std::string>& report) {
  const std::string label("Conteúdo da barra: "_cp);
  std::vector<std::string> out;
  for (const std::string& line : report)
    if (line.starts_with(label)) out.push_back(line.substr(label.size()));
  return out;
}

std::string Printed(const std::string& b) {
  const std::string d = testing::TypeableDigits(b);
  return Cat("Representação Numérica: "_cp, d.substr(0, 5), ".", d.substr(5, 5), "  ", d.substr(10, 5), ".",
             d.substr(15, 6), "  ", d.substr(21, 5), ".", d.substr(26, 6), "  ", d.substr(32, 1), "  ", d.substr(33));
}

TEST(BoletoAssembly, SigcbReportOfTheLayoutsExample) {
  // Cedente 123456, Nosso Número 1 4 000000000000123, R$ 1,00, due ten days
  // after 07/10/1997.
  const Assembly a = Assemble("123456", "14000000000000123", "100", "17/10/1997");
  EXPECT_EQ(a.verdict, Verdict::Clean);
  ASSERT_EQ(a.host.prompts.size(), 4u);
  EXPECT_EQ(a.host.prompts[0].caption, "Código do cedente"_cp);
  EXPECT_EQ(a.host.prompts[0].prompt, "Digite o código do cedente sem dígito"_cp);
  EXPECT_EQ(a.host.prompts[1].caption, "Nosso Número"_cp);
  EXPECT_EQ(a.host.prompts[1].prompt, "Digite o Nosso Número sem dígito"_cp);
  EXPECT_EQ(a.host.prompts[2].caption, "Valor");
  EXPECT_EQ(a.host.prompts[2].prompt, "Digite o valor");
  EXPECT_EQ(a.host.prompts[3].caption, "Data de vencimento");
  EXPECT_EQ(a.host.prompts[3].prompt, "Digite a data do vencimento no formato dd/mm/aaaa");

  BarcodeHead head;
  head.factor = "0010";
  head.value = "0000000100";
  const std::string withFactor = testing::SigcbBarcode("123456", '1', '4', "000000000000123", head);
  head.factor = "0000";
  const std::string withoutFactor = testing::SigcbBarcode("123456", '1', '4', "000000000000123", head);
  EXPECT_EQ(withFactor.substr(29, 1), "1");
  EXPECT_EQ(withFactor.substr(33, 1), "4");
  EXPECT_EQ(withFactor.substr(5, 14), "00100000000100");
  EXPECT_EQ(a.host.report, Lines({
                               "Dados de entrada:",
                               "Código do cedente: 123456-0"_cp,
                               "Nosso Número     : 14000000000000123-1"_cp,
                               "Valor do título  : 1,00"_cp,
                               "Data de venc.    : 17/10/1997",
                               " ",
                               "--------- Barra com fator de vencimento ------------",
                               " ",
                               Printed(withFactor),
                               " ",
                               Cat("Conteúdo da barra: "_cp, withFactor),
                               " ",
                               "--------- Barra sem fator de vencimento ------------",
                               " ",
                               Printed(withoutFactor),
                               " ",
                               Cat("Conteúdo da barra: "_cp, withoutFactor),
                               " ",
                               "===================== fim da validação ========================================= "_cp,
                           }));
}

TEST(BoletoAssembly, FactorsOfBothCycles) {
  for (const auto& [date, factor] : std::vector<std::pair<std::string, std::string>>{
           {"03/07/2000", "1000"}, {"21/02/2025", "9999"}, {"22/02/2025", "1000"}, {"06/12/2026", "1652"}}) {
    const Assembly a = Assemble("123456", "14000000000000123", "100", date);
    EXPECT_EQ(BuiltBarcodes(a.host.report).at(0).substr(5, 4), factor) << date;
  }
  FakeHost before;
  before.answers = {"123456", "14000000000000123", "100", "06/10/1997"};
  EXPECT_THROW(Montarcdigodebarras1Click(before), ConversionError);
  EXPECT_TRUE(before.report.empty());
}

TEST(BoletoAssembly, SigcbBarcodesPassTheSigcbCheck) {
  std::mt19937 rng(44);
  std::uniform_int_distribution<int> digit(0, 9);
  const auto digits = [&](int n) {
    std::string s;
    for (int i = 0; i < n; ++i) s += static_cast<char>('0' + digit(rng));
    return s;
  };
  for (int i = 0; i < 100; ++i) {
    const std::string cedente = digits(6), nossoNumero = std::string(1, "12"[i % 2]) + digits(16);
    const Assembly a = Assemble(cedente, nossoNumero, digits(8), "06/12/2026");
    for (const std::string& barcode : BuiltBarcodes(a.host.report)) {
      ASSERT_EQ(barcode.size(), 44u);
      FakeHost check;
      check.answers = {barcode};
      ASSERT_EQ(CdigodebarrasSIGCB1Click(check), Verdict::Clean) << barcode;
      EXPECT_EQ(check.report[5], Cat("CÓDIGO DO CEDENTE = "_cp, a.host.report[1].substr(19), " Dígito OK."_cp));
      EXPECT_EQ(check.report[6], Cat("Nosso Número      = "_cp, nossoNumero.substr(0, 2), "/", nossoNumero.substr(2),
                                     "-", a.host.report[2].back(), " ( Confirme o DV no boleto )"));
    }
  }
}

// Runs the SICOB file command on the barcodes; returns its report.
std::vector<std::string> SicobFileCheck(const std::vector<std::string>& barcodes, Verdict expected) {
  TempFile file(CrLfFile(barcodes));
  FakeHost host;
  host.files = {file.path()};
  EXPECT_EQ(CdigodebarrasSICOBViaarquivo1Click(host), expected);
  return host.report;
}

TEST(BoletoAssembly, SicobBarcodesPassTheSicobChecks) {
  // Operation 870 with a 15-digit Nosso Número: "87" at 29-30.
  Assembly a = Assemble("012387000012345", "800000000000456", "12345", "06/12/2026");
  EXPECT_EQ(a.verdict, Verdict::Clean);
  std::vector<std::string> built = BuiltBarcodes(a.host.report);
  ASSERT_EQ(built.size(), 2u);
  EXPECT_EQ(built[0], testing::SicobBarcode16("12345", "0123", "00000000000456"));
  EXPECT_EQ(a.host.report[1],
            Cat("Código do cedente: 012387000012345-"_cp, testing::SicobCedenteDigit("012387000012345")));
  EXPECT_EQ(a.host.report[2],
            Cat("Nosso Número     : 800000000000456-"_cp, testing::NossoNumeroDigit("800000000000456")));
  EXPECT_EQ(a.host.report.back(), "============================================================== ");
  auto r = SicobFileCheck(built, Verdict::Clean);
  EXPECT_EQ(r[0], "TÍTULO SEM REGISTRO E NN COM 16 POSIÇÕES"_cp);
  EXPECT_EQ(r[3], Cat("CÓDIGO DO CEDENTE = 0123.870.00012345-"_cp, testing::SicobCedenteDigit("012387000012345")));
  EXPECT_EQ(r[4], Cat("Nosso Número = 800000000000456-"_cp, testing::NossoNumeroDigit("800000000000456")));

  // Operation 870 with a 10-digit Nosso Número: the second layout.
  a = Assemble("012387000012345", "9000000001", "12345", "06/12/2026");
  built = BuiltBarcodes(a.host.report);
  EXPECT_EQ(built[0], testing::SicobBarcode11("9000000001", "012387000012345"));
  r = SicobFileCheck(built, Verdict::Clean);
  EXPECT_EQ(r[0], "TÍTULO COM REGISTRO - RÁPIDA E NN COM 11 POSIÇÕES"_cp);

  // Another operation.
  a = Assemble("012300100012345", "8000000001", "12345", "06/12/2026");
  built = BuiltBarcodes(a.host.report);
  EXPECT_EQ(a.host.report[2], Cat("Nosso Número     : 8000000001-"_cp, testing::NossoNumeroDigit("8000000001")));
  r = SicobFileCheck(built, Verdict::Clean);
  EXPECT_EQ(r[0], "TÍTULO SEM REGISTRO E NN COM 11 POSIÇÕES"_cp);
  FakeHost several;
  several.answers = {"2", "012300100012345", built[0], built[1]};
  EXPECT_EQ(CdigodebarrasCobCaixa1Click(several), Verdict::Clean);
}

TEST(BoletoAssembly, InvalidInputIsOneLineAndBuildsNothing) {
  struct Case {
    std::string cedente, nossoNumero, date;
    std::string_view line;
  };
  const Case cases[] = {
      {"12345", "14000000000000123", "06/12/2026", "Código de cedente só pode ter 6 ou 15 algarismos."_cp},
      {"12345A", "14000000000000123", "06/12/2026", " Código do cedente deve ser numérico."_cp},
      {"123456", "140000000000", "06/12/2026", " Nosso Número só pode ter 17, 15 ou 10 algarismos."_cp},
      {"123456", "1400000000000012X", "06/12/2026", " Nosso Número deve ser numérico."_cp},
      {"123456", "14000000000000123", "6/12/2026", " Vencimento deve estar no formato dd/mm/aaaa"},
      {"123456", "14000000000000123", "31/02/2026", " Vencimento inválido !!!"_cp},
      {"", "", "",
       "Código de cedente só pode ter 6 ou 15 algarismos. Código do cedente deve ser numérico. Nosso Número só pode "_cp
       "ter 17, 15 ou 10 algarismos. Vencimento deve estar no formato dd/mm/aaaa"_cp},
      // The Nosso Número must fit the layout: the barcode would not have 44 digits.
      {"123456", "1400000000", "06/12/2026",
       " Com código de cedente de 6 algarismos o Nosso Número só pode ter 17 algarismos."_cp},
      {"123456", "140000000000001", "06/12/2026",
       " Com código de cedente de 6 algarismos o Nosso Número só pode ter 17 algarismos."_cp},
      {"012300100012345", "800000000000456", "06/12/2026",
       " Com a operação 001 o Nosso Número só pode ter 10 algarismos."_cp},
  };
  for (const Case& c : cases) {
    const Assembly a = Assemble(c.cedente, c.nossoNumero, "100", c.date);
    EXPECT_EQ(a.verdict, Verdict::Faulty) << c.line;
    EXPECT_EQ(a.host.report, Lines({c.line}));
    EXPECT_TRUE(a.host.messages.empty());
  }
  // A SICOB cedente with a 17-digit Nosso Número: the message box.
  const Assembly a = Assemble("012387000012345", "14000000000000123", "100", "06/12/2026");
  EXPECT_EQ(a.verdict, Verdict::Faulty);
  EXPECT_TRUE(a.host.report.empty());
  EXPECT_EQ(a.host.messages, Lines({"Nosso Número com tamanho inválido use tamanho 15 ou 10"_cp}));
}

TEST(BoletoAssembly, ValueIsReducedToItsDigits) {
  Assembly a = Assemble("123456", "14000000000000123", "R$ 1.234,56", "06/12/2026");
  EXPECT_EQ(a.host.report[3], "Valor do título  : 1.234,56"_cp);
  EXPECT_EQ(BuiltBarcodes(a.host.report).at(0).substr(9, 10), "0000123456");
  a = Assemble("123456", "14000000000000123", "123456789012", "06/12/2026");
  EXPECT_EQ(BuiltBarcodes(a.host.report).at(0).substr(9, 10), "1234567890") << "the first ten digits";
}

}  // namespace
}  // namespace verilote
