// The findings of the old SAD/SICOB validator name their fields: the
// dictionary holds, every byte broken in the clean example is named by the
// findings about its record, and the count of the file is its header's.
#include <gtest/gtest.h>

#include "app/cp1252.hpp"
#include "detect/field_registry.hpp"
#include "layouts/import_fields_checks.hpp"
#include "remittance/sad.hpp"
#include "remittance/sigcb240_builder.hpp"

namespace verilote::testing {
namespace {

using Lines = std::vector<std::string>;

TEST(SadFields, EveryBrokenByteIsNamed) {
  EXPECT_EQ(UncoveredMutations(SadSicob1Click, Example("sad/remessa_sad_ok.txt")), Lines{});
}

TEST(SadFields, FindingsResolve) {
  std::string file = Example("sad/remessa_sad_ok.txt");
  Put(file, 164 + 15, "X");  // record 2's movement code
  Put(file, 11, "6");        // six records announced, five read
  EXPECT_EQ(
      Resolved(SadSicob1Click, file),
      (Lines{"2 15 X=I, A ou E", std::string("1 6-11 000006=numérico, igual ao número de registros do arquivo"_cp)}));
  EXPECT_EQ(kSadFields.kindOf(file.substr(0, 162))->name, "Header");
  EXPECT_EQ(kSadFields.kindOf(file.substr(164, 162))->name, "Sacado");
}

}  // namespace
}  // namespace verilote::testing
