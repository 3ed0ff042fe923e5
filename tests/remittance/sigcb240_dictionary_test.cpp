// The SIGCB 240 field dictionary against the validator: every finding about a
// record names the fields that hold the fault, and resolves to what the
// record holds there and what the layout expects.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <map>
#include <string>
#include <vector>

#include "app/cp1252.hpp"
#include "app/report.hpp"
#include "detect/field_registry.hpp"
#include "layouts/layout_fields_checks.hpp"
#include "remittance/sigcb240.hpp"
#include "remittance/sigcb240_builder.hpp"
#include "support/field_checks.hpp"

namespace verilote {
namespace {

using testing::CleanSigcbFile;
using testing::Put;
using Lines = std::vector<std::string>;

using testing::CrLfFile;

// Every finding about a record names a field that covers the broken byte,
// short of a byte that changes the record's kind (position 8 turning it into
// a trailer), whose findings name that kind's fields.
TEST(Sigcb240Dictionary, EveryFindingNamesTheBrokenField) {
  const struct {
    Handler handler;
    std::string_view layout;
  } runs[] = {{SIGCBRemessa1Click, "101"}, {SIGCBRemessa1Click, "107"}, {SIGCBRemessaValidaserros1Click, "101"}};
  for (const auto& run : runs)
    EXPECT_EQ(testing::UncoveredSameKind(run.handler, kSigcb240Fields, CrLfFile(CleanSigcbFile(run.layout).Lines())),
              Lines{})
        << "layout " << run.layout;
}

// A broken field resolves to its bytes and, where the dictionary computes it,
// the value the layout expects. The clean file's agency 01234 has digit 3 by
// both routines (sum 30: 11 - 8, and 300 mod 11).
struct Resolved {
  std::size_t record, pos;
  std::string_view value, code, found, expected;  // of the first field the record's first finding names
};

TEST(Sigcb240Dictionary, FindingsResolveToTheirFields) {
  const std::vector<Resolved> cases = {
      {3, 23, "4", "09.3P", "4", "dígito 3"_cp},
      {1, 58, "4", "09.0", "4", "dígito 3"_cp},
      {2, 59, "5", "13.1", "012345", "dígito 3 na posição 59"_cp},
      {3, 78, "32012027", "20.3P", "32012027", "data ddmmaaaa válida"_cp},
      {10, 18, "000008", "05.5", "000008", ""},
      {18, 24, "000017", "06.9", "000017", ""},
      {9, 18, "54", "05.3Y", "Y", ""},  // a Y other than Y53 names its segment
  };
  for (const Resolved& c : cases) {
    SCOPED_TRACE(Cat("record ", c.record, " position ", c.pos));
    std::vector<std::string> lines = CleanSigcbFile().Lines();
    Put(lines[c.record - 1], c.pos, c.value);
    const auto findings = testing::FindingsOf(SIGCBRemessa1Click, CrLfFile(lines));
    const auto about =
        std::find_if(findings.begin(), findings.end(), [&](const auto& f) { return f.record == c.record; });
    ASSERT_NE(about, findings.end());
    const std::vector<ResolvedField> fields =
        ResolveFields({about->line, about->record, about->rec, about->kind, about->fields});
    ASSERT_FALSE(fields.empty());
    EXPECT_TRUE(fields[0].known);
    EXPECT_EQ(fields[0].code, c.code);
    EXPECT_EQ(fields[0].found, c.found);
    if (!c.expected.empty()) {
      EXPECT_EQ(fields[0].expected, c.expected);
    }
  }
}

// The frame's findings told by position name the fields of their own record's
// kind, also when one run asks the same positions of every kind in turn.
TEST(Sigcb240Dictionary, PositionFindingsNameTheirOwnKind) {
  std::vector<std::string> lines = CleanSigcbFile().Lines();
  for (std::string& line : lines) Put(line, 1, "105");
  std::map<std::uint64_t, std::string> named;
  for (const testing::SeenFinding& finding : testing::FindingsOf(SIGCBRemessa1Click, CrLfFile(lines)))
    if (finding.line.ends_with(" com inicio diferente de 104")) named[finding.record] = finding.fields;
  const std::map<std::uint64_t, std::string> expected = {
      {1, " 01.0"},  {2, " 01.1"},  {3, " 01.3P"}, {4, " 01.3Q"}, {5, " 01.3R"}, {6, " 01.3S"},
      {7, " 01.3P"}, {8, " 01.3Q"}, {9, " 01.3Y"}, {10, " 01.5"}, {11, " 01.1"}, {18, " 01.9"},
  };
  for (const auto& [record, fields] : expected) EXPECT_EQ(named[record], fields) << "record " << record;
}

}  // namespace
}  // namespace verilote
