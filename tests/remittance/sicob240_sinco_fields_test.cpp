// The field dictionaries of the SICOB 240 and SINCO remittances and the fields
// their findings name.
#include <gtest/gtest.h>

#include <algorithm>

#include "app/cp1252.hpp"
#include "detect/field_registry.hpp"
#include "layouts/layout_fields_checks.hpp"
#include "remittance/sicob240.hpp"
#include "remittance/sinco.hpp"
#include "support/allowed_values.hpp"
#include "support/field_checks.hpp"

namespace verilote {
namespace {

using Lines = std::vector<std::string>;

std::string ExampleBytes(std::string_view name) { return testing::CrLfFile(testing::ExampleRecords(name)); }

TEST(Sicob240SincoFields, EveryBrokenByteIsNamedByItsFindings) {
  const struct {
    Handler handler;
    const LayoutFields& fields;
    const char* example;
  } cases[] = {{CobranaRemessapadro2401Click, kSicob240Fields, "sicob240/remessa_sicob240_ok.rem"},
               {SINCO1Click, kSincoFields, "sinco/remessa_sinco_ok.rem"}};
  for (const auto& [handler, fields, example] : cases)
    EXPECT_EQ(testing::UncoveredSameKind(handler, fields, ExampleBytes(example)), Lines{}) << example;
}

// A broken check digit resolves to its field, computed from the others.
TEST(Sicob240SincoFields, FindingsResolveToTheirFields) {
  const struct {
    Handler handler;
    const char* example;
    std::size_t record, pos;  // of the digit broken
    std::string_view code;
  } cases[] = {
      {CobranaRemessapadro2401Click, "sicob240/remessa_sicob240_ok.rem", 3, 37, "12.3P"},
      {CobranaRemessapadro2401Click, "sicob240/remessa_sicob240_ok.rem", 1, 71, "11.0"},
      {SINCO1Click, "sinco/remessa_sinco_ok.rem", 3, 23, "09.3P"},
  };
  for (const auto& c : cases) {
    std::string bytes = ExampleBytes(c.example);
    char& digit = bytes[(c.record - 1) * 242 + c.pos - 1];
    const char right = digit;
    digit = right == '0' ? '1' : '0';
    const std::vector<testing::SeenFinding> findings = testing::FindingsOf(c.handler, bytes);
    ASSERT_EQ(findings.size(), 1u) << c.code;
    const testing::SeenFinding& f = findings[0];
    const std::vector<ResolvedField> fields = ResolveFields({f.line, f.record, f.rec, f.kind, f.fields});
    ASSERT_FALSE(fields.empty()) << c.code;
    EXPECT_EQ(fields[0].code, c.code);
    EXPECT_EQ(fields[0].expected, Cat("dígito "_cp, right)) << c.code;
  }
}

}  // namespace
}  // namespace verilote
