// The two blank homologation forms: collection boletos and union-contribution
// boletos. Fixed text: the line count, the first and last lines and the dated
// heading, the one line that varies.
#include "barcodes/union_homologation.hpp"

#include "barcodes/boleto_builder.hpp"
#include "barcodes/boleto_commands.hpp"

namespace verilote {
namespace {

TEST(HomologationForm, AppendsTheDatedForm) {
  const struct {
    Handler command;
    std::size_t size;
    std::string_view dated;
  } forms[] = {
      {RelatriodeHomologao1Click, 62, "CAIXA ECONÔMICA FEDERAL               NCOSB001 - GERADO EM 02/01/2027"_cp},
      {RelatoriodeHomologao1Click, 61, "CAIXA ECONÔMICA FEDERAL               TCSSB001 - GERADO EM 02/01/2027"_cp}};
  for (const auto& f : forms) {
    FakeHost host;
    host.report = {"before"};
    host.today = {2027, 1, 2};
    EXPECT_EQ(RunCommand(f.command, host).status, kRunClean);
    ASSERT_EQ(host.report.size(), 1 + f.size);
    EXPECT_EQ(Slice(host.report, 0, 2), L({"before", " "}));
    EXPECT_EQ(host.report[4], f.dated);
    EXPECT_EQ(host.report.back(), " Local ________________       HOMOLOGADOR ______________________________");
    EXPECT_EQ(host.clears, 0);
  }
}

}  // namespace
}  // namespace verilote
