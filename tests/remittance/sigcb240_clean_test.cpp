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
using testing::Validate;
using testing::Validation;

std::string Equals(std::size_t n) { return std::string(n, '='); }

const std::string kWarning{"****  Este aplicativo não pode ser utilizado como única forma de validação ****"_cp};

// The report of CleanSigcbFile(layout): header, two lotes, summary.
std::vector<std::string> CleanReport(std::string_view cedente, std::string_view lote2Inscricao) {
  const std::string convenio = "Convenio: " + std::string(cedente) + " Inscricao: 11.222.333/0001-81";
  return {
      kWarning,
      "Validando arquivo: FILE",
      Equals(40) + " HEADER " + Equals(40),
      "Cedente centralizador: EMPRESA CENTRALIZADORA LTDA   ",
      "Tipo de remessa: REMESSA-PRODUCAO",
      "Banco: CAIXA ECONOMICA FEDERAL        Geracao: 06/12/2026 as 12:00:00 seq 000123",
      convenio,
      Equals(40) + " HEADER OK " + Equals(37),
      Equals(38) + " CAPA DE LOTE " + Equals(36),
      "Num remessa: 00000123 Gravacao: 06/12/2026",
      "Convenio: " + std::string(cedente.substr(0, 6)) + " Inscricao: 11.222.333/0001-81",
      Equals(37) + " CAPA DE LOTE OK " + Equals(34),
      "Total de registros do lote = 9",
      Equals(37) + " FIM DE UM LOTE " + Equals(34),
      Equals(38) + " CAPA DE LOTE " + Equals(36),
      "Num remessa: 00000123 Gravacao: 06/12/2026",
      "Convenio: " + std::string(cedente.substr(0, 6)) + " Inscricao: " + std::string(lote2Inscricao),
      Equals(37) + " CAPA DE LOTE OK " + Equals(34),
      "Total de registros do lote = 7",
      "REGISTROS DOS TITULOS TODOS OK !!!",
  };
}

TEST(SigcbRemessa240, CleanFileOfLayout101IsAllOk) {
  const Validation v = Validate(SIGCBRemessa1Click, CleanSigcbFile("101").Lines());
  EXPECT_EQ(v.status, Outcome::Status::Clean);
  EXPECT_EQ(v.report, CleanReport("123456", "12.ABC.345/01DE-35"));
  ASSERT_EQ(v.host.dialogs.size(), 1u);
  EXPECT_EQ(v.host.dialogs[0].title, "Selecione o arquivo remessa SIGCB");
  EXPECT_EQ(v.host.dialogs[0].filter, FileFilter::Remessa);
  EXPECT_EQ(v.host.messages, std::vector<std::string>{std::string(
                                 "Não está validando valores zerados e do segmento Y, somente valida o Y53."_cp)});
  EXPECT_EQ(v.host.clears, 1);
}

TEST(SigcbRemessa240, CleanFileOfLayout107IsAllOk) {
  // Layout 107 carries a seven-digit cedente code; the lote header still
  // shows positions 34-39 as the convênio.
  const Validation v = Validate(SIGCBRemessa1Click, CleanSigcbFile("107").Lines());
  EXPECT_EQ(v.status, Outcome::Status::Clean);
  EXPECT_EQ(v.report, CleanReport("1234567", "12.ABC.345/01DE-35"));
}

TEST(SigcbRemessa240, PartialValidationOfTheCleanFileAddsItsNoticeLine) {
  const Validation v = Validate(SIGCBRemessaValidaserros1Click, CleanSigcbFile("101").Lines());
  EXPECT_EQ(v.status, Outcome::Status::Clean);
  std::vector<std::string> expected = CleanReport("123456", "12.ABC.345/01DE-35");
  expected.insert(
      expected.begin() + 1,
      std::string(
          "****  Esta opção não valida algumas coisas que apesar de ser obrigatório no layout, a CAIXA por enquanto não valida o campo ****"_cp));
  EXPECT_EQ(v.report, expected);
  EXPECT_EQ(v.host.messages, std::vector<std::string>{
                                 std::string("Não está validando Regsitros especiais tipo Y e valores zerados."_cp)});
}

TEST(SigcbRemessa240, OneLoteOfOnePAndOneQ) {
  testing::SigcbFile file;
  file.lotes = {{testing::SigcbP("101"), testing::SigcbQ()}};
  const Validation v = Validate(SIGCBRemessa1Click, file.Lines());
  EXPECT_EQ(v.status, Outcome::Status::Clean);
  ASSERT_GE(v.report.size(), 2u);
  EXPECT_EQ(v.report[v.report.size() - 2], "Total de registros do lote = 4");
  EXPECT_EQ(v.report.back(), "REGISTROS DOS TITULOS TODOS OK !!!");
}

TEST(SigcbRemessa240, CancelledDialogEndsSilently) {
  testing::FakeHost host;
  EXPECT_EQ(SIGCBRemessa1Click(host), Verdict::Clean);
  EXPECT_TRUE(host.report.empty());
  EXPECT_TRUE(host.messages.empty());
  EXPECT_EQ(host.clears, 0);
}

}  // namespace
}  // namespace verilote
