// The menu "Retorno" through the host, as both windows run it: the dialogs
// asked for, in order, and the report; a dropped return file is read.
#include "returns/return_commands.hpp"

#include <gtest/gtest.h>

#include "app/command_table.hpp"
#include "detect/detect_command.hpp"
#include "returns/return_files.hpp"
#include "support/fake_host.hpp"

namespace verilote::testing {
namespace {

const std::string kZero15(15, '0');

std::string Rejection() {
  return Joined({Header240(), LoteHeader240(), T("03", "14000000000000125", "DOC3", kZero15, kZero15, "48"),
                 U("03", kZero15, kZero15, "06012014", "00000000")},
                "\r\n");
}

TEST(ReturnCommands, LerArquivoRetornoReadsTheFileChosen) {
  const TempFile file(Rejection(), ".ret");
  FakeHost host;
  host.files = {file.path()};
  EXPECT_EQ(LerArquivoRetorno1Click(host), Verdict::Faulty);
  ASSERT_EQ(host.dialogs.size(), 1u);
  EXPECT_EQ(host.dialogs[0].filter, FileFilter::Retorno);
  ASSERT_GE(host.report.size(), 4u);
  EXPECT_EQ(host.report[0], "Arquivo: SIGCB CNAB 240 - retorno (sigcb240-retorno)");
  EXPECT_EQ(host.report[3].substr(0, 36), "Registro 3 (rejeitado): nosso n\xFAmero");
}

// The remittance is asked last: the window opens the findings on its records.
TEST(ReturnCommands, ConferirAsksTheReturnThenTheRemittance) {
  const TempFile file(Rejection(), ".ret");
  const TempFile remittance(Joined({Header240('1', "101", ""), LoteHeader240(),
                                    Record(240, {{1, "10400013"}, {14, "P 01"}, {41, "14000000000000125"}})},
                                   "\r\n"),
                            ".rem");
  FakeHost host;
  host.files = {file.path(), remittance.path()};
  EXPECT_EQ(ConferirRetornoRemessa1Click(host), Verdict::Faulty);
  ASSERT_EQ(host.dialogs.size(), 2u);
  EXPECT_EQ(host.dialogs[0].filter, FileFilter::Retorno);
  EXPECT_EQ(host.dialogs[1].filter, FileFilter::Remessa);
  bool outcome = false;
  for (const std::string& line : host.report)
    outcome |= line.starts_with("Registro 3 da remessa: nosso n\xFAmero 14000000000000125, seu n\xFAmero -: rejeitada");
  EXPECT_TRUE(outcome);
}

TEST(ReturnCommands, ADroppedReturnIsReadNotValidated) {
  const TempFile file(Rejection(), ".ret");
  FakeHost host;
  host.files = {file.path()};
  EXPECT_EQ(ValidarArquivoDetectarLayout1Click(host), Verdict::Faulty);
  ASSERT_FALSE(host.report.empty());
  EXPECT_EQ(host.report[0], "Arquivo: SIGCB CNAB 240 - retorno (sigcb240-retorno)");
}

}  // namespace
}  // namespace verilote::testing
