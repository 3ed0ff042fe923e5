// The SICOB 240 ("CobCAIXA - Remessa padrão 240") and SINCO validators: the
// whole report of a valid file, one broken field at a time, files past 16-bit
// counts.
#include <gtest/gtest.h>

#include "app/cp1252.hpp"
#include "app/report.hpp"
#include "banking/text.hpp"
#include "remittance/sicob240.hpp"
#include "remittance/sigcb240_builder.hpp"
#include "remittance/sinco.hpp"
#include "support/allowed_values.hpp"

namespace verilote {
namespace {

using testing::kFim, testing::Lin, testing::Reg;
using S = std::string;
using Lines = std::vector<S>;

// ---- Valid files: the examples remessa_sicob240_ok.rem and
// remessa_sinco_ok.rem, every field well-formed, every check digit, count and
// sequence right. One lote: title A (P Q R S), title B (P Q; interest,
// discount and protest in SICOB, a fine in SINCO's R of title A): records 1
// header, 2 lote header, 3-6 A, 7-8 B, 9 lote trailer, 10 file trailer.
// SICOB 240: agency 1234-3, operation 870, account 00000123-6, in P agency
// 01234-3 and account 870000000123-4; Nosso Números 8000000001-7 and
// 8000000002-5. SINCO: cedente 123456 of agency 1234-3; Nosso Números
// 9000000001-4 and 9000000002-2. Payers CPF 529.982.247-25 and CNPJ
// 11.222.333/0001-81, guarantor CPF 111.444.777-35.

using testing::Put;

// The example with title B repeated until it holds `titles` titles, numbered and counted.
Lines Example(std::string_view name, std::size_t titles) {
  Lines lines = testing::ExampleRecords(name);
  S loteTrailer = lines[8], fileTrailer = lines[9];
  lines.resize(8);
  for (std::size_t title = 3; title <= titles; ++title) lines.insert(lines.end(), {lines[6], lines[7]});
  for (std::size_t i = 2; i < lines.size(); ++i) Put(lines[i], 9, PadZeroLeft(Cat(i - 1), 5));
  Put(loteTrailer, 18, PadZeroLeft(Cat(lines.size()), 6));
  Put(fileTrailer, 24, PadZeroLeft(Cat(lines.size() + 2), 6));
  lines.insert(lines.end(), {loteTrailer, fileTrailer});
  return lines;
}
Lines CleanSicob240File(std::size_t titles) { return Example("sicob240/remessa_sicob240_ok.rem", titles); }
Lines CleanSincoFile(std::size_t titles) { return Example("sinco/remessa_sinco_ok.rem", titles); }

// ---- The validators.

S Eq(std::size_t n) { return S(n, '='); }
S Codes(std::size_t n, std::string_view text) {
  return Lin(n, Cat(" SEGMENTO ", "PQRSPQ"[n - 3], ". Codigos de erro:", text));
}
S HC(std::string_view codes) { return Cat("Erro no HEADER. Codigos de erro:", codes); }

// clang-format off
const std::pair<Handler, Lines (*)(std::size_t)> kLayouts[] = {{SINCO1Click, CleanSincoFile},
    {CobranaRemessapadro2401Click, CleanSicob240File}};

struct FieldCase {
  bool sicob;
  std::size_t record, pos;
  S value;
  Lines added;  // before the closing line; none: the file stays clean
};

// SICOB's account digit at 71 and SINCO's cedente of the P are broken in the
// faulty examples, checked end to end; return days and SINCO's hour are limit
// rows of the allowed values.
TEST(SicobSincoRemessa, EachBrokenFieldWritesItsLines) {
  const S dv48{" digito da conta do centralizador inválido"_cp};
  const std::vector<FieldCase> cases = {
      // SICOB 240: a letter under the account's digit, the other digits, the lote header.
      {true, 1, 45, "A", {"Convenio: 1234.870.00000A23-3 Inscricao: 11.222.333/0001-81", HC(dv48 + " 10.0")}},
      {true, 2, 190, "4", {S("Erro no número do nsa no lote, esperado 000123 encontrado 000143"_cp),
                           "Num remessa: 00000143 Gravacao: 06/12/2026"}},
      {true, 2, 14, "030", {"Erro na capa de lote. Codigos de erro: (07.1)"}},
      {true, 1, 133, "X", {HC(" 15.0")}},
      // SICOB 240 P and Q; a title without Nosso Número has no digit.
      {true, 3, 16, "1,", {Codes(3, " 07.3P")}},
      {true, 3, 23, "4", {Codes(3, " (09.3P) Esperado 3 encontrado 4")}},
      {true, 3, 47, "+8000000001", {Codes(3, " 13.3P(dv(?/1))")}},
      {true, 3, 118, "116012027", {Codes(3, " 29.3P deveria ter um Valor por conta do campo 27.3P")}},
      {true, 7, 222, "1,", {Codes(7, " 37.3P está marcado para protesto mas a quantidade de dias é inválida."_cp)}},
      {true, 8, 169, "6", {Codes(8, " CPF do avalista invalido")}},
      {true, 4, 137, "BR      ", {Codes(4, " 15.3Q")}},
      // SINCO: header time, a text field, the lote header.
      {false, 1, 9, "X", {HC(" 04.0")}},
      {false, 1, 32, "2", {"Convenio: 123456 Inscricao: 11.222.333/0001-82", HC(" CNPJ do cedente inválido"_cp)}},
      {false, 2, 104, "PAGAVEL*", {Reg(2, " Posição 104,40 com caracter não esperado !!!"_cp)}},
      {false, 2, 200, "00000000", {Eq(22) + " Erro na capa de lote. Codigos de erro: 22.1 " + Eq(18)}},
      // SINCO P: the frame's movement, cedente, Nosso Número, discount date; R and S.
      {false, 3, 16, "+1", {Reg(3, " não é 01 na posição 16,2 !!!"_cp), Codes(3, " 07.3P")}},
      {false, 3, 48, "2", {Codes(3, " 13.3P(dv(2/4))")}},
      {false, 3, 49, "12345678", {}},
      {false, 3, 143, "00000000", {Codes(3, " 31.3P")}},
      {false, 5, 18, "1", {Lin(5, " Tem desconto, mas este aplicativo não espera !!"_cp)}},
      {false, 5, 67, "32012027", {Codes(5, " 15.3R")}},
      {false, 6, 200, "X", {Codes(6, " 13.3S/14.3S")}},
  };
  // clang-format on
  for (const FieldCase& c : cases) {
    SCOPED_TRACE(Cat(c.sicob ? "SICOB 240" : "SINCO", " record ", c.record, " position ", c.pos, " '", c.value, "'"));
    Lines lines = kLayouts[c.sicob].second(2), added = c.added;
    Put(lines[c.record - 1], c.pos, c.value);
    const testing::Validation v = testing::Validate(kLayouts[c.sicob].first, lines);
    const Lines clean = testing::Validate(kLayouts[c.sicob].first, kLayouts[c.sicob].second(2)).report;
    const testing::ReportChanges changes = testing::Changes(clean, v.report);
    EXPECT_EQ(v.status, added.empty() ? Outcome::Status::Clean : Outcome::Status::Faulty);
    if (!added.empty()) added.push_back(kFim);
    EXPECT_EQ(changes.added, added);
    EXPECT_EQ(changes.removed.empty(), added.empty());
  }
}

TEST(SicobSincoRemessa, RecordsPastSixteenBits) {
  for (const auto& [handler, file] : kLayouts) {
    Lines lines = file(34997);
    ASSERT_EQ(lines.size(), 70000u);
    Put(lines.back(), 4, "9899");
    const Lines report = testing::Validate(handler, lines).report;
    EXPECT_EQ(Lines(report.end() - 3, report.end()),
              (Lines{"Total de registros do lote = 69998",
                     Lin(70000, " Totalizador de arquivo tipo 9 com divergência no início !!"_cp), kFim}));
  }
}

}  // namespace
}  // namespace verilote
