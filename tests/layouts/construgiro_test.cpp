// The Construgiro validator: the clean file's whole report, then one field at
// a time (each case states exactly which report lines come and go), the
// statistics against a fixed today, a file past 65,535 lines, and the
// conversions that end the run.
#include "layouts/construgiro.hpp"

#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "app/cp1252.hpp"
#include "app/report.hpp"
#include "layouts/construgiro_builder.hpp"
#include "remittance/sigcb240_builder.hpp"

namespace verilote {
namespace {

using testing::CleanConstrugiroFile;
using testing::CleanConstrugiroReport;
using testing::ConstrugiroP;
using testing::ConstrugiroQ;
using testing::Put;
using Lines = std::vector<std::string>;
using S = std::string;

// An expected line as a case writes it: a std::string, a _cp literal or a plain literal.
struct Text : S {
  Text(std::string_view t) : S(t) {}
  Text(const char* t) : S(t) {}
  Text(const S& t) : S(t) {}
};
using Texts = std::vector<Text>;

S Sp(std::size_t n) { return S(n, ' '); }

TEST(Construgiro, CleanFileIsAllOk) {
  const testing::Validation v = testing::Validate(Construgiro1Click, CleanConstrugiroFile().Lines());
  EXPECT_EQ(v.status, Outcome::Status::Clean);
  EXPECT_EQ(v.report, CleanConstrugiroReport());
  ASSERT_EQ(v.host.dialogs.size(), 1u);
  EXPECT_EQ(v.host.dialogs[0].title, "Selecione o arquivo remessa do construgiro");
}

struct Case {
  std::size_t record, pos;  // record of the clean file, 1-based
  Text value;
  Texts added;  // a text that begins with a blank is a finding of `record`, after "Linha <record>"
  Texts removed = {};
};

TEST(Construgiro, EachBrokenFieldGivesItsLines) {
  const S convenio = "Convenio: 1234.870.00004321-1 Inscricao: 11.222.333/0001-81",
          lote1Ok = CleanConstrugiroReport()[12];
  const S toFall = "0 Parcelas vencidas no valor total de R$ 0,00 e 3 a vencer no valor total de R$ 3.000,00.";
  const S protestChanges = "0002 Parcelas com dias diferentes de protesto";
  const S returned{"0001 Parcelas para devolução em 060 dias."_cp};
  // clang-format off
  const std::vector<Case> cases = {
      // Every line: characters, length, bank, numbering, type.
      {4, 50, "ç         ~"_cp, {" com Caracter inválido nas posições: 50(ç),60(~)"_cp}},
      {6, 241, "X", {" com tamanho 241"}},
      {6, 1, "105", {" com inicio diferente de 104"}},
      {7, 9, "00009", {" Lote com numeracao inválida. Esperado Lote 00001/Sequencia:00005 Encontrado: 0001/00009"_cp}},
      {11, 4, "0001", {" Lote com numeracao inválida. Esperado Lote 00002/Sequencia:00001 Encontrado: 0001/00001"_cp}},
      {14, 8, "7", {" com tipo inválido !!! Encontrado:7 permitido 0, 1, 3, 5, 9"_cp, "Existe(m) 0 TRAILER DE ARQUIVO e só poderia ter 1."_cp}},
      // File header.
      {1, 192, "REMESSA ", {" Header com erro na posição 192, deveria ter INCLUSAO ou INCLUSAO-TESTE"_cp}, {"Tipo de remessa: INCLUSAO      "}},
      {1, 48, "2", {"Convenio: 1234.870.00004321-2 Inscricao: 11.222.333/0001-81", " digito da conta do centralizador inválido"_cp}, {convenio}},
      {1, 71, "1", {" O DV na posição 71 deveria ser 0 conforme manual"_cp}},
      {1, 58, "1", {"  O DV na posição 58 deveria ser 0 conforme manual"_cp}},
      {1, 172, "X", {"  Não pode ser branco na posição 170 tamanho 20"_cp}},
      {1, 54, "1235", {"  Agencia na posição 33 deve ser igual a da 54"_cp}},
      {1, 4, "0001", {"  Posição 4 não tem 0000"_cp}},
      {1, 212, "00A0", {" TOTAL DE UNIDADES. Nao é um número válido"_cp}},
      {1, 216, "0000", {" TOTAL DE UNIDADES permutadas + Vendidas + Quitadas. Nao pode ser zero", " Erro:Total de unidades deveria ser igual a PERMUTADAS+VENDIDAS+QUITADAS+ESTOQUE+PENDENTE", " Erro:PERMUTADAS+VENDIDAS+QUITADAS não pode ser menor que VENDIDAS COM SALDO DEVEDOR A QUITAR"_cp}},
      {1, 228, "0002", {" Erro:Total de unidades deveria ser igual a PERMUTADAS+VENDIDAS+QUITADAS+ESTOQUE+PENDENTE"}},
      {1, 224, "0005", {" Erro:Total de unidades deveria ser igual a PERMUTADAS+VENDIDAS+QUITADAS+ESTOQUE+PENDENTE", " Erro:Total de unidades deveria ser maior ou igual a PERMUTADAS+VENDIDAS+QUITADAS+ESTOQUE"}},
      {1, 220, "0011", {" Erro:Total de unidades deveria ser mior ou igual a VENDIDAS COM SALDO DEVEDOR", " Erro:PERMUTADAS+VENDIDAS+QUITADAS não pode ser menor que VENDIDAS COM SALDO DEVEDOR A QUITAR"_cp}},
      {1, 232, "31112026", {" Data da informação inválida na posição 232,8"_cp}},
      {1, 232, "02122026", {" Erro: Data da posição em 232,8 não pode ser maior que a data do arquivo"_cp}},
      {1, 18, "3", {"  Posição  18 deve ter 1 ou 2"_cp}},
      {1, 164, "050", {"  Posição 164 deve ter 040"_cp}},
      // Lote header (record 10, the second: no banner lines).
      {10, 186, "000002", {" Erro no número do nsa no lote, esperado 000001 encontrado 000002"_cp}},
      {10, 192, "32122026", {" Data do arquivo inválida na posição 192,8"_cp}},
      {10, 50, "X", {" Deveria ser branco da posição 50 até 53"_cp}},
      {10, 14, "030", {" Deveria ter 040 na posição 14"_cp}},
      {10, 64, "00004322", {" A conta na posição 41 deveria ser a mesma da posição 64"_cp}},
      {10, 33, "2", {" CNPJ do Empreendimento inválido"_cp}},
      {10, 119, "6", {" CPF do Comprador inválido"_cp}},
      {10, 141, "6", {"  Tipo inválido na posição 141"_cp}},
      {10, 148, "000000", {"  Área total do imóvel. Nao pode ser zero"_cp, "  Área total do imóvel. Nao pode ser menor que a área útil"_cp}},
      {10, 162, "3", {"  Indica contrato subrogado deve ser 1 ou 2 e tem: 3"}},
      {10, 162, "1", {"  Data da última subrogação inválida na posição 163,8"_cp}},
      {10, 163, "1", {"  Data da última subrogação deve preencher com zeros na posição 163,8"_cp}},
      {10, 171, "000", {" Prazo de financiamento. Nao pode ser zero"}},
      {10, 200, "2003202A", {" Data do crédito inválida na posição 200,8"_cp}},
      {10, 200, "30022025", {"  Data do crédito inválida na posição 200,8"_cp}},
      {10, 208, "00000002500000A", {" Valor da compra. Nao é um número válido"_cp}},
      {10, 223, "000000030000000", {" Advertencia: O saldo devedor é maior que o valor da compra"_cp}},
      {10, 154, "02122026", {" Erro: Data da assinatura do contrato não pode ser maior que a data do arquivo"_cp, " Erro: Data da assinatura do contrato não pode ser maior que a data da posição da informação."_cp}},
      // Three calendar years before 06/12/2026 (1460 days would reach back to 07/12/2022).
      {10, 154, "05122023", {" Advertencia: Data da assinatura do contrato com mais de 3 anos."}},
      {10, 154, "06122023", {}},
      // Segment P.
      {3, 16, "0A", {"  Código de movimento na posição 16 não é numérico"_cp, "  Nosso Número inválido."_cp}},
      {3, 23, "4", {"  Posição 23 dígito inválido"_cp}},
      {3, 37, "9", {"  Posição 37 dígito invalido"_cp}},
      {3, 47, "0000000001 ", {"  Nosso Número menor que 11 algarismos"_cp, "  Nosso Número deve ser zerado na entrada de título."_cp}},
      {7, 16, "06", {"  Nosso Número inválido."_cp}},
      {3, 63, "PARC00010001", {"  Seu número maior que permitido"_cp}},
      {3, 60, "1", {"  Posição 60 deveria ter 2"_cp}},
      {3, 86, " ", {"  Data de vencimento não numérica"_cp}},
      {3, 78, "32012027", {"  Data de vencimento inválida"_cp, "0 Parcelas vencidas no valor total de R$ 0,00 e 2 a vencer no valor total de R$ 2.000,00."}, {toFall}},
      {3, 77, "0", {" Tem Parcela de 10/01/2027 que não será antecipada no empréstimo."_cp}},
      {3, 103, "0001", {"  Posição 103 deveria ter 0000"_cp}},
      {3, 118, "5", {"  Cód Juros Mora inválido na posição 118"_cp}},
      {3, 166, "00000000000000X", {"  valor pago inválido"_cp}},
      {3, 196, Sp(25), {"  identificação do título na empresa não está preenchido"_cp}},
      {3, 110, "32012027", {"  Data de emissão do título inválida"_cp}},
      {3, 143, "32012027", {"  Data de desconto invalida"}},
      {11, 221, "2", {"  Tipo Protesto inválido"_cp}},
      {11, 224, "2", {"  Parcela NÃO marcada para protesto e nem para devolução - Não é permitido"_cp}, {returned}},
      {3, 224, "1", {"  Parcela marcada para protesto e devolução - Não é permitido"_cp, "  Prazo de devolução inválido"_cp, "0002 Parcelas para devolução em 060 dias."_cp}, {returned}},
      {3, 222, "1,", {"  Prazo de protesto inválido"_cp, "0003 Parcelas com dias diferentes de protesto"}, {protestChanges}},
      {11, 225, "0X0", {"  Prazo de devolução não é numérico"_cp, "0001 Parcelas para devolução em 0X0 dias."_cp}, {returned}},
      {3, 230, "32012027", {"  Data de pagamento invalida"}},
      {3, 240, "3", {"  Tipo de prestação inválido na posição 240"_cp}},
      {3, 110, "11012027", {" Data do vencimento não pode ser antes da data de emissão."_cp}},
      {3, 119, "09012027", {" Juros não pode ser cobrado antes do vencimento."_cp}},
      {3, 127, "000000000200000", {" Juros não pode ser maior que o valor da parcela."_cp}},
      {3, 151, "000000000200000", {" Juros não pode ser maior que o valor do desconto"_cp}},
      // Segment Q.
      {4, 15, "X", {"  Posição 15 deveria ser branco"_cp}},
      {4, 20, "00X", {"  CPF/CNPJ não numérico"_cp}},
      {4, 20, "00000000000000", {"  CPF/CNPJ não pode ser zeros"_cp}},
      {4, 33, "6", {"  CPF do sacado invalido"}},
      {4, 18, "2", {"  CNPJ do sacado invalido"}},
      {4, 74, Sp(40), {"  Falta endeço"_cp}},
      {4, 129, "7000000 ", {"  C.E.P inválido"_cp}},
      {4, 154, "3", {"  Posição 154 deveria ter 1 ou 2"_cp}},
      {4, 155, "00000000000000X", {"  Não é numérico (155,15)"_cp}},
      {4, 155, "000011144477736", {"  Falta nome do avalista", "  CPF do avalista invalido"}},
      {4, 212, Sp(8), {"  Falta Profissão"_cp}},
      {4, 235, "15058A", {"  Data Nascimento inválida"_cp}},
      {4, 235, "310280", {"  Data Nascimento Inválida."_cp}},
      // Born in 2010, not in 1910; 18 and 70 years counted in calendar years.
      {4, 235, "150510", {"  Advertencia: 15/05/2010 Data Nascimento provavelmente de comprador menor de 18 anos."}},
      {4, 235, "061208", {}},
      {4, 235, "051256", {"  Advertencia: 05/12/1956 Data Nascimento provavelmente de comprador maior de 70 anos."}},
      {4, 235, "061256", {}},
      {4, 225, "00", {"  DDD Não pode ser zeros"_cp}},
      {4, 227, "3234567X", {"  Telefone inválido"_cp}},
      // Segments R (after a P due 10/01/2027) and S.
      {5, 18, "X", {" Da posição 18 até 65 deve ser branco"_cp}},
      {5, 66, "3", {"  Cód Multa inválido na posição 66"_cp}},
      {5, 67, "32012027", {"  Data da multa inválido !!!"_cp}},
      {5, 67, "09012027", {" Data da multa não pode ser antes do vencimento."_cp}},
      {5, 66, "0X", {}},
      {6, 18, "4", {" Na posição 18 deve ter um 3"_cp}},
      // Trailers.
      {9, 18, "000009", {" Total de registros do lote de JOSE DA SILVA não confere !! informado 9 calculado 8"_cp}, {lote1Ok}},
      {8, 14, "X", {"Linha 9 Total de registros P não é igual aos de Q !!"_cp, "Linha 13 Total de registros P não é igual aos de Q !!"_cp}},
      {13, 8, "6", {" com tipo inválido !!! Encontrado:6 permitido 0, 1, 3, 5, 9"_cp, "Existe(m) 2 HEADER DE LOTE e 1 TRAILLER DE LOTE e deveria ter a mesma quantidade."}, {CleanConstrugiroReport()[13]}},
      {14, 4, "0001", {" Totalizador de arquivo tipo 9 com divergência no início !!"_cp}},
      {14, 24, "000015", {" Total de registros do arquivo não confere !!"_cp}},
      {14, 18, "000003", {" Total de lotes do arquivo não confere !!"_cp}},
  };
  // clang-format on
  const Lines clean = CleanConstrugiroFile().Lines();
  for (const Case& c : cases) {
    SCOPED_TRACE(Cat("record ", c.record, " position ", c.pos, " value '", c.value, "'"));
    Lines broken = clean;
    Put(broken[c.record - 1], c.pos, c.value);
    const testing::Validation v = testing::Validate(Construgiro1Click, broken);
    Lines added;
    for (const S& text : c.added) added.push_back(text.starts_with(' ') ? Cat("Linha ", c.record, text) : text);
    const testing::ReportChanges changes = testing::Changes(CleanConstrugiroReport(), v.report);
    EXPECT_EQ(changes.added, added);
    EXPECT_EQ(changes.removed, Lines(c.removed.begin(), c.removed.end()));
    const bool finding = std::any_of(added.begin(), added.end(),
                                     [](const S& l) { return l.starts_with("Linha") || l.starts_with("Existe"); });
    EXPECT_EQ(v.status, finding ? Outcome::Status::Faulty : Outcome::Status::Clean);
  }
}

// Today 06/12/2026: two instalments overdue (entries, one unpaid, one paid
// without an amount), one due today and one later; totals beyond what a
// precision of 8 digits can print.
TEST(Construgiro, StatisticsAgainstToday) {
  const std::string q = ConstrugiroQ();
  testing::ConstrugiroFile file{{{ConstrugiroP({{78, "01112026000000123400000"}}), q,
                                  ConstrugiroP({{78, "05122026000000000056789"}, {230, "05122026"}}), q,
                                  ConstrugiroP({{78, "06122026999999999999999"}}), q, ConstrugiroP(), q}}};
  const testing::Validation v = testing::Validate(Construgiro1Click, file.Lines());
  EXPECT_EQ(v.status, Outcome::Status::Faulty);
  const Lines tail(v.report.end() - 9, v.report.end());
  EXPECT_EQ(tail, testing::Lines({"Linha 3 parcela vencida em 01/11/2026 e não paga, não deve enviar."_cp,
                                  "Linha 5 parcela vencida em 05/12/2026 sem valor do pagamento, não deve enviar."_cp,
                                  "CAPA DE LOTE OK Bloco:BLOCO A Unidade:APTO 101 Total de registros no lote de "
                                  "JOSE DA SILVA = 10",
                                  "FIM DA VALIDAÇÃO !!!"_cp, " ", "Estatísticas do arquivo:"_cp,
                                  "0004 Parcelas para protesto em 30 dias.", "0004 Parcelas no arquivo todo",
                                  "2 Parcelas vencidas no valor total de R$ 1.234.567,89 e 2 a vencer no valor total "
                                  "de R$ 10.000.000.000.999,99."}));
}

// 70,000 lines: line numbers and counts past 16 bits, counts of five digits.
TEST(Construgiro, SeventyThousandLines) {
  testing::ConstrugiroFile file{{{}}};
  for (int i = 0; i < 34998; ++i) {
    file.lotes[0].push_back(ConstrugiroP({{221, "3"}}));
    file.lotes[0].push_back(ConstrugiroQ());
  }
  Lines lines = file.Lines();
  ASSERT_EQ(lines.size(), 70000u);
  Put(lines[69997], 225, "00");
  const testing::Validation v = testing::Validate(Construgiro1Click, lines);
  const Lines tail(v.report.end() - 7, v.report.end());
  EXPECT_EQ(tail, testing::Lines({"Linha 69998  DDD Não pode ser zeros"_cp,
                                  "CAPA DE LOTE OK Bloco:BLOCO A Unidade:APTO 101 Total de registros no lote de "
                                  "JOSE DA SILVA = 69998",
                                  "FIM DA VALIDAÇÃO !!!"_cp, " ", "Estatísticas do arquivo:"_cp,
                                  "34998 Parcelas no arquivo todo",
                                  "0 Parcelas vencidas no valor total de R$ 0,00 e 34998 a vencer no valor total de "
                                  "R$ 34.998.000,00."}));
}

// A record type, lote number, sequence or trailer count that is no number
// ends the run; the lines already written stay.
TEST(Construgiro, NonNumericTypeOrCountEndsTheRun) {
  const struct {
    std::size_t record, pos;
    S value, error, lastLine;
  } cases[] = {
      {6, 8, "X", "'X' is not a valid integer value", "Linha 6 com inicio diferente de 104"},
      {7, 4, "000A", "'000A' is not a valid integer value", "Linha 7 com inicio diferente de 104"},
      {9, 18, "0000 8", "'0000 8' is not a valid integer value", "Linha 9 com inicio diferente de 104"},
  };
  for (const auto& c : cases) {
    Lines lines = CleanConstrugiroFile().Lines();
    Put(lines[c.record - 1], c.pos, c.value);
    Put(lines[c.record - 1], 1, "105");
    const testing::Validation v = testing::Validate(Construgiro1Click, lines);
    EXPECT_EQ(v.status, Outcome::Status::Aborted);
    EXPECT_EQ(v.error, c.error);
    EXPECT_EQ(v.report.back(), c.lastLine);
  }
}

}  // namespace
}  // namespace verilote
