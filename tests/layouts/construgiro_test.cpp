// The Construgiro validator one field at a time (each case states exactly
// which report lines come and go against the clean file's report), the
// statistics against a fixed today on a file past 65,535 lines, the
// conversions that end the run, and the examples through verilote-cli.
#include "layouts/construgiro.hpp"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "app/cp1252.hpp"
#include "app/report.hpp"
#include "layouts/construgiro_builder.hpp"
#include "remittance/sigcb240_builder.hpp"

namespace verilote {
namespace {

using testing::CleanConstrugiroFile;
using testing::ConstrugiroP;
using testing::ConstrugiroQ;
using testing::Put;
using Lines = std::vector<std::string>;
using S = std::string;
using Texts = std::vector<std::string_view>;

struct Case {
  std::size_t record, pos;  // record of the clean file, 1-based
  std::string_view value;
  Texts added;  // a text that begins with a blank is a finding of `record`, after "Linha <record>"
  Texts removed = {};
};

TEST(Construgiro, EachBrokenFieldGivesItsLines) {
  const Lines clean = testing::Validate(Construgiro1Click, CleanConstrugiroFile().Lines()).report;
  const S lote1Ok = clean[12], returned{"0001 Parcelas para devolução em 060 dias."_cp};
  // clang-format off
  const std::vector<Case> cases = {
      // Every line: characters, numbering, type.
      {4, 50, "ç         ~"_cp, {" com Caracter inválido nas posições: 50(ç),60(~)"_cp}},
      {7, 9, "00009", {" Lote com numeracao inválida. Esperado Lote 00001/Sequencia:00005 Encontrado: 0001/00009"_cp}},
      {14, 8, "7", {" com tipo inválido !!! Encontrado:7 permitido 0, 1, 3, 5, 9"_cp, "Existe(m) 0 TRAILER DE ARQUIVO e só poderia ter 1."_cp}},
      // File header.
      {1, 192, "REMESSA ", {" Header com erro na posição 192, deveria ter INCLUSAO ou INCLUSAO-TESTE"_cp}, {"Tipo de remessa: INCLUSAO      "}},
      {1, 216, "0000", {" TOTAL DE UNIDADES permutadas + Vendidas + Quitadas. Nao pode ser zero", " Erro:Total de unidades deveria ser igual a PERMUTADAS+VENDIDAS+QUITADAS+ESTOQUE+PENDENTE", " Erro:PERMUTADAS+VENDIDAS+QUITADAS não pode ser menor que VENDIDAS COM SALDO DEVEDOR A QUITAR"_cp}},
      {1, 228, "0002", {" Erro:Total de unidades deveria ser igual a PERMUTADAS+VENDIDAS+QUITADAS+ESTOQUE+PENDENTE"}},
      {1, 232, "31112026", {" Data da informação inválida na posição 232,8"_cp}},
      // Lote header (record 10, the second: no banner lines).
      {2, 14, "041", {" Deveria ter 040 na posição 14"_cp}},
      {10, 154, "02122026", {" Erro: Data da assinatura do contrato não pode ser maior que a data do arquivo"_cp, " Erro: Data da assinatura do contrato não pode ser maior que a data da posição da informação."_cp}},
      // Three calendar years before 06/12/2026; 1460 days would reach back to 07/12/2022.
      {10, 154, "05122023", {" Advertencia: Data da assinatura do contrato com mais de 3 anos."}},
      // Segment P.
      {3, 37, "9", {"  Posição 37 dígito invalido"_cp}},
      {3, 228, "08", {"  Posição 228 deveria ter 09"_cp}},
      {3, 78, "32012027", {"  Data de vencimento inválida"_cp, "0 Parcelas vencidas no valor total de R$ 0,00 e 2 a vencer no valor total de R$ 2.000,00."}, {clean.back()}},
      {3, 77, "0", {" Tem Parcela de 10/01/2027 que não será antecipada no empréstimo."_cp}},
      {11, 224, "2", {"  Parcela NÃO marcada para protesto e nem para devolução - Não é permitido"_cp}, {returned}},
      {3, 224, "1", {"  Parcela marcada para protesto e devolução - Não é permitido"_cp, "  Prazo de devolução inválido"_cp, "0002 Parcelas para devolução em 060 dias."_cp}, {returned}},
      {3, 222, "1,", {"  Prazo de protesto inválido"_cp, "0003 Parcelas com dias diferentes de protesto"}, {"0002 Parcelas com dias diferentes de protesto"}},
      {3, 151, "000000000200000", {" Juros não pode ser maior que o valor do desconto"_cp}},
      // Segment Q: a drawer without name and with a wrong CPF.
      {4, 155, "000011144477736", {"  Falta nome do avalista", "  CPF do avalista invalido"}},
      {4, 210, "AB             ", {"  Falta Profissão"_cp}},
      {4, 152, "D ", {"  Falta a UF"}},
      // Born this year, not in 1926; 18 and 70 years counted in calendar years.
      {4, 235, "010126", {"  Advertencia: 01/01/2026 Data Nascimento provavelmente de comprador menor de 18 anos."}},
      {4, 235, "051256", {"  Advertencia: 05/12/1956 Data Nascimento provavelmente de comprador maior de 70 anos."}},
      // Segments R (after a P due 10/01/2027) and S.
      {5, 67, "09012027", {" Data da multa não pode ser antes do vencimento."_cp}},
      {6, 18, "4", {" Na posição 18 deve ter um 3"_cp}},
      // Trailers.
      {9, 18, "000009", {" Total de registros do lote de JOSE DA SILVA não confere !! informado 9 calculado 8"_cp}, {lote1Ok}},
      {8, 14, "X", {"Linha 9 Total de registros P não é igual aos de Q !!"_cp, "Linha 13 Total de registros P não é igual aos de Q !!"_cp}},
      {14, 4, "0001", {" Totalizador de arquivo tipo 9 com divergência no início !!"_cp}},
      {14, 24, "000015", {" Total de registros do arquivo não confere !!"_cp}},
  };
  // clang-format on
  for (const Case& c : cases) {
    SCOPED_TRACE(Cat("record ", c.record, " position ", c.pos, " value '", c.value, "'"));
    Lines broken = CleanConstrugiroFile().Lines(), added;
    Put(broken[c.record - 1], c.pos, c.value);
    const testing::Validation v = testing::Validate(Construgiro1Click, broken);
    for (const std::string_view text : c.added)
      added.push_back(text.starts_with(' ') ? Cat("Linha ", c.record, text) : S(text));
    const testing::ReportChanges changes = testing::Changes(clean, v.report);
    EXPECT_EQ(changes.added, added);
    EXPECT_EQ(changes.removed, Lines(c.removed.begin(), c.removed.end()));
    EXPECT_EQ(v.status, added.empty() ? Outcome::Status::Clean : Outcome::Status::Faulty);
  }
}

// Today 06/12/2026: two instalments overdue (entries, one unpaid, one paid
// without an amount), one due today and the rest later, totals beyond what a
// precision of 8 digits prints; 70,000 lines, past 16-bit line numbers and
// four-digit counts.
TEST(Construgiro, StatisticsOfSeventyThousandLines) {
  testing::ConstrugiroFile file{{std::vector<S>(34998 * 2, ConstrugiroQ())}};
  for (std::size_t i = 6; i < file.lotes[0].size(); i += 2) file.lotes[0][i] = ConstrugiroP({{221, "300"}});
  file.lotes[0][0] = ConstrugiroP({{78, "01112026000000123400000"}, {110, "01102026"}});
  file.lotes[0][2] = ConstrugiroP({{78, "05122026000000000056789"}, {230, "05122026"}});
  file.lotes[0][4] = ConstrugiroP({{78, "06122026999999999999999"}});
  Lines lines = file.Lines();
  ASSERT_EQ(lines.size(), 70000u);
  Put(lines[69997], 225, "00");
  const testing::Validation v = testing::Validate(Construgiro1Click, lines);
  EXPECT_EQ(v.host.dialogs.at(0).title, "Selecione o arquivo remessa do construgiro");
  EXPECT_EQ(Lines(v.report.begin() + 12, v.report.begin() + 14),
            testing::Lines({"Linha 3 parcela vencida em 01/11/2026 e não paga, não deve enviar."_cp,
                            "Linha 5 parcela vencida em 05/12/2026 sem valor do pagamento, não deve enviar."_cp}));
  EXPECT_EQ(Lines(v.report.end() - 9, v.report.end()),
            testing::Lines({"Linha 69998  DDD Não pode ser zeros"_cp,
                            "CAPA DE LOTE OK Bloco:BLOCO A Unidade:APTO 101 Total de registros no lote de JOSE DA "
                            "SILVA = 69998",
                            "FIM DA VALIDAÇÃO !!!"_cp, " ", "Estatísticas do arquivo:"_cp,
                            "0003 Parcelas para protesto em 00 dias.", "34998 Parcelas no arquivo todo",
                            "0002 Parcelas com dias diferentes de protesto",
                            "2 Parcelas vencidas no valor total de R$ 1.234.567,89 e 34996 a vencer no valor total "
                            "de R$ 10.000.034.994.999,99."}));
}

}  // namespace
}  // namespace verilote
