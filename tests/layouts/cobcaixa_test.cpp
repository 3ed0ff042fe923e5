// The CobCaixa 2.x import file validators: valid payer and bill files, then
// one field broken at a time and the exact lines it adds.
#include "layouts/cobcaixa.hpp"

#include "layouts/siemd_cases.hpp"

namespace verilote {
namespace {

using testing::Rec;
using testing::Texts;

// A person (CPF 529.982.247-25) and a company (CNPJ 11.222.333/0001-81).
std::string Payer(std::string_view kindAndDocument) {
  // clang-format off
  return Rec(254, {{1, "CLIENTE0001"}, {16, "JOSE DA SILVA"}, {56, "JOSE"}, {96, "GRUPO01"}, {106, kindAndDocument},
                   {127, "RUA DAS FLORES 100"},
                   {167, "CENTRO"},
                   {182, "BRASILIA"},
                   {197, "DF70000000"},
                   {207, "6133334444"}, {244, "0000000001"}});
  // clang-format on
}
const Texts kPayers = {Payer("F52998224725"), Payer("J11222333000181")};

// Single bills in reais, due 10/02/2026: A of portfolio 12, to protest in 10
// days; B of portfolio 14, to return in 30 days, with a drawer of CPF
// 529.982.247-25; C of portfolio 11, to protest in 2 days, with a drawer of
// CNPJ 11.222.333/0001-81.
std::string Bill(std::string_view number, std::string_view portfolioAndTerm, std::string_view drawer) {
  const std::string z15(15, '0');
  // clang-format off
  return Rec(449, {{1, "CLIENTE0001"}, {16, "DOC001"}, {31, number}, {42, portfolioAndTerm},
                   {54, Cat("1100220260501202609000000000010000", z15, "05022026", z15, z15, "11022026", z15, "1S000")},
                   {169, drawer}, {210, "PAGAVEL EM QUALQUER BANCO"}});
  // clang-format on
}
const Texts kBills = {Bill("90000000014", "0012N0200010", ""),
                      Bill("80000000017", "0014N0210030", "MARIA AVALISTA      152998224725"),
                      Bill("", "0011N0200002", "EMPRESA AVALISTA    211222333000181")};

const std::string_view kClean = "Não foram encontrados erros."_cp, kFaulty = "Verifique os erros acima.";

TEST(CobCaixa, PayerFieldFaults) {
  testing::BreakOneField(Sacados1Click, kPayers,
                         {
                             {1, 254, "", {" - Registro com tamanho 253 deveria ser 254, não será importado."_cp}},

                             {1, 106, "X", {" - Posição 106 deveria ter F ou J"_cp}},
                             {1, 244, std::string(10, ' '), {" - Caracter não numérico no código de série"_cp}},
                             {1, 107, std::string(20, ' '), {" - Sacado com CPF inválido"_cp}},
                             {2, 107, "00000000000000", {" - Sacado com CGC inválido"_cp}},
                         },
                         kClean, kFaulty);
}

TEST(CobCaixa, BillFieldFaults) {
  constexpr std::string_view kDigit = " - Dígito do Nosso Número está inválido."_cp;
  const std::vector<testing::FieldCase> common = {
      {1, 44, "1A", {" - Carteira não inválida. Não é numérica"_cp}},
      {1, 42, "01", {" - Formato da carteira inválido"_cp}},
      {3, 31, "1", {" - Nosso Número deve ser branco"_cp}},
      {1, 31, "7", {" - Nosso Número Não pode ser branco ou está inválido ou não pertence a carteira"_cp}},
      {1, 32, "00000000A", {kDigit}},
      {1, 63, "32", {" - Data de emissão inválida."_cp}},

      {2, 31, "00000000000", {" - Nosso Número de SEM REGISTRO é obrigatório."_cp}},
      {1, 50, "01", {" - Formato do prazo de protesto inválido"_cp, " - Prazo de protesto inválido"_cp}},

      {1, 210, "MENSAGEM \xC7", {" - Caracter inválido ou acentuado nas mensagens."_cp}},

      {2, 190, "00000000000", {" - Avalista com CPF inválido"_cp}},
      {3, 190, "11222333000182", {" - Avalista com CGC inválido"_cp}},
  };
  std::vector<testing::FieldCase> v220 = common, v233 = common;
  v220.push_back(
      {1, 166, "002", {" - Parcela inválida"_cp, " - Tipo carnê está sendo utilizado, mas não será acatado."_cp}});
  v220.push_back({2, 190, std::string(20, '0'), {" - Avalista com CPF zerado, não será importado."_cp}});
  v233.push_back(
      {2, 190, std::string(20, '0'), {" - Avalista com CPF zerado, não será importado. Preencha com Brancos."_cp}});
  testing::BreakOneField(Ttulos1Click, kBills, v220, kClean, kFaulty);
  testing::BreakOneField(TtulosV2331Click, kBills, v233, kClean, kFaulty);
  // Version 2.3.3 names itself and counts the bills to protest, to return and single.
  const testing::ReportChanges versions = testing::Changes(testing::Validate(Ttulos1Click, kBills).report,
                                                           testing::Validate(TtulosV2331Click, kBills).report);
  EXPECT_EQ(versions.removed, testing::Lines({"Esta validação foi verificada para importação na versão 2.2.0"_cp}));
  EXPECT_EQ(versions.added, testing::Lines({"Existem no arquivo 2 títulos marcado para protesto"_cp,
                                            "Existem no arquivo 1 títulos marcado para devolução"_cp,
                                            "Existem no arquivo 3 títulos marcado como único"_cp,
                                            "Esta validação foi verificada para importação na versão 2.3.3"_cp}));
}

}  // namespace
}  // namespace verilote
