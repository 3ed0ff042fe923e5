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

}  // namespace
}  // namespace verilote::testing
