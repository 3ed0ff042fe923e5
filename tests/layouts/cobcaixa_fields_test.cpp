// The findings of the CobCaixa 2.x import validators name their fields: the
// dictionaries hold, every byte broken in the clean examples is named by the
// findings about its record, and a broken value resolves to the bytes found
// and the value the layout expects. The last test holds every import layout's
// examples (CobCaixa, CapCaixa, SAD) to naming a known field in each finding.
#include <gtest/gtest.h>

#include <algorithm>

#include "app/cp1252.hpp"
#include "detect/field_registry.hpp"
#include "layouts/capcaixa.hpp"
#include "layouts/cobcaixa.hpp"
#include "layouts/import_fields_checks.hpp"
#include "remittance/sad.hpp"
#include "remittance/sigcb240_builder.hpp"

namespace verilote::testing {
namespace {

using Lines = std::vector<std::string>;

TEST(CobcaixaFields, DictionariesHold) {
  EXPECT_EQ(DictionaryFaults(kCobcaixaSacadosFields, 254), Lines{});
  EXPECT_EQ(DictionaryFaults(kCobcaixaTitulos220Fields, 449), Lines{});
  EXPECT_EQ(DictionaryFaults(kCobcaixaTitulos233Fields, 449), Lines{});
}

TEST(CobcaixaFields, EveryBrokenByteIsNamed) {
  EXPECT_EQ(UncoveredMutations(Sacados1Click, Example("cobcaixa/sacados_ok.txt")), Lines{});
  for (const Handler bills : {Ttulos1Click, TtulosV2331Click})
    EXPECT_EQ(UncoveredMutations(bills, Example("cobcaixa/titulos_ok.txt")), Lines{});
}

// Bill 1 of the example: "Nosso Número" 9000000001, digit 4, portfolio 12.
// Payer 1: CPF 529.982.247-25.
TEST(CobcaixaFields, BrokenValuesResolve) {
  std::string bills = Example("cobcaixa/titulos_ok.txt"), payers = Example("cobcaixa/sacados_ok.txt");
  Put(bills, 41, "5");
  EXPECT_EQ(Resolved(TtulosV2331Click, bills),
            (Lines{std::string("1 41 5=dígito 4"_cp),
                   std::string("1 31-40 9000000001=começando com 9, ou zeros (carteira 12)"_cp)}));
  Put(payers, 117, "4");
  EXPECT_EQ(Resolved(Sacados1Click, payers),
            (Lines{"1 107-126 52998224724         =CPF 52998224725", "1 106 F=F ou J"}));
  // Version 2.3.3 takes a booklet's first instalment.
  Put(bills, 41, "4");
  Put(bills, 164, "2S001");
  EXPECT_EQ(Resolved(TtulosV2331Click, bills), Lines{});
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
    TempFile file(Example(name));
    FindingHost host;
    host.files = {file.path()};
    RunCommand(handler, host);
    Lines named, found;
    std::copy_if(host.report.begin(), host.report.end(), std::back_inserter(named),
                 [](const std::string& line) { return line.starts_with("Linha ") || line.starts_with("Erro"); });
    for (const SeenFinding& f : host.findings)
      if (f.record > 0 && ResolveFields({f.line, f.record, f.rec, f.kind, f.fields}).at(0).known)
        found.push_back(f.line);
    EXPECT_EQ(found, named) << name;
    EXPECT_GT(named.size(), 1u) << name;
  }
}

}  // namespace
}  // namespace verilote::testing
