// The findings of the CapCaixa guide import validator name their fields: the
// dictionary holds, every byte broken in guides of the clean examples is named
// by the findings about its line, and a broken value resolves to the bytes
// found and the value the layout expects.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "app/report.hpp"
#include "detect/field_registry.hpp"
#include "layouts/capcaixa.hpp"
#include "remittance/sigcb240_builder.hpp"
#include "support/field_checks.hpp"

namespace verilote {
namespace {

using testing::FindingsOf;
using testing::Put;
using Lines = std::vector<std::string>;

// The first `lines` guides of an example, with their CR LF.
std::string Guides(std::string_view name, std::size_t lines) {
  const std::string bytes = testing::ReadBytes(Cat(VERILOTE_SOURCE_DIR "/examples/capcaixa/", name));
  std::size_t end = 0;
  for (std::size_t i = 0; i < lines; ++i) end = bytes.find("\r\n", end) + 2;
  return bytes.substr(0, end);
}

TEST(CapcaixaFields, DictionariesHold) {
  for (const LayoutFields* layout : {&kCapcaixaSindicalFields, &kCapcaixaConcessionariasFields, &kCapcaixaCarnesFields})
    EXPECT_EQ(testing::DictionaryFaults(*layout, 984), Lines{});
}

TEST(CapcaixaFields, EveryBrokenByteIsNamed) {
  const Handler handler = CapcaixaImportaodeguias1Click;
  EXPECT_EQ(testing::UncoveredMutations(handler, Guides("guias_sindicais_ok.txt", 2)), Lines{});
  EXPECT_EQ(testing::UncoveredMutations(handler, Guides("concessionarias_ok.txt", 1)), Lines{});
  EXPECT_EQ(testing::UncoveredMutations(handler, Guides("carnes_ok.txt", 1)), Lines{});
}

// Resolves the fields of the only finding of `file`, as "found=expected" each.
Lines Resolved(const std::string& file) {
  const auto findings = FindingsOf(CapcaixaImportaodeguias1Click, file);
  if (findings.size() != 1) return {Cat(findings.size(), " findings")};
  const auto& f = findings[0];
  Lines out;
  for (const ResolvedField& field : ResolveFields({f.line, f.record, f.rec, f.kind, f.fields}))
    out.push_back(Cat(field.found, "=", field.expected));
  return out;
}

// The first union guide: CNPJ 11.222.333/0001-81, value kind 6, R$ 185,00.
TEST(CapcaixaFields, BrokenValuesResolve) {
  std::string guide = Guides("guias_sindicais_ok.txt", 1);
  Put(guide, 16, "2");
  EXPECT_EQ(Resolved(guide), (Lines{"11222333000182=CNPJ 11222333000181", "2=1 (CPF), 2 (CNPJ) ou 3"}));
  // A line of type 3 in a file of utility bills, against the file's type.
  const std::string mixed = Guides("concessionarias_ok.txt", 1) + Guides("carnes_ok.txt", 1);
  EXPECT_EQ(Resolved(mixed), Lines{"3=2"});
  // A CPF at 6-16 and a reference quantity (kind 7) of zero are allowed.
  Put(guide, 2, "100052998224725");
  Put(guide, 91, "7000000000000000");
  EXPECT_TRUE(FindingsOf(CapcaixaImportaodeguias1Click, guide).empty());
}

}  // namespace
}  // namespace verilote
