// The SIEMD field dictionaries (layouts 01 and 03) and the findings that name
// them: every broken byte of a clean example is named by the findings it
// causes, the examples' finding lines name their fields, and a broken field
// resolves to what it holds and what the layout expects.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "app/cp1252.hpp"
#include "detect/field_registry.hpp"
#include "layouts/import_fields_checks.hpp"
#include "layouts/layout_fields_checks.hpp"
#include "layouts/siemd.hpp"

namespace verilote {
namespace {

using testing::ReadBytes;
using Texts = std::vector<std::string>;

const std::string kDir = std::string(VERILOTE_SOURCE_DIR) + "/examples/siemd/remessa_siemd_layout";

struct Layout {
  Handler handler;
  const LayoutFields& fields;
  std::string name;  // "01" or "03"
};
const Layout kLayouts[] = {{SIDEMRemessa1Click, kSiemd01Fields, "01"}, {SIEMDArqu1Click, kSiemd03Fields, "03"}};

TEST(SiemdFields, EveryBrokenByteIsNamedByItsFindings) {
  for (const Layout& l : kLayouts) {
    const std::string clean = ReadBytes(kDir + l.name + "_ok.rem");
    EXPECT_EQ(testing::UncoveredSameKind(l.handler, l.fields, clean), Texts{}) << l.name;
  }
}

// One field of a clean example changed (records of 150 bytes and CR LF);
// the finding that names the field resolves to the bytes found there and
// what the layout expects. Record 2 is the lote header: agency 1234-3,
// operation 001, account 00012345-9.
TEST(SiemdFields, BrokenFieldsResolveToWhatIsExpected) {
  const struct {
    const Layout& layout;
    std::size_t record, pos;
    std::string_view value, resolved;  // resolved: "record code found=expected"
  } cases[] = {
      {kLayouts[0], 2, 28, "9", "2 1.06 9=dígito 3"_cp},
      {kLayouts[0], 2, 40, "0", "2 1.08 000123450=numérico, dígito 9"_cp},
      {kLayouts[1], 2, 28, "9", "2 1.06 9=dígito 3"_cp},
      {kLayouts[1], 1, 125, "EMISSAO DOCUMENTO", "1 0.15 EMISSAO DOCUMENTO=EMISSAO DOCTOL001"},
  };
  for (const auto& c : cases) {
    std::string broken = ReadBytes(kDir + c.layout.name + "_ok.rem");
    broken.replace((c.record - 1) * 152 + c.pos - 1, c.value.size(), c.value);
    EXPECT_THAT(testing::Resolved(c.layout.handler, broken), ::testing::Contains(std::string(c.resolved)))
        << c.layout.name;
  }
}

}  // namespace
}  // namespace verilote
