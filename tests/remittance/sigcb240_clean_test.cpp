// The SIGCB 240 validator on valid files: the whole report, byte for byte.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "app/cp1252.hpp"
#include "remittance/sigcb240.hpp"
#include "remittance/sigcb240_builder.hpp"

namespace verilote {
namespace {

using testing::CleanSigcbFile;
using testing::CleanSigcbReport;
using testing::Lines;
using testing::Validate;

TEST(SigcbRemessa240, CleanFilesAreAllOk) {
  for (const std::string_view layout : {"101", "107"}) {
    const testing::Validation v = Validate(SIGCBRemessa1Click, CleanSigcbFile(layout).Lines());
    EXPECT_EQ(v.status, Outcome::Status::Clean);
    EXPECT_EQ(v.report, CleanSigcbReport(layout)) << layout;
    ASSERT_EQ(v.host.dialogs.size(), 1u);
    EXPECT_EQ(v.host.dialogs[0].title, "Selecione o arquivo remessa SIGCB");
    EXPECT_EQ(v.host.dialogs[0].filter, FileFilter::Remessa);
    EXPECT_EQ(v.host.messages, Lines({"Não está validando valores zerados e do segmento Y, somente valida o Y53."_cp}));
  }
}

TEST(SigcbRemessa240, PartialValidationOfTheCleanFileAddsItsNoticeLine) {
  const testing::Validation v = Validate(SIGCBRemessaValidaserros1Click, CleanSigcbFile("101").Lines());
  EXPECT_EQ(v.status, Outcome::Status::Clean);
  std::vector<std::string> expected = CleanSigcbReport("101");
  const std::string_view notice =
      "****  Esta opção não valida algumas coisas que apesar de ser obrigatório no layout, a CAIXA por enquanto não valida o campo ****"_cp;
  expected.insert(expected.begin() + 1, std::string(notice));
  EXPECT_EQ(v.report, expected);
  EXPECT_EQ(v.host.messages, Lines({"Não está validando Regsitros especiais tipo Y e valores zerados."_cp}));
}

}  // namespace
}  // namespace verilote
