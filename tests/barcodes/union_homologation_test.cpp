// The two blank homologation forms: collection boletos and union-contribution
// boletos. Anchor rows (the dated heading, the rows that differ, the last
// row) and the exact line count, rather than the whole form typed again.
#include "barcodes/union_homologation.hpp"

#include "barcodes/boleto_builder.hpp"
#include "barcodes/boleto_commands.hpp"

namespace verilote {
namespace {

struct FormCase {
  const char* name;
  Handler command;
  std::size_t size;
  std::vector<std::pair<std::size_t, std::string_view>> rows;  // row index, text
};

void PrintTo(const FormCase& c, std::ostream* os) { *os << c.name; }

class HomologationForm : public ::testing::TestWithParam<FormCase> {};

TEST_P(HomologationForm, AppendsTheDatedFormEachTime) {
  const FormCase& c = GetParam();
  FakeHost host;
  host.report = {"before"};
  host.today = {2027, 1, 2};
  EXPECT_EQ(RunCommand(c.command, host).status, kRunClean);
  ASSERT_EQ(host.report.size(), 1 + c.size);
  EXPECT_EQ(host.report[0], "before");
  const std::vector<std::string> form(host.report.begin() + 1, host.report.end());
  for (const std::size_t blank : {0u, 1u, 2u}) EXPECT_EQ(form[blank], " ");
  EXPECT_EQ(form[5], std::string(72, '='));
  for (const auto& [row, text] : c.rows) EXPECT_EQ(form.at(row), text) << row;
  EXPECT_EQ(form[c.size - 3], std::string(73, '_'));
  EXPECT_EQ(form[c.size - 2], " ");
  EXPECT_EQ(form.back(), " Local ________________       HOMOLOGADOR ______________________________");
  // Run again: the same form once more, nothing cleared.
  RunCommand(c.command, host);
  ASSERT_EQ(host.report.size(), 1 + 2 * c.size);
  EXPECT_EQ(std::vector<std::string>(host.report.begin() + 1 + c.size, host.report.end()), form);
  EXPECT_EQ(host.clears, 0);
}

INSTANTIATE_TEST_SUITE_P(
    Forms, HomologationForm,
    ::testing::Values(
        FormCase{"Boletos",
                 RelatriodeHomologao1Click,
                 62,
                 {{3, "CAIXA ECONÔMICA FEDERAL               NCOSB001 - GERADO EM 02/01/2027"_cp},
                  {4, "RELATÓRIO DE HOMOLOGAÇÃO DOS BLOQUETOS            CEDENTE: "_cp},
                  {15, "(   ) O código do cedente              e o campo agência/código do cedente conferem"_cp},
                  {37, "(   ) Amostras têm dígito geral de 1 a 9"_cp}}},
        FormCase{"UnionContribution",
                 RelatoriodeHomologao1Click,
                 61,
                 {{3, "CAIXA ECONÔMICA FEDERAL               TCSSB001 - GERADO EM 02/01/2027"_cp},
                  {4, "RELATÓRIO DE HOMOLOGAÇÃO DOS BLOQUETOS     CÓDIGO SINDICAL: "_cp},
                  {14, "(   ) O código do sindicato              e o campo agência/código do cedente conferem"_cp},
                  {44, "Observação:______________________________________________________________"_cp}}}),
    [](const ::testing::TestParamInfo<FormCase>& info) { return std::string(info.param.name); });

}  // namespace
}  // namespace verilote
