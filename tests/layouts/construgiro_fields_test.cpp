// The field dictionary of the Construgiro remittance and the fields its
// findings name.
#include <gtest/gtest.h>

#include "app/cp1252.hpp"
#include "app/report.hpp"
#include "detect/field_registry.hpp"
#include "layouts/construgiro.hpp"
#include "layouts/construgiro_builder.hpp"
#include "layouts/layout_fields_checks.hpp"
#include "support/field_checks.hpp"

namespace verilote {
namespace {

TEST(ConstrugiroFields, EveryBrokenByteIsNamedByItsFindings) {
  const std::string clean = testing::CrLfFile(testing::CleanConstrugiroFile().Lines());
  EXPECT_EQ(testing::UncoveredSameKind(Construgiro1Click, kConstrugiroFields, clean), std::vector<std::string>{});
}

TEST(ConstrugiroFields, FindingsResolveToTheirFields) {
  std::vector<std::string> file = testing::CleanConstrugiroFile().Lines();
  const char digit = file[2][22];
  file[2][22] = digit == '0' ? '1' : '0';  // the agency's digit of the first P
  const std::vector<testing::SeenFinding> findings = testing::FindingsOf(Construgiro1Click, testing::CrLfFile(file));
  ASSERT_EQ(findings.size(), 1u);
  const testing::SeenFinding& f = findings[0];
  EXPECT_EQ(f.line, "Linha 3  Posição 23 dígito inválido"_cp);
  const std::vector<ResolvedField> fields = ResolveFields({f.line, f.record, f.rec, f.kind, f.fields});
  ASSERT_EQ(fields.size(), 2u);
  EXPECT_EQ(fields[0].code, "23");
  EXPECT_EQ(fields[0].expected, Cat("dígito "_cp, digit));
  EXPECT_EQ(fields[1].code, "18-22");
  EXPECT_EQ(fields[1].found, file[2].substr(17, 5));
}

}  // namespace
}  // namespace verilote
