#include <random>

#include "barcodes/boleto_builder.hpp"
#include "barcodes/boleto_commands.hpp"

namespace verilote {
namespace {

struct Assembly {
  Verdict verdict;
  FakeHost host;
  Lines built;  // the barcodes of the "Conteúdo da barra: " lines
};

Assembly Assemble(std::string cedente, std::string nossoNumero, std::string value, std::string date) {
  Assembly a{kClean, {}, {}};
  a.host.answers = {cedente, nossoNumero, value, date};
  a.verdict = Montarcdigodebarras1Click(a.host);
  const std::string label("Conteúdo da barra: "_cp);
  for (const std::string& line : a.host.report)
    if (line.starts_with(label)) a.built.push_back(line.substr(label.size()));
  return a;
}

TEST(BoletoAssembly, SigcbReportOfTheLayoutsExample) {
  // Cedente 123456, Nosso Número 1 4 000000000000123, R$ 1,00, due ten days
  // after 07/10/1997.
  const Assembly a = Assemble("123456", "14000000000000123", "100", "17/10/1997");
  EXPECT_EQ(a.verdict, kClean);
  const std::pair<std::string_view, std::string_view> prompts[] = {
      {"Código do cedente"_cp, "Digite o código do cedente sem dígito"_cp},
      {"Nosso Número"_cp, "Digite o Nosso Número sem dígito"_cp},
      {"Valor", "Digite o valor"},
      {"Data de vencimento", "Digite a data do vencimento no formato dd/mm/aaaa"}};
  ASSERT_EQ(a.host.prompts.size(), 4u);
  for (std::size_t i = 0; i < 4; ++i) {
    EXPECT_EQ(a.host.prompts[i].caption, prompts[i].first);
    EXPECT_EQ(a.host.prompts[i].prompt, prompts[i].second);
  }
  const std::string withFactor =
      testing::SigcbBarcode("123456", '1', '4', "000000000000123", {"104", "9", "0010", "0000000100"});
  const std::string withoutFactor =
      testing::SigcbBarcode("123456", '1', '4', "000000000000123", {"104", "9", "0000", "0000000100"});
  EXPECT_EQ(a.host.report,
            L({"Dados de entrada:", "Código do cedente: 123456-0"_cp, "Nosso Número     : 14000000000000123-1"_cp,
               "Valor do título  : 1,00"_cp, "Data de venc.    : 17/10/1997", " ",
               "--------- Barra com fator de vencimento ------------", " ",
               Cat("Representação Numérica: "_cp, testing::PrintedLine(withFactor, "  ")), " ",
               Cat("Conteúdo da barra: "_cp, withFactor), " ", "--------- Barra sem fator de vencimento ------------",
               " ", Cat("Representação Numérica: "_cp, testing::PrintedLine(withoutFactor, "  ")), " ",
               Cat("Conteúdo da barra: "_cp, withoutFactor), " ",
               "===================== fim da validação ========================================= "_cp}));
}

TEST(BoletoAssembly, FactorsOfBothCyclesAndTheValue) {
  for (const auto& [date, factor] : {std::pair{"03/07/2000", "1000"}, std::pair{"21/02/2025", "9999"},
                                     std::pair{"22/02/2025", "1000"}, std::pair{"06/12/2026", "1652"}})
    EXPECT_EQ(Assemble("123456", "14000000000000123", "100", date).built.at(0).substr(5, 4), factor) << date;
  FakeHost before;
  before.answers = {"123456", "14000000000000123", "100", "06/10/1997"};
  EXPECT_THROW(Montarcdigodebarras1Click(before), ConversionError);
  EXPECT_TRUE(before.report.empty());
  // The value is reduced to its digits, the first ten of them.
  Assembly a = Assemble("123456", "14000000000000123", "R$ 1.234,56", "06/12/2026");
  EXPECT_EQ(a.host.report[3], "Valor do título  : 1.234,56"_cp);
  EXPECT_EQ(a.built.at(0).substr(9, 10), "0000123456");
  EXPECT_EQ(Assemble("123456", "14000000000000123", "123456789012", "06/12/2026").built.at(0).substr(9, 10),
            "1234567890");
}

TEST(BoletoAssembly, SigcbBarcodesPassTheSigcbCheck) {
  std::mt19937 rng(44);
  const auto digits = [&](int n) {
    std::string s;
    for (int i = 0; i < n; ++i) s += static_cast<char>('0' + rng() % 10);
    return s;
  };
  for (int i = 0; i < 100; ++i) {
    const std::string cedente = digits(6), nossoNumero = std::string(1, "12"[i % 2]) + digits(16);
    const Assembly a = Assemble(cedente, nossoNumero, digits(8), "06/12/2026");
    for (const std::string& barcode : a.built) {
      FakeHost check;
      check.answers = {barcode};
      ASSERT_EQ(CdigodebarrasSIGCB1Click(check), kClean) << barcode;
      EXPECT_EQ(check.report[5], Cat("CÓDIGO DO CEDENTE = "_cp, a.host.report[1].substr(19), " Dígito OK."_cp));
      EXPECT_EQ(check.report[6], Cat("Nosso Número      = "_cp, nossoNumero.substr(0, 2), "/", nossoNumero.substr(2),
                                     "-", a.host.report[2].back(), " ( Confirme o DV no boleto )"));
    }
  }
}

TEST(BoletoAssembly, SicobBarcodesPassTheSicobChecks) {
  const struct {
    std::string cedente, nossoNumero, barcode;
    std::string_view type;
  } cases[] = {
      // Operation 870 with a 15-digit Nosso Número: "87" at 29-30.
      {"012387000012345", "800000000000456", testing::SicobBarcode16("12345", "0123", "00000000000456"),
       "TÍTULO SEM REGISTRO E NN COM 16 POSIÇÕES"_cp},
      // Operation 870 with a 10-digit Nosso Número: the second layout.
      {"012387000012345", "9000000001", testing::SicobBarcode11("9000000001", "012387000012345"),
       "TÍTULO COM REGISTRO - RÁPIDA E NN COM 11 POSIÇÕES"_cp},
      {"012300100012345", "8000000001", testing::SicobBarcode11("8000000001", "012300100012345"),
       "TÍTULO SEM REGISTRO E NN COM 11 POSIÇÕES"_cp},
  };
  for (const auto& c : cases) {
    const Assembly a = Assemble(c.cedente, c.nossoNumero, "12345", "06/12/2026");
    EXPECT_EQ(a.verdict, kClean);
    ASSERT_EQ(a.built.size(), 2u);
    EXPECT_EQ(a.built[0], c.barcode);
    EXPECT_EQ(a.host.report[1], Cat("Código do cedente: "_cp, c.cedente, "-", testing::SicobCedenteDigit(c.cedente)));
    EXPECT_EQ(a.host.report[2],
              Cat("Nosso Número     : "_cp, c.nossoNumero, "-", testing::NossoNumeroDigit(c.nossoNumero)));
    EXPECT_EQ(a.host.report.back(), "============================================================== ");
    TempFile file(CrLfFile(a.built));
    FakeHost check;
    check.files = {file.path()};
    EXPECT_EQ(CdigodebarrasSICOBViaarquivo1Click(check), kClean);
    EXPECT_EQ(check.report.at(0), c.type);
    EXPECT_EQ(check.report.at(11), c.type) << "the barcode without factor";
  }
}

TEST(BoletoAssembly, InvalidInputIsOneLineAndBuildsNothing) {
  const struct {
    std::string cedente, nossoNumero, date;
    std::string_view line;
  } cases[] = {
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
  for (const auto& c : cases) {
    const Assembly a = Assemble(c.cedente, c.nossoNumero, "100", c.date);
    EXPECT_EQ(a.verdict, kFaulty) << c.line;
    EXPECT_EQ(a.host.report, L({c.line}));
    EXPECT_TRUE(a.host.messages.empty());
  }
  // A SICOB cedente with a 17-digit Nosso Número: the message box.
  const Assembly a = Assemble("012387000012345", "14000000000000123", "100", "06/12/2026");
  EXPECT_EQ(a.verdict, kFaulty);
  EXPECT_TRUE(a.host.report.empty());
  EXPECT_EQ(a.host.messages, L({"Nosso Número com tamanho inválido use tamanho 15 ou 10"_cp}));
}

}  // namespace
}  // namespace verilote
