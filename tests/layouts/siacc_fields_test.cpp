// The SIACC field dictionary and the findings that name it: every broken
// byte of the clean example is named by the findings it causes, the
// examples' finding lines name their fields, and a broken field resolves to
// what it holds and what the layout expects.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "app/cp1252.hpp"
#include "detect/field_registry.hpp"
#include "layouts/import_fields_checks.hpp"
#include "layouts/layout_fields_checks.hpp"
#include "layouts/siacc.hpp"

namespace verilote {
namespace {

using testing::ReadBytes;
using Texts = std::vector<std::string>;

const std::string kDir = std::string(VERILOTE_SOURCE_DIR) + "/examples/siacc/";

TEST(SiaccFields, EveryBrokenByteIsNamedByItsFindings) {
  const std::string clean = ReadBytes(kDir + "remessa_siacc_ok.rem");
  EXPECT_EQ(testing::UncoveredSameKind(CaixaProgramado1Click, kSiaccFields, clean), Texts{});
}

// One byte of the clean example changed; the finding that names the field
// resolves to the bytes found there and what the layout expects. Records:
// 1 file header, 2 lote header, 3 A (CAIXA account), 12 J (CAIXA boleto).
TEST(SiaccFields, BrokenFieldsResolveToWhatIsExpected) {
  const struct {
    std::size_t record, pos;
    std::string_view value;
    std::string_view resolved;  // "record code found=expected"
  } cases[] = {
      {1, 71, "9", "1 0.17 9=dígito 3"_cp},
      {2, 58, "9", "2 1.16 9=dígito 3"_cp},
      {3, 42, "0", "3 A.13 0=dígito 8 (SIDEC) ou 2 (NSGD)"_cp},
      {3, 18, "999", "3 A.08 999=018, 700, 000 ou 888 (000 em pagamento de salário)"_cp},
      {12, 22, "0", "12 J.10 0=dígito 5"_cp},
      {12, 23, "1600", "12 J.11 1600=fator 1656"},
      // A byte the bank's systems do not read: the record's warning names
      // the field that holds it.
      {1, 80, "\xE7", "1 0.19 EMPRESA\xE7TESTE LTDA            ="},
  };
  const std::string clean = ReadBytes(kDir + "remessa_siacc_ok.rem");
  for (const auto& c : cases) {
    std::string broken = clean;
    broken.replace((c.record - 1) * 242 + c.pos - 1, c.value.size(), c.value);
    EXPECT_THAT(testing::Resolved(CaixaProgramado1Click, broken), ::testing::Contains(std::string(c.resolved)));
  }
}

}  // namespace
}  // namespace verilote
