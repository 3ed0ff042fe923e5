#include "barcodes/union_homologation.hpp"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "app/cp1252.hpp"
#include "support/fake_host.hpp"

namespace verilote {
namespace {

using testing::FakeHost;

TEST(UnionHomologation, FormWithTodaysDate) {
  FakeHost host;
  host.report = {"linha anterior"};
  EXPECT_EQ(RunCommand(RelatoriodeHomologao1Click, host).status, Outcome::Status::Clean);
  ASSERT_EQ(host.report.size(), 1u + 61u);
  EXPECT_EQ(host.clears, 0);
  const std::vector<std::string> form(host.report.begin() + 1, host.report.end());
  EXPECT_EQ(form[0], " ");
  EXPECT_EQ(form[2], " ");
  EXPECT_EQ(form[3], "CAIXA ECONÔMICA FEDERAL               TCSSB001 - GERADO EM 06/12/2026"_cp);
  EXPECT_EQ(form[4], "RELATÓRIO DE HOMOLOGAÇÃO DOS BLOQUETOS     CÓDIGO SINDICAL: "_cp);
  EXPECT_EQ(form[5], std::string(72, '='));
  EXPECT_EQ(form[14], "(   ) O código do sindicato              e o campo agência/código do cedente conferem"_cp);
  EXPECT_EQ(form[23], "(   ) Ficha compe contém os campos  (=) valor doc; (-) Desc/Abat, "_cp);
  EXPECT_EQ(form[36], "(   ) Amostras têm dígito geral de 1 a 9"_cp);
  EXPECT_EQ(form[41], "(   ) O Boleto NÃO está homologado com erros para os campos não marcados"_cp);
  EXPECT_EQ(form[44], "Observação:______________________________________________________________"_cp);
  EXPECT_EQ(form[58], std::string(73, '_'));
  EXPECT_EQ(form[59], " ");
  EXPECT_EQ(form[60], " Local ________________       HOMOLOGADOR ______________________________");
}

TEST(UnionHomologation, TwiceAppendsTwoForms) {
  FakeHost host;
  host.today = {2027, 1, 2};
  RunCommand(RelatoriodeHomologao1Click, host);
  RunCommand(RelatoriodeHomologao1Click, host);
  ASSERT_EQ(host.report.size(), 122u);
  EXPECT_EQ(host.report[64], "CAIXA ECONÔMICA FEDERAL               TCSSB001 - GERADO EM 02/01/2027"_cp);
  EXPECT_EQ(std::vector<std::string>(host.report.begin(), host.report.begin() + 61),
            std::vector<std::string>(host.report.begin() + 61, host.report.end()));
}

}  // namespace
}  // namespace verilote
