// The findings of the old SAD/SICOB validator name their fields: the
// dictionary holds, every byte broken in the clean example is named by the
// findings about its record, and the count of the file is its header's.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "app/cp1252.hpp"
#include "app/report.hpp"
#include "detect/field_registry.hpp"
#include "remittance/sad.hpp"
#include "remittance/sigcb240_builder.hpp"
#include "support/field_checks.hpp"

namespace verilote {
namespace {

using Lines = std::vector<std::string>;

const std::string kExample = testing::ReadBytes(VERILOTE_SOURCE_DIR "/examples/sad/remessa_sad_ok.txt");

TEST(SadFields, DictionaryHolds) { EXPECT_EQ(testing::DictionaryFaults(kSadFields, 162), Lines{}); }

TEST(SadFields, EveryBrokenByteIsNamed) { EXPECT_EQ(testing::UncoveredMutations(SadSicob1Click, kExample), Lines{}); }

TEST(SadFields, FindingsResolve) {
  std::string file = kExample;
  testing::Put(file, 164 + 15, "X");  // record 2's movement code
  testing::Put(file, 11, "6");        // six records announced, five read
  const auto findings = testing::FindingsOf(SadSicob1Click, file);
  ASSERT_EQ(findings.size(), 2u);
  Lines resolved;
  for (const auto& f : findings) {
    const ResolvedField field = ResolveFields({f.line, f.record, f.rec, f.kind, f.fields})[0];
    resolved.push_back(Cat(f.record, " ", field.code, " ", field.found, "=", field.expected));
  }
  const std::string count{"1 6-11 000006=numérico, igual ao número de registros do arquivo"_cp};
  EXPECT_EQ(resolved, (Lines{"2 15 X=I, A ou E", count}));
  EXPECT_EQ(kSadFields.kindOf(file.substr(0, 162)), kSadFields.kinds[0]);
  EXPECT_EQ(kSadFields.kindOf(file.substr(164, 162)), kSadFields.kinds[1]);
}

}  // namespace
}  // namespace verilote
