// The findings of the CobCaixa 2.x import validators name their fields: the
// dictionaries hold, every byte broken in the clean examples is named by the
// findings about its record, and a broken value resolves to the bytes found
// and the value the layout expects. The last test holds every import layout's
// examples (CobCaixa, CapCaixa, SAD) to naming a known field in each finding.
#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "app/cp1252.hpp"
#include "app/report.hpp"
#include "detect/field_registry.hpp"
#include "layouts/capcaixa.hpp"
#include "layouts/cobcaixa.hpp"
#include "remittance/sad.hpp"
#include "remittance/sigcb240_builder.hpp"
#include "support/field_checks.hpp"

namespace verilote {
namespace {

using testing::FindingsOf;
using testing::Put;
using testing::ReadBytes;
using Lines = std::vector<std::string>;

std::string Example(std::string_view name) { return ReadBytes(Cat(VERILOTE_SOURCE_DIR "/examples/", name)); }

TEST(CobcaixaFields, DictionariesHold) {
  EXPECT_EQ(testing::DictionaryFaults(kCobcaixaSacadosFields, 254), Lines{});
  EXPECT_EQ(testing::DictionaryFaults(kCobcaixaTitulos220Fields, 449), Lines{});
  EXPECT_EQ(testing::DictionaryFaults(kCobcaixaTitulos233Fields, 449), Lines{});
}

TEST(CobcaixaFields, EveryBrokenByteIsNamed) {
  EXPECT_EQ(testing::UncoveredMutations(Sacados1Click, Example("cobcaixa/sacados_ok.txt")), Lines{});
  EXPECT_EQ(testing::UncoveredMutations(Ttulos1Click, Example("cobcaixa/titulos_ok.txt")), Lines{});
  EXPECT_EQ(testing::UncoveredMutations(TtulosV2331Click, Example("cobcaixa/titulos_ok.txt")), Lines{});
}

// Bill 1 of the example: "Nosso Número" 9000000001, digit 4, portfolio 12.
TEST(CobcaixaFields, BrokenValuesResolve) {
  std::string bills = Example("cobcaixa/titulos_ok.txt");
  Put(bills, 41, "5");
  const auto dv = FindingsOf(TtulosV2331Click, bills);
  ASSERT_EQ(dv.size(), 1u);
  const auto fields = ResolveFields({dv[0].line, dv[0].record, dv[0].rec, dv[0].kind, dv[0].fields});
  ASSERT_EQ(fields.size(), 2u);
  EXPECT_EQ(fields[0].found + " " + fields[0].expected, "5 dígito 4"_cp);
  EXPECT_EQ(fields[1].found + " " + fields[1].expected, "9000000001 começando com 9, ou zeros (carteira 12)"_cp);

  std::string payers = Example("cobcaixa/sacados_ok.txt");
  Put(payers, 117, "4");  // 529.982.247-24
  const auto cpf = FindingsOf(Sacados1Click, payers);
  ASSERT_EQ(cpf.size(), 1u);
  EXPECT_EQ(ResolveFields({cpf[0].line, 1, cpf[0].rec, cpf[0].kind, cpf[0].fields})[0].expected, "CPF 52998224725");

  // Version 2.3.3 takes a booklet's first instalment.
  Put(bills, 41, "4");
  Put(bills, 164, "2S001");
  EXPECT_TRUE(FindingsOf(TtulosV2331Click, bills).empty());
}

// Every line of the examples' reports that names a record ("Linha", "Erro")
// is a finding that names a field its record kind knows.
TEST(ImportLayoutFields, ExamplesNameKnownFields) {
  const std::pair<Handler, const char*> runs[] = {
      {Sacados1Click, "cobcaixa/sacados_com_erros.txt"},
      {TtulosV2331Click, "cobcaixa/titulos_com_erros.txt"},
      {CapcaixaImportaodeguias1Click, "capcaixa/guias_sindicais_com_erros.txt"},
      {SadSicob1Click, "sad/remessa_sad_com_erros.txt"},
  };
  for (const auto& [handler, name] : runs) {
    testing::TempFile file(Example(name));
    testing::FindingHost host;
    host.files = {file.path()};
    RunCommand(handler, host);
    std::size_t named = 0;
    for (const std::string& line : host.report) {
      if (line.rfind("Linha ", 0) != 0 && line.rfind("Erro", 0) != 0) continue;
      ++named;
      const auto finding = std::find_if(host.findings.begin(), host.findings.end(),
                                        [&](const testing::SeenFinding& f) { return f.line == line; });
      ASSERT_NE(finding, host.findings.end()) << name << ": " << line;
      EXPECT_GT(finding->record, 0u) << name << ": " << line;
      const auto fields = ResolveFields({line, finding->record, finding->rec, finding->kind, finding->fields});
      EXPECT_TRUE(!fields.empty() && fields[0].known) << name << ": " << line;
    }
    EXPECT_GT(named, 1u) << name;
  }
}

}  // namespace
}  // namespace verilote
