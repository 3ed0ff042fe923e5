// The findings of the CapCaixa guide import validator name their fields: the
// dictionary holds, every byte broken in guides of the clean examples is named
// by the findings about its line, and a broken value resolves to the bytes
// found and the value the layout expects.
#include <gtest/gtest.h>

#include "detect/field_registry.hpp"
#include "layouts/capcaixa.hpp"
#include "layouts/import_fields_checks.hpp"
#include "remittance/sigcb240_builder.hpp"

namespace verilote::testing {
namespace {

using Lines = std::vector<std::string>;

// The first `lines` guides of an example, with their CR LF.
std::string Guides(std::string_view name, std::size_t lines) {
  const std::string bytes = Example(Cat("capcaixa/", name));
  std::size_t end = 0;
  for (std::size_t i = 0; i < lines; ++i) end = bytes.find("\r\n", end) + 2;
  return bytes.substr(0, end);
}

TEST(CapcaixaFields, EveryBrokenByteIsNamed) {
  const Handler handler = CapcaixaImportaodeguias1Click;
  EXPECT_EQ(UncoveredMutations(handler, Guides("guias_sindicais_ok.txt", 2)), Lines{});
  EXPECT_EQ(UncoveredMutations(handler, Guides("concessionarias_ok.txt", 1)), Lines{});
  EXPECT_EQ(UncoveredMutations(handler, Guides("carnes_ok.txt", 1)), Lines{});
}

// The first union guide: CNPJ 11.222.333/0001-81, value kind 6, R$ 185,00.
TEST(CapcaixaFields, BrokenValuesResolve) {
  const Handler handler = CapcaixaImportaodeguias1Click;
  std::string guide = Guides("guias_sindicais_ok.txt", 1);
  Put(guide, 16, "2");
  EXPECT_EQ(Resolved(handler, guide),
            (Lines{"1 3-16 11222333000182=CNPJ 11222333000181", "1 2 2=1 (CPF), 2 (CNPJ) ou 3"}));
  // A line of type 3 in a file of utility bills, against the file's type.
  EXPECT_EQ(Resolved(handler, Guides("concessionarias_ok.txt", 1) + Guides("carnes_ok.txt", 1)), Lines{"2 1 3=2"});
  // A CPF at 6-16 and a reference quantity (kind 7) of zero are allowed.
  Put(guide, 2, "100052998224725");
  Put(guide, 91, "7000000000000000");
  EXPECT_EQ(Resolved(handler, guide), Lines{});
}

}  // namespace
}  // namespace verilote::testing
