// What an inspector shows of a finding: every byte of the record in a row
// (fields in order, unnamed stretches by position), the named fields flagged
// and marked with what the layout expects, and, when the record cannot be
// shown, why, with the named fields still listed.
#include "desk/record_inspection.hpp"

#include <gtest/gtest.h>

#include <algorithm>

#include "app/command_table.hpp"
#include "app/cp1252.hpp"
#include "app/report.hpp"
#include "support/fake_host.hpp"

namespace verilote {
namespace {

// A detail "D": the bank at 2-4, an amount at 7-10 and its digit at 11 (the
// sum of the amount's digits); 5-6 belong to no field.
std::string AmountDigit(std::string_view rec) {
  int sum = 0;
  for (char c : rec.substr(6, 4)) sum += c - '0';
  return Cat("dígito "_cp, sum % 10);
}
constexpr FieldSpec kFields[] = {
    {"D.01", 1, 1, "Tipo", "D"},
    {"D.02", 2, 4, "Banco", "104"},
    {"D.03", 7, 10, "Valor", "zeros"},
    {"D.04", 11, 11, "DV", {}, AmountDigit},
};
const RecordKind kDetail{"Detalhe", kFields};

std::vector<std::string> Rows(const RecordInspection& seen) {
  std::vector<std::string> rows;
  for (const InspectionRow& r : seen.rows)
    rows.push_back(Cat(r.named ? "*" : "", r.code, "|", r.positions, "|", r.found, "|", r.expected));
  return rows;
}

TEST(RecordInspection, ListsEveryByteOfTheRecordAndMarksTheNamedFields) {
  testing::TempFile file("H\r\nD999\t 0123X\r\n");
  RecordLocator locator;
  const FindingIndex::Entry entry{7, 2, &kDetail, "(D.04)(D.02)(D.99)", file.path(), 0};
  const RecordInspection seen = Inspect(entry, "Linha 2\tDV", locator);
  EXPECT_EQ(seen.heading, "Registro 2 (Detalhe)");
  EXPECT_EQ(file.path().substr(file.path().size() - seen.fileName.size()), seen.fileName);
  EXPECT_EQ(seen.fileName.find_first_of("/\\"), std::string::npos);
  EXPECT_EQ(seen.findingLine, "Linha 2 DV");  // a control byte takes one blank cell
  EXPECT_TRUE(seen.Shown());
  EXPECT_EQ(Rows(seen), (std::vector<std::string>{"D.01|1|D|D", "*D.02|2-4|999|104", "|5-6|  |", "D.03|7-10|0123|zeros",
                                                  std::string("*D.04|11|X|dígito 6"_cp), "*D.99|||"}));
  EXPECT_EQ(seen.rows.back().name, "(campo fora do dicionário do layout)"_cp);
  EXPECT_EQ(seen.firstNamed, 1);
  EXPECT_EQ(seen.marks, (std::vector<std::pair<std::size_t, std::size_t>>{{2, 4}, {11, 11}}));
  EXPECT_EQ(seen.record, "D999  0123X");
  EXPECT_EQ(seen.rulerTens, "        10 ");  // "10" ends above position 10
  EXPECT_EQ(seen.rulerUnits, "12345678901");
}

TEST(RecordInspection, SaysWhyTheRecordCannotBeShown) {
  testing::TempFile file("H\r\nD999  0123X\r\n");
  struct Case {
    std::uint64_t record;
    std::string path;
    std::uint32_t hash;
    std::string_view message;  // the path stands at "@"
  };
  const Case cases[] = {
      {2, file.path(), RecordHash("D104  0123X"),
       "O arquivo @ mudou desde a validação: o registro 2 não é mais o que foi validado."_cp},
      {3, file.path(), 0, "O arquivo @ mudou desde a validação: o registro 3 não é mais o que foi validado."_cp},
      {2, file.path() + ".sumiu", 0,
       "O arquivo @ não foi encontrado ou não pode ser aberto: o registro 2 não pode ser mostrado."_cp},
      {0, file.path(), 0, "Este achado é sobre o arquivo como um todo."_cp},
      {2, "", 0, "O comando não leu arquivo: não há registro a mostrar."_cp},
  };
  for (const Case& c : cases) {
    RecordLocator locator;
    const RecordInspection seen = Inspect({1, c.record, &kDetail, "(D.02)(D.04)", c.path, c.hash}, "L", locator);
    std::string message = seen.message;
    if (seen.fileAt != std::string::npos) message.replace(seen.fileAt, 0, "@");
    EXPECT_EQ(message, c.message) << c.record << c.path;
    // Where to look, still: the named fields alone, what the layout expects
    // (a check digit has nothing to be computed from).
    EXPECT_EQ(Rows(seen), (std::vector<std::string>{"*D.02|2-4||104", "*D.04|11||"})) << c.record << c.path;
    EXPECT_TRUE(seen.marks.empty() && seen.record.empty() && seen.rulerUnits.empty());
  }
}

// The inspector says what the rule says: a SIGCB 240 segment S of print kind
// 7 is reported as "08.3S deveria ser 1, 2 ou 3", so its heading and the
// expected value of 08.3S name no layout of kind 1 or 2 and the same values.
TEST(RecordInspection, APrintKindOfNoLayoutAgreesWithTheReport) {
  struct Findings final : testing::FakeHost {
    std::vector<FindingIndex::Entry> entries;
    std::vector<std::string> lines;
    void ReportFinding(const Finding& f) override {
      ReportAppend(f.line);
      entries.push_back({report.size() - 1, f.record, f.kind, std::string(f.fields), "", RecordHash(f.rec)});
      lines.emplace_back(f.line);
    }
  } host;
  const std::string sigcb = std::string(VERILOTE_SOURCE_DIR) + "/examples/sigcb240/remessa_sigcb240_com_erros.rem";
  host.files = {sigcb};
  RunCommand(FindHandler("SIGCBRemessa1Click"), host);
  const auto at = std::find(host.lines.begin(), host.lines.end(), "Registro numero 6 08.3S deveria ser 1, 2 ou 3!!!");
  ASSERT_NE(at, host.lines.end());
  FindingIndex::Entry entry = host.entries[static_cast<std::size_t>(at - host.lines.begin())];
  entry.file = sigcb;
  RecordLocator locator;
  const RecordInspection seen = Inspect(entry, *at, locator);
  ASSERT_TRUE(seen.Shown()) << seen.message;
  EXPECT_EQ(seen.heading, "Registro 6 (Segmento S (tipo de impressão inválido))"_cp);
  ASSERT_GE(seen.firstNamed, 0);
  const InspectionRow& kind = seen.rows[static_cast<std::size_t>(seen.firstNamed)];
  EXPECT_EQ(Cat(kind.code, "|", kind.positions, "|", kind.found, "|", kind.expected), "08.3S|18|7|1, 2 ou 3");
}

}  // namespace
}  // namespace verilote
