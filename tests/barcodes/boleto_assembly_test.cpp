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

}  // namespace
}  // namespace verilote
