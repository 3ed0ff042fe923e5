// The CNAB 240 frame on its own (no layout field rules): what each of its
// four variants checks, and counters past 16 bits.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "app/cp1252.hpp"
#include "remittance/cnab240.hpp"
#include "remittance/sigcb240_builder.hpp"

namespace verilote {
namespace {

using testing::CleanSigcbFile;
using testing::Put;
using testing::Validate;
using testing::Validation;

Verdict SigcbFrame(Host& host) {
  Cnab240Rules none;
  return RunCnab240(host, kSigcbFull, none);
}
Verdict SicobFrame(Host& host) {
  Cnab240Rules none;
  return RunCnab240(host, kSicob240, none);
}
Verdict SincoFrame(Host& host) {
  Cnab240Rules none;
  return RunCnab240(host, kSinco, none);
}

const std::string kWarning{"****  Este aplicativo não pode ser utilizado como única forma de validação ****"_cp};
const std::string kOk = "REGISTROS DOS TITULOS TODOS OK !!!";
const std::string kFimDeUmLote = std::string(37, '=') + " FIM DE UM LOTE " + std::string(34, '=');

TEST(Cnab240Frame, VariantsOnAValidSigcbFile) {
  // SICOB 240 and SINCO leave Y53 out of the count: one detail they do not find.
  const std::string notFound = "Existem registros diferentes de P,Q,R ou S  deveriam ter 12 encontrado 11";
  const struct {
    Handler frame;
    std::string title, summary;
    std::vector<std::string> messages;
  } cases[] = {
      {SigcbFrame,
       "Selecione o arquivo remessa SIGCB",
       "",
       {std::string("Não está validando valores zerados e do segmento Y, somente valida o Y53."_cp)}},
      {SicobFrame, "Selecione o arquivo remessa SICOB", notFound, {}},
      {SincoFrame,
       "Selecione o arquivo remessa SINCO",
       notFound,
       {std::string("Não está validando:\rRegsitros especiais tipo Y\rValores zerados"_cp)}},
  };
  for (const auto& c : cases) {
    const Validation v = Validate(c.frame, CleanSigcbFile().Lines());
    std::vector<std::string> expected{kWarning,     "Validando arquivo: FILE",        "Total de registros do lote = 9",
                                      kFimDeUmLote, "Total de registros do lote = 7", c.summary,
                                      kOk};
    if (c.summary.empty()) expected.erase(expected.end() - 2);
    EXPECT_EQ(v.status, c.summary.empty() ? Outcome::Status::Clean : Outcome::Status::Faulty);
    EXPECT_EQ(v.report, expected) << c.title;
    ASSERT_EQ(v.host.dialogs.size(), 1u);
    EXPECT_EQ(v.host.dialogs[0].title, c.title);
    EXPECT_EQ(v.host.messages, c.messages);
  }
}

struct Edit {
  std::size_t record, pos;
  std::string value;
};

struct Switch {
  std::string name;
  std::vector<Edit> edits;
  std::vector<std::string> sigcb, sicob, sinco;  // lines each variant adds
};

void PrintTo(const Switch& c, std::ostream* os) { *os << c.name; }

class Cnab240Switch : public ::testing::TestWithParam<Switch> {};

TEST_P(Cnab240Switch, EachVariantWritesItsOwnLines) {
  const Switch& c = GetParam();
  const std::vector<std::string> clean = CleanSigcbFile().Lines();
  std::vector<std::string> broken = clean;
  for (const Edit& e : c.edits) Put(broken[e.record - 1], e.pos, e.value);
  const auto added = [&](Handler frame) {
    const testing::ReportChanges changes =
        testing::Changes(Validate(frame, clean).report, Validate(frame, broken).report);
    EXPECT_TRUE(changes.removed.empty());
    return changes.added;
  };
  EXPECT_EQ(added(SigcbFrame), c.sigcb) << "SIGCB";
  EXPECT_EQ(added(SicobFrame), c.sicob) << "SICOB 240";
  EXPECT_EQ(added(SincoFrame), c.sinco) << "SINCO";
}

std::string Rec(std::size_t n, std::string_view text) {
  return "Registro numero " + std::to_string(n) + std::string(text);
}
std::string Linha(std::size_t n, std::string_view text) { return "Linha " + std::to_string(n) + std::string(text); }

INSTANTIATE_TEST_SUITE_P(
    Variants, Cnab240Switch,
    ::testing::Values(
        Switch{"CharacterCheck", {{4, 34, "JOS\xC9"}}, {Rec(4, " com Caracter inválido nas posições: 37,"_cp)}, {}, {}},
        Switch{"LoteNumber", {{3, 4, "0002"}}, {Rec(3, " Esperado lote 0001 Encontrado Lote 0002")}, {}, {}},
        Switch{"SingleLoteOfSinco",
               {{3, 4, "0002"}, {3, 15, "X"}},
               {Rec(3, " não é branco na posição 15,1 !!!"_cp), Rec(3, " Esperado lote 0001 Encontrado Lote 0002")},
               {},
               {Rec(3, " não é branco na posição 15,1 !!!"_cp), Rec(3, " Número de lote não esperado !!"_cp)}},
        Switch{"Sequence",
               {{4, 9, "00005"}},
               {Rec(4, " com numeracao inválida. Esperado 00002 Encontrado: 00005"_cp)},
               {Rec(4, " com numeracao inválida. Esperado 00002 Encontrado: 00005"_cp)},
               {}},
        Switch{"MovementCode", {{3, 16, "02"}}, {}, {}, {Rec(3, " não é 01 na posição 16,2 !!!"_cp)}},
        Switch{"UnknownMovementCode",
               {{3, 16, "03"}},
               {Rec(3, " Na posição 16,2 tem um código não esperado para remessa !!!"_cp)},
               {},
               {Rec(3, " não é 01 na posição 16,2 !!!"_cp)}},
        Switch{"LoteTrailerFields",
               {{10, 24, "X"}},
               {Rec(10, "  Os campos 06.5, 07.5, 08.5, 09.5, 10.5, 11.5 devem ser numéricos !!!"_cp)},
               {},
               {}},
        Switch{"FileTrailerStart",
               {{18, 4, "9899"}},
               {Linha(18, " Campo 02.9 deveria ter 99999")},
               {Linha(18, " Totalizador de arquivo tipo 9 com divergência no início !!"_cp)},
               {Linha(18, " Totalizador de arquivo tipo 9 com divergência no início !!"_cp)}},
        Switch{"FileTrailer04_9", {{18, 9, "X"}}, {Rec(18, " O campo 04.9 deve ser branco")}, {}, {}}),
    [](const ::testing::TestParamInfo<Switch>& info) { return info.param.name; });

TEST(Cnab240Frame, CountsOnlyTrailersConvertWithoutTestingFirst) {
  std::vector<std::string> lines = CleanSigcbFile().Lines();
  Put(lines[9], 18, "00000X");
  const Validation sigcb = Validate(SigcbFrame, lines);
  EXPECT_EQ(sigcb.status, Outcome::Status::Faulty);
  const Validation sicob = Validate(SicobFrame, lines);
  EXPECT_EQ(sicob.status, Outcome::Status::Aborted);
  EXPECT_EQ(sicob.error, "'00000X' is not a valid integer value");
}

// ---- Counters are 64-bit: nothing wraps at 65,535.

TEST(Cnab240Frame, RecordNumbersPastSixteenBits) {
  testing::SigcbFile file;
  file.lotes.resize(1);
  for (int i = 0; i < 34998; ++i) {
    file.lotes[0].push_back(testing::SigcbP("101"));
    file.lotes[0].push_back(testing::SigcbQ());
  }
  std::vector<std::string> lines = file.Lines();
  ASSERT_EQ(lines.size(), 70000u);
  Put(lines.back(), 9, "X");
  const Validation v = Validate(SigcbFrame, lines);
  EXPECT_EQ(v.report,
            (std::vector<std::string>{kWarning, "Validando arquivo: FILE", "Total de registros do lote = 69998",
                                      Rec(70000, " O campo 04.9 deve ser branco"), kOk}));
}

TEST(Cnab240Frame, LoteOrdinalPastSixteenBits) {
  // 65,537 empty lotes; the lote field holds four digits, so every lote from
  // 10000 on is written with its last four and reported with its whole number.
  constexpr std::size_t kLotes = 65537;
  const std::vector<std::string> clean = CleanSigcbFile().Lines();
  std::vector<std::string> lines{clean[0]};
  for (std::size_t lote = 1; lote <= kLotes; ++lote) {
    const std::string written = std::to_string(10000 + lote % 10000).substr(1);
    std::string header = clean[1], trailer = clean[9];
    Put(header, 4, written);
    Put(trailer, 4, written);
    Put(trailer, 18, "000002");
    lines.push_back(header);
    lines.push_back(trailer);
  }
  std::string trailer = clean.back();
  Put(trailer, 18, "065537");
  Put(trailer, 24, std::to_string(lines.size() + 1));
  lines.push_back(trailer);

  const Validation v = Validate(SigcbFrame, lines);
  ASSERT_GE(v.report.size(), 4u);
  EXPECT_EQ(v.report[v.report.size() - 4], Rec(131074, " Esperado lote 65537 Encontrado Lote 5537"));
  EXPECT_EQ(v.report[v.report.size() - 3], Rec(131075, " Esperado lote 65537 Encontrado Lote 5537"));
  EXPECT_EQ(v.report[v.report.size() - 2], "Total de registros do lote = 2");
  EXPECT_EQ(v.report.back(), kOk);
}

}  // namespace
}  // namespace verilote
