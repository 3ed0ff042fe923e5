// The SIEMD field dictionaries (layouts 01 and 03) and the findings that name
// them: every broken byte of a clean example is named by the findings it
// causes, the examples' finding lines name their fields, and a broken field
// resolves to what it holds and what the layout expects.
#include <gtest/gtest.h>

#include "app/cp1252.hpp"
#include "detect/field_registry.hpp"
#include "layouts/layout_fields_checks.hpp"
#include "layouts/siemd.hpp"

namespace verilote {
namespace {

using testing::FindingsOf;
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
// the finding that names `code` resolves to the bytes found there and what
// the layout expects. Record 2 is the lote header: agency 1234-3, operation
// 001, account 00012345-9.
struct Edit {
  std::size_t record, pos;
  std::string_view value;
};
struct Resolved {
  const Layout& layout;
  Edit edit;
  std::string_view code, found, expected;
};

std::string Broken(std::string bytes, const Edit& e) {
  return bytes.replace((e.record - 1) * 152 + e.pos - 1, e.value.size(), e.value);
}

TEST(SiemdFields, BrokenFieldsResolveToWhatIsExpected) {
  const std::vector<Resolved> cases = {
      {kLayouts[0], {2, 28, "9"}, "1.06", "9", "dígito 3"_cp},
      {kLayouts[0], {2, 40, "0"}, "1.08", "000123450", "numérico, dígito 9"_cp},
      {kLayouts[1], {2, 28, "9"}, "1.06", "9", "dígito 3"_cp},
      {kLayouts[1], {1, 125, "EMISSAO DOCUMENTO"}, "0.15", "EMISSAO DOCUMENTO", "EMISSAO DOCTOL001"},
  };
  for (const Resolved& c : cases) {
    const std::string clean = ReadBytes(kDir + c.layout.name + "_ok.rem");
    bool seen = false;
    for (const testing::SeenFinding& f : FindingsOf(c.layout.handler, Broken(clean, c.edit))) {
      for (const ResolvedField& r : ResolveFields({f.line, f.record, f.rec, f.kind, f.fields})) {
        if (r.code != c.code) continue;
        seen = true;
        EXPECT_EQ(f.record, c.edit.record) << c.code;
        EXPECT_EQ(r.found, c.found) << c.code;
        EXPECT_EQ(r.expected, c.expected) << c.code;
      }
    }
    EXPECT_TRUE(seen) << c.layout.name << " " << c.code;
  }
}

}  // namespace
}  // namespace verilote
