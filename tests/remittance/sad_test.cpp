#include "remittance/sad.hpp"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "app/cp1252.hpp"
#include "app/report.hpp"
#include "banking/text.hpp"
#include "support/allowed_values.hpp"
#include "support/fake_host.hpp"

namespace verilote {
namespace {

using testing::CrLfFile;
using testing::FakeHost;
using testing::Lines;
using testing::TempFile;

// The example remessa_sad_ok.txt: a header announcing 5 records, generated
// 01/12/26, and four payers with movement codes I, A, E and I.
std::vector<std::string> Example() { return testing::ExampleRecords("sad/remessa_sad_ok.txt"); }

struct SadRun {
  Verdict verdict;
  FakeHost host;
};

SadRun Validate(const std::string& bytes) {
  TempFile file(bytes);
  SadRun run{Verdict::Clean, {}};
  run.host.files.push_back(file.path());
  run.verdict = SadSicob1Click(run.host);
  return run;
}

// The clean example's report is the examples test's.
TEST(SadSicob, DialogOfTheCleanExample) {
  const SadRun run = Validate(CrLfFile(Example()));
  EXPECT_EQ(run.verdict, Verdict::Clean);
  ASSERT_EQ(run.host.dialogs.size(), 1u);
  EXPECT_EQ(run.host.dialogs[0].title, "Selecione o arquivo remessa SAD");
  EXPECT_EQ(run.host.dialogs[0].filter, FileFilter::Texto);
  EXPECT_EQ(run.host.clears, 1);
}

// Fields 126-133 and 158-162, the movement code X, the name and the state
// missing: the faulty example's lines, checked end to end.
TEST(SadSicob, BreakingOnePayerFieldWritesItsLine) {
  const auto N = [](std::size_t from, std::size_t to) {
    return Cat("Erro não é número da pos="_cp, from, " até "_cp, to, ". registro=");
  };
  const std::string_view code = "Erro encontrado ", moveTail = " na pos=15 e deveria ser I ou A ou E.  reg=";
  const std::string_view missing = "Erro falta ";
  const struct {
    std::size_t from, to;  // positions overwritten in payer record 2
    std::string_view bytes;
    std::string line;  // the finding, followed by the record number 2; none for movement codes A and E
  } cases[] = {
      // clang-format off
      {148, 148, "X", std::string("Erro não é branco (pos=148). registro="_cp)},
      {1, 9, "12345678A", N(1, 9)},
      {10, 14, "     ", N(10, 14)},
      {134, 142, " 00012345", N(134, 142)},
      {143, 147, "0000 ", N(143, 147)},
      {149, 157, "ABCDEFGHI", N(149, 157)},
      {15, 15, "A", ""},
      {15, 15, "E", ""},
      {15, 15, "i", Cat(code, "i", moveTail)},
      {56, 95, "", Cat(missing, "endereco (pos=56,40). registro=")},
      {96, 109, "", Cat(missing, "bairro (pos=96,14). registro=")},
      {110, 123, "", Cat(missing, "cidade (pos=110,14). registro=")},
      // clang-format on
  };
  for (const auto& c : cases) {
    std::vector<std::string> lines = Example();
    lines[1].replace(c.from - 1, c.to - c.from + 1, PadSpaceRight(c.bytes, c.to - c.from + 1));
    const SadRun run = Validate(CrLfFile(lines));
    std::vector<std::string> expected =
        Lines({"Cód=SAD01    Qtde de regs=000005"_cp, "Gerado em: 01/12/26  ", "Fim do arquivo. Lidos 5 registros."});
    if (!c.line.empty()) expected.insert(expected.begin() + 2, Cat(c.line, 2));
    EXPECT_EQ(run.verdict, c.line.empty() ? Verdict::Clean : Verdict::Faulty) << c.from << " " << c.bytes;
    EXPECT_EQ(run.host.report, expected) << c.from << " " << c.bytes;
  }
}

TEST(SadSicob, HeaderFindings) {
  std::vector<std::string> lines = Example();
  lines[0][17] = '2';  // position 18 must be blank
  lines[0] += " ";     // 163 characters
  const SadRun run = Validate(CrLfFile(lines));
  EXPECT_EQ(run.verdict, Verdict::Faulty);
  EXPECT_EQ(run.host.report, (Lines({"Cód=SAD01    Qtde de regs=000005"_cp, "Gerado em: 01/12/262 ",
                                     "Erro HEADER não é branco (pos=18 até 145)."_cp,
                                     "Erro reg nr. 1 tamanho esperado 162, encontrado 163 no reg=1",
                                     "Fim do arquivo. Lidos 5 registros."})));
}

TEST(SadSicob, RecordCountAgainstTheHeader) {
  const SadRun empty = Validate("");
  EXPECT_EQ(empty.verdict, Verdict::Clean);
  EXPECT_EQ(empty.host.report, std::vector<std::string>{"Fim do arquivo. Lidos 0 registros."});
  std::vector<std::string> notNumeric = Example(), missing = Example();
  notNumeric[0].replace(5, 6, "00000A");  // not numeric: announced as 0
  missing.pop_back();
  const SadRun run = Validate(CrLfFile(notNumeric));
  EXPECT_EQ(run.verdict, Verdict::Faulty);
  EXPECT_EQ(run.host.report.back(), "Erro na quantidade de registros. Lidos 5 registros. Informados 0");
  EXPECT_EQ(Validate(CrLfFile(missing)).host.report.back(),
            "Erro na quantidade de registros. Lidos 4 registros. Informados 5");
}

}  // namespace
}  // namespace verilote
