#include "detect/field_registry.hpp"

#include <gtest/gtest.h>

#include <fstream>
#include <span>
#include <sstream>
#include <utility>

#include "app/command_table.hpp"
#include "cli/check.hpp"
#include "detect/layout_detection.hpp"
#include "returns/return_file.hpp"
#include "support/field_checks.hpp"

namespace verilote {
namespace {

// Every layout the program validates, and every return it reads, has a
// dictionary that tells its records' kinds; in each kind every position of
// the record belongs to exactly one field with a name and a code, numbered in
// order, as the bank's manuals name even the reserved ranges.
TEST(FieldRegistry, EveryKindNamesEveryPositionOnceInOrder) {
  struct Dictionary {
    const LayoutFields* fields;
    std::size_t length;
    bool orLonger;  // records of at least `length` positions
  };
  std::vector<Dictionary> dictionaries;
  for (const LayoutRow& row : LayoutTable())
    if (!row.handler.empty())  // detected, but no validator reads it
      dictionaries.push_back({FieldsOfLayout(row.name), row.length, row.orLonger});
  using returns::ReturnKind;
  for (const auto& [kind, length] :
       {std::pair{ReturnKind::Sigcb240Retorno, 240u}, std::pair{ReturnKind::Sigcb240Precritica, 240u},
        std::pair{ReturnKind::Sigcb400Retorno, 400u}, std::pair{ReturnKind::Sigcb400Precritica, 400u}})
    dictionaries.push_back({&returns::ReturnFields(kind), length, false});
  EXPECT_GE(dictionaries.size(), 20u);
  for (const Dictionary& dictionary : dictionaries) {
    ASSERT_NE(dictionary.fields, nullptr);
    SCOPED_TRACE(std::string(dictionary.fields->layout));
    EXPECT_FALSE(dictionary.fields->kinds.empty());
    EXPECT_NE(dictionary.fields->kindOf, nullptr);
    EXPECT_EQ(testing::DictionaryFaults(*dictionary.fields, dictionary.length, dictionary.orLonger),
              std::vector<std::string>{});
  }
}

// The guard tells each fault of a kind of 8 positions, and takes a field the
// bank slipped in later ("13A.1") and codes numbered after the dot.
TEST(FieldRegistry, DictionaryFaultsTellEachFault) {
  static constexpr FieldSpec kSound[] = {{"13.1", 1, 4, "Banco"}, {"13A.1", 5, 6, "Lote"}, {"14.1", 7, 8, "Tipo"}};
  static constexpr FieldSpec kAfterDot[] = {{"A.09", 1, 4, "Banco"}, {"A.10", 5, 8, "Lote"}};
  static constexpr FieldSpec kGap[] = {{"01.0", 1, 3, "Banco"}, {"02.0", 5, 8, "Lote"}};
  static constexpr FieldSpec kShort[] = {{"01.0", 1, 4, "Banco"}, {"02.0", 5, 7, "Lote"}};
  static constexpr FieldSpec kOverlap[] = {{"01.0", 1, 5, "Banco"}, {"02.0", 5, 8, "Lote"}};
  static constexpr FieldSpec kTwice[] = {{"01.0", 1, 4, "Banco"}, {"01.0", 5, 8, "Lote"}};
  static constexpr FieldSpec kBackwards[] = {{"A.10", 1, 4, "Banco"}, {"A.09", 5, 8, "Lote"}};
  static constexpr FieldSpec kNoCode[] = {{"01.0", 1, 4, "Banco"}, {"", 5, 8, "Lote"}};
  static constexpr FieldSpec kOtherPositions[] = {{"1-4", 1, 4, "Banco"}, {"5-9", 5, 8, "Lote"}};
  const struct {
    std::span<const FieldSpec> fields;
    std::vector<std::string> faults;
  } cases[] = {
      {kSound, {}},
      {kAfterDot, {}},
      {kGap, {"t H 02.0 5-8 leaves 4-4 unnamed"}},
      {kShort, {"t H leaves 8-8 unnamed"}},
      {kOverlap, {"t H 02.0 5-8 overlaps 01.0 1-5"}},
      {kTwice, {"t H 01.0 5-8 does not follow 01.0"}},
      {kBackwards, {"t H A.09 5-8 does not follow A.10"}},
      {kNoCode, {"t H  5-8 has no name or no code"}},
      {kOtherPositions, {"t H 5-9 5-8 is coded by other positions"}},
  };
  for (const auto& c : cases) {
    const RecordKind kind{"H", c.fields};
    const RecordKind* const kinds[] = {&kind};
    EXPECT_EQ(testing::DictionaryFaults({"t", kinds}, 8), c.faults) << c.fields[0].code;
  }
}

TEST(FieldCodes, SplitsTheListsFindingsWrite) {
  const std::vector<std::string_view> expected{"04.0", "22.0"};
  EXPECT_EQ(FieldCodes(" 04.0 22.0"), expected);
  EXPECT_EQ(FieldCodes("(04.0)(22.0)(04.0)"), expected);
  EXPECT_EQ(FieldCodes("04.0,22.0"), expected);
  EXPECT_TRUE(FieldCodes("  ").empty());
}

TEST(ResolveFields, FoundIsCutAtTheRecordsEndAndUnknownCodesStayUnknown) {
  static constexpr FieldSpec kFields[] = {{"01.0", 1, 3, "Banco", "104"}, {"02.0", 4, 7, "Lote", "0000"}};
  const RecordKind kind{"Header", kFields};
  const Finding finding{"line", 1, "10400", &kind, "02.0 99.9"};
  const std::vector<ResolvedField> fields = ResolveFields(finding);
  ASSERT_EQ(fields.size(), 2u);
  EXPECT_TRUE(fields[0].known);
  EXPECT_EQ(fields[0].found, "00");
  EXPECT_EQ(fields[0].expected, "0000");
  EXPECT_FALSE(fields[1].known);
  EXPECT_EQ(fields[1].code, "99.9");
}

// Every finding line of every example (a line check counts as a finding) is
// written as a finding, and every finding about a record names fields its
// kind has.
TEST(FieldRegistry, EveryExampleFindingNamesItsFields) {
  std::ifstream manifest(VERILOTE_SOURCE_DIR "/tests/examples/runs.txt");
  std::size_t examples = 0;
  for (std::string entry; std::getline(manifest, entry);) {
    if (entry.empty() || entry[0] == '#') continue;
    std::istringstream words(entry);
    std::string example, status, layouts, handler;
    words >> example >> status >> layouts >> handler;
    if (layouts == "-") continue;  // barcode files: no records of a layout
    std::vector<std::string> answers;
    for (std::string option, answer; words >> option >> answer;) answers.push_back(answer);
    EXPECT_EQ(testing::FindingFaults(FindHandler(handler), VERILOTE_SOURCE_DIR "/examples/" + example, answers),
              std::vector<std::string>{})
        << example;
    ++examples;
  }
  EXPECT_GT(examples, 25u);
}

}  // namespace
}  // namespace verilote
