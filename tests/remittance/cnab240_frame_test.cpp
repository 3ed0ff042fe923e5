// The CNAB 240 frame on its own (no layout field rules): what each of its
// four variants checks, and counters past 16 bits.
#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <string_view>
#include <vector>

#include "app/cp1252.hpp"
#include "app/report.hpp"
#include "remittance/cnab240.hpp"
#include "remittance/sigcb240_builder.hpp"

namespace verilote {
namespace {

using testing::CleanSigcbFile;
using testing::kFim, testing::kOk, testing::Lin, testing::Reg;
using testing::Put;
using testing::Validate;
using testing::Validation;

template <const Cnab240Variant& kVariant>
Verdict Frame(Host& host) {
  Cnab240Rules none;
  return RunCnab240(host, kVariant, none);
}
constexpr Handler SigcbFrame = Frame<kSigcbFull>, SicobFrame = Frame<kSicob240>, SincoFrame = Frame<kSinco>;
using Lines = std::vector<std::string>;

const std::string kWarning{"****  Este aplicativo não pode ser utilizado como única forma de validação ****"_cp};
const std::string kFimDeUmLote = std::string(37, '=') + " FIM DE UM LOTE " + std::string(34, '=');

TEST(Cnab240Frame, VariantsOnAValidSigcbFile) {
  // SICOB 240 and SINCO leave Y53 out of the count: one detail they do not
  // find, a finding; nor do they name the file.
  const std::string notFound = "Existem registros diferentes de P,Q,R ou S  deveriam ter 12 encontrado 11";
  const std::string sigcb{"Não está validando valores zerados e do segmento Y, somente valida o Y53."_cp};
  const std::string sinco{"Não está validando:\rRegsitros especiais tipo Y\rValores zerados"_cp};
  const struct {
    Handler frame;
    const char* name;
    Lines summary, messages;
  } cases[] = {{SigcbFrame, "SIGCB", {}, {sigcb}},
               {SicobFrame, "SICOB", {notFound}, {}},
               {SincoFrame, "SINCO", {notFound}, {sinco}}};
  for (const auto& c : cases) {
    const Validation v = Validate(c.frame, CleanSigcbFile().Lines());
    Lines expected{kWarning, "Validando arquivo: FILE", "Total de registros do lote = 9", kFimDeUmLote,
                   "Total de registros do lote = 7"};
    if (c.frame != SigcbFrame) expected.erase(expected.begin() + 1);
    expected.insert(expected.end(), c.summary.begin(), c.summary.end());
    expected.push_back(c.summary.empty() ? kOk : kFim);
    EXPECT_EQ(v.status, c.summary.empty() ? Outcome::Status::Clean : Outcome::Status::Faulty);
    EXPECT_EQ(v.report, expected) << c.name;
    ASSERT_EQ(v.host.dialogs.size(), 1u);
    EXPECT_EQ(v.host.dialogs[0].title, Cat("Selecione o arquivo remessa ", c.name));
    EXPECT_EQ(v.host.messages, c.messages);
  }
}

struct Edit {
  std::size_t record, pos;
  std::string value;
};

TEST(Cnab240Frame, EachVariantWritesItsOwnLines) {
  const std::string blank15 = Reg(3, " não é branco na posição 15,1 !!!"_cp), not01{" não é 01 na posição 16,2 !!!"_cp};
  const std::string loteSinco = Reg(3, " Número de lote não esperado !!"_cp),
                    lote2 = " Esperado lote 0001 Encontrado Lote 0002";
  const std::string start = Lin(18, " Totalizador de arquivo tipo 9 com divergência no início !!"_cp);
  const std::string unknown{" Na posição 16,2 tem um código não esperado para remessa !!!"_cp};
  const std::string trailer{"  Os campos 06.5, 07.5, 08.5, 09.5, 10.5, 11.5 devem ser numéricos !!!"_cp};
  const std::string sequence{" com numeracao inválida. Esperado 00002 Encontrado: 00005"_cp};
  const struct {
    const char* name;
    std::vector<Edit> edits;
    Lines sigcb, sicob, sinco;  // lines each variant adds
  } cases[] = {
      // clang-format off
      {"CharacterCheck", {{4, 34, "JOS\xC9"}}, {Reg(4, " com Caracter inválido nas posições: 37,"_cp)}, {}, {}},
      {"LoteNumber", {{3, 4, "0002"}}, {Reg(3, lote2)}, {}, {}},
      {"SingleLoteOfSinco", {{3, 4, "0002"}, {3, 15, "X"}}, {blank15, Reg(3, lote2)}, {}, {blank15, loteSinco}},
      {"Sequence", {{4, 9, "00005"}}, {Reg(4, sequence)}, {Reg(4, sequence)}, {}},
      {"MovementCode", {{3, 16, "02"}}, {}, {}, {Reg(3, not01)}},
      {"UnknownMovementCode", {{3, 16, "03"}}, {Reg(3, unknown)}, {}, {Reg(3, not01)}},
      {"LoteTrailerFields", {{10, 24, "X"}}, {Reg(10, trailer)}, {}, {}},
      {"FileTrailerStart", {{18, 4, "9899"}}, {Lin(18, " Campo 02.9 deveria ter 99999")}, {start}, {start}},
      {"FileTrailer04_9", {{18, 9, "X"}}, {Reg(18, " O campo 04.9 deve ser branco")}, {}, {}},
      // clang-format on
  };
  const Lines clean = CleanSigcbFile().Lines();
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    Lines broken = clean;
    for (const Edit& e : c.edits) Put(broken[e.record - 1], e.pos, e.value);
    // The lines added, past the verdict that a finding turns.
    const auto added = [&](Handler frame) {
      auto changes = testing::Changes(Validate(frame, clean).report, Validate(frame, broken).report);
      if (changes.removed == Lines{kOk} && !changes.added.empty() && changes.added.back() == kFim) {
        changes.removed.clear();
        changes.added.pop_back();
      }
      EXPECT_TRUE(changes.removed.empty());
      return changes.added;
    };
    EXPECT_EQ(added(SigcbFrame), c.sigcb) << "SIGCB";
    EXPECT_EQ(added(SicobFrame), c.sicob) << "SICOB 240";
    EXPECT_EQ(added(SincoFrame), c.sinco) << "SINCO";
  }
}

// ---- Counters are 64-bit: nothing wraps at 65,535.

TEST(Cnab240Frame, LoteOrdinalPastSixteenBits) {
  // 65,537 empty lotes; the lote field holds four digits, so every lote from
  // 10000 on is written with its last four and reported with its whole number.
  constexpr std::size_t kLotes = 65537;
  const Lines clean = CleanSigcbFile().Lines();
  Lines lines{clean[0]};
  for (std::size_t lote = 1; lote <= kLotes; ++lote) {
    const std::string written = std::to_string(10000 + lote % 10000).substr(1);
    std::string header = clean[1], trailer = clean[9];
    Put(header, 4, written);
    Put(trailer, 4, written);
    Put(trailer, 18, "000002");
    lines.insert(lines.end(), {header, trailer});
  }
  std::string trailer = clean.back();
  Put(trailer, 18, "065537");
  Put(trailer, 24, std::to_string(lines.size() + 1));
  lines.push_back(trailer);
  const Validation v = Validate(SigcbFrame, lines);
  ASSERT_GE(v.report.size(), 4u);
  const std::string lote = " Esperado lote 65537 Encontrado Lote 5537";
  EXPECT_EQ(Lines(v.report.end() - 4, v.report.end()),
            (Lines{Reg(131074, lote), Reg(131075, lote), "Total de registros do lote = 2", kFim}));
}

}  // namespace
}  // namespace verilote
