// The field dictionary of the Construgiro remittance and the fields its
// findings name.
#include <gtest/gtest.h>

#include "app/cp1252.hpp"
#include "app/report.hpp"
#include "detect/field_registry.hpp"
#include "layouts/construgiro.hpp"
#include "layouts/construgiro_builder.hpp"
#include "support/field_checks.hpp"

namespace verilote {
namespace {

TEST(ConstrugiroFields, EveryBrokenByteIsNamedByItsFindings) {
  std::vector<std::string> faults =
      testing::UncoveredMutations(Construgiro1Click, testing::CrLfFile(testing::CleanConstrugiroFile().Lines()));
  // The record type (8) and a detail's segment (14) pick the rules: a record
  // turned into another kind is checked as that kind, and its findings name
  // that kind's fields.
  std::erase_if(faults, [](const std::string& fault) {
    return fault.find(" position 8 '") != std::string::npos || fault.find(" position 14 '") != std::string::npos;
  });
  EXPECT_EQ(faults, std::vector<std::string>{});
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
